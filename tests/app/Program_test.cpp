// The real Orbisk.exe under Wine: start-up, one instance, the crash dump,
// the main window's message hub, tray menu and close road. The program's
// settings live in the user's application-data folder; each test starts
// without them and puts the user's file back afterwards.
#include "ProgramTestFixture.h"

#include <tinyxml.h>

#include <map>
#include <string>
#include <vector>

namespace {

using namespace programtest;

TEST_F(ProgramTest, StartsItsMainWindowAndWritesTheSettings)
{
    ASSERT_NE(nullptr, Start());
    RECT rc;
    GetWindowRect(main_, &rc);
    EXPECT_EQ(550, rc.right - rc.left);
    EXPECT_EQ(150, rc.bottom - rc.top);
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_EQ(0x96CA0000u, (DWORD)GetWindowLongA(main_, GWL_STYLE) & 0xFFFF0000u);
    EXPECT_TRUE(GetWindowLongA(main_, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    TiXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(config_.c_str())) << config_;
    ASSERT_NE(nullptr, doc.RootElement());
    EXPECT_STREQ("vintracfg", doc.RootElement()->Value());
    TiXmlElement* skin = doc.RootElement()->FirstChildElement("SelectSkin");
    ASSERT_NE(nullptr, skin);
    EXPECT_STREQ("mainui_back7.png", skin->Attribute("value"));

    // Idle: the LED time (the font ships with the program), start and pause
    // buttons, nothing over the window.
    std::map<std::string, std::string> frame = Frame();
    EXPECT_EQ("1", frame["led"]);
    EXPECT_EQ("Orbisk", frame["tip"]);
    EXPECT_EQ("0", frame["timer2"]);
    EXPECT_EQ("mainui_back7.png", frame["skin"]);
    EXPECT_EQ("mainui_back7.png", Control("main_layout").fields["bkimage"]);
    const struct {
        const char* name;
        bool shown;
    } idle[] = {{"record_time_lb_led", true},
                {"record_time_lb", false},
                {"begin_record_btn", true},
                {"stop_record_btn", false},
                {"pause_record_btn", true},
                {"pause_change_btn", false},
                {"cover", false},
                {"assistant_layout", false},
                {"update_btn", false},
                {"speakerNormal", true},
                {"speakerMute", false},
                {"microphoneMute", true},
                {"microphoneNormal", false},
                {"show_count_down_btn", false}};
    for (const auto& c : idle) EXPECT_EQ(c.shown, Control(c.name).shown) << c.name;
    EXPECT_EQ("00 : 00 : 00", Control("record_time_lb_led").text);
    EXPECT_EQ("开始/停止录制 F7", Control("begin_record_btn").fields["tooltip"]);
    EXPECT_EQ("快速截屏 F10", Control("capture_screen_btn").fields["tooltip"]);

    // Escape does not close the main window.
    PostMessageA(main_, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(500);
    EXPECT_TRUE(IsWindow(main_));

    EXPECT_FALSE(SaveWindowScreenshot(main_, "main_window_idle").empty());
}

TEST_F(ProgramTest, WithoutTheLedFontTheTimeShowsInThePlainLabel)
{
    // A program folder without "res\\font".
    const std::string copy = work_ + "\\program";
    for (const char* dir : {"", "\\plugins", "\\plugins\\x264", "\\plugins\\xvid32"})
        CreateDirectoryA((copy + dir).c_str(), nullptr);
    for (const char* file : {"\\Orbisk.exe", "\\CamHook.dll", "\\lame_enc.dll", "\\vintx.exe",
                             "\\plugins\\x264\\x264vfw.dll"})
        ASSERT_TRUE(CopyFileA((ProgramDir() + file).c_str(), (copy + file).c_str(), FALSE)) << file;

    ASSERT_NE(nullptr, Start("", copy));
    EXPECT_EQ("0", Frame()["led"]);
    UiControl plain = Control("record_time_lb");
    EXPECT_TRUE(plain.shown);
    EXPECT_EQ("00:00:00", plain.text);
    EXPECT_FALSE(Control("record_time_lb_led").shown);
    EXPECT_FALSE(SaveWindowScreenshot(main_, "main_window_plain_time").empty());

    PostMessageA(main_, 0x5401, 0, 0);
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    PostMessageA(main_, 0x5402, 0, 0);
    ASSERT_TRUE(WaitShown("begin_record_btn", true));
    EXPECT_EQ("00:00:00", Control("record_time_lb").text);
}

TEST_F(ProgramTest, SecondStartShowsTheFirstWindowAndLeaves)
{
    ASSERT_NE(nullptr, Start());
    // Into the tray: hidden until someone asks for it.
    ASSERT_TRUE(probe_.Click(main_, "tyaybtn"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 5000));

    // A double click on the tray icon brings it back, and so does a second start.
    PostMessageA(main_, 0x66, 101, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 5000));
    ASSERT_TRUE(probe_.Click(main_, "tyaybtn"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 5000));

    Process second;
    ASSERT_TRUE(second.Start(ProgramDir() + "\\Orbisk.exe", "", work_));
    EXPECT_EQ(0, second.Wait(30000));
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_FALSE(IsIconic(main_));
    EXPECT_EQ(1, CountMainWindows());
    EXPECT_TRUE(program_.Running());
}

TEST_F(ProgramTest, HotKeyConflictShowsInTheHelpStripForFiveSeconds)
{
    // Another program holds F8 and F10 before Orbisk starts.
    const std::string ready = work_ + "\\holder.txt";
    Process holder;
    ASSERT_TRUE(holder.Start(TestBinDir() + "\\hotkey_holder.exe", "\"" + ready + "\""));
    ASSERT_TRUE(WaitForFile(ready, 10000));
    ASSERT_EQ("ok", ReadFile(ready));

    ASSERT_NE(nullptr, Start());
    UiControl strip =
        probe_.WaitFor(main_, "assistant_layout", [](const UiControl& c) { return c.shown; });
    ASSERT_TRUE(strip.shown);
    DWORD shownAt = GetTickCount();
    // Both keys by their names, in table order; the screenshot's name ends
    // in a blank of its own.
    EXPECT_EQ("快捷键 “暂停/恢复”|“截屏”  冲突，请设置快捷键", Control("assistant_lb").text);

    ASSERT_FALSE(
        probe_
            .WaitFor(
                main_, "assistant_layout", [](const UiControl& c) { return !c.shown; }, 10000)
            .shown);
    DWORD shownFor = GetTickCount() - shownAt;
    EXPECT_GE(shownFor, 4000u);
    EXPECT_LE(shownFor, 7000u);
    holder.Kill();
}

TEST_F(ProgramTest, TestCrashSwitchWritesACrashDump)
{
    const std::string dump = work_ + "\\CRASH.DMP";
    ASSERT_TRUE(program_.Start(ProgramDir() + "\\Orbisk.exe", "--test-crash", work_));
    // Writing the dump walks every module: slow on a slow machine.
    EXPECT_NE(-1, program_.Wait(120000)) << "the process ended";
    ASSERT_TRUE(FileExists(dump));
    EXPECT_EQ("MDMP", ReadFile(dump).substr(0, 4));
    EXPECT_EQ(0, CountMainWindows());
}

TEST_F(ProgramTest, AsAUserStartsItTheProgramIgnoresTheTestProbesAndTheCrashSwitch)
{
    // Started without the harness's switch, as from Explorer.
    ASSERT_TRUE(SetEnvironmentVariableA("ORBISK_TEST_HOOKS", nullptr));
    bool started = program_.Start(ProgramDir() + "\\Orbisk.exe", "--test-crash", work_);
    SetEnvironmentVariableA("ORBISK_TEST_HOOKS", "1");
    ASSERT_TRUE(started);
    main_ = WaitForWindow(kClass, kTitle, 30000, program_.Id());
    ASSERT_NE(nullptr, main_) << "no crash: the switch is ignored";
    Sleep(1000);
    EXPECT_TRUE(program_.Running());
    EXPECT_FALSE(FileExists(work_ + "\\CRASH.DMP"));
    // Neither the controls nor the main window answer a probe.
    EXPECT_FALSE(probe_.Query(main_, "begin_record_btn", 2000).answered);
    EXPECT_TRUE(Frame().empty());
    CamHookCounters counters = {};
    EXPECT_FALSE(ReadCamHookCounters(program_.Id(), &counters)) << "no counters published";
    // The window itself is the normal one, and closes as ever.
    RECT rc;
    GetWindowRect(main_, &rc);
    EXPECT_EQ(550, rc.right - rc.left);
    PostMessageA(main_, 0x42C, 0, 0);
    EXPECT_EQ(0, program_.Wait(20000));
}

TEST_F(ProgramTest, ATestGivesTheRunningProgramTheAnswersOfItsNextDialogs)
{
    ASSERT_NE(nullptr, Start());
    EXPECT_EQ("0", Frame()["dialog_answers"]);
    EXPECT_TRUE(AnswerNextDialog(main_, "folder", true, "C:\\录像"));
    LOGFONTA font = {};
    strcpy(font.lfFaceName, "宋体");
    font.lfHeight = -14;
    EXPECT_TRUE(AnswerNextDialog(main_, "font", true, "", RGB(1, 2, 3), &font));
    EXPECT_FALSE(AnswerNextDialog(main_, "printer", true)) << "no such dialog";
    EXPECT_EQ("2", Frame()["dialog_answers"]);
}

TEST_F(ProgramTest, RecordingStartAndStopSwitchTheWindowAndTheMouseHook)
{
    ASSERT_NE(nullptr, Start());
    EXPECT_EQ(0, Hook().installed);

    PostMessageA(main_, 0x5401, 0, 0);
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    EXPECT_FALSE(Control("begin_record_btn").shown);
    // The probe can be answered while the handler still talks to the shell.
    EXPECT_TRUE(WaitUntil([&] { return Hook().installed == 1; }, 5000));
    CamHookCounters hook = Hook();
    EXPECT_EQ(1, hook.installCalls);
    EXPECT_EQ(1, hook.installed);
    EXPECT_EQ("1", Frame()["timer2"]);

    // The pause blink swaps the two pause buttons.
    PostMessageA(main_, 0x404, 1, 0);
    EXPECT_TRUE(WaitShown("pause_change_btn", true));
    EXPECT_FALSE(Control("pause_record_btn").shown);
    PostMessageA(main_, 0x404, 0, 0);
    EXPECT_TRUE(WaitShown("pause_record_btn", true));
    EXPECT_FALSE(Control("pause_change_btn").shown);

    // A timed start's ticks blink its indicator; wParam 1 ends it.
    PostMessageA(main_, 0x402, 0, 0);
    EXPECT_TRUE(WaitShown("show_count_down_btn", true));
    EXPECT_EQ("00:00:00", Control("record_time_lb_led").text);
    PostMessageA(main_, 0x402, 0, 0);
    EXPECT_TRUE(WaitShown("show_count_down_btn", false));
    PostMessageA(main_, 0x402, 0, 0);
    EXPECT_TRUE(WaitShown("show_count_down_btn", true));
    PostMessageA(main_, 0x402, 1, 0);
    EXPECT_TRUE(WaitShown("show_count_down_btn", false));

    PostMessageA(main_, 0x5402, 0, 0);
    ASSERT_TRUE(WaitShown("begin_record_btn", true));
    EXPECT_FALSE(Control("stop_record_btn").shown);
    EXPECT_TRUE(WaitUntil([&] { return Hook().installed == 0; }, 5000));
    hook = Hook();
    EXPECT_EQ(1, hook.uninstallCalls);
    EXPECT_EQ(0, hook.installed);
    std::map<std::string, std::string> frame = Frame();
    EXPECT_EQ("0", frame["timer2"]);
    EXPECT_EQ("Orbisk", frame["tip"]);
    EXPECT_EQ("00 : 00 : 00", Control("record_time_lb_led").text);

    // A status tick that arrives after the stop changes nothing.
    PostMessageA(main_, 0x401, 0, 0);
    Sleep(300);
    EXPECT_EQ("Orbisk", Frame()["tip"]);
    EXPECT_EQ("00 : 00 : 00", Control("record_time_lb_led").text);
}

TEST_F(ProgramTest, StatusTicksShowTheRecordingTimeInTheLabelAndTheTrayTip)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    // Hot key 1 (F7) starts a recording.
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    UiControl time = probe_.WaitFor(
        main_, "record_time_lb_led",
        [](const UiControl& c) { return c.text.size() == 12 && c.text > "00 : 00 : 01"; }, 10000);
    EXPECT_EQ(0u, time.text.find("00 : 00 : 0")) << time.text;
    EXPECT_TRUE(WaitUntil([&] { return Frame()["tip"].find("录制时长:00:00:0") == 0; }, 5000));
    std::string tip = Frame()["tip"];
    EXPECT_NE(std::string::npos, tip.find("大小:")) << tip;
    EXPECT_EQ("1", Frame()["timer2"]);
    EXPECT_EQ(1, Hook().installed);

    // The recording minimised the window; a user brings it back to look.
    ShowWindow(main_, SW_RESTORE);
    SetForegroundWindow(main_);
    Sleep(700);
    EXPECT_FALSE(SaveWindowScreenshot(main_, "main_window_recording").empty());
    // And as it looks while a recording is saved.
    Frame(kMainFrameProbeShowCover);
    ASSERT_TRUE(WaitShown("cover", true));
    std::string cover = Control("cover").text;
    EXPECT_NE(std::string::npos, cover.find("正在保存，请稍后..."));
    // The settings name no mode: the recording's default, the game mode.
    EXPECT_NE(std::string::npos, cover.find("“游戏模式”更流畅")) << cover;
    Sleep(300);
    EXPECT_FALSE(SaveWindowScreenshot(main_, "main_window_saving").empty());
    Frame(kMainFrameProbeHideCover);
    ASSERT_TRUE(WaitShown("cover", false));

    std::map<std::string, std::string> menu = OpenTrayMenu();
    EXPECT_EQ("grayed", menu["menu_159"]);
    EXPECT_EQ("enabled", menu["menu_160"]);
    EXPECT_EQ("enabled", menu["menu_161"]);

    // F7 again stops it; the video goes into the save folder.
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("begin_record_btn", true));
    EXPECT_EQ("00 : 00 : 00", Control("record_time_lb_led").text);
    EXPECT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 1; }, 30000));
}

