// Loads CamHook.dll in a program that does not export ClickQueue::getQueue.
// Exit code: 0 when InstallMyHook refused and counted the call, 1 otherwise.
// With "wait" it stays until it is ended, for a test to read its counters.
#include "platform/hook/CamHook.h"

#include <cstring>

int main(int argc, char** argv)
{
    BOOL installed = InstallMyHook(nullptr, 0);
    if (installed) UninstallMyHook(nullptr);
    if (argc > 1 && strcmp(argv[1], "wait") == 0) Sleep(INFINITE);
    return !installed && CamHookInstallCount() == 1 && !CamHookIsInstalled() ? 0 : 1;
}
