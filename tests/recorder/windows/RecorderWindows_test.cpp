// The recorder's windows in this process (this thread is their UI thread),
// opened through the module's registrations: the countdown window, and the
// picker cancelled from its menu with a stand-in for the floating bar (the
// end-to-end tests drive the picker with the real mouse).
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/HotKeyTable.h"
#include "kit/WindowMessages.h"
#include "kit/WindowTable.h"
#include "recorder/windows/RecorderModule.h"
#include "recorder/windows/ScrCaptureWnd.h"

#include <string>
#include <thread>

namespace {

using testkit::Pump;
using testkit::PumpUntil;

// The floating bar's part the picker deals with: the bar itself and its
// "choose a region" button.
class StandInBar : public DuiLib::WindowImplBase {
protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskStandInBar"; }
    DuiLib::CDuiString GetSkinFile() override
    {
        return "<Window size=\"180,35\"><HorizontalLayout>"
               "<Button name=\"target_btn\" width=\"16\" height=\"16\"/>"
               "</HorizontalLayout></Window>";
    }
    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        GetWindowTable().Forget(this);
        delete this;
    }
};

class RecorderWindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
    }
    void SetUp() override { RecorderModule().registerWindows(GetWindowTable()); }
    void TearDown() override
    {
        GetWindowTable().CloseAll();
        Pump(200);
        GetWindowTable().Clear();
    }
};

// A mouse message to the window at a client point, served at once.
void Mouse(HWND window, UINT message, POINT at, WPARAM buttons = 0)
{
    SetCursorPos(at.x, at.y);
    SendMessageA(window, message, buttons, MAKELPARAM(at.x, at.y));
}

TEST_F(RecorderWindowsTest, CountdownShowsEachSecondThenStartAndGoesAtOnce)
{
    g_hotKeyTable.entries[1].vkeystr = "Alt+P";
    DuiLib::CWindowWnd* w = GetWindowTable().Open(WindowId::CountDown, {});
    ASSERT_NE(nullptr, w);
    HWND h = w->GetHWND();
    ASSERT_TRUE(IsWindowVisible(h));
    auto* window = dynamic_cast<DuiLib::WindowImplBase*>(w);
    ASSERT_NE(nullptr, window);
    auto text = [&](const char* name) {
        DuiLib::CControlUI* c = window->GetPaintManager().FindControl(name);
        return c ? std::string(c->GetText().Str()) : std::string("<missing>");
    };
    // The seconds may come before the window's first paint.
    for (unsigned n : {3u, 2u, 1u}) {
        w->SendMessage(WM_RECORD_STATUS, n);
        EXPECT_EQ(std::to_string(n), text("countdown_lb"));
    }
    ASSERT_TRUE(PumpUntil([&] { return text("mic_status_lb") != ""; }));
    EXPECT_EQ("开始/停止: F7", text("mic_status_lb"));
    EXPECT_EQ("暂停/恢复: Alt+P", text("speaker_status_lb"));
    EXPECT_EQ("实时涂鸦: F9", text("gratific_lb"));
    EXPECT_EQ("局部放大: F6", text("rec_model_lb"));
    w->SendMessage(WM_RECORD_STATUS, 0);
    EXPECT_EQ("开始!", text("countdown_lb"));

    // Closed as the recording starts: gone before anything else runs.
    GetWindowTable().Close(WindowId::CountDown);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(nullptr, GetWindowTable().Current(WindowId::CountDown));
    g_hotKeyTable = HotKeyTable();
}

TEST_F(RecorderWindowsTest, PickerCancelledFromItsMenuBringsBackTheBarWithItsButtonEnabled)
{
    GetWindowTable().Register(WindowId::FloatRec, {[](const WindowRequest&) -> DuiLib::CWindowWnd* {
                                  auto* bar = new StandInBar;
                                  bar->Create(nullptr, "FloatRecWnd", WS_POPUP,
                                              WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 1000, 30, 180, 35);
                                  return bar;
                              }});
    auto* bar = static_cast<StandInBar*>(GetWindowTable().Open(WindowId::FloatRec, {}));
    ASSERT_NE(nullptr, bar);
    DuiLib::CControlUI* target = bar->GetPaintManager().FindControl("target_btn");
    ASSERT_NE(nullptr, target);
    // Hidden and disabled, as the picker's opening and a recording leave them.
    target->SetEnabled(false);

    CScrCaptureWnd* picker = GetScrCaptureWnd();
    ASSERT_EQ(picker, GetScrCaptureWnd()) << "one picker at a time";
    ASSERT_NE(nullptr, picker->Create(nullptr, "CScrCaptureWnd", WS_POPUP | WS_VISIBLE, 0));
    HWND h = picker->GetHWND();
    picker->ShowWindow(true);
    Pump(300);

    Mouse(h, WM_LBUTTONDOWN, {300, 300}, MK_LBUTTON);
    Mouse(h, WM_MOUSEMOVE, {500, 400}, MK_LBUTTON);
    Mouse(h, WM_LBUTTONUP, {500, 400});
    ASSERT_TRUE(picker->IsConfirmed());
    RECT chosen = picker->GetSelection();
    EXPECT_EQ(300, chosen.left);
    EXPECT_EQ(400, chosen.bottom);

    // The menu runs its own loop: a helper chooses its second entry.
    std::string second;
    std::thread helper([&] {
        HWND menu = testkit::WaitForWindow("#32768", nullptr, 5000, GetCurrentProcessId());
        if (!menu) return;
        HMENU items = (HMENU)SendMessageA(menu, MN_GETHMENU, 0, 0);
        char text[64] = {};
        GetMenuStringA(items, 1, text, sizeof text, MF_BYPOSITION);
        second = text;
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    });
    Mouse(h, WM_RBUTTONUP, {400, 350});
    helper.join();
    EXPECT_EQ("取消选择", second);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(h); }, 5000)) << "the picker closed";
    EXPECT_EQ(nullptr, GetWindowTable().Current(WindowId::RegionPicker));
    EXPECT_TRUE(IsWindowVisible(bar->GetHWND()));
    EXPECT_TRUE(target->IsEnabled());
}

}  // namespace
