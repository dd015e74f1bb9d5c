// Messages the library posts to its own windows. They are registered, so
// they never collide with the program's private messages, which reach the
// program's handlers first.
#pragma once

#include <windows.h>

namespace DuiLib {

class CPaintManagerUI;

enum class UiMessage {
    WindowInit = 0,
    AsyncNotify = 1,
    Cleanup = 2,
    LayeredRender = 3,
    EditApply = 4,
    EditEnd = 5,
    PostedNotify = 6,
};

UINT UiInternalMessage(UiMessage which);

// A native child window that belongs to a control (the edit's) carries
// this property, holding the control. Its parent's manager sends the
// notifications the child sends up (WM_COMMAND, WM_CTLCOLOR*) back down
// to it as kUiReflectBase + the message, so the control handles its own.
#define ORBISK_UI_NATIVE_PROP "OrbiskUiNative"
const UINT kUiReflectBase = WM_USER + 0x1C00;

#ifdef ORBISK_TEST_HOOKS
// Answers the test probe (UIProbeProtocol.h); false for other messages.
bool HandleUiProbe(CPaintManagerUI& manager, UINT uMsg, WPARAM wParam, LPARAM lParam,
                   LRESULT& lRes);
#endif

}  // namespace DuiLib
