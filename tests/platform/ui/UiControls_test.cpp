// The newer controls in a real window, driven by input messages: edits
// over their native window, combo boxes with their drop-down, lists with
// header, rows and text callback, sliders dragged by the mouse, tab pages
// and scrolling containers. A screenshot goes to build/screenshots/.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "TestKit.h"
#include "UiTestUtil.h"

using namespace DuiLib;
using uitest::Centre;
using uitest::PostClick;
using uitest::PumpFor;
using uitest::PumpUntil;

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
        w_.reset(uitest::OpenRecordingWindow("controls_window.xml"));
        ASSERT_TRUE(w_);
        h_ = w_->GetHWND();
        SetWindowPos(h_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(h_);
        PumpFor(50);
    }
    void TearDown() override
    {
        if (IsWindow(h_)) DestroyWindow(h_);
        PumpFor(20);
    }
    // Fills the list: text rows with four columns, then rows from a layout.
    void FillList(int textRows, int layoutRows = 0)
    {
        auto* list = w_->Find<CListUI>("playlist");
        for (int i = 0; i < textRows; ++i) {
            auto* row = new CListTextElementUI;
            row->SetFixedHeight(22);
            list->Add(row);
            row->SetText(0, ("视频" + std::to_string(i) + ".avi").c_str());
            row->SetText(1, (std::to_string(i * 10) + "Mb").c_str());
            row->SetText(2, "00:01:00");
            row->SetText(3, "AVI");
        }
        for (int i = 0; i < layoutRows; ++i) {
            CDialogBuilder builder;
            CControlUI* row = builder.Create("list_row.xml", nullptr, nullptr, &w_->pm());
            ASSERT_NE(nullptr, row);
            list->Add(row);
            w_->pm()
                .FindSubControlByName(row, "nameLab")
                ->SetText(("截图" + std::to_string(i)).c_str());
            w_->pm().FindSubControlByName(row, "sizeLab")->SetText("1.50Mb");
            w_->pm().FindSubControlByName(row, "TypeLab")->SetText("PNG");
        }
        PumpFor(50);
    }
    std::unique_ptr<uitest::RecordingWindow> w_;
    HWND h_ = nullptr;
};

std::string NativeText(HWND h)
{
    wchar_t buf[256] = {};
    GetWindowTextW(h, buf, 256);
    return WideToAnsi(buf);
}

}  // namespace

