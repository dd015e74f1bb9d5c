#include "drawing/BitmapHelpers.h"
#include "drawing/GdiObjects.h"
#include "platform/ui/UIRender.h"

using orbisk::MemoryDc;
using orbisk::Selection;
using orbisk::UniqueBitmap;
using orbisk::WindowDc;

namespace {

// Layered windows (tool bars, tips, the floating bar) are part of what the
// user sees, so they belong in the picture.
constexpr DWORD kCopyWithLayered = SRCCOPY | CAPTUREBLT;

RECT DesktopRect()
{
    RECT rc = {};
    GetWindowRect(GetDesktopWindow(), &rc);
    return rc;
}

// An area of what `window`'s device context shows, as a new bitmap.
HBITMAP GrabFromWindowDc(HWND window, int x, int y, int width, int height, DWORD rop)
{
    if (width <= 0 || height <= 0) return nullptr;
    WindowDc source(window);
    if (!source) return nullptr;
    UniqueBitmap grab(CreateCompatibleBitmap(source.Get(), width, height));
    MemoryDc mem(source.Get());
    if (!grab || !mem) return nullptr;
    {
        Selection selected(mem.Get(), grab.Get());
        if (!selected.Ok()) return nullptr;
        if (!BitBlt(mem.Get(), 0, 0, width, height, source.Get(), x, y, rop)) return nullptr;
    }
    return grab.Release();
}

}  // namespace

HBITMAP GrabScreenRectBitmap(int x, int y, int width, int height)
{
    return GrabFromWindowDc(GetDesktopWindow(), x, y, width, height, kCopyWithLayered);
}

HBITMAP GrabWindowRectBitmap(HWND window, const RECT& rect)
{
    return GrabFromWindowDc(window, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, SRCCOPY);
}

HBITMAP GrabDesktopBitmap()
{
    RECT rc = DesktopRect();
    return GrabScreenRectBitmap(0, 0, rc.right - rc.left, rc.bottom - rc.top);
}

HBITMAP CreateDimMaskBitmap(HWND window)
{
    RECT rc = DesktopRect();
    OffsetRect(&rc, -rc.left, -rc.top);
    if (IsRectEmpty(&rc)) return nullptr;

    // A 32-bit DIB whatever the screen's depth: the selectors blend with
    // its alpha, which a bitmap of a 16- or 24-bit screen would not keep.
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.right;
    bi.bmiHeader.biHeight = rc.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap mask;
    {
        WindowDc dc(window);
        mask.Reset(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    MemoryDc mem(nullptr);
    if (!mask || !mem) return nullptr;
    {
        Selection selected(mem.Get(), mask.Get());
        DuiLib::CRenderEngine::DrawColor(mem.Get(), rc, 0x4F000000);
    }
    GdiFlush();
    return mask.Release();
}
