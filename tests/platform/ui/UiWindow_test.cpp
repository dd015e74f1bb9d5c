// A skinned window from the test package: it shows, clicks reach Notify,
// option groups report real changes only, custom tags reach the builder
// callback, Escape closes, broken layouts and missing pictures leave a
// usable window, and worker threads may set texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

#include "UiTestUtil.h"

#include <commctrl.h>

using namespace DuiLib;

namespace {

const DWORD kFrameStyle = 0x96C80000;  // popup, visible, caption, system menu

struct Note {
    std::string type;
    std::string sender;
    POINT pt;
    WPARAM wParam;
};

class TestWindow : public WindowImplBase {
public:
    explicit TestWindow(const char* file = "test_window.xml") : file_(file) {}

    std::vector<Note> notes;
    std::vector<std::string> order;
    std::vector<std::string> customTags;
    std::vector<UINT> customMessages;
    int finals = 0;
    std::function<void(TNotifyUI&)> onNotify;

    CControlUI* Find(const char* name) { return m_PaintManager.FindControl(name); }
    CPaintManagerUI& pm() { return m_PaintManager; }
    int Count(const std::string& type, const std::string& sender = "") const
    {
        int n = 0;
        for (auto& note : notes)
            if (note.type == type && (sender.empty() || note.sender == sender)) ++n;
        return n;
    }

protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskUiTestWindow"; }
    CDuiString GetSkinFile() override { return file_; }
    UILIB_RESOURCETYPE GetResourceType() const override { return UILIB_ZIPRESOURCE; }
    LPCSTR GetResourceID() const override { return MAKEINTRESOURCEA(130); }
    void InitWindow() override { order.push_back("InitWindow"); }
    CControlUI* CreateControl(LPCSTR pstrClass) override
    {
        customTags.push_back(pstrClass);
        return strcmp(pstrClass, "Canvas") == 0 ? new CControlUI : nullptr;
    }
    void Notify(TNotifyUI& msg) override
    {
        if (msg.sType == DUI_MSGTYPE_WINDOWINIT) order.push_back("windowinit");
        notes.push_back({msg.sType.Str(), msg.pSender ? msg.pSender->GetName().Str() : "",
                         msg.ptMouse, msg.wParam});
        if (onNotify) onNotify(msg);
        WindowImplBase::Notify(msg);
    }
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM, LPARAM, BOOL& bHandled) override
    {
        if (uMsg == WM_TIMER) customMessages.push_back(uMsg);
        bHandled = FALSE;
        return 0;
    }
    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        ++finals;
    }

private:
    CDuiString file_;
};

class SkinnedWindow : public ::testing::Test {
protected:
    void SetUp() override { CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr)); }
    void TearDown() override
    {
        for (auto* w : windows_) {
            if (IsWindow(w->GetHWND())) DestroyWindow(w->GetHWND());
            delete w;
        }
    }
    TestWindow* Open(const char* file = "test_window.xml")
    {
        auto* w = new TestWindow(file);
        windows_.push_back(w);
        HWND h = w->Create(nullptr, "界面库测试", kFrameStyle, 0, 100, 100, 0, 0);
        EXPECT_TRUE(h);
        uitest::PumpUntil([&] { return w->order.size() >= 2; }, 3000);
        UpdateWindow(h);
        return w;
    }
    static POINT Centre(CControlUI* p)
    {
        const RECT& r = p->GetPos();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static void PostClick(HWND h, POINT pt)
    {
        LPARAM at = MAKELPARAM(pt.x, pt.y);
        PostMessageA(h, WM_MOUSEMOVE, 0, at);
        PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(h, WM_LBUTTONUP, 0, at);
        uitest::PumpFor(50);
    }
    std::vector<TestWindow*> windows_;
};

}  // namespace

