// Everything of the shapes but their drawing (ShapeDraw.cpp).
#include "drawing/ShapeObj.h"

#include "drawing/DrawingBoard.h"
#include "drawing/ShapeGeometry.h"

#include <algorithm>
#include <cstdlib>

int g_nBadgeNumber = 0;
unsigned char g_chBadgeLetter = 0x40;

void ResetBadgeCounters()
{
    g_nBadgeNumber = 0;
    g_chBadgeLetter = 0x40;
}

namespace {

// The stroke erase of pens and highlighters: every run of points outside
// the eraser but the last becomes a piece of its own on the board, the last
// run stays in the stroke and starts where the stroke leaves the eraser.
void EraseStroke(CShapeObj& stroke, std::list<POINT>& points, const RECT& eraser,
                 DrawingBoard& board)
{
    if (points.empty()) return;
    POINT lastRemoved = kNoPoint;
    bool outside = !PointInside(eraser, points.front());
    auto it = points.begin();
    while (it != points.end()) {
        if (!outside) {
            if (PointInside(eraser, *it)) {
                lastRemoved = *it;
                it = points.erase(it);
            } else {
                outside = true;
            }
            continue;
        }
        if (PointInside(eraser, *it)) {
            board.AddStrokePiece(&stroke, it->x, it->y, lastRemoved.x, lastRemoved.y);
            points.erase(points.begin(), it);
            outside = false;
            continue;
        }
        ++it;
    }
    if (outside && !points.empty() && !IsNoPoint(lastRemoved)) {
        const POINT& first = points.front();
        POINT edge = SegmentRectCrossing(lastRemoved.x, lastRemoved.y, first.x, first.y, eraser);
        if (!IsNoPoint(edge)) points.push_front(edge);
    }
}

bool Horizontal(const POINT& a, const POINT& b)
{
    return a.y == b.y;
}

bool Vertical(const POINT& a, const POINT& b)
{
    return a.x == b.x;
}

}  // namespace

// ---- CShapeObj ----

void CShapeObj::ClearPoints()
{
    m_points.clear();
}

void CShapeObj::InterpolateLine(const POINT& from, const POINT& to)
{
    if (std::abs(to.x - from.x) <= 1) return;
    const int step = to.x > from.x ? 1 : -1;
    for (int x = from.x + step; x != to.x; x += step)
        m_points.push_back({x, (to.y - from.y) * (x - from.x) / (to.x - from.x) + from.y});
}

void CShapeObj::InterpolateHorizontal(const POINT& from, const POINT& to)
{
    const int step = to.x > from.x ? 1 : -1;
    for (int x = from.x + step; from.x != to.x && x != to.x; x += step)
        m_points.push_back({x, from.y});
}

void CShapeObj::InterpolateVertical(const POINT& from, const POINT& to)
{
    const int step = to.y > from.y ? 1 : -1;
    for (int y = from.y + step; from.y != to.y && y != to.y; y += step)
        m_points.push_back({from.x, y});
}

// ---- strokes ----

CPenObj::CPenObj(const POINT& first, int width, COLORREF colour) : CShapeObj(colour, width)
{
    m_points.push_back(first);
}

CPenObj::CPenObj(const CPenObj& source, int cutX, int cutY, int lastRemovedX, int lastRemovedY,
                 const RECT& eraser)
    : CShapeObj(source.m_colour, source.m_width)
{
    m_points = StrokePiecePoints(source.m_points, {cutX, cutY}, {lastRemovedX, lastRemovedY},
                                 eraser);
}

void CPenObj::AddPoint(const POINT& pt)
{
    m_points.push_back(pt);
}

void CPenObj::Erase(const RECT& eraser, DrawingBoard& board)
{
    EraseStroke(*this, m_points, eraser, board);
}

CWaterPenObj::CWaterPenObj(const POINT& first, int width, COLORREF colour)
    : CShapeObj(colour, width)
{
    m_points.push_back(first);
}

CWaterPenObj::CWaterPenObj(const CWaterPenObj& source, int cutX, int cutY, int lastRemovedX,
                           int lastRemovedY, const RECT& eraser)
    : CShapeObj(source.m_colour, source.m_width)
{
    m_points = StrokePiecePoints(source.m_points, {cutX, cutY}, {lastRemovedX, lastRemovedY},
                                 eraser);
}

void CWaterPenObj::AddPoint(const POINT& pt)
{
    m_points.push_back(pt);
}

void CWaterPenObj::Erase(const RECT& eraser, DrawingBoard& board)
{
    EraseStroke(*this, m_points, eraser, board);
}

// ---- CSpecialLineObj ----

CSpecialLineObj::CSpecialLineObj(int x1, int y1, int x2, int y2, int width, COLORREF colour)
    : CPenObj(width, colour)
{
    m_points.push_back({x1, y1});
    m_points.push_back({x2, y2});
}

