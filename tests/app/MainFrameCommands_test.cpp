// The main window's reuse rules, placements and questions, with the window
// in this process (this thread is its UI thread) and child windows of the
// test's own registered in the window table.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "UiProbe.h"
#include "core/AppPaths.h"
#include "app/LedFont.h"
#include "app/MainFrame.h"
#include "app/MessageBoxWindow.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordingState.h"

#include <functional>
#include <algorithm>
#include <map>
#include <thread>
#include <vector>

using testkit::UiControl;
using testkit::UiProbe;

namespace {

// A plain skinned window standing in for a child window of a later module.
class TestChild : public DuiLib::WindowImplBase {
public:
    explicit TestChild(const WindowRequest& r) : request(r) {}
    WindowRequest request;

protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskTestChild"; }
    DuiLib::CDuiString GetSkinFile() override { return "messagebox_wnd.xml"; }
    DuiLib::UILIB_RESOURCETYPE GetResourceType() const override
    {
        return DuiLib::UILIB_ZIPRESOURCE;
    }
    LPCSTR GetResourceID() const override { return MAKEINTRESOURCEA(130); }
    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        // As every kept window does when it ends.
        GetWindowTable().Forget(this);
        delete this;
    }
};

using testkit::Pump;
using testkit::PumpUntil;

class MainFrameCommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
    }

    void SetUp() override
    {
        g_pMainFrame = new MainFrame();
        ASSERT_TRUE(
            g_pMainFrame->Create(nullptr, "Orbisk", 0x96CA0000, WS_EX_APPWINDOW, 0, 0, 600, 800));
        g_pMainFrame->CenterWindow();
        g_pMainFrame->ShowWindow(true);
        main_ = g_pMainFrame->GetHWND();
        // The rest of the initialisation runs on "windowinit".
        ASSERT_TRUE(PumpUntil([&] { return Control("begin_record_btn")->IsVisible(); }));
        Pump(300);
    }

    void TearDown() override
    {
        if (g_pMainFrame) g_pMainFrame->Close(1);
        // Closing takes a few seconds under Wine (removing the tray icon among them).
        EXPECT_TRUE(PumpUntil([] { return g_pMainFrame == nullptr; }, 20000)) << "closed";
        Pump(100);
        GetWindowTable().Clear();
        g_bTimedStart = 0;
        g_bAutoStopWatch = 0;
    }

    DuiLib::CControlUI* Control(const char* name)
    {
        return g_pMainFrame->GetPaintManager().FindControl(name);
    }

    // A click with the mouse on a control; the point it was made at, on the screen.
    POINT Click(const char* name)
    {
        DuiLib::CControlUI* c = Control(name);
        EXPECT_NE(nullptr, c) << name;
        if (!c) return POINT{};
        g_pMainFrame->GetPaintManager().UpdateLayout();
        const RECT& rc = c->GetPos();
        POINT at = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        LPARAM lp = MAKELPARAM(at.x, at.y);
        PostMessageA(main_, WM_MOUSEMOVE, 0, lp);
        PostMessageA(main_, WM_LBUTTONDOWN, MK_LBUTTON, lp);
        PostMessageA(main_, WM_LBUTTONUP, 0, lp);
        Pump(150);
        ClientToScreen(main_, &at);
        return at;
    }

    POINT Corner()
    {
        RECT rc;
        GetClientRect(main_, &rc);
        POINT p = {rc.left, rc.bottom};
        ClientToScreen(main_, &p);
        return p;
    }

    // Registers an opener that makes a shown TestChild (kept windows) or
    // only the object (created = false); counts its calls.
    void Offer(WindowId which, bool created = true)
    {
        WindowEntry opener;
        opener.open = [this, which, created](const WindowRequest& r) -> DuiLib::CWindowWnd* {
            auto* w = new TestChild(r);
            if (created) {
                w->Create(r.owner, "child", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, r.at.x, r.at.y,
                          200, 100);
                w->ShowWindow(true, false);
            }
            opened_[which].push_back(w);
            return w;
        };
        GetWindowTable().Register(which, opener);
    }

    std::vector<TestChild*>& Opened(WindowId which) { return opened_[which]; }

    // Answers the question the next click asks, on a helper thread, by
    // pressing `button` of the box; the box's title and text.
    std::pair<std::string, std::string> ClickAndAnswer(const char* control, const char* button)
    {
        std::pair<std::string, std::string> seen;
        std::thread helper([&] {
            UiProbe probe;
            HWND box =
                testkit::WaitForWindow("MessageBoxWindow", nullptr, 10000, GetCurrentProcessId());
            ASSERT_NE(nullptr, box);
            probe.WaitFor(box, "showtext", [](const UiControl& c) { return !c.text.empty(); });
            seen.first = probe.Query(box, "title").text;
            seen.second = probe.Query(box, "showtext").text;
            EXPECT_EQ("否", probe.Query(box, "no_btn").text);
            EXPECT_EQ("是", probe.Query(box, "cancle_btn").text);
            EXPECT_FALSE(probe.Query(box, "ok_btn").shown);
            EXPECT_TRUE(probe.Click(box, button));
        });
        Click(control);
        // The question runs its own loop inside the click; the helper ends it.
        PumpUntil([] { return FindWindowA("MessageBoxWindow", nullptr) == nullptr; }, 10000);
        helper.join();
        return seen;
    }

    HWND main_ = nullptr;
    std::map<WindowId, std::vector<TestChild*>> opened_;
};

