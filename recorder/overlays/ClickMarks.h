// What the click queue shows at a moment: rings for button events and
// chevrons for wheel turns, with their sizes from the events' ages.
#pragma once

#include "platform/hook/CamHook.h"

#include <cstddef>

struct ClickMark {
    enum Shape { kRing, kChevron };
    enum Pen { kLeftPen, kRightPen, kWheelPen };

    Shape shape;
    Pen pen;
    POINT pt;    // screen coordinates
    int radius;  // ring radius, or the chevron's half-width
    int depth;   // chevron: how far its tip lies above the point (below when negative)
};

struct ClickRingTiming {
    DWORD lifeMs;
    DWORD radius;
};

// Run under the queue's lock, with `now` read under it too. Drops the events
// older than the ring life from the front, marks the button-down that each
// button-up ends as cancelled, and writes the marks to draw (at most
// capacity) to out, in queue order. An event stamped later than `now` counts
// as brand new. Returns the number of marks.
size_t CollectClickMarks(ClickEventQueue& queue, DWORD now, const ClickRingTiming& timing,
                         ClickMark* out, size_t capacity);
