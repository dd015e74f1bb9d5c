// Strings, attribute values and delegates.
#include <gtest/gtest.h>

#include "UiTestUtil.h"

using namespace DuiLib;

TEST(CDuiString, EditingOperations)
{
    CDuiString s("record_time_lb");
    EXPECT_EQ(7, s.Find('t'));
    EXPECT_EQ(7, s.Find("time"));
    EXPECT_EQ(-1, s.Find("time", 8));
    EXPECT_EQ(-1, s.Find('x', 99));
    EXPECT_EQ(11, s.ReverseFind('_'));
    EXPECT_STREQ("record", s.Left(6));
    EXPECT_STREQ("time_lb", s.Mid(7));
    EXPECT_STREQ("ti", s.Mid(7, 2));
    EXPECT_STREQ("", s.Mid(50));
    EXPECT_STREQ("lb", s.Right(2));
    EXPECT_STREQ("record_time_lb", s.Right(99));

    CDuiString r("a.a.a");
    EXPECT_EQ(3, r.Replace("a", "aa"));  // the replacement is not scanned again
    EXPECT_STREQ("aa.aa.aa", r);
    EXPECT_EQ(0, r.Replace("", "x"));

    CDuiString f;
    f.Format("file='%s' dest='0,0,%d,%d'", "bk.png", 180, 35);
    EXPECT_STREQ("file='bk.png' dest='0,0,180,35'", f);
    EXPECT_TRUE(CDuiString("abc") + "def" == "abcdef");
    EXPECT_TRUE("x" + CDuiString("y") == "xy");
    EXPECT_TRUE(CDuiString().IsEmpty());
    EXPECT_STREQ("", CDuiString(static_cast<LPCSTR>(nullptr)));
}

TEST(CDuiString, CaseFoldingLeavesDoubleByteCharactersAlone)
{
    EXPECT_EQ(0, CDuiString("CloseBtn").CompareNoCase("closebtn"));
    EXPECT_NE(0, CDuiString("closebtn").CompareNoCase("closebtn2"));
    // In GBK the second byte of a character may look like a letter: 0x81 0x41
    // and 0x81 0x61 are different characters.
    EXPECT_NE(0, CDuiString("\x81\x41").CompareNoCase("\x81\x61"));
    CDuiString upper("\x81\x61z");
    upper.MakeUpper();
    EXPECT_STREQ("\x81\x61Z", upper);
}

TEST(CDuiString, ConvertsBetweenUtf8AndTheAnsiCodePage)
{
    ASSERT_EQ(936u, GetACP()) << "the tests run in the Chinese code page";
    EXPECT_EQ(std::string("\xc4\xe3\xba\xc3"), Utf8ToAnsi(u8"你好"));  // GBK bytes
    EXPECT_EQ(std::string(u8"你好"), AnsiToUtf8("\xc4\xe3\xba\xc3"));
    EXPECT_EQ(std::wstring(L"你好"), AnsiToWide("你好"));
}

TEST(AttributeValues, ParseOrKeepTheDefault)
{
    RECT rc = {9, 9, 9, 9};
    EXPECT_TRUE(ParseRect("1, 2,3 ,4", &rc));
    EXPECT_EQ(1, rc.left);
    EXPECT_EQ(4, rc.bottom);
    EXPECT_TRUE(ParseRect("-5,0,0,3", &rc));
    EXPECT_EQ(-5, rc.left);
    for (const char* bad : {"1,2,3", "1,2,3,4,5", "a,b,c,d", "", "1;2;3;4"}) {
        RECT keep = {7, 7, 7, 7};
        EXPECT_FALSE(ParseRect(bad, &keep)) << bad;
        EXPECT_EQ(7, keep.left) << bad;
    }
    SIZE sz;
    EXPECT_TRUE(ParseSize("550,150", &sz));
    EXPECT_EQ(550, sz.cx);
    EXPECT_EQ(150, sz.cy);

    struct {
        const char* text;
        bool ok;
        DWORD value;
    } colors[] = {
        {"#FF212121", true, 0xFF212121},
        {"#212121", true, 0xFF212121},
        {"#4F000000", true, 0x4F000000},
        {"0xA0FF0000", true, 0xA0FF0000},
        {"16777215", true, 0x00FFFFFF},
        {"#GG000000", false, 0},
        {"", false, 0},
        {"#", false, 0},
    };
    for (auto& c : colors) {
        DWORD v = 0;
        EXPECT_EQ(c.ok, ParseColor(c.text, &v)) << c.text;
        if (c.ok) {
            EXPECT_EQ(c.value, v) << c.text;
        }
    }
    EXPECT_TRUE(ParseBool("true"));
    EXPECT_TRUE(ParseBool("TRUE"));
    EXPECT_FALSE(ParseBool("yes"));
    EXPECT_FALSE(ParseBool(nullptr));
}

namespace {

struct Counter {
    int calls = 0;
    bool answer = true;
    bool OnEvent(void*)
    {
        ++calls;
        return answer;
    }
};

int g_staticCalls = 0;
bool StaticHandler(void*)
{
    ++g_staticCalls;
    return true;
}

}  // namespace

TEST(Delegates, AddRemoveAndStop)
{
    Counter a, b;
    CEventSource source;
    EXPECT_FALSE(static_cast<bool>(source));
    source += MakeDelegate(&a, &Counter::OnEvent);
    source += MakeDelegate(&a, &Counter::OnEvent);  // once only
    source += MakeDelegate(&b, &Counter::OnEvent);
    source += StaticHandler;
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(1, a.calls);
    EXPECT_EQ(1, b.calls);
    EXPECT_EQ(1, g_staticCalls);

    a.answer = false;  // stops the rest
    EXPECT_FALSE(source(nullptr));
    EXPECT_EQ(2, a.calls);
    EXPECT_EQ(1, b.calls);

    source -= MakeDelegate(&a, &Counter::OnEvent);
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(2, a.calls);
    EXPECT_EQ(2, b.calls);
}
