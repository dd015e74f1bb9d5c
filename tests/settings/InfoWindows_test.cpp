// The information windows of the real program: the guide another program
// asks for with 0x42B, the main window's "menubtn" with its tips and about
// window, and the two popups of the floating bar, driven with the mouse.
#include "ProgramTestFixture.h"
#include "settings/GuidePages.h"

#include <cstdio>

namespace {

using namespace programtest;

// The pointer moved as the mouse moves it: the input brings the window under
// it its mouse messages, the X pointer is what the program's GetCursorPos
// reads.
void MoveMouse(POINT to)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = (to.x * 65536 + 65535) / GetSystemMetrics(SM_CXSCREEN);
    in.mi.dy = (to.y * 65536 + 65535) / GetSystemMetrics(SM_CYSCREEN);
    SetCursorPos(to.x, to.y);
    SendInput(1, &in, sizeof(INPUT));
    Sleep(60);
}

void Button(DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(INPUT));
    Sleep(60);
}

void ClickAt(POINT at)
{
    MoveMouse(at);
    Sleep(40);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
}

RECT RectOf(HWND window)
{
    RECT rc = {};
    GetWindowRect(window, &rc);
    return rc;
}

POINT Centre(const RECT& rc)
{
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
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

    // Settings for a recording that can run here, the user's keys and the
    // bar at half opacity.
    std::string WriteBarSettings()
    {
        const std::string save = work_ + "\\save";
        CreateDirectoryA(save.c_str(), nullptr);
        WriteFile(config_,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                  "<videoSavePath path=\"" +
                      save +
                      "\" />\n"
                      "<start_countdown countdown=\"0\" />\n"
                      "<rec_speaker rec=\"0\" />\n<rec_micphone rec=\"0\" />\n"
                      "<auto_play_oncomplete auto_play=\"0\" />\n"
                      "<float_wnd_opacity opacity=\"50\" />\n<Hotkey>\n"
                      "<RecordPause vkey=\"80\" fsmod=\"3\" vkeystr=\"Ctrl+Alt+P\" />\n"
                      "<RealtimeGraffiti vkey=\"71\" fsmod=\"3\" vkeystr=\"Ctrl+Alt+G\" />\n"
                      "</Hotkey>\n</vintracfg>\n");
        return save;
    }

    HWND StartWithBar()
    {
        if (!Start()) return nullptr;
        bar_ = WaitForWindow("FloatRecWnd", "FloatRecWnd", 10000, program_.Id());
        if (bar_) probe_.WaitFor(bar_, "play_btn", [](const UiControl& c) { return c.shown; });
        return bar_;
    }

    // A point of the bar away from its buttons: its time.
    POINT OnBarTime() const
    {
        RECT bar = RectOf(bar_);
        return {bar.left + 30, bar.top + 17};
    }

    // The popup of that class the mouse resting on the bar opens.
    HWND RestOnBar(const char* cls)
    {
        MoveMouse(OnBarTime());
        MoveMouse({OnBarTime().x + 2, OnBarTime().y});
        HWND popup = WaitForWindow(cls, nullptr, 5000, program_.Id());
        // What follows must hold once the window system has settled it.
        if (popup) Sleep(300);
        return popup;
    }

    // What the popup owes the bar: beside it with one corner behind it,
    // directly behind it in z-order with the bar left uncovered, as opaque
    // as the bar is set to be, and the keyboard left where it was.
    void ExpectBesideAndBehind(HWND popup, HWND active)
    {
        RECT rc = RectOf(popup), bar = RectOf(bar_), both;
        ASSERT_TRUE(IntersectRect(&both, &rc, &bar));
        EXPECT_EQ(25, both.right - both.left);
        EXPECT_EQ(25, both.bottom - both.top);
        EXPECT_EQ(popup, GetWindow(bar_, GW_HWNDNEXT)) << "directly behind the bar";
        EXPECT_EQ(bar_, WindowFromPoint(Centre(both))) << "the bar stays on top";
        BYTE alpha = 0;
        DWORD flags = 0;
        EXPECT_TRUE(GetLayeredWindowAttributes(popup, nullptr, &alpha, &flags));
        EXPECT_EQ(127, alpha) << "50 per cent";
        EXPECT_EQ(active, GetForegroundWindow());
    }

    HWND bar_ = nullptr;
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

TEST_F(InfoWindowsTest, TheFloatingBarShowsTheKeysWhenIdleAndTheRecordingWhileItRuns)
{
    const std::string save = WriteBarSettings();
    ASSERT_NE(nullptr, StartWithBar());
    const HWND active = GetForegroundWindow();

    // Idle: the keys as the user has set them, the others as they were.
    HWND keys = RestOnBar("StateDetailWnd");
    ASSERT_NE(nullptr, keys);
    ExpectBesideAndBehind(keys, active);
    RECT rc = RectOf(keys), bar = RectOf(bar_);
    EXPECT_LT(rc.left, bar.left) << "left of the bar";
    EXPECT_GT(rc.bottom, bar.bottom) << "below it";
    EXPECT_EQ("录制/停止:F7", probe_.Query(keys, "lab_shortcut_start_rec").text);
    EXPECT_EQ("暂停/恢复:Ctrl+Alt+P", probe_.Query(keys, "lab_shortcut_pause_rec").text);
    EXPECT_EQ("实时涂鸦:Ctrl+Alt+G", probe_.Query(keys, "lab_shortcut_real_graffiti").text);
    EXPECT_FALSE(SaveWindowScreenshot(keys, "state_detail_wnd_beside_bar").empty());
    // Leaving the bar closes it.
    MoveMouse({5, 400});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(keys); }, 5000));

    // Recording: the details, new with every status tick.
    PostMessageA(main_, WM_HOTKEY, 1, 0);
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    HWND details = RestOnBar("RecDetailWnd");
    ASSERT_NE(nullptr, details);
    EXPECT_EQ(nullptr, FindWindowA("StateDetailWnd", nullptr));
    ExpectBesideAndBehind(details, active);
    // From the first tick on (the recording has only just started).
    UiControl time = probe_.WaitFor(details, "detail_lab_rec_time", [](const UiControl& c) {
        return c.text.find("录制时长:00:00:0") == 0;
    });
    UiControl size = probe_.Query(details, "detail_lab_rec_size");
    EXPECT_EQ(0u, time.text.find("录制时长:00:00:0")) << time.text;
    EXPECT_EQ(0u, size.text.find("录制大小: ")) << size.text;
    EXPECT_EQ(0u, probe_.Query(details, "detail_lab_rec_remaining_size").text.find("硬盘空间:"));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return probe_.Query(details, "detail_lab_rec_time").text != time.text &&
                   probe_.Query(details, "detail_lab_rec_size").text != size.text;
        },
        5000))
        << "the time and size follow the recording";
    EXPECT_FALSE(SaveWindowScreenshot(details, "rec_detail_wnd_beside_bar").empty());
    MoveMouse({5, 400});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(details); }, 5000));

    PostMessageA(main_, WM_HOTKEY, 1, 0);
    EXPECT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 1; }, 60000));
}

