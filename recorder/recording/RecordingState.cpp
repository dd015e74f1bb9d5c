#include "recorder/recording/RecordingState.h"

#include <condition_variable>
#include <mutex>

std::atomic<BYTE> g_bRecording{0};
std::atomic<BYTE> g_bPaused{0};
std::atomic<BYTE> g_bSaveAfterStop{0};
std::atomic<BYTE> g_bSaveDone{0};
std::atomic<unsigned> g_nRecordMode{4};
std::atomic<BYTE> g_bFollowWindow{0};
HWND g_hRecordOwnerWnd = nullptr;
RECT g_rcVirtualScreen = {};
RecordStatsData g_recordStats;

namespace {

std::mutex g_captureLock;
RECT g_rcCapture = {};

std::mutex g_phaseLock;
std::condition_variable g_phaseChanged;
RecordPhase g_phase = RecordPhase::Idle;

}  // namespace

RECT GetCaptureRect()
{
    std::lock_guard<std::mutex> lock(g_captureLock);
    return g_rcCapture;
}

void SetCaptureRect(const RECT& rect)
{
    std::lock_guard<std::mutex> lock(g_captureLock);
    g_rcCapture = MakeEvenRect(rect);
}

void RecordStatsData::Reset()
{
    startTick = 0;
    elapsedMs = 0;
    elapsedSec = 0.f;
    bytesWritten = 0;
    indexRate = 0.f;
    framesWritten = 0;
    framesGrabbed = 0;
    threadCpuMs = 0;
}

RecordPhase GetRecordPhase()
{
    std::lock_guard<std::mutex> lock(g_phaseLock);
    return g_phase;
}

bool MoveRecordPhase(RecordPhase from, RecordPhase to)
{
    std::lock_guard<std::mutex> lock(g_phaseLock);
    if (g_phase != from)
        return false;
    g_phase = to;
    g_phaseChanged.notify_all();
    return true;
}

void FinishRecordPhase()
{
    std::lock_guard<std::mutex> lock(g_phaseLock);
    g_bSaveAfterStop = 1;
    g_bSaveDone = 1;
    g_phase = RecordPhase::Idle;
    g_phaseChanged.notify_all();
}

bool WaitForRecordIdle(DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(g_phaseLock);
    return g_phaseChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [] { return g_phase == RecordPhase::Idle; });
}
