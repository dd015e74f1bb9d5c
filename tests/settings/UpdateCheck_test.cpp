// The update check of the real program against a site of the test's own
// (ORBISK_UPDATE_SITE): the main window's update button, the change log
// window and the updater it starts, and every way the feed can fail
// without holding the program up.
#include "FeedSite.h"
#include "ProgramTestFixture.h"

#include <cstdio>

namespace {

using namespace programtest;

// A GBK text of this file as the UTF-8 the feed carries.
std::string Utf8(const std::string& gbk)
{
    int n = MultiByteToWideChar(CP_ACP, 0, gbk.c_str(), (int)gbk.size(), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, gbk.c_str(), (int)gbk.size(), &wide[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), n, nullptr, 0, nullptr, nullptr);
    std::string out(m, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), n, &out[0], m, nullptr, nullptr);
    return out;
}

// The four fields of the program's own version resource.
bool ProgramVersion(int v[4])
{
    std::string exe = ProgramDir() + "\\Orbisk.exe";
    DWORD ignored = 0, size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::string data(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!size || !GetFileVersionInfoA(exe.c_str(), 0, size, &data[0]) ||
        !VerQueryValueA(&data[0], "\\", (void**)&info, &len) || !info)
        return false;
    v[0] = HIWORD(info->dwFileVersionMS);
    v[1] = LOWORD(info->dwFileVersionMS);
    v[2] = HIWORD(info->dwFileVersionLS);
    v[3] = LOWORD(info->dwFileVersionLS);
    return true;
}

std::string Version(int a, int b, int c, int d)
{
    char text[64];
    snprintf(text, sizeof text, "%d.%d.%d.%d", a, b, c, d);
    return text;
}

std::string Feed(const std::string& version, const std::string& gbkLog)
{
    return "{\"version\": \"" + version + "\", \"log\": \"" + Utf8(gbkLog) + "\"}";
}

const char kLog[] = "1. 修复了录制声音断续的问题\\n2. 新增“课件录制”的画笔";
const char kLogShown[] = "1. 修复了录制声音断续的问题\n2. 新增“课件录制”的画笔";

class UpdateCheckTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        ASSERT_TRUE(ProgramVersion(version_));
        ASSERT_GE(version_[0], 1) << "an older version than the program's can be made";
    }

    std::string Newer() const { return Version(version_[0], version_[1], version_[2], version_[3] + 1); }
    std::string Older() const { return Version(version_[0] - 1, 9, 9, 9); }

    // Starts the program asking `site`; how long the start took.
    DWORD StartAsking(const std::string& site, const std::string& programDir = ProgramDir())
    {
        SetEnvironmentVariableA("ORBISK_UPDATE_SITE", site.c_str());
        DWORD t0 = GetTickCount();
        Start("", programDir);
        DWORD took = GetTickCount() - t0;
        SetEnvironmentVariableA("ORBISK_UPDATE_SITE", nullptr);
        return took;
    }

    // The state the check ended in.
    std::string CheckResult(DWORD timeoutMs = 15000)
    {
        std::string state;
        WaitUntil([&] { return (state = Frame()["update_check"]) != "running"; }, timeoutMs);
        return state;
    }

    // Closes the program as its close button does; how long until it ended,
    // with its exit code.
    DWORD Close(long* exitCode)
    {
        DWORD t0 = GetTickCount();
        PostMessageA(main_, 0x42C, 0, 0);
        *exitCode = program_.Wait(20000);
        return GetTickCount() - t0;
    }

    // Opens the log window from the main window's button; the point clicked.
    HWND OpenLog(POINT* clicked)
    {
        RECT pos = Control("update_btn").pos;
        *clicked = {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
        ClientToScreen(main_, clicked);
        EXPECT_TRUE(probe_.Click(main_, "update_btn"));
        return WaitForWindow("UpdateLogWindow", nullptr, 10000, program_.Id());
    }

    // A site that offers nothing usable: no button, and the program comes up
    // and goes as without a check.
    void ExpectNoOffer(const std::string& site, const std::string& expectedState)
    {
        StartAsking(site);
        ASSERT_NE(nullptr, main_);
        EXPECT_EQ(expectedState, CheckResult());
        EXPECT_FALSE(Control("update_btn").shown);
        EXPECT_TRUE(program_.Running());
        long exitCode = -1;
        Close(&exitCode);
        EXPECT_EQ(0, exitCode);
    }

    int version_[4] = {};
};

TEST_F(UpdateCheckTest, ANewerVersionShowsTheButtonAndItsChineseLog)
{
    FeedSite site;
    ASSERT_TRUE(site.Serve(Feed(Newer(), kLog)));
    StartAsking(site.Url());
    ASSERT_NE(nullptr, main_);
    ASSERT_EQ("offered", CheckResult());
    ASSERT_TRUE(WaitShown("update_btn", true));
    // The feed's request, as the site sees it.
    std::string request = site.Requests();
    EXPECT_EQ(0u, request.find("GET /vintracam/vintrafile/update.json HTTP/1.1")) << request;
    EXPECT_NE(std::string::npos, request.find("cache-control: no-cache")) << request;
    EXPECT_NE(std::string::npos, request.find("Content-Type: application/json")) << request;

    POINT clicked;
    HWND log = OpenLog(&clicked);
    ASSERT_NE(nullptr, log);
    ASSERT_TRUE(probe_.WaitFor(log, "titleName", [](const UiControl& c) {
                          return c.text.find("升级日志") == 0;
                      }).found);
    EXPECT_EQ("升级日志,将升级到 V" + Newer(), probe_.Query(log, "titleName").text);
    EXPECT_EQ(kLogShown, probe_.Query(log, "log_info_lab").text);
    RECT rc;
    GetWindowRect(log, &rc);
    EXPECT_EQ(clicked.x, rc.left);
    EXPECT_EQ(clicked.y, rc.top);
    EXPECT_EQ(350, rc.right - rc.left);
    EXPECT_EQ(180, rc.bottom - rc.top);
    EXPECT_FALSE(SaveWindowScreenshot(log, "update_log_window").empty());

    // This program folder has no updater: the user is told, and the window goes.
    ASSERT_TRUE(probe_.Click(log, "update_btn"));
    EXPECT_EQ(0u, AnswerSystemBox().find("找不到升级程序 update.exe"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(log); }, 5000));
    EXPECT_TRUE(program_.Running());
}

