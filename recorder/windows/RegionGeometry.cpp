#include "recorder/windows/RegionGeometry.h"

#include "recorder/FrameGeometry.h"

#include <algorithm>
#include <cstdio>

namespace {

// The magnifier shows 40 x 30 pixels three times enlarged.
const int kMagnifierWidth = 120, kMagnifierHeight = 90;
const int kSourceHalfWidth = 20, kSourceHalfHeight = 15;
const int kLabelHeight = 32;
// It sits this far below the cursor; too near the right or bottom edge it
// goes to the cursor's left or above it.
const int kMagnifierDrop = 25;
const int kRoomBelow = 145, kShiftUp = 170;
const int kRoomRight = 120, kShiftLeft = 145;

// The smallest selection the arrow keys leave: an even capture of it is
// still a picture.
const int kMinNudgedSize = 2;

}  // namespace

SelectionInsets DraggedInsets(const RECT& area, POINT start, POINT point)
{
    RECT dragged = {std::min(start.x, point.x), std::min(start.y, point.y),
                    std::max(start.x, point.x), std::max(start.y, point.y)};
    return InsetsOfSelection(area, dragged);
}

SelectionInsets NudgedInsets(const RECT& area, const SelectionInsets& insets, UINT vkey, bool shift)
{
    SelectionInsets out = insets;
    const RECT sel = SelectionFromInsets(area, insets);
    const int width = sel.right - sel.left, height = sel.bottom - sel.top;
    if (shift) {
        switch (vkey) {
            case VK_LEFT:
                if (width > kMinNudgedSize) ++out.right;
                break;
            case VK_RIGHT:
                if (out.right > 0) --out.right;
                break;
            case VK_UP:
                if (height > kMinNudgedSize) ++out.bottom;
                break;
            case VK_DOWN:
                if (out.bottom > 0) --out.bottom;
                break;
            default:
                break;
        }
        return out;
    }
    switch (vkey) {
        case VK_LEFT:
            return MoveSelection(insets, -1, 0);
        case VK_RIGHT:
            return MoveSelection(insets, 1, 0);
        case VK_UP:
            return MoveSelection(insets, 0, -1);
        case VK_DOWN:
            return MoveSelection(insets, 0, 1);
        default:
            return out;
    }
}

MagnifierLayout PlaceMagnifier(POINT cursor, SIZE screen)
{
    const LONG x = cursor.x, y = cursor.y;
    const LONG my = y + kRoomBelow > screen.cy ? y - kShiftUp : y;
    const LONG mx = x + kRoomRight > screen.cx ? x - kShiftLeft : x;
    MagnifierLayout m;
    m.source = {x - kSourceHalfWidth, y - kSourceHalfHeight, x + kSourceHalfWidth,
                y + kSourceHalfHeight};
    const LONG top = my + kMagnifierDrop;
    m.view = {mx, top, mx + kMagnifierWidth, top + kMagnifierHeight};
    m.label = {mx, top + kMagnifierHeight, mx + kMagnifierWidth,
               top + kMagnifierHeight + kLabelHeight};
    const LONG cx = mx + kMagnifierWidth / 2, cy = top + kMagnifierHeight / 2;
    m.line1 = {cx - 2, top + 4, cx + 2, top + kMagnifierHeight - 6};
    m.line2 = {mx + 4, cy - 2, mx + kMagnifierWidth - 4, cy + 2};
    return m;
}

std::string FormatMagnifierLabel(int width, int height, COLORREF color)
{
    char text[96];
    snprintf(text, sizeof text, " %d x %d\n RGB(%d,%d,%d)", width, height, GetRValue(color),
             GetGValue(color), GetBValue(color));
    return text;
}

RECT CaptureRectOfSelection(const RECT& selection)
{
    if (selection.right <= selection.left || selection.bottom <= selection.top)
        return {selection.left, selection.top, selection.left, selection.top};
    return MakeEvenRect(selection);
}

bool IsRecordableRect(const RECT& capture)
{
    return capture.right - capture.left >= 2 && capture.bottom - capture.top >= 2;
}

RECT ClampToScreen(const RECT& window, SIZE screen)
{
    return {std::max<LONG>(window.left, 0), std::max<LONG>(window.top, 0),
            std::min<LONG>(window.right, screen.cx), std::min<LONG>(window.bottom, screen.cy)};
}

bool FitsOnScreen(const RECT& rect, SIZE screen)
{
    return rect.left >= 0 && rect.top >= 0 && rect.right <= screen.cx && rect.bottom <= screen.cy;
}

LRESULT FlashFrameHitTest(POINT pt, SIZE client)
{
    const LONG W = client.cx, H = client.cy;
    const struct {
        RECT corner;
        LRESULT code;
    } corners[] = {
        {{0, 0, 10, 10}, HTTOPLEFT},
        {{0, H - 5, 10, H}, HTBOTTOMLEFT},
        {{W - 5, 0, W, 5}, HTTOPRIGHT},
        {{W - 5, H - 5, W, H}, HTBOTTOMRIGHT},
    };
    for (const auto& c : corners)
        if (PtInRect(&c.corner, pt)) return c.code;
    return HTCAPTION;
}

POINT ClampFramePosition(POINT wanted, SIZE size, SIZE screen)
{
    // On the screen when it fits; a frame too big for it stays over the
    // whole screen rather than being pushed off one side.
    auto clampAxis = [](LONG v, LONG extent, LONG room) {
        const LONG lo = std::min<LONG>(0, room - extent), hi = std::max<LONG>(0, room - extent);
        return std::max(lo, std::min(v, hi));
    };
    return {clampAxis(wanted.x, size.cx, screen.cx), clampAxis(wanted.y, size.cy, screen.cy)};
}

RECT FrameCaptureRect(const RECT& frame)
{
    RECT inner = frame;
    InflateRect(&inner, -kFlashFrameWidth, -kFlashFrameWidth);
    return CaptureRectOfSelection(inner);
}

FollowStep NextFollowStep(const RECT& window, const RECT& last, SIZE screen)
{
    FollowStep step;
    step.onScreen = ClampToScreen(window, screen);
    step.changed = !EqualRect(&step.onScreen, &last);
    step.capture = CaptureRectOfSelection(step.onScreen);
    step.recordable = IsRecordableRect(step.capture);
    step.frame = step.onScreen;
    InflateRect(&step.frame, kFlashFrameWidth, kFlashFrameWidth);
    step.frameShown = step.recordable && FitsOnScreen(step.frame, screen);
    return step;
}
