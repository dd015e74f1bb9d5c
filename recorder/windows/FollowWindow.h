// Window recording: while the recorded region is exactly a window's
// rectangle, a thread keeps the capture rectangle (and the flash frame) on
// that window as it moves or resizes. The recording's stop and cancel end
// it (g_bFollowWindow), so does the user moving the flash frame, and so
// does the window going away; the capture rectangle then keeps its last
// value.
#pragma once

#include <windows.h>

// The window under the cursor the region picker snapped to last.
extern HWND g_hFollowWindow;

// Follows `window`, whose rectangle is `selection` now. A follow still
// running from an earlier recording stops. UI thread.
void StartWindowFollow(HWND window, const RECT& selection);

// The thread: every 20 ms a look at the window (a FollowRequest it frees).
DWORD WINAPI FollowWindowThread(LPVOID request);

// Ends any follow and waits for its thread (the program is closing).
void StopWindowFollow();
