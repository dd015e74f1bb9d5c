#include "core/SystemMessageBox.h"

#ifdef ORBISK_TEST_HOOKS
#include <mutex>

namespace {

std::mutex g_hookLock;
SystemMessageBoxHook g_hook;

}  // namespace

void SetSystemMessageBoxHook(SystemMessageBoxHook hook)
{
    std::lock_guard<std::mutex> lock(g_hookLock);
    g_hook = std::move(hook);
}
#endif

int ShowSystemMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
#ifdef ORBISK_TEST_HOOKS
    SystemMessageBoxHook hook;
    {
        std::lock_guard<std::mutex> lock(g_hookLock);
        hook = g_hook;
    }
    if (hook) return hook(owner, text, caption, type);
#endif
    return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}
