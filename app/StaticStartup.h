// What exists before the entry function runs: GDI+ started for the whole
// process and the program's registered window messages.
#pragma once

#include <windows.h>

// "WM_USER_RECORDINTERRUPTED_MSG": the recording could not write its video.
extern const UINT g_uRecordInterruptedMsg;
// Registered at start for the programs that expect them; nothing posts them.
extern const UINT g_uRecordStartMsg;
extern const UINT g_uRecordPausedMsg;
extern const UINT g_uSaveCursorMsg;
extern const UINT g_uGenericMsg;

// True when the static GDI+ start succeeded.
bool GdiplusStarted();
