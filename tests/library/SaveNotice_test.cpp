// The save notice in the real program: after a recording it fades in at the
// bottom-right corner and goes by itself unless the mouse is over it; a
// screenshot's notice opens its picture; its check box turns playing a new
// recording off. What the shell opens is seen through file types of the
// test's own, whose "open" is a stub that notes its command line.
#include "ProgramTestFixture.h"

#include <algorithm>
#include <set>

namespace {

using namespace programtest;

class SaveNoticeTest : public ProgramTest {
protected:
    void TearDown() override
    {
        ProgramTest::TearDown();
        for (const std::string& key : keys_) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
        // The extensions' own types as they were before the test.
        for (const auto& ext : extensions_) {
            if (ext.existed)
                RegSetKeyValueA(HKEY_LOCAL_MACHINE, ext.key.c_str(), nullptr, REG_SZ,
                                ext.type.c_str(), (DWORD)ext.type.size() + 1);
            else
                RegDeleteTreeA(HKEY_LOCAL_MACHINE, ext.key.c_str());
        }
    }

    std::string PrepareSaveFolder(bool autoPlay)
    {
        save_ = work_ + "\\save";
        CreateDirectoryA(save_.c_str(), nullptr);
        WriteFile(config_,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                  "<videoSavePath path=\"" +
                      save_ +
                      "\" />\n<start_countdown countdown=\"0\" />\n"
                      "<rec_speaker rec=\"0\" />\n<rec_micphone rec=\"0\" />\n"
                      "<auto_play_oncomplete auto_play=\"" +
                      (autoPlay ? "1" : "0") + "\" />\n</vintracfg>\n");
        return save_;
    }

    // Files of the extension open with a stub of their own; the file where
    // it notes its command line.
    std::string OpenWithStub(const std::string& extension)
    {
        const std::string dir = work_ + "\\stub" + extension;
        CreateDirectoryA(dir.c_str(), nullptr);
        const std::string exe = dir + "\\stub.exe";
        EXPECT_TRUE(CopyFileA((TestBinDir() + "\\player_stub.exe").c_str(), exe.c_str(), FALSE));
        const std::string type = "OrbiskTestFile" + extension.substr(1);
        const std::string command = "\"" + exe + "\" \"%1\"";
        // In the machine's classes: Wine's shell does not look at the
        // user's own (HKCU\Software\Classes) when it opens a file.
        const std::string extKey = "Software\\Classes\\" + extension;
        const std::string typeKey = "Software\\Classes\\" + type;
        Extension before{extKey, "", false};
        char old[256] = {};
        DWORD size = sizeof old;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, extKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, old,
                         &size) == ERROR_SUCCESS) {
            before.existed = true;
            before.type = old;
        }
        extensions_.push_back(before);
        keys_.push_back(typeKey);
        EXPECT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_LOCAL_MACHINE, extKey.c_str(), nullptr, REG_SZ,
                                                 type.c_str(), (DWORD)type.size() + 1));
        EXPECT_EQ(ERROR_SUCCESS,
                  RegSetKeyValueA(HKEY_LOCAL_MACHINE, (typeKey + "\\shell\\open\\command").c_str(),
                                  nullptr, REG_SZ, command.c_str(), (DWORD)command.size() + 1));
        return dir + "\\player_args.txt";
    }

    void Record(DWORD ms)
    {
        PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
        ASSERT_TRUE(WaitShown("stop_record_btn", true));
        Sleep(ms);  // the length of the recording
        PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
        ASSERT_TRUE(WaitShown("begin_record_btn", true));
    }

    // A notice that was not there before.
    HWND NewNotice(DWORD timeoutMs)
    {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND h = nullptr;
                     (h = FindWindowExA(nullptr, h, "SaveFileNotifyWindow", nullptr)) != nullptr;)
                    if (!seen_.count(h)) found = h;
                return found != nullptr;
            },
            timeoutMs);
        if (found) seen_.insert(found);
        return found;
    }

    static int Alpha(HWND window)
    {
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
            return -1;
        return alpha;
    }

    static void MoveMouseTo(POINT at)
    {
        SetCursorPos(at.x - 3, at.y);
        for (int i = 0; i < 3; ++i) {
            INPUT in = {};
            in.type = INPUT_MOUSE;
            in.mi.dwFlags = MOUSEEVENTF_MOVE;
            in.mi.dx = 1;
            SendInput(1, &in, sizeof in);
            Sleep(30);
        }
    }

    std::string save_;
    std::set<HWND> seen_;
    std::vector<std::string> keys_;
    struct Extension {
        std::string key, type;
        bool existed;
    };
    std::vector<Extension> extensions_;
};

