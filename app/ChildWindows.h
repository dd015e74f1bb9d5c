// The main window's rules for the windows its buttons and hot keys open:
// which are reused, brought forward or made anew, where each appears, and
// the order in which closing the program closes them. The windows
// themselves come from their modules (kit/WindowTable.h).
#pragma once

#include "kit/WindowTable.h"

#include <vector>

void SetMainWindowRules(WindowTable& table);

// The windows the main window closes first when the program ends, in this
// order; the rest follow.
extern const std::vector<WindowId> kCloseFirst;
