#include "recorder/windows/RecorderModule.h"

#include "kit/WindowTable.h"
#include "recorder/windows/CameraWnd.h"
#include "recorder/windows/CountDownWnd.h"
#include "recorder/windows/FlashWnd.h"
#include "recorder/windows/FloatRecWnd.h"
#include "recorder/windows/FollowWindow.h"
#include "recorder/windows/ScrCaptureWnd.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    // The main window creates the picker's native window itself.
    table.Register(WindowId::RegionPicker, {[](const WindowRequest&) -> DuiLib::CWindowWnd* {
                       return GetScrCaptureWnd();
                   }});
    table.Register(WindowId::Flash, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new FlashWnd(r.area);
                   }});
    WindowEntry countdown;
    countdown.open = [](const WindowRequest&) -> DuiLib::CWindowWnd* { return new CountDownWnd; };
    // Gone at once, not at the next message: the recording starts right
    // after, and its first frame must not show the countdown.
    countdown.close = [](DuiLib::CWindowWnd& window) {
        if (::IsWindow(window.GetHWND())) ::DestroyWindow(window.GetHWND());
    };
    table.Register(WindowId::CountDown, countdown);
    table.Register(WindowId::Camera, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new CameraWnd(r.owner, r.at);
                   }});
    // The main window creates the bar's native window and places it.
    table.Register(WindowId::FloatRec,
                   {[](const WindowRequest&) -> DuiLib::CWindowWnd* { return new CFloatRecWnd; }});
}

}  // namespace

const ProgramModule& RecorderModule()
{
    static const ProgramModule module = {"recorder", RegisterWindows, nullptr, nullptr,
                                         StopWindowFollow};
    return module;
}
