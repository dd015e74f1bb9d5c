#include "core/CacheBitmap.h"

HBITMAP g_hCacheBitmap = nullptr;

void CopyDcRectToCacheBitmap(HDC source, HDC target, int x, int y, int width, int height)
{
    if (g_hCacheBitmap) {
        DeleteObject(g_hCacheBitmap);
        g_hCacheBitmap = nullptr;
    }
    g_hCacheBitmap = CreateCompatibleBitmap(source, width, height);
    if (!g_hCacheBitmap) return;
    HGDIOBJ previous = SelectObject(target, g_hCacheBitmap);
    BitBlt(target, 0, 0, width, height, source, x, y, SRCCOPY);
    SelectObject(target, previous);
}
