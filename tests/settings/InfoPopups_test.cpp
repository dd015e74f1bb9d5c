// The floating bar's two detail popups in this process (this thread is the
// UI thread), opened through the window table by a bar of the test's own
// that does what the floating bar does: while the mouse rests on it, it
// opens the recording details when a recording runs and the hot keys when
// none does, with itself as the popups' owner.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/CfgDocument.h"
#include "core/HotKeyTable.h"
#include "core/UiThread.h"
#include "recorder/recording/RecordStatus.h"
#include "recorder/recording/RecordingEvents.h"
#include "recorder/recording/RecordingState.h"
#include "settings/DetailPopupPlacement.h"
#include "settings/DetailPopupWnd.h"
#include "settings/SettingsModule.h"

#include <string>
#include <thread>

namespace {

bool TranslateUi(MSG* msg)
{
    return DuiLib::CPaintManagerUI::TranslateMessage(msg);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000)
{
    return testkit::PumpUntil(done, ms, TranslateUi);
}

void Pump(DWORD ms)
{
    testkit::Pump(ms, TranslateUi);
}

const SIZE kBarSize = {180, 35};
const int kOpacity = 40;

// The stand-in floating bar.
class Bar {
public:
    explicit Bar(POINT at)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "OrbiskTestFloatBar";
        wc.hbrBackground = (HBRUSH)GetStockObject(DKGRAY_BRUSH);
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP,
                               at.x, at.y, kBarSize.cx, kBarSize.cy, nullptr, nullptr, wc.hInstance,
                               nullptr);
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
    }
    ~Bar() { DestroyWindow(hwnd); }
    RECT Rect() const
    {
        RECT rc;
        GetWindowRect(hwnd, &rc);
        return rc;
    }
    HWND hwnd;
    // How often the mouse has left a bar.
    static int leaves;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_MOUSEMOVE) {
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, h, 0};
            TrackMouseEvent(&tme);
            WindowId id = g_bRecording ? WindowId::RecDetail : WindowId::StateDetail;
            if (!GetWindowTable().Current(id)) {
                WindowRequest request;
                request.owner = h;
                GetWindowTable().Open(id, request);
            }
            return 0;
        }
        if (msg == WM_MOUSELEAVE) {
            ++leaves;
            GetWindowTable().Close(WindowId::RecDetail);
            GetWindowTable().Close(WindowId::StateDetail);
            return 0;
        }
        return DefWindowProcA(h, msg, wp, lp);
    }
};

int Bar::leaves = 0;

HWND Hwnd(DuiLib::CWindowWnd* w)
{
    return w ? w->GetHWND() : nullptr;
}

RECT WindowRect(HWND h)
{
    RECT rc = {};
    GetWindowRect(h, &rc);
    return rc;
}

std::string Text(DetailPopupWnd* popup, const char* label)
{
    DuiLib::CControlUI* c = popup ? popup->GetPaintManager().FindControl(label) : nullptr;
    return c ? c->GetText().Str() : "(none)";
}

