// The floating bar in the test process (this thread its UI thread), made by
// a main window of the test's own as the program makes it, with stand-ins
// for the windows the bar opens (graffiti, flash frame, region picker,
// video list) registered in the window table.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "app/MainFrame.h"
#include "core/UiThread.h"
#include "recorder/recording/RecordingState.h"
#include "recorder/windows/FloatRecMenu.h"
#include "recorder/windows/FloatRecWnd.h"
#include "recorder/windows/RecorderModule.h"

#include <map>
#include <string>
#include <thread>
#include <vector>

using testkit::Pump;
using testkit::PumpUntil;

namespace {

// What the stand-ins were opened with and the commands they received.
struct StandInLog {
    std::vector<WindowRequest> requests;
    std::vector<UINT> commands;
};

class StandIn : public DuiLib::CWindowWnd {
public:
    explicit StandIn(StandInLog* log) : log_(log) {}

protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskStandIn"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_COMMAND) {
            log_->commands.push_back(LOWORD(wParam));
            return 0;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override
    {
        GetWindowTable().Forget(this);
        delete this;
    }

private:
    StandInLog* log_;
};

std::string Str(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) +
           "," + std::to_string(rc.bottom);
}

class FloatRecWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
        BindUiThread();
    }

    void SetUp() override
    {
        RecorderModule().registerWindows(GetWindowTable());
        g_pMainFrame = new MainFrame();
        ASSERT_TRUE(
            g_pMainFrame->Create(nullptr, "Orbisk", 0x96CA0000, WS_EX_APPWINDOW, 0, 0, 600, 800));
        g_pMainFrame->ShowWindow(true);
        // The bar is made in the second half of the main window's start.
        ASSERT_TRUE(PumpUntil([&] { return g_pFloatRecWnd && Control("play_btn")->IsVisible(); }));
        bar_ = g_pFloatRecWnd->GetHWND();
        Pump(300);
    }

    void TearDown() override
    {
        if (g_pMainFrame) g_pMainFrame->Close(1);
        EXPECT_TRUE(PumpUntil([] { return g_pMainFrame == nullptr; }, 20000)) << "closed";
        Pump(100);
        GetWindowTable().Clear();
    }

    DuiLib::CControlUI* Control(const char* name)
    {
        return g_pFloatRecWnd->GetPaintManager().FindControl(name);
    }

    // A click with the mouse on a control of the bar.
    void Click(const char* name)
    {
        DuiLib::CControlUI* c = Control(name);
        ASSERT_NE(nullptr, c) << name;
        const RECT& rc = c->GetPos();
        LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        PostMessageA(bar_, WM_MOUSEMOVE, 0, at);
        PostMessageA(bar_, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(bar_, WM_LBUTTONUP, 0, at);
        Pump(200);
    }

    void Command(unsigned id)
    {
        PostMessageA(bar_, WM_COMMAND, id, 0);
        Pump(200);
    }

    // Registers a stand-in for a window the bar opens; `created` gives it a
    // native window over the request's area.
    void Offer(WindowId which, bool created)
    {
        WindowEntry entry;
        StandInLog* log = &logs_[which];
        entry.open = [log, created](const WindowRequest& r) -> DuiLib::CWindowWnd* {
            log->requests.push_back(r);
            auto* w = new StandIn(log);
            if (created)
                w->Create(nullptr, "stand-in", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, r.area);
            return w;
        };
        GetWindowTable().Register(which, entry);
    }

    HWND bar_ = nullptr;
    std::map<WindowId, StandInLog> logs_;
};

TEST_F(FloatRecWndTest, GraffitiButtonsDrawOverTheScreenOrInsideTheFlashFrame)
{
    Offer(WindowId::RealtimeGraffiti, true);
    Click("floatregin_pen_btn");
    const auto& opened = logs_[WindowId::RealtimeGraffiti].requests;
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ(0, opened[0].flag);
    EXPECT_EQ(Str({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}),
              Str(opened[0].area));
    EXPECT_TRUE(IsWindowVisible(bar_)) << "the bar stays up beside the drawing";
    EXPECT_FALSE(Control("target_btn")->IsEnabled());

    // Again: the drawing ends.
    Click("layered_pen_btn");
    EXPECT_EQ(1u, opened.size());
    EXPECT_EQ(nullptr, GetWindowTable().Current(WindowId::RealtimeGraffiti));
    EXPECT_TRUE(Control("target_btn")->IsEnabled());

    // Around a region being recorded, inside its frame.
    Offer(WindowId::Flash, true);
    WindowRequest frame;
    frame.area = {100, 120, 500, 420};
    ASSERT_NE(nullptr, GetWindowTable().Open(WindowId::Flash, frame));
    Click("layered_pen_btn");
    ASSERT_EQ(2u, opened.size());
    EXPECT_EQ(1, opened[1].flag);
    EXPECT_EQ(Str({104, 124, 496, 416}), Str(opened[1].area));
}

