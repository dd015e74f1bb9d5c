// The popup menu on the screen, in this process (this thread is the UI
// thread): the line-width menu of the drawing tool windows and a menu with
// a sub-menu, opened from a test window and driven by the real mouse and
// keyboard. And where menus go near the edges of the work area.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "drawing/DrawingBoard.h"
#include "kit/MenuPlacement.h"
#include "kit/MenuWnd.h"

#include <string>
#include <vector>

using namespace DuiLib;

namespace {

bool TranslateUi(MSG* msg)
{
    return CPaintManagerUI::TranslateMessage(msg);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000)
{
    return testkit::PumpUntil(done, ms, TranslateUi);
}

const char kSubMenuLayout[] =
    "<Window><Font id=\"0\" name=\"微软雅黑\" size=\"12\" default=\"true\"/>"
    "<Menu width=\"120\" itemtextpadding=\"10,0,0,0\" bkcolor=\"#FFFFFFFF\">"
    "<MenuElement text=\"打开\"/>"
    "<MenuElement text=\"更多\"><MenuElement text=\"甲\"/><MenuElement text=\"乙\"/>"
    "<MenuElement text=\"丙\"/></MenuElement>"
    "</Menu></Window>";

// The window the menus are opened from.
class Host {
public:
    Host()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = (HBRUSH)GetStockObject(GRAY_BRUSH);
        wc.lpszClassName = "MenuTestHost";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, "MenuTestHost", "host", WS_POPUP | WS_VISIBLE, 20, 20, 200, 150,
                               nullptr, nullptr, wc.hInstance, nullptr);
        SetForegroundWindow(hwnd);
        testkit::Pump(100, TranslateUi);
    }
    ~Host() { DestroyWindow(hwnd); }
    HWND hwnd;
};

BOOL CALLBACK CollectMenu(HWND w, LPARAM p)
{
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (std::string(cls) == "MenuWnd" && IsWindowVisible(w))
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

std::vector<HWND> OpenMenus()
{
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectMenu, reinterpret_cast<LPARAM>(&found));
    return found;
}

CControlUI* Item(HWND menu, const std::string& text)
{
    CMenuWnd* wnd = CMenuWnd::FromHandle(menu);
    if (!wnd) return nullptr;
    auto* list = static_cast<CMenuUI*>(wnd->GetPaintManager().GetRoot());
    for (int i = 0; i < list->GetCount(); ++i)
        if (std::string(list->GetItemAt(i)->GetText().GetData()) == text)
            return list->GetItemAt(i);
    return nullptr;
}

POINT ScreenCentre(HWND menu, CControlUI* item)
{
    const RECT& rc = item->GetPos();
    POINT p = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(menu, &p);
    return p;
}

void MoveMouseTo(POINT p)
{
    SetCursorPos(p.x, p.y);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
    testkit::Pump(80, TranslateUi);
}

void ClickAt(POINT p)
{
    MoveMouseTo(p);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

void PressKey(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

class MenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr)); }
    void TearDown() override
    {
        for (HWND w : OpenMenus()) DestroyWindow(w);
        testkit::Pump(50, TranslateUi);
    }
};

TEST_F(MenuTest, ClickingThreePxSetsTheCurrentToolsWidthAndClosesTheMenu)
{
    g_drawingBoard.SetTool(kToolArrow);
    g_drawingBoard.SetWidth(kToolArrow, 1);
    Host host;
    auto* menu = new CMenuWnd(host.hwnd);
    ASSERT_TRUE(menu->Init(nullptr, "pen_weight_menu.xml", "xml", {150, 160}));
    HWND h = menu->GetHWND();
    RECT rc;
    GetWindowRect(h, &rc);
    EXPECT_EQ(150, rc.left);
    EXPECT_EQ(160, rc.top);
    EXPECT_EQ(104, rc.right - rc.left);
    EXPECT_EQ(5 * 25, rc.bottom - rc.top);
    EXPECT_EQ(h, GetForegroundWindow());
    testkit::Pump(200, TranslateUi);
    testkit::SaveWindowScreenshot(h, "pen_weight_menu");

    CControlUI* three = Item(h, "3px");
    ASSERT_NE(nullptr, three);
    ClickAt(ScreenCentre(h, three));
    ASSERT_TRUE(PumpUntil([] { return OpenMenus().empty(); })) << "the menu closed";
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(3, g_drawingBoard.GetWidth(kToolArrow));

    // From the keyboard: Return on the item the mouse selected.
    menu = new CMenuWnd(host.hwnd);
    ASSERT_TRUE(menu->Init(nullptr, "pen_weight_menu.xml", "xml", {150, 160}));
    h = menu->GetHWND();
    testkit::Pump(100, TranslateUi);
    MoveMouseTo(ScreenCentre(h, Item(h, "4px")));
    PressKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([] { return OpenMenus().empty(); }));
    EXPECT_EQ(4, g_drawingBoard.GetWidth(kToolArrow));

    // With the eraser, which has no width, a choice changes nothing.
    int widths[6];
    for (int tool = kToolPen; tool <= kToolLetter; ++tool) widths[tool] = g_drawingBoard.GetWidth(tool);
    g_drawingBoard.SetTool(kToolEraser);
    menu = new CMenuWnd(host.hwnd);
    ASSERT_TRUE(menu->Init(nullptr, "pen_weight_menu.xml", "xml", {150, 160}));
    h = menu->GetHWND();
    testkit::Pump(100, TranslateUi);
    ClickAt(ScreenCentre(h, Item(h, "5px")));
    ASSERT_TRUE(PumpUntil([] { return OpenMenus().empty(); }));
    for (int tool = kToolPen; tool <= kToolLetter; ++tool)
        EXPECT_EQ(widths[tool], g_drawingBoard.GetWidth(tool)) << tool;
    g_drawingBoard.SetWidth(kToolArrow, 2);
    g_drawingBoard.SetTool(kToolNone);
}

