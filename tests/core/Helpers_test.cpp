// Shared helpers under the real code page 936: conversions, program folder,
// file helpers, privileges, the OS-name table, resources and the cache
// bitmap.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/CacheBitmap.h"
#include "core/FileHelpers.h"
#include "core/PngResource.h"
#include "core/ProgramFolder.h"
#include "core/StringConv.h"
#include "core/SystemHelpers.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

using namespace testkit;

namespace {

std::string Owned(char* p)
{
    std::unique_ptr<char[]> hold(p);
    return p ? std::string(p) : std::string("<null>");
}

TEST(StringConvTest, RunsUnderTheChineseCodePage)
{
    ASSERT_EQ(936u, GetACP());
}

TEST(StringConvTest, ConvertsBetweenGbkUtf8AndWide)
{
    const std::string gbk = "中文标题 ABC";  // GBK: the sources compile to it
    const std::string utf8 = u8"中文标题 ABC";
    ASSERT_NE(gbk, utf8);
    EXPECT_EQ(utf8, Owned(AnsiToUtf8(gbk.c_str())));
    EXPECT_EQ(gbk, Owned(Utf8ToAnsi(utf8.c_str())));
    EXPECT_EQ(gbk, Owned(WideToAnsiAlloc(L"中文标题 ABC")));
    EXPECT_EQ(gbk, WideToAnsiString(L"中文标题 ABC"));
    EXPECT_EQ(utf8, AnsiToUtf8String(gbk));
    EXPECT_EQ(gbk, Utf8ToAnsiString(utf8));
    EXPECT_EQ(L"中文标题 ABC", AnsiToWide(gbk));
}

TEST(StringConvTest, EmptyAndNullInputs)
{
    EXPECT_EQ(nullptr, Utf8ToAnsi(nullptr));
    char* empty = AnsiToUtf8("");
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ('\0', empty[0]);
    delete[] empty;
    EXPECT_EQ("", Owned(Utf8ToAnsi("")));
    EXPECT_EQ("", WideToAnsiString(L""));
    EXPECT_EQ("", WideToAnsiString(nullptr));
    EXPECT_EQ("", Utf8ToAnsiString(""));
}

TEST(StringConvTest, TruncateNeverSplitsADoubleByteCharacter)
{
    const std::string face = "微软雅黑";  // 8 bytes of GBK
    struct Case {
        size_t max;
        std::string want;
    } cases[] = {{0, ""},       {1, ""},         {2, "微"},        {3, "微"},
                 {7, "微软雅"}, {8, "微软雅黑"}, {31, "微软雅黑"}, {5, "微软"}};
    for (const Case& c : cases) EXPECT_EQ(c.want, TruncateAnsi(face, c.max)) << c.max;
    EXPECT_EQ("a微", TruncateAnsi("a微软", 4));
    EXPECT_EQ("abc", TruncateAnsi("abcdef", 3));
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningExe)
{
    std::string folder = GetProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE('\\', folder.back());
    EXPECT_EQ(TestBinDir(), folder);
    EXPECT_EQ(folder + "\\plugins\\x264\\x264vfw.dll", GetX264VfwDllPath());
    EXPECT_EQ(folder + "\\plugins\\xvid32\\xvidvfw.dll", GetXvidVfwDllPath());
}

class FileHelpersTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = MakeTempDir("files"); }
    std::string Path(const std::string& name) { return dir_ + "\\" + name; }
    std::string dir_;
};

TEST_F(FileHelpersTest, PngSizeComesFromTheHeaderAndFailuresAreTold)
{
    // 3x2 RGBA picture.
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(145), "png");
    ASSERT_NE(nullptr, res);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, res)));
    std::string png(bytes, SizeofResource(nullptr, res));
    WriteFile(Path("ok.png"), png);
    std::string notPng = png;
    notPng[1] = 'X';
    WriteFile(Path("not.png"), notPng);
    WriteFile(Path("short.png"), png.substr(0, 20));
    std::string wrongChunk = png;
    wrongChunk.replace(12, 4, "IDAT");
    WriteFile(Path("chunk.png"), wrongChunk);

    struct Case {
        const char* name;
        int result;
        unsigned w, h;
    } cases[] = {{"ok.png", kPngSizeOk, 3, 2},
                 {"not.png", kPngNotPng, 0, 0},
                 {"short.png", kPngNotPng, 0, 0},
                 {"chunk.png", kPngNotPng, 0, 0},
                 {"missing.png", kPngCannotOpen, 0, 0}};
    for (const Case& c : cases) {
        unsigned w = 77, h = 77;
        EXPECT_EQ(c.result, GetPNGWidthHeight(Path(c.name).c_str(), &w, &h)) << c.name;
        EXPECT_EQ(c.w, w) << c.name;
        EXPECT_EQ(c.h, h) << c.name;
    }
}

