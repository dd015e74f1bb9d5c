#include "core/ChildWindows.h"

namespace {

ChildWindowOpener g_openers[(int)ChildWindow::Count];

}  // namespace

void SetChildWindowOpener(ChildWindow which, ChildWindowOpener opener)
{
    if (which >= ChildWindow::Count) return;
    g_openers[(int)which] = std::move(opener);
}

const ChildWindowOpener& GetChildWindowOpener(ChildWindow which)
{
    static const ChildWindowOpener none;
    return which < ChildWindow::Count ? g_openers[(int)which] : none;
}
