// The one conversion that runs at a time: a worker thread that runs the
// converter through an EncoderProcess, tells the window its progress every
// 500 ms and its end once, removes the half-written output of a failed or
// cancelled run, and lets the video list know of a new file.
//
// The window's thread starts and cancels it; the worker never touches a
// control: it sends the window WM_CONVERT_PROGRESS (read the texts with
// CurrentConversionProgress) and WM_CONVERT_DONE (lParam a const
// ConvertOutcome*, valid while the message is handled). A window that has
// gone gets nothing.
#pragma once

#include "library/FormatConvert.h"

#include <windows.h>

#include <string>

const UINT WM_CONVERT_DONE = WM_USER + 1;      // 0x401
const UINT WM_CONVERT_PROGRESS = WM_USER + 2;  // 0x402

// The converter's arguments of the current (or last) conversion.
extern std::string g_strFfmpegCmd;

// Starts converting into `output` with g_strFfmpegCmd; false while another
// conversion is still running (until its worker has ended) or when the
// worker cannot start. programFolder holds "vintx.exe".
bool StartConversion(HWND window, const std::string& output, const std::string& programFolder);
// True from StartConversion until the worker has sent its end.
bool ConversionRunning();
// A window opened while a conversion runs takes over its progress and end
// (the window that started it may have been closed).
void AttachConversionWindow(HWND window);
// Asks the running converter to stop; safe at any time, also when the run
// has just ended (the runner is let go of under the same lock).
void CancelConversion();
// The progress texts of the running converter; false when none runs.
bool CurrentConversionProgress(ConvertProgressTexts* texts);
