// The microphone and speaker windows, the shortcut window and the skin
// chooser in the real Orbisk.exe under Wine, driven with clicks, key presses
// and the mouse as a user drives them, and checked in the settings file, in
// what the main window shows and in the recordings that follow.
#include "ProgramTestFixture.h"

#include <audioclient.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdlib>

namespace {

using namespace programtest;

// The settings file's attribute (UTF-8 as written); empty when absent.
std::string Setting(const std::string& config, const char* element, const char* attribute)
{
    TiXmlDocument d;
    std::string text = ReadFile(config);
    d.Parse(text.c_str());
    TiXmlElement* root = d.FirstChildElement("vintracfg");
    TiXmlElement* e = root ? root->FirstChildElement(element) : nullptr;
    const char* v = e ? e->Attribute(attribute) : nullptr;
    return v ? v : "";
}

// An attribute of hot key 1 in the settings file ("Hotkey/RecordStart").
std::string RecordKey(const std::string& config, const char* attribute)
{
    TiXmlDocument d;
    std::string text = ReadFile(config);
    d.Parse(text.c_str());
    TiXmlElement* root = d.FirstChildElement("vintracfg");
    TiXmlElement* group = root ? root->FirstChildElement("Hotkey") : nullptr;
    TiXmlElement* e = group ? group->FirstChildElement("RecordStart") : nullptr;
    const char* v = e ? e->Attribute(attribute) : nullptr;
    return v ? v : "";
}

// The capture endpoints the system lists, and the first one's volume (the
// one the program selects first) as a whole percentage.
struct Endpoints {
    int count = 0;
    int firstPercent = -1;
};
Endpoints CaptureEndpoints()
{
    Endpoints e;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IMMDeviceEnumerator* enumerator = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                __uuidof(IMMDeviceEnumerator), (void**)&enumerator)))
        return e;
    IMMDeviceCollection* devices = nullptr;
    if (SUCCEEDED(enumerator->EnumAudioEndpoints(eCapture, DEVICE_STATE_ACTIVE, &devices))) {
        UINT n = 0;
        devices->GetCount(&n);
        e.count = (int)n;
        IMMDevice* first = nullptr;
        if (n > 0 && SUCCEEDED(devices->Item(0, &first))) {
            IAudioEndpointVolume* volume = nullptr;
            float level = 0;
            if (SUCCEEDED(first->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                          (void**)&volume)) &&
                SUCCEEDED(volume->GetMasterVolumeLevelScalar(&level)))
                e.firstPercent = (int)(level * 100.0);
            if (volume) volume->Release();
            first->Release();
        }
        devices->Release();
    }
    enumerator->Release();
    return e;
}

void PressKey(WORD vk, WORD modifier = 0)
{
    INPUT in[4] = {};
    int n = 0;
    auto key = [&](WORD k, DWORD flags) {
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = k;
        in[n].ki.dwFlags = flags;
        ++n;
    };
    if (modifier) key(modifier, 0);
    key(vk, 0);
    key(vk, KEYEVENTF_KEYUP);
    if (modifier) key(modifier, KEYEVENTF_KEYUP);
    SendInput(n, in, sizeof(INPUT));
}

POINT Centre(const UiControl& c)
{
    return POINT{(c.pos.left + c.pos.right) / 2, (c.pos.top + c.pos.bottom) / 2};
}

class SkinSoundTest : public ProgramTest {
protected:
    // A settings file of the test's own: recordings into a folder of the
    // test, without a countdown, without system sound (it cannot be
    // captured under Wine), with or without the microphone.
    std::string WriteSettings(bool microphone, const std::string& more = "")
    {
        const std::string save = work_ + "\\save";
        CreateDirectoryA(save.c_str(), nullptr);
        WriteFile(config_, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                           "<videoSavePath path=\"" + save + "\" />\n"
                           "<start_countdown countdown=\"0\" />\n"
                           "<rec_speaker rec=\"0\" />\n<rec_micphone rec=\"" +
                               std::string(microphone ? "1" : "0") + "\" />\n" + more +
                               "<auto_play_oncomplete auto_play=\"0\" />\n</vintracfg>\n");
        return save;
    }

