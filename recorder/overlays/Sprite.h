// A small picture with its own transparency (premultiplied 32-bit BGRA),
// made once when a recording starts and blended onto every frame: the
// watermark, the rendered caption, the highlight disc.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <vector>

class FrameSurface;

class Sprite {
public:
    bool Empty() const { return m_pixels.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void Clear();

    // Copies a GDI+ bitmap, its alpha included.
    bool Assign(Gdiplus::Bitmap& bitmap);
    // Copies a GDI+ bitmap and leaves every fully opaque pixel of the key
    // colour (0x00RRGGBB) out.
    bool AssignKeyed(Gdiplus::Bitmap& bitmap, DWORD keyRgb);

    // Blends onto the surface with the top-left corner at x, y, clipped.
    void BlendOnto(FrameSurface& surface, int x, int y) const;

    uint32_t PixelAt(int x, int y) const { return m_pixels[(size_t)y * m_width + x]; }

private:
    bool Copy(Gdiplus::Bitmap& bitmap, bool keyed, DWORD keyRgb);

    std::vector<uint32_t> m_pixels;
    int m_width = 0;
    int m_height = 0;
};

// A GDI+ bitmap with an alpha channel, cleared to transparent, to draw a
// sprite into.
class SpriteCanvas {
public:
    SpriteCanvas(int width, int height);
    bool Ok() const;
    Gdiplus::Bitmap& Bitmap() { return m_bitmap; }
    Gdiplus::Graphics& Graphics() { return m_graphics; }

private:
    Gdiplus::Bitmap m_bitmap;
    Gdiplus::Graphics m_graphics;
};
