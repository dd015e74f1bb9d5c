#include "core/SystemHelpers.h"

#include "core/UniqueHandle.h"

#include <shellapi.h>

#include <cstdio>

unsigned EnablePrivilege(const char* name)
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw))
        return 0;
    orbisk::UniqueHandle token(raw);
    TOKEN_PRIVILEGES tp = {};
    if (!LookupPrivilegeValueA(nullptr, name, &tp.Privileges[0].Luid)) return 0;
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // Success of the call alone does not say the privilege was granted:
    // ERROR_NOT_ALL_ASSIGNED comes with a TRUE result.
    SetLastError(ERROR_SUCCESS);
    if (!AdjustTokenPrivileges(token.Get(), FALSE, &tp, sizeof tp, nullptr, nullptr)) return 0;
    return GetLastError() == ERROR_SUCCESS ? 1 : 0;
}

std::string OsNameFromVersion(DWORD major, DWORD minor, DWORD platformId, BYTE productType,
                              WORD arch, int serverR2)
{
    const bool workstation = productType == VER_NT_WORKSTATION;
    switch (major) {
        case 4:
            if (minor == 0 && platformId == VER_PLATFORM_WIN32_NT)
                return "Microsoft Windows NT 4.0";
            if (minor == 0 && platformId == VER_PLATFORM_WIN32_WINDOWS)
                return "Microsoft Windows 95";
            if (minor == 10) return "Microsoft Windows 98";
            if (minor == 90) return "Microsoft Windows Me";
            return std::string();
        case 5:
            if (minor == 0) return "Microsoft Windows 2000";
            if (minor == 1) return "Microsoft Windows XP";
            if (minor == 2) {
                if (workstation && arch == PROCESSOR_ARCHITECTURE_AMD64)
                    return "Microsoft Windows XP Professional x64 Edition";
                return serverR2 ? "Microsoft Windows Server 2003 R2"
                                : "Microsoft Windows Server 2003";
            }
            return std::string();
        case 6:
            if (minor == 0)
                return workstation ? "Microsoft Windows Vista" : "Microsoft Windows Server 2008";
            if (minor == 1)
                return workstation ? "Microsoft Windows 7" : "Microsoft Windows Server 2008 R2";
            if (minor == 2)
                return workstation ? "Microsoft Windows 8" : "Microsoft Windows Server 2012";
            return std::string();
        default:
            return "未知操作系统";
    }
}

std::string GetOsName()
{
    // GetVersionExA lies to programs without a compatibility manifest (it
    // stops at 6.2), so the two newest names come from ntdll first.
    using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    auto rtlVersion = reinterpret_cast<RtlGetNtVersionNumbersFn>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetNtVersionNumbers"));
    if (rtlVersion) {
        DWORD major = 0, minor = 0, build = 0;
        rtlVersion(&major, &minor, &build);
        const char* name = nullptr;
        if (major == 10 && minor == 0)
            name = "Microsoft Windows 10";
        else if (major == 6 && minor == 3)
            name = "Microsoft Windows 8.1";
        if (name) {
            printf("此电脑的版本为:%s\n", name);
            return name;
        }
    }
    SYSTEM_INFO si = {};
    GetNativeSystemInfo(&si);
    OSVERSIONINFOEXA vi = {};
    vi.dwOSVersionInfoSize = sizeof vi;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&vi))) {
        printf("版本获取失败\n");
        return std::string();
    }
    std::string name =
        OsNameFromVersion(vi.dwMajorVersion, vi.dwMinorVersion, vi.dwPlatformId, vi.wProductType,
                          si.wProcessorArchitecture, GetSystemMetrics(SM_SERVERR2));
    printf("此电脑的版本为:%s\n", name.c_str());
    return name;
}

HINSTANCE OpenUrl(const std::string& target)
{
    return ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int FullScreenClientHeight()
{
    const int client = GetSystemMetrics(SM_CYFULLSCREEN), screen = GetSystemMetrics(SM_CYSCREEN);
    return client < screen ? client : screen;
}
