// Where things go in a frame: pure geometry, no drawing.
#pragma once

#include <windows.h>

// Capture rectangles have an even width and height (codecs want them): an
// odd size loses its last column or row.
RECT MakeEvenRect(RECT rc);

inline int RectWidth(const RECT& rc)
{
    return rc.right - rc.left;
}
inline int RectHeight(const RECT& rc)
{
    return rc.bottom - rc.top;
}

// From screen coordinates into the frame actually written: the grabbed
// rectangle fills the whole frame, whatever zoom or stretch that takes.
class FrameMapping {
public:
    FrameMapping() = default;
    FrameMapping(const RECT& grab, int frameWidth, int frameHeight);

    POINT Map(POINT screen) const;
    int FrameWidth() const { return m_frameWidth; }
    int FrameHeight() const { return m_frameHeight; }

private:
    RECT m_grab = {0, 0, 1, 1};
    int m_frameWidth = 1;
    int m_frameHeight = 1;
    double m_sx = 1.0;
    double m_sy = 1.0;
};

// Top-left corner of a picture of the given size in grid cell 0..8 of the
// frame (any other cell: the top left).
POINT WatermarkOrigin(DWORD cell, SIZE frame, SIZE picture);

// Top-left corner of a caption textWidth wide in grid cell 0..8: the left,
// middle or right of the frame's width, 50 pixels below the top, in the
// middle, or 50 pixels above the bottom.
POINT CaptionOrigin(DWORD cell, SIZE frame, int textWidth);
