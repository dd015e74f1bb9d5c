#include "recorder/overlays/CursorOverlay.h"

#include "recorder/FrameSurface.h"

#include <cmath>

void CursorOverlay::Setup(const CCamCursor& cursor)
{
    Release();
    m_drawCursor = cursor.m_bDrawCursor != 0;
    if (!m_drawCursor || !cursor.m_bHighlight || cursor.m_nHighlightSize == 0) return;
    // The disc is the same in every frame: render it once, at the same
    // sub-pixel offset it has around the cursor point.
    const float r = cursor.m_nHighlightSize * 0.5f;
    const int reach = (int)std::ceil(r) + 1;
    SpriteCanvas canvas(2 * reach + 1, 2 * reach + 1);
    if (!canvas.Ok()) return;
    canvas.Graphics().SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    Gdiplus::SolidBrush brush{Gdiplus::Color(cursor.m_crHighlight)};
    canvas.Graphics().FillEllipse(&brush, reach - r, reach - r, 2 * r, 2 * r);
    if (m_highlight.Assign(canvas.Bitmap())) m_highlightReach = reach;
}

void CursorOverlay::Release()
{
    m_drawCursor = false;
    m_highlight.Clear();
    m_highlightReach = 0;
    m_lastCursor = nullptr;
}

void CursorOverlay::Draw(FrameSurface& surface, const FrameMapping& mapping)
{
    if (!m_drawCursor) return;
    // One call for the position and the shape: under Wine each of them is a
    // round trip to the X server.
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) return;
    const POINT at = mapping.Map(info.ptScreenPos);
    DrawCursorHighlight(surface, at);
    // Drawn whether or not the system shows it.
    if (info.hCursor) DrawCursorIcon(surface, at, info.hCursor);
}

void CursorOverlay::DrawCursorHighlight(FrameSurface& surface, POINT at)
{
    m_highlight.BlendOnto(surface, at.x - m_highlightReach, at.y - m_highlightReach);
}

void CursorOverlay::DrawCursorIcon(FrameSurface& surface, POINT at, HCURSOR cursor)
{
    if (cursor != m_lastCursor) {
        // The hot spot only changes with the cursor; asking once per shape
        // spares two bitmaps a frame.
        ICONINFO icon = {};
        if (!GetIconInfo(cursor, &icon)) return;
        if (icon.hbmMask) DeleteObject(icon.hbmMask);
        if (icon.hbmColor) DeleteObject(icon.hbmColor);
        m_lastCursor = cursor;
        m_lastHotSpot.x = (LONG)icon.xHotspot;
        m_lastHotSpot.y = (LONG)icon.yHotspot;
    }
    DrawIcon(surface.Dc(), at.x - m_lastHotSpot.x, at.y - m_lastHotSpot.y, cursor);
    GdiFlush();  // later overlays write the pixels directly
}
