// The real Orbisk.exe under Wine, driven as a user drives it: hot keys
// pressed on the keyboard, buttons clicked with the mouse, the tray menu
// chosen with the keys. What comes out is checked in the save folder.
#include "ProgramTestFixture.h"
#include "ScreenWindow.h"

#include <cctype>
#include <cstdlib>

namespace {

using namespace programtest;

// One key pressed and released, as the keyboard sends it.
void PressKey(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// A left click at a point of the screen, with the mouse.
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

std::vector<std::string> FilesIn(const std::string& folder, const char* pattern)
{
    std::vector<std::string> found;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return found;
    do found.push_back(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return found;
}

bool IsTimeStampName(const std::string& name)
{
    // "YYYYMMDD_HHMM_SS.png"
    const char shape[] = "dddddddd_dddd_dd.png";
    if (name.size() != sizeof shape - 1) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (shape[i] == 'd' ? !isdigit((unsigned char)name[i]) : name[i] != shape[i]) return false;
    return true;
}

struct Video {
    std::string codec;
    int width = 0, height = 0;
    long frames = 0;  // the stream's length: a frame grabbed late leaves a gap
    double duration = 0;
};

Video ProbeVideo(const std::string& path)
{
    Video v;
    auto f = Probe(path, "v:0", "codec_name,width,height,nb_frames,duration");
    v.codec = f["codec_name"];
    v.width = atoi(f["width"].c_str());
    v.height = atoi(f["height"].c_str());
    v.frames = atol(f["nb_frames"].c_str());
    v.duration = atof(f["duration"].c_str());
    return v;
}

// Stretches of at least 1.2 s in which the picture did not change (the two
// paused seconds recorded; frames of a slow machine are a few tenths apart).
int FrozenStretches(const std::string& path)
{
    LinuxResult r = RunLinux("ffmpeg -nostdin -v info -i " + ShellQuote(UnixPath(path)) +
                                 " -vf freezedetect=n=0.001:d=1.2 -map 0:v -f null - 2>&1 | "
                                 "grep -c freeze_start",
                             120000);
    return atoi(r.out.c_str());
}

class CommandsTest : public ProgramTest {
protected:
    // A mouse click on a control, and proof that the window has handled it:
    // a pause blink posted behind the click (posted messages keep their
    // order) shows only once the click's messages are done.
    void ClickAndSettle(const char* name)
    {
        ASSERT_TRUE(probe_.Click(main_, name)) << name;
        PostMessageA(main_, 0x404, 1, 0);
        ASSERT_TRUE(WaitShown("pause_change_btn", true)) << name;
        PostMessageA(main_, 0x404, 0, 0);
        ASSERT_TRUE(WaitShown("pause_record_btn", true)) << name;
    }

    // The recording display: stop instead of start, timer 2 running.
    bool WaitRecordingDisplay()
    {
        return WaitShown("stop_record_btn", true) && !Control("begin_record_btn").shown &&
               WaitUntil([&] { return Frame()["timer2"] == "1"; }, 5000);
    }
    // And back: start shown, the time and the tray tip reset.
    bool WaitIdleDisplay()
    {
        return WaitShown("begin_record_btn", true) && !Control("stop_record_btn").shown &&
               WaitUntil([&] { return Frame()["timer2"] == "0"; }, 5000) &&
               Frame()["tip"] == "Orbisk" && Control("record_time_lb_led").text == "00 : 00 : 00";
    }

    // The one video a recording left in the save folder.
    Video SavedVideo(const std::string& save)
    {
        EXPECT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 1; }, 60000));
        std::vector<std::string> videos = VideosIn(save);
        if (videos.size() != 1) return Video();
        // The join is done when the file stops growing.
        long long size = -1;
        while (FileSize(videos[0]) != size) {
            size = FileSize(videos[0]);
            Sleep(500);
        }
        return ProbeVideo(videos[0]);
    }

    // The screen's size in the file: the whole screen, even width and height.
    void ExpectWholeScreenAsRecorded(const Video& v, DWORD recordedMs)
    {
        EXPECT_EQ("h264", v.codec);
        EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN) & ~1, v.width);
        EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN) & ~1, v.height);
        EXPECT_GE(recordedMs, 4000u);
        EXPECT_NEAR(recordedMs / 40.0, v.frames, 3);
    }

    // Opens the tray menu and chooses its entry `position` (0 the first) with
    // the arrow keys and Enter.
    void ChooseFromTrayMenu(int position)
    {
        PostMessageA(main_, 0x66, 101, WM_RBUTTONDOWN);
        HWND menu = WaitForWindow("#32768", nullptr, 5000, program_.Id());
        ASSERT_NE(nullptr, menu);
        for (int i = 0; i <= position; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
    }
};