TEST_F(InfoWindowsTest, NearTheBottomOfTheScreenThePopupSitsAboveTheBar)
{
    WriteBarSettings();
    ASSERT_NE(nullptr, StartWithBar());
    // The bar dragged down to the bottom of the screen, then left and
    // come back to.
    POINT from = OnBarTime();
    MoveMouse(from);
    Button(MOUSEEVENTF_LEFTDOWN);
    const POINT to = {700, GetSystemMetrics(SM_CYSCREEN) - 20};
    for (int i = 1; i <= 8; ++i)
        MoveMouse({from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8});
    Button(MOUSEEVENTF_LEFTUP);
    MoveMouse({5, 400});
    Sleep(300);
    ASSERT_GT(RectOf(bar_).bottom + 110 - 25, GetSystemMetrics(SM_CYSCREEN)) << "at the bottom";
    const HWND active = GetForegroundWindow();

    HWND keys = RestOnBar("StateDetailWnd");
    ASSERT_NE(nullptr, keys);
    ExpectBesideAndBehind(keys, active);
    RECT rc = RectOf(keys), bar = RectOf(bar_);
    EXPECT_LT(rc.top, bar.top) << "above the bar";
    EXPECT_LE(rc.bottom, bar.bottom);
    EXPECT_GE(rc.top, 0);
}

}  // namespace
