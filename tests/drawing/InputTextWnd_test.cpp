// The text box of the drawing surfaces in the test process (this thread its
// UI thread), over a surface of the test's own: typed into and dragged with
// the keyboard and mouse, as a user does.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "drawing/windows/InputTextWnd.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

// The program's loop hands keys to the UI library first; so does the test's.
bool TranslateUi(MSG* msg)
{
    return DuiLib::CPaintManagerUI::TranslateMessage(msg);
}

void Pump(DWORD ms)
{
    testkit::Pump(ms, TranslateUi);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000)
{
    return testkit::PumpUntil(done, ms, TranslateUi);
}

void Key(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(INPUT));
}

void TypeKeys(const std::string& keys)
{
    for (char c : keys) {
        WORD vk = c == '\n' ? VK_RETURN : (WORD)toupper((unsigned char)c);
        Key(vk, false);
        Key(vk, true);
        Pump(30);
    }
}

// The mouse as the hardware moves it, from a thread of its own: a drag by a
// window's caption runs the system's move loop on this (the UI) thread,
// which must go on handling messages meanwhile.
void MoveMouse(POINT to)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = (to.x * 65536 + 65535) / GetSystemMetrics(SM_CXSCREEN);
    in.mi.dy = (to.y * 65536 + 65535) / GetSystemMetrics(SM_CYSCREEN);
    SetCursorPos(to.x, to.y);
    SendInput(1, &in, sizeof(INPUT));
    Sleep(40);
}

void Button(DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(INPUT));
    Sleep(60);
}

// The surface under the box: a plain window that keeps what the box tells
// it and closes the box on Enter, as the drawing surfaces do.
class Surface : public DuiLib::CWindowWnd, public InputTextOwner {
public:
    HWND GetInputTextOwnerWindow() const override { return m_hWnd; }
    void SetInputTextPoint(POINT client) override { point = client; }
    void CommitInputText() override
    {
        committed.push_back({GetText(), point});
        if (box) box->Close();
        box = nullptr;
    }
    void InputTextClosed(const InputTextBox* gone) override
    {
        ++closedNotices;
        if (box == gone) box = nullptr;
    }
    std::string GetText() const { return box ? box->GetText() : std::string("<no box>"); }

    struct Commit {
        std::string text;
        POINT at;
    };
    InputTextBox* box = nullptr;
    POINT point = {-1, -1};
    std::vector<Commit> committed;
    int closedNotices = 0;

protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskTestSurface"; }
};

class InputTextBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr)); }

    void SetUp() override
    {
        ASSERT_TRUE(surface_.Create(nullptr, "surface", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                    WS_EX_TOPMOST, 60, 50, 700, 500));
        POINT origin = {0, 0};
        ClientToScreen(surface_.GetHWND(), &origin);
        origin_ = origin;
        Pump(100);
    }

    void TearDown() override
    {
        if (surface_.box) surface_.box->Close();
        PumpUntil([&] { return surface_.box == nullptr; }, 3000);
        DestroyWindow(surface_.GetHWND());
        Pump(100);
    }

    // Opens a box at a point of the surface's client area.
    template <class Box>
    HWND Open(POINT client, const std::string& text)
    {
        surface_.box = new Box(&surface_, origin_.x + client.x, origin_.y + client.y, text);
        HWND h = surface_.box->GetHWND();
        EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(h) && surface_.GetText() == text; }));
        return h;
    }

    Surface surface_;
    POINT origin_ = {0, 0};
};

TEST_F(InputTextBoxTest, OpensWithItsTextAtThePointAndHandsTheTypedTextOverOnEnter)
{
    HWND h = Open<InputTextGraffitiWnd>({120, 80}, "旧的");
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_STREQ("InputTextGraffitiWnd", cls);
    RECT rc = {};
    GetWindowRect(h, &rc);
    EXPECT_EQ(200, rc.right - rc.left);
    EXPECT_EQ(35, rc.bottom - rc.top);
    // The surface knows where the box is from the moment it opens.
    EXPECT_EQ(120, surface_.point.x);
    EXPECT_EQ(80, surface_.point.y);
    // Above the surface, which stays on top of everything else (the point
    // lies on the edit's own child window, inside the box).
    EXPECT_EQ(h, GetAncestor(WindowFromPoint({rc.left + 100, rc.top + 25}), GA_ROOT));
    testkit::SaveWindowScreenshot(h, "input_text_wnd");

    // The keyboard types into the box at once; Enter hands the whole text
    // over, once, and the surface closes the box.
    SetForegroundWindow(h);
    Pump(100);
    TypeKeys("abc\n");
    ASSERT_TRUE(PumpUntil([&] { return !surface_.committed.empty(); }));
    Pump(200);
    ASSERT_EQ(1u, surface_.committed.size());
    EXPECT_EQ("旧的abc", surface_.committed[0].text);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(h); }));
    EXPECT_EQ(1, surface_.closedNotices);
}

TEST_F(InputTextBoxTest, ABoxDraggedByItsTopCarriesItsTextPointToWhereItWasLeft)
{
    HWND h = Open<InputTextWnd>({300, 200}, "");
    RECT rc = {};
    GetWindowRect(h, &rc);
    POINT grip = {rc.left + 60, rc.top + 5};
    std::atomic<bool> dragged{false};
    std::thread hand([&] {
        MoveMouse(grip);
        Button(MOUSEEVENTF_LEFTDOWN);
        for (int i = 1; i <= 10; ++i) MoveMouse({grip.x + 7 * i, grip.y - 4 * i});
        Button(MOUSEEVENTF_LEFTUP);
        dragged = true;
    });
    PumpUntil([&] { return dragged.load(); }, 10000);
    hand.join();
    ASSERT_TRUE(PumpUntil([&] {
        RECT now = {};
        GetWindowRect(h, &now);
        return now.left == rc.left + 70 && now.top == rc.top - 40;
    })) << "the box followed the mouse";
    Pump(100);
    // Exactly where it was left, not one mouse step behind.
    EXPECT_EQ(370, surface_.point.x);
    EXPECT_EQ(160, surface_.point.y);

    // Enter in an empty box hands over an empty text; the surface decides.
    SetForegroundWindow(h);
    Pump(100);
    TypeKeys("\n");
    ASSERT_TRUE(PumpUntil([&] { return !surface_.committed.empty(); }));
    EXPECT_EQ("", surface_.committed[0].text);
    EXPECT_EQ(370, surface_.committed[0].at.x);
    EXPECT_EQ(160, surface_.committed[0].at.y);
}

TEST_F(InputTextBoxTest, ABoxClosedByTheProgramTellsItsSurface)
{
    HWND h = Open<InputTextCaptureWnd>({10, 10}, "x");
    SendMessageA(h, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return surface_.box == nullptr; }));
    EXPECT_EQ(1, surface_.closedNotices);
    EXPECT_TRUE(surface_.committed.empty());
}

}  // namespace