POINT Centre(const RECT& rc)
{
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// A point of the popup that the bar does not cover.
POINT OnPopupOnly(const RECT& popup, const RECT& bar)
{
    POINT p = Centre(popup);
    if (PtInRect(&bar, p)) p.y = popup.bottom > bar.bottom ? bar.bottom + 20 : bar.top - 20;
    return p;
}

void RestMouse(POINT at)
{
    SetCursorPos(at.x, at.y);
    Pump(60);
}

class InfoPopupsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
        BindUiThread();
        // The user's keys and the bar's opacity, as the program loads them.
        const std::string cfg = testkit::MakeTempDir("infopopups") + "\\vintra_cfg.xml";
        testkit::WriteFile(cfg,
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                           "<float_wnd_opacity opacity=\"" +
                               std::to_string(kOpacity) +
                               "\" />\n"
                               "<Hotkey>\n"
                               "<RecordStart vkey=\"112\" fsmod=\"2\" vkeystr=\"Ctrl+F1\" />\n"
                               "<RecordPause vkey=\"80\" fsmod=\"1\" vkeystr=\"Alt+P\" />\n"
                               "<Zoom vkey=\"90\" fsmod=\"1\" vkeystr=\"Alt+Z\" />\n"
                               "</Hotkey>\n</vintracfg>\n");
        ASSERT_EQ(1u, g_cfgDocument.LoadCfgFile(cfg));
        g_hotKeyTable.Load();
    }

    void SetUp() override
    {
        SettingsModule().registerWindows(GetWindowTable());
        SetCursorPos(5, 5);
        Pump(50);
    }

    void TearDown() override
    {
        g_bRecording = 0;
        GetWindowTable().CloseAll();
        Pump(200);
        GetWindowTable().Clear();
    }

    // The popup of `id` opened by resting the mouse on the bar.
    HWND HoverBar(const Bar& bar, WindowId id)
    {
        RestMouse(Centre(bar.Rect()));
        PumpUntil([&] { return GetWindowTable().Current(id) != nullptr; });
        HWND popup = Hwnd(GetWindowTable().Current(id));
        if (popup) PumpUntil([&] { return IsWindowVisible(popup) != FALSE; });
        // What follows must hold once the window system has settled the
        // new window, not only as it appears.
        Pump(300);
        return popup;
    }

    // The mouse goes away from the bar, which closes its popups as the
    // floating bar does once it has noticed.
    void LeaveBar()
    {
        const int before = Bar::leaves;
        RestMouse({5, 5});
        EXPECT_TRUE(PumpUntil([&] { return Bar::leaves > before; }));
    }

    // What every detail popup owes the bar: beside it with one corner
    // behind it, directly behind it in z-order, the bar left uncovered, as
    // opaque as the bar is set to be, and the user's window still active.
    void ExpectBesideAndBehind(const Bar& bar, HWND popup, HWND activeBefore)
    {
        ASSERT_NE(nullptr, popup);
        RECT rc = WindowRect(popup), barRc = bar.Rect(), both;
        EXPECT_TRUE(IntersectRect(&both, &rc, &barRc));
        EXPECT_EQ(kDetailPopupTuck, both.right - both.left);
        EXPECT_EQ(kDetailPopupTuck, both.bottom - both.top);
        EXPECT_EQ(popup, GetWindow(bar.hwnd, GW_HWNDNEXT)) << "directly behind the bar";
        EXPECT_EQ(bar.hwnd, WindowFromPoint(Centre(both))) << "the bar stays on top";
        BYTE alpha = 0;
        DWORD flags = 0;
        EXPECT_TRUE(GetLayeredWindowAttributes(popup, nullptr, &alpha, &flags));
        EXPECT_EQ(DetailPopupAlpha(kOpacity), alpha);
        EXPECT_EQ(activeBefore, GetForegroundWindow()) << "the popup took no focus";
    }
};

TEST_F(InfoPopupsTest, IdleTheHotKeyPopupShowsTheUsersKeysAndGoesWhenTheMouseRestsOnIt)
{
    Bar bar({700, 300});
    HWND active = GetForegroundWindow();
    HWND popup = HoverBar(bar, WindowId::StateDetail);
    ASSERT_NE(nullptr, popup);
    ExpectBesideAndBehind(bar, popup, active);
    EXPECT_EQ(nullptr, GetWindowTable().Current(WindowId::RecDetail));

    StateDetailWnd* state = g_pStateDetailWnd;
    EXPECT_EQ("录制/停止:Ctrl+F1", Text(state, "lab_shortcut_start_rec"));
    EXPECT_EQ("暂停/恢复:Alt+P", Text(state, "lab_shortcut_pause_rec"));
    EXPECT_EQ("录制时局部放大:Alt+Z", Text(state, "lab_shortcut_zoom_onrecord"));
    // A key the file does not name keeps its default.
    EXPECT_EQ("实时涂鸦:F9", Text(state, "lab_shortcut_real_graffiti"));
    Pump(200);
    testkit::SaveWindowScreenshot(popup, "state_detail_wnd");

    // Moving on along the bar keeps the one popup.
    RestMouse({bar.Rect().left + 20, bar.Rect().top + 10});
    EXPECT_EQ(popup, Hwnd(g_pStateDetailWnd));

    // Opened while the mouse is elsewhere, it goes as soon as the mouse
    // rests on it, and the table lets go of it at once.
    LeaveBar();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(popup); }));
    WindowRequest request;
    request.owner = bar.hwnd;
    popup = Hwnd(GetWindowTable().Open(WindowId::StateDetail, request));
    ASSERT_NE(nullptr, popup);
    Pump(100);
    RestMouse(OnPopupOnly(WindowRect(popup), bar.Rect()));
    EXPECT_TRUE(PumpUntil([&] { return g_pStateDetailWnd.get() == nullptr; }, 2000));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(popup); }));
}