TEST_F(SaveNoticeTest, AfterARecordingTheNoticeFadesInAtTheCornerAndStaysWhileTheMouseIsOverIt)
{
    PrepareSaveFolder(false);
    ASSERT_NE(nullptr, Start());
    MoveMouseTo({5, 5});
    Record(1500);
    HWND notice = NewNotice(60000);
    ASSERT_NE(nullptr, notice);
    const DWORD appeared = GetTickCount();
    DWORD full = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (Alpha(notice) == 255 && !full) full = GetTickCount();
            return full != 0;
        },
        5000));
    EXPECT_LT(full - appeared, 1200u) << "full opacity " << full - appeared << " ms after it came";
    RECT rc;
    GetWindowRect(notice, &rc);
    // Above the task bar and wholly on the screen (Wine counts the space
    // above the task bar taller than the screen).
    const int above = std::min(GetSystemMetrics(SM_CYFULLSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN) - 300, rc.left);
    EXPECT_EQ(above - 120, rc.top);
    EXPECT_LE(rc.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(300, rc.right - rc.left);
    EXPECT_EQ(120, rc.bottom - rc.top);
    std::vector<std::string> videos = VideosIn(save_);
    ASSERT_EQ(1u, videos.size());
    EXPECT_EQ(videos[0] + "  打开所在文件夹", probe_.Query(notice, "avi_save_path_btn").text);
    EXPECT_TRUE(probe_.Query(notice, "edit_file_btn").shown);
    EXPECT_EQ("0", probe_.Query(notice, "auto_open_file_check").fields["selected"]);
    EXPECT_FALSE(SaveWindowScreenshot(notice, "save_notice").empty());
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(notice); }, 15000));
    const DWORD gone = GetTickCount() - full;
    // Three seconds at full opacity, then a fade of about 2.6 s.
    EXPECT_GT(gone, 3000u);
    EXPECT_LT(gone, 9000u);
    std::cout << "[ figures  ] full opacity after " << full - appeared << " ms, gone " << gone
              << " ms later" << std::endl;

    // Another, with the mouse over it.
    PostMessageA(main_, 0x429, 0, 0);  // as after a save
    notice = NewNotice(10000);
    ASSERT_NE(nullptr, notice);
    // The window is made at no size, sized, and then moved to its corner as
    // it sets up.
    const POINT corner = {GetSystemMetrics(SM_CXFULLSCREEN) - 300, above - 120};
    ASSERT_TRUE(WaitUntil(
        [&] {
            return GetWindowRect(notice, &rc) && rc.right - rc.left == 300 && rc.left == corner.x &&
                   rc.top == corner.y;
        },
        5000));
    MoveMouseTo({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 + 20});
    EXPECT_TRUE(PointerAt({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 + 20}));
    Sleep(10000);  // the time the notice must stay
    ASSERT_TRUE(IsWindow(notice)) << "held while the mouse is over it";
    EXPECT_EQ(255, Alpha(notice));
    MoveMouseTo({5, 5});
    const DWORD left = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(notice); }, 15000));
    EXPECT_GT(GetTickCount() - left, 1500u) << "it waits before it fades";
}

TEST_F(SaveNoticeTest, TheNoticeOpensItsOwnFileAndItsCheckBoxTurnsPlayingARecordingOff)
{
    PrepareSaveFolder(true);
    const std::string aviOpened = OpenWithStub(".avi");
    const std::string pngOpened = OpenWithStub(".png");
    ASSERT_NE(nullptr, Start());
    MoveMouseTo({5, 5});

    // Playing after a recording is on: the shell opens the new video.
    Record(1500);
    HWND notice = NewNotice(60000);
    ASSERT_NE(nullptr, notice);
    std::vector<std::string> videos = VideosIn(save_);
    ASSERT_EQ(1u, videos.size());
    ASSERT_TRUE(WaitForFile(aviOpened, 15000)) << "the recording opened itself";
    EXPECT_NE(std::string::npos, ReadFile(aviOpened).find(videos[0]));
    EXPECT_EQ("1", probe_.Query(notice, "auto_open_file_check").fields["selected"]);
    ASSERT_TRUE(probe_.Click(notice, "auto_open_file_check"));
    EXPECT_TRUE(WaitUntil(
        [&] { return ReadFile(config_).find("auto_play=\"0\"") != std::string::npos; }, 5000))
        << ReadFile(config_);
    DeleteFileA(aviOpened.c_str());

    // Off: the next recording stays closed; its notice converts it.
    Record(1500);
    notice = NewNotice(60000);
    ASSERT_NE(nullptr, notice);
    ASSERT_TRUE(WaitUntil([&] { return VideosIn(save_).size() == 2; }, 5000));
    std::string second;
    for (const std::string& v : VideosIn(save_))
        if (v != videos[0]) second = v;
    ASSERT_TRUE(probe_.Click(notice, "convert_btn"));
    HWND convert = WaitForWindow("FormatConvertWindow", nullptr, 10000, program_.Id());
    ASSERT_NE(nullptr, convert);
    // The window names its file once it has set itself up.
    EXPECT_EQ(second, probe_.WaitFor(convert, "input_file_lab", [&](const UiControl& c) {
                          return c.text == second;
                      }).text);
    Sleep(3000);  // past the second after the save when a video would open
    EXPECT_FALSE(FileExists(aviOpened)) << "the recording did not open itself";

    // A screenshot's notice: no editing, and its own picture opens.
    PostMessageA(main_, WM_HOTKEY, 5, MAKELPARAM(0, VK_F10));
    notice = NewNotice(20000);
    ASSERT_NE(nullptr, notice);
    // The notice names its file once it has set itself up.
    UiControl path = probe_.WaitFor(notice, "avi_save_path_btn", [](const UiControl& c) {
        return c.text.find("  打开所在文件夹") != std::string::npos;
    });
    ASSERT_NE(std::string::npos, path.text.find(".png  打开所在文件夹")) << path.text;
    const std::string picture = path.text.substr(0, path.text.find("  打开所在文件夹"));
    EXPECT_FALSE(probe_.Query(notice, "edit_file_btn").shown);
    EXPECT_TRUE(probe_.Query(notice, "open_file_btn").shown);
    ASSERT_TRUE(probe_.Click(notice, "open_sys_default_btn"));
    ASSERT_TRUE(WaitForFile(pngOpened, 15000));
    EXPECT_NE(std::string::npos, ReadFile(pngOpened).find(picture)) << ReadFile(pngOpened);
    EXPECT_FALSE(FileExists(aviOpened)) << "not the last video";
}

}  // namespace
