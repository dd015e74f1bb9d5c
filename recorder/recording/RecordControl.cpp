#include "recorder/recording/RecordControl.h"

#include "core/AppPaths.h"
#include "core/CfgDocument.h"
#include "core/UiThread.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/recording/RecordLoop.h"
#include "recorder/recording/RecordStatus.h"
#include "recorder/recording/RecordingEvents.h"
#include "recorder/recording/RecordingHost.h"
#include "recorder/recording/RecordingState.h"

#include <cstdio>
#include <functional>
#include <mutex>

std::atomic<unsigned> g_bTimedStart{0};
std::atomic<unsigned> g_nTimedStartSeconds{0};
std::atomic<unsigned> g_bAutoStopWatch{0};
AutoStopSettings g_autoStopSettings;

namespace {

std::mutex g_timedTextLock;
std::string g_timedStartText = "00:00:00";
// Set by a stop during the countdown: the countdown ends without starting.
// Only the UI thread decides; the countdown thread reads it to end early.
std::atomic<bool> g_countdownCancelled{false};
// The number of the timed start and of the auto-stop watch that run. Setting
// either again (after the main window cancelled it) moves its number on, so
// the thread of the earlier one, still asleep, ends without acting.
std::atomic<unsigned> g_timedStartRun{0};
std::atomic<unsigned> g_autoStopRun{0};

// The commands and the host belong to the UI thread: the threads below hand
// their work over to it. Without a UI thread (a tool that records without
// windows) the work runs where it is.
void OnUiThread(std::function<void()> fn)
{
    if (IsUiThread() || !RunOnUiThread(fn)) fn();
}

std::string Hms(long seconds)
{
    char buf[32];
    snprintf(buf, sizeof buf, "%.2ld:%.2ld:%.2ld", seconds / 3600, (seconds % 3600) / 60,
             seconds % 60);
    return buf;
}

// Stop and cancel share everything but the save decision.
void EndRecording(bool save)
{
    if (save) g_cfgDocument.SetCfgVideoSavePath(GetVideoSaveFolder());
    if (g_bRecording) {
        g_bPaused = 0;
        g_bSaveAfterStop = save ? 1 : 0;
        g_bRecording = 0;
    } else if (GetRecordPhase() == RecordPhase::CountingDown) {
        g_countdownCancelled = true;
    }
    g_nRecordMode = 4;
    EndWindowFollow();
    GetRecordingHost().ShowMainWindowNormal();
    PublishRecordingStopped();
}

// The end of the countdown, on the UI thread: a stop meanwhile ended it.
void FinishCountdown()
{
    GetRecordingHost().ShowCountdown(0);
    if (g_countdownCancelled) {
        g_countdownCancelled = false;
        MoveRecordPhase(RecordPhase::CountingDown, RecordPhase::Idle);
        return;
    }
    StartRecording(true);
}

// Starts proc with its run number as the parameter.
void RunNumbered(LPTHREAD_START_ROUTINE proc, unsigned run)
{
    if (HANDLE h = CreateThread(nullptr, 0, proc, (LPVOID)(UINT_PTR)run, 0, nullptr))
        CloseHandle(h);
}

void WatchAutoStop()
{
    RunNumbered(AutoStopThread, ++g_autoStopRun);
}

void AfterAutoStop()
{
    RecordingHost& host = GetRecordingHost();
    switch (host.AfterStopAction()) {
        case 1:
            StartRecording(false);
            break;
        case 2:
            host.CloseMainWindow();
            break;
        case 3:
            host.ShutDownComputer();
            break;
        default:
            break;
    }
}

}  // namespace

std::string GetTimedStartText()
{
    std::lock_guard<std::mutex> lock(g_timedTextLock);
    return g_timedStartText;
}

void SetTimedStartText(const std::string& text)
{
    std::lock_guard<std::mutex> lock(g_timedTextLock);
    g_timedStartText = text;
}

void RunDetached(LPTHREAD_START_ROUTINE proc)
{
    if (HANDLE h = CreateThread(nullptr, 0, proc, nullptr, 0, nullptr)) CloseHandle(h);
}