TEST_F(InfoPopupsTest, RecordingTheDetailsFollowTheStatusTicksOnTheUiThreadAndGoWhenTheMouseLeaves)
{
    g_bRecording = 1;
    SetRecordStatusTexts(FormatRecordStatus(5000, 1048576, 25.0f, 102400, 51200));
    Bar bar({700, 300});
    HWND active = GetForegroundWindow();
    HWND popup = HoverBar(bar, WindowId::RecDetail);
    ASSERT_NE(nullptr, popup);
    ExpectBesideAndBehind(bar, popup, active);
    RecDetailWnd* details = g_pRecDetailWnd;
    ASSERT_TRUE(
        PumpUntil([&] { return Text(details, "detail_lab_rec_time") == "录制时长:00:00:05 "; }));
    const std::string size = Text(details, "detail_lab_rec_size");
    EXPECT_EQ("录制" + FormatRecordStatus(5000, 1048576, 25.0f, 102400, 51200).size, size);
    EXPECT_EQ("帧率:25.00", Text(details, "detail_lab_rec_frame"));
    Pump(200);
    testkit::SaveWindowScreenshot(popup, "rec_detail_wnd");

    // The status thread's tick: the texts change there, the popup only
    // once the UI thread takes the tick.
    std::thread status([] {
        SetRecordStatusTexts(FormatRecordStatus(7000, 3 * 1048576, 24.0f, 102400, 51200));
        PublishRecordingStatus();
    });
    status.join();
    EXPECT_EQ("录制时长:00:00:05 ", Text(details, "detail_lab_rec_time"));
    EXPECT_TRUE(
        PumpUntil([&] { return Text(details, "detail_lab_rec_time") == "录制时长:00:00:07 "; }));
    EXPECT_NE(size, Text(details, "detail_lab_rec_size"));
    EXPECT_EQ("帧率:24.00", Text(details, "detail_lab_rec_frame"));

    // Opened while the mouse is elsewhere, it stays while the mouse is on
    // it and goes when the mouse leaves it.
    LeaveBar();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(popup); }));
    WindowRequest request;
    request.owner = bar.hwnd;
    popup = Hwnd(GetWindowTable().Open(WindowId::RecDetail, request));
    ASSERT_NE(nullptr, popup);
    RestMouse(OnPopupOnly(WindowRect(popup), bar.Rect()));
    Pump(400);
    EXPECT_EQ(popup, Hwnd(g_pRecDetailWnd)) << "resting on it keeps it";
    RestMouse({5, 5});
    EXPECT_TRUE(PumpUntil([&] { return g_pRecDetailWnd.get() == nullptr; }, 2000));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(popup); }));
}

TEST_F(InfoPopupsTest, NearTheBottomOfTheScreenThePopupSitsAboveTheBar)
{
    const int screen = GetSystemMetrics(SM_CYSCREEN);
    Bar bar({700, screen - kBarSize.cy - 10});
    HWND active = GetForegroundWindow();
    HWND popup = HoverBar(bar, WindowId::StateDetail);
    ASSERT_NE(nullptr, popup);
    ExpectBesideAndBehind(bar, popup, active);
    RECT rc = WindowRect(popup), barRc = bar.Rect();
    EXPECT_LT(rc.top, barRc.top);
    EXPECT_LE(rc.bottom, barRc.bottom);
    EXPECT_GE(rc.top, 0);
}

TEST_F(InfoPopupsTest, WithoutABarNoPopupOpens)
{
    WindowRequest request;
    EXPECT_EQ(nullptr, GetWindowTable().Open(WindowId::StateDetail, request));
    request.owner = (HWND)(UINT_PTR)0x7FFF0;  // no window
    EXPECT_EQ(nullptr, GetWindowTable().Open(WindowId::RecDetail, request));
    Pump(100);
    EXPECT_EQ(nullptr, FindWindowA("StateDetailWnd", nullptr));
    EXPECT_EQ(nullptr, FindWindowA("RecDetailWnd", nullptr));
}

}  // namespace
