// The state one recording shares between the UI thread, the recording thread
// and the control threads (status, countdown, auto-stop, save).
//
// The flags keep their classic names and meanings; they are atomics so that
// a flag written on one thread is seen on the others. On top of them one
// phase (idle, counting down, recording, saving) is changed only under a
// lock, so that there is never more than one recording: a start is taken
// only in the idle phase.
#pragma once

#include "recorder/FrameGeometry.h"

#include <windows.h>

#include <atomic>
#include <string>

extern std::atomic<BYTE> g_bRecording;      // 1 while the recording loop runs
extern std::atomic<BYTE> g_bPaused;         // pause flag of the running recording
extern std::atomic<BYTE> g_bSaveAfterStop;  // 1: the save thread saves; 0: it discards
extern std::atomic<BYTE> g_bSaveDone;       // set when the last recording is fully over
// 1 and 3 record g_rcCapture as the region or whiteboard set it; 4 the
// whole virtual screen; anything else records nothing.
extern std::atomic<unsigned> g_nRecordMode;
extern HWND g_hRecordOwnerWnd;             // the main window
extern RECT g_rcVirtualScreen;             // left, top, right, bottom
extern std::atomic<BYTE> g_bFollowWindow;  // the window record mode follows its window

// The rectangle being recorded, in screen coordinates. It may change while
// the recording runs (window follow, whiteboard moves), so it is read and
// written as a whole.
RECT GetCaptureRect();
// Stores rect with an even width and height (an odd size loses its last
// column or row: MakeEvenRect).
void SetCaptureRect(const RECT& rect);

// Written by the recording loop, read by the status and auto-stop threads.
struct RecordStatsData {
    std::atomic<DWORD> startTick{0};     // timeGetTime of the recording's time origin
    std::atomic<DWORD> elapsedMs{0};     // recorded time, paused time excluded
    std::atomic<float> elapsedSec{0.f};
    std::atomic<DWORD> bytesWritten{0};  // compressed video bytes written
    std::atomic<float> indexRate{0.f};   // last written index / elapsed seconds
    std::atomic<DWORD> framesWritten{0};
    std::atomic<DWORD> framesGrabbed{0};
    std::atomic<DWORD> threadCpuMs{0};   // the recording thread's CPU time, set at its end

    void Reset();
};
extern RecordStatsData g_recordStats;

enum class RecordPhase { Idle, CountingDown, Recording, Saving };
RecordPhase GetRecordPhase();
// Moves from `from` to `to`; false (and nothing changes) when the phase is
// another one.
bool MoveRecordPhase(RecordPhase from, RecordPhase to);
// Ends whatever phase runs: back to idle, the done flag set (the auto-stop
// waits for it on every road, failures included).
void FinishRecordPhase();
// Waits until the phase is idle; false after timeoutMs.
bool WaitForRecordIdle(DWORD timeoutMs);
