// Keeps Wine's desktop process alive for a whole test run. Wine starts that
// process when the first window appears and ends it when the last one is
// gone; started from a test, it inherits the test's output pipe and ctest
// then waits for it until the test times out. Started once by the services
// script with its output on /dev/null, this hidden window keeps it running.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "OrbiskDesktopKeeper";
    RegisterClassA(&wc);
    CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                    instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
