#include "platform/ui/UIImage.h"

#include "platform/ui/UILog.h"
#include "platform/ui/UIResource.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace DuiLib {

namespace {

std::mutex g_gdiplusLock;
ULONG_PTR g_gdiplusToken = 0;

// Releases an IStream at scope end.
struct StreamHolder {
    IStream* p = nullptr;
    ~StreamHolder()
    {
        if (p) p->Release();
    }
};

IStream* StreamOnBytes(const void* data, size_t size)
{
    HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!mem) return nullptr;
    void* p = ::GlobalLock(mem);
    memcpy(p, data, size);
    ::GlobalUnlock(mem);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(mem, TRUE, &stream))) {
        ::GlobalFree(mem);
        return nullptr;
    }
    return stream;
}

}  // namespace

bool EnsureGdiplus()
{
    std::lock_guard<std::mutex> lock(g_gdiplusLock);
    if (g_gdiplusToken) return true;
    Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr) == Gdiplus::Ok;
}

void ShutdownGdiplus()
{
    std::lock_guard<std::mutex> lock(g_gdiplusLock);
    if (g_gdiplusToken) Gdiplus::GdiplusShutdown(g_gdiplusToken);
    g_gdiplusToken = 0;
}

TImageInfo* CreateImage(int cx, int cy)
{
    if (cx <= 0 || cy <= 0) return nullptr;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp) return nullptr;
    auto* info = new TImageInfo;
    info->hBitmap = bmp;
    info->pBits = static_cast<LPBYTE>(bits);
    info->nX = cx;
    info->nY = cy;
    return info;
}

void FreeImage(TImageInfo* info)
{
    if (!info) return;
    if (info->hBitmap) ::DeleteObject(info->hBitmap);
    delete info;
}

TImageInfo* DecodeImage(const void* data, size_t size, DWORD mask, std::string* error)
{
    if (!data || size == 0) {
        if (error) *error = "empty file";
        return nullptr;
    }
    if (!EnsureGdiplus()) {
        if (error) *error = "GDI+ did not start";
        return nullptr;
    }
    StreamHolder stream;
    stream.p = StreamOnBytes(data, size);
    if (!stream.p) {
        if (error) *error = "out of memory";
        return nullptr;
    }
    Gdiplus::Bitmap* bitmap = Gdiplus::Bitmap::FromStream(stream.p);
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) {
        delete bitmap;
        if (error) *error = "not a picture GDI+ can decode";
        return nullptr;
    }
    int cx = (int)bitmap->GetWidth();
    int cy = (int)bitmap->GetHeight();
    TImageInfo* info = CreateImage(cx, cy);
    Gdiplus::BitmapData locked = {};
    Gdiplus::Rect all(0, 0, cx, cy);
    if (!info || bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                  &locked) != Gdiplus::Ok) {
        FreeImage(info);
        delete bitmap;
        if (error) *error = "cannot read the pixels";
        return nullptr;
    }
    bool anyAlpha = false;
    DWORD key = mask & 0x00FFFFFF;
    for (int y = 0; y < cy; ++y) {
        const BYTE* src = static_cast<const BYTE*>(locked.Scan0) + (ptrdiff_t)y * locked.Stride;
        BYTE* dst = info->pBits + (size_t)y * cx * 4;
        for (int x = 0; x < cx; ++x, src += 4, dst += 4) {
            BYTE b = src[0], g = src[1], r = src[2], a = src[3];
            if (mask && (((DWORD)r << 16) | ((DWORD)g << 8) | b) == key) a = 0;
            if (a < 255) anyAlpha = true;
            dst[0] = (BYTE)(b * a / 255);
            dst[1] = (BYTE)(g * a / 255);
            dst[2] = (BYTE)(r * a / 255);
            dst[3] = a;
        }
    }
    bitmap->UnlockBits(&locked);
    delete bitmap;
    info->bAlpha = anyAlpha;
    info->dwMask = mask;
    return info;
}

namespace {

std::mutex g_cacheLock;
std::map<std::string, TImageInfo*> g_cache;  // null: known to be missing
// Forgotten images stay alive until Clear: a paint on another thread may
// still hold one.
std::vector<TImageInfo*> g_retired;

std::string CacheKey(LPCSTR folder, LPCSTR name)
{
    return std::string(folder ? folder : "") + "|" + (name ? name : "") + "|";
}

}  // namespace

const TImageInfo* CImageCache::Get(LPCSTR folder, LPCSTR name, DWORD mask)
{
    if (!name || !*name) return nullptr;
    std::string key = CacheKey(folder, name) + std::to_string(mask);
    std::lock_guard<std::mutex> lock(g_cacheLock);
    auto it = g_cache.find(key);
    if (it != g_cache.end()) return it->second;
    std::string data, source, why;
    TImageInfo* info = nullptr;
    if (!CResourceStore::Load(folder, name, &data, &source)) {
        UiLogError("image \"%s\" not found in the skin package or folder", name);
    } else if (!(info = DecodeImage(data.data(), data.size(), mask, &why))) {
        UiLogError("image \"%s\" (%s): %s", name, source.c_str(), why.c_str());
    }
    g_cache[key] = info;
    return info;
}

void CImageCache::Remove(LPCSTR folder, LPCSTR name)
{
    std::string prefix = CacheKey(folder, name);
    std::lock_guard<std::mutex> lock(g_cacheLock);
    for (auto it = g_cache.begin(); it != g_cache.end();) {
        if (it->first.compare(0, prefix.size(), prefix) == 0) {
            g_retired.push_back(it->second);
            it = g_cache.erase(it);
        } else {
            ++it;
        }
    }
}

void CImageCache::Clear()
{
    std::lock_guard<std::mutex> lock(g_cacheLock);
    for (auto& e : g_cache) FreeImage(e.second);
    g_cache.clear();
    for (TImageInfo* info : g_retired) FreeImage(info);
    g_retired.clear();
}

}  // namespace DuiLib
