// Zoom around the cursor: the zoom hot key stores the cursor position and
// the tick; the engine then magnifies 2x around that point for a second.
#pragma once

#include <windows.h>

extern double g_dZoomFactor;  // 1.0, or 2.0 while a zoom runs
extern POINT g_ptZoomCenter;  // screen coordinates
extern DWORD g_dwZoomTick;    // GetTickCount of the request, 0 = none

// The part of the capture rectangle to grab at this factor: w/factor by
// h/factor around the centre, kept inside the capture rectangle.
RECT ZoomGrabRect(const RECT& capture, double factor, POINT centre);

// Moves the zoom state on after a grab: 2x while the request is younger
// than 1001 ms; an older one is cleared (tick and centre back to 0).
void AdvanceZoom(DWORD now, double& factor, DWORD& tick, POINT& centre);