    HWND OpenFromMain(const char* button, const char* windowClass)
    {
        EXPECT_TRUE(probe_.Click(main_, button)) << button;
        HWND window = WaitForWindow(windowClass, nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, window) << windowClass;
        if (window) probe_.WaitFor(window, "closebtn", [](const UiControl& c) { return c.shown; });
        return window;
    }

    bool WaitSetting(const char* element, const char* attribute, const std::string& value)
    {
        return WaitUntil([&] { return Setting(config_, element, attribute) == value; }, 15000);
    }

    bool WaitGone(HWND window)
    {
        return WaitUntil([&] { return !IsWindow(window); }, 5000);
    }

    // Records for about `seconds`, started and stopped by `press`; the
    // saved video.
    std::string Record(const std::string& save, double seconds, const std::function<void()>& press)
    {
        const size_t before = VideosIn(save).size();
        press();
        EXPECT_TRUE(WaitShown("stop_record_btn", true)) << "the recording started";
        Sleep((DWORD)(seconds * 1000));
        press();
        EXPECT_TRUE(WaitShown("begin_record_btn", true));
        EXPECT_TRUE(WaitUntil([&] { return VideosIn(save).size() > before; }, 60000));
        std::vector<std::string> videos = VideosIn(save);
        if (videos.size() <= before) return "";
        std::sort(videos.begin(), videos.end());
        long long size = -1;
        while (FileSize(videos.back()) != size) {
            size = FileSize(videos.back());
            Sleep(500);
        }
        return videos.back();
    }

    void F7() { PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7)); }
};

// --- Volume windows ------------------------------------------------------------

TEST_F(SkinSoundTest, TheMicrophoneWindowListsTheDevicesAndItsBoxDecidesTheNextRecording)
{
    ASSERT_GT(CaptureEndpoints().count, 0) << "the harness's sound server gives capture endpoints";
    const std::string save = WriteSettings(true);
    ASSERT_TRUE(Start());

    // Recorded while the box is on: the video has the microphone's track.
    const std::string with = Record(save, 3, [&] { F7(); });
    EXPECT_EQ("mp3", Probe(with, "a:0", "codec_name")["codec_name"]) << with;

    HWND window = OpenFromMain("microphoneNormal", "MichoneVolumeWindow");
    ASSERT_NE(nullptr, window);
    // Read now: the program may have set the volume as it started.
    const Endpoints endpoints = CaptureEndpoints();
    EXPECT_EQ(std::to_string(endpoints.count),
              probe_.Query(window, "select_mic_device_combox").fields["count"]);
    EXPECT_EQ("0", probe_.Query(window, "select_mic_device_combox").fields["cursel"]);
    UiControl slider = probe_.Query(window, "MicSlider");
    // A level such as 0.35f lies a hair either side of 35 %.
    EXPECT_GE(endpoints.firstPercent, 0);
    EXPECT_NEAR(endpoints.firstPercent, atoi(slider.fields["value"].c_str()), 1);
    EXPECT_EQ(slider.fields["value"], probe_.Query(window, "volumeText").text);
    EXPECT_EQ("1", probe_.Query(window, "IsRecMicChk").fields["selected"]);
    EXPECT_TRUE(probe_.Query(window, "microphoneVolume").shown);
    EXPECT_FALSE(SaveWindowScreenshot(window, "micphone_volume_wnd").empty());

    // Pressed at a fifth of its width: the number follows the slider (the
    // endpoint refuses the volume under Wine, which changes nothing else).
    const POINT at = {slider.pos.left + (slider.pos.right - slider.pos.left) / 5,
                      (slider.pos.top + slider.pos.bottom) / 2};
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    slider = probe_.WaitFor(window, "MicSlider", [](const UiControl& c) {
        const int v = atoi(c.fields.at("value").c_str());
        return v >= 5 && v <= 35;
    });
    const int value = atoi(slider.fields["value"].c_str());
    EXPECT_TRUE(value >= 5 && value <= 35) << value;
    EXPECT_EQ(std::to_string(value), probe_.Query(window, "volumeText").text);
    EXPECT_EQ("1", probe_.Query(window, "IsRecMicChk").fields["selected"]);

    // Unchecked: kept, shown here and on the main window, and the next
    // recording has no sound.
    ASSERT_TRUE(probe_.Click(window, "IsRecMicChk"));
    EXPECT_TRUE(WaitSetting("rec_micphone", "rec", "0"));
    EXPECT_TRUE(WaitShown("microphoneMute", true));
    EXPECT_FALSE(Control("microphoneNormal").shown);
    EXPECT_EQ("0", probe_.Query(window, "IsRecMicChk").fields["selected"]);
    EXPECT_TRUE(probe_.Query(window, "microphoneVolumeMute").shown);
    EXPECT_FALSE(probe_.Query(window, "microphoneVolume").shown);
    ASSERT_TRUE(probe_.Click(window, "closebtn"));
    EXPECT_TRUE(WaitGone(window));

    const std::string without = Record(save, 3, [&] { F7(); });
    ASSERT_FALSE(without.empty());
    EXPECT_EQ("h264", Probe(without, "v:0", "codec_name")["codec_name"]);
    EXPECT_EQ("", Probe(without, "a:0", "codec_name")["codec_name"]) << without;

    // The mute icon of the window turns it on again.
    window = OpenFromMain("microphoneMute", "MichoneVolumeWindow");
    ASSERT_NE(nullptr, window);
    EXPECT_EQ("0", probe_.Query(window, "IsRecMicChk").fields["selected"]);
    ASSERT_TRUE(probe_.Click(window, "microphoneVolumeMute"));
    EXPECT_TRUE(WaitSetting("rec_micphone", "rec", "1"));
    EXPECT_TRUE(WaitShown("microphoneNormal", true));
    EXPECT_EQ("1", probe_.Query(window, "IsRecMicChk").fields["selected"]);
}

