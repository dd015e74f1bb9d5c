// The picture of the real-time drawing canvas: the board's shapes over the
// canvas's background, drawn into a bitmap of its own so that a render
// thread can draw while the window's thread paints. Layered, the
// background is the canvas fill stretched over the frame (premultiplied
// alpha, handed to UpdateLayeredWindow); opaque, it is the still picture
// of the screen taken when the canvas opened.
//
// Any thread; the operations are serialised by the frame's lock.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

namespace Gdiplus {
class Image;
}

class GraffitiFrame {
public:
    explicit GraffitiFrame(bool layered);
    ~GraffitiFrame();
    GraffitiFrame(const GraffitiFrame&) = delete;
    GraffitiFrame& operator=(const GraffitiFrame&) = delete;

    // The still picture under an opaque frame; the frame owns it from here.
    void SetSnapshot(HBITMAP snapshot);
    // The fill under a layered frame; the frame owns it from here. Without
    // one the fill is the canvas fill's own colour.
    void SetFill(Gdiplus::Image* fill);

    // Draws the board over the background into a frame of w x h. False
    // when the bitmap could not be made.
    bool Draw(int w, int h);
    // Puts the last frame on a layered window, with device contexts of the
    // calling thread. The window keeps its place and size.
    bool PutOnLayeredWindow(HWND window);
    // Copies the last frame into dc at (0, 0) (an opaque window's paint).
    void PaintTo(HDC dc);
    // A pixel of the last frame as 0x00RRGGBB with its alpha on top; 0
    // outside it.
    UINT32 PixelAt(int x, int y) const;
    SIZE Size() const;

private:
    bool EnsureBitmap(int w, int h);
    void FillBackground(int w, int h);

    const bool m_layered;
    mutable std::mutex m_lock;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    UINT32* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;

    HBITMAP m_snapshot = nullptr;
    HDC m_snapshotDc = nullptr;
    HGDIOBJ m_oldSnapshot = nullptr;
    std::unique_ptr<Gdiplus::Image> m_fill;
    // The fill stretched over the frame, kept until the size changes.
    std::vector<UINT32> m_background;
    int m_backgroundWidth = 0;
    int m_backgroundHeight = 0;
};
