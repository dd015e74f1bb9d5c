// The window class, modal loops, deferred final messages and the message
// loop with its pre-message filters.
#include <gtest/gtest.h>

#include "UiTestUtil.h"

using namespace DuiLib;

namespace {

const UINT kDestroyInside = WM_APP + 1;
const UINT kWhoAmI = WM_APP + 2;

// A bare window that logs what happens to it.
class PlainWnd : public CWindowWnd {
public:
    explicit PlainWnd(std::vector<std::string>* log, int id = 0) : log_(log), id_(id) {}
    int id() const { return id_; }

protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskUiPlainTest"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == kDestroyInside) {
            ::DestroyWindow(m_hWnd);
            // Still inside the handler: the object must be alive.
            log_->push_back("after destroy " + std::to_string(id_));
            return 0;
        }
        if (uMsg == kWhoAmI) return id_;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override
    {
        log_->push_back("final " + std::to_string(id_));
        delete this;
    }

private:
    std::vector<std::string>* log_;
    int id_;
};

}  // namespace

namespace {

struct ModalCtx {
    HWND owner;
    bool* disabled;
    CWindowWnd* dlg;
} g_modal;

VOID CALLBACK CloseModalSoon(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    *g_modal.disabled = !IsWindowEnabled(g_modal.owner);
    g_modal.dlg->Close(5);
}

}  // namespace

TEST(CWindowWnd, ShowModalReturnsTheCloseCodeAndEndsTheObject)
{
    std::vector<std::string> log;
    HWND owner = (new PlainWnd(&log, 1))->Create(nullptr, "owner", WS_OVERLAPPEDWINDOW, 0);
    ASSERT_TRUE(owner);
    auto* dlg = new PlainWnd(&log, 2);
    HWND hDlg = dlg->Create(owner, "modal", WS_POPUP | WS_CAPTION, 0, 10, 10, 200, 100);
    ASSERT_TRUE(hDlg);
    // The owner is disabled while the box runs; Close(5) ends it with 5.
    bool ownerWasDisabled = false;
    g_modal = {owner, &ownerWasDisabled, dlg};
    SetTimer(nullptr, 0, 50, CloseModalSoon);
    UINT code = dlg->ShowModal();
    EXPECT_EQ(5u, code);
    EXPECT_TRUE(ownerWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindow(hDlg));
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ("final 2", log[0]);
    DestroyWindow(owner);
    EXPECT_EQ("final 1", log.back());
}

TEST(CWindowWnd, FinalMessageWaitsForTheHandlerThatDestroyedTheWindow)
{
    std::vector<std::string> log;
    HWND h = (new PlainWnd(&log, 3))->Create(nullptr, "x", WS_POPUP, 0);
    ASSERT_TRUE(h);
    SendMessageA(h, kDestroyInside, 0, 0);
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ("after destroy 3", log[0]);
    EXPECT_EQ("final 3", log[1]);
}

TEST(CWindowWnd, ObjectsSharingAClassGetTheirOwnMessages)
{
    std::vector<std::string> log;
    HWND a = (new PlainWnd(&log, 10))->Create(nullptr, "a", WS_POPUP, 0);
    HWND b = (new PlainWnd(&log, 20))->Create(nullptr, "b", WS_POPUP, 0);
    ASSERT_TRUE(a);
    ASSERT_TRUE(b) << "registering an existing class counts as success";
    EXPECT_EQ(10, SendMessageA(a, kWhoAmI, 0, 0));
    EXPECT_EQ(20, SendMessageA(b, kWhoAmI, 0, 0));
    DestroyWindow(a);
    DestroyWindow(b);
    EXPECT_EQ(2u, log.size());
}

namespace {

// Swallows one posted message before it is dispatched.
class SwallowFilter : public IMessageFilterUI {
public:
    UINT swallow = 0;
    int seen = 0;
    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
    {
        if (uMsg == swallow) {
            ++seen;
            bHandled = true;
        }
        return 0;
    }
};

class FilteredWnd : public CWindowWnd {
public:
    CPaintManagerUI pm;
    int dispatched = 0;

protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskUiFilteredTest"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) pm.Init(m_hWnd);
        if (uMsg == WM_APP + 7) ++dispatched;
        if (uMsg == WM_APP + 8) ::PostQuitMessage(42);
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

}  // namespace

TEST(MessageLoop, PreFiltersRunBeforeDispatchAndQuitEndsTheLoop)
{
    FilteredWnd w;
    ASSERT_TRUE(w.Create(nullptr, "f", WS_POPUP, 0));
    SwallowFilter filter;
    filter.swallow = WM_APP + 7;
    w.pm.AddPreMessageFilter(&filter);
    PostMessageA(w.GetHWND(), WM_APP + 7, 0, 0);
    PostMessageA(w.GetHWND(), WM_APP + 8, 0, 0);
    CPaintManagerUI::MessageLoop();  // returns on the quit message
    EXPECT_EQ(1, filter.seen);
    EXPECT_EQ(0, w.dispatched);

    w.pm.RemovePreMessageFilter(&filter);
    PostMessageA(w.GetHWND(), WM_APP + 7, 0, 0);
    PostMessageA(w.GetHWND(), WM_APP + 8, 0, 0);
    CPaintManagerUI::MessageLoop();
    EXPECT_EQ(1, w.dispatched);
    DestroyWindow(w.GetHWND());
}

TEST(CWindowWnd, CentresOnTheWorkAreaOrOnItsOwner)
{
    std::vector<std::string> log;
    auto* owner = new PlainWnd(&log, 30);
    HWND hOwner = owner->Create(nullptr, "o", WS_POPUP | WS_VISIBLE, 0, 100, 100, 400, 300);
    auto* w = new PlainWnd(&log, 31);
    HWND h = w->Create(nullptr, "c", WS_POPUP, 0, 0, 0, 200, 100);
    w->CenterWindow();
    MONITORINFO mi = {sizeof mi};
    GetMonitorInfoA(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &mi);
    RECT rc;
    GetWindowRect(h, &rc);
    EXPECT_EQ((mi.rcWork.left + mi.rcWork.right) / 2 - 100, rc.left);
    EXPECT_EQ((mi.rcWork.top + mi.rcWork.bottom) / 2 - 50, rc.top);
    DestroyWindow(h);

    w = new PlainWnd(&log, 32);
    h = w->Create(hOwner, "c", WS_POPUP, 0, 0, 0, 200, 100);
    w->CenterWindow();
    GetWindowRect(h, &rc);
    EXPECT_EQ(200, rc.left);
    EXPECT_EQ(200, rc.top);
    DestroyWindow(h);
    DestroyWindow(hOwner);
}

namespace {

// A copy of the system's static control under a class of our own.
class SuperStatic : public CWindowWnd {
public:
    int created = 0;

protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskUiSuperStatic"; }
    LPCSTR GetSuperClassName() const override { return "STATIC"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) ++created;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

}  // namespace

TEST(CWindowWnd, ASuperclassKeepsTheOriginalBehaviour)
{
    SuperStatic w;
    HWND h = w.Create(nullptr, "原文", WS_POPUP, 0);
    ASSERT_TRUE(h);
    EXPECT_EQ(1, w.created);
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_STREQ("OrbiskUiSuperStatic", cls);
    // Text handling is the static control's own.
    SetWindowTextA(h, "新文字");
    char text[32] = {};
    GetWindowTextA(h, text, sizeof text);
    EXPECT_STREQ("新文字", text);
    EXPECT_EQ(SS_LEFT, (int)(GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK));
    DestroyWindow(h);
}
