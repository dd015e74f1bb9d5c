// The settings window of the real program, opened from the main window's
// "设置" button: it shows what the configuration holds without writing it,
// and each choice is kept and used by the next recording at once.
#include "ProgramTestFixture.h"

#include <cstdlib>

namespace {

using namespace programtest;

const char* const kRecordingCombos[] = {"rec_frame_rate_combox", "select_codec_type_combox",
                                        "select_video_qulity_combox", "rec_mode_type_combox"};

std::string RegText(HKEY root, const char* key, const char* value)
{
    char text[512] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(root, key, value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "";
    return text;
}

DWORD RegDword(HKEY root, const char* key, const char* value)
{
    DWORD v = 0, size = sizeof v;
    RegGetValueA(root, key, value, RRF_RT_REG_DWORD, nullptr, &v, &size);
    return v;
}

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kX264Key[] = "SoftWare\\GNU\\x264";

class SettingsWindowTest : public ProgramTest {
protected:
    void TearDown() override
    {
        ProgramTest::TearDown();
        HKEY run;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "Orbisk");
            RegCloseKey(run);
        }
    }

    HWND OpenSettings()
    {
        EXPECT_TRUE(probe_.Click(main_, "expand_btn"));
        HWND w = WaitForWindow("ExpandToolWindow", nullptr, 10000, program_.Id());
        // Filled once its "windowinit" has run.
        if (w) probe_.WaitFor(w, "about_lab", [](const UiControl& c) { return !c.text.empty(); });
        return w;
    }

    int Cursel(HWND w, const char* name)
    {
        return atoi(probe_.Query(w, name).fields["cursel"].c_str());
    }

    // Every recording combo enabled, or every one disabled.
    bool WaitRecordingCombos(HWND w, bool enabled)
    {
        return WaitUntil(
            [&] {
                for (const char* name : kRecordingCombos)
                    if (probe_.Query(w, name).enabled != enabled) return false;
                return true;
            },
            10000);
    }
};