TEST_F(MainFrameCommandsTest, KeptWindowsOpenOnceAtTheCornerAndAgainAfterTheyEnd)
{
    const struct {
        const char* button;
        WindowId window;
    } cases[] = {
        {"camera_open_btn", WindowId::Camera},
        {"shortcut_setting_btn", WindowId::KeyboardShortcut},
        {"sel_skin_btn", WindowId::SelectSkin},
        {"watermark_btn", WindowId::WaterMark},
        {"add_text_rec_btn", WindowId::Caption},
        {"format_convert_btn", WindowId::FormatConvert},
    };
    for (const auto& c : cases) {
        Offer(c.window);
        Click(c.button);
        Click(c.button);
        ASSERT_EQ(1u, Opened(c.window).size()) << c.button << ": a second click reuses it";
        TestChild* w = Opened(c.window)[0];
        EXPECT_EQ(Corner().x, w->request.at.x) << c.button;
        EXPECT_EQ(Corner().y, w->request.at.y) << c.button;
        EXPECT_EQ(main_, w->request.owner) << c.button;
        EXPECT_TRUE(w->request.file.empty()) << c.button;
        // Once it has ended, the button opens a new one.
        w->Close(1);
        Pump(200);
        Click(c.button);
        EXPECT_EQ(2u, Opened(c.window).size()) << c.button;
    }
}

TEST_F(MainFrameCommandsTest, SettingsAndVideoListAreBroughtForwardWhenOpen)
{
    Offer(WindowId::ExpandTool);
    Click("expand_btn");
    ASSERT_EQ(1u, Opened(WindowId::ExpandTool).size());
    TestChild* settings = Opened(WindowId::ExpandTool)[0];
    ShowWindow(settings->GetHWND(), SW_HIDE);
    Click("expand_btn");
    EXPECT_EQ(1u, Opened(WindowId::ExpandTool).size());
    EXPECT_TRUE(IsWindowVisible(settings->GetHWND()));

    // The video list lives in its own module; the table keeps the open one.
    Offer(WindowId::VideoList);
    Click("video_file_btn");
    ASSERT_EQ(1u, Opened(WindowId::VideoList).size());
    TestChild* list = Opened(WindowId::VideoList)[0];
    ShowWindow(list->GetHWND(), SW_HIDE);
    Click("video_file_btn");
    EXPECT_EQ(1u, Opened(WindowId::VideoList).size());
    EXPECT_TRUE(IsWindowVisible(list->GetHWND()));

    // The conversion window pushes the list aside; an open one keeps its file.
    Offer(WindowId::FormatConvert);
    POINT at = {200, 300};
    g_pMainFrame->OpenFormatConvertWindow(&at, "C:\\a.avi");
    ASSERT_EQ(1u, Opened(WindowId::FormatConvert).size());
    EXPECT_EQ("C:\\a.avi", Opened(WindowId::FormatConvert)[0]->request.file);
    EXPECT_EQ(200, Opened(WindowId::FormatConvert)[0]->request.at.x);
    EXPECT_FALSE(IsWindowVisible(list->GetHWND()));
    g_pMainFrame->OpenFormatConvertWindow(nullptr, "C:\\b.avi");
    EXPECT_EQ(1u, Opened(WindowId::FormatConvert).size());
}

