// Watches recordings from the test's thread, which it makes the UI thread
// (core/UiThread.h), as the program's main window does: every event the
// recording publishes and every request it makes of its host, noted with the
// tick it arrived at. The test pumps messages (testkit::Pump) while it
// waits, so they arrive.
//
//   testkit::RecordingWatch watch;
//   StartRecording(false);
//   watch.PumpUntil([&] { return watch.Count("started") == 1; });
#pragma once

#include "recorder/recording/RecordingEvents.h"
#include "recorder/recording/RecordingHost.h"
#include "recorder/recording/SaveRecording.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testkit {

struct Noted {
    DWORD tick;
    std::string what;   // "started", "stopped", "paused", "resumed", "blink",
                        // "status", "saved", "failed", "countdown", "timedstart",
                        // "cover", "hidecover", "minimize", "normal",
                        // "autostop-over", "closemain", "shutdown"
    long value;         // blink phase, countdown seconds, timed start over, save result
    std::string text;   // cover status, failure text, saved video
    DWORD thread;       // the thread it arrived on
};

class RecordingWatch : public RecordingSubscriber, public RecordingHost {
public:
    RecordingWatch();
    ~RecordingWatch() override;
    RecordingWatch(const RecordingWatch&) = delete;
    RecordingWatch& operator=(const RecordingWatch&) = delete;

    std::vector<Noted> Seen(const std::string& what) const;
    size_t Count(const std::string& what) const { return Seen(what).size(); }
    // A note of that kind whose text starts with prefix.
    bool Saw(const std::string& what, const std::string& prefix = "") const;
    // The kinds among `kinds` in the order they came, a repeat folded into one.
    std::vector<std::string> Sequence(const std::vector<std::string>& kinds) const;
    // Every save outcome told, in order.
    const std::vector<SaveOutcome>& Saves() const { return m_saves; }
    void Clear()
    {
        m_notes.clear();
        m_saves.clear();
    }

    // Pumps this thread's messages (the events arrive meanwhile).
    void Pump(DWORD ms);
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

    // What the host answers after an auto-stop.
    int afterStopAction = 0;

    void OnRecordingStarted() override { Note("started"); }
    void OnRecordingStopped() override { Note("stopped"); }
    void OnRecordingPaused(bool paused) override { Note(paused ? "paused" : "resumed"); }
    void OnPauseBlink(WPARAM phase) override { Note("blink", (long)phase); }
    void OnRecordingStatus() override { Note("status"); }
    void OnRecordingSaved(const SaveOutcome& outcome) override;
    void OnRecordingFailed(const std::string& text) override { Note("failed", 0, text); }

    void MinimizeMainWindow() override { Note("minimize"); }
    void ShowMainWindowNormal() override { Note("normal"); }
    void ShowCountdown(unsigned secondsLeft) override { Note("countdown", (long)secondsLeft); }
    void ShowTimedStart(bool over) override { Note("timedstart", over ? 1 : 0); }
    void HideAutoStopIndicator() override { Note("autostop-over"); }
    void ShowCover(const std::string& status) override { Note("cover", 0, status); }
    void HideCover() override { Note("hidecover"); }
    int AfterStopAction() override { return afterStopAction; }
    void CloseMainWindow() override { Note("closemain"); }
    void ShutDownComputer() override { Note("shutdown"); }

private:
    void Note(const char* what, long value = 0, const std::string& text = std::string());
    std::vector<Noted> m_notes;  // this thread only
    std::vector<SaveOutcome> m_saves;
};

}  // namespace testkit
