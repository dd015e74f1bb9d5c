// Loads CamHook.dll in a program that does not export ClickQueue::getQueue.
// Exit code: 0 when InstallMyHook refused and counted the call, 1 otherwise.
#include "platform/hook/CamHook.h"

int main()
{
    BOOL installed = InstallMyHook(nullptr, 0);
    if (installed) UninstallMyHook(nullptr);
    return !installed && CamHookInstallCount() == 1 && !CamHookIsInstalled() ? 0 : 1;
}