TEST_F(ProgramTest, ClosingWhileRecordingSavesTheRecordingFirst)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    Sleep(3000);
    ASSERT_TRUE(VideosIn(save).empty());

    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, program_.Wait(120000));
    std::vector<std::string> videos = VideosIn(save);
    ASSERT_EQ(1u, videos.size());
    std::map<std::string, std::string> video = Probe(videos[0], "v:0", "codec_name,duration");
    EXPECT_EQ("h264", video["codec_name"]);
    EXPECT_GT(atof(video["duration"].c_str()), 2.0) << videos[0];
}

TEST_F(ProgramTest, InterruptedRecordingTakesTheCoverDownAndTellsTheUser)
{
    ASSERT_NE(nullptr, Start());
    PostMessageA(main_, 0x5401, 0, 0);
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    PostMessageA(main_, RegisterWindowMessageA("WM_USER_RECORDINTERRUPTED_MSG"), 0, 0);

    HWND box = WaitForWindow("MessageBoxWindow", nullptr, 10000, program_.Id());
    ASSERT_NE(nullptr, box);
    UiControl text =
        probe_.WaitFor(box, "showtext", [](const UiControl& c) { return !c.text.empty(); });
    EXPECT_NE(std::string::npos, text.text.find("录制失败")) << text.text;
    EXPECT_FALSE(Control("cover").shown);
    // The window is back in its idle state, the mouse hook off.
    EXPECT_TRUE(WaitShown("begin_record_btn", true));
    EXPECT_TRUE(WaitUntil([&] { return Hook().installed == 0; }, 5000));
    ASSERT_TRUE(probe_.Click(box, "ok_btn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
}

TEST_F(ProgramTest, TrayMenuOffersStartWhileIdleAndStopWhileRecording)
{
    ASSERT_NE(nullptr, Start());
    std::map<std::string, std::string> idle = OpenTrayMenu();
    EXPECT_EQ("enabled", idle["menu_159"]);
    EXPECT_EQ("enabled", idle["menu_160"]);
    EXPECT_EQ("grayed", idle["menu_161"]);
    EXPECT_EQ("enabled", idle["menu_163"]);
    EXPECT_TRUE(program_.Running()) << "dismissing the menu does nothing";

    // After the shell restarts the icon comes back with its tip.
    int adds = atoi(Frame()["tray_adds"].c_str());
    PostMessageA(main_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return atoi(Frame()["tray_adds"].c_str()) == adds + 1; }, 5000));
    std::map<std::string, std::string> frame = Frame();
    EXPECT_EQ("1", frame["tray_added"]);
    EXPECT_EQ("Orbisk", frame["tip"]);
}

TEST_F(ProgramTest, CloseMessageEndsTheProgramWithItsSettingsSaved)
{
    ASSERT_NE(nullptr, Start());
    PostMessageA(main_, 0x42C, 0, 0);
    EXPECT_EQ(0, program_.Wait(30000));
    EXPECT_EQ(0, CountMainWindows());
    // What start-up wrote is on disk, whole.
    TiXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(config_.c_str()));
    for (const char* element :
         {"videoSavePath", "WaterMarkPath", "Caption", "TextFont", "SelectSkin"})
        EXPECT_NE(nullptr, doc.RootElement()->FirstChildElement(element)) << element;
}

}  // namespace
