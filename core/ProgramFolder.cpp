#include "core/ProgramFolder.h"

#include <windows.h>

#include <mutex>

#ifdef ORBISK_TEST_HOOKS
namespace {
std::mutex g_testFolderLock;
std::string g_testFolder;
}  // namespace

void SetProgramFolderForTests(const std::string& folder)
{
    std::lock_guard<std::mutex> lock(g_testFolderLock);
    g_testFolder = folder;
}
#endif

std::string GetProgramFolder()
{
#ifdef ORBISK_TEST_HOOKS
    {
        std::lock_guard<std::mutex> lock(g_testFolderLock);
        if (!g_testFolder.empty())
            return g_testFolder;
    }
#endif
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
