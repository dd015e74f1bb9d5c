// The frame as the AVI stream takes it: a 24-bit bottom-up DIB (a 40-byte
// BITMAPINFOHEADER, no palette, rows padded to 4 bytes), held in a DIB
// section that lives from one recording's first frame to the next's.
#pragma once

#include <windows.h>

#include <cstdint>

class FrameSurface;

class FrameImage {
public:
    FrameImage() = default;
    ~FrameImage();
    FrameImage(const FrameImage&) = delete;
    FrameImage& operator=(const FrameImage&) = delete;

    // Keeps the image when it already has this size.
    bool Create(int width, int height);
    void Release();

    // The surface must have the image's size.
    void ConvertFrom(const FrameSurface& surface);

    bool Empty() const { return m_bits == nullptr; }
    int Width() const { return m_header.biWidth; }
    int Height() const { return m_header.biHeight; }
    const BITMAPINFOHEADER* Header() const { return &m_header; }
    DWORD HeaderSize() const { return sizeof m_header; }
    const BYTE* Bits() const { return m_bits; }
    DWORD ImageSize() const { return m_header.biSizeImage; }
    DWORD Stride() const { return ((DWORD)m_header.biWidth * 3 + 3) & ~3u; }
    // Colour (0x00RRGGBB) of pixel x, y counted from the top.
    DWORD PixelAt(int x, int y) const;

private:
    BITMAPINFOHEADER m_header = {};
    HBITMAP m_dib = nullptr;
    BYTE* m_bits = nullptr;
};
