// The unhandled-exception filter: a minidump "CRASH.DMP" in the current
// folder, then the process ends.
#pragma once

#include <windows.h>

// Always EXCEPTION_EXECUTE_HANDLER (1).
LONG WINAPI WriteCrashDump(EXCEPTION_POINTERS* info);
void InstallCrashFilter();

#ifdef ORBISK_TEST_HOOKS
// The command-line switch with which the program crashes on purpose, right
// after the filter is installed, so tests can see the dump being written;
// only while the harness has the test hooks on.
extern const char kTestCrashSwitch[];
// Crashes when the command line holds the switch; returns otherwise.
void CrashIfAsked(const char* commandLine);
#endif
