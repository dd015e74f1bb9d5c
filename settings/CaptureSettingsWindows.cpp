#include "settings/CaptureSettingsWindows.h"

#include "kit/WindowTable.h"
#include "settings/AddCaptionWindow.h"
#include "settings/AddWaterMarkWindow.h"
#include "settings/AudoStopSettingWindow.h"
#include "settings/CountdownSettingWindow.h"
#include "settings/CursorSettingWindow.h"

namespace {

// A window whose native window could not be made gets no final message, so
// nothing else would delete it.
DuiLib::CWindowWnd* Made(DuiLib::CWindowWnd* window)
{
    if (window->GetHWND()) return window;
    delete window;
    return nullptr;
}

}  // namespace

void RegisterCaptureSettingsWindows(WindowTable& table)
{
    WindowEntry caption;
    caption.open = [](const WindowRequest& r) {
        return Made(new AddCaptionWindow(r.owner, r.at.x, r.at.y));
    };
    // Closed with the program: the text typed last is written before the
    // program goes on to end.
    caption.close = [](DuiLib::CWindowWnd& window) {
        static_cast<AddCaptionWindow&>(window).SaveTypedText();
        if (::IsWindow(window.GetHWND())) window.Close(1);
    };
    table.Register(WindowId::Caption, caption);
    table.Register(WindowId::WaterMark, {[](const WindowRequest& r) {
                       return Made(new AddWaterMarkWindow(r.owner, r.at.x, r.at.y));
                   }});
    table.Register(WindowId::CursorSetting, {[](const WindowRequest& r) {
                       return Made(new CursorSettingWindow(r.at.x, r.at.y));
                   }});
    table.Register(WindowId::CountdownSetting, {[](const WindowRequest& r) {
                       return Made(new CountdownSettingWindow(r.owner, r.at.x, r.at.y));
                   }});
    table.Register(WindowId::AutoStopSetting, {[](const WindowRequest& r) {
                       return Made(new AudoStopSettingWindow(r.owner, r.at.x, r.at.y));
                   }});
}
