#include "recorder/codecs/TestFrame.h"

#include <cstring>

namespace {

const int kWidth = 320;
const int kHeight = 200;

}  // namespace

CompressorTestFrame GrabCompressorTestFrame()
{
    CompressorTestFrame f;
    BITMAPINFOHEADER& h = f.header;
    h.biSize = sizeof h;
    h.biWidth = kWidth;
    h.biHeight = kHeight;  // positive: bottom-up
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = ((kWidth * 3 + 3) & ~3) * kHeight;
    f.bits.assign(h.biSizeImage, 0);

    HDC screen = GetDC(nullptr);
    if (!screen) return f;
    HDC memory = CreateCompatibleDC(screen);
    void* pixels = nullptr;
    BITMAPINFO info{};
    info.bmiHeader = h;
    HBITMAP dib =
        memory ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0) : nullptr;
    if (dib) {
        HGDIOBJ old = SelectObject(memory, dib);
        if (BitBlt(memory, 0, 0, kWidth, kHeight, screen, 0, 0, SRCCOPY)) {
            GdiFlush();
            memcpy(f.bits.data(), pixels, h.biSizeImage);
            f.grabbed = true;
        }
        SelectObject(memory, old);
        DeleteObject(dib);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return f;
}
