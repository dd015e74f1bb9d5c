// Region and window recording in the real Orbisk.exe under Wine, driven
// with the mouse and the keyboard as a user drives them: the picker, the
// flash frame around the recording and the countdown before it. What comes
// out is checked in the saved video and in the program's own state.
#include "ProgramTestFixture.h"
#include "ScreenWindow.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace programtest;

// The mouse and the keyboard, as the hardware sends them; then a moment
// for the program to take them.
void Send(std::vector<INPUT> in, DWORD settle = 40)
{
    SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
    Sleep(settle);
}

INPUT Mouse(DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    return in;
}

INPUT Key(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

void MoveMouse(POINT to)
{
    SetCursorPos(to.x, to.y);
    Send({Mouse(MOUSEEVENTF_MOVE)});
}

void MouseButton(DWORD flags)
{
    Send({Mouse(flags)});
}

// Presses at `from`, moves in steps to `to` and lets go there.
void Drag(POINT from, POINT to, int steps = 8)
{
    MoveMouse(from);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= steps; ++i)
        MoveMouse({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    MouseButton(MOUSEEVENTF_LEFTUP);
}

void DoubleClick(POINT at)
{
    MoveMouse(at);
    Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP), Mouse(MOUSEEVENTF_LEFTDOWN),
          Mouse(MOUSEEVENTF_LEFTUP)},
         100);
}

void PressKey(WORD vk, bool shift = false)
{
    if (shift)
        Send({Key(VK_SHIFT, false), Key(vk, false), Key(vk, true), Key(VK_SHIFT, true)}, 80);
    else
        Send({Key(vk, false), Key(vk, true)}, 80);
}

std::string RectText(const RECT& rc)
{
    char text[64];
    snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", rc.left, rc.top, rc.right, rc.bottom);
    return text;
}

RECT Grown(RECT rc, int by)
{
    InflateRect(&rc, by, by);
    return rc;
}

// Pixels of `frame` inside `area` (frame coordinates) that are not the test
// pattern drawn from `origin` of the frame, within the codec's tolerance.
int PatternMismatches(const DecodedImage& frame, const RECT& area, POINT origin)
{
    int wrong = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            unsigned got = frame.At(x, y),
                     want = ScreenWindow::PatternAt(x - origin.x, y - origin.y);
            for (int shift : {0, 8, 16})
                if (abs((int)((got >> shift) & 0xFF) - (int)((want >> shift) & 0xFF)) > 40) {
                    ++wrong;
                    break;
                }
        }
    return wrong;
}

class RegionRecordingTest : public ProgramTest {
protected:
    // The fixture's recording settings without the cursor's highlight
    // circle, so the pictures show only the screen; `more` goes in too.
    std::string RecordingSettings(int countdown = 0, const std::string& more = "")
    {
        const std::string save = PrepareRecordingSettings();
        std::string cfg = ReadFile(config_);
        cfg.insert(cfg.rfind("</vintracfg>"), "<highter_cursor ishighter=\"0\" />\n" + more);
        const std::string from = "countdown=\"0\"";
        cfg.replace(cfg.find(from), from.size(), "countdown=\"" + std::to_string(countdown) + "\"");
        WriteFile(config_, cfg);
        return save;
    }

    void TearDown() override
    {
        // Whatever a failed check left open goes before the program does.
        if (picker_ && IsWindow(picker_)) PostMessageA(picker_, WM_CLOSE, 0, 0);
        ProgramTest::TearDown();
    }

    // The picker, opened from the main window's button.
    HWND OpenPicker()
    {
        EXPECT_TRUE(probe_.Click(main_, "record_window_btn"));
        picker_ = WaitForWindow("UIScrCaptureFrame", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, picker_) << "the picker opened";
        if (picker_)
            probe_.WaitFor(picker_, "desktopimage", [](const UiControl& c) { return c.found; });
        // Input goes to it once it is the window on the screen.
        WaitUntil([&] {
            HWND at = WindowFromPoint({GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2});
            return at && GetAncestor(at, GA_ROOT) == picker_ && IsWindowVisible(picker_);
        }, 5000);
        Sleep(300);
        return picker_;
    }

