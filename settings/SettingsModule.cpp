#include "settings/SettingsModule.h"

#include "kit/WindowTable.h"
#include "settings/CaptureSettingsWindows.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    RegisterCaptureSettingsWindows(table);
}

}  // namespace

const ProgramModule& SettingsModule()
{
    static const ProgramModule module = {"settings", RegisterWindows};
    return module;
}