TEST_F(MainFrameCommandsTest, PopupsOpenAnewAtTheClickOrAtTheirButton)
{
    Offer(WindowId::CursorSetting);
    POINT first = Click("cursor_setting_btn");
    Click("cursor_setting_btn");
    ASSERT_EQ(2u, Opened(WindowId::CursorSetting).size());
    EXPECT_EQ(first.x, Opened(WindowId::CursorSetting)[0]->request.at.x);
    EXPECT_EQ(first.y, Opened(WindowId::CursorSetting)[0]->request.at.y);

    Offer(WindowId::SpeakerVolume);
    Click("speakerNormal");
    ASSERT_EQ(1u, Opened(WindowId::SpeakerVolume).size());
    EXPECT_EQ(Corner().y, Opened(WindowId::SpeakerVolume)[0]->request.at.y);

    Offer(WindowId::CountdownSetting);
    Click("coutdown_setting_btn");
    ASSERT_EQ(1u, Opened(WindowId::CountdownSetting).size());
    const RECT& pos = Control("coutdown_setting_btn")->GetPos();
    POINT corner = {pos.left, pos.top};
    ClientToScreen(main_, &corner);
    EXPECT_EQ(corner.x, Opened(WindowId::CountdownSetting)[0]->request.at.x);
    EXPECT_EQ(corner.y, Opened(WindowId::CountdownSetting)[0]->request.at.y);
}

TEST_F(MainFrameCommandsTest, TimedStartIsCancelledOnlyByYes)
{
    Offer(WindowId::CountdownSetting);
    g_bTimedStart = 1;
    g_pMainFrame->ShowControl("show_count_down_btn", true);
    for (const char* button : {"no_btn", "closebtn"}) {
        auto asked = ClickAndAnswer("coutdown_setting_btn", button);
        EXPECT_EQ("提示", asked.first);
        EXPECT_EQ("是否取消本次倒计时功能？", asked.second);
        EXPECT_EQ(1u, g_bTimedStart) << button << " keeps it pending";
        EXPECT_TRUE(Control("show_count_down_btn")->IsVisible());
    }
    ClickAndAnswer("show_count_down_btn", "cancle_btn");
    EXPECT_EQ(0u, g_bTimedStart);
    EXPECT_FALSE(Control("show_count_down_btn")->IsVisible());
    EXPECT_EQ("00:00:00", GetTimedStartText());
    DuiLib::CControlUI* time = Control(g_bLedFont ? "record_time_lb_led" : "record_time_lb");
    EXPECT_EQ("00:00:00", time->GetText().Str());
    EXPECT_TRUE(Opened(WindowId::CountdownSetting).empty()) << "no settings while asking";
}

TEST_F(MainFrameCommandsTest, AutoStopQuestionNamesTheTimeLeft)
{
    Offer(WindowId::AutoStopSetting);
    g_autoStopSettings.limit = 3723;
    g_bAutoStopWatch = 1;
    g_pMainFrame->ShowControl("show_auto_stop_btn", true);
    auto asked = ClickAndAnswer("auto_stop_rec_btn", "no_btn");
    EXPECT_EQ("提示 01:02:03后将自动停止录制", asked.first);
    EXPECT_EQ("是否取消本次自动停止录制功能？", asked.second);
    EXPECT_EQ(1u, g_bAutoStopWatch);
    // Made visible from here: the layout hides the indicator at "windowinit".
    g_pMainFrame->ShowControl("show_auto_stop_btn", true);
    Pump(50);
    ClickAndAnswer("show_auto_stop_btn", "cancle_btn");
    EXPECT_EQ(0u, g_bAutoStopWatch);
    EXPECT_FALSE(Control("show_auto_stop_btn")->IsVisible());
    EXPECT_TRUE(Opened(WindowId::AutoStopSetting).empty());
    g_autoStopSettings.limit = 60;
}

