#include "library/windows/LibraryModule.h"

#include "kit/WindowTable.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    (void)table;
}

}  // namespace

const ProgramModule& LibraryModule()
{
    static const ProgramModule module = {"library", RegisterWindows};
    return module;
}
