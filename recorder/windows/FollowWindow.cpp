#include "recorder/windows/FollowWindow.h"

#include "core/UiThread.h"
#include "recorder/recording/RecordingState.h"
#include "recorder/windows/FlashWnd.h"
#include "recorder/windows/RecorderModule.h"
#include "recorder/windows/RegionGeometry.h"

#include <atomic>

HWND g_hFollowWindow = nullptr;

namespace {

const DWORD kFollowPeriodMs = 20;

// Each follow has its number; a thread whose number is no longer the
// current one stops, so a quick second recording never has two threads
// steering one capture rectangle.
std::atomic<unsigned> g_followGeneration{0};
std::atomic<int> g_followThreads{0};

struct FollowRequest {
    HWND window;
    RECT last;  // the window's rectangle on the screen at the last look
    unsigned generation;
};

bool StillFollowing(unsigned generation)
{
    return g_bFollowWindow && g_followGeneration == generation;
}

// The frame is a window of the UI thread: it is shown, hidden and moved
// there.
void MoveFrame(const FollowStep& step, unsigned generation)
{
    RunOnUiThread([step, generation] {
        FlashWnd* frame = g_pFlashWnd;
        if (!frame || !StillFollowing(generation)) return;
        // Shown or hidden first: a hidden frame leaves the capture
        // rectangle to this thread as it moves. A window off the screen
        // leaves the frame where it was.
        ::ShowWindow(frame->GetHWND(), step.frameShown ? SW_SHOWNOACTIVATE : SW_HIDE);
        if (step.recordable) frame->MoveToRect(step.frame);
    });
}

}  // namespace

void StartWindowFollow(HWND window, const RECT& selection)
{
    unsigned generation = ++g_followGeneration;
    // Set here, not on the thread: a stop that comes before the thread runs
    // must still end it.
    g_bFollowWindow = 1;
    auto* request = new FollowRequest{window, selection, generation};
    ++g_followThreads;
    HANDLE thread = CreateThread(nullptr, 0, FollowWindowThread, request, 0, nullptr);
    if (thread) {
        CloseHandle(thread);
        return;
    }
    --g_followThreads;
    delete request;
    g_bFollowWindow = 0;
}

void StopWindowFollow()
{
    ++g_followGeneration;
    g_bFollowWindow = 0;
    for (int waited = 0; g_followThreads > 0 && waited < 1000; waited += 10) Sleep(10);
}

DWORD WINAPI FollowWindowThread(LPVOID param)
{
    auto* request = static_cast<FollowRequest*>(param);
    const SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    while (StillFollowing(request->generation)) {
        Sleep(kFollowPeriodMs);
        if (!IsWindow(request->window)) break;
        if (IsIconic(request->window)) continue;
        RECT now;
        if (!GetWindowRect(request->window, &now)) continue;
        FollowStep step = NextFollowStep(now, request->last, screen);
        if (!step.changed) continue;
        request->last = step.onScreen;
        if (!StillFollowing(request->generation)) break;
        if (step.recordable) SetCaptureRect(step.capture);
        MoveFrame(step, request->generation);
    }
    // Only the current follow may clear the flag a newer one set.
    if (g_followGeneration == request->generation) g_bFollowWindow = 0;
    delete request;
    --g_followThreads;
    return 0;
}