    // The selection as the picker's box shows it (the box lies 2 pixels
    // outside it), screen coordinates: the picker covers the screen.
    RECT Selection()
    {
        RECT box = probe_.Query(picker_, "desktopcanvascontainer").pos;
        return Grown(box, -2);
    }
    RECT HoverBorder() { return probe_.Query(picker_, "desktopmaskborder").pos; }

    std::string Capture() { return Frame()["capture"]; }

    bool WaitRecording()
    {
        return WaitShown("stop_record_btn", true) &&
               WaitUntil([&] { return Frame()["timer2"] == "1"; }, 5000);
    }

    void StopAndWaitIdle()
    {
        PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
        EXPECT_TRUE(WaitShown("begin_record_btn", true));
    }

    // The one video a recording left in the save folder, once saved.
    std::string SavedVideo(const std::string& save)
    {
        EXPECT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 1; }, 60000));
        std::vector<std::string> videos = VideosIn(save);
        if (videos.size() != 1) return "";
        long long size = -1;
        while (FileSize(videos[0]) != size) {
            size = FileSize(videos[0]);
            Sleep(500);
        }
        return videos[0];
    }

    HWND FlashFrame() { return WaitForWindow("FlashWnd", nullptr, 5000, program_.Id()); }

    HWND picker_ = nullptr;
};

TEST_F(RegionRecordingTest, DraggedRectangleRecordsItsEvenSizeAndItsPixels)
{
    const std::string save = RecordingSettings();
    const RECT place = {100, 100, 400, 300};
    ScreenWindow pattern(ScreenWindow::Picture::Pattern, place);
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenPicker());

    // Hovering snaps the hole to the window under the cursor; the magnifier
    // follows the cursor.
    MoveMouse({250, 200});
    MoveMouse({252, 202});
    EXPECT_TRUE(WaitUntil([&] { return RectText(HoverBorder()) == RectText(place); }, 3000))
        << RectText(HoverBorder());
    UiControl label = probe_.WaitFor(picker_, "pos_info_label", [](const UiControl& c) {
        return c.text.find(" 300 x 200\n RGB(") == 0;
    });
    EXPECT_TRUE(label.shown);
    EXPECT_EQ(0u, label.text.find(" 300 x 200\n RGB(")) << label.text;
    EXPECT_TRUE(probe_.Query(picker_, "magnifier_ctrl").shown);
    SaveWindowScreenshot(picker_, "region_picker");

    Drag({100, 100}, {401, 301});
    RECT chosen = {100, 100, 401, 301};
    EXPECT_EQ(RectText(chosen), RectText(Selection()));
    EXPECT_FALSE(probe_.Query(picker_, "magnifier_ctrl").shown) << "no magnifier once chosen";

    DoubleClick({250, 200});
    ASSERT_TRUE(WaitRecording());
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(picker_); }, 5000)) << "the picker closed";
    EXPECT_EQ("100,100,400,300", Capture());
    EXPECT_EQ("3", Frame()["record_mode"]);
    EXPECT_EQ("0", Frame()["follow"]) << "a drawn rectangle follows no window";
    HWND frame = FlashFrame();
    ASSERT_NE(nullptr, frame);
    RECT framed;
    GetWindowRect(frame, &framed);
    EXPECT_EQ(RectText(Grown(chosen, 4)), RectText(framed));
    SaveWindowScreenshot(frame, "flash_frame");
    // Its inside is no part of it: clicks there reach the recorded window.
    EXPECT_EQ(pattern.Hwnd(), WindowFromPoint({250, 200}));
    EXPECT_EQ(frame, WindowFromPoint({framed.left + 1, framed.top + 1}));
    Sleep(2000);
    StopAndWaitIdle();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(frame); }, 5000)) << "the frame goes with the recording";

    const std::string video = SavedVideo(save);
    auto v = Probe(video, "v:0", "width,height");
    EXPECT_EQ("300", v["width"]);
    EXPECT_EQ("200", v["height"]);
    // From the first frame on (the picker is gone before it is grabbed).
    for (double at : {0.0, 1.0}) {
        DecodedImage picture = VideoFrame(video, at);
        ASSERT_EQ(300, picture.width);
        EXPECT_LT(PatternMismatches(picture, {0, 0, 300, 200}, {0, 0}), 300 * 200 / 100)
            << "the recording shows the window under the rectangle, unshifted, at " << at;
    }
}

