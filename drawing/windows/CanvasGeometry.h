// The arithmetic of a selection box on a full-screen picker, without a
// window: the selection as four insets from the edges of the area it lies
// in, the eight handles of its box, which handle the mouse is on, and the
// insets a drag gives. The canvas container and every picker built on it
// use these; the tests call them directly.
#pragma once

#include <windows.h>

// Distances of the selection from the left, top, right and bottom edges of
// the area it lies in (the picker's window).
struct SelectionInsets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline bool operator==(const SelectionInsets& a, const SelectionInsets& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const SelectionInsets& a, const SelectionInsets& b)
{
    return !(a == b);
}

// The handles of the box, row by row over a 3 x 3 grid; the centre moves
// the box and has no square of its own.
enum TrackerHandle {
    kHandleTopLeft = 0,
    kHandleTop = 1,
    kHandleTopRight = 2,
    kHandleLeft = 3,
    kHandleMove = 4,
    kHandleRight = 5,
    kHandleBottomLeft = 6,
    kHandleBottom = 7,
    kHandleBottomRight = 8,
};

RECT SelectionFromInsets(const RECT& area, const SelectionInsets& insets);
// The insets of a rectangle in the area, none below 0 (a rectangle reaching
// past an edge is cut there).
SelectionInsets InsetsOfSelection(const RECT& area, const RECT& selection);

// The square of a handle of the box: 2 * size pixels wide, on the box's
// corners and the middles of its sides. The move handle and any index out
// of 0..8 give an empty rectangle.
RECT GetTrackerHandleRect(const RECT& box, int size, int index);

// The handle under pt: the squares from 8 down to 0 first; then, where the
// box lies within 20 pixels of the window's edge, that whole side of the
// box (bottom, right, left, top in this order), so a box pushed against an
// edge is still easy to pull; anywhere else the box moves.
int HitTestTrackerHandle(const RECT& box, const RECT& window, int size, POINT pt);

// The system cursor (IDC_*) that shows what dragging a handle does.
LPCSTR TrackerCursorId(int handle);

// The corner that stays put while a handle is dragged: the one opposite it
// (the top-left corner for a move).
POINT TrackerAnchor(int handle, const RECT& area, const SelectionInsets& insets);

// The insets after dragging a sizing handle to `mouse`: the box spans the
// anchor and the mouse, so pulling past the anchor flips it. The middle
// handles change only their own direction. Nothing goes past the area.
SelectionInsets ResizeSelection(int handle, const RECT& area, const SelectionInsets& insets,
                                POINT anchor, POINT mouse);

// The insets after moving the box by (dx, dy): it keeps its size and stops
// flush against an edge, each direction on its own.
SelectionInsets MoveSelection(const SelectionInsets& insets, int dx, int dy);
