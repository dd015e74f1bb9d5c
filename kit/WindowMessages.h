// The private window messages that cross from one module's window to
// another's. One number may mean different things to different windows.
#pragma once

#include <windows.h>

const UINT WM_RECORD_STATUS = WM_USER + 1;      // 0x401: status tick; countdown seconds in wParam
const UINT WM_TIMED_START_TICK = WM_USER + 2;   // 0x402: wParam 1 resets the time label
const UINT WM_SHOW_COUNTDOWN = 0x403;           // open the countdown window
const UINT WM_PAUSE_BLINK = WM_USER + 4;        // 0x404: wParam 0 or 1 swaps the pause buttons
const UINT WM_SHOW_SAVE_NOTICE = 0x429;         // show the save notice, wParam the file's kind
const UINT WM_OPEN_HOMEPAGE = 0x42A;            // for other processes: the program's page
const UINT WM_SHOW_GUIDE = 0x42B;               // for other processes: the guide window
const UINT WM_CLOSE_MAIN = 0x42C;               // for other processes: close the program
const UINT WM_UPDATE_CHECKED = WM_USER + 0x120;  // 0x520: the update check has ended (settings/UpdateCheck.h)
const UINT WM_RECORD_STARTED = 0x5401;
const UINT WM_RECORD_STOPPED = 0x5402;
const UINT WM_LIST_ADD_ITEM = 0x8410;           // a list gains one item (lParam)
const UINT WM_LIST_ITEM_REMOVED = 0x8411;       // a delete of the video list ended (lParam the path, wParam 0 or its error)
const UINT WM_EDIT_RELOAD = 0x8411;             // the video editor reloads its current step
const UINT WM_EDIT_PROGRESS = 0x8412;           // the video editor's progress, wParam the stage

// WM_COMMAND ids other windows send.
const UINT kRegionPickerCmdStart = 158;         // the region picker records its selection
