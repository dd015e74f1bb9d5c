#include "drawing/windows/GraffitiFrame.h"

#include "drawing/DrawingBoard.h"

#include <gdiplus.h>

#include <cstring>

namespace {

// The canvas fill's pixel, RGBA 254,254,254,3, premultiplied: seen by
// nobody, yet the whole canvas takes the mouse.
const UINT32 kFillPixel = 0x03030303;

}  // namespace

GraffitiFrame::GraffitiFrame(bool layered) : m_layered(layered) {}

GraffitiFrame::~GraffitiFrame()
{
    if (m_dc) {
        SelectObject(m_dc, m_oldBitmap);
        DeleteDC(m_dc);
    }
    if (m_bitmap) DeleteObject(m_bitmap);
    if (m_snapshotDc) {
        SelectObject(m_snapshotDc, m_oldSnapshot);
        DeleteDC(m_snapshotDc);
    }
    if (m_snapshot) DeleteObject(m_snapshot);
}

void GraffitiFrame::SetSnapshot(HBITMAP snapshot)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_snapshotDc) {
        SelectObject(m_snapshotDc, m_oldSnapshot);
        DeleteDC(m_snapshotDc);
        m_snapshotDc = nullptr;
    }
    if (m_snapshot) DeleteObject(m_snapshot);
    m_snapshot = snapshot;
    if (!m_snapshot) return;
    m_snapshotDc = CreateCompatibleDC(nullptr);
    if (m_snapshotDc) m_oldSnapshot = SelectObject(m_snapshotDc, m_snapshot);
}

void GraffitiFrame::SetFill(Gdiplus::Image* fill)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_fill.reset(fill);
    m_background.clear();
    m_backgroundWidth = m_backgroundHeight = 0;
}

bool GraffitiFrame::EnsureBitmap(int w, int h)
{
    if (m_bitmap && w == m_width && h == m_height) return true;
    if (!m_dc) m_dc = CreateCompatibleDC(nullptr);
    if (!m_dc) return false;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down, as GDI+ and UpdateLayeredWindow read it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return false;
    if (m_bitmap) {
        SelectObject(m_dc, m_oldBitmap);
        DeleteObject(m_bitmap);
    }
    m_bitmap = bitmap;
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    m_bits = static_cast<UINT32*>(bits);
    m_width = w;
    m_height = h;
    return true;
}

void GraffitiFrame::FillBackground(int w, int h)
{
    const size_t count = (size_t)w * h;
    if (m_backgroundWidth != w || m_backgroundHeight != h) {
        m_background.assign(count, kFillPixel);
        if (m_fill) {
            Gdiplus::Bitmap target(w, h, w * 4, PixelFormat32bppPARGB,
                                   reinterpret_cast<BYTE*>(m_background.data()));
            Gdiplus::Graphics g(&target);
            g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
            g.DrawImage(m_fill.get(), Gdiplus::Rect(0, 0, w, h), 0, 0,
                        (INT)m_fill->GetWidth(), (INT)m_fill->GetHeight(), Gdiplus::UnitPixel);
        }
        m_backgroundWidth = w;
        m_backgroundHeight = h;
    }
    std::memcpy(m_bits, m_background.data(), count * sizeof(UINT32));
}

bool GraffitiFrame::Draw(int w, int h)
{
    if (w <= 0 || h <= 0) return false;
    std::lock_guard<std::mutex> lock(m_lock);
    if (!EnsureBitmap(w, h)) return false;
    if (m_layered) {
        FillBackground(w, h);
    } else {
        std::memset(m_bits, 0, (size_t)w * h * sizeof(UINT32));
        if (m_snapshotDc) BitBlt(m_dc, 0, 0, w, h, m_snapshotDc, 0, 0, SRCCOPY);
        GdiFlush();
    }
    {
        Gdiplus::Bitmap surface(w, h, w * 4,
                                m_layered ? PixelFormat32bppPARGB : PixelFormat32bppRGB,
                                reinterpret_cast<BYTE*>(m_bits));
        Gdiplus::Graphics g(&surface);
        g_drawingBoard.DrawAllShapes(g);
    }
    return true;
}

bool GraffitiFrame::PutOnLayeredWindow(HWND window)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_bitmap || !IsWindow(window)) return false;
    RECT rc = {};
    GetClientRect(window, &rc);
    // A frame of another size than the window would be refused; the next
    // one, drawn at the new size, follows.
    if (rc.right != m_width || rc.bottom != m_height) return false;
    HDC screen = GetDC(nullptr);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    POINT source = {0, 0};
    // No place and size: they are the window's, set by its own thread, and
    // a move asked from here would wait on that thread.
    BOOL ok = UpdateLayeredWindow(window, screen, nullptr, nullptr, m_dc, &source, 0, &blend,
                                  ULW_ALPHA);
    ReleaseDC(nullptr, screen);
    return ok != FALSE;
}

void GraffitiFrame::PaintTo(HDC dc)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_bitmap) BitBlt(dc, 0, 0, m_width, m_height, m_dc, 0, 0, SRCCOPY);
}

UINT32 GraffitiFrame::PixelAt(int x, int y) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return m_bits[(size_t)y * m_width + x];
}

SIZE GraffitiFrame::Size() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return {m_width, m_height};
}
