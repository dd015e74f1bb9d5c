#include "core/UiThread.h"

#include <windows.h>

#include <memory>
#include <mutex>

namespace {

const char kQueueClass[] = "OrbiskUiThreadQueue";
const UINT kRunMessage = WM_APP + 1;

using Task = std::function<void()>;

std::mutex g_lock;
HWND g_queue = nullptr;
DWORD g_thread = 0;

LRESULT CALLBACK QueueProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kRunMessage) {
        std::unique_ptr<Task> task(reinterpret_cast<Task*>(lp));
        if (task && *task) (*task)();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void DropQueued(HWND queue)
{
    MSG msg;
    while (PeekMessageA(&msg, queue, kRunMessage, kRunMessage, PM_REMOVE))
        delete reinterpret_cast<Task*>(msg.lParam);
}

}  // namespace

void BindUiThread()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = QueueProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kQueueClass;
    RegisterClassA(&wc);  // an existing class is as good
    HWND queue = CreateWindowExA(0, kQueueClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
    HWND old;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        old = g_queue;
        g_queue = queue;
        g_thread = queue ? GetCurrentThreadId() : 0;
    }
    // The old queue's tasks belong to a thread that no longer serves it.
    if (old) {
        if (GetWindowThreadProcessId(old, nullptr) == GetCurrentThreadId()) {
            DropQueued(old);
            DestroyWindow(old);
        } else {
            PostMessageA(old, WM_CLOSE, 0, 0);
        }
    }
}

void UnbindUiThread()
{
    HWND old;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        old = g_queue;
        g_queue = nullptr;
        g_thread = 0;
    }
    if (old && GetWindowThreadProcessId(old, nullptr) == GetCurrentThreadId()) {
        DropQueued(old);
        DestroyWindow(old);
    }
}

bool IsUiThread()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_thread != 0 && g_thread == GetCurrentThreadId();
}

bool RunOnUiThread(std::function<void()> fn)
{
    if (!fn) return false;
    auto* task = new Task(std::move(fn));
    std::lock_guard<std::mutex> lock(g_lock);
    // Posting under the lock: an unbind cannot destroy the queue between
    // the look-up and the post.
    if (g_queue && PostMessageA(g_queue, kRunMessage, 0, reinterpret_cast<LPARAM>(task)))
        return true;
    delete task;
    return false;
}
