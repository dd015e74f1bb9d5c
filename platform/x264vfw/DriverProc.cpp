// The driver entry of x264vfw.dll: the Installable Compressor Manager calls
// it for the driver's lifetime (DRV_*) and for every opened instance (ICM_*).
// Hosts install it either as a function (ICINSTALL_FUNCTION, after
// LoadLibrary) or as a driver file (ICINSTALL_DRIVER, or the registry).
#include "platform/x264vfw/Compressor.h"

#include <new>

using x264vfw::Compressor;

namespace {

// The instance a DRV_OPEN gives back when no ICOPEN comes with it: the
// driver opened for configuration, which answers but never compresses.
const DWORD_PTR kConfigurationId = 1;

LRESULT Open(const ICOPEN* icopen)
{
    if (!icopen) return kConfigurationId;
    // Compression only: decoding is left to the system's decoders.
    const bool compressMode = icopen->dwFlags == ICMODE_COMPRESS ||
                              icopen->dwFlags == ICMODE_FASTCOMPRESS ||
                              icopen->dwFlags == ICMODE_QUERY;
    // Type codes are compared without case ("vidc", "VIDC"); 0 means any.
    const DWORD type = icopen->fccType | 0x20202020;
    if ((icopen->fccType != 0 && type != ICTYPE_VIDEO) || !compressMode) return 0;
    Compressor* c = new (std::nothrow) Compressor;
    if (!c) return 0;
    const_cast<ICOPEN*>(icopen)->dwError = ICERR_OK;
    return reinterpret_cast<LRESULT>(c);
}

LRESULT InstanceMessage(Compressor* c, UINT msg, LPARAM p1, LPARAM p2)
{
    auto in = reinterpret_cast<const BITMAPINFOHEADER*>(p1);
    auto out = reinterpret_cast<BITMAPINFOHEADER*>(p2);
    switch (msg) {
        case ICM_GETINFO:
            return c->GetInfo(reinterpret_cast<ICINFO*>(p1), static_cast<DWORD>(p2));
        case ICM_COMPRESS_QUERY:
            return c->Query(in, out);
        case ICM_COMPRESS_GET_FORMAT:
            return c->GetFormat(in, out);
        case ICM_COMPRESS_GET_SIZE:
            return c->GetSize(in, out);
        case ICM_COMPRESS_FRAMES_INFO:
            return c->SetFramesInfo(reinterpret_cast<const ICCOMPRESSFRAMES*>(p1),
                                    static_cast<DWORD>(p2));
        case ICM_COMPRESS_BEGIN:
            return c->Begin(in, out);
        case ICM_COMPRESS:
            return c->Compress(reinterpret_cast<const ICCOMPRESS*>(p1), static_cast<DWORD>(p2));
        case ICM_COMPRESS_END:
            return c->End();
        case ICM_GETDEFAULTQUALITY:
            return c->GetDefaultQuality(reinterpret_cast<DWORD*>(p1));
        case ICM_GETQUALITY:
            return c->GetQuality(reinterpret_cast<DWORD*>(p1));
        case ICM_SETQUALITY:
            return c->SetQuality(static_cast<DWORD>(p1));
        case ICM_GETDEFAULTKEYFRAMERATE:
            return c->GetDefaultKeyFrameRate(reinterpret_cast<DWORD*>(p1));
        // The settings live in the registry, where the program writes them:
        // there is no per-stream state to hand out or take back.
        case ICM_GETSTATE:
        case ICM_SETSTATE:
            return 0;
        default:
            return ICERR_UNSUPPORTED;
    }
}

}  // namespace

extern "C" LRESULT WINAPI DriverProc(DWORD_PTR id, HDRVR driver, UINT msg, LPARAM p1, LPARAM p2)
{
    switch (msg) {
        case DRV_LOAD:
        case DRV_FREE:
        case DRV_ENABLE:
        case DRV_DISABLE:
            return 1;
        case DRV_INSTALL:
        case DRV_REMOVE:
            return DRV_OK;
        case DRV_OPEN:
            return Open(reinterpret_cast<const ICOPEN*>(p2));
        case DRV_CLOSE:
            if (id != kConfigurationId) delete reinterpret_cast<Compressor*>(id);
            return 1;
        case DRV_QUERYCONFIGURE:
            return 0;  // no configuration dialog: the program sets the registry
        case DRV_CONFIGURE:
            return DRVCNF_OK;
        // No dialogs: a recorder's settings window is where the user chooses.
        case ICM_CONFIGURE:
        case ICM_ABOUT:
            return ICERR_UNSUPPORTED;
    }
    if (msg < DRV_USER) return DefDriverProc(id, driver, msg, p1, p2);
    if (id == 0 || id == kConfigurationId) return ICERR_UNSUPPORTED;
    return InstanceMessage(reinterpret_cast<Compressor*>(id), msg, p1, p2);
}
