#include "app/SingleInstance.h"

const char kSingleInstanceMutexName[] = "VintraCamMutexName";
const char kMainFrameClassName[] = "VintraCamMainFrameClsName";
const char kMainFrameTitle[] = "Orbisk";

bool AcquireSingleInstance()
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kSingleInstanceMutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex) CloseHandle(mutex);
        return false;
    }
    // Held until the process ends; the system releases it then.
    return true;
}

bool ActivateRunningInstance(DWORD waitMs)
{
    // Started twice in quick succession, the first instance may not have its
    // window yet.
    DWORD start = GetTickCount();
    for (;;) {
        HWND running = FindWindowA(kMainFrameClassName, kMainFrameTitle);
        if (running) {
            ShowWindow(running, SW_SHOWNORMAL);
            SetForegroundWindow(running);
            return true;
        }
        if (GetTickCount() - start >= waitMs) return false;
        Sleep(50);
    }
}