TEST_F(RegionRecordingTest, SnappedWindowIsFollowedUntilTheUserTakesTheFrame)
{
    const std::string save = RecordingSettings();
    const RECT place = {200, 150, 520, 390};
    ScreenWindow window(ScreenWindow::Picture::Moving, place);
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenPicker());

    // Hover, then click without dragging: the snapped window is the choice.
    MoveMouse({360, 270});
    MoveMouse({361, 271});
    ASSERT_TRUE(WaitUntil([&] { return RectText(HoverBorder()) == RectText(place); }, 3000));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(RectText(place), RectText(Selection()));

    // "开始录制" from the picker's menu.
    MoveMouse({300, 200});
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    HWND menu = WaitForWindow("#32768", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, menu);
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitRecording());
    EXPECT_EQ(RectText(place), Capture());
    EXPECT_EQ("1", Frame()["follow"]);
    Sleep(1000);

    const RECT moved = {300, 200, 620, 440};
    DWORD t0 = GetTickCount();
    SetWindowPos(window.Hwnd(), nullptr, moved.left, moved.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return Capture() == RectText(moved); }, 2000)) << Capture();
    // It looks every 20 ms; asking it takes a round trip of its own, longer
    // on a slow machine, so only a follow that waits for something else fails.
    EXPECT_LE(GetTickCount() - t0, 400u) << "the capture rectangle follows at once";
    HWND frame = FlashFrame();
    ASSERT_NE(nullptr, frame);
    RECT framed = {};
    EXPECT_TRUE(WaitUntil(
        [&] {
            return GetWindowRect(frame, &framed) && RectText(framed) == RectText(Grown(moved, 4));
        },
        2000))
        << RectText(framed);
    Sleep(500);

    // The user takes the frame by its top side and drags it past the left
    // edge: it stops at 0, its inside is recorded, and the window no longer
    // pulls it back.
    Drag({460, framed.top + 1}, {60, framed.top + 41}, 8);
    EXPECT_TRUE(WaitUntil([&] { return Frame()["follow"] == "0"; }, 2000));
    GetWindowRect(frame, &framed);
    EXPECT_EQ(RectText({0, 236, 328, 484}), RectText(framed));
    EXPECT_EQ(RectText({4, 240, 324, 480}), Capture());
    SetWindowPos(window.Hwnd(), nullptr, 100, 100, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    EXPECT_EQ(RectText({4, 240, 324, 480}), Capture());
    StopAndWaitIdle();

    auto v = Probe(SavedVideo(save), "v:0", "width,height");
    EXPECT_EQ("320", v["width"]) << "the first frame's size is kept";
    EXPECT_EQ("240", v["height"]);
}

