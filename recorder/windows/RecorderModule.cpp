#include "recorder/windows/RecorderModule.h"

#include "recorder/windows/FloatRecWnd.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    // The main window creates the bar's native window and places it.
    table.Register(WindowId::FloatRec,
                   {[](const WindowRequest&) -> DuiLib::CWindowWnd* { return new CFloatRecWnd; }});
}

}  // namespace

const ProgramModule& RecorderModule()
{
    static const ProgramModule module = {"recorder", RegisterWindows};
    return module;
}
