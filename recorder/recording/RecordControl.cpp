#include "recorder/recording/RecordControl.h"

#include "core/AppPaths.h"
#include "core/CfgDocument.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/recording/RecordLoop.h"
#include "recorder/recording/RecordMessages.h"
#include "recorder/recording/RecordStatus.h"
#include "recorder/recording/RecordingHost.h"
#include "recorder/recording/RecordingState.h"

#include <cstdio>
#include <mutex>

std::atomic<unsigned> g_bTimedStart{0};
std::atomic<unsigned> g_nTimedStartSeconds{0};
std::atomic<unsigned> g_bAutoStopWatch{0};
AutoStopSettings g_autoStopSettings;

namespace {

std::mutex g_timedTextLock;
std::string g_timedStartText = "00:00:00";
// Set by a stop during the countdown: the countdown ends without starting.
std::atomic<bool> g_countdownCancelled{false};

// A message that must be handled before the sender goes on, without ever
// hanging a worker on a window that does not answer.
void SendAndWait(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (wnd)
        SendMessageTimeoutA(wnd, msg, wp, lp, SMTO_NORMAL, 10000, nullptr);
}

void PostIf(HWND wnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
{
    if (wnd)
        PostMessageA(wnd, msg, wp, lp);
}

void PostToRecordingWindows(UINT msg)
{
    RecordingHost& host = *GetRecordingHost();
    PostIf(host.MainWindow(), msg);
    PostIf(host.FloatBarWindow(), msg);
    PostIf(host.WhiteboardWindow(), msg);
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
    RecordingHost& host = *GetRecordingHost();
    if (save) {
        std::string folder = GetVideoSaveFolder();
        g_cfgDocument.SetCfgVideoSavePath(folder);
    }
    if (g_bRecording) {
        g_bPaused = 0;
        g_bSaveAfterStop = save ? 1 : 0;
        g_bRecording = 0;
    } else if (GetRecordPhase() == RecordPhase::CountingDown) {
        g_countdownCancelled = true;
    }
    g_nRecordMode = 4;
    EndWindowFollow();
    host.ShowMainWindowNormal();
    PostToRecordingWindows(WM_RECORD_STOPPED);
    host.EnableSettingsControls();
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
    if (HANDLE h = CreateThread(nullptr, 0, proc, nullptr, 0, nullptr))
        CloseHandle(h);
}

void StartRecording(bool fromCountdown)
{
    RecordingHost& host = *GetRecordingHost();
    // One recording at a time: a start during a countdown, a recording or
    // the save of the previous one is refused.
    RecordPhase from = fromCountdown ? RecordPhase::CountingDown : RecordPhase::Idle;
    if (GetRecordPhase() != from)
        return;
    host.MinimizeMainWindow();
    if (g_bTimedStart) {
        g_bTimedStart = 0;
        SetTimedStartText("00:00:00");
        host.HideTimedStartControl();
        SendAndWait(host.MainWindow(), WM_TIMED_START_TICK, 0, 0);
    }
    if (g_nCountdownSeconds && !fromCountdown) {
        if (!MoveRecordPhase(RecordPhase::Idle, RecordPhase::CountingDown))
            return;
        g_countdownCancelled = false;
        SendAndWait(host.MainWindow(), WM_SHOW_COUNTDOWN, 0, 0);
        RunDetached(CountdownThread);
        return;
    }
    if (!MoveRecordPhase(from, RecordPhase::Recording))
        return;
    PrepareRecording();
    if (!g_bRecording)  // the record mode records nothing
        FinishRecordPhase();
    if (g_bAutoStopWatch)
        RunDetached(AutoStopThread);
    PostToRecordingWindows(WM_RECORD_STARTED);
    RunDetached(RecordStatusThread);
}

void StopRecording()
{
    EndRecording(true);
}

void CancelRecording()
{
    EndRecording(false);
}

void TogglePause()
{
    if (g_bRecording)
        g_bPaused = g_bPaused ? 0 : 1;
    RunDetached(PauseBlinkThread);
}

std::string FormatAutoStopRemaining()
{
    if (!g_bAutoStopWatch)
        return std::string();
    long left = (long)g_autoStopSettings.limit - (long)g_recordStats.elapsedSec.load();
    return Hms(left);
}

// The threads below look the host up at each use: the windows behind it may
// come and go while they sleep.

DWORD WINAPI CountdownThread(LPVOID)
{
    for (unsigned n = g_nCountdownSeconds; n >= 1 && !g_countdownCancelled; --n) {
        SendAndWait(GetRecordingHost()->CountdownWindow(), WM_RECORD_STATUS, n, 0);
        Sleep(1000);
    }
    GetRecordingHost()->CloseCountdownWindow();
    if (g_countdownCancelled) {
        g_countdownCancelled = false;
        MoveRecordPhase(RecordPhase::CountingDown, RecordPhase::Idle);
        return 0;
    }
    StartRecording(true);
    return 0;
}

DWORD WINAPI TimedStartThread(LPVOID)
{
    long s = (long)g_nTimedStartSeconds;
    while (g_bTimedStart) {
        SetTimedStartText(Hms(s));
        if (s < 1) {
            StartRecording(false);
            break;
        }
        PostIf(GetRecordingHost()->MainWindow(), WM_TIMED_START_TICK, 0, 0);
        Sleep(1000);
        --s;
    }
    SetTimedStartText("00:00:00");
    SendAndWait(GetRecordingHost()->MainWindow(), WM_TIMED_START_TICK, 1, 0);
    g_bTimedStart = 0;
    GetRecordingHost()->HideTimedStartControl();
    return 0;
}

DWORD WINAPI AutoStopThread(LPVOID)
{
    while (g_bAutoStopWatch) {
        if (g_autoStopSettings.armed &&
            g_autoStopSettings.limit <= (unsigned)g_recordStats.elapsedSec.load()) {
            g_bAutoStopWatch = 0;
            g_autoStopSettings.armed = 0;
            StopRecording();
            // Every road of a recording ends in the idle phase, failures too.
            while (!WaitForRecordIdle(1000)) {
            }
            switch (GetRecordingHost()->AfterStopAction()) {
            case 1:
                StartRecording(false);
                break;
            case 2:
                GetRecordingHost()->CloseMainWindow();
                return 0;
            case 3:
                GetRecordingHost()->ShutDownComputer();
                break;
            }
        }
        // Looked at ten times a second, so the recording ends at its limit,
        // not up to a second later.
        Sleep(100);
    }
    GetRecordingHost()->HideAutoStopIndicator();
    return 0;
}

DWORD WINAPI PauseBlinkThread(LPVOID)
{
    WPARAM b = 0;
    while (g_bPaused) {
        PostIf(GetRecordingHost()->MainWindow(), WM_PAUSE_BLINK, b);
        PostIf(GetRecordingHost()->FloatBarWindow(), WM_PAUSE_BLINK, b);
        b = !b;
        Sleep(500);
    }
    PostIf(GetRecordingHost()->MainWindow(), WM_PAUSE_BLINK, 0);
    PostIf(GetRecordingHost()->FloatBarWindow(), WM_PAUSE_BLINK, 0);
    return 0;
}
