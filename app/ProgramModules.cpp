#include "app/ProgramModules.h"

#include "drawing/windows/DrawingModule.h"
#include "kit/WindowTable.h"
#include "library/windows/LibraryModule.h"
#include "recorder/windows/RecorderModule.h"
#include "settings/SettingsModule.h"

const std::vector<const ProgramModule*>& ProgramModules()
{
    static const std::vector<const ProgramModule*> modules = {
        &RecorderModule(), &DrawingModule(), &LibraryModule(), &SettingsModule()};
    return modules;
}

void RegisterModuleWindows()
{
    for (const ProgramModule* m : ProgramModules())
        if (m->registerWindows) m->registerWindows(GetWindowTable());
}

void RunModulesBeforeMainWindow()
{
    for (const ProgramModule* m : ProgramModules())
        if (m->beforeMainWindow) m->beforeMainWindow();
}

void RunModulesAfterMainWindow()
{
    for (const ProgramModule* m : ProgramModules())
        if (m->afterMainWindow) m->afterMainWindow();
}

void StopModules()
{
    const auto& modules = ProgramModules();
    for (auto it = modules.rbegin(); it != modules.rend(); ++it)
        if ((*it)->stop) (*it)->stop();
}
