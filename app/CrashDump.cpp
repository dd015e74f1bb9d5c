#include "app/CrashDump.h"

#include "platform/TestHooks.h"

#include "core/UniqueHandle.h"

#include <dbghelp.h>

#include <cstring>

LONG WINAPI WriteCrashDump(EXCEPTION_POINTERS* info)
{
    orbisk::UniqueHandle file(CreateFileA("CRASH.DMP", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        MINIDUMP_EXCEPTION_INFORMATION exception = {};
        exception.ThreadId = GetCurrentThreadId();
        exception.ExceptionPointers = info;
        exception.ClientPointers = FALSE;
        MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file.Get(), MiniDumpNormal,
                          &exception, nullptr, nullptr);
    }
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    return EXCEPTION_EXECUTE_HANDLER;
}

void InstallCrashFilter()
{
    SetUnhandledExceptionFilter(WriteCrashDump);
}

#ifdef ORBISK_TEST_HOOKS
const char kTestCrashSwitch[] = "--test-crash";

void CrashIfAsked(const char* commandLine)
{
    if (!TestHooksOn() || !commandLine || !strstr(commandLine, kTestCrashSwitch)) return;
    // A real fault, not a C++ throw, so the filter sees what a crash gives it.
    RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}
#endif
