#include "drawing/windows/DrawingModule.h"

#include "kit/WindowTable.h"

namespace {

void RegisterWindows(WindowTable& table)
{
    (void)table;
}

}  // namespace

const ProgramModule& DrawingModule()
{
    static const ProgramModule module = {"drawing", RegisterWindows};
    return module;
}