TEST_F(SkinnedWindow, ShowsWithTheLayoutsSizeAndNoFrame)
{
    TestWindow* w = Open();
    HWND h = w->GetHWND();
    RECT rcWindow, rcClient;
    GetWindowRect(h, &rcWindow);
    GetClientRect(h, &rcClient);
    EXPECT_EQ(420, rcWindow.right - rcWindow.left);
    EXPECT_EQ(300, rcWindow.bottom - rcWindow.top);
    EXPECT_EQ(420, rcClient.right);  // client area = window
    EXPECT_EQ(300, rcClient.bottom);
    EXPECT_TRUE(IsWindowVisible(h));

    // "windowinit" comes once, after InitWindow, from a posted message.
    ASSERT_EQ(2u, w->order.size());
    EXPECT_EQ("InitWindow", w->order[0]);
    EXPECT_EQ("windowinit", w->order[1]);
    uitest::PumpFor(100);
    EXPECT_EQ(1, w->Count("windowinit"));

    // The title bar's gradient is on the screen.
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    uitest::PumpFor(100);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, rcWindow.left + 60, rcWindow.top + 4);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(GetBValue(c), GetRValue(c) + 40) << std::hex << c;

    // The caption strip drags, its buttons click, the border sizes.
    auto hit = [&](int x, int y) {
        return SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(rcWindow.left + x, rcWindow.top + y));
    };
    EXPECT_EQ(HTCAPTION, hit(60, 16));
    EXPECT_EQ(HTCLIENT, hit(Centre(w->Find("closebtn")).x, 16));
    EXPECT_EQ(HTCLIENT, hit(200, 150));
    EXPECT_EQ(HTBOTTOMRIGHT, hit(418, 298));
}

TEST_F(SkinnedWindow, AClickReachesNotifyWithTheRightSender)
{
    TestWindow* w = Open();
    HWND h = w->GetHWND();
    CControlUI* ok = w->Find("ok_btn");
    ASSERT_NE(nullptr, ok);
    POINT centre = Centre(ok);

    // Real input: the cursor moves to the button's centre and clicks.
    SetForegroundWindow(h);
    POINT screen = centre;
    ClientToScreen(h, &screen);
    SetCursorPos(screen.x, screen.y);
    uitest::PumpFor(50);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    ASSERT_TRUE(uitest::PumpUntil([&] { return w->Count("click", "ok_btn") > 0; }))
        << "no click from the mouse";
    EXPECT_EQ(1, w->Count("click"));
    auto it = std::find_if(w->notes.begin(), w->notes.end(),
                           [](const Note& n) { return n.type == "click"; });
    EXPECT_EQ(centre.x, it->pt.x);
    EXPECT_EQ(centre.y, it->pt.y);

    // Pressed on the button but released elsewhere: no click. A disabled
    // button never clicks.
    LPARAM at = MAKELPARAM(centre.x, centre.y);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 290));
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 290));
    PostClick(h, Centre(w->Find("disabled_btn")));
    EXPECT_EQ(1, w->Count("click"));

    // A double click is two clicks, as with the system's buttons.
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(h, WM_LBUTTONUP, 0, at);
    PostMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(h, WM_LBUTTONUP, 0, at);
    uitest::PumpFor(50);
    EXPECT_EQ(3, w->Count("click", "ok_btn"));
}

TEST_F(SkinnedWindow, AnOptionGroupReportsEachRealChangeOnce)
{
    TestWindow* w = Open();
    HWND h = w->GetHWND();
    auto* a = static_cast<COptionUI*>(w->Find("opt_a"));
    auto* b = static_cast<COptionUI*>(w->Find("opt_b"));
    auto* c = static_cast<COptionUI*>(w->Find("opt_c"));
    ASSERT_TRUE(a && b && c);
    EXPECT_TRUE(a->IsSelected());  // from the layout, without an event
    EXPECT_EQ(0, w->Count("selectchanged"));

    PostClick(h, Centre(b));
    EXPECT_EQ(1, w->Count("selectchanged"));
    EXPECT_EQ(1, w->Count("selectchanged", "opt_b"));
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a->IsSelected());

    PostClick(h, Centre(b));  // already selected: a click, no change
    EXPECT_EQ(2, w->Count("click", "opt_b"));
    EXPECT_EQ(1, w->Count("selectchanged"));

    PostClick(h, Centre(c));
    EXPECT_EQ(2, w->Count("selectchanged"));
    EXPECT_EQ(1, w->Count("selectchanged", "opt_c"));
    EXPECT_FALSE(b->IsSelected());

    a->Selected(true);  // from code: the same rule
    a->Selected(true);
    EXPECT_EQ(3, w->Count("selectchanged"));
    EXPECT_EQ(1, w->Count("selectchanged", "opt_a"));
    EXPECT_FALSE(c->IsSelected());

    // A check box reports both ways.
    auto* check = static_cast<CCheckBoxUI*>(w->Find("check"));
    PostClick(h, Centre(check));
    EXPECT_TRUE(check->GetCheck());
    PostClick(h, Centre(check));
    EXPECT_FALSE(check->GetCheck());
    EXPECT_EQ(2, w->Count("selectchanged", "check"));
    // A window that sets the box to what it already shows (from inside the
    // box's own handler, as the volume windows do) hears nothing more, so
    // such a handler cannot loop; a real change from code is heard once.
    check->Selected(false);
    EXPECT_EQ(2, w->Count("selectchanged", "check"));
    check->Selected(true);
    check->Selected(true);
    EXPECT_EQ(3, w->Count("selectchanged", "check"));
}