TEST_F(Controls, AnEditTypedIntoSendsTextChangedAndOnEnterReturn)
{
    auto* edit = w_->Find<CEditUI>("edit");
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(nullptr, edit->GetNativeWindow());  // drawn by the control until focused

    PostClick(h_, Centre(edit));
    HWND native = edit->GetNativeWindow();
    ASSERT_NE(nullptr, native);
    EXPECT_EQ(h_, GetParent(native));
    EXPECT_EQ(native, GetFocus());
    EXPECT_EQ("你好", NativeText(native));

    // Typed characters, one of them Chinese: one "textchanged" each.
    for (char c : std::string("ab")) PostMessageW(native, WM_CHAR, (WPARAM)c, 1);
    PostMessageW(native, WM_CHAR, 0x4E16, 1);  // 世
    PumpUntil([&] { return w_->Count("textchanged") >= 3; });
    EXPECT_EQ(3, w_->Count("textchanged", "edit"));
    EXPECT_STREQ("你好ab世", edit->GetText());
    EXPECT_EQ("你好ab世", w_->Last("textchanged")->text);

    // Enter: "return", nothing typed, the window stays.
    PostMessageW(native, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(native, WM_CHAR, '\r', 1);
    PumpUntil([&] { return w_->Count("return") > 0; });
    EXPECT_EQ(1, w_->Count("return", "edit"));
    EXPECT_EQ(3, w_->Count("textchanged"));
    EXPECT_TRUE(IsWindow(h_));

    // Set by code: shown at once, reported never.
    edit->SetText("代码设置");
    EXPECT_EQ("代码设置", NativeText(native));
    EXPECT_EQ(3, w_->Count("textchanged"));

    // A click elsewhere ends the typing; the text stays with the control.
    PostClick(h_, Centre(w_->Find("status")));
    EXPECT_EQ(nullptr, edit->GetNativeWindow());
    EXPECT_FALSE(IsWindow(native));
    EXPECT_STREQ("代码设置", edit->GetText());
    EXPECT_EQ(1, w_->Count("killfocus", "edit"));
}

TEST_F(Controls, EditsKeepTheirReadOnlyNumberAndPasswordRules)
{
    auto* readOnly = w_->Find<CEditUI>("readonly_edit");
    PostClick(h_, Centre(readOnly));
    HWND native = readOnly->GetNativeWindow();
    ASSERT_NE(nullptr, native);
    EXPECT_TRUE(GetWindowLongW(native, GWL_STYLE) & ES_READONLY);
    PostMessageW(native, WM_CHAR, 'x', 1);
    PumpFor(50);
    EXPECT_STREQ("不能改", readOnly->GetText());
    EXPECT_EQ(0, w_->Count("textchanged"));

    auto* number = w_->Find<CEditUI>("number_edit");
    PostClick(h_, Centre(number));
    native = number->GetNativeWindow();
    ASSERT_NE(nullptr, native);
    EXPECT_EQ(nullptr, readOnly->GetNativeWindow());  // only the focused edit has one
    SendMessageW(native, WM_SETTEXT, 0, (LPARAM)L"");
    for (char c : std::string("7x59")) PostMessageW(native, WM_CHAR, (WPARAM)c, 1);
    PumpFor(50);
    // Letters are refused and two characters is the limit.
    EXPECT_STREQ("75", number->GetText());

    auto* password = w_->Find<CEditUI>("password_edit");
    PostClick(h_, Centre(password));
    native = password->GetNativeWindow();
    ASSERT_NE(nullptr, native);
    EXPECT_EQ('*', (char)SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0));
    EXPECT_STREQ("secret", password->GetText());

    // A worker thread's text reaches the native window on the UI thread.
    std::thread([&] { password->SetText("from worker"); }).join();
    EXPECT_TRUE(PumpUntil([&] { return NativeText(native) == "from worker"; }, 2000));
}

TEST_F(Controls, AComboSelectsInRangeOnlyAndThroughItsDropDown)
{
    auto* combo = w_->Find<CComboUI>("combo");
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(3, combo->GetCount());
    EXPECT_EQ(-1, combo->GetCurSel());

    // Beyond the range: false, unchanged, silent.
    EXPECT_FALSE(combo->SelectItem(3));
    EXPECT_FALSE(combo->SelectItem(-1));
    EXPECT_EQ(-1, combo->GetCurSel());
    EXPECT_TRUE(combo->SelectItem(1));
    EXPECT_FALSE(combo->SelectItem(7));
    EXPECT_TRUE(combo->SelectItem(1));  // the same again: nothing new
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_STREQ("流畅 15fps", combo->GetText());
    ASSERT_EQ(1, w_->Count("itemselect"));
    EXPECT_EQ(1u, w_->Last("itemselect")->wParam);
    EXPECT_EQ(-1, (int)w_->Last("itemselect")->lParam);

    // A click opens the drop-down below the combo, holding the items.
    PostClick(h_, Centre(combo));
    HWND drop = combo->GetDropDownWindow();
    ASSERT_NE(nullptr, drop);
    EXPECT_EQ(1, w_->Count("dropdown", "combo"));
    EXPECT_TRUE(IsWindowVisible(drop));
    RECT rcDrop, rcWindow;
    GetWindowRect(drop, &rcDrop);
    GetWindowRect(h_, &rcWindow);
    EXPECT_EQ(rcWindow.top + combo->GetPos().bottom, rcDrop.top);
    EXPECT_EQ(3 * 25 + 2, rcDrop.bottom - rcDrop.top);

    // Choosing the last item selects it and closes the list.
    CControlUI* rate25 = combo->GetItemAt(2);
    PostClick(drop, Centre(rate25));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(drop); }));
    EXPECT_EQ(nullptr, combo->GetDropDownWindow());
    EXPECT_EQ(2, combo->GetCurSel());
    EXPECT_STREQ("极速 25fps", combo->GetText());
    ASSERT_EQ(2, w_->Count("itemselect", "combo"));
    EXPECT_EQ(2u, w_->Last("itemselect")->wParam);
    EXPECT_EQ(1, (int)w_->Last("itemselect")->lParam);
    // The items are the combo's again.
    EXPECT_EQ(&w_->pm(), rate25->GetManager());
    EXPECT_EQ(combo, rate25->GetParent());
    EXPECT_EQ(rate25, w_->Find("rate25"));

    // The list never takes the activation: the keys still go to the
    // combo's window, where the arrows move the choice and Escape closes
    // the list, not the window.
    PostClick(h_, Centre(combo));
    drop = combo->GetDropDownWindow();
    ASSERT_NE(nullptr, drop);
    EXPECT_EQ(h_, GetActiveWindow());
    PostMessageA(h_, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(h_, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(drop); }));
    EXPECT_TRUE(IsWindow(h_));
    EXPECT_EQ(1, combo->GetCurSel());

    // A real press outside the list closes it and reaches nothing there.
    PostClick(h_, Centre(combo));
    drop = combo->GetDropDownWindow();
    ASSERT_NE(nullptr, drop);
    POINT outside = Centre(w_->Find("closebtn"));
    ClientToScreen(h_, &outside);
    SetCursorPos(outside.x, outside.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(drop); }));
    PumpFor(50);
    EXPECT_TRUE(IsWindow(h_));  // the close button did not get the click
    EXPECT_EQ(0, w_->Count("click"));
    EXPECT_EQ(1, combo->GetCurSel());
}

