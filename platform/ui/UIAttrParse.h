// Parsing of the attribute values that layouts and image strings use:
// "l,t,r,b", "cx,cy", "#AARRGGBB", "true". Malformed values give false and
// leave the output as it was, so a typo in a layout keeps the default.
#pragma once

#include <windows.h>

namespace DuiLib {

bool ParseInt(LPCSTR s, int* out);
bool ParseRect(LPCSTR s, RECT* out);
bool ParseSize(LPCSTR s, SIZE* out);
// "#AARRGGBB", "#RRGGBB" (opaque), "0xAARRGGBB" or a decimal number.
bool ParseColor(LPCSTR s, DWORD* out);
// "true"/"false" (also "1"/"0"); anything else is false.
bool ParseBool(LPCSTR s);

}  // namespace DuiLib