TEST_F(CommandsTest, HotKeyOneRecordsTheWholeScreenUntilPressedAgain)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    PressKey(VK_F7);
    ASSERT_TRUE(WaitRecordingDisplay());
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(main_) != FALSE; }, 5000));
    ASSERT_TRUE(WaitRecorded(4000));
    PressKey(VK_F7);
    EXPECT_TRUE(WaitIdleDisplay());
    ExpectWholeScreenAsRecorded(SavedVideo(save), RecordedMs());
}

TEST_F(CommandsTest, StartButtonClickedWithTheMouseRecordsLikeTheHotKey)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    SetForegroundWindow(main_);
    auto centre = [&](const char* name) {
        RECT pos = Control(name).pos;
        POINT at = {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
        ClientToScreen(main_, &at);
        return at;
    };
    ClickAt(centre("begin_record_btn"));
    ASSERT_TRUE(WaitRecordingDisplay());
    ASSERT_TRUE(WaitRecorded(4000));
    // The start minimised the window; the user brings it back to stop.
    ShowWindow(main_, SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(main_); }, 5000));
    Sleep(300);
    ClickAt(centre("stop_record_btn"));
    EXPECT_TRUE(WaitIdleDisplay());
    Video v = SavedVideo(save);
    EXPECT_EQ("h264", v.codec);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN) & ~1, v.width);
    // The restore and the click are recorded too.
    EXPECT_GE(RecordedMs(), 4000u);
    EXPECT_NEAR(RecordedMs() / 1000.0, v.duration, 0.3);
}

TEST_F(CommandsTest, TrayMenuStartsAndStopsARecording)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    ChooseFromTrayMenu(0);  // 159 "开始录制"
    ASSERT_TRUE(WaitRecordingDisplay());
    ASSERT_TRUE(WaitRecorded(4000));
    ChooseFromTrayMenu(2);  // 161 "停止录制"
    EXPECT_TRUE(WaitIdleDisplay());
    Video v = SavedVideo(save);
    EXPECT_EQ("h264", v.codec);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN) & ~1, v.height);
    // Opening the menu and picking the entry are recorded too.
    EXPECT_GE(RecordedMs(), 4000u);
    EXPECT_NEAR(RecordedMs() / 1000.0, v.duration, 0.3);
}

TEST_F(CommandsTest, HotKeyTwoPausesAndResumesWithoutAPausedStretch)
{
    const std::string save = PrepareRecordingSettings();
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    ScreenWindow moving(ScreenWindow::Picture::Moving, screen);
    ASSERT_NE(nullptr, Start());
    PressKey(VK_F7);
    ASSERT_TRUE(WaitRecordingDisplay());
    ASSERT_TRUE(WaitRecorded(2000));
    PressKey(VK_F8);
    // The pause blinks: the two pause buttons take turns.
    EXPECT_TRUE(WaitShown("pause_change_btn", true));
    EXPECT_TRUE(WaitShown("pause_record_btn", true));
    EXPECT_TRUE(WaitShown("pause_change_btn", true));
    Sleep(2000);
    PressKey(VK_F8);
    EXPECT_TRUE(WaitShown("pause_record_btn", true));
    Sleep(700);
    EXPECT_TRUE(Control("pause_record_btn").shown) << "the blink ended with the pause";
    EXPECT_FALSE(Control("pause_change_btn").shown);
    ASSERT_TRUE(WaitRecorded(4000));
    PressKey(VK_F7);
    EXPECT_TRUE(WaitIdleDisplay());
    const DWORD recorded = RecordedMs();

    std::vector<std::string> videos;
    ASSERT_TRUE(WaitUntil([&] { return (videos = VideosIn(save)).size() == 1; }, 60000));
    Video v = SavedVideo(save);
    // The paused second is in neither.
    EXPECT_NEAR(recorded / 1000.0, v.duration, 0.3);
    EXPECT_NEAR(recorded / 40.0, v.frames, 7);
    EXPECT_EQ(0, FrozenStretches(videos[0]));
}