TEST_F(Controls, AListReportsClicksSelectionActivationAndHeaderClicks)
{
    FillList(30, 3);
    auto* list = w_->Find<CListUI>("playlist");
    ASSERT_EQ(33, list->GetCount());
    EXPECT_EQ(4, list->GetListInfo()->nColumns);

    // The header: "headerclick" from the item, no "click".
    CControlUI* sizeHeader = list->GetHeader()->GetItemAt(1);
    PostClick(h_, Centre(sizeHeader));
    ASSERT_EQ(1, w_->Count("headerclick"));
    EXPECT_EQ("大小", w_->Last("headerclick")->text);
    EXPECT_EQ(sizeHeader, w_->Last("headerclick")->pSender);
    EXPECT_EQ(0, w_->Count("click"));

    // A click on a row: "itemclick" from the row, then "itemselect".
    CControlUI* row2 = list->GetItemAt(2);
    PostClick(h_, Centre(row2));
    ASSERT_EQ(1, w_->Count("itemclick"));
    ASSERT_EQ(1, w_->Count("itemselect", "playlist"));
    EXPECT_EQ(row2, w_->Last("itemclick")->pSender);
    EXPECT_LT(w_->Last("itemclick"), w_->Last("itemselect"));  // in that order
    EXPECT_EQ(2u, w_->Last("itemselect")->wParam);
    EXPECT_EQ(-1, (int)w_->Last("itemselect")->lParam);

    // A double click on another row: "itemactivate" with that row.
    CControlUI* row4 = list->GetItemAt(4);
    uitest::PostDoubleClick(h_, Centre(row4));
    ASSERT_EQ(1, w_->Count("itemactivate"));
    EXPECT_EQ(row4, w_->Last("itemactivate")->pSender);
    EXPECT_EQ("视频4.avi", w_->Last("itemactivate")->text);
    EXPECT_EQ(4, list->GetCurSel());

    // Out of range or the same row: no event.
    int selects = w_->Count("itemselect");
    EXPECT_FALSE(list->SelectItem(33));
    EXPECT_FALSE(list->SelectItem(-1));
    EXPECT_TRUE(list->SelectItem(4));
    EXPECT_EQ(selects, w_->Count("itemselect"));

    // Keys on the focused row move the selection; Return activates.
    PostMessageA(h_, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(h_, WM_KEYDOWN, VK_RETURN, 0);
    PumpFor(50);
    EXPECT_EQ(5, list->GetCurSel());
    EXPECT_EQ(list->GetItemAt(5), w_->Last("itemactivate")->pSender);

    // A right click selects the row and the list sends "menu".
    CControlUI* row6 = list->GetItemAt(6);
    POINT at = Centre(row6);
    PostMessageA(h_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    PumpFor(30);
    POINT screen = at;
    ClientToScreen(h_, &screen);
    SendMessageA(h_, WM_CONTEXTMENU, (WPARAM)h_, MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(6, list->GetCurSel());
    ASSERT_EQ(1, w_->Count("menu"));
    EXPECT_EQ(list, w_->Last("menu")->pSender);

    // A row from a layout: its labels by name, under the row.
    CControlUI* layoutRow = list->GetItemAt(31);
    CControlUI* size = w_->pm().FindSubControlByName(layoutRow, "sizeLab");
    ASSERT_NE(nullptr, size);
    EXPECT_STREQ("1.50Mb", size->GetText());
    list->SelectItem(31);
    PumpFor(50);
    EXPECT_EQ(layoutRow->GetPos().left + 134, size->GetPos().left);
    uitest::PostDoubleClick(h_, Centre(size));
    EXPECT_EQ(layoutRow, w_->Last("itemactivate")->pSender);
}

TEST_F(Controls, AListScrollsRemovesAndTakesItsTextsFromACallback)
{
    FillList(30);
    auto* list = w_->Find<CListUI>("playlist");
    CScrollBarUI* bar = list->GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(bar->IsVisible());
    RECT body = list->GetList()->GetPos();
    EXPECT_EQ(30 * 22 - (body.bottom - body.top), bar->GetScrollRange());

    // The wheel over the rows scrolls them.
    int top0 = list->GetItemAt(0)->GetPos().top;
    POINT at = Centre(list->GetItemAt(3));
    ClientToScreen(h_, &at);
    PostMessageA(h_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(at.x, at.y));
    PumpFor(50);
    EXPECT_GT(list->GetScrollPos().cy, 0);
    EXPECT_EQ(top0 - list->GetScrollPos().cy, list->GetItemAt(0)->GetPos().top);

    // Selecting the last row brings it into sight.
    EXPECT_TRUE(list->SelectItem(29));
    PumpFor(50);
    EXPECT_EQ(bar->GetScrollRange(), list->GetScrollPos().cy);
    EXPECT_LE(list->GetItemAt(29)->GetPos().bottom, body.bottom);

    // Removing a row before the selection keeps the selected row; removing
    // the selected one leaves none and says nothing.
    int selects = w_->Count("itemselect");
    CControlUI* last = list->GetItemAt(29);
    list->RemoveAt(0);
    EXPECT_EQ(28, list->GetCurSel());
    EXPECT_EQ(last, list->GetItemAt(28));
    list->Remove(last);
    EXPECT_EQ(-1, list->GetCurSel());
    EXPECT_EQ(selects, w_->Count("itemselect"));
    EXPECT_EQ(28, list->GetCount());
    EXPECT_EQ(27,
              static_cast<IListItemUI*>(list->GetItemAt(27)->GetInterface("ListItem"))->GetIndex());

    // Texts from the callback replace the rows' own, also for GetText.
    struct Callback : IListCallbackUI {
        std::string text;
        LPCSTR GetItemText(CControlUI*, int iItem, int iSubItem) override
        {
            text = "第" + std::to_string(iItem) + "页" +
                   (iSubItem ? "-" + std::to_string(iSubItem) : "");
            return text.c_str();
        }
    } callback;
    list->SetTextCallback(&callback);
    EXPECT_STREQ("第3页", list->GetItemAt(3)->GetText());
    uitest::PostDoubleClick(h_, Centre(list->GetItemAt(list->GetCount() - 1)));
    EXPECT_EQ("第27页", w_->Last("itemactivate")->text);
    list->SetTextCallback(nullptr);

    list->RemoveAll();
    EXPECT_EQ(0, list->GetCount());
    PumpFor(50);
    EXPECT_FALSE(bar->IsVisible());
}

TEST_F(Controls, ASliderDraggedByTheMouseSendsItsNewValues)
{
    auto* slider = w_->Find<CSliderUI>("slider");
    ASSERT_NE(nullptr, slider);
    auto* valueLabel = w_->Find("slider_value");
    w_->onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_VALUECHANGED)
            valueLabel->SetText(
                std::to_string(static_cast<CSliderUI*>(msg.pSender)->GetValue()).c_str());
    };
    // Set by code: no event.
    slider->SetValue(20);
    EXPECT_EQ(0, w_->Count("valuechanged"));

    // Real mouse input: press on the thumb, drag to three quarters, release.
    RECT thumb = slider->GetThumbRect();
    const RECT& rc = slider->GetPos();
    POINT from = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    POINT to = {rc.left + 5 + (rc.right - rc.left - 10) * 3 / 4, from.y};
    ClientToScreen(h_, &from);
    ClientToScreen(h_, &to);
    SetCursorPos(from.x, from.y);
    PumpFor(50);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &in, sizeof in);
    PumpFor(30);
    for (int i = 1; i <= 5; ++i) {
        SetCursorPos(from.x + (to.x - from.x) * i / 5, from.y);
        PumpFor(30);
    }
    in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
    ASSERT_TRUE(PumpUntil([&] { return w_->Count("valuechanged") >= 3 && !GetCapture(); }))
        << w_->Count("valuechanged");
    EXPECT_NEAR(75, slider->GetValue(), 2);
    const uitest::Note* last = w_->Last("valuechanged");
    EXPECT_EQ("slider", last->sender);
    EXPECT_EQ((WPARAM)slider->GetValue(), last->wParam);
    EXPECT_EQ(std::to_string(slider->GetValue()), valueLabel->GetText().Str());
    // Each report has a value further along than the one before.
    WPARAM previous = 20;
    for (auto& n : w_->notes) {
        if (n.type != "valuechanged") continue;
        EXPECT_GT(n.wParam, previous);
        previous = n.wParam;
    }

    // The wheel steps it; a disabled slider stays put.
    POINT centre = Centre(slider);
    ClientToScreen(h_, &centre);
    int before = slider->GetValue();
    PostMessageA(h_, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
    PumpFor(50);
    EXPECT_EQ(before + 1, slider->GetValue());
    slider->SetEnabled(false);
    int reports = w_->Count("valuechanged");
    PostClick(h_, {rc.left + 2, Centre(slider).y});
    EXPECT_EQ(reports, w_->Count("valuechanged"));
    EXPECT_EQ(before + 1, slider->GetValue());
}

TEST_F(Controls, TabPagesAndScrollingContainers)
{
    auto* tabs = w_->Find<CTabLayoutUI>("tabs");
    ASSERT_NE(nullptr, tabs);
    EXPECT_EQ(0, tabs->GetCurSel());
    EXPECT_TRUE(w_->Find("page_controls")->IsVisible());
    EXPECT_FALSE(w_->Find("page_about")->IsVisible());
    w_->onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_SELECTCHANGED && msg.pSender->GetName() == "tab_about")
            tabs->SelectItem(1);
    };
    // Typing in an edit on the first page, then the second page is chosen.
    PostClick(h_, Centre(w_->Find("edit")));
    ASSERT_NE(nullptr, w_->Find<CEditUI>("edit")->GetNativeWindow());
    PostClick(h_, Centre(w_->Find("tab_about")));
    ASSERT_EQ(1, w_->Count("tabselect"));
    EXPECT_EQ(1u, w_->Last("tabselect")->wParam);
    EXPECT_EQ(0, (int)w_->Last("tabselect")->lParam);
    EXPECT_FALSE(w_->Find("edit")->IsVisible());
    EXPECT_TRUE(w_->Find("about_text")->IsVisible());
    EXPECT_EQ(nullptr, w_->Find<CEditUI>("edit")->GetNativeWindow());  // the typing ended
    EXPECT_FALSE(tabs->SelectItem(2));
    EXPECT_TRUE(tabs->SelectItem(0, false));
    EXPECT_EQ(1, w_->Count("tabselect"));

    // A container with more rows than room shows its bar and scrolls.
    auto* scroller = w_->Find<CVerticalLayoutUI>("scroller");
    for (int i = 0; i < 10; ++i) {
        auto* label = new CLabelUI;
        label->SetFixedHeight(20);
        label->SetText(("滚动行 " + std::to_string(i)).c_str());
        scroller->Add(label);
    }
    PumpFor(50);
    CScrollBarUI* bar = scroller->GetVerticalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    int view = scroller->GetHeight() - 2;  // inside the 1-pixel inset
    EXPECT_EQ(200 - view, bar->GetScrollRange());
    EXPECT_EQ(scroller->GetPos().right - 1, bar->GetPos().right);
    EXPECT_LE(scroller->GetItemAt(0)->GetPos().right, bar->GetPos().left);

    // The arrow below, then the thumb dragged to the end.
    RECT down = bar->GetButton2Rect();
    PostClick(h_, {(down.left + down.right) / 2, (down.top + down.bottom) / 2});
    EXPECT_EQ(bar->GetLineSize(), scroller->GetScrollPos().cy);
    RECT thumb = bar->GetThumbRect();
    POINT grab = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    PostMessageA(h_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    PostMessageA(h_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x, grab.y + 300));
    PostMessageA(h_, WM_LBUTTONUP, 0, MAKELPARAM(grab.x, grab.y + 300));
    PumpFor(50);
    EXPECT_EQ(bar->GetScrollRange(), scroller->GetScrollPos().cy);
    EXPECT_EQ(scroller->GetPos().bottom - 1, scroller->GetItemAt(9)->GetPos().bottom);
}

