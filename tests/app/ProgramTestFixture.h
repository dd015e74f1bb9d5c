// The fixture of the tests that start the real Orbisk.exe under Wine: the
// program with a settings file of the test's own (the user's file is put
// back afterwards), its main window, and the probes that read it.
#pragma once

#include <gtest/gtest.h>

#include "TestKit.h"
#include "UiProbe.h"
#include "app/MainFrameProbe.h"
#include "platform/hook/CamHook.h"

#include <shlobj.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace programtest {

using namespace testkit;

constexpr char kClass[] = "VintraCamMainFrameClsName";
constexpr char kTitle[] = "Orbisk";

inline std::string ConfigPath()
{
    char appdata[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appdata);
    return std::string(appdata) + "\\vintra_cfg.xml";
}

inline int CountMainWindows()
{
    int n = 0;
    for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, kClass, nullptr)) != nullptr;) ++n;
    return n;
}

inline bool WaitUntil(std::function<bool()> pred, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

// Puts the pointer at `at` and waits until the display has it there as well
// (the position asked for is the display's again a moment after a move).
// Wine stops moving the display's pointer while a full-screen window of the
// program is in the foreground, and the program then takes its input at the
// display's pointer: a test puts the pointer where it will act before such
// a window opens.
inline bool PointerAt(POINT at)
{
    return WaitUntil(
        [&] {
            POINT now = {};
            if (GetCursorPos(&now) && now.x == at.x && now.y == at.y) return true;
            SetCursorPos(at.x, at.y);
            Sleep(150);
            return false;
        },
        3000);
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        config_ = ConfigPath();
        saved_ = config_ + ".programtest";
        if (FileExists(config_)) {
            ASSERT_TRUE(MoveFileExA(config_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING));
        }
        work_ = MakeTempDir("program");
    }

    void TearDown() override
    {
        if (program_.Running()) {
            if (main_) PostMessageA(main_, 0x42C, 0, 0);
            if (program_.Wait(20000) == -1) program_.Kill();
        }
        DeleteFileA(config_.c_str());
        if (FileExists(saved_))
            MoveFileExA(saved_.c_str(), config_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }

    HWND Start(const std::string& args = "", const std::string& programDir = ProgramDir())
    {
        EXPECT_TRUE(program_.Start(programDir + "\\Orbisk.exe", args, work_));
        main_ = WaitForWindow(kClass, kTitle, 30000, program_.Id());
        // The second half of the initialisation runs on "windowinit".
        if (main_)
            probe_.WaitFor(main_, "begin_record_btn", [](const UiControl& c) { return c.shown; });
        if (main_) WaitUntil([&] { return Frame()["tray_added"] == "1"; }, 5000);
        return main_;
    }

    // Settings for a recording that can run here: into a folder of the
    // test, no countdown, no sound (the system sound cannot be captured under
    // Wine), and no player opened afterwards.
    std::string PrepareRecordingSettings()
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
                      "<auto_play_oncomplete auto_play=\"0\" />\n</vintracfg>\n");
        return save;
    }

    static std::vector<std::string> VideosIn(const std::string& folder)
    {
        std::vector<std::string> found;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((folder + "\\*.avi").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return found;
        do found.push_back(folder + "\\" + fd.cFileName);
        while (FindNextFileA(h, &fd));
        FindClose(h);
        return found;
    }

    std::map<std::string, std::string> Frame(LPARAM op = kMainFrameProbeQuery)
    {
        return probe_.AskWindow(main_, kMainFrameProbeMessage, op);
    }

    UiControl Control(const char* name) { return probe_.Query(main_, name); }

    // The time the current (or last) recording has counted: the video's
    // length, without the moments its start took.
    DWORD RecordedMs() { return (DWORD)atol(Frame()["recorded_ms"].c_str()); }
    bool WaitRecorded(DWORD ms)
    {
        return WaitUntil([&] { return RecordedMs() >= ms; }, ms + 30000);
    }

    bool WaitShown(const char* name, bool shown)
    {
        return probe_.WaitFor(main_, name, [&](const UiControl& c) { return c.shown == shown; })
                   .shown == shown;
    }

    CamHookCounters Hook()
    {
        CamHookCounters c = {};
        ReadCamHookCounters(program_.Id(), &c);
        return c;
    }

    // Opens the tray menu as a right click on the icon does; the menu's
    // command states while it is open.
    std::map<std::string, std::string> OpenTrayMenu()
    {
        PostMessageA(main_, 0x66, 101, WM_RBUTTONDOWN);
        HWND menu = WaitForWindow("#32768", nullptr, 5000, program_.Id());
        EXPECT_NE(nullptr, menu) << "the tray menu opened";
        std::map<std::string, std::string> state = Frame();
        Frame(kMainFrameProbeEndMenu);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
        return state;
    }

    // The system message box the program shows, its text, and the answer.
    std::string AnswerSystemBox(int answer = IDOK)
    {
        HWND box = WaitForWindow("#32770", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, box);
        if (!box) return "";
        // The box can be found before its texts are filled in, which happens
        // just before it shows: read them once it is on the screen.
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(box) != FALSE; }, 5000));
        std::string text;
        for (HWND c = nullptr; (c = FindWindowExA(box, c, "Static", nullptr)) != nullptr;) {
            char buf[512] = {};
            SendMessageTimeoutA(c, WM_GETTEXT, sizeof buf, (LPARAM)buf, SMTO_NORMAL, 5000, nullptr);
            text += buf;
        }
        char title[64] = {};
        SendMessageTimeoutA(box, WM_GETTEXT, sizeof title, (LPARAM)title, SMTO_NORMAL, 5000,
                            nullptr);
        EXPECT_STREQ("提示", title);
        PostMessageA(box, WM_COMMAND, answer, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
        return text;
    }

    std::string config_, saved_, work_;
    Process program_;
    HWND main_ = nullptr;
    UiProbe probe_;
};

}  // namespace programtest
