#include "app/StaticStartup.h"

#include "core/SystemMessageBox.h"

#include <gdiplus.h>

const UINT g_uRecordInterruptedMsg = RegisterWindowMessageA("WM_USER_RECORDINTERRUPTED_MSG");
const UINT g_uRecordStartMsg = RegisterWindowMessageA("WM_USER_RECORDSTART_MSG");
const UINT g_uRecordPausedMsg = RegisterWindowMessageA("WM_USER_RECORDPAUSED_MSG");
const UINT g_uSaveCursorMsg = RegisterWindowMessageA("WM_USER_SAVECURSOR_MSG");
const UINT g_uGenericMsg = RegisterWindowMessageA("WM_USER_GENERIC_MSG");

namespace {

// GDI+ for the life of the process: every window and the capture engine
// draw with it, from start-up to the last static destructor.
class GdiplusProcessStart {
public:
    GdiplusProcessStart()
    {
        Gdiplus::GdiplusStartupInput input;  // version 1, no callback, both flags off
        if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) {
            token_ = 0;
            ShowSystemMessageBox(nullptr, "GdiplusStartup failed", "Error", MB_OK);
        }
    }
    ~GdiplusProcessStart()
    {
        if (token_) Gdiplus::GdiplusShutdown(token_);
    }
    bool Ok() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

const GdiplusProcessStart g_gdiplus;

}  // namespace

bool GdiplusStarted()
{
    return g_gdiplus.Ok();
}
