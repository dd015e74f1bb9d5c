// What the end-to-end recording tests share: a screen that moves, a watch on
// what the recording tells the windows (the test's thread is the UI thread),
// and the engine set up as the program sets it up (H.264 plug-in, fast
// preset).
#pragma once

#include "RecordingWatch.h"
#include "ScreenWindow.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace rectest {

// A window over the whole virtual screen whose picture changes all the time
// (a moving bar, a colour that drifts, a running counter).
class MovingScreen : public testkit::ScreenWindow {
public:
    MovingScreen();
};

// The recording set up as the program does at start-up, with registry keys
// of the test's own: the H.264 plug-in installed and selected, the fast
// preset, no sound, the whole screen, saving into a fresh folder.
class Recorder {
public:
    explicit Recorder(unsigned frameRate);
    ~Recorder();
    const std::string& SaveFolder() const { return m_saveFolder; }
    testkit::RecordingWatch& Host() { return *m_host; }
    // Handles this thread's messages for ms: the recording's events arrive.
    void Pump(DWORD ms) { m_host->Pump(ms); }
    // Handles messages until the recording's own clock (what its time shows)
    // has counted ms: a recording takes a while to start, more so on a slow
    // machine, and that time is not in the video.
    bool PumpRecorded(DWORD ms);
    // Files the save folder holds now, full paths, oldest first.
    std::vector<std::string> SavedFiles(const char* pattern = "*.avi") const;
    // Waits, handling messages, until the recording is over and saved (or
    // failed) and its events have arrived.
    bool WaitIdle(DWORD timeoutMs = 60000);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::unique_ptr<testkit::RecordingWatch> m_host;
    std::string m_saveFolder;
};

// Frames of the video stream (its length in the file) and its duration.
struct VideoFacts {
    std::string codec;
    int width = 0, height = 0;
    long frames = 0;
    double duration = 0;
};
// The frames really in the video stream (a frame the recording could not
// grab in time is a gap in the stream, which counts in its length).
long CountPackets(const std::string& path);
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
