#include "recorder/overlays/Sprite.h"

#include "recorder/FrameSurface.h"

#include <algorithm>
#include <new>

namespace {

// Pictures bigger than this are no watermark (and would not fit in memory).
const int kMaxSide = 8192;

inline uint32_t Premultiply(uint32_t argb)
{
    const uint32_t a = argb >> 24;
    if (a == 255) return argb;
    if (a == 0) return 0;
    uint32_t r = ((argb >> 16) & 0xFF) * a, g = ((argb >> 8) & 0xFF) * a, b = (argb & 0xFF) * a;
    r = (r + 1 + (r >> 8)) >> 8;
    g = (g + 1 + (g >> 8)) >> 8;
    b = (b + 1 + (b >> 8)) >> 8;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// dst*(255-a)/255 + src, per channel, two channels at a time.
inline uint32_t Over(uint32_t src, uint32_t dst)
{
    const uint32_t a = src >> 24;
    if (a == 255) return src;
    if (a == 0) return dst;
    const uint32_t k = 255 - a;
    uint32_t rb = (dst & 0xFF00FF) * k + 0x800080;
    rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    uint32_t g = (dst & 0x00FF00) * k + 0x008000;
    g = ((g + ((g >> 8) & 0x00FF00)) >> 8) & 0x00FF00;
    return (src & 0xFFFFFF) + rb + g;
}

}  // namespace

void Sprite::Clear()
{
    std::vector<uint32_t>().swap(m_pixels);
    m_width = m_height = 0;
}

bool Sprite::Assign(Gdiplus::Bitmap& bitmap)
{
    return Copy(bitmap, false, 0);
}

bool Sprite::AssignKeyed(Gdiplus::Bitmap& bitmap, DWORD keyRgb)
{
    return Copy(bitmap, true, keyRgb);
}

bool Sprite::Copy(Gdiplus::Bitmap& bitmap, bool keyed, DWORD keyRgb)
{
    Clear();
    const int w = (int)bitmap.GetWidth(), h = (int)bitmap.GetHeight();
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return false;
    Gdiplus::Rect rect(0, 0, w, h);
    Gdiplus::BitmapData data;
    if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
        Gdiplus::Ok)
        return false;
    bool ok = true;
    try {
        m_pixels.resize((size_t)w * h);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (ok) {
        for (int y = 0; y < h; ++y) {
            const uint32_t* src = reinterpret_cast<const uint32_t*>(
                static_cast<const BYTE*>(data.Scan0) + (ptrdiff_t)y * data.Stride);
            uint32_t* dst = &m_pixels[(size_t)y * w];
            for (int x = 0; x < w; ++x) {
                const uint32_t p = src[x];
                dst[x] = keyed && (p >> 24) == 255 && (p & 0xFFFFFF) == keyRgb ? 0 : Premultiply(p);
            }
        }
        m_width = w;
        m_height = h;
    }
    bitmap.UnlockBits(&data);
    if (!ok) Clear();
    return ok;
}

void Sprite::BlendOnto(FrameSurface& surface, int x, int y) const
{
    if (Empty() || surface.Empty()) return;
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + m_width, surface.Width());
    const int y1 = std::min(y + m_height, surface.Height());
    for (int row = y0; row < y1; ++row) {
        const uint32_t* src = &m_pixels[(size_t)(row - y) * m_width + (x0 - x)];
        uint32_t* dst = surface.Row(row) + x0;
        for (int col = x0; col < x1; ++col, ++src, ++dst) *dst = Over(*src, *dst);
    }
}

SpriteCanvas::SpriteCanvas(int width, int height)
    : m_bitmap(width, height, PixelFormat32bppARGB), m_graphics(&m_bitmap)
{
    m_graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
}

bool SpriteCanvas::Ok() const
{
    return m_bitmap.GetLastStatus() == Gdiplus::Ok && m_graphics.GetLastStatus() == Gdiplus::Ok;
}
