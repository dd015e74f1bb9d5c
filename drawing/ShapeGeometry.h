// The geometry of the drawing objects, apart from any drawing: where a
// segment crosses the edge of the eraser's rectangle, the part of a stroke
// that an eraser leaves, the head of an arrow, where a badge writes its
// text. Plain Win32 types, no GDI+, so the rules are tested on their own.
//
// "Inside" a rectangle means what PtInRect says: left <= x < right and
// top <= y < bottom.
#pragma once

#include <windows.h>

#include <list>
#include <string>

// The point that stands for "none": no crossing, no point removed yet.
constexpr POINT kNoPoint = {-1, -1};

inline bool IsNoPoint(const POINT& p)
{
    return p.x == -1 && p.y == -1;
}

inline bool SamePoint(const POINT& a, const POINT& b)
{
    return a.x == b.x && a.y == b.y;
}

inline bool PointInside(const RECT& rc, const POINT& p)
{
    return p.x >= rc.left && p.x < rc.right && p.y >= rc.top && p.y < rc.bottom;
}

// Where the segment (x1, y1)-(x2, y2) crosses an edge of the eraser, or
// kNoPoint. A sloped segment is tried against the left, right, top and
// bottom edge in turn, a later hit replacing an earlier one; a vertical or
// horizontal one against the two edges across its way. Computed coordinates
// are truncated toward zero. A segment that passes exactly through a
// corner has no crossing.
POINT SegmentRectCrossing(int x1, int y1, int x2, int y2, const RECT& eraser);

// The points of the part of a stroke up to a cut: the stroke's points from
// its first up to (not including) the first one equal to cut, preceded by
// where the stroke came out of the eraser (the crossing lastRemoved ->
// first point, when lastRemoved is a point) and followed by where it goes
// back in (the crossing of the point before cut -> cut). A crossing that
// does not exist is left out rather than kept as a point. When no point
// equals cut, every point is kept and nothing follows them.
std::list<POINT> StrokePiecePoints(const std::list<POINT>& stroke, const POINT& cut,
                                   const POINT& lastRemoved, const RECT& eraser);

// The filled head of an arrow from start to tip: the point where the shaft
// ends (base) and the two wings, truncated to whole pixels. The head is
// headWidth pixels wide at its base and headWidth / tan(angle) long.
struct ArrowHead {
    POINT base;
    POINT wing1;
    POINT wing2;
};
ArrowHead ArrowHeadPoints(const POINT& start, const POINT& tip, float headWidth, float angle);

// The head every arrow wears.
constexpr float kArrowHeadWidth = 15.0f;
constexpr float kArrowHeadAngle = 0.6f;

// The left edge of a badge's text from the badge's centre: numbers of one
// and two digits, and letters (narrow "I", wide "M" and "W"). A number of
// three or more digits has no room in the circle: false, no text.
bool NumberBadgeTextX(const std::string& text, int centreX, int* x);
int LetterBadgeTextX(const std::string& text, int centreX);
