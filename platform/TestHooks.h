// Whether the test harness has turned the test hooks on for this process:
// the probe messages the windows answer, the crash switch and the like.
// The harness sets ORBISK_TEST_HOOKS=1 in the environment of everything it
// runs; a program started any other way (as a user starts it) ignores
// them, although a test build compiles them in.
#pragma once

#include <windows.h>

inline bool TestHooksOn()
{
#ifdef ORBISK_TEST_HOOKS
    static const bool on = [] {
        char value[8] = {};
        DWORD n = GetEnvironmentVariableA("ORBISK_TEST_HOOKS", value, sizeof value);
        return n == 1 && value[0] == '1';
    }();
    return on;
#else
    return false;
#endif
}