TEST_F(MainFrameCommandsTest, WhiteboardPickerAndScreenshotWindowsAreCreatedByTheMainWindow)
{
    Offer(WindowId::Whiteboard, false);
    g_nRecordMode = 4;
    Click("record_area_btn");
    ASSERT_EQ(1u, Opened(WindowId::Whiteboard).size());
    HWND board = Opened(WindowId::Whiteboard)[0]->GetHWND();
    ASSERT_TRUE(IsWindow(board));
    char title[64] = {};
    GetWindowTextA(board, title, sizeof title);
    EXPECT_STREQ("绘制模式", title);
    EXPECT_TRUE(GetWindowLongA(board, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongA(board, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(1u, g_nRecordMode);
    // A second click brings the open board forward instead of a second one.
    Click("record_area_btn");
    EXPECT_EQ(1u, Opened(WindowId::Whiteboard).size());
    g_nRecordMode = 4;

    // The region picker: made by its module, created here, once.
    Offer(WindowId::RegionPicker, false);
    Click("record_window_btn");
    ASSERT_EQ(1u, Opened(WindowId::RegionPicker).size());
    HWND region = Opened(WindowId::RegionPicker)[0]->GetHWND();
    ASSERT_TRUE(IsWindow(region));
    GetWindowTextA(region, title, sizeof title);
    EXPECT_STREQ("CScrCaptureWnd", title);
    EXPECT_EQ((DWORD)(WS_POPUP | WS_VISIBLE),
              (DWORD)GetWindowLongA(region, GWL_STYLE) & (WS_POPUP | WS_VISIBLE));
    EXPECT_TRUE(IsIconic(main_));
    ShowWindow(main_, SW_RESTORE);
    Pump(200);
    // While one exists, the button does nothing; once it has ended, it
    // opens a new one.
    Click("record_window_btn");
    EXPECT_EQ(1u, Opened(WindowId::RegionPicker).size());
    DestroyWindow(region);
    Pump(100);
    ShowWindow(main_, SW_RESTORE);
    Pump(200);
    Click("record_window_btn");
    ASSERT_EQ(2u, Opened(WindowId::RegionPicker).size());
    DestroyWindow(Opened(WindowId::RegionPicker)[1]->GetHWND());
    Pump(100);

    Offer(WindowId::ScreenShot, false);
    ShowWindow(main_, SW_RESTORE);
    Pump(200);
    Click("capture_screen_btn");
    ASSERT_EQ(1u, Opened(WindowId::ScreenShot).size());
    EXPECT_TRUE(IsWindowVisible(Opened(WindowId::ScreenShot)[0]->GetHWND()));
    EXPECT_TRUE(IsIconic(main_));
    DestroyWindow(Opened(WindowId::ScreenShot)[0]->GetHWND());
    Pump(100);
}

TEST_F(MainFrameCommandsTest, GraffitiKeyTogglesInsideTheFlashFrameOrOverTheScreen)
{
    Offer(WindowId::RealtimeGraffiti, false);
    // The graffiti module closes its canvas its own way.
    WindowEntry graffiti = GetWindowTable().Entry(WindowId::RealtimeGraffiti);
    int closed = 0;
    graffiti.close = [&](DuiLib::CWindowWnd&) { ++closed; };
    GetWindowTable().Register(WindowId::RealtimeGraffiti, graffiti);

    PostMessageA(main_, WM_HOTKEY, 4, 0);
    Pump(100);
    ASSERT_EQ(1u, Opened(WindowId::RealtimeGraffiti).size());
    const WindowRequest& first = Opened(WindowId::RealtimeGraffiti)[0]->request;
    EXPECT_EQ(1, first.flag);
    EXPECT_EQ(0, first.area.left);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), first.area.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), first.area.bottom);
    PostMessageA(main_, WM_HOTKEY, 4, 0);
    Pump(100);
    EXPECT_EQ(1, closed);
    EXPECT_EQ(1u, Opened(WindowId::RealtimeGraffiti).size());

    // With a flash frame: inside it.
    Offer(WindowId::Flash);
    RECT area = {100, 100, 500, 400};
    g_pMainFrame->ShowFlashWnd(area);
    g_pMainFrame->ShowFlashWnd(area);
    ASSERT_EQ(1u, Opened(WindowId::Flash).size());
    RECT flash;
    GetWindowRect(Opened(WindowId::Flash)[0]->GetHWND(), &flash);
    PostMessageA(main_, WM_HOTKEY, 4, 0);
    Pump(100);
    ASSERT_EQ(2u, Opened(WindowId::RealtimeGraffiti).size());
    const WindowRequest& second = Opened(WindowId::RealtimeGraffiti)[1]->request;
    EXPECT_EQ(flash.left + 4, second.area.left);
    EXPECT_EQ(flash.bottom - 4, second.area.bottom);
    for (TestChild* w : Opened(WindowId::RealtimeGraffiti)) delete w;
}

