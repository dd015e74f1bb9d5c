// The system message box, through one door so that test builds can answer
// it without a screen: a box shown by a worker thread would otherwise block
// a headless run for good.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// MessageBoxA, unless a test hook is set.
int ShowSystemMessageBox(HWND owner, const std::string& text, const std::string& caption,
                         UINT type);

#ifdef ORBISK_TEST_HOOKS
// While set, boxes are not shown: the hook receives them (from whichever
// thread shows them) and its result is the answer. An empty hook restores
// the real boxes.
using SystemMessageBoxHook =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;
void SetSystemMessageBoxHook(SystemMessageBoxHook hook);
#endif
