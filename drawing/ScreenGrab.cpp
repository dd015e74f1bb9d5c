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

}  // namespace

HBITMAP GrabScreenRectBitmap(int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0) return nullptr;
    WindowDc desktop(GetDesktopWindow());
    if (!desktop) return nullptr;
    UniqueBitmap grab(CreateCompatibleBitmap(desktop.Get(), width, height));
    MemoryDc mem(desktop.Get());
    if (!grab || !mem) return nullptr;
    {
        Selection selected(mem.Get(), grab.Get());
        if (!selected.Ok()) return nullptr;
        if (!BitBlt(mem.Get(), 0, 0, width, height, desktop.Get(), x, y, kCopyWithLayered))
            return nullptr;
    }
    return grab.Release();
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
