#include "recorder/Zoom.h"

#include <algorithm>

double g_dZoomFactor = 1.0;
POINT g_ptZoomCenter = {10, 10};
DWORD g_dwZoomTick = 0;

namespace {
const DWORD kZoomMs = 1001;
}

RECT ZoomGrabRect(const RECT& capture, double factor, POINT centre)
{
    if (factor == 1.0) return capture;
    const int w = (int)((capture.right - capture.left) / factor);
    const int h = (int)((capture.bottom - capture.top) / factor);
    RECT grab;
    grab.left = std::min<LONG>(std::max<LONG>(centre.x - w / 2, capture.left), capture.right - w);
    grab.top = std::min<LONG>(std::max<LONG>(centre.y - h / 2, capture.top), capture.bottom - h);
    grab.right = grab.left + w;
    grab.bottom = grab.top + h;
    return grab;
}

void AdvanceZoom(DWORD now, double& factor, DWORD& tick, POINT& centre)
{
    if (tick == 0) return;
    const DWORD age = now - tick;
    if (age >= kZoomMs) {
        tick = 0;
        centre.x = centre.y = 0;
    }
    factor = age < kZoomMs ? 2.0 : 1.0;
}
