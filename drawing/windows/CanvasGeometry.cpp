#include "drawing/windows/CanvasGeometry.h"

#include <algorithm>

namespace {

// How close to the window's edge the box must be for its whole side to
// take the mouse.
const int kEdgeReach = 20;

}  // namespace

RECT SelectionFromInsets(const RECT& area, const SelectionInsets& insets)
{
    return {area.left + insets.left, area.top + insets.top, area.right - insets.right,
            area.bottom - insets.bottom};
}

SelectionInsets InsetsOfSelection(const RECT& area, const RECT& selection)
{
    SelectionInsets insets;
    insets.left = std::max<int>(selection.left - area.left, 0);
    insets.top = std::max<int>(selection.top - area.top, 0);
    insets.right = std::max<int>(area.right - selection.right, 0);
    insets.bottom = std::max<int>(area.bottom - selection.bottom, 0);
    return insets;
}

RECT GetTrackerHandleRect(const RECT& box, int size, int index)
{
    const int d = 2 * size, h = d / 2;
    const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const LONG L = box.left, T = box.top, R = box.right, B = box.bottom;
    switch (index) {
        case kHandleTopLeft:
            return {L, T, L + d, T + d};
        case kHandleTop:
            return {cx - h, T, cx + h, T + d};
        case kHandleTopRight:
            return {R - d, T, R, T + d};
        case kHandleLeft:
            return {L, cy - h, L + d, cy + h};
        case kHandleRight:
            return {R - d, cy - h, R, cy + h};
        case kHandleBottomLeft:
            return {L, B - d, L + d, B};
        case kHandleBottom:
            return {cx - h, B - d, cx + h, B};
        case kHandleBottomRight:
            return {R - d, B - d, R, B};
        default:
            return {0, 0, 0, 0};
    }
}

int HitTestTrackerHandle(const RECT& box, const RECT& window, int size, POINT pt)
{
    for (int i = kHandleBottomRight; i >= kHandleTopLeft; --i) {
        RECT square = GetTrackerHandleRect(box, size, i);
        if (PtInRect(&square, pt)) return i;
    }
    const int d = 2 * size;
    const LONG L = box.left, T = box.top, R = box.right, B = box.bottom;
    const struct {
        bool nearEdge;
        RECT strip;
        int handle;
    } sides[] = {
        {window.bottom - B < kEdgeReach, {L, B - d, R, B}, kHandleBottom},
        {window.right - R < kEdgeReach, {R - d, T, R, B}, kHandleRight},
        {L - window.left < kEdgeReach, {L, T, L + d, B}, kHandleLeft},
        {T - window.top < kEdgeReach, {L, T, R, T + d}, kHandleTop},
    };
    for (const auto& side : sides)
        if (side.nearEdge && PtInRect(&side.strip, pt)) return side.handle;
    return kHandleMove;
}

LPCSTR TrackerCursorId(int handle)
{
    switch (handle) {
        case kHandleTopLeft:
        case kHandleBottomRight:
            return IDC_SIZENWSE;
        case kHandleTop:
        case kHandleBottom:
            return IDC_SIZENS;
        case kHandleTopRight:
        case kHandleBottomLeft:
            return IDC_SIZENESW;
        case kHandleLeft:
        case kHandleRight:
            return IDC_SIZEWE;
        default:
            return IDC_SIZEALL;
    }
}

POINT TrackerAnchor(int handle, const RECT& area, const SelectionInsets& insets)
{
    const LONG left = area.left + insets.left, top = area.top + insets.top;
    const LONG right = area.right - insets.right, bottom = area.bottom - insets.bottom;
    switch (handle) {
        case kHandleTopLeft:
        case kHandleTop:
        case kHandleLeft:
            return {right, bottom};
        case kHandleTopRight:
        case kHandleRight:
            return {left, bottom};
        case kHandleBottomLeft:
        case kHandleBottom:
            return {right, top};
        default:
            return {left, top};
    }
}

SelectionInsets ResizeSelection(int handle, const RECT& area, const SelectionInsets& insets,
                                POINT anchor, POINT mouse)
{
    const bool horizontal = handle != kHandleTop && handle != kHandleBottom;
    const bool vertical = handle != kHandleLeft && handle != kHandleRight;
    SelectionInsets out = insets;
    if (horizontal) {
        out.left = std::max<int>(std::min(mouse.x, anchor.x) - area.left, 0);
        out.right = std::max<int>(area.right - std::max(mouse.x, anchor.x), 0);
    }
    if (vertical) {
        out.top = std::max<int>(std::min(mouse.y, anchor.y) - area.top, 0);
        out.bottom = std::max<int>(area.bottom - std::max(mouse.y, anchor.y), 0);
    }
    return out;
}

SelectionInsets MoveSelection(const SelectionInsets& insets, int dx, int dy)
{
    // A step that would cross an edge is cut short there, so the box ends
    // flush with the edge however fast the mouse went.
    dx = std::max(-insets.left, std::min(dx, insets.right));
    dy = std::max(-insets.top, std::min(dy, insets.bottom));
    SelectionInsets out = insets;
    out.left += dx;
    out.right -= dx;
    out.top += dy;
    out.bottom -= dy;
    return out;
}
