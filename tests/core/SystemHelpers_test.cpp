// Privileges, the OS-name table and the shell's open.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/SystemHelpers.h"

#include <vector>

using namespace testkit;

namespace {

TEST(SystemHelpersTest, EnablePrivilegeTellsFailure)
{
    EXPECT_EQ(0u, EnablePrivilege("SeNoSuchPrivilegeAtAll"));
    ASSERT_EQ(1u, EnablePrivilege("SeBackupPrivilege"));

    // The token really holds it enabled now.
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    LUID luid;
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SeBackupPrivilege", &luid));
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<char> buf(size);
    ASSERT_TRUE(GetTokenInformation(token, TokenPrivileges, buf.data(), size, &size));
    CloseHandle(token);
    auto* privs = reinterpret_cast<TOKEN_PRIVILEGES*>(buf.data());
    bool enabled = false;
    for (DWORD i = 0; i < privs->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& p = privs->Privileges[i];
        if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart)
            enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    EXPECT_TRUE(enabled);
}

TEST(SystemHelpersTest, OsNameTable)
{
    const BYTE ws = VER_NT_WORKSTATION, server = VER_NT_SERVER;
    const WORD x86 = PROCESSOR_ARCHITECTURE_INTEL, x64 = PROCESSOR_ARCHITECTURE_AMD64;
    struct Case {
        DWORD major, minor, platform;
        BYTE product;
        WORD arch;
        int r2;
        const char* name;
    } cases[] = {
        {4, 0, VER_PLATFORM_WIN32_NT, ws, x86, 0, "Microsoft Windows NT 4.0"},
        {4, 0, VER_PLATFORM_WIN32_WINDOWS, ws, x86, 0, "Microsoft Windows 95"},
        {4, 10, VER_PLATFORM_WIN32_WINDOWS, ws, x86, 0, "Microsoft Windows 98"},
        {4, 90, VER_PLATFORM_WIN32_WINDOWS, ws, x86, 0, "Microsoft Windows Me"},
        {4, 20, VER_PLATFORM_WIN32_WINDOWS, ws, x86, 0, ""},
        {5, 0, 2, ws, x86, 0, "Microsoft Windows 2000"},
        {5, 1, 2, ws, x86, 0, "Microsoft Windows XP"},
        {5, 2, 2, ws, x64, 0, "Microsoft Windows XP Professional x64 Edition"},
        {5, 2, 2, server, x64, 1, "Microsoft Windows Server 2003 R2"},
        {5, 2, 2, ws, x86, 0, "Microsoft Windows Server 2003"},
        {6, 0, 2, ws, x86, 0, "Microsoft Windows Vista"},
        {6, 0, 2, server, x86, 0, "Microsoft Windows Server 2008"},
        {6, 1, 2, ws, x86, 0, "Microsoft Windows 7"},
        {6, 1, 2, server, x64, 0, "Microsoft Windows Server 2008 R2"},
        {6, 2, 2, ws, x86, 0, "Microsoft Windows 8"},
        {6, 2, 2, server, x86, 0, "Microsoft Windows Server 2012"},
        {6, 3, 2, ws, x86, 0, ""},
        {10, 0, 2, ws, x86, 0, "未知操作系统"},
        {3, 51, 2, ws, x86, 0, "未知操作系统"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.name, OsNameFromVersion(c.major, c.minor, c.platform, c.product, c.arch, c.r2))
            << c.major << "." << c.minor;
    // Wine reports some known Windows.
    EXPECT_NE(std::string::npos, GetOsName().find("Microsoft Windows"));
}

TEST(SystemHelpersTest, OpenUrlReportsAMissingTarget)
{
    std::string missing = MakeTempDir("open") + "\\does-not-exist.xyz";
    EXPECT_LE((INT_PTR)OpenUrl(missing), 32);
}

}  // namespace