TEST_F(FloatRecWndTest, RegionButtonIsDisabledOnlyWhileThePickerIsUpAndStartRecordsItsRegion)
{
    // A program without the picker: nothing opens, the button stays usable.
    GetWindowTable().Register(WindowId::RegionPicker, WindowEntry{});
    Click("target_btn");
    EXPECT_TRUE(Control("target_btn")->IsEnabled());
    EXPECT_TRUE(IsWindowVisible(bar_));

    Offer(WindowId::RegionPicker, false);
    Click("target_btn");
    DuiLib::CWindowWnd* picker = GetWindowTable().Current(WindowId::RegionPicker);
    ASSERT_NE(nullptr, picker);
    EXPECT_TRUE(IsWindowVisible(picker->GetHWND()));
    EXPECT_FALSE(Control("target_btn")->IsEnabled());
    EXPECT_FALSE(IsWindowVisible(bar_)) << "out of the picker's way";

    // The start button has the picker record what is chosen in it.
    Click("play_btn");
    EXPECT_EQ(std::vector<UINT>{158}, logs_[WindowId::RegionPicker].commands);
    EXPECT_EQ(0, g_bRecording.load()) << "no whole-screen recording beside it";

    // Cancelled: the picker gives the bar back with the button enabled.
    GetWindowTable().Close(WindowId::RegionPicker);
    g_pMainFrame->m_bFloatWndShown = 0;
    g_pFloatRecWnd->ShowWithTargetEnabled(true);
    EXPECT_TRUE(IsWindowVisible(bar_));
    EXPECT_TRUE(Control("target_btn")->IsEnabled());
    EXPECT_EQ(1u, g_pMainFrame->m_bFloatWndShown) << "the hot key hides it at the next press";
}

TEST_F(FloatRecWndTest, EscapeAndAltF4LeaveABarThatTheHotKeyBringsBack)
{
    SetForegroundWindow(bar_);
    PostMessageA(bar_, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump(300);
    ASSERT_TRUE(IsWindow(bar_));
    EXPECT_TRUE(IsWindowVisible(bar_));

    PostMessageA(bar_, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump(300);
    ASSERT_TRUE(IsWindow(bar_)) << "hidden, not gone";
    EXPECT_FALSE(IsWindowVisible(bar_));
    EXPECT_EQ(0u, g_pMainFrame->m_bFloatWndShown);
    g_pMainFrame->OnHotKeyAction(2);
    Pump(100);
    EXPECT_TRUE(IsWindowVisible(bar_));
}

TEST_F(FloatRecWndTest, MenuCommandsReachTheMainWindow)
{
    Offer(WindowId::VideoList, true);
    Command(kFloatBarCmdOpenFolder);
    const auto& lists = logs_[WindowId::VideoList].requests;
    ASSERT_EQ(1u, lists.size());
    EXPECT_EQ(g_pMainFrame->GetHWND(), lists[0].owner);

    ShowWindow(g_pMainFrame->GetHWND(), SW_MINIMIZE);
    Pump(200);
    Command(kFloatBarCmdShowMain);
    EXPECT_TRUE(PumpUntil([] { return !IsIconic(g_pMainFrame->GetHWND()); }, 3000));

    // Commands outside the menu do nothing; "退出" ends the program.
    Command(0x7777);
    ASSERT_NE(nullptr, g_pMainFrame);
    Command(kFloatBarCmdExit);
    EXPECT_TRUE(PumpUntil([] { return g_pMainFrame == nullptr; }, 20000));
    EXPECT_FALSE(IsWindow(bar_));
}

TEST_F(FloatRecWndTest, ATipFromAnyThreadShowsForItsSecondsAndANewerOneRestartsThem)
{
    DuiLib::CPaintManagerUI& main = g_pMainFrame->GetPaintManager();
    auto shown = [&] { return main.FindControl("assistant_layout")->IsVisible(); };
    auto text = [&] { return std::string(main.FindControl("assistant_lb")->GetText().GetData()); };

    std::thread([] { ShowFloatWndTip("第一条", 1); }).join();
    ASSERT_TRUE(PumpUntil([&] { return shown() && text() == "第一条"; }, 2000));
    Pump(600);
    std::thread([] { ShowFloatWndTip("第二条", 1); }).join();
    ASSERT_TRUE(PumpUntil([&] { return text() == "第二条"; }, 2000));
    const DWORD second = GetTickCount();
    // Past the first tip's second, the newer one is still up.
    Pump(600);
    EXPECT_TRUE(shown());
    ASSERT_TRUE(PumpUntil([&] { return !shown(); }, 3000));
    EXPECT_GE(GetTickCount() - second, 900u);
}

}  // namespace
