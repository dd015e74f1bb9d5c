// Rectangle, size and point helpers over the Win32 structures.
#pragma once

#include <windows.h>

namespace DuiLib {

class CDuiRect : public RECT {
public:
    CDuiRect() { left = top = right = bottom = 0; }
    CDuiRect(const RECT& src) { *static_cast<RECT*>(this) = src; }
    CDuiRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }

    int GetWidth() const { return right - left; }
    int GetHeight() const { return bottom - top; }
    void Empty() { left = top = right = bottom = 0; }
    // Empty also when inverted: layout may produce right < left.
    bool IsNull() const { return right <= left || bottom <= top; }
    void Join(const RECT& rc);
    void ResetOffset() { Offset(-left, -top); }
    void Normalize();
    void Offset(int cx, int cy) { ::OffsetRect(this, cx, cy); }
    void Inflate(int cx, int cy) { ::InflateRect(this, cx, cy); }
    void Deflate(int cx, int cy) { ::InflateRect(this, -cx, -cy); }
    // Shrinks by each side of an inset rectangle.
    void Deflate(const RECT& inset);
    bool Intersect(const RECT& rc) { return ::IntersectRect(this, this, &rc) != FALSE; }
    bool Contains(POINT pt) const { return ::PtInRect(this, pt) != FALSE; }
    bool operator==(const RECT& rc) const
    {
        return left == rc.left && top == rc.top && right == rc.right && bottom == rc.bottom;
    }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
};

class CDuiSize : public SIZE {
public:
    CDuiSize() { cx = cy = 0; }
    CDuiSize(const SIZE& src) { *static_cast<SIZE*>(this) = src; }
    CDuiSize(int x, int y)
    {
        cx = x;
        cy = y;
    }
};

class CDuiPoint : public POINT {
public:
    CDuiPoint() { x = y = 0; }
    CDuiPoint(const POINT& src) { *static_cast<POINT*>(this) = src; }
    CDuiPoint(int px, int py)
    {
        x = px;
        y = py;
    }
    // From a WM_ mouse message's lParam.
    explicit CDuiPoint(LPARAM lParam)
    {
        x = (short)LOWORD(lParam);
        y = (short)HIWORD(lParam);
    }
};

inline bool RectIntersects(const RECT& a, const RECT& b)
{
    RECT tmp;
    return ::IntersectRect(&tmp, &a, &b) != FALSE;
}

}  // namespace DuiLib
