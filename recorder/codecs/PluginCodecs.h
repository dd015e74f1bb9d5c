// The codec plug-ins of the program folder, installed as Video for Windows
// compressors for this process only: this is what makes them usable, with or
// without the system-wide driver entries.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

const DWORD kX264Handler = mmioFOURCC('X', '2', '6', '4');
const DWORD kXvidHandler = mmioFOURCC('X', 'V', 'I', 'D');

// Loads the library, takes its "DriverProc" and installs it as compressor
// handler (type "vidc", ICINSTALL_FUNCTION). false when the library or its
// entry is missing or the install is refused; the library is then unloaded.
// A handler already installed by this process is not installed again.
bool InstallPluginCodec(const std::string& dllPath, DWORD handler);

// Appends "<program folder>\plugins\xvid32;" to the process's search path,
// where the Xvid driver finds its core library.
void AddXvidPluginPath();

// x264vfw, then the Xvid path and Xvid; failures leave that codec out.
void InstallPluginCodecs();

// The handlers this process has installed, in order.
std::vector<DWORD> InstalledPluginHandlers();