TEST_F(SettingsWindowTest, OpeningShowsTheSavedSettingsAndWritesNothing)
{
    WriteFile(config_,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
              "<start_countdown countdown=\"2\" />\n<farme_rate rate=\"15\" />\n"
              "<codec_type type=\"1\" />\n<video_qulity qulity=\"1\" />\n<rec_mode mode=\"1\" />\n"
              "<hide_float_wnd hide=\"1\" />\n<save_img_type type=\"2\" />\n</vintracfg>\n");
    ASSERT_NE(nullptr, Start());
    // What start-up itself added is the file the window must leave alone.
    const std::string before = ReadFile(config_);
    RECT mainClient;
    GetClientRect(main_, &mainClient);
    POINT corner = {0, mainClient.bottom};
    ClientToScreen(main_, &corner);

    HWND w = OpenSettings();
    ASSERT_NE(nullptr, w);
    RECT rc;
    GetWindowRect(w, &rc);
    EXPECT_EQ(550, rc.right - rc.left);
    EXPECT_EQ(200, rc.bottom - rc.top);
    EXPECT_EQ(corner.x, rc.left) << "at the main window's bottom-left corner";
    EXPECT_EQ(corner.y, rc.top);

    EXPECT_EQ(2, Cursel(w, "start_rec_countdown_combox"));
    EXPECT_EQ("6秒", probe_.Query(w, "start_rec_countdown_combox").text);
    EXPECT_EQ(2, Cursel(w, "save_img_type_combox"));
    EXPECT_EQ("1", probe_.Query(w, "fullscreen_rec_hide_float_wnd_opt").fields["selected"]);
    EXPECT_EQ(1, Cursel(w, "rec_frame_rate_combox"));
    EXPECT_EQ(1, Cursel(w, "select_codec_type_combox"));
    EXPECT_EQ(1, Cursel(w, "select_video_qulity_combox"));
    EXPECT_EQ("性能优先模式", probe_.Query(w, "rec_mode_type_combox").text);
    EXPECT_EQ(before, ReadFile(config_));

    // Each tab by its option, each kept as a screenshot.
    const struct {
        const char* option;
        const char* shot;
    } tabs[] = {{"conventional_btn", "settings_general"},
                {"av_setting_btn", "settings_recording"},
                {"about_btn", "settings_about"}};
    for (int page : {1, 2, 0}) {
        ASSERT_TRUE(probe_.Click(w, tabs[page].option));
        EXPECT_TRUE(WaitUntil([&] { return Cursel(w, "tabs") == page; }, 5000)) << page;
        Sleep(200);
        EXPECT_FALSE(SaveWindowScreenshot(w, tabs[page].shot).empty());
    }
    EXPECT_NE(std::string::npos, probe_.Query(w, "about_lab").text.find("Orbisk"));
    EXPECT_EQ(before, ReadFile(config_));

    // The two options without a setting of their own act on Windows: the
    // user's start-up entry, and the main window on top.
    ASSERT_TRUE(probe_.Click(w, "auto_start_opt"));
    EXPECT_TRUE(WaitUntil([&] { return !RegText(HKEY_CURRENT_USER, kRunKey, "Orbisk").empty(); },
                          5000));
    EXPECT_EQ("\"" + ProgramDir() + "\\Orbisk.exe\"", RegText(HKEY_CURRENT_USER, kRunKey, "Orbisk"));
    ASSERT_TRUE(probe_.Click(w, "auto_start_opt"));
    EXPECT_TRUE(WaitUntil([&] { return RegText(HKEY_CURRENT_USER, kRunKey, "Orbisk").empty(); },
                          5000));
    ASSERT_TRUE(probe_.Click(w, "main_frame_mosttop_opt"));
    EXPECT_TRUE(WaitUntil(
        [&] { return (GetWindowLongA(main_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5000));
    EXPECT_EQ(before, ReadFile(config_));

    // Unticking the hide option is kept.
    ASSERT_TRUE(probe_.Click(w, "fullscreen_rec_hide_float_wnd_opt"));
    EXPECT_TRUE(WaitUntil(
        [&] { return ReadFile(config_).find("<hide_float_wnd hide=\"0\"") != std::string::npos; },
        5000));

    // Its close button closes it; the main window stays.
    ASSERT_TRUE(probe_.Click(w, "closebtn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 5000));
    EXPECT_TRUE(IsWindowVisible(main_));
}

TEST_F(SettingsWindowTest, ChoicesAreKeptAndTheNextRecordingUsesThem)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    HWND w = OpenSettings();
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(0, Cursel(w, "start_rec_countdown_combox"));
    EXPECT_EQ(2, Cursel(w, "rec_frame_rate_combox"));

    ASSERT_TRUE(probe_.Select(w, "start_rec_countdown_combox", "6秒"));
    ASSERT_TRUE(probe_.Click(w, "av_setting_btn"));
    ASSERT_TRUE(probe_.Select(w, "rec_frame_rate_combox", "流畅 15fps"));
    ASSERT_TRUE(probe_.Select(w, "select_video_qulity_combox", "超清"));
    ASSERT_TRUE(probe_.Select(w, "rec_mode_type_combox", "性能优先模式"));
    std::string cfg = ReadFile(config_);
    EXPECT_NE(std::string::npos, cfg.find("<start_countdown countdown=\"2\"")) << cfg;
    EXPECT_NE(std::string::npos, cfg.find("<farme_rate rate=\"15\"")) << cfg;
    EXPECT_NE(std::string::npos, cfg.find("<video_qulity qulity=\"1\"")) << cfg;
    EXPECT_NE(std::string::npos, cfg.find("<rec_mode mode=\"1\"")) << cfg;
    // The compressor's settings follow at once.
    EXPECT_EQ(150u, RegDword(HKEY_CURRENT_USER, kX264Key, "ratefactor"));
    EXPECT_EQ("superfast", RegText(HKEY_CURRENT_USER, kX264Key, "preset"));

    // The next recording counts down from six.
    DWORD pressed = GetTickCount();
    PostMessageA(main_, WM_HOTKEY, 1, 0);
    ASSERT_TRUE(probe_
                    .WaitFor(
                        main_, "stop_record_btn", [](const UiControl& c) { return c.shown; },
                        15000)
                    .shown);
    DWORD countdown = GetTickCount() - pressed;
    EXPECT_GE(countdown, 5800u);
    EXPECT_LE(countdown, 8500u);

    // While it records, the recording settings cannot change; the general
    // ones can.
    EXPECT_TRUE(WaitRecordingCombos(w, false));
    EXPECT_TRUE(probe_.Query(w, "recording_note_lab").shown);
    EXPECT_TRUE(probe_.Query(w, "start_rec_countdown_combox").enabled);
    EXPECT_FALSE(SaveWindowScreenshot(w, "settings_recording_locked").empty());
    ASSERT_TRUE(WaitRecorded(3000));
    PostMessageA(main_, WM_HOTKEY, 1, 0);
    EXPECT_TRUE(WaitRecordingCombos(w, true));
    EXPECT_FALSE(probe_.Query(w, "recording_note_lab").shown);
    EXPECT_TRUE(IsWindow(w)) << "open throughout";

    ASSERT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 1; }, 60000));
    std::string video = VideosIn(save)[0];
    long long size = -1;
    while (FileSize(video) != size) {
        size = FileSize(video);
        Sleep(500);
    }
    // At the chosen rate, as long as the recording counted.
    auto v = Probe(video, "v:0", "r_frame_rate,nb_frames,duration");
    EXPECT_EQ("15/1", v["r_frame_rate"]);
    double duration = atof(v["duration"].c_str());
    EXPECT_NEAR(RecordedMs() / 1000.0, duration, 0.3);
    EXPECT_NEAR(15 * duration, atof(v["nb_frames"].c_str()), 3);
}

}  // namespace
