#include "settings/SettingsModule.h"

#include "kit/WindowTable.h"
#include "settings/AboutSoftWnd.h"
#include "settings/CaptureSettingsWindows.h"
#include "settings/DetailPopupWnd.h"
#include "settings/ExpandToolWindow.h"
#include "settings/GuideWindow.h"
#include "settings/SmallTipWindow.h"
#include "settings/TipsMenuWnd.h"
#include "settings/UpdateCheck.h"
#include "settings/UpdateLogWindow.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    table.Register(WindowId::ExpandTool, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new ExpandToolWindow(r.owner, r.at.x, r.at.y);
                   }});
    table.Register(WindowId::UpdateLog, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new UpdateLogWindow(r.at.x, r.at.y);
                   }});
    table.Register(WindowId::AboutSoft, {[](const WindowRequest&) -> DuiLib::CWindowWnd* {
                       return new AboutSoftWnd();
                   }});
    table.Register(WindowId::SmallTip, {[](const WindowRequest&) -> DuiLib::CWindowWnd* {
                       return new SmallTipWindow();
                   }});
    table.Register(WindowId::TipsMenu, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new TipsMenuWnd(r.owner, r.at.x, r.at.y);
                   }});
    table.Register(WindowId::Guide, {[](const WindowRequest&) -> DuiLib::CWindowWnd* {
                       return new GuideWindow();
                   }});
    // The floating bar opens these with itself as the owner.
    table.Register(WindowId::RecDetail, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return ShowRecDetailWnd(r.owner);
                   }});
    table.Register(WindowId::StateDetail, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return ShowStateDetailWnd(r.owner);
                   }});
    RegisterCaptureSettingsWindows(table);
}

// The main window starts the update check as it comes up; whatever of it
// still runs when the program ends lets go of the network here.
void Stop()
{
    StopUpdateCheck();
}

}  // namespace

const ProgramModule& SettingsModule()
{
    static const ProgramModule module = {"settings", RegisterWindows, nullptr, nullptr, Stop};
    return module;
}
