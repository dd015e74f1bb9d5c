// The commands around a recording (start with its countdown, stop, cancel,
// pause) and the short-lived threads that time them (countdown, timed
// start, auto-stop, pause blink). The commands run on the UI thread: called
// from another thread they are handed to it (core/UiThread.h). They ask the
// main window through the recording host and tell every other window
// through the recording events.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

extern std::atomic<unsigned> g_bTimedStart;         // a timed start is pending
extern std::atomic<unsigned> g_nTimedStartSeconds;  // its delay
extern std::atomic<unsigned> g_bAutoStopWatch;      // the auto-stop watches the recording

struct AutoStopSettings {
    std::atomic<BYTE> armed{0};
    std::atomic<unsigned> limit{60};  // seconds of recorded time
};
extern AutoStopSettings g_autoStopSettings;

// "00:00:00" until a timed start counts down.
std::string GetTimedStartText();
void SetTimedStartText(const std::string& text);

void StartRecording(bool fromCountdown);
void StopRecording();
void CancelRecording();
void TogglePause();

// A timed start `seconds` from now, with its thread. Refused (false, nothing
// set) unless the program is idle: a start while a recording counts down,
// runs or is saved would be refused when it came.
bool ArmTimedStart(unsigned seconds);
// The auto-stop at `limitSeconds` of recorded time. A recording that runs
// already is watched from now on; otherwise the next start begins the watch.
void ArmAutoStop(unsigned limitSeconds);

// "%.2d:%.2d:%.2d" of the time left before the auto-stop (negative fields
// once it has passed); empty when the auto-stop is off.
std::string FormatAutoStopRemaining();

DWORD WINAPI CountdownThread(LPVOID);
// Their parameter is their run number (ArmTimedStart, ArmAutoStop).
DWORD WINAPI TimedStartThread(LPVOID run);
DWORD WINAPI AutoStopThread(LPVOID run);
DWORD WINAPI PauseBlinkThread(LPVOID);

// Starts proc on a thread of its own whose handle is not kept.
void RunDetached(LPTHREAD_START_ROUTINE proc);
