// The video list's workers: the start-up load of the save folder, the
// watcher that reloads it when it changes, and the delete. They change the
// model (library/AviFileList.h) and tell the list window by messages; they
// never touch a window's controls.
//
//   SetVideoListWindow(m_hWnd);     // the list window, as it comes up
//   StartVideoFolderWatcher();
//   ...
//   case WM_VIDEO_LIST_RELOADED:    // fill the rows again from g_aviFileList
//   case WM_LIST_ITEM_REMOVED:      // a delete ended (kit/WindowMessages.h)
#pragma once

#include <windows.h>

#include <string>

// Posted to the list window after the model was loaded or reloaded.
const UINT WM_VIDEO_LIST_RELOADED = 0x8413;

// The list window the workers report to; null while there is none. Set on
// the UI thread; the watcher runs while one is set.
void SetVideoListWindow(HWND window);
HWND GetVideoListWindow();

// Start-up: reads the save folder once into the model.
void StartVideoListLoader();
// Looks at the save folder every 500 ms while the list window is shown and
// reloads the model when the folder changed. One watcher at a time; it ends
// when the list window goes.
void StartVideoFolderWatcher();
// The save folder changed, or a file was saved into it: the watcher reloads
// at its next look (at once when it runs).
void RequestVideoListReload();
// Deletes the file on a thread of its own. When it is done,
// WM_LIST_ITEM_REMOVED is sent to the list window: wParam 0 when the file
// is gone, else the error that kept it (the record then stays); lParam the
// path (const char*, valid while the message is handled).
bool StartVideoFileDelete(const std::string& path);

// Any other worker of the video list (the list window's filler), so that it
// is stopped with the rest. False when it could not start or the workers
// are stopping.
bool StartVideoListWorker(LPTHREAD_START_ROUTINE proc, LPVOID parameter);
// True once the program has asked the workers to end.
bool VideoListWorkersStopping();
// Asks every worker to end and waits for them (answering what they send to
// this thread's windows meanwhile).
void StopVideoListWorkers();
// After a stop, for a new start (tests).
void ResetVideoListWorkers();

// The thread procedures.
DWORD WINAPI LoadVideoListThread(LPVOID);
DWORD WINAPI WatchVideoFolderThread(LPVOID);
// parameter: a heap std::string with the path, taken over.
DWORD WINAPI DeleteVideoFileThread(LPVOID parameter);
