#include "drawing/BitmapHelpers.h"

HWND FindWindowUnderCursor(RECT* rect)
{
    POINT pt;
    if (!GetCursorPos(&pt)) return nullptr;
    // Among top-level windows the hidden and disabled ones are passed
    // through (the selector's own full-screen window is disabled here);
    // inside the window found, any visible child counts, enabled or not.
    HWND found =
        ChildWindowFromPointEx(GetDesktopWindow(), pt, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
    if (!found) return nullptr;
    for (;;) {
        POINT local;
        GetCursorPos(&local);
        ScreenToClient(found, &local);
        HWND child = ChildWindowFromPointEx(found, local, CWP_SKIPINVISIBLE);
        if (!child || child == found) break;
        found = child;
    }
    if (rect) GetWindowRect(found, rect);
    return found;
}
