// Keeps Wine's desktop process alive for a whole test run. Wine starts that
// process when the first window appears and ends it when the last one is
// gone; started from a test, it inherits the test's output pipe and ctest
// then waits for it until the test times out. Started once by the services
// script with its output on /dev/null, this hidden window keeps it running.
// The script waits for the file named on the command line, written once the
// window (and with it the desktop process) exists: until then the first
// test to open a window could start the desktop process itself.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "OrbiskDesktopKeeper";
    RegisterClassA(&wc);
    if (!CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                         nullptr, instance, nullptr))
        return 1;
    std::string ready = commandLine;
    if (ready.size() >= 2 && ready.front() == '"' && ready.back() == '"')
        ready = ready.substr(1, ready.size() - 2);
    if (!ready.empty())
        CloseHandle(CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
