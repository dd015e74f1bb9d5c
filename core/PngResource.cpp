#include "core/PngResource.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

unsigned LoadPngResourceImage(Gdiplus::Image** out, HRSRC resource)
{
    if (!resource) return 0;
    DWORD size = SizeofResource(nullptr, resource);
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return 0;
    Gdiplus::Image* image = nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block) {
        if (void* dst = GlobalLock(block)) {
            memcpy(dst, bytes, size);
            GlobalUnlock(block);
        }
        // The stream owns the block; the image holds its own reference to
        // the stream for as long as it lives, so ours is released here.
        IStream* stream = nullptr;
        if (SUCCEEDED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
            image = Gdiplus::Image::FromStream(stream);
            if (image && image->GetLastStatus() != Gdiplus::Ok) {
                delete image;
                image = nullptr;
            }
            stream->Release();
        } else {
            GlobalFree(block);
        }
    }
    *out = image;
    return 1;
}
