#include "recorder/windows/RecorderModule.h"

#include "kit/WindowTable.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    (void)table;
}

}  // namespace

const ProgramModule& RecorderModule()
{
    static const ProgramModule module = {"recorder", RegisterWindows};
    return module;
}