TEST_F(CommandsTest, HotKeyFiveSavesTheScreenAsPng)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    RECT place = {40, 60, 40 + 320, 60 + 240};
    ScreenWindow pattern(ScreenWindow::Picture::Pattern, place);
    PressKey(VK_F10);
    ASSERT_TRUE(WaitUntil([&] { return FilesIn(save, "*.png").size() == 1; }, 10000));
    std::string name = FilesIn(save, "*.png")[0];
    EXPECT_TRUE(IsTimeStampName(name)) << name;
    ASSERT_TRUE(WaitForFile(save + "\\" + name, 5000, 1000));
    Sleep(300);

    DecodedImage shot = DecodeImage(save + "\\" + name);
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), shot.width);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), shot.height);
    int wrong = 0;
    for (int y = 0; y < 240; y += 3)
        for (int x = 0; x < 320; x += 3)
            if (shot.At(place.left + x, place.top + y) != ScreenWindow::PatternAt(x, y)) ++wrong;
    EXPECT_EQ(0, wrong) << "pixels of the test window that differ";
    EXPECT_TRUE(IsWindowVisible(main_)) << "the full-screen shot leaves the window alone";

    // Two presses within one second: two files, neither overwritten.
    PressKey(VK_F10);
    PressKey(VK_F10);
    EXPECT_TRUE(WaitUntil([&] { return FilesIn(save, "*.png").size() == 3; }, 10000))
        << FilesIn(save, "*.png").size();
}

TEST_F(CommandsTest, ModeButtonsWhileRecordingAskBeforeStopping)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitRecordingDisplay());
    // The start minimised the window; the user brings it back.
    ShowWindow(main_, SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(main_); }, 5000));
    Sleep(300);

    // Cancel leaves the recording running.
    ASSERT_TRUE(probe_.Click(main_, "record_fullscreen_btn"));
    EXPECT_EQ("如果您要更改录制模式，当前录制将会停止，您确定要继续？", AnswerSystemBox(IDCANCEL));
    Sleep(500);
    EXPECT_TRUE(Control("stop_record_btn").shown);
    EXPECT_TRUE(VideosIn(save).empty());

    ASSERT_TRUE(probe_.Click(main_, "record_area_btn"));
    AnswerSystemBox(IDCANCEL);
    Sleep(500);
    EXPECT_TRUE(Control("stop_record_btn").shown);

    // OK on the region button's question stops and saves it.
    ASSERT_TRUE(probe_.Click(main_, "record_window_btn"));
    EXPECT_EQ("如果您要更改录制模式，当前录制将会停止，您确定要继续？", AnswerSystemBox(IDOK));
    EXPECT_TRUE(WaitIdleDisplay());
    EXPECT_EQ("h264", SavedVideo(save).codec);
}

TEST_F(CommandsTest, ButtonsThatOpenNoWindowChangeNothing)
{
    ASSERT_NE(nullptr, Start());
    std::vector<HWND> before = WindowsOfProcess(program_.Id());
    for (const char* name : {"record_fullscreen_btn", "assistant_btn"}) {
        ClickAndSettle(name);
        EXPECT_TRUE(IsWindowVisible(main_)) << name;
        EXPECT_FALSE(IsIconic(main_)) << name;
        EXPECT_EQ(before.size(), WindowsOfProcess(program_.Id()).size()) << name;
    }
    EXPECT_TRUE(Control("begin_record_btn").shown);
}

TEST_F(CommandsTest, FloatingBarAndZoomKeysAndUnknownIds)
{
    ASSERT_NE(nullptr, Start());
    EXPECT_EQ("1", Frame()["float_shown"]);
    PressKey(VK_F11);
    EXPECT_TRUE(WaitUntil([&] { return Frame()["float_shown"] == "0"; }, 5000));
    PressKey(VK_F11);
    EXPECT_TRUE(WaitUntil([&] { return Frame()["float_shown"] == "1"; }, 5000));

    EXPECT_EQ("0", Frame()["zoom_tick"]);
    SetCursorPos(321, 234);
    Sleep(100);
    DWORD before = GetTickCount();
    PressKey(VK_F6);
    ASSERT_TRUE(WaitUntil([&] { return Frame()["zoom_tick"] != "0"; }, 5000));
    std::map<std::string, std::string> frame = Frame();
    EXPECT_EQ("321", frame["zoom_x"]);
    EXPECT_EQ("234", frame["zoom_y"]);
    EXPECT_LE(before, strtoul(frame["zoom_tick"].c_str(), nullptr, 10));

    // Ids outside 1 to 6 are no hot keys of the program.
    PostMessageA(main_, WM_HOTKEY, 0, 0);
    PostMessageA(main_, WM_HOTKEY, 7, 0);
    Sleep(500);
    EXPECT_TRUE(Control("begin_record_btn").shown);
    EXPECT_EQ("1", Frame()["float_shown"]);
}

}  // namespace
