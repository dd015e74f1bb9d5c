#include "drawing/BitmapHelpers.h"
#include "drawing/GdiObjects.h"

using orbisk::MemoryDc;
using orbisk::Selection;
using orbisk::UniqueBitmap;
using orbisk::WindowDc;

namespace {

// A screen-compatible bitmap of width x height holding the source's pixels
// from (left, top) on.
HBITMAP CopyArea(HBITMAP source, int left, int top, int width, int height)
{
    if (!source || width <= 0 || height <= 0) return nullptr;
    WindowDc screen(nullptr);
    UniqueBitmap copy(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!copy) return nullptr;
    MemoryDc from(screen.Get()), to(screen.Get());
    if (!from || !to) return nullptr;
    {
        // A source held by another DC cannot be read here; better no copy
        // than a black one.
        Selection a(from.Get(), source), b(to.Get(), copy.Get());
        if (!a.Ok() || !b.Ok()) return nullptr;
        if (!BitBlt(to.Get(), 0, 0, width, height, from.Get(), left, top, SRCCOPY)) return nullptr;
    }
    return copy.Release();
}

}  // namespace

HBITMAP CopyBitmap(HBITMAP source)
{
    BITMAP bm = {};
    if (!source || !GetObjectA(source, sizeof bm, &bm)) return nullptr;
    return CopyArea(source, 0, 0, bm.bmWidth, bm.bmHeight);
}

HBITMAP CropBitmap(HBITMAP source, int left, int top, int right, int bottom)
{
    return CopyArea(source, left, top, right - left, bottom - top);
}
