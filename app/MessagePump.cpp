#include "app/MessagePump.h"

#include "platform/ui/UIlib.h"

#include <algorithm>

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    bool quit = false;
    WPARAM quitCode = 0;
    while (!done()) {
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(50, timeoutMs - waited),
                                  QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }
    if (quit) PostQuitMessage((int)quitCode);
    return done();
}
