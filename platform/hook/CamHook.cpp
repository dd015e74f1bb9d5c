// CamHook.dll: the low-level mouse hook runs on a thread of its own with its
// own message loop, so a busy program thread never stalls the system's mouse
// input (Windows drops a low-level hook that answers late), and the program
// needs no message pumping of its own for the hook to work.
#include "platform/hook/CamHook.h"
#include "platform/TestHooks.h"

#include <new>

namespace {

// ClickQueue::getQueue as the host exports it (GCC's name for it).
const char kGetQueueExport[] = "_ZN10ClickQueue8getQueueEv";
typedef ClickEventQueue& (*GetQueueFn)();

// The engine expires entries after a second; what nobody drains (click
// effects off, no recording) must still not grow without end.
const DWORD kKeepMs = 5000;
const size_t kMaxEvents = 512;

HINSTANCE g_hInstance = nullptr;
GetQueueFn g_getQueue = nullptr;

CRITICAL_SECTION g_installLock;
HANDLE g_hookThread = nullptr;
DWORD g_hookThreadId = 0;
// Where the counters live: a named mapping under ORBISK_TEST_HOOKS, so
// another process can read them, else this plain record.
struct Counters {
    LONG installCalls;
    LONG uninstallCalls;
    LONG installed;
};
Counters g_ownCounters;
volatile Counters* g_counters = &g_ownCounters;
#ifdef ORBISK_TEST_HOOKS
HANDLE g_countersMapping = nullptr;

void PublishCounters()
{
    static_assert(sizeof(Counters) == sizeof(CamHookCounters), "one layout");
    char name[64];
    wsprintfA(name, CAMHOOK_COUNTERS_NAME, GetCurrentProcessId());
    g_countersMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           sizeof(Counters), name);
    if (!g_countersMapping) return;
    void* view = MapViewOfFile(g_countersMapping, FILE_MAP_WRITE, 0, 0, sizeof(Counters));
    if (view) g_counters = static_cast<volatile Counters*>(view);
}
#endif

bool IsQueuedMessage(WPARAM message)
{
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MOUSEWHEEL:
            return true;
    }
    return false;
}

void Append(const MouseEventRecord& event)
{
    ClickQueueLock lock;
    ClickEventQueue& events = g_getQueue();
    while (!events.empty() && (events.size() >= kMaxEvents ||
                               (LONG)(event.time - events.front().time) > (LONG)kKeepMs))
        events.pop_front();
    try {
        events.push_back(event);
    } catch (const std::bad_alloc&) {
        // Out of memory: this click draws no ring.
    }
}

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && IsQueuedMessage(wParam)) {
        const MSLLHOOKSTRUCT* hook = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        MouseEventRecord event;
        event.pt = hook->pt;
        event.mouseData = hook->mouseData;
        event.message = (DWORD)wParam;
        event.time = hook->time;
        event.extraInfo = hook->dwExtraInfo;
        Append(event);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct StartParams {
    HANDLE ready;
    HMODULE self;  // a reference of the thread's own, dropped as it ends
    bool hooked;
};

DWORD WINAPI HookThread(void* param)
{
    StartParams* start = static_cast<StartParams*>(param);
    HMODULE self = start->self;
    MSG msg;
    // Make the thread's message queue before anyone posts WM_QUIT to it.
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, g_hInstance, 0);
    start->hooked = hook != nullptr;
    SetEvent(start->ready);  // start is gone after this
    if (hook) {
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        UnhookWindowsHookEx(hook);
    }
    // The host may unload the DLL right after UninstallMyHook returns.
    FreeLibraryAndExitThread(self, 0);
    return 0;
}

}  // namespace

ClickQueue::ClickQueue()
{
    InitializeCriticalSection(&m_cs);
}

ClickQueue::~ClickQueue()
{
    DeleteCriticalSection(&m_cs);
}

ClickQueue* ClickQueue::getInstance()
{
    static ClickQueue instance;
    return &instance;
}

void ClickQueue::Lock()
{
    EnterCriticalSection(&m_cs);
}

void ClickQueue::Unlock()
{
    LeaveCriticalSection(&m_cs);
}

extern "C" BOOL InstallMyHook(HWND, DWORD)
{
    InterlockedIncrement(&g_counters->installCalls);
    ClickQueue::getInstance();  // the hook thread must not be the first to make it
    EnterCriticalSection(&g_installLock);
    BOOL ok = g_hookThread != nullptr;
    if (!ok) {
        g_getQueue = reinterpret_cast<GetQueueFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(nullptr), kGetQueueExport)));
        StartParams start = {CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr, false};
        if (g_getQueue && start.ready &&
            GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                               reinterpret_cast<LPCWSTR>(&LowLevelMouseProc), &start.self)) {
            HANDLE thread = CreateThread(nullptr, 0, HookThread, &start, 0, &g_hookThreadId);
            if (!thread) {
                FreeLibrary(start.self);
            } else {
                WaitForSingleObject(start.ready, INFINITE);
                if (start.hooked) {
                    g_hookThread = thread;
                    InterlockedExchange(&g_counters->installed, 1);
                    ok = TRUE;
                } else {
                    WaitForSingleObject(thread, INFINITE);
                    CloseHandle(thread);
                }
            }
        }
        if (start.ready) CloseHandle(start.ready);
    }
    LeaveCriticalSection(&g_installLock);
    return ok;
}

extern "C" BOOL UninstallMyHook(HWND)
{
    InterlockedIncrement(&g_counters->uninstallCalls);
    EnterCriticalSection(&g_installLock);
    BOOL stopped = g_hookThread != nullptr;
    if (stopped) {
        PostThreadMessageW(g_hookThreadId, WM_QUIT, 0, 0);
        WaitForSingleObject(g_hookThread, INFINITE);
        CloseHandle(g_hookThread);
        g_hookThread = nullptr;
        g_hookThreadId = 0;
        InterlockedExchange(&g_counters->installed, 0);
    }
    LeaveCriticalSection(&g_installLock);
    return stopped;
}

extern "C" LONG CamHookInstallCount()
{
    return InterlockedCompareExchange(&g_counters->installCalls, 0, 0);
}

extern "C" BOOL CamHookIsInstalled()
{
    return InterlockedCompareExchange(&g_counters->installed, 0, 0) != 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_hInstance = instance;
        DisableThreadLibraryCalls(instance);
        InitializeCriticalSection(&g_installLock);
#ifdef ORBISK_TEST_HOOKS
        if (TestHooksOn()) PublishCounters();
#endif
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&g_installLock);
    }
    return TRUE;
}