TEST_F(MainFrameCommandsTest, ScreenshotKeyShowsTheSaveNoticeOfAPictureWhenSaved)
{
    const std::string folder = testkit::MakeTempDir("shot");
    ASSERT_TRUE(SetVideoSaveFolder(folder));
    std::vector<WPARAM> notices;
    POINT noticeAt = {};
    GetWindowTable().Register(WindowId::SaveNotice,
                              {[&](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                                   noticeAt = r.at;
                                   notices.push_back((WPARAM)r.flag);
                                   return nullptr;
                               }});
    PostMessageA(main_, WM_HOTKEY, 5, 0);
    ASSERT_TRUE(PumpUntil([&] { return !notices.empty(); }));
    EXPECT_EQ(1u, notices[0]) << "kind 1: a picture";
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN) - 300, noticeAt.x);
    EXPECT_EQ(std::min(GetSystemMetrics(SM_CYFULLSCREEN), GetSystemMetrics(SM_CYSCREEN)) - 120,
              noticeAt.y);
    std::string shot = GetCurrentScreenshotFile();
    EXPECT_EQ(0u, shot.find(folder)) << shot;
    EXPECT_GT(testkit::FileSize(shot), 1000);
}

}  // namespace

namespace {

// Kept windows that note the order they end in.
class OrderedChild : public TestChild {
public:
    OrderedChild(const WindowRequest& r, WindowId id, std::vector<WindowId>& ended)
        : TestChild(r), id_(id), ended_(ended)
    {
    }

protected:
    void OnFinalMessage(HWND hWnd) override
    {
        ended_.push_back(id_);
        TestChild::OnFinalMessage(hWnd);
    }

private:
    WindowId id_;
    std::vector<WindowId>& ended_;
};

TEST_F(MainFrameCommandsTest, TheWindowTableKeepsOpensAndClosesTheWindowsInItsOrder)
{
    std::vector<WindowId> ended;
    for (WindowId id : {WindowId::ExpandTool, WindowId::Camera, WindowId::WaterMark,
                        WindowId::VideoList, WindowId::KeyboardShortcut}) {
        GetWindowTable().Register(id, {[id, &ended](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                                      auto* w = new OrderedChild(r, id, ended);
                                      // Unowned, so only the table closes it.
                                      w->Create(nullptr, "child", WS_POPUP | WS_VISIBLE,
                                                WS_EX_TOOLWINDOW, r.at.x, r.at.y, 200, 100);
                                      return w;
                                  }});
    }
    // Opened by its button and kept: the table answers it until it ends.
    Click("expand_btn");
    DuiLib::CWindowWnd* settings = GetWindowTable().Current(WindowId::ExpandTool);
    ASSERT_NE(nullptr, settings);
    HWND settingsWnd = settings->GetHWND();
    ShowWindow(settingsWnd, SW_HIDE);
    Click("expand_btn");
    EXPECT_EQ(settings, GetWindowTable().Current(WindowId::ExpandTool)) << "reused";
    EXPECT_TRUE(IsWindowVisible(settingsWnd)) << "brought forward";
    GetWindowTable().Close(WindowId::ExpandTool);
    EXPECT_EQ(nullptr, GetWindowTable().Current(WindowId::ExpandTool));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(settingsWnd); }));
    ASSERT_EQ(1u, ended.size());
    ended.clear();

    // The program ends: every open window closes, the main window's order
    // first, then the rest.
    for (const char* button :
         {"shortcut_setting_btn", "camera_open_btn", "video_file_btn", "watermark_btn"})
        Click(button);
    std::vector<HWND> open;
    for (WindowId id :
         {WindowId::KeyboardShortcut, WindowId::Camera, WindowId::VideoList, WindowId::WaterMark}) {
        ASSERT_NE(nullptr, GetWindowTable().Current(id));
        open.push_back(GetWindowTable().Current(id)->GetHWND());
    }
    g_pMainFrame->Close(1);
    ASSERT_TRUE(PumpUntil([] { return g_pMainFrame == nullptr; }, 20000));
    Pump(100);
    for (HWND w : open) EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ((std::vector<WindowId>{WindowId::WaterMark, WindowId::Camera, WindowId::VideoList,
                                     WindowId::KeyboardShortcut}),
              ended);
    for (WindowId id :
         {WindowId::KeyboardShortcut, WindowId::Camera, WindowId::VideoList, WindowId::WaterMark})
        EXPECT_EQ(nullptr, GetWindowTable().Current(id));
}

}  // namespace