TEST_F(FileHelpersTest, FileLength)
{
    WriteFile(Path("five"), "12345");
    WriteFile(Path("empty"), "");
    EXPECT_EQ(5u, GetFileLength(Path("five")));
    EXPECT_EQ(0u, GetFileLength(Path("empty")));
    EXPECT_EQ(0u, GetFileLength(Path("missing")));
}

TEST_F(FileHelpersTest, VersionText)
{
    int a = -1, b = -1, c = -1, d = -1;
    EXPECT_EQ("1.0.0.0",
              GetFileVersionString((ProgramDir() + "\\Orbisk.exe").c_str(), &a, &b, &c, &d));
    EXPECT_EQ(1, a);
    EXPECT_EQ(0, d);

    WriteFile(Path("plain.txt"), "no resources here");
    a = b = c = d = -7;
    EXPECT_EQ("", GetFileVersionString(Path("plain.txt").c_str(), &a, &b, &c, &d));
    EXPECT_EQ(-7, a);
    EXPECT_EQ(-7, b);
    EXPECT_EQ(-7, c);
    EXPECT_EQ(-7, d);
}

TEST(FileExtensionTest, TextAfterTheLastDot)
{
    struct Case {
        const char* name;
        const char* ext;
    } cases[] = {{"a.avi", "avi"},
                 {"a.b.png", "png"},
                 {"noext", ""},
                 {"ends.", ""},
                 {".hidden", "hidden"},
                 {"", ""},
                 {"C:\\x.y\\z.MP4", "MP4"}};
    for (const Case& c : cases) EXPECT_EQ(c.ext, GetFileExtension(c.name)) << c.name;
}

TEST_F(FileHelpersTest, DeleteFolderTreeRemovesNestedFoldersAndReadOnlyFiles)
{
    std::string root = Path("work");
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub\\deeper").c_str(), nullptr));
    WriteFile(root + "\\~vintratemp_Cut1.avi", "x");
    WriteFile(root + "\\sub\\中文.txt", "y");
    WriteFile(root + "\\sub\\deeper\\ro.txt", "z");
    SetFileAttributesA((root + "\\sub\\deeper\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(DeleteFolderTree(root.c_str()));
    EXPECT_FALSE(FileExists(root));
    EXPECT_FALSE(DeleteFolderTree(root.c_str()));  // already gone
}

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

class GdiplusSession {
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput in;
        ok_ = Gdiplus::GdiplusStartup(&token_, &in, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession()
    {
        if (ok_) Gdiplus::GdiplusShutdown(token_);
    }
    bool ok() const { return ok_; }

private:
    ULONG_PTR token_ = 0;
    bool ok_ = false;
};

TEST(PngResourceTest, LoadsTheImageAndItsPixels)
{
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    Gdiplus::Image* image = nullptr;
    ASSERT_EQ(1u,
              LoadPngResourceImage(&image, FindResourceA(nullptr, MAKEINTRESOURCEA(145), "png")));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(3u, image->GetWidth());
    EXPECT_EQ(2u, image->GetHeight());
    Gdiplus::Color c;
    ASSERT_EQ(Gdiplus::Ok, static_cast<Gdiplus::Bitmap*>(image)->GetPixel(1, 0, &c));
    EXPECT_EQ(0xFF00FF00u, c.GetValue());
    delete image;

    Gdiplus::Image* untouched = reinterpret_cast<Gdiplus::Image*>(0x1234);
    EXPECT_EQ(0u, LoadPngResourceImage(&untouched, nullptr));
    EXPECT_EQ(reinterpret_cast<Gdiplus::Image*>(0x1234), untouched);
}

TEST(CacheBitmapTest, CopiesTheRectangleAndReplacesThePreviousBitmap)
{
    HDC screen = GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HBITMAP sourceBitmap = CreateCompatibleBitmap(screen, 40, 30);
    HGDIOBJ oldSource = SelectObject(source, sourceBitmap);
    RECT all = {0, 0, 40, 30};
    FillRect(source, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SetPixel(source, 10, 5, RGB(255, 0, 0));
    HDC target = CreateCompatibleDC(screen);

    CopyDcRectToCacheBitmap(source, target, 10, 5, 8, 6);
    HBITMAP first = g_hCacheBitmap;
    ASSERT_NE(nullptr, first);
    BITMAP bm;
    ASSERT_TRUE(GetObjectA(first, sizeof bm, &bm));
    EXPECT_EQ(8, bm.bmWidth);
    EXPECT_EQ(6, bm.bmHeight);
    HGDIOBJ old = SelectObject(target, first);
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(target, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target, 1, 1));
    SelectObject(target, old);

    CopyDcRectToCacheBitmap(source, target, 0, 0, 4, 4);
    EXPECT_NE(nullptr, g_hCacheBitmap);
    EXPECT_FALSE(GetObjectA(first, sizeof bm, &bm));  // the first one is deleted

    SelectObject(source, oldSource);
    DeleteObject(sourceBitmap);
    DeleteDC(source);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
}

}  // namespace