void StartRecording(bool fromCountdown)
{
    if (!IsUiThread() && RunOnUiThread([fromCountdown] { StartRecording(fromCountdown); }))
        return;
    RecordingHost& host = GetRecordingHost();
    // One recording at a time: a start during a countdown, a recording or
    // the save of the previous one is refused.
    RecordPhase from = fromCountdown ? RecordPhase::CountingDown : RecordPhase::Idle;
    if (GetRecordPhase() != from) return;
    host.MinimizeMainWindow();
    if (g_bTimedStart) {
        g_bTimedStart = 0;
        SetTimedStartText("00:00:00");
        host.ShowTimedStart(true);
    }
    if (g_nCountdownSeconds && !fromCountdown) {
        if (!MoveRecordPhase(RecordPhase::Idle, RecordPhase::CountingDown)) return;
        g_countdownCancelled = false;
        host.ShowCountdown(g_nCountdownSeconds);
        RunDetached(CountdownThread);
        return;
    }
    if (!MoveRecordPhase(from, RecordPhase::Recording)) return;
    // On this thread, so the overlay settings the windows edit here are
    // not copied while they change.
    PrepareRecording();
    if (!g_bRecording)  // the record mode records nothing
        FinishRecordPhase();
    if (g_bAutoStopWatch) WatchAutoStop();
    PublishRecordingStarted();
    RunDetached(RecordStatusThread);
}

void StopRecording()
{
    if (!IsUiThread() && RunOnUiThread([] { StopRecording(); })) return;
    EndRecording(true);
}

void CancelRecording()
{
    if (!IsUiThread() && RunOnUiThread([] { CancelRecording(); })) return;
    EndRecording(false);
}

void TogglePause()
{
    if (!IsUiThread() && RunOnUiThread([] { TogglePause(); })) return;
    if (g_bRecording) {
        g_bPaused = g_bPaused ? 0 : 1;
        PublishRecordingPaused(g_bPaused != 0);
    }
    RunDetached(PauseBlinkThread);
}

bool ArmTimedStart(unsigned seconds)
{
    if (GetRecordPhase() != RecordPhase::Idle) return false;
    g_nTimedStartSeconds = seconds;
    // Set before the thread starts: it ends as soon as it finds it clear.
    g_bTimedStart = 1;
    RunNumbered(TimedStartThread, ++g_timedStartRun);
    return true;
}

void ArmAutoStop(unsigned limitSeconds)
{
    g_autoStopSettings.limit = limitSeconds;
    g_autoStopSettings.armed = 1;
    g_bAutoStopWatch = 1;
    // A start begins the watch; a recording that already runs began without
    // one.
    if (GetRecordPhase() == RecordPhase::Recording) WatchAutoStop();
}

std::string FormatAutoStopRemaining()
{
    if (!g_bAutoStopWatch) return std::string();
    long left = (long)g_autoStopSettings.limit - (long)g_recordStats.elapsedSec.load();
    return Hms(left);
}

DWORD WINAPI CountdownThread(LPVOID)
{
    // The first second was shown by the start itself.
    for (unsigned n = g_nCountdownSeconds; n >= 1 && !g_countdownCancelled; --n) {
        if (n != g_nCountdownSeconds) AskRecordingHost([n](RecordingHost& h) { h.ShowCountdown(n); });
        for (int tenth = 0; tenth < 10 && !g_countdownCancelled; ++tenth) Sleep(100);
    }
    OnUiThread(FinishCountdown);
    return 0;
}

DWORD WINAPI TimedStartThread(LPVOID param)
{
    const unsigned run = (unsigned)(UINT_PTR)param;
    long s = (long)g_nTimedStartSeconds;
    while (g_bTimedStart && run == g_timedStartRun) {
        SetTimedStartText(Hms(s));
        if (s < 1) {
            StartRecording(false);
            break;
        }
        AskRecordingHost([](RecordingHost& h) { h.ShowTimedStart(false); });
        Sleep(1000);
        --s;
    }
    if (run != g_timedStartRun) return 0;
    SetTimedStartText("00:00:00");
    g_bTimedStart = 0;
    AskRecordingHost([](RecordingHost& h) { h.ShowTimedStart(true); });
    return 0;
}

DWORD WINAPI AutoStopThread(LPVOID param)
{
    const unsigned run = (unsigned)(UINT_PTR)param;
    while (g_bAutoStopWatch && run == g_autoStopRun) {
        if (g_autoStopSettings.armed &&
            g_autoStopSettings.limit <= (unsigned)g_recordStats.elapsedSec.load()) {
            g_bAutoStopWatch = 0;
            g_autoStopSettings.armed = 0;
            StopRecording();
            // Every road of a recording ends in the idle phase, failures too.
            while (!WaitForRecordIdle(1000)) {
            }
            OnUiThread(AfterAutoStop);
            break;
        }
        // Looked at ten times a second, so the recording ends at its limit,
        // not up to a second later.
        Sleep(100);
    }
    AskRecordingHost([run](RecordingHost& h) {
        // A newer watch keeps its indicator.
        if (run == g_autoStopRun && !g_bAutoStopWatch) h.HideAutoStopIndicator();
    });
    return 0;
}

DWORD WINAPI PauseBlinkThread(LPVOID)
{
    WPARAM b = 0;
    while (g_bPaused) {
        PublishPauseBlink(b);
        b = !b;
        Sleep(500);
    }
    PublishPauseBlink(0);
    return 0;
}