TEST_F(MenuTest, ASubMenuOpensBesideItsItemAndTheChainClosesWhenTheFocusLeaves)
{
    Host host;
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Near the right edge: the sub-menu has no room on the right.
    auto* menu = new CMenuWnd(host.hwnd);
    ASSERT_TRUE(menu->Init(nullptr, kSubMenuLayout, "xml", {work.right - 130, 200}));
    HWND top = menu->GetHWND();
    RECT topRc;
    GetWindowRect(top, &topRc);
    EXPECT_EQ(work.right - 130, topRc.left);
    testkit::Pump(100, TranslateUi);

    CControlUI* more = Item(top, "更多");
    ASSERT_NE(nullptr, more);
    EXPECT_EQ(nullptr, Item(top, "甲")) << "sub-items are not items of the menu";
    MoveMouseTo(ScreenCentre(top, more));
    ASSERT_TRUE(PumpUntil([] { return OpenMenus().size() == 2; })) << "hovering opens it";
    HWND sub = static_cast<CMenuElementUI*>(more)->GetMenuWnd()->GetHWND();
    RECT subRc;
    GetWindowRect(sub, &subRc);
    POINT itemTop = {0, more->GetPos().top};
    ClientToScreen(top, &itemTop);
    EXPECT_EQ(topRc.left, subRc.right) << "it opens to the left";
    EXPECT_EQ(itemTop.y, subRc.top);
    EXPECT_EQ(3 * 25 + 4, subRc.bottom - subRc.top);
    ASSERT_NE(nullptr, Item(sub, "乙"));
    testkit::Pump(200, TranslateUi);
    testkit::SaveWindowScreenshot(sub, "menu_sub_menu");

    // Escape closes the sub-menu only; a plain item of the menu closes it
    // as well.
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(sub); }));
    EXPECT_TRUE(IsWindowVisible(top));
    MoveMouseTo(ScreenCentre(top, Item(top, "打开")));
    MoveMouseTo(ScreenCentre(top, more));
    ASSERT_TRUE(PumpUntil([] { return OpenMenus().size() == 2; })) << "it opens again";
    MoveMouseTo(ScreenCentre(top, Item(top, "打开")));
    ASSERT_TRUE(PumpUntil([] { return OpenMenus().size() == 1; }));

    MoveMouseTo(ScreenCentre(top, more));
    ASSERT_TRUE(PumpUntil([] { return OpenMenus().size() == 2; }));
    SetForegroundWindow(host.hwnd);
    SetFocus(host.hwnd);
    EXPECT_TRUE(PumpUntil([] { return OpenMenus().empty(); })) << "focus elsewhere closes all";
}

TEST(MenuPlacement, MenusStayInsideTheWorkArea)
{
    const RECT work = {0, 0, 1280, 800};
    RECT rc = PlaceTopMenu({1250, 790}, {104, 125}, work);
    EXPECT_TRUE(rc.left == 1176 && rc.top == 675 && rc.right == 1280 && rc.bottom == 800);

    const RECT ownerWindow = {500, 100, 620, 229};
    const RECT item = {500, 150, 620, 175};
    const SIZE size = {100, 54};
    const OpenMenu owner = {ownerWindow, true};
    rc = PlaceSubMenu(item, ownerWindow, {owner}, size, work);
    EXPECT_TRUE(rc.left == 620 && rc.right == 722 && rc.top == 150 && rc.bottom == 204);
    // A chain that went left goes on to the left.
    rc = PlaceSubMenu(item, ownerWindow, {{{700, 60, 820, 189}, false}, owner}, size, work);
    EXPECT_TRUE(rc.right == 500 && rc.left == 398 && rc.top == 150);
    // Near the bottom it ends at the item's top.
    const RECT low = {500, 770, 620, 795};
    rc = PlaceSubMenu(low, {500, 700, 620, 800}, {owner}, size, work);
    EXPECT_TRUE(rc.bottom == 770 && rc.top == 716 && rc.left == 620);
}

}  // namespace
