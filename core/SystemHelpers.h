// Process privileges, the operating-system name and the shell's "open".
#pragma once

#include <windows.h>

#include <string>

// Enables one privilege of the process token. 1 when it is enabled; 0 when
// the token cannot be opened, the name is unknown or the privilege is not
// held.
unsigned EnablePrivilege(const char* name);

// The name of the running Windows ("Microsoft Windows 10"); empty when the
// version cannot be read or matches no known name.
std::string GetOsName();

// The name table behind GetOsName, for a version read by GetVersionExA.
// productType is VER_NT_WORKSTATION (1) for desktop editions; arch is the
// native processor architecture; serverR2 is GetSystemMetrics(SM_SERVERR2).
std::string OsNameFromVersion(DWORD major, DWORD minor, DWORD platformId, BYTE productType,
                              WORD arch, int serverR2);

// The height of the screen above the task bar (SM_CYFULLSCREEN), never more
// than the screen's own: Wine counts it taller than the screen, and a window
// placed by it would hang off the bottom.
int FullScreenClientHeight();

// ShellExecuteA "open" of a web address, file or folder; the shell's result
// (greater than 32 on success).
HINSTANCE OpenUrl(const std::string& target);
