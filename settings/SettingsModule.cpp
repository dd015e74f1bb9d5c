#include "settings/SettingsModule.h"

#include "kit/WindowTable.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    (void)table;
}

}  // namespace

const ProgramModule& SettingsModule()
{
    static const ProgramModule module = {"settings", RegisterWindows};
    return module;
}
