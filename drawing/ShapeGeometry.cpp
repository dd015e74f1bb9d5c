#include "drawing/ShapeGeometry.h"

#include <algorithm>
#include <cmath>

POINT SegmentRectCrossing(int x1, int y1, int x2, int y2, const RECT& eraser)
{
    const int L = eraser.left, T = eraser.top, R = eraser.right, B = eraser.bottom;
    POINT hit = kNoPoint;
    if (x1 != x2 && y1 != y2) {
        const double k = double(y1 - y2) / double(x1 - x2);
        const double b = (double(x1) * y2 - double(x2) * y1) / double(x1 - x2);
        const int minX = std::min(x1, x2), maxX = std::max(x1, x2);
        const int minY = std::min(y1, y2), maxY = std::max(y1, y2);
        for (int x : {L, R}) {
            const double y = k * x + b;
            if (minX <= x && x <= maxX && T < y && y < B) hit = {x, (LONG)y};
        }
        for (int y : {T, B}) {
            const double x = (y - b) / k;
            if (minY <= y && y <= maxY && L < x && x < R) hit = {(LONG)x, y};
        }
        return hit;
    }
    if (x1 == x2 && y1 != y2) {
        if (x1 < L || x1 > R) return hit;
        const int minY = std::min(y1, y2), maxY = std::max(y1, y2);
        if (minY <= T && T <= maxY) return {x1, T};
        if (minY <= B && B <= maxY) return {x1, B};
        return hit;
    }
    // Horizontal (a single point counts as one).
    if (y1 < T || y1 > B) return hit;
    const int minX = std::min(x1, x2), maxX = std::max(x1, x2);
    if (minX <= L && L <= maxX) return {L, y1};
    if (minX <= R && R <= maxX) return {R, y1};
    return hit;
}

std::list<POINT> StrokePiecePoints(const std::list<POINT>& stroke, const POINT& cut,
                                   const POINT& lastRemoved, const RECT& eraser)
{
    std::list<POINT> piece;
    if (stroke.empty()) return piece;
    if (!IsNoPoint(lastRemoved)) {
        const POINT& first = stroke.front();
        POINT out = SegmentRectCrossing(lastRemoved.x, lastRemoved.y, first.x, first.y, eraser);
        if (!IsNoPoint(out)) piece.push_back(out);
    }
    auto it = std::find_if(stroke.begin(), stroke.end(),
                           [&](const POINT& p) { return SamePoint(p, cut); });
    piece.insert(piece.end(), stroke.begin(), it);
    if (it != stroke.end()) {
        const POINT& before = it == stroke.begin() ? stroke.front() : *std::prev(it);
        POINT in = SegmentRectCrossing(before.x, before.y, cut.x, cut.y, eraser);
        if (!IsNoPoint(in)) piece.push_back(in);
    }
    return piece;
}

ArrowHead ArrowHeadPoints(const POINT& start, const POINT& tip, float headWidth, float angle)
{
    const float dx = float(tip.x - start.x), dy = float(tip.y - start.y);
    const float len = std::sqrt(dx * dx + dy * dy);
    ArrowHead head = {tip, tip, tip};
    if (len <= 0.0f) return head;
    const float back = headWidth / (std::tan(angle) * len);
    head.base = {(LONG)(tip.x - dx * back), (LONG)(tip.y - dy * back)};
    const float half = headWidth / (2.0f * len);
    const float hx = -dy * half, hy = dx * half;
    head.wing1 = {(LONG)(head.base.x + hx), (LONG)(head.base.y + hy)};
    head.wing2 = {(LONG)(head.base.x - hx), (LONG)(head.base.y - hy)};
    return head;
}

bool NumberBadgeTextX(const std::string& text, int centreX, int* x)
{
    switch (text.size()) {
        case 1:
            *x = centreX - 5;
            return true;
        case 2:
            *x = centreX - 9;
            return true;
        default:
            return false;
    }
}

int LetterBadgeTextX(const std::string& text, int centreX)
{
    if (text == "I") return centreX - 5;
    if (text == "M" || text == "W") return centreX - 7;
    return centreX - 6;
}
