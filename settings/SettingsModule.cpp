#include "settings/SettingsModule.h"

#include "kit/WindowTable.h"
#include "settings/CaptureSettingsWindows.h"
#include "settings/ExpandToolWindow.h"
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
