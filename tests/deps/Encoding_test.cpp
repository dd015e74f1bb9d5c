// The program keeps its Chinese texts as GBK bytes and hands them to the
// ANSI functions, so the environment must run with code page 936.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

TEST(Encoding, AnsiCodePageIsGbk)
{
    EXPECT_EQ(936u, GetACP());
}

TEST(Encoding, NarrowLiteralsAreCompiledAsGbk)
{
    const std::string song = "宋体";
    EXPECT_EQ(std::string("\xcb\xce\xcc\xe5"), song);
}

TEST(Encoding, GbkLiteralConvertsToTheExpectedUtf16)
{
    const char* text = "正在保存，请稍后...";
    wchar_t wide[64] = {};
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, wide, 64);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::wstring(L"\u6b63\u5728\u4fdd\u5b58\uff0c\u8bf7\u7a0d\u540e..."), std::wstring(wide));
}
