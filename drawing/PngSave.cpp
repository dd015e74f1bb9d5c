#include "core/StringConv.h"
#include "drawing/BitmapHelpers.h"
#include "drawing/GdiObjects.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cwchar>
#include <memory>

using orbisk::MemoryDc;
using orbisk::Selection;
using orbisk::UniqueBitmap;

namespace {

// Writes the whole bitmap as PNG. Without a PNG encoder there is nothing
// sensible to hand GDI+, so the save fails instead of passing an unset
// CLSID on.
bool SavePng(HBITMAP bitmap, const std::string& path)
{
    if (!bitmap || path.empty()) return false;
    std::wstring wide = AnsiToWide(path);
    if (wide.empty()) return false;
    CLSID png;
    if (FindPngEncoderClsid(&png) < 0) return false;
    Gdiplus::GpBitmap* image = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Gdiplus::Ok)
        return false;
    Gdiplus::Status status =
        Gdiplus::DllExports::GdipSaveImageToFile(image, wide.c_str(), &png, nullptr);
    Gdiplus::DllExports::GdipDisposeImage(image);
    return status == Gdiplus::Ok;
}

// Copies width x height from (x, y) of source into a bitmap of its own and
// saves that. GDI turns a zero size into a 1 x 1 monochrome bitmap rather
// than failing, so empty rectangles are refused here.
bool SaveDcArea(HDC source, int x, int y, int width, int height, const std::string& path)
{
    if (!source || width <= 0 || height <= 0) return false;
    UniqueBitmap copy(CreateCompatibleBitmap(source, width, height));
    MemoryDc mem(source);
    if (!copy || !mem) return false;
    {
        Selection selected(mem.Get(), copy.Get());
        if (!selected.Ok()) return false;
        if (!BitBlt(mem.Get(), 0, 0, width, height, source, x, y, SRCCOPY)) return false;
    }
    return SavePng(copy.Get(), path);
}

}  // namespace

int FindPngEncoderClsid(CLSID* clsid)
{
    UINT count = 0, bytes = 0;
    if (Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return -1;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[bytes]);
    if (!buffer) return -1;
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.get());
    if (Gdiplus::DllExports::GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return -1;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            if (clsid) *clsid = codecs[i].Clsid;
            return (int)i;
        }
    }
    return -1;
}

bool SaveBitmapRectAsPng(HBITMAP source, const RECT* rect, const std::string& path)
{
    if (!source || !rect) return false;
    UniqueBitmap crop(CropBitmap(source, rect->left, rect->top, rect->right, rect->bottom));
    return SavePng(crop.Get(), path);
}

bool SaveWindowRectAsPng(HDC source, const RECT* rect, const std::string& path)
{
    if (!rect) return false;
    return SaveDcArea(source, 0, 0, rect->right - rect->left, rect->bottom - rect->top, path);
}

bool SaveWindowRectAtAsPng(HDC source, const RECT* rect, int x, int y, const std::string& path)
{
    if (!rect) return false;
    return SaveDcArea(source, x, y, rect->right - rect->left, rect->bottom - rect->top, path);
}

bool SaveWindowRectOffsetAsPng(HDC source, const RECT* rect, const std::string& path)
{
    if (!rect) return false;
    return SaveDcArea(source, rect->left, rect->top, rect->right - rect->left,
                      rect->bottom - rect->top, path);
}