// Only lines along the axes are cut (the rectangle's edges); a sloped line
// goes only when both its ends are inside.
void CSpecialLineObj::Erase(const RECT& e, DrawingBoard& board)
{
    if (m_points.size() != 2) return;
    const POINT p1 = m_points.front(), p2 = m_points.back();
    const bool in1 = PointInside(e, p1), in2 = PointInside(e, p2);
    if (in1 && in2) {
        m_points.clear();
        return;
    }
    if (!in1 && !in2) {
        if (Horizontal(p1, p2) && e.left >= std::min(p1.x, p2.x) &&
            e.right <= std::max(p1.x, p2.x) && e.top <= p1.y && p1.y <= e.bottom) {
            const bool leftward = p1.x >= p2.x;
            board.AddShape(new CSpecialLineObj(p1.x, p1.y, leftward ? e.right : e.left, p1.y,
                                               m_width, m_colour));
            m_points = {p2, {leftward ? e.left : e.right, p1.y}};
        } else if (Vertical(p1, p2) && e.top >= std::min(p1.y, p2.y) &&
                   e.bottom <= std::max(p1.y, p2.y) && e.left <= p1.x && p1.x <= e.right) {
            const bool upward = p1.y >= p2.y;
            board.AddShape(new CSpecialLineObj(p1.x, p1.y, p1.x, upward ? e.bottom : e.top,
                                               m_width, m_colour));
            m_points = {p2, {p1.x, upward ? e.top : e.bottom}};
        }
        return;
    }
    // One end inside: that end moves to where the line leaves the eraser.
    if (Horizontal(p1, p2)) {
        const bool rightward = p1.x < p2.x;
        if (in1)
            m_points = {p2, {rightward ? e.right : e.left, p1.y}};
        else
            m_points = {p1, {rightward ? e.left : e.right, p1.y}};
    } else if (Vertical(p1, p2)) {
        const bool upward = p1.y >= p2.y;
        if (in1)
            m_points = {p2, {p1.x, upward ? e.top : e.bottom}};
        else
            m_points = {p1, {p1.x, upward ? e.bottom : e.top}};
    }
}

// ---- CRectTempObj ----

// The band is drawn with the thinnest pen: width and colour are not kept.
CRectTempObj::CRectTempObj(const POINT& start, int, COLORREF)
    : CShapeObj(0, 0), m_start(start), m_rect{start.x, start.y, start.x, start.y}
{
}

// The corner where the drag began stays put, whichever way the mouse goes.
void CRectTempObj::AddPoint(const POINT& pt)
{
    m_rect = {std::min(m_start.x, pt.x), std::min(m_start.y, pt.y), std::max(m_start.x, pt.x),
              std::max(m_start.y, pt.y)};
}

// ---- CArrowObj ----

CArrowObj::CArrowObj(const POINT& start, int width, COLORREF colour)
    : CShapeObj(colour, width), m_start(start), m_end(start)
{
}

CArrowObj::CArrowObj(int x1, int y1, int x2, int y2, int width, COLORREF colour)
    : CShapeObj(colour, width), m_start{x1, y1}, m_end{x2, y2}
{
    m_points.push_back(m_start);
    m_points.push_back(m_end);
}

void CArrowObj::AddPoint(const POINT& pt)
{
    m_end = pt;
}

void CArrowObj::Erase(const RECT& eraser, DrawingBoard&)
{
    if (m_points.size() == 2 && PointInside(eraser, m_points.front()) &&
        PointInside(eraser, m_points.back()))
        m_points.clear();
}

// ---- badges ----

CNumObj::CNumObj(const POINT& at, int width, COLORREF colour) : CShapeObj(colour, width)
{
    m_points.push_back(at);
    m_text = std::to_string(++g_nBadgeNumber);
}

void CNumObj::Erase(const RECT& eraser, DrawingBoard&)
{
    if (m_points.empty() || !PointInside(eraser, m_points.front())) return;
    m_points.clear();
    // Only the newest number is given back; an older one would be taken
    // twice.
    if (std::atoi(m_text.c_str()) == g_nBadgeNumber) --g_nBadgeNumber;
}

CLetterObj::CLetterObj(const POINT& at, int width, COLORREF colour) : CShapeObj(colour, width)
{
    m_points.push_back(at);
    m_text = std::string(1, (char)++g_chBadgeLetter);
}

void CLetterObj::Erase(const RECT& eraser, DrawingBoard&)
{
    if (m_points.empty() || !PointInside(eraser, m_points.front())) return;
    m_points.clear();
    if (m_text.size() == 1 && (unsigned char)m_text[0] == g_chBadgeLetter) --g_chBadgeLetter;
}

// ---- CInputTextObj ----

CInputTextObj::CInputTextObj(int x, int y, const char* text, COLORREF colour)
    : CShapeObj(colour, 0), m_x(x), m_y(y), m_text(text ? text : "")
{
    m_points.push_back({x, y});
}

bool CInputTextObj::HitTest(int x, int y) const
{
    return PointInside(m_bounds, {x, y});
}