TEST_F(SkinnedWindow, ACustomTagReachesTheBuilderCallback)
{
    TestWindow* w = Open();
    ASSERT_EQ(1u, w->customTags.size());
    EXPECT_EQ("Canvas", w->customTags[0]);
    CControlUI* canvas = w->Find("canvas");
    ASSERT_NE(nullptr, canvas);
    const RECT& panel = w->Find("panel")->GetPos();
    EXPECT_EQ(panel.left + 12, canvas->GetPos().left);
    EXPECT_EQ(panel.top + 12, canvas->GetPos().top);
    EXPECT_EQ(56, canvas->GetWidth());
}

TEST_F(SkinnedWindow, EscapeAndTheCloseButtonCloseTheWindow)
{
    TestWindow* w = Open();
    HWND h = w->GetHWND();
    PostMessageA(h, WM_KEYDOWN, VK_RETURN, 0);  // Return is left alone
    uitest::PumpFor(50);
    EXPECT_TRUE(IsWindow(h));
    PostMessageA(h, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(uitest::PumpUntil([&] { return !IsWindow(h); }));
    EXPECT_EQ(1, w->finals);

    TestWindow* w2 = Open();
    HWND h2 = w2->GetHWND();
    PostClick(h2, Centre(w2->Find("closebtn")));
    EXPECT_TRUE(uitest::PumpUntil([&] { return !IsWindow(h2); }));
    EXPECT_EQ(1, w2->finals);
}

TEST_F(SkinnedWindow, BrokenLayoutsAndMissingPicturesLeaveAUsableWindow)
{
    uitest::LogCapture log;
    TestWindow* broken = Open("broken.xml");
    HWND h = broken->GetHWND();
    ASSERT_TRUE(IsWindow(h));
    EXPECT_TRUE(log.Contains("broken.xml: XML error at line 5"));
    EXPECT_TRUE(log.Contains("could not be built"));
    EXPECT_NE(nullptr, broken->pm().GetRoot());
    EXPECT_EQ(1, broken->Count("windowinit"));
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PostMessageA(h, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(uitest::PumpUntil([&] { return !IsWindow(h); }));

    TestWindow* missing = Open("missing_image.xml");
    HWND h2 = missing->GetHWND();
    RedrawWindow(h2, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    uitest::PumpFor(50);
    EXPECT_TRUE(log.Contains("\"no_such_picture.png\" not found"));
    EXPECT_TRUE(log.Contains("\"also_missing.png\" not found"));
    PostClick(h2, Centre(missing->Find("closebtn")));
    EXPECT_TRUE(uitest::PumpUntil([&] { return !IsWindow(h2); }));
}

TEST_F(SkinnedWindow, WorkerThreadsSetTextAndVisibility)
{
    TestWindow* w = Open();
    CControlUI* status = w->Find("status");
    CControlUI* greeting = w->Find("greeting");
    int buttonsTop = w->Find("buttons")->GetPos().top;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 300; ++i) {
            status->SetText(("第" + std::to_string(i) + "次").c_str());
            greeting->SetVisible(i % 2 == 0);
            status->SetBkImage(i % 2 ? "panel.png" : "");
        }
        greeting->SetVisible(false);
        status->SetText("完成");
        done = true;
    });
    uitest::PumpUntil([&] { return done.load(); });
    worker.join();
    uitest::PumpFor(100);
    EXPECT_STREQ("完成", status->GetText());
    // The hidden label gave its row to the others at the next layout (the
    // next paint, however late a loaded machine gets to it).
    EXPECT_TRUE(uitest::PumpUntil(
        [&] { return w->Find("buttons")->GetPos().top == buttonsTop - 34; }, 3000))
        << w->Find("buttons")->GetPos().top;
}

