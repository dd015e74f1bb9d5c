// What the end-to-end recording tests share: a screen that moves, a
// recording host that watches what the recording tells the windows, and the
// engine set up as the program sets it up (H.264 plug-in, fast preset).
#pragma once

#include "ScreenWindow.h"
#include "recorder/recording/RecordingHost.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace rectest {

// A window over the whole virtual screen whose picture changes all the time
// (a moving bar, a colour that drifts, a running counter).
class MovingScreen : public testkit::ScreenWindow {
public:
    MovingScreen();
};

struct LoggedMessage {
    DWORD tick;
    UINT msg;
    WPARAM wParam;
};

// A message-only window on its own thread that notes what it receives.
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    HWND Hwnd() const { return m_hwnd; }
    std::vector<LoggedMessage> Messages(UINT msg) const;
    void Clear();

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    std::thread m_thread;
    std::atomic<HWND> m_hwnd{nullptr};
    mutable std::mutex m_lock;
    std::vector<LoggedMessage> m_log;
};

class WatchingHost : public RecordingHost {
public:
    HWND MainWindow() override { return main.Hwnd(); }
    HWND FloatBarWindow() override { return nullptr; }
    HWND WhiteboardWindow() override { return nullptr; }
    HWND CountdownWindow() override { return countdown.Hwnd(); }
    void MinimizeMainWindow() override {}
    void ShowMainWindowNormal() override {}
    void ShowCover(const std::string& text) override { Note("cover:" + text); }
    void HideCover() override { Note("hidecover"); }
    void ShowTip(const std::string& text, int) override { Note("tip:" + text); }
    void HideTimedStartControl() override {}
    void HideAutoStopIndicator() override {}
    void CloseCountdownWindow() override { Note("closecountdown"); }
    void CloseMainWindow() override { Note("closemain"); }
    void EnableSettingsControls() override {}
    int AfterStopAction() override { return afterStopAction; }
    void ReportError(const std::string& text) override { Note("error:" + text); }
    void OpenFile(const std::string& path) override { Note("open:" + path); }
    void ShutDownComputer() override { Note("shutdown"); }

    std::vector<std::string> Events() const;
    bool Saw(const std::string& prefix) const;

    MessageLog main, countdown;
    std::atomic<int> afterStopAction{0};

private:
    void Note(const std::string& e);
    mutable std::mutex m_lock;
    std::vector<std::string> m_events;
};

// The recording set up as the program does at start-up, with registry keys
// of the test's own: the H.264 plug-in installed and selected, the fast
// preset, no sound, the whole screen, saving into a fresh folder.
class Recorder {
public:
    explicit Recorder(unsigned frameRate);
    ~Recorder();
    const std::string& SaveFolder() const { return m_saveFolder; }
    WatchingHost& Host() { return *m_host; }
    // Files the save folder holds now, full paths, oldest first.
    std::vector<std::string> SavedFiles(const char* pattern = "*.avi") const;
    // Waits until the recording is over and saved (or failed).
    bool WaitIdle(DWORD timeoutMs = 60000);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::unique_ptr<WatchingHost> m_host;
    std::string m_saveFolder;
};

// Frames of the video stream (its length in the file) and its duration.
struct VideoFacts {
    std::string codec;
    int width = 0, height = 0;
    long frames = 0;
    double duration = 0;
};
VideoFacts ProbeVideo(const std::string& path);
// Stretches of at least minSeconds in which the picture did not change.
int FrozenStretches(const std::string& path, double minSeconds);

struct SoundFacts {
    std::string codec;
    double duration = 0;
    double loudSeconds = 0;  // how much of it carries sound
    double frequency = 0;    // the strongest frequency of the loud part
};
SoundFacts ProbeSound(const std::string& path);

}  // namespace rectest
