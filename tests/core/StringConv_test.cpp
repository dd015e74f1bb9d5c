// Conversions between GBK, UTF-8 and UTF-16 under the real code page 936.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/StringConv.h"

#include <memory>

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

}  // namespace
