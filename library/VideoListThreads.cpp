#include "library/VideoListThreads.h"

#include "core/AppPaths.h"
#include "kit/WindowMessages.h"
#include "library/AviFileList.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace {

const DWORD kWatchPeriodMs = 500;
// Reading every entry of a big folder costs more than the watcher may spend
// twice a second. Between full looks it reads the folder's own time, which
// changes when a file is added, removed or renamed; it looks at every file
// while files have just changed (one being saved grows) and every few
// seconds in any case (a file rewritten in place).
const DWORD kFullLookMs = 5000;
const DWORD kBusyMs = 10000;
const DWORD kStopWaitMs = 15000;

std::atomic<HWND> g_listWindow{nullptr};
std::atomic<bool> g_stopping{false};
std::atomic<bool> g_watcherRunning{false};
std::atomic<bool> g_reloadAsked{false};

std::mutex g_workersLock;
std::vector<HANDLE> g_workers;

// Wakes the watcher before its 500 ms are up (a reload asked for, the stop).
HANDLE WakeEvent()
{
    static HANDLE wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    return wake;
}

// Lets go of the handles of workers that have ended.
void ForgetEndedLocked()
{
    g_workers.erase(std::remove_if(g_workers.begin(), g_workers.end(),
                                   [](HANDLE h) {
                                       if (WaitForSingleObject(h, 0) != WAIT_OBJECT_0) return false;
                                       CloseHandle(h);
                                       return true;
                                   }),
                    g_workers.end());
}

void Reload(const std::string& folder)
{
    g_aviFileList.loaded = false;
    ScanVideoFolder(folder);
    g_aviFileList.loaded = true;
    if (HWND w = g_listWindow.load()) PostMessageA(w, WM_VIDEO_LIST_RELOADED, 0, 0);
}

}  // namespace

void SetVideoListWindow(HWND window)
{
    g_listWindow = window;
    if (!window) SetEvent(WakeEvent());  // the watcher ends now, not in 500 ms
}

HWND GetVideoListWindow()
{
    return g_listWindow.load();
}

bool StartVideoListWorker(LPTHREAD_START_ROUTINE proc, LPVOID parameter)
{
    std::lock_guard<std::mutex> lock(g_workersLock);
    if (g_stopping) return false;
    ForgetEndedLocked();
    HANDLE h = CreateThread(nullptr, 0, proc, parameter, 0, nullptr);
    if (!h) return false;
    g_workers.push_back(h);
    return true;
}

bool VideoListWorkersStopping()
{
    return g_stopping.load();
}

void StartVideoListLoader()
{
    StartVideoListWorker(LoadVideoListThread, nullptr);
}

void StartVideoFolderWatcher()
{
    if (g_watcherRunning.exchange(true)) return;
    if (!StartVideoListWorker(WatchVideoFolderThread, nullptr)) g_watcherRunning = false;
}

void RequestVideoListReload()
{
    g_reloadAsked = true;
    SetEvent(WakeEvent());
}

bool StartVideoFileDelete(const std::string& path)
{
    auto* owned = new std::string(path);
    if (StartVideoListWorker(DeleteVideoFileThread, owned)) return true;
    delete owned;
    return false;
}

void StopVideoListWorkers()
{
    g_stopping = true;
    SetEvent(WakeEvent());
    std::vector<HANDLE> workers;
    {
        std::lock_guard<std::mutex> lock(g_workersLock);
        workers.swap(g_workers);
    }
    // A worker may be sending to a window of this thread: answer it while
    // waiting, or neither would ever go on.
    const DWORD start = GetTickCount();
    for (HANDLE h : workers) {
        for (;;) {
            DWORD spent = GetTickCount() - start;
            if (spent >= kStopWaitMs) break;
            DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, kStopWaitMs - spent, QS_SENDMESSAGE);
            if (r != WAIT_OBJECT_0 + 1) break;
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(h);
    }
}

void ResetVideoListWorkers()
{
    StopVideoListWorkers();
    g_stopping = false;
    g_watcherRunning = false;
    g_reloadAsked = false;
    ResetEvent(WakeEvent());
}

DWORD WINAPI LoadVideoListThread(LPVOID)
{
    Reload(GetVideoSaveFolder());
    return 0;
}

DWORD WINAPI WatchVideoFolderThread(LPVOID)
{
    std::string lookedAt;
    FILETIME folderTime = {0, 0};
    DWORD lastFullLook = GetTickCount() - kFullLookMs;
    DWORD lastChange = GetTickCount() - kBusyMs;
    for (;;) {
        if (g_stopping) break;
        HWND window = g_listWindow.load();
        if (!window) {
            // A list window that comes back just now finds the watcher
            // still running and starts none: then this one goes on.
            g_watcherRunning = false;
            if (g_listWindow.load() && !g_watcherRunning.exchange(true)) continue;
            return 0;
        }
        if (IsWindowVisible(window)) {
            const bool asked = g_reloadAsked.exchange(false);
            const std::string folder = GetVideoSaveFolder();
            WIN32_FILE_ATTRIBUTE_DATA attributes;
            const bool readable = GetFileAttributesExA(folder.c_str(), GetFileExInfoStandard, &attributes);
            const DWORD now = GetTickCount();
            const bool look = asked || folder != lookedAt || !readable ||
                              CompareFileTime(&attributes.ftLastWriteTime, &folderTime) != 0 ||
                              now - lastFullLook >= kFullLookMs || now - lastChange < kBusyMs;
            if (look) {
                lookedAt = folder;
                if (readable) folderTime = attributes.ftLastWriteTime;
                lastFullLook = now;
                if (asked || ReadFolderState(folder) != g_aviFileList.State()) {
                    Reload(folder);
                    lastChange = GetTickCount();
                }
            }
        }
        WaitForSingleObject(WakeEvent(), kWatchPeriodMs);
    }
    g_watcherRunning = false;
    return 0;
}

DWORD WINAPI DeleteVideoFileThread(LPVOID parameter)
{
    std::unique_ptr<std::string> path(static_cast<std::string*>(parameter));
    DWORD error = 0;
    if (!DeleteFileA(path->c_str())) {
        error = GetLastError();
        // Gone already (deleted outside the program): what the user wanted.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) error = 0;
    }
    if (error == 0) g_aviFileList.Remove(*path);
    if (HWND w = g_listWindow.load()) SendMessageA(w, WM_LIST_ITEM_REMOVED, error, (LPARAM)path->c_str());
    return 0;
}