TEST_F(Controls, MessageFiltersSeeTheWindowsMessagesFirst)
{
    struct Filter : IMessageFilterUI {
        UINT message;
        WPARAM key;
        bool swallow;
        int seen = 0;
        Filter(UINT m, WPARAM k, bool s) : message(m), key(k), swallow(s) {}
        LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) override
        {
            if (uMsg == message && (key == 0 || wParam == key)) {
                ++seen;
                bHandled = swallow;
            }
            return 0;
        }
    };
    // A message filter ahead of the controls: the close button never sees
    // the press.
    Filter presses(WM_LBUTTONDOWN, 0, true);
    ASSERT_TRUE(w_->pm().AddMessageFilter(&presses));
    EXPECT_FALSE(w_->pm().AddMessageFilter(&presses));
    PostClick(h_, Centre(w_->Find("closebtn")));
    EXPECT_EQ(1, presses.seen);
    EXPECT_EQ(0, w_->Count("click"));
    EXPECT_TRUE(IsWindow(h_));
    ASSERT_TRUE(w_->pm().RemoveMessageFilter(&presses));

    // A pre-message filter in the loop takes Escape before the window's own
    // handling closes it, also when the key goes to the edit's native window.
    Filter escape(WM_KEYDOWN, VK_ESCAPE, true), later(WM_KEYDOWN, VK_ESCAPE, false);
    ASSERT_TRUE(w_->pm().AddPreMessageFilter(&escape));
    ASSERT_TRUE(w_->pm().AddPreMessageFilter(&later));
    PostMessageA(h_, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpFor(50);
    EXPECT_TRUE(IsWindow(h_));
    PostClick(h_, Centre(w_->Find("edit")));
    HWND native = w_->Find<CEditUI>("edit")->GetNativeWindow();
    ASSERT_NE(nullptr, native);
    PostMessageW(native, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpFor(50);
    EXPECT_EQ(2, escape.seen);
    EXPECT_EQ(0, later.seen);  // the first one that takes it ends the round
    EXPECT_TRUE(IsWindow(h_));

    // Without it, Escape closes the window as usual.
    ASSERT_TRUE(w_->pm().RemovePreMessageFilter(&escape));
    PostMessageA(h_, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(h_); }));
    EXPECT_EQ(1, later.seen);
}

