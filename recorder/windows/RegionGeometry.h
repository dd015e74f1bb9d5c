// The arithmetic of region recording without a window: the picker's drawn
// selection, its arrow-key steps, the magnifier's place and label, the
// capture rectangle of a selection or of a followed window, and the flash
// frame's hit test, screen clamp and capture rectangle. The windows call
// these; the tests call them directly.
#pragma once

#include "drawing/windows/CanvasGeometry.h"

#include <windows.h>

#include <string>

// --- The region picker ---------------------------------------------------------

// The insets of the rectangle dragged from `start` to `point` (either way
// round), none below 0.
SelectionInsets DraggedInsets(const RECT& area, POINT start, POINT point);

// The insets after an arrow key: without Shift the selection moves one
// pixel (not past an edge), with Shift its right or bottom edge does (the
// selection keeps at least 2 pixels, what an even capture needs). Any other
// key leaves them.
SelectionInsets NudgedInsets(const RECT& area, const SelectionInsets& insets, UINT vkey,
                             bool shift);

// Where the magnifier's parts go for the cursor at `cursor` (client
// coordinates of a picker of screen size `screen`), and the part of the
// desktop picture it shows three times enlarged.
struct MagnifierLayout {
    RECT source;  // 40 x 30 around the cursor
    RECT view;    // 120 x 90; also its border
    RECT label;   // 120 x 32 under the view
    RECT line1;   // the vertical bar of the cross through the view's centre
    RECT line2;   // the horizontal bar
};
MagnifierLayout PlaceMagnifier(POINT cursor, SIZE screen);

// " W x H\n RGB(r,g,b)": the selection's size and the colour under the
// cursor. Any sizes fit.
std::string FormatMagnifierLabel(int width, int height, COLORREF color);

// The capture rectangle of a selection: an odd width loses its right
// column, an odd height its bottom row. Empty when nothing would be left.
RECT CaptureRectOfSelection(const RECT& selection);
// True when a capture rectangle has something to record.
bool IsRecordableRect(const RECT& capture);

// A followed window's rectangle cut to the screen (0, 0, width, height).
RECT ClampToScreen(const RECT& window, SIZE screen);
// True when `rect` lies wholly on the screen.
bool FitsOnScreen(const RECT& rect, SIZE screen);

// --- The flash frame ---------------------------------------------------------------

// The frame lies this far outside the recorded area on every side.
const int kFlashFrameWidth = 4;

// The hit-test code of a client point of a frame window of size `client`:
// the four corner squares size the window, everywhere else drags it.
LRESULT FlashFrameHitTest(POINT pt, SIZE client);

// Where a frame window asked to go to `wanted` (its size `size`) is put: on
// the primary screen. A frame larger than the screen keeps covering it.
POINT ClampFramePosition(POINT wanted, SIZE size, SIZE screen);

// The capture rectangle inside a frame window's rectangle: shrunk by the
// frame width and made even (CaptureRectOfSelection).
RECT FrameCaptureRect(const RECT& frame);

// --- Following a window ------------------------------------------------------------

// What one look at a followed window asks for.
struct FollowStep {
    bool changed = false;          // the window's rectangle on the screen moved or resized
    RECT onScreen = {0, 0, 0, 0};  // that rectangle, cut to the screen
    bool recordable = false;       // the capture rectangle goes to `capture`; false keeps the
    RECT capture = {0, 0, 0, 0};   // last good one (the window has left the screen)
    bool frameShown = false;       // the flash frame, `frame`, fits on the screen
    RECT frame = {0, 0, 0, 0};
};
// The step for a window now at `window` when it was last at `last` (both as
// cut to the screen).
FollowStep NextFollowStep(const RECT& window, const RECT& last, SIZE screen);