// Without a sound server there are no endpoints: both windows show 0 and
// still keep what the user turns on and off. The server address is read
// from the Unix environment, so the test runs again in a child started
// from there.
TEST_F(SkinSoundTest, WithoutSoundDevicesTheVolumeWindowsShowZeroAndStayUsable)
{
    if (!getenv("ORBISK_TEST_NO_SOUND_SERVER")) {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        LinuxResult child = RunLinux(
            WineLocaleVariables() +
                " PULSE_SERVER=unix:/nonexistent/orbisk-no-sound ORBISK_TEST_NO_SOUND_SERVER=1 wine " +
                ShellQuote(UnixPath(self)) + " --gtest_filter=SkinSoundTest.WithoutSound* 2>&1",
            150000);
        EXPECT_EQ(0, child.exitCode) << child.out;
        EXPECT_NE(std::string::npos, child.out.find("[  PASSED  ] 1 test")) << child.out;
        return;
    }
    ASSERT_EQ(0, CaptureEndpoints().count);
    WriteSettings(false);
    ASSERT_TRUE(Start());

    HWND mic = OpenFromMain("microphoneMute", "MichoneVolumeWindow");
    ASSERT_NE(nullptr, mic);
    EXPECT_EQ("0", probe_.Query(mic, "select_mic_device_combox").fields["count"]);
    EXPECT_EQ("0", probe_.Query(mic, "MicSlider").fields["value"]);
    EXPECT_EQ("0", probe_.Query(mic, "volumeText").text);
    EXPECT_EQ("麦克风音量设置", probe_.Query(mic, "titleMicName").text);
    ASSERT_TRUE(probe_.Click(mic, "IsRecMicChk"));
    EXPECT_TRUE(WaitSetting("rec_micphone", "rec", "1"));
    EXPECT_TRUE(WaitShown("microphoneNormal", true));
    ASSERT_TRUE(probe_.Click(mic, "closebtn"));
    EXPECT_TRUE(WaitGone(mic));

    HWND speaker = OpenFromMain("speakerMute", "SpeakerVolumeWindow");
    ASSERT_NE(nullptr, speaker);
    EXPECT_EQ("0", probe_.Query(speaker, "MicSlider").fields["value"]);
    EXPECT_EQ("0", probe_.Query(speaker, "volumeText").text);
    EXPECT_EQ("0", probe_.Query(speaker, "IsRecSpeakerChk").fields["selected"]);
    EXPECT_TRUE(probe_.Query(speaker, "speakerVolumeMute").shown);
    EXPECT_FALSE(SaveWindowScreenshot(speaker, "speaker_volume_wnd").empty());
    ASSERT_TRUE(probe_.Click(speaker, "speakerVolumeMute"));
    EXPECT_TRUE(WaitSetting("rec_speaker", "rec", "1"));
    EXPECT_TRUE(WaitShown("speakerNormal", true));
    EXPECT_EQ("1", probe_.Query(speaker, "IsRecSpeakerChk").fields["selected"]);
    ASSERT_TRUE(probe_.Click(speaker, "IsRecSpeakerChk"));
    EXPECT_TRUE(WaitSetting("rec_speaker", "rec", "0"));
    EXPECT_TRUE(WaitShown("speakerMute", true));
    EXPECT_TRUE(probe_.Query(speaker, "speakerVolumeMute").shown);
}