namespace {

std::string BuildDir()
{
    char buf[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buf, MAX_PATH);
    std::string path = buf;
    path = path.substr(0, path.find_last_of('\\'));  // tests-bin
    return path.substr(0, path.find_last_of('\\'));
}

// Photographs a screen rectangle with ImageMagick on the X server into
// build/screenshots/<name>; the decoded picture (FreeImage it), or null.
TImageInfo* Screenshot(const RECT& rc, const std::string& name)
{
    std::string shots = BuildDir() + "\\screenshots";
    CreateDirectoryA(shots.c_str(), nullptr);
    std::string png = shots + "\\" + name;
    DeleteFileA(png.c_str());
    char display[64] = {};
    GetEnvironmentVariableA("DISPLAY", display, sizeof display);
    char crop[96];
    snprintf(crop, sizeof crop, "%ldx%ld+%ld+%ld", rc.right - rc.left, rc.bottom - rc.top, rc.left,
             rc.top);
    std::string cmd = std::string(display[0] ? "DISPLAY=" + std::string(display) + " " : "") +
                      "import -window root -crop " + crop + " +repage " +
                      testkit::ShellQuote(testkit::UnixPath(png));
    if (testkit::RunLinux(cmd, 30000).exitCode != 0) return nullptr;
    std::string bytes = testkit::ReadFile(png);
    std::string why;
    return DecodeImage(bytes.data(), bytes.size(), 0, &why);
}

DWORD PixelAt(const TImageInfo* image, int x, int y)
{
    return reinterpret_cast<const DWORD*>(image->pBits)[y * image->nX + x];
}

}  // namespace

