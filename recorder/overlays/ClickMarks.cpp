#include "recorder/overlays/ClickMarks.h"

namespace {

// Milliseconds since the event; the hook can stamp an event a little ahead
// of a tick read on another thread, and such an event is new, not ancient.
int AgeOf(DWORD now, DWORD time)
{
    const LONG age = (LONG)(now - time);
    return age < 0 ? 0 : (int)age;
}

bool IsButtonDown(DWORD message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool IsButtonUp(DWORD message)
{
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

ClickMark::Pen PenOf(DWORD message)
{
    switch (message) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return ClickMark::kRightPen;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MOUSEWHEEL:
            return ClickMark::kWheelPen;
    }
    return ClickMark::kLeftPen;
}

}  // namespace

size_t CollectClickMarks(ClickEventQueue& queue, DWORD now, const ClickRingTiming& timing,
                         ClickMark* out, size_t capacity)
{
    const int life = (int)timing.lifeMs, maxRadius = (int)timing.radius;

    size_t expired = 0;
    while (expired < queue.size() && AgeOf(now, queue[expired].time) > life) ++expired;
    queue.erase(queue.begin(), queue.begin() + expired);

    // Each button-up ends the nearest earlier down of its button; settle
    // that first, so a release never shows the closing ring for one more frame.
    for (size_t i = 0; i < queue.size(); ++i) {
        if (!IsButtonUp(queue[i].message)) continue;
        for (size_t j = i; j-- > 0;) {
            if (queue[j].message == queue[i].message - 1) {
                queue[j].message = MouseEventRecord::kCancelled;
                break;
            }
        }
    }

    size_t count = 0;
    for (size_t i = 0; i < queue.size() && count < capacity; ++i) {
        const MouseEventRecord& e = queue[i];
        if (e.message == MouseEventRecord::kCancelled) continue;
        // Out-of-order events behind a young one are not expired yet.
        const int age = AgeOf(now, e.time) < life ? AgeOf(now, e.time) : life;
        int r = life > 0 ? age * maxRadius / life : 0;
        if (IsButtonDown(e.message)) r = maxRadius - r;  // a held button closes in on the click
        ClickMark& mark = out[count++];
        mark.pen = PenOf(e.message);
        mark.pt = e.pt;
        mark.radius = r;
        if (e.message == WM_MOUSEWHEEL) {
            const int delta = (short)HIWORD(e.mouseData);
            mark.shape = ClickMark::kChevron;
            mark.depth = delta * r / 120;
        } else {
            mark.shape = ClickMark::kRing;
            mark.depth = 0;
        }
    }
    return count;
}
