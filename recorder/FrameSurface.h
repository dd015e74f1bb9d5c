// The surface a frame is grabbed into and painted on: a 32-bit top-down DIB
// section in a memory DC for GDI, wrapped as a GDI+ bitmap for GDI+, and
// open to direct pixel access. Made once per recording and reused for every
// frame.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <memory>

class FrameSurface {
public:
    FrameSurface() = default;
    ~FrameSurface();
    FrameSurface(const FrameSurface&) = delete;
    FrameSurface& operator=(const FrameSurface&) = delete;

    // Keeps the surface when it already has this size.
    bool Create(int width, int height);
    void Release();

    bool Empty() const { return m_dc == nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    HDC Dc() const { return m_dc; }
    uint32_t* Row(int y) const { return m_bits + (size_t)y * m_width; }
    // GDI+ views of the same pixels, made on first use.
    Gdiplus::Bitmap* Bitmap();
    Gdiplus::Graphics* Graphics();

private:
    HDC m_dc = nullptr;
    HBITMAP m_dib = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    uint32_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
};