// --- Shortcuts -------------------------------------------------------------------

TEST_F(SkinSoundTest, AShortcutIsTriedAtOnceAndOkMakesItTheRecordingKey)
{
    const std::string save = WriteSettings(false);
    ASSERT_TRUE(Start());
    HWND window = OpenFromMain("shortcut_setting_btn", "CKeyboardShortcutWnd");
    ASSERT_NE(nullptr, window);
    EXPECT_EQ("66", probe_.Query(window, "select_start_rec_combox").fields["count"]);
    EXPECT_EQ("F7", probe_.Query(window, "select_start_rec_combox").text);
    EXPECT_FALSE(probe_.Query(window, "start_rec_conflict_lab").shown);

    // F8 is the pause key: taken at once.
    ASSERT_TRUE(probe_.Select(window, "select_start_rec_combox", std::string("F8")));
    EXPECT_TRUE(probe_.WaitFor(window, "start_rec_conflict_lab",
                               [](const UiControl& c) { return c.shown; }).shown);
    EXPECT_EQ("冲突", probe_.Query(window, "start_rec_conflict_lab").text);
    // F6 alone is the zoom key; with Ctrl it is free.
    ASSERT_TRUE(probe_.Select(window, "select_start_rec_combox", std::string("F6")));
    EXPECT_TRUE(probe_.Query(window, "start_rec_conflict_lab").shown);
    ASSERT_TRUE(probe_.Click(window, "start_rec_ctrl_opt"));
    EXPECT_FALSE(probe_.WaitFor(window, "start_rec_conflict_lab",
                                [](const UiControl& c) { return !c.shown; }).shown);
    EXPECT_FALSE(SaveWindowScreenshot(window, "keyboard_shortcut_wnd").empty());

    ASSERT_TRUE(probe_.Click(window, "ok_btn"));
    EXPECT_TRUE(WaitGone(window));
    EXPECT_TRUE(WaitUntil([&] { return RecordKey(config_, "vkeystr") == "Ctrl+F6"; }, 5000));
    EXPECT_EQ("117", RecordKey(config_, "vkey"));
    EXPECT_EQ("2", RecordKey(config_, "fsmod"));

    // F7 is free now; Ctrl+F6 starts and stops a recording.
    PressKey(VK_F7);
    Sleep(1500);
    EXPECT_TRUE(Control("begin_record_btn").shown) << "F7 no longer records";
    const std::string video = Record(save, 2, [] { PressKey(VK_F6, VK_CONTROL); });
    EXPECT_EQ("h264", Probe(video, "v:0", "codec_name")["codec_name"]) << video;
}

