#include "recorder/windows/RecorderModule.h"

#include "kit/WindowTable.h"
#include "recorder/windows/CameraWnd.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    table.Register(WindowId::Camera, {[](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                       return new CameraWnd(r.owner, r.at);
                   }});
}

}  // namespace

const ProgramModule& RecorderModule()
{
    static const ProgramModule module = {"recorder", RegisterWindows};
    return module;
}
