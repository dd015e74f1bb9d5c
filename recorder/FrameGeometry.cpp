#include "recorder/FrameGeometry.h"

RECT MakeEvenRect(RECT rc)
{
    if ((rc.right - rc.left) % 2 != 0) rc.right -= 1;
    if ((rc.bottom - rc.top) % 2 != 0) rc.bottom -= 1;
    return rc;
}

FrameMapping::FrameMapping(const RECT& grab, int frameWidth, int frameHeight)
    : m_grab(grab), m_frameWidth(frameWidth), m_frameHeight(frameHeight)
{
    const int gw = RectWidth(grab), gh = RectHeight(grab);
    m_sx = gw > 0 ? (double)frameWidth / gw : 1.0;
    m_sy = gh > 0 ? (double)frameHeight / gh : 1.0;
}

POINT FrameMapping::Map(POINT screen) const
{
    POINT p;
    p.x = (LONG)((screen.x - m_grab.left) * m_sx);
    p.y = (LONG)((screen.y - m_grab.top) * m_sy);
    return p;
}

POINT WatermarkOrigin(DWORD cell, SIZE frame, SIZE picture)
{
    POINT p = {0, 0};
    if (cell > 8) return p;
    const int column = cell % 3, row = cell / 3;
    if (column == 1)
        p.x = (frame.cx - picture.cx) / 2;
    else if (column == 2)
        p.x = frame.cx - picture.cx;
    if (row == 1)
        p.y = (frame.cy - picture.cy) / 2;
    else if (row == 2)
        p.y = frame.cy - picture.cy;
    return p;
}

POINT CaptionOrigin(DWORD cell, SIZE frame, int textWidth)
{
    int px = 0, py = 0;
    if (cell <= 8) {
        px = (cell % 3) * 50;
        py = (cell / 3) * 50;
    }
    POINT p;
    p.x = (LONG)(frame.cx * (px / 100.0));
    if (px == 100)
        p.x -= textWidth;
    else if (px == 50)
        p.x -= textWidth / 2;
    p.y = (LONG)(frame.cy * (py / 100.0));
    if (py == 0)
        p.y += 50;
    else if (py == 100)
        p.y -= 50;
    return p;
}
