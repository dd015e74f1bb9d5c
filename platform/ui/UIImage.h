// Images: decoded by GDI+ into premultiplied 32-bit top-down DIB sections,
// so drawing is one AlphaBlend. Skin images are cached for the whole
// process behind a lock (setters may run on worker threads).
#pragma once

#include <windows.h>

#include <string>

namespace DuiLib {

struct TImageInfo {
    HBITMAP hBitmap = nullptr;
    LPBYTE pBits = nullptr;  // BGRA premultiplied, top-down; null for registered bitmaps
    int nX = 0;
    int nY = 0;
    bool bAlpha = false;  // some pixel is not opaque
    DWORD dwMask = 0;
};

// GDI+ for the library: started on first use (a nested start is harmless
// when the program has started it too), shut down by Term.
bool EnsureGdiplus();
void ShutdownGdiplus();

// PNG, JPEG, BMP or GIF bytes. mask (0xFFRRGGBB, 0 for none) makes that
// colour transparent. Null with a reason on failure.
TImageInfo* DecodeImage(const void* data, size_t size, DWORD mask, std::string* error);
// A DIB section of the given size, all pixels 0.
TImageInfo* CreateImage(int cx, int cy);
void FreeImage(TImageInfo* info);

class CImageCache {
public:
    // Looks the name up through the skin folder (see CResourceStore);
    // failures are logged once and remembered, so a missing picture costs
    // nothing on later paints. The cache keeps ownership.
    static const TImageInfo* Get(LPCSTR folder, LPCSTR name, DWORD mask = 0);
    // Forgets one name (a user skin file that was rewritten).
    static void Remove(LPCSTR folder, LPCSTR name);
    static void Clear();
};

}  // namespace DuiLib
