// Messages the library posts to its own windows. They are registered, so
// they never collide with the program's private messages, which reach the
// program's handlers first.
#pragma once

#include <windows.h>

namespace DuiLib {

class CPaintManagerUI;

enum class UiMessage { WindowInit = 0, AsyncNotify = 1, Cleanup = 2 };

UINT UiInternalMessage(UiMessage which);

#ifdef ORBISK_TEST_HOOKS
// Answers the test probe (UIProbeProtocol.h); false for other messages.
bool HandleUiProbe(CPaintManagerUI& manager, UINT uMsg, WPARAM wParam, LPARAM lParam,
                   LRESULT& lRes);
#endif

}  // namespace DuiLib
