#include "recorder/FrameImage.h"

#include "recorder/FrameSurface.h"

#include <cstring>

namespace {

// Four 32-bit pixels into twelve bytes at a time.
void PackRow(const uint32_t* src, BYTE* dst, int width)
{
    int x = 0;
    for (; x + 4 <= width; x += 4, src += 4, dst += 12) {
        const uint32_t p0 = src[0], p1 = src[1], p2 = src[2], p3 = src[3];
        const uint32_t w[3] = {(p0 & 0xFFFFFF) | (p1 << 24), ((p1 >> 8) & 0xFFFF) | (p2 << 16),
                               ((p2 >> 16) & 0xFF) | (p3 << 8)};
        memcpy(dst, w, sizeof w);
    }
    for (; x < width; ++x, ++src, dst += 3) {
        dst[0] = (BYTE)*src;
        dst[1] = (BYTE)(*src >> 8);
        dst[2] = (BYTE)(*src >> 16);
    }
}

}  // namespace

FrameImage::~FrameImage()
{
    Release();
}

bool FrameImage::Create(int width, int height)
{
    if (m_bits && width == m_header.biWidth && height == m_header.biHeight) return true;
    Release();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;  // bottom-up
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = (((DWORD)width * 3 + 3) & ~3u) * (DWORD)height;
    void* bits = nullptr;
    m_dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits,
                             nullptr, 0);
    if (!m_dib) return false;
    m_header = h;
    m_bits = static_cast<BYTE*>(bits);
    memset(m_bits, 0, h.biSizeImage);  // padding bytes stay zero
    return true;
}

void FrameImage::Release()
{
    if (m_dib) DeleteObject(m_dib);
    m_dib = nullptr;
    m_bits = nullptr;
    m_header = BITMAPINFOHEADER();
}

void FrameImage::ConvertFrom(const FrameSurface& surface)
{
    const int w = Width(), h = Height();
    if (!m_bits || surface.Width() != w || surface.Height() != h) return;
    const DWORD stride = Stride();
    for (int y = 0; y < h; ++y) PackRow(surface.Row(y), m_bits + (size_t)(h - 1 - y) * stride, w);
}

DWORD FrameImage::PixelAt(int x, int y) const
{
    if (!m_bits || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    const BYTE* p = m_bits + (size_t)(Height() - 1 - y) * Stride() + (size_t)x * 3;
    return ((DWORD)p[2] << 16) | ((DWORD)p[1] << 8) | p[0];
}
