// What the recording needs of the windows around it. The main window
// implements it (posting each request to its own UI thread, because the
// recording calls it from worker threads); tests implement it to watch.
// Window messages (started, stopped, status ticks, pause blink, countdown
// ticks) are posted or sent straight to the windows the host names.
#pragma once

#include <windows.h>

#include <string>

class RecordingHost {
public:
    virtual ~RecordingHost() = default;

    // Receivers of the recording's messages; null when the window is not open.
    virtual HWND MainWindow() = 0;
    virtual HWND FloatBarWindow() = 0;
    virtual HWND WhiteboardWindow() = 0;
    virtual HWND CountdownWindow() = 0;

    virtual void MinimizeMainWindow() = 0;
    virtual void ShowMainWindowNormal() = 0;
    // The cover over the main window with its status line ("正在保存，请稍后...").
    virtual void ShowCover(const std::string& text) = 0;
    virtual void HideCover() = 0;
    // A text in the main window's assistant area, hidden after `seconds`.
    virtual void ShowTip(const std::string& text, int seconds) = 0;
    virtual void HideTimedStartControl() = 0;
    virtual void HideAutoStopIndicator() = 0;
    virtual void CloseCountdownWindow() = 0;
    // Auto-stop action 2.
    virtual void CloseMainWindow() = 0;
    // The main settings window disables a few controls while recording.
    virtual void EnableSettingsControls() = 0;
    // 1 start a new recording, 2 close the program, 3 shut down, else nothing.
    virtual int AfterStopAction() = 0;
    // Tells the user something went wrong (a message box of the program's own).
    virtual void ReportError(const std::string& text) = 0;
    // Opens a saved file with the shell.
    virtual void OpenFile(const std::string& path) = 0;
    // Runs the shutdown of auto-stop action 3.
    virtual void ShutDownComputer() = 0;
};

// The host of the program's recordings; set once by the main window.
void SetRecordingHost(RecordingHost* host);
RecordingHost* GetRecordingHost();