TEST_F(Controls, AScreenshotForPeopleToLookAt)
{
    FillList(12, 2);
    auto* list = w_->Find<CListUI>("playlist");
    list->SelectItem(3);
    w_->Find<CComboUI>("combo")->SelectItem(2);
    w_->Find<CSliderUI>("slider")->SetValue(60);
    w_->Find("slider_value")->SetText("60");
    auto* scroller = w_->Find<CVerticalLayoutUI>("scroller");
    for (int i = 0; i < 8; ++i) {
        auto* label = new CLabelUI;
        label->SetFixedHeight(20);
        label->SetTextPadding({6, 0, 0, 0});
        label->SetText(("可滚动的第 " + std::to_string(i + 1) + " 行").c_str());
        scroller->Add(label);
    }
    PostClick(h_, Centre(w_->Find("edit")));
    PostMessageW(w_->Find<CEditUI>("edit")->GetNativeWindow(), WM_CHAR, L'！', 1);
    PumpFor(100);

    RECT rc;
    GetWindowRect(h_, &rc);
    TImageInfo* shot = Screenshot(rc, "ui_controls_window.png");
    ASSERT_NE(nullptr, shot);
    EXPECT_EQ(640, shot->nX);
    EXPECT_EQ(440, shot->nY);
    // The selected row's blue is on the screen where the list put it.
    RECT row = list->GetItemAt(3)->GetPos();
    EXPECT_EQ(0xFFC6DBF3u, PixelAt(shot, row.left + 1, row.top + 1));
    FreeImage(shot);

    // And once more with the combo's list open over the form.
    auto* combo = w_->Find<CComboUI>("combo");
    PostClick(h_, Centre(combo));
    ASSERT_NE(nullptr, combo->GetDropDownWindow());
    PostMessageA(combo->GetDropDownWindow(), WM_MOUSEMOVE, 0,
                 MAKELPARAM(10, Centre(combo->GetItemAt(0)).y));
    PumpFor(150);
    shot = Screenshot(rc, "ui_controls_dropdown.png");
    ASSERT_NE(nullptr, shot);
    RECT item = combo->GetItemAt(2)->GetPos();  // selected, in the list's window
    RECT drop;
    GetWindowRect(combo->GetDropDownWindow(), &drop);
    EXPECT_EQ(0xFFC6DBF3u, PixelAt(shot, drop.left - rc.left + item.right - 3,
                                   drop.top - rc.top + item.top + 2));
    FreeImage(shot);
}