TEST_F(SkinnedWindow, AsyncNotificationsAndControlTimersArriveLater)
{
    TestWindow* w = Open();
    CControlUI* status = w->Find("status");
    w->pm().SendNotify(status, "later", 3, 0, true);
    EXPECT_EQ(0, w->Count("later"));
    uitest::PumpUntil([&] { return w->Count("later") > 0; });
    EXPECT_EQ(1, w->Count("later", "status"));

    // A control timer and a program timer with the same small id do not mix.
    ASSERT_TRUE(w->pm().SetTimer(status, 2, 20));
    SetTimer(w->GetHWND(), 2, 20, nullptr);
    uitest::PumpUntil([&] { return w->Count("timer") > 0 && !w->customMessages.empty(); });
    for (auto& n : w->notes) {
        if (n.type == "timer") {
            EXPECT_EQ(2u, n.wParam);
        }
    }
    EXPECT_GT(w->Count("timer", "status"), 0);
    KillTimer(w->GetHWND(), 2);
    w->pm().KillTimer(status);
    int timers = w->Count("timer");
    uitest::PumpFor(100);
    EXPECT_EQ(timers, w->Count("timer"));
}

TEST_F(SkinnedWindow, AButtonMayRemoveItselfFromItsOwnClick)
{
    TestWindow* w = Open();
    auto* row = static_cast<CContainerUI*>(w->Find("buttons"));
    CControlUI* ok = w->Find("ok_btn");
    POINT at = Centre(ok);
    w->onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender == ok)
            row->Remove(ok);  // deleted once this message is done
    };
    PostClick(w->GetHWND(), at);
    EXPECT_EQ(1, w->Count("click", "ok_btn"));
    EXPECT_EQ(-1, row->GetItemIndex(ok));
    EXPECT_EQ(nullptr, w->Find("ok_btn"));
    // The next button moved into its place and takes the clicks.
    PostClick(w->GetHWND(), at);
    EXPECT_EQ(1, w->Count("click", "ok_btn"));
    EXPECT_EQ(0, w->Count("click", "disabled_btn"));  // disabled, but found there
    EXPECT_EQ(at.x, Centre(w->Find("disabled_btn")).x);
}

TEST_F(SkinnedWindow, TooltipsAndContextMenusComeFromTheControlUnderTheMouse)
{
    TestWindow* w = Open();
    HWND h = w->GetHWND();
    POINT at = Centre(w->Find("ok_btn"));
    PostMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    PostMessageA(h, WM_MOUSEHOVER, 0, MAKELPARAM(at.x, at.y));
    HWND tip = nullptr;
    uitest::PumpUntil([&] {
        tip = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr);
        while (tip && GetWindow(tip, GW_OWNER) != h)
            tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr);
        return tip && IsWindowVisible(tip);
    });
    ASSERT_TRUE(tip);
    EXPECT_TRUE(IsWindowVisible(tip));
    wchar_t text[64] = {};
    TTTOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = h;
    ti.uId = 1;
    ti.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 64, (LPARAM)&ti);
    EXPECT_STREQ(L"点击确定", text);
    PostMessageA(h, WM_MOUSELEAVE, 0, 0);
    uitest::PumpFor(50);
    EXPECT_FALSE(IsWindowVisible(tip));

    // menu="true" on the panel: a right click there sends "menu".
    POINT inPanel = Centre(w->Find("panel_text"));
    POINT screen = inPanel;
    ClientToScreen(h, &screen);
    SendMessageA(h, WM_CONTEXTMENU, (WPARAM)h, MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(1, w->Count("menu", "panel"));
    POINT outside = Centre(w->Find("greeting"));
    ClientToScreen(h, &outside);
    SendMessageA(h, WM_CONTEXTMENU, (WPARAM)h, MAKELPARAM(outside.x, outside.y));
    EXPECT_EQ(1, w->Count("menu"));
}

namespace {

CDuiString CurrentSkin()
{
    return "bk_tile.png";
}

}  // namespace

TEST_F(SkinnedWindow, TheSkinBackgroundHookPaintsTheRoot)
{
    TestWindow* w = Open();
    WindowImplBase::SetSkinBackgroundHook(nullptr);
    EXPECT_FALSE(w->ApplySkinBackground());
    WindowImplBase::SetSkinBackgroundHook(CurrentSkin);
    EXPECT_TRUE(w->ApplySkinBackground("root_layout"));
    EXPECT_FALSE(w->ApplySkinBackground("no_such_root"));
    EXPECT_STREQ(
        "file='bk_tile.png' source='0,0,0,0' dest='0,0,0,0' corner='0,0,0,0' xtiled='true' "
        "ytiled='true'",
        w->Find("root_layout")->GetBkImage());
    WindowImplBase::SetSkinBackgroundHook(nullptr);
}
