// Helper of HotKeyTable_test: another program that holds F8 and F10.
//   hotkey_holder <ready file>
// Writes "ok" to the ready file once both keys are registered, then keeps
// them until it is ended (at most two minutes).
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) return 1;
    HWND window = CreateWindowExA(0, "STATIC", "hotkey holder", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, nullptr, nullptr);
    const bool ok =
        window && RegisterHotKey(window, 1, 0, VK_F8) && RegisterHotKey(window, 2, 0, VK_F10);
    if (FILE* f = fopen(argv[1], "wb")) {
        fputs(ok ? "ok" : "fail", f);
        fclose(f);
    }
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < 120000) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(50);
    }
    return 0;
}
