// The mouse-hook library "CamHook.dll": a global low-level mouse hook that
// queues button and wheel events for the click rings of the capture engine.
//
// The queue's storage belongs to the program, not to the DLL: the executable
// that loads CamHook.dll links ClickQueueHost.cpp (target
// orbisk_clickqueue_host), which defines and exports ClickQueue::getQueue.
// The DLL finds that export in its host at InstallMyHook time, so any
// program (Orbisk.exe, a test, a benchmark) can host the queue simply by
// linking that target.
#pragma once

#include <windows.h>

#include <deque>

#ifdef CAMHOOK_BUILDING_DLL
#define CAMHOOK_API __declspec(dllexport)
#else
#define CAMHOOK_API __declspec(dllimport)
#endif

#ifdef CAMHOOK_QUEUE_HOST
#define CAMHOOK_HOST_API __declspec(dllexport)
#else
#define CAMHOOK_HOST_API
#endif

// One queued mouse event: the low-level hook record with the mouse message
// in place of the flags.
struct MouseEventRecord {
    POINT pt;         // screen coordinates
    DWORD mouseData;  // high word: signed wheel delta for WM_MOUSEWHEEL
    DWORD message;    // WM_LBUTTONDOWN ... WM_MOUSEWHEEL, or kCancelled
    DWORD time;       // GetTickCount clock
    ULONG_PTR extraInfo;

    static constexpr DWORD kCancelled = 0xFFFFFFFF;
};

// Appended in time order by the hook; read, compacted and marked by the
// capture engine. Touch it only between Lock and Unlock.
typedef std::deque<MouseEventRecord> ClickEventQueue;

class ClickQueue {
public:
    CAMHOOK_API static ClickQueue* getInstance();
    CAMHOOK_API void Lock();
    CAMHOOK_API void Unlock();

    // Defined by the program that hosts the DLL (ClickQueueHost.cpp).
    CAMHOOK_HOST_API static ClickEventQueue& getQueue();

private:
    ClickQueue();
    ~ClickQueue();
    ClickQueue(const ClickQueue&) = delete;
    ClickQueue& operator=(const ClickQueue&) = delete;

    CRITICAL_SECTION m_cs;
};

// Holds the queue's lock for one scope.
class ClickQueueLock {
public:
    ClickQueueLock() : m_queue(ClickQueue::getInstance()) { m_queue->Lock(); }
    ~ClickQueueLock() { m_queue->Unlock(); }
    ClickQueueLock(const ClickQueueLock&) = delete;
    ClickQueueLock& operator=(const ClickQueueLock&) = delete;

private:
    ClickQueue* m_queue;
};

extern "C" {
// Starts the global hook (once; a second call while it runs changes
// nothing). Both arguments are reserved: pass 0. Returns FALSE when the hook
// cannot be set or the host program does not export ClickQueue::getQueue.
CAMHOOK_API BOOL InstallMyHook(HWND reserved, DWORD reserved2);
// Stops the hook; queued events stay for the engine to expire. The argument
// is reserved: pass 0. Returns TRUE when a running hook was stopped.
CAMHOOK_API BOOL UninstallMyHook(HWND reserved);

// How many times InstallMyHook was called in this process, and whether the
// hook runs now.
CAMHOOK_API LONG CamHookInstallCount();
CAMHOOK_API BOOL CamHookIsInstalled();
}

#ifdef ORBISK_TEST_HOOKS
// The same figures for tests in another process (a test that drives
// Orbisk.exe checks that a recording start installed the hook): the DLL
// publishes them in a named mapping per process id.
struct CamHookCounters {
    LONG installCalls;
    LONG uninstallCalls;
    LONG installed;
};
#define CAMHOOK_COUNTERS_NAME "OrbiskCamHookCounters-%lu"

// Reads the figures of the process pid; false while it has not loaded the DLL.
inline bool ReadCamHookCounters(DWORD pid, CamHookCounters* out)
{
    char name[64];
    wsprintfA(name, CAMHOOK_COUNTERS_NAME, pid);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (!mapping) return false;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof *out);
    if (view) {
        const volatile CamHookCounters* live = static_cast<const volatile CamHookCounters*>(view);
        out->installCalls = live->installCalls;
        out->uninstallCalls = live->uninstallCalls;
        out->installed = live->installed;
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return view != nullptr;
}
#endif
