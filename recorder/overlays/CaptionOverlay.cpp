#include "recorder/overlays/CaptionOverlay.h"

#include "core/StringConv.h"

#include <cmath>

namespace {
// Room around the text for glyphs that reach past their advance.
const int kPad = 2;
}  // namespace

bool CaptionOverlay::Setup(const CaptionSettings& caption)
{
    Release();
    m_cell = caption.position;
    const std::wstring text = AnsiToWide(caption.text);
    if (text.empty()) return false;

    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    Gdiplus::Font font(dc, &caption.font);
    DeleteDC(dc);
    if (font.GetLastStatus() != Gdiplus::Ok || !font.IsAvailable()) return false;

    // Measured with the caption's own font and rendering, so the text's
    // right edge stays inside the frame in the right-hand cells.
    Gdiplus::RectF box;
    {
        SpriteCanvas probe(1, 1);
        if (!probe.Ok()) return false;
        probe.Graphics().SetTextRenderingHint(Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
        if (probe.Graphics().MeasureString(text.c_str(), (INT)text.size(), &font,
                                           Gdiplus::PointF(0, 0), &box) != Gdiplus::Ok)
            return false;
    }
    const int width = (int)std::ceil(box.Width), height = (int)std::ceil(box.Height);
    if (width <= 0 || height <= 0) return false;

    SpriteCanvas canvas(width + 2 * kPad, height + 2 * kPad);
    if (!canvas.Ok()) return false;
    canvas.Graphics().SetTextRenderingHint(Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
    Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(caption.crText),
                                             GetGValue(caption.crText), GetBValue(caption.crText)));
    if (canvas.Graphics().DrawString(text.c_str(), (INT)text.size(), &font,
                                     Gdiplus::PointF((float)kPad, (float)kPad),
                                     &brush) != Gdiplus::Ok ||
        !m_text.Assign(canvas.Bitmap()))
        return false;
    m_textWidth = width;
    return true;
}

void CaptionOverlay::Release()
{
    m_text.Clear();
    m_textWidth = 0;
}

void CaptionOverlay::Draw(FrameSurface& surface, const FrameMapping& mapping)
{
    if (m_text.Empty()) return;
    const SIZE frame = {mapping.FrameWidth(), mapping.FrameHeight()};
    const POINT at = CaptionOrigin(m_cell, frame, m_textWidth);
    m_text.BlendOnto(surface, at.x - kPad, at.y - kPad);
}