TEST_F(SkinSoundTest, ShortcutsTriedAndClosedWithoutOkLeaveTheKeysAsTheyWere)
{
    const std::string save = WriteSettings(false);
    ASSERT_TRUE(Start());
    HWND window = OpenFromMain("shortcut_setting_btn", "CKeyboardShortcutWnd");
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(probe_.Select(window, "select_start_rec_combox", std::string("F8")));
    EXPECT_TRUE(probe_.WaitFor(window, "start_rec_conflict_lab",
                               [](const UiControl& c) { return c.shown; }).shown);
    // "NONE" is no key: nothing is tried, nothing conflicts.
    ASSERT_TRUE(probe_.Select(window, "select_start_rec_combox", std::string("NONE")));
    EXPECT_FALSE(probe_.WaitFor(window, "start_rec_conflict_lab",
                                [](const UiControl& c) { return !c.shown; }).shown);
    ASSERT_TRUE(probe_.Click(window, "closebtn"));
    EXPECT_TRUE(WaitGone(window));
    EXPECT_EQ("", RecordKey(config_, "vkeystr"));

    // F7 records as before.
    const std::string video = Record(save, 2, [] { PressKey(VK_F7); });
    EXPECT_EQ("h264", Probe(video, "v:0", "codec_name")["codec_name"]) << video;
}

// --- Skin chooser ------------------------------------------------------------------

TEST_F(SkinSoundTest, PointingAtASkinShowsItAndAClickKeepsItForTheNextStart)
{
    WriteSettings(false);
    ASSERT_TRUE(Start());
    EXPECT_EQ("mainui_back7.png", Control("main_layout").fields["bkimage"]);
    HWND chooser = OpenFromMain("sel_skin_btn", "SelectSkinWnd");
    ASSERT_NE(nullptr, chooser);
    EXPECT_EQ("mainui_back5.png", probe_.Query(chooser, "mainui_back5").fields["bkimage"]);
    EXPECT_EQ("自定义...", probe_.WaitFor(chooser, "user_back6", [](const UiControl& c) {
                               return !c.text.empty();
                           }).text);
    EXPECT_FALSE(SaveWindowScreenshot(chooser, "slect_skin_wnd").empty());

    // Pointing at it shows it on the main window and the chooser; away, the
    // current one comes back.
    const POINT five = Centre(probe_.Query(chooser, "mainui_back5"));
    PostMessageA(chooser, WM_MOUSEMOVE, 0, MAKELPARAM(five.x, five.y));
    EXPECT_EQ("mainui_back5.png",
              probe_.WaitFor(main_, "main_layout", [](const UiControl& c) {
                        return c.fields.at("bkimage") == "mainui_back5.png";
                    }).fields["bkimage"]);
    EXPECT_NE(std::string::npos,
              probe_.Query(chooser, "root_layout").fields["bkimage"].find("mainui_back5.png"));
    const POINT label = Centre(probe_.Query(chooser, "pic_save_type_lab"));
    PostMessageA(chooser, WM_MOUSEMOVE, 0, MAKELPARAM(label.x, label.y));
    EXPECT_EQ("mainui_back7.png",
              probe_.WaitFor(main_, "main_layout", [](const UiControl& c) {
                        return c.fields.at("bkimage") == "mainui_back7.png";
                    }).fields["bkimage"]);
    EXPECT_EQ("mainui_back7.png", Setting(config_, "SelectSkin", "value"));

    ASSERT_TRUE(probe_.Click(chooser, "mainui_back5"));
    EXPECT_TRUE(WaitSetting("SelectSkin", "value", "mainui_back5.png"));
    EXPECT_EQ("0", Setting(config_, "SelectSkin", "isUserImg"));
    EXPECT_EQ("mainui_back5.png", Frame()["skin"]);
    EXPECT_EQ("mainui_back5.png", Control("main_layout").fields["bkimage"]);

    // A window opened afterwards wears it too, and so does the next start.
    ASSERT_TRUE(probe_.Click(chooser, "closebtn"));
    EXPECT_TRUE(WaitGone(chooser));
    HWND shortcuts = OpenFromMain("shortcut_setting_btn", "CKeyboardShortcutWnd");
    ASSERT_NE(nullptr, shortcuts);
    EXPECT_NE(std::string::npos,
              probe_.Query(shortcuts, "root_layout").fields["bkimage"].find("mainui_back5.png"));
    PostMessageA(main_, 0x42C, 0, 0);
    ASSERT_NE(-1, program_.Wait(20000));
    main_ = nullptr;
    ASSERT_TRUE(Start());
    EXPECT_EQ("mainui_back5.png", Control("main_layout").fields["bkimage"]);
    EXPECT_FALSE(SaveWindowScreenshot(main_, "main_frame_skin5").empty());
}

}  // namespace
