#include "recorder/FrameSurface.h"

FrameSurface::~FrameSurface()
{
    Release();
}

bool FrameSurface::Create(int width, int height)
{
    if (m_dc && width == m_width && height == m_height) return true;
    Release();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // top-down: row 0 is the top
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dib = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_dc = CreateCompatibleDC(nullptr);
    if (!m_dib || !m_dc) {
        Release();
        return false;
    }
    m_oldBitmap = SelectObject(m_dc, m_dib);
    m_bits = static_cast<uint32_t*>(bits);
    m_width = width;
    m_height = height;
    return true;
}

void FrameSurface::Release()
{
    m_graphics.reset();
    m_bitmap.reset();
    if (m_dc) {
        if (m_oldBitmap) SelectObject(m_dc, m_oldBitmap);
        DeleteDC(m_dc);
    }
    if (m_dib) DeleteObject(m_dib);
    m_dc = nullptr;
    m_dib = nullptr;
    m_oldBitmap = nullptr;
    m_bits = nullptr;
    m_width = m_height = 0;
}

Gdiplus::Bitmap* FrameSurface::Bitmap()
{
    if (!m_bitmap && m_bits) {
        m_bitmap.reset(new Gdiplus::Bitmap(m_width, m_height, m_width * 4, PixelFormat32bppRGB,
                                           reinterpret_cast<BYTE*>(m_bits)));
        if (m_bitmap->GetLastStatus() != Gdiplus::Ok) m_bitmap.reset();
    }
    return m_bitmap.get();
}

Gdiplus::Graphics* FrameSurface::Graphics()
{
    if (!m_graphics && Bitmap()) {
        m_graphics.reset(new Gdiplus::Graphics(m_bitmap.get()));
        if (m_graphics->GetLastStatus() != Gdiplus::Ok) m_graphics.reset();
    }
    return m_graphics.get();
}
