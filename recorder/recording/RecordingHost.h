// What a recording asks of the window that owns it (the main window): to
// step aside while it records, the countdown and timed-start displays, the
// cover while it saves, and what follows an auto-stop. Windows that only
// follow a recording subscribe to its events instead (RecordingEvents.h).
//
// Called on the UI thread only. Every request does nothing by default, so a
// host overrides what it serves and a test host what it watches.
#pragma once

#include <functional>
#include <string>

class RecordingHost {
public:
    virtual ~RecordingHost() = default;

    // The start command was taken.
    virtual void MinimizeMainWindow() {}
    // A stop or cancel.
    virtual void ShowMainWindowNormal() {}
    // The countdown before a recording: the seconds left, once a second,
    // then 0 when it is over (the recording starts, or it was stopped).
    virtual void ShowCountdown(unsigned secondsLeft) {}
    // A timed start's text (GetTimedStartText) changed; `over` when the
    // timed start has ended or was cancelled.
    virtual void ShowTimedStart(bool over) {}
    // The auto-stop stopped watching.
    virtual void HideAutoStopIndicator() {}
    // The cover over the main window while a recording is closed and saved.
    virtual void ShowCover(const std::string& status) {}
    virtual void HideCover() {}
    // After an auto-stop: 1 start a new recording, 2 close the program, 3
    // shut the computer down, anything else nothing.
    virtual int AfterStopAction() { return 0; }
    virtual void CloseMainWindow() {}
    virtual void ShutDownComputer() {}
};

// UI thread. Null: no host (requests go nowhere).
void SetRecordingHost(RecordingHost* host);
RecordingHost& GetRecordingHost();

// Any thread: fn runs with the host on the UI thread, at once when called
// there, else queued in order (core/UiThread.h). Without a UI thread (a tool
// that records without windows) it runs where it is.
void AskRecordingHost(std::function<void(RecordingHost&)> fn);
