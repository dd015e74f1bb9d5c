#include "recorder/codecs/PluginCodecs.h"

#include "core/ProgramFolder.h"

#include <vfw.h>

namespace {

// The libraries stay loaded for the life of the process: the compressor
// manager calls into them whenever a compressor is opened.
std::vector<DWORD>& Installed()
{
    static std::vector<DWORD> handlers;
    return handlers;
}

}  // namespace

bool InstallPluginCodec(const std::string& dllPath, DWORD handler)
{
    for (DWORD h : Installed())
        if (h == handler) return true;
    HMODULE module = LoadLibraryA(dllPath.c_str());
    if (!module) return false;
    FARPROC proc = GetProcAddress(module, "DriverProc");
    if (!proc || !ICInstall(ICTYPE_VIDEO, handler, reinterpret_cast<LPARAM>(proc), nullptr,
                            ICINSTALL_FUNCTION)) {
        FreeLibrary(module);
        return false;
    }
    Installed().push_back(handler);
    return true;
}

void AddXvidPluginPath()
{
    DWORD needed = GetEnvironmentVariableA("path", nullptr, 0);
    std::string path;
    if (needed > 0) {
        path.resize(needed);
        DWORD n = GetEnvironmentVariableA("path", &path[0], needed);
        path.resize(n < needed ? n : 0);
    }
    while (!path.empty() && path.back() == ';') path.pop_back();
    path += ";" + GetProgramFolder() + "\\plugins\\xvid32;";
    SetEnvironmentVariableA("path", path.c_str());
}

void InstallPluginCodecs()
{
    InstallPluginCodec(GetX264VfwDllPath(), kX264Handler);
    AddXvidPluginPath();
    InstallPluginCodec(GetXvidVfwDllPath(), kXvidHandler);
}

std::vector<DWORD> InstalledPluginHandlers()
{
    return Installed();
}
