// How the shapes look: GDI+ on whatever surface the board is drawn on.
#include "drawing/ShapeGeometry.h"
#include "drawing/ShapeObj.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

// A curve through at most this many points; later points are not drawn.
const size_t kMaxCurvePoints = 8191;

const BYTE kOpaque = 0xFF;
const BYTE kTranslucent = 0x7D;

const wchar_t kDrawingFont[] = L"微软雅黑";
const REAL kBadgeFontSize = 12.0f;
const REAL kTextFontSize = 16.0f;
const int kBadgeRadius = 11;

Color Argb(BYTE alpha, COLORREF c)
{
    return Color(alpha, GetRValue(c), GetGValue(c), GetBValue(c));
}

// The shape's points in drawing order, at most kMaxCurvePoints of them.
std::vector<Point> CurvePoints(const std::list<POINT>& points)
{
    std::vector<Point> out;
    out.reserve(std::min(points.size(), kMaxCurvePoints));
    for (const POINT& p : points) {
        if (out.size() == kMaxCurvePoints) break;
        out.emplace_back(p.x, p.y);
    }
    return out;
}

void DrawStroke(Graphics& g, const std::list<POINT>& points, COLORREF colour, BYTE alpha,
                int width, bool roundTension)
{
    if (points.size() < 2) return;
    const std::vector<Point> pts = CurvePoints(points);
    g.SetSmoothingMode(SmoothingModeHighQuality);
    Pen pen(Argb(alpha, colour), (REAL)width);
    if (roundTension)
        g.DrawCurve(&pen, pts.data(), (INT)pts.size(), 1.0f);
    else
        g.DrawCurve(&pen, pts.data(), (INT)pts.size());
}

std::wstring Wide(const std::string& text)
{
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring out((size_t)(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &out[0], n);
    return out;
}

void DrawBadge(Graphics& g, const POINT& c, COLORREF colour, const std::string& text, bool hasText,
               int textX)
{
    g.SetSmoothingMode(SmoothingModeHighQuality);
    SolidBrush disc(Argb(kTranslucent, colour));
    g.FillEllipse(&disc, c.x - kBadgeRadius, c.y - kBadgeRadius, 2 * kBadgeRadius,
                  2 * kBadgeRadius);
    if (!hasText) return;
    FontFamily family(kDrawingFont);
    Font font(&family, kBadgeFontSize, FontStyleRegular, UnitPixel);
    SolidBrush white(Color(0xFF, 0xFF, 0xFF, 0xFF));
    g.SetTextRenderingHint(TextRenderingHintSingleBitPerPixelGridFit);
    std::wstring w = Wide(text);
    g.DrawString(w.c_str(), (INT)w.size(), &font, PointF((REAL)textX, (REAL)(c.y - 8)), &white);
}

}  // namespace

void CPenObj::Draw(Graphics& g)
{
    DrawStroke(g, m_points, m_colour, kOpaque, m_width, false);
}

void CWaterPenObj::Draw(Graphics& g)
{
    DrawStroke(g, m_points, m_colour, kTranslucent, m_width, true);
}

void CRectTempObj::Draw(Graphics& g)
{
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    Pen pen(Color(0xFF, 0x00, 0xFF, 0x00), (REAL)m_width);
    pen.SetDashStyle(DashStyleDashDot);
    g.DrawRectangle(&pen, (INT)m_rect.left, (INT)m_rect.top, (INT)(m_rect.right - m_rect.left),
                    (INT)(m_rect.bottom - m_rect.top));
}

void CArrowObj::DrawArrow(Graphics& g, const POINT& start, const POINT& tip, COLORREF colour)
{
    if (SamePoint(start, tip)) return;
    const ArrowHead head = ArrowHeadPoints(start, tip, kArrowHeadWidth, kArrowHeadAngle);
    const Color c = Argb(kOpaque, colour);
    Pen pen(c, 3.0f);
    SolidBrush brush(c);
    g.SetSmoothingMode(SmoothingModeHighQuality);
    g.DrawLine(&pen, (INT)start.x, (INT)start.y, (INT)head.base.x, (INT)head.base.y);
    const Point triangle[3] = {Point(tip.x, tip.y), Point(head.wing1.x, head.wing1.y),
                               Point(head.wing2.x, head.wing2.y)};
    g.FillPolygon(&brush, triangle, 3, FillModeAlternate);
}

void CArrowObj::Draw(Graphics& g)
{
    if (m_points.size() < 2) return;
    DrawArrow(g, m_points.front(), m_points.back(), m_colour);
}

void CNumObj::Draw(Graphics& g)
{
    if (m_points.empty()) return;
    m_centre = m_points.front();
    int textX = 0;
    const bool hasText = NumberBadgeTextX(m_text, m_centre.x, &textX);
    DrawBadge(g, m_centre, m_colour, m_text, hasText, textX);
}

void CLetterObj::Draw(Graphics& g)
{
    if (m_points.empty()) return;
    m_centre = m_points.front();
    DrawBadge(g, m_centre, m_colour, m_text, true, LetterBadgeTextX(m_text, m_centre.x));
}

// The hit area is measured in the font the text is drawn in, so a click on
// any part of the text finds it.
void CInputTextObj::Draw(Graphics& g)
{
    std::wstring w = Wide(m_text);
    FontFamily family(kDrawingFont);
    Font font(&family, kTextFontSize, FontStyleRegular, UnitPixel);
    const PointF origin((REAL)m_x, (REAL)m_y);
    g.SetTextRenderingHint(TextRenderingHintSingleBitPerPixelGridFit);
    RectF extent;
    if (!w.empty() && g.MeasureString(w.c_str(), (INT)w.size(), &font, origin, &extent) == Ok) {
        m_bounds = {m_x, m_y, m_x + (LONG)(extent.Width + 0.999f),
                    m_y + (LONG)(extent.Height + 0.999f)};
    } else {
        m_bounds = {m_x, m_y, m_x, m_y};
    }
    SolidBrush brush(Argb(kOpaque, m_colour));
    g.DrawString(w.c_str(), (INT)w.size(), &font, origin, &brush);
}
