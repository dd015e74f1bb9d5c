#include "FailingCompressor.h"

#include "recorder/recording/RecordingState.h"

#include <vfw.h>

#include <cstring>

namespace rectest {

namespace {

int g_failAt = 10;
int g_frame = 0;
DWORD g_delayMs = 0;
bool g_failOnceStopped = false;

LRESULT CALLBACK Proc(DWORD_PTR id, HDRVR, UINT msg, LPARAM lp1, LPARAM lp2)
{
    switch (msg) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
    case DRV_CLOSE:
        return 1;
    case DRV_OPEN: {
        auto* open = reinterpret_cast<ICOPEN*>(lp2);
        if (open && open->fccType != ICTYPE_VIDEO && open->fccType != mmioFOURCC('v', 'i', 'd', 'c'))
            return 0;
        if (open)
            open->dwError = ICERR_OK;
        return 1;
    }
    case ICM_GETINFO: {
        auto* info = reinterpret_cast<ICINFO*>(lp1);
        memset(info, 0, sizeof *info);
        info->dwSize = sizeof *info;
        info->fccType = ICTYPE_VIDEO;
        info->fccHandler = kFailingHandler;
        info->dwFlags = VIDCF_QUALITY;
        info->dwVersionICM = ICVERSION;
        wcscpy(info->szName, L"fail");
        wcscpy(info->szDescription, L"Failing test compressor");
        return sizeof *info;
    }
    case ICM_COMPRESS_QUERY: {
        auto* in = reinterpret_cast<BITMAPINFOHEADER*>(lp1);
        return in && in->biBitCount == 24 && in->biCompression == BI_RGB ? ICERR_OK : ICERR_BADFORMAT;
    }
    case ICM_COMPRESS_GET_FORMAT: {
        if (!lp2)
            return sizeof(BITMAPINFOHEADER);
        memcpy(reinterpret_cast<void*>(lp2), reinterpret_cast<void*>(lp1), sizeof(BITMAPINFOHEADER));
        return ICERR_OK;
    }
    case ICM_COMPRESS_GET_SIZE:
        return reinterpret_cast<BITMAPINFOHEADER*>(lp1)->biSizeImage;
    case ICM_COMPRESS_BEGIN:
        g_frame = 0;
        return ICERR_OK;
    case ICM_COMPRESS: {
        auto* c = reinterpret_cast<ICCOMPRESS*>(lp1);
        if (g_delayMs) Sleep(g_delayMs);
        if ((g_failAt >= 0 && g_frame++ >= g_failAt) || (g_failOnceStopped && !g_bRecording))
            return ICERR_ERROR;
        memcpy(c->lpOutput, c->lpInput, c->lpbiInput->biSizeImage);
        c->lpbiOutput->biSizeImage = c->lpbiInput->biSizeImage;
        if (c->lpdwFlags)
            *c->lpdwFlags = AVIIF_KEYFRAME;
        return ICERR_OK;
    }
    case ICM_COMPRESS_END:
    case ICM_GETDEFAULTQUALITY:
    case ICM_GETQUALITY:
    case ICM_SETQUALITY:
        if (msg == ICM_GETDEFAULTQUALITY && lp1)
            *reinterpret_cast<DWORD*>(lp1) = 10000;
        return ICERR_OK;
    }
    return msg < DRV_USER ? DefDriverProc(id, nullptr, msg, lp1, lp2) : ICERR_UNSUPPORTED;
}

}  // namespace

bool InstallFailingCompressor(int failAt, DWORD delayMs, bool failOnceStopped)
{
    g_failAt = failAt;
    g_delayMs = delayMs;
    g_failOnceStopped = failOnceStopped;
    return ICInstall(ICTYPE_VIDEO, kFailingHandler, (LPARAM)Proc, nullptr, ICINSTALL_FUNCTION) != FALSE;
}

void RemoveFailingCompressor()
{
    ICRemove(ICTYPE_VIDEO, kFailingHandler, 0);
}

}  // namespace rectest
