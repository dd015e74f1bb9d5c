// Window messages the recording sends to the windows around it.
#pragma once

#include <windows.h>

const UINT WM_RECORD_STATUS = WM_USER + 1;      // 0x401: status tick; countdown seconds in wParam
const UINT WM_TIMED_START_TICK = WM_USER + 2;   // 0x402: wParam 1 resets the time label
const UINT WM_SHOW_COUNTDOWN = 0x403;           // open the countdown window
const UINT WM_PAUSE_BLINK = WM_USER + 4;        // 0x404: wParam 0 or 1 swaps the pause buttons
const UINT WM_SHOW_SAVE_NOTICE = 0x429;         // show the save notice
const UINT WM_RECORD_STARTED = 0x5401;
const UINT WM_RECORD_STOPPED = 0x5402;

// "WM_USER_RECORDINTERRUPTED_MSG": writing the AVI failed.
UINT RecordInterruptedMessage();