TEST_F(RegionRecordingTest, KeysAndHandlesEditTheChosenSelection)
{
    RecordingSettings();
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenPicker());
    Drag({300, 300}, {500, 400});
    RECT sel = {300, 300, 500, 400};
    ASSERT_EQ(RectText(sel), RectText(Selection()));

    PressKey(VK_LEFT);
    PressKey(VK_UP);
    EXPECT_EQ(RectText({299, 299, 499, 399}), RectText(Selection())) << "arrows move by one";
    PressKey(VK_RIGHT, true);
    PressKey(VK_DOWN, true);
    PressKey(VK_DOWN, true);
    EXPECT_EQ(RectText({299, 299, 500, 401}), RectText(Selection())) << "Shift+arrows resize";

    // Dragged far past the left edge, the box stops at it, its size kept.
    Drag({400, 350}, {10, 360}, 6);
    EXPECT_EQ(RectText({0, 309, 201, 411}), RectText(Selection()));

    // The top-left handle pulled past the bottom-right corner flips the box.
    Drag({0, 309}, {260, 480}, 6);
    EXPECT_EQ(RectText({201, 411, 260, 480}), RectText(Selection()));

    // A right click outside the selection goes back to choosing.
    MoveMouse({700, 600});
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(
        probe_
            .WaitFor(picker_, "desktopcanvascontainer", [](const UiControl& c) { return !c.shown; })
            .found);
    EXPECT_FALSE(probe_.Query(picker_, "desktopcanvascontainer").shown);
    EXPECT_TRUE(probe_.Query(picker_, "desktopmaskborder").shown);
    EXPECT_TRUE(probe_.Query(picker_, "magnifier_ctrl").shown);
    // And while choosing, a right click leaves without recording.
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(picker_); }, 5000));
    EXPECT_TRUE(Control("begin_record_btn").shown);
}

TEST_F(RegionRecordingTest, CountdownShowsTheSecondsAndTheKeysThenClosesBeforeTheFirstFrame)
{
    // A 3 s countdown, and hot keys of the user's own for two of the lines.
    const std::string save =
        RecordingSettings(1,
                          "<Hotkey><RecordStart vkey=\"118\" fsmod=\"2\" vkeystr=\"Ctrl+F7\" />"
                          "<Zoom vkey=\"117\" fsmod=\"4\" vkeystr=\"Shift+F6\" /></Hotkey>\n");
    // The countdown window comes up in the middle of the screen, over this.
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const RECT place = {cx / 2 - 200, cy / 2 - 120, cx / 2 + 200, cy / 2 + 120};
    ScreenWindow pattern(ScreenWindow::Picture::Pattern, place);
    ASSERT_NE(nullptr, Start());

    PostMessageA(main_, WM_HOTKEY, 1, 0);
    HWND countdown = WaitForWindow("CountDownWnd", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, countdown);
    EXPECT_EQ("开始/停止: Ctrl+F7", probe_
                                        .WaitFor(countdown, "mic_status_lb",
                                                 [](const UiControl& c) { return !c.text.empty(); })
                                        .text);
    EXPECT_EQ("暂停/恢复: F8", probe_.Query(countdown, "speaker_status_lb").text);
    EXPECT_EQ("实时涂鸦: F9", probe_.Query(countdown, "gratific_lb").text);
    EXPECT_EQ("局部放大: Shift+F6", probe_.Query(countdown, "rec_model_lb").text);
    SaveWindowScreenshot(countdown, "countdown_wnd");

    // Each number as it first shows, and when.
    std::vector<std::pair<std::string, DWORD>> shown;
    while (IsWindow(countdown)) {
        UiControl c = probe_.Query(countdown, "countdown_lb", 1000);
        if (c.answered && c.found && (shown.empty() || shown.back().first != c.text))
            shown.push_back({c.text, GetTickCount()});
        Sleep(10);
    }
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ("3", shown[0].first);
    EXPECT_EQ("2", shown[1].first);
    EXPECT_EQ("1", shown[2].first);
    // "3" may first be seen late (the window answers once it is up); the
    // change to "2" and on are seen as they happen.
    EXPECT_LE((int)(shown[1].second - shown[0].second), 1250);
    EXPECT_NEAR(1000, (int)(shown[2].second - shown[1].second), 250);
    ASSERT_TRUE(WaitRecording());
    Sleep(1500);
    StopAndWaitIdle();

    // The very first frame shows what lay under the countdown window.
    const std::string video = SavedVideo(save);
    DecodedImage first = VideoFrame(video, 0);
    ASSERT_GT(first.width, 0);
    RECT box;
    SetRect(&box, cx / 2 - 125, cy / 2 - 60, cx / 2 + 125, cy / 2 + 60);
    EXPECT_LT(PatternMismatches(first, box, {place.left, place.top}), 250 * 120 / 100);
}

}  // namespace