TEST_F(UpdateCheckTest, TheUpdaterGetsTheMainWindowButNeverUnderARecording)
{
    // A program folder with an updater standing in for the real one.
    const std::string copy = work_ + "\\program";
    for (const char* dir : {"", "\\plugins", "\\plugins\\x264"})
        CreateDirectoryA((copy + dir).c_str(), nullptr);
    for (const char* file : {"\\Orbisk.exe", "\\CamHook.dll", "\\lame_enc.dll", "\\vintx.exe",
                             "\\plugins\\x264\\x264vfw.dll"})
        ASSERT_TRUE(CopyFileA((ProgramDir() + file).c_str(), (copy + file).c_str(), FALSE)) << file;
    ASSERT_TRUE(CopyFileA((TestBinDir() + "\\update_stub.exe").c_str(),
                          (copy + "\\update.exe").c_str(), FALSE));
    const std::string started = copy + "\\update_args.txt";

    const std::string save = PrepareRecordingSettings();
    FeedSite site;
    ASSERT_TRUE(site.Serve(Feed(Newer(), kLog)));
    StartAsking(site.Url(), copy);
    ASSERT_NE(nullptr, main_);
    ASSERT_EQ("offered", CheckResult());
    ASSERT_TRUE(WaitShown("update_btn", true));
    POINT clicked;
    HWND log = OpenLog(&clicked);
    ASSERT_NE(nullptr, log);

    // Recording, then paused: refused, and the log stays.
    PostMessageA(main_, WM_HOTKEY, 1, 0);
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    for (int paused = 0; paused < 2; ++paused) {
        if (paused) PostMessageA(main_, WM_HOTKEY, 2, 0);
        Sleep(500);
        ASSERT_TRUE(probe_.Click(log, "update_btn"));
        EXPECT_EQ("您正在录制视频，请保存录制视频后再进行升级。", AnswerSystemBox());
        EXPECT_TRUE(IsWindow(log));
    }
    Sleep(500);
    EXPECT_FALSE(FileExists(started)) << "no updater under a recording";

    // Saved: the updater starts with the main window's handle.
    PostMessageA(main_, WM_HOTKEY, 1, 0);
    ASSERT_TRUE(WaitShown("begin_record_btn", true));
    ASSERT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 1; }, 60000));
    Sleep(1500);  // the save ends after the file is there
    ASSERT_TRUE(probe_.Click(log, "update_btn"));
    ASSERT_TRUE(WaitForFile(started, 10000));
    EXPECT_EQ(std::to_string((long)(LONG_PTR)main_), ReadFile(started));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(log); }, 5000));
    EXPECT_TRUE(program_.Running()) << "the updater decides what happens to the program";
}

TEST_F(UpdateCheckTest, AnOlderVersionOffersNothing)
{
    FeedSite site;
    ASSERT_TRUE(site.Serve(Feed(Older(), kLog)));
    ExpectNoOffer(site.Url(), "up-to-date");
}

TEST_F(UpdateCheckTest, AReplyThatIsNotTheFeedOffersNothing)
{
    FeedSite site;
    ASSERT_TRUE(site.Serve("{\"version\": \"" + Newer() + "\", \"log\": "));
    ExpectNoOffer(site.Url(), "unreadable");
}

TEST_F(UpdateCheckTest, AnOversizedReplyIsRefused)
{
    FeedSite site;
    std::string huge = Feed(Newer(), std::string(70 * 1024, 'x'));
    ASSERT_TRUE(site.Serve(huge, 8192));
    ExpectNoOffer(site.Url(), "too-large");
}

TEST_F(UpdateCheckTest, NoSiteAtAllOffersNothing)
{
    ExpectNoOffer(FeedSite::Nowhere(), "no-connection");
}

TEST_F(UpdateCheckTest, ASiteThatNeverAnswersHoldsUpNeitherStartNorClose)
{
    // The same program closed after a check that has ended, for comparison.
    FeedSite quick;
    ASSERT_TRUE(quick.Serve(Feed(Older(), "")));
    StartAsking(quick.Url());
    ASSERT_EQ("up-to-date", CheckResult());
    long exitCode = -1;
    DWORD usualClose = Close(&exitCode);
    ASSERT_EQ(0, exitCode);

    FeedSite silent;
    ASSERT_TRUE(silent.ServeNothing());
    StartAsking(silent.Url());
    ASSERT_NE(nullptr, main_);
    ASSERT_TRUE(WaitUntil([&] { return !silent.Requests().empty(); }, 10000));
    // Up and answering while the site keeps the check waiting.
    EXPECT_EQ("running", Frame()["update_check"]);
    EXPECT_TRUE(Control("begin_record_btn").shown);
    EXPECT_FALSE(Control("update_btn").shown);

    DWORD closing = Close(&exitCode);
    EXPECT_EQ(0, exitCode);
    // Well inside the check's own bounds: the close did not wait for the site.
    EXPECT_LT(closing, usualClose + 1500) << "usual close " << usualClose << " ms";
    EXPECT_LT(closing, 8000u);
}

}  // namespace
