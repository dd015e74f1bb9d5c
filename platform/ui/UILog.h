// Diagnostics of the UI library. Errors (a malformed layout, a missing
// image) are reported here and the window carries on; they go to the
// debugger output and to standard error, and a sink set by the program or a
// test sees each one too.
#pragma once

#include <windows.h>

namespace DuiLib {

typedef void (*UiLogSink)(LPCSTR message);

// Replaces the sink; returns the previous one. Null turns it off.
UiLogSink SetUiLogSink(UiLogSink sink);
void __cdecl UiLogError(LPCSTR fmt, ...);
void __cdecl UiTrace(LPCSTR fmt, ...);

}  // namespace DuiLib

#ifdef NDEBUG
#define DUITRACE(...) ((void)0)
#else
#define DUITRACE(...) ::DuiLib::UiTrace(__VA_ARGS__)
#endif
