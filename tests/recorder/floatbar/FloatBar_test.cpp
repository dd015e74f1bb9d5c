// The floating recording bar of the real Orbisk.exe under Wine, used as a
// user uses it: clicked, dragged and right-clicked with the mouse, its menu
// chosen with the keys. What comes out is checked on the window (place,
// size, alpha), in the settings file and in the saved video.
#include "tests/app/ProgramTestFixture.h"
#include "ScreenWindow.h"

#include <tinyxml.h>

#include <cstdlib>

namespace {

using namespace programtest;

const char kBarClass[] = "FloatRecWnd";

void PressKey(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// The pointer moved to a point of the screen, as the mouse moves it. Wine
// keeps the pointer in two places: the input sent brings the window under
// it its mouse messages, the X pointer is what a later GetCursorPos of the
// program reads. Both go there.
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

void ClickAt(POINT at, bool right = false)
{
    MoveMouse(at);
    Sleep(100);
    Button(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    Button(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

// The mouse pressed at `from`, moved there in steps and released.
void Drag(POINT from, POINT to)
{
    MoveMouse(from);
    Sleep(100);
    Button(MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 8; ++i)
        MoveMouse({from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8});
    Button(MOUSEEVENTF_LEFTUP);
}

RECT RectOf(HWND window)
{
    RECT rc = {};
    GetWindowRect(window, &rc);
    return rc;
}

std::string Str(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + " " +
           std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top);
}

RECT WorkAreaOf(HWND window)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

// The window's layered alpha; 255 for a window that is not layered.
int AlphaOf(HWND window)
{
    BYTE alpha = 255;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
        return 255;
    return alpha;
}

class FloatBarTest : public ProgramTest {
protected:
    HWND StartWithBar()
    {
        if (!Start()) return nullptr;
        bar_ = WaitForWindow(kBarClass, kBarClass, 10000, program_.Id());
        // Its "windowinit" (opacity, work area) comes after the window.
        if (bar_) probe_.WaitFor(bar_, "play_btn", [](const UiControl& c) { return c.shown; });
        return bar_;
    }

    UiControl BarControl(const char* name) { return probe_.Query(bar_, name); }

    bool WaitBarShown(const char* name, bool shown, DWORD timeoutMs = 5000)
    {
        return probe_
                   .WaitFor(
                       bar_, name, [&](const UiControl& c) { return c.shown == shown; }, timeoutMs)
                   .shown == shown;
    }

    // A point of the bar on the screen, from its client coordinates.
    POINT BarPoint(int x, int y)
    {
        POINT p = {x, y};
        ClientToScreen(bar_, &p);
        return p;
    }

    POINT ControlCentre(const char* name)
    {
        RECT pos = BarControl(name).pos;
        return BarPoint((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
    }

    // The bar's menu, opened by a click on one of its points, and the entry
    // reached with the keys: `path` arrow keys, then Enter.
    void ChooseFromBarMenu(POINT clickAt, bool right, const std::vector<WORD>& path)
    {
        ClickAt(clickAt, right);
        HWND menu = WaitForWindow("#32768", nullptr, 5000, program_.Id());
        ASSERT_NE(nullptr, menu) << "the bar's menu opened";
        // The pointer goes away from the menu and settles first: a move
        // that reaches the menu between two keys takes its selection along.
        MoveMouse({5, GetSystemMetrics(SM_CYSCREEN) - 5});
        Sleep(400);
        for (WORD key : path) {
            PostMessageA(menu, WM_KEYDOWN, key, 0);
            Sleep(50);
        }
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
    }

    static std::vector<WORD> Down(int n, std::vector<WORD> then = {})
    {
        std::vector<WORD> keys(n, VK_DOWN);
        keys.insert(keys.end(), then.begin(), then.end());
        return keys;
    }

    // The element's attribute in the settings file, empty when absent.
    std::string ConfigValue(const char* element, const char* attribute)
    {
        TiXmlDocument doc;
        if (!doc.LoadFile(config_.c_str())) return "";
        for (TiXmlElement* e = doc.RootElement() ? doc.RootElement()->FirstChildElement() : nullptr;
             e; e = e->NextSiblingElement())
            if (e->ValueStr() == element && e->Attribute(attribute)) return e->Attribute(attribute);
        return "";
    }

    bool RestartProgram()
    {
        PostMessageA(main_, 0x42C, 0, 0);
        if (program_.Wait(20000) == -1) return false;
        main_ = bar_ = nullptr;
        return StartWithBar() != nullptr;
    }

    HWND bar_ = nullptr;
};

TEST_F(FloatBarTest, OpensAtTheTopRightOfTheWorkAreaAndKeepsTheOpacityChosenInItsMenu)
{
    ASSERT_NE(nullptr, StartWithBar());
    const RECT work = WorkAreaOf(bar_);
    EXPECT_EQ(Str({work.right - 200, 30, work.right - 20, 65}), Str(RectOf(bar_)));
    EXPECT_TRUE(IsWindowVisible(bar_));
    EXPECT_TRUE(GetWindowLongA(bar_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Sleep(500);
    EXPECT_EQ(main_, GetForegroundWindow()) << "the bar leaves the activation to the main window";
    EXPECT_EQ(178, AlphaOf(bar_)) << "70 % when the settings have no opacity";
    EXPECT_TRUE(BarControl("play_btn").shown);
    EXPECT_FALSE(BarControl("stop_btn").shown);
    EXPECT_TRUE(BarControl("rec_time_led").shown) << "the program has its LED font";
    EXPECT_FALSE(BarControl("rec_time").shown);
    EXPECT_FALSE(SaveWindowScreenshot(bar_, "float_rec_wnd").empty());

    // "更多" -> "透明度" -> "90%".
    ChooseFromBarMenu(ControlCentre("more_btn"), false, Down(7, {VK_RIGHT, VK_DOWN, VK_DOWN,
                                                                 VK_DOWN, VK_DOWN, VK_DOWN,
                                                                 VK_DOWN, VK_DOWN, VK_DOWN}));
    EXPECT_TRUE(WaitUntil([&] { return AlphaOf(bar_) == 229; }, 5000)) << AlphaOf(bar_);
    // The bar takes the opacity first and then saves it.
    EXPECT_TRUE(WaitUntil([&] { return ConfigValue("float_wnd_opacity", "opacity") == "90"; }, 5000))
        << ReadFile(config_);

    ASSERT_TRUE(RestartProgram());
    EXPECT_EQ(229, AlphaOf(bar_)) << "the opacity outlives the program";

    // A value no menu writes (a hand-edited file) is not taken: the bar
    // would be invisible at 0 %.
    std::string text = ReadFile(config_);
    size_t at = text.find("opacity=\"90\"");
    ASSERT_NE(std::string::npos, at);
    text.replace(at, 12, "opacity=\"0\"");
    PostMessageA(main_, 0x42C, 0, 0);
    ASSERT_NE(-1, program_.Wait(20000));
    WriteFile(config_, text);
    ASSERT_NE(nullptr, StartWithBar());
    EXPECT_EQ(178, AlphaOf(bar_));
}

TEST_F(FloatBarTest, ItsButtonsRecordPauseAndStopWithoutAPausedStretch)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, StartWithBar());
    // A picture that changes all the time, clear of the bar.
    const RECT work = WorkAreaOf(bar_);
    ScreenWindow moving(ScreenWindow::Picture::Moving, {0, 100, work.right - 260, work.bottom});

    ClickAt(ControlCentre("play_btn"));
    ASSERT_TRUE(WaitBarShown("stop_btn", true)) << "the bar shows it is recording";
    const DWORD started = GetTickCount();
    EXPECT_FALSE(BarControl("play_btn").shown);
    EXPECT_TRUE(
        WaitUntil([&] { return BarControl("rec_time_led").text.find("00:00:01") == 0; }, 5000))
        << "the main window writes the time into the bar";
    Sleep(200);
    EXPECT_FALSE(SaveWindowScreenshot(bar_, "float_rec_wnd_recording").empty());
    Sleep(2000);

    ClickAt(ControlCentre("pause_btn"));
    EXPECT_TRUE(WaitBarShown("float_pause_change_btn", true)) << "the pause shows";
    const DWORD paused = GetTickCount();
    Sleep(1500);
    // The menu's "暂停" resumes as the button does.
    ChooseFromBarMenu(BarPoint(30, 17), true, Down(5));
    const DWORD resumed = GetTickCount();
    Sleep(700);
    EXPECT_TRUE(BarControl("pause_btn").shown) << "the blink ended with the pause";
    EXPECT_FALSE(BarControl("float_pause_change_btn").shown);
    Sleep(2000);

    ClickAt(ControlCentre("stop_btn"));
    EXPECT_TRUE(WaitBarShown("play_btn", true)) << "back to idle";
    const DWORD stopped = GetTickCount();
    EXPECT_FALSE(BarControl("stop_btn").shown);
    EXPECT_EQ("00:00:00", BarControl("rec_time_led").text);

    std::vector<std::string> videos;
    ASSERT_TRUE(WaitUntil([&] { return (videos = VideosIn(save)).size() == 1; }, 60000));
    long long size = -1;
    while (FileSize(videos[0]) != size) {
        size = FileSize(videos[0]);
        Sleep(500);
    }
    auto v = Probe(videos[0], "v:0", "codec_name,width,duration", true);
    EXPECT_EQ("h264", v["codec_name"]);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN) & ~1, atoi(v["width"].c_str()));
    // The time recorded, the paused stretch left out: at most the time
    // between the bar's clicks (less its start on a slow machine).
    const double expected = ((paused - started) + (stopped - resumed)) / 1000.0;
    const double recorded = RecordedMs() / 1000.0;
    EXPECT_LE(recorded, expected + 1.0);
    EXPECT_GE(recorded, 2.0);
    EXPECT_NEAR(recorded, atof(v["duration"].c_str()), 0.3);
    LinuxResult frozen = RunLinux("ffmpeg -nostdin -v info -i " + ShellQuote(UnixPath(videos[0])) +
                                      " -vf freezedetect=n=0.001:d=1.0 -map 0:v -f null - 2>&1 | "
                                      "grep -c freeze_start",
                                  120000);
    EXPECT_EQ(0, atoi(frozen.out.c_str())) << "no paused stretch in the video";
}

TEST_F(FloatBarTest, DockedAtAnEdgeItBecomesAStripAndComesBackUnderTheMouse)
{
    ASSERT_NE(nullptr, StartWithBar());
    const RECT work = WorkAreaOf(bar_);
    const RECT start = RectOf(bar_);

    // Dragged by its time past the left edge, 200 pixels down.
    Drag(BarPoint(30, 17), {work.left + 5, start.top + 17 + 200});
    EXPECT_EQ(Str({work.left, start.top + 200, work.left + 180, start.top + 235}),
              Str(RectOf(bar_)));
    const int top = start.top + 200;

    MoveMouse({work.left + 600, top + 300});
    EXPECT_TRUE(WaitUntil([&] { return RectOf(bar_).right - RectOf(bar_).left == 3; }, 3000))
        << Str(RectOf(bar_));
    EXPECT_EQ(Str({work.left, top, work.left + 3, top + 35}), Str(RectOf(bar_)));

    MoveMouse({work.left + 1, top + 17});
    MoveMouse({work.left + 1, top + 18});
    EXPECT_TRUE(WaitUntil([&] { return RectOf(bar_).right - RectOf(bar_).left == 180; }, 3000))
        << Str(RectOf(bar_));
    EXPECT_EQ(Str({work.left, top, work.left + 180, top + 35}), Str(RectOf(bar_)));

    // Past the bottom right corner (the pointer ends on the bar, which
    // stops at the edges).
    Drag(BarPoint(30, 17), {work.right - 2, work.bottom - 2});
    EXPECT_EQ(Str({work.right - 180, work.bottom - 35, work.right, work.bottom}), Str(RectOf(bar_)));
    // Docked at the right, it leaves a 5-pixel strip.
    MoveMouse({work.left + 300, work.top + 300});
    EXPECT_TRUE(WaitUntil([&] { return RectOf(bar_).right - RectOf(bar_).left == 5; }, 3000))
        << Str(RectOf(bar_));
    EXPECT_EQ(Str({work.right - 5, work.bottom - 35, work.right, work.bottom}), Str(RectOf(bar_)));
}

TEST_F(FloatBarTest, WhileRecordingItFadesWhenTheMouseRestsElsewhere)
{
    PrepareRecordingSettings();
    ASSERT_NE(nullptr, StartWithBar());
    const POINT away = {300, 500};
    MoveMouse(away);
    PressKey(VK_F7);
    ASSERT_TRUE(WaitBarShown("stop_btn", true));
    DWORD started = GetTickCount();

    ASSERT_TRUE(WaitUntil([&] { return AlphaOf(bar_) == 89; }, 13000)) << AlphaOf(bar_);
    EXPECT_GE(GetTickCount() - started, 9500u) << "not before ten seconds of rest";

    MoveMouse({away.x + 40, away.y + 40});
    EXPECT_TRUE(WaitUntil([&] { return AlphaOf(bar_) == 178; }, 1500)) << AlphaOf(bar_);

    // Faded again, then stopped: idle, the bar is as opaque as chosen.
    ASSERT_TRUE(WaitUntil([&] { return AlphaOf(bar_) == 89; }, 13000)) << AlphaOf(bar_);
    PressKey(VK_F7);
    ASSERT_TRUE(WaitBarShown("play_btn", true));
    EXPECT_EQ(178, AlphaOf(bar_));
}

TEST_F(FloatBarTest, HiddenFromItsMenuItComesBackWithHotKeyThree)
{
    PrepareRecordingSettings();
    ASSERT_NE(nullptr, StartWithBar());
    // "隐藏悬浮窗", the sixth entry.
    ChooseFromBarMenu(BarPoint(30, 17), true, Down(6));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(bar_); }, 5000));
    EXPECT_EQ("0", Frame()["float_shown"]);
    PressKey(VK_F11);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(bar_) != FALSE; }, 5000));
    EXPECT_EQ("1", Frame()["float_shown"]);

    // Hidden again, it comes back when a recording stops; the hot key then
    // hides it at the first press.
    ChooseFromBarMenu(BarPoint(30, 17), true, Down(6));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(bar_); }, 5000));
    PressKey(VK_F7);
    ASSERT_TRUE(WaitBarShown("stop_btn", true));
    Sleep(1000);
    PressKey(VK_F7);
    ASSERT_TRUE(WaitBarShown("play_btn", true));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(bar_) != FALSE; }, 5000));
    EXPECT_EQ("1", Frame()["float_shown"]);
    PressKey(VK_F11);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(bar_); }, 5000));
}

}  // namespace
