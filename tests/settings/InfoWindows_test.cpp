// The information windows of the real program: the guide another program
// asks for with 0x42B, and the main window's "menubtn" with its tips and
// about window, driven with the mouse.
#include "ProgramTestFixture.h"
#include "settings/GuidePages.h"

#include <cstdio>

namespace {

using namespace programtest;

void ClickAt(POINT at)
{
    SetCursorPos(at.x, at.y);
    Sleep(100);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

std::string Hex8(DWORD v)
{
    char text[9];
    snprintf(text, sizeof text, "%08lX", (unsigned long)v);
    return text;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

std::string RectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

int CountWindows(DWORD pid, const char* cls)
{
    int n = 0;
    for (HWND h : WindowsOfProcess(pid)) {
        char name[64] = {};
        GetClassNameA(h, name, sizeof name);
        if (strcmp(name, cls) == 0 && IsWindowVisible(h)) ++n;
    }
    return n;
}

class InfoWindowsTest : public ProgramTest {
protected:
    // The guide's captions as the window shows them.
    struct Captions {
        std::string top, bottom, topColor, bottomColor, image;
        RECT topRect, bottomRect;
    };
    Captions Read(HWND guide)
    {
        UiControl top = probe_.Query(guide, "top_lab"), bottom = probe_.Query(guide, "bottom_lab");
        return {top.text,
                bottom.text,
                top.fields["textcolor"],
                bottom.fields["textcolor"],
                probe_.Query(guide, "root_layout").fields["bkimage"],
                top.pos,
                bottom.pos};
    }
    bool OnPage(HWND guide, size_t index)
    {
        return Read(guide).image.find(GuidePages()[index].image) != std::string::npos;
    }

    // Opens the tips-and-about menu with a click on "menubtn"; the point
    // clicked.
    HWND OpenMenu(POINT* clicked)
    {
        UiControl button = Control("menubtn");
        POINT at = {(button.pos.left + button.pos.right) / 2,
                    (button.pos.top + button.pos.bottom) / 2};
        ClientToScreen(main_, &at);
        ClickAt(at);
        if (clicked) *clicked = at;
        HWND menu = WaitForWindow("TipsMenuWnd", nullptr, 10000, program_.Id());
        if (menu) probe_.WaitFor(menu, "small_tip_btn", [](const UiControl& c) { return c.shown; });
        return menu;
    }
};

TEST_F(InfoWindowsTest, TheGuideTurnsItsNinePagesWithoutWrappingRound)
{
    ASSERT_NE(nullptr, Start());
    // Another program asks for the guide by the main window's handle.
    PostMessageA(main_, 0x42B, 0, 0);
    HWND guide = WaitForWindow("GuideWindow", nullptr, 10000, program_.Id());
    ASSERT_NE(nullptr, guide);
    ASSERT_TRUE(WaitUntil([&] { return !Read(guide).top.empty(); }, 5000));
    RECT rc;
    GetWindowRect(guide, &rc);
    EXPECT_EQ(680, rc.right - rc.left);
    EXPECT_EQ(370, rc.bottom - rc.top);

    // As it opens: the first page, its captions where the guide first puts them.
    Captions open = Read(guide);
    EXPECT_TRUE(OnPage(guide, 0)) << open.image;
    EXPECT_EQ(GuidePages()[0].top, open.top);
    EXPECT_TRUE(SameRect(RECT{40, 40, 600, 70}, open.topRect)) << RectText(open.topRect);
    EXPECT_TRUE(SameRect(RECT{30, 300, 750, 350}, open.bottomRect)) << RectText(open.bottomRect);
    Sleep(300);
    EXPECT_FALSE(SaveWindowScreenshot(guide, "guide_wnd").empty());

    // Back from the first page: nothing moves.
    ASSERT_TRUE(probe_.Click(guide, "previous_btn"));
    Sleep(300);
    Captions still = Read(guide);
    EXPECT_TRUE(OnPage(guide, 0));
    EXPECT_TRUE(SameRect(open.topRect, still.topRect)) << RectText(still.topRect);

    // Each page by the next button: its picture, captions, colour and places.
    const size_t count = GuidePages().size();
    ASSERT_EQ(9u, count);
    for (size_t i = 1; i < count; ++i) {
        ASSERT_TRUE(probe_.Click(guide, "next_btn"));
        ASSERT_TRUE(WaitUntil([&] { return OnPage(guide, i); }, 5000)) << i;
        const GuidePage& page = GuidePages()[i];
        Captions shown = Read(guide);
        EXPECT_EQ(page.top, shown.top) << i;
        EXPECT_EQ(page.bottom, shown.bottom) << i;
        EXPECT_TRUE(SameRect(page.topRect, shown.topRect)) << i << ": " << RectText(shown.topRect);
        EXPECT_TRUE(SameRect(page.bottomRect, shown.bottomRect))
            << i << ": " << RectText(shown.bottomRect);
        EXPECT_EQ(Hex8(page.textColor), shown.topColor) << i;
        EXPECT_EQ(Hex8(page.textColor), shown.bottomColor) << i;
    }
    EXPECT_EQ("FFFFFFFF", Read(guide).topColor) << "the last page's captions are white";
    Sleep(300);
    EXPECT_FALSE(SaveWindowScreenshot(guide, "guide_wnd_last_page").empty());

    // A ninth click stays on the last page.
    ASSERT_TRUE(probe_.Click(guide, "next_btn"));
    Sleep(300);
    EXPECT_TRUE(OnPage(guide, count - 1));
    EXPECT_EQ(GuidePages()[count - 1].top, Read(guide).top);

    // All the way back: the first page's captions now stand where its row
    // of the page table puts them, in black.
    for (size_t i = count - 1; i > 0; --i) {
        ASSERT_TRUE(probe_.Click(guide, "previous_btn"));
        ASSERT_TRUE(WaitUntil([&] { return OnPage(guide, i - 1); }, 5000)) << i;
    }
    Captions back = Read(guide);
    EXPECT_TRUE(SameRect(RECT{405, 60, 680, 90}, back.topRect)) << RectText(back.topRect);
    EXPECT_EQ("FF000000", back.topColor);

    ASSERT_TRUE(probe_.Click(guide, "closebtn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(guide); }, 5000));
    EXPECT_TRUE(IsWindowVisible(main_));
}

TEST_F(InfoWindowsTest, TheMenuOpensTheTipsWithTheUsersKeysAndOneAboutWindow)
{
    // Keys the user has moved, as the shortcut window saves them.
    WriteFile(config_,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n<Hotkey>\n"
              "<RecordStart vkey=\"112\" fsmod=\"2\" vkeystr=\"Ctrl+F1\" />\n"
              "<RecordPause vkey=\"80\" fsmod=\"3\" vkeystr=\"Ctrl+Alt+P\" />\n"
              "<RealtimeGraffiti vkey=\"71\" fsmod=\"3\" vkeystr=\"Ctrl+Alt+G\" />\n"
              "<Zoom vkey=\"90\" fsmod=\"3\" vkeystr=\"Ctrl+Alt+Z\" />\n"
              "</Hotkey>\n</vintracfg>\n");
    ASSERT_NE(nullptr, Start());
    // Out of the way of the windows the menu opens in the screen's middle
    // (and of Wine's stand-in tray at the top left).
    SetWindowPos(main_, nullptr, 40, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    POINT clicked;
    HWND menu = OpenMenu(&clicked);
    ASSERT_NE(nullptr, menu);
    RECT rc;
    GetWindowRect(menu, &rc);
    EXPECT_EQ(clicked.x, rc.left) << "at the click point";
    EXPECT_EQ(clicked.y, rc.top);
    EXPECT_EQ(180, rc.right - rc.left);
    Sleep(200);
    EXPECT_FALSE(SaveWindowScreenshot(menu, "tips_menu_wnd").empty());

    // "小提示": the tips open and take the focus, and the menu goes.
    ASSERT_TRUE(probe_.Click(menu, "small_tip_btn"));
    HWND tips = WaitForWindow("SmallTipWindow", nullptr, 10000, program_.Id());
    ASSERT_NE(nullptr, tips);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(menu); }, 5000)) << "the menu closed";
    std::string text =
        probe_.WaitFor(tips, "tip_info_lab", [](const UiControl& c) { return !c.text.empty(); })
            .text;
    EXPECT_NE(std::string::npos, text.find("2. Ctrl+Alt+Z 快速打开局部放大功能")) << text;
    EXPECT_NE(std::string::npos, text.find("3. Ctrl+F1 为开始/停止录制快捷键")) << text;
    EXPECT_NE(std::string::npos, text.find("4. Ctrl+Alt+P 为暂停/恢复快捷键")) << text;
    EXPECT_NE(std::string::npos, text.find("5. Ctrl+Alt+G 快速打开实时涂鸦功能")) << text;
    EXPECT_EQ(std::string::npos, text.find("F7 为")) << "not the default key";
    Sleep(200);
    EXPECT_FALSE(SaveWindowScreenshot(tips, "small_tip_wnd").empty());

    // "关于Orbisk", twice: one about window, brought forward.
    for (int i = 0; i < 2; ++i) {
        menu = OpenMenu(nullptr);
        ASSERT_NE(nullptr, menu) << i;
        ASSERT_TRUE(probe_.Click(menu, "about_soft_btn")) << i;
        HWND about = WaitForWindow("AboutSoftWnd", nullptr, 10000, program_.Id());
        ASSERT_NE(nullptr, about) << i;
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(menu); }, 5000)) << i;
    }
    EXPECT_EQ(1, CountWindows(program_.Id(), "AboutSoftWnd"));
    HWND about = WaitForWindow("AboutSoftWnd", nullptr, 1000, program_.Id());
    EXPECT_NE(
        std::string::npos,
        probe_.WaitFor(about, "about_info_lab", [](const UiControl& c) { return !c.text.empty(); })
            .text.find("Orbisk"));
    Sleep(200);
    EXPECT_FALSE(SaveWindowScreenshot(about, "about_soft_wnd").empty());
    ASSERT_TRUE(probe_.Click(about, "closebtn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));

    // A menu left open goes as soon as the user turns to another window.
    menu = OpenMenu(nullptr);
    ASSERT_NE(nullptr, menu);
    UiControl title = Control("title");
    POINT onMain = {title.pos.left + 5, (title.pos.top + title.pos.bottom) / 2};
    ClientToScreen(main_, &onMain);
    ClickAt(onMain);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(menu); }, 5000));
    EXPECT_EQ(1, CountWindows(program_.Id(), "SmallTipWindow")) << "the tips stay open";
}

}  // namespace
