#include "core/ProgramFolder.h"

#include <windows.h>

std::string GetProgramFolder()
{
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n < MAX_PATH ? n : MAX_PATH);
    size_t slash = s.find_last_of('\\');
    return slash == std::string::npos ? std::string() : s.substr(0, slash);
}

std::string GetX264VfwDllPath()
{
    return GetProgramFolder() + "\\plugins\\x264\\x264vfw.dll";
}

std::string GetXvidVfwDllPath()
{
    return GetProgramFolder() + "\\plugins\\xvid32\\xvidvfw.dll";
}
