// The newer controls without a window: room needed by stacked children,
// scrolling containers, scroll bar geometry, tab pages, value ranges, and
// lists and combos built from markup with their selection rules.
#include <gtest/gtest.h>

#include "UiTestUtil.h"

using namespace DuiLib;

namespace {

TStackItem Item(SIZE fixed, RECT padding = {0, 0, 0, 0}, SIZE minSize = {0, 0})
{
    TStackItem it;
    it.fixed = fixed;
    it.padding = padding;
    it.minSize = minSize;
    return it;
}

CControlUI* Fixed(int cx, int cy)
{
    auto* p = new CControlUI;
    p->SetFixedWidth(cx);
    p->SetFixedHeight(cy);
    return p;
}

}  // namespace

TEST(StackExtent, CountsFixedSizesMinimumsPaddingsAndGaps)
{
    struct Case {
        bool vertical;
        int gap;
        std::vector<TStackItem> items;
        SIZE want;
    } cases[] = {
        {true, 0, {}, {0, 0}},
        {true,
         4,
         {Item({0, 30}), Item({0, 0}, {0, 0, 0, 0}, {0, 10}), Item({60, 40}, {3, 5, 7, 5})},
         {70, 30 + 10 + 50 + 8}},
        {false, 2, {Item({20, 0}), Item({0, 15}, {1, 0, 1, 0})}, {20 + 2 + 2, 15}},
    };
    for (const Case& c : cases) {
        SIZE got = StackExtent(c.vertical, c.gap, c.items);
        EXPECT_EQ(c.want.cx, got.cx);
        EXPECT_EQ(c.want.cy, got.cy);
    }
}

TEST(ScrollingContainer, ShowsItsBarOnlyWhenTheChildrenNeedMoreRoom)
{
    CVerticalLayoutUI box;
    box.EnableScrollBar(true, false);
    CScrollBarUI* bar = box.GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    for (int i = 0; i < 5; ++i) box.Add(Fixed(0, 30));
    box.SetPos({10, 10, 110, 110});
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(50, box.GetScrollRange().cy);
    EXPECT_EQ(110 - 14, box.GetItemAt(0)->GetPos().right);  // the bar takes its width
    EXPECT_EQ(96, bar->GetPos().left);

    box.SetScrollPos({0, 20});
    EXPECT_EQ(10 - 20, box.GetItemAt(0)->GetPos().top);
    EXPECT_EQ(10 - 20 + 4 * 30, box.GetItemAt(4)->GetPos().top);
    box.SetScrollPos({0, 999});
    EXPECT_EQ(50, box.GetScrollPos().cy);
    box.LineUp();
    EXPECT_EQ(50 - bar->GetLineSize(), box.GetScrollPos().cy);
    box.HomeUp();
    EXPECT_EQ(0, box.GetScrollPos().cy);
    box.EndDown();
    EXPECT_EQ(50, box.GetScrollPos().cy);

    // Fewer children: no bar, no offset, the full width again.
    box.RemoveAt(0);
    box.RemoveAt(0);
    box.SetPos({10, 10, 110, 110});
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, box.GetScrollPos().cy);
    EXPECT_EQ(10, box.GetItemAt(0)->GetPos().top);
    EXPECT_EQ(110, box.GetItemAt(0)->GetPos().right);

    box.EnableScrollBar(false, false);
    EXPECT_EQ(nullptr, box.GetVerticalScrollBar());
}

TEST(ScrollBar, PlacesButtonsAndAThumbInProportion)
{
    CScrollBarUI bar;
    bar.SetPos({0, 0, 14, 100});
    EXPECT_TRUE(IsRectEmpty(&bar.GetThumbRect()));  // nothing to scroll
    bar.SetScrollRange(100);
    EXPECT_EQ(14, bar.GetButton1Rect().bottom);
    EXPECT_EQ(86, bar.GetButton2Rect().top);
    // Rail of 72 showing a page of 100 out of 200: a thumb of 36.
    EXPECT_EQ(14, bar.GetThumbRect().top);
    EXPECT_EQ(50, bar.GetThumbRect().bottom);
    bar.SetScrollPos(100);
    EXPECT_EQ(86, bar.GetThumbRect().bottom);
    bar.SetScrollPos(150);
    EXPECT_EQ(100, bar.GetScrollPos());
    bar.SetScrollRange(10000);  // never thinner than 12
    EXPECT_EQ(12, bar.GetThumbRect().bottom - bar.GetThumbRect().top);

    bar.SetHorizontal(true);
    EXPECT_EQ(14, bar.GetFixedHeight());
    bar.SetShowButton1(false);
    bar.SetPos({0, 0, 100, 14});
    EXPECT_TRUE(IsRectEmpty(&bar.GetButton1Rect()));
    EXPECT_EQ(86, bar.GetButton2Rect().left);
}

TEST(TabLayout, ShowsOnePageAndKeepsItWhenOthersGo)
{
    CTabLayoutUI tabs;
    CControlUI* pages[3];
    for (auto*& p : pages) tabs.Add(p = new CControlUI);
    EXPECT_EQ(0, tabs.GetCurSel());
    EXPECT_TRUE(pages[0]->IsVisible());
    EXPECT_FALSE(pages[1]->IsVisible());

    EXPECT_TRUE(tabs.SelectItem(2));
    EXPECT_FALSE(pages[0]->IsVisible());
    EXPECT_TRUE(pages[2]->IsVisible());
    EXPECT_FALSE(tabs.SelectItem(3));
    EXPECT_FALSE(tabs.SelectItem(-1));
    EXPECT_EQ(2, tabs.GetCurSel());

    tabs.Remove(pages[0]);  // before the current page
    EXPECT_EQ(1, tabs.GetCurSel());
    EXPECT_TRUE(pages[2]->IsVisible());
    tabs.Remove(pages[2]);  // the current page: the one before takes over
    EXPECT_EQ(0, tabs.GetCurSel());
    EXPECT_TRUE(pages[1]->IsVisible());
    tabs.RemoveAll();
    EXPECT_EQ(-1, tabs.GetCurSel());
}

TEST(ProgressAndSlider, KeepTheirValueInRangeAndPlaceTheThumb)
{
    CProgressUI progress;
    progress.SetMinValue(10);
    progress.SetMaxValue(20);
    progress.SetValue(25);
    EXPECT_EQ(20, progress.GetValue());
    progress.SetValue(5);
    EXPECT_EQ(10, progress.GetValue());
    progress.SetMinValue(15);  // the value follows the range
    EXPECT_EQ(15, progress.GetValue());

    CSliderUI slider;
    slider.SetPos({0, 0, 110, 20});
    slider.SetThumbSize({10, 10});
    for (int v : {0, 50, 100}) {
        slider.SetValue(v);
        RECT thumb = slider.GetThumbRect();
        EXPECT_EQ(v, thumb.left);
        EXPECT_EQ(5, thumb.top);
    }
    slider.SetHorizontal(false);
    slider.SetPos({0, 0, 20, 110});
    slider.SetValue(0);
    EXPECT_EQ(100, slider.GetThumbRect().top);  // vertical sliders grow upwards
}

TEST(ListMarkup, HeaderRowsAndSelectionFollowTheRules)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        "<List header=\"true\" itemfont=\"2\" itemtextcolor=\"#FF102030\">"
        "<ListHeader height=\"20\"><ListHeaderItem text=\"名称\" width=\"50\"/>"
        "<ListHeaderItem text=\"大小\"/></ListHeader>"
        "<ListTextElement text=\"甲\"/><ListLabelElement text=\"乙\"/>"
        "<ListLabelElement text=\"丙\" enabled=\"false\"/></List>");
    ASSERT_NE(nullptr, root);
    auto* list = static_cast<CListUI*>(root->GetInterface("List"));
    ASSERT_NE(nullptr, list);
    EXPECT_NE(nullptr, root->GetInterface("IListOwner"));
    EXPECT_EQ(2, list->GetHeader()->GetCount());
    EXPECT_EQ(3, list->GetCount());
    EXPECT_STREQ("甲", list->GetItemAt(0)->GetText());
    EXPECT_EQ(2, list->GetListInfo()->nFont);
    EXPECT_EQ(0xFF102030u, list->GetListInfo()->dwTextColor);
    for (int i = 0; i < 3; ++i) {
        auto* item = static_cast<IListItemUI*>(list->GetItemAt(i)->GetInterface("ListItem"));
        ASSERT_NE(nullptr, item);
        EXPECT_EQ(i, item->GetIndex());
        EXPECT_EQ(static_cast<IListOwnerUI*>(list), item->GetOwner());
    }

    EXPECT_FALSE(list->SelectItem(2));  // disabled
    EXPECT_FALSE(list->SelectItem(3));
    EXPECT_TRUE(list->SelectItem(1));
    EXPECT_EQ(1, list->GetCurSel());
    list->RemoveAt(0);
    EXPECT_EQ(0, list->GetCurSel());  // the same row, one place up
    auto* moved = static_cast<IListItemUI*>(list->GetItemAt(0)->GetInterface("ListItem"));
    EXPECT_EQ(0, moved->GetIndex());
    EXPECT_TRUE(moved->IsSelected());
    list->SetHeaderVisible(false);
    EXPECT_FALSE(list->IsHeaderVisible());
    delete root;
}

TEST(ComboMarkup, SelectsOnlyItemsItHas)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        "<Combo dropboxsize=\"0,100\"><ListLabelElement text=\"  什么也不做\"/>"
        "<ListLabelElement text=\"  退出程序\"/></Combo>");
    ASSERT_NE(nullptr, root);
    auto* combo = static_cast<CComboUI*>(root->GetInterface("Combo"));
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(2, combo->GetCount());
    EXPECT_EQ(100, combo->GetDropBoxSize().cy);
    EXPECT_EQ(-1, combo->GetCurSel());
    EXPECT_STREQ("", combo->GetText());
    EXPECT_FALSE(combo->SelectItem(2));
    EXPECT_TRUE(combo->SelectItem(1));
    EXPECT_STREQ("  退出程序", combo->GetText());
    combo->Remove(combo->GetItemAt(1));
    EXPECT_EQ(-1, combo->GetCurSel());
    EXPECT_STREQ("", combo->GetText());
    delete root;
}

TEST(ComboMarkup, ItemsOfAComboOnAHiddenPageStaySelectable)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        "<TabLayout><Container/><Container><Combo name=\"rate\">"
        "<ListLabelElement text=\"10\"/><ListLabelElement text=\"15\"/>"
        "<ListLabelElement text=\"25\" visible=\"false\"/></Combo></Container></TabLayout>");
    ASSERT_NE(nullptr, root);
    auto* tabs = static_cast<CTabLayoutUI*>(root->GetInterface("TabLayout"));
    ASSERT_NE(nullptr, tabs);
    auto* page = static_cast<CContainerUI*>(tabs->GetItemAt(1));
    auto* combo = static_cast<CComboUI*>(page->GetItemAt(0)->GetInterface("Combo"));
    ASSERT_NE(nullptr, combo);
    EXPECT_FALSE(combo->IsVisible()) << "on the page not shown";
    EXPECT_TRUE(combo->SelectItem(1));
    EXPECT_STREQ("15", combo->GetText());
    EXPECT_FALSE(combo->SelectItem(2)) << "an item hidden itself";
    // Shown and hidden again: the same.
    tabs->SelectItem(1, false);
    tabs->SelectItem(0, false);
    EXPECT_TRUE(combo->SelectItem(0));
    EXPECT_STREQ("10", combo->GetText());
    delete root;
}

namespace {

// What the program's popup menu builds on the list (its own classes live
// with the menu): a list taking only menu elements, with no header.
class TestMenuElement : public CListContainerElementUI {
public:
    TestMenuElement() { SetFixedHeight(25); }
    LPVOID GetInterface(LPCSTR pstrName) override
    {
        if (strcmp(pstrName, "MenuElement") == 0) return this;
        return CListContainerElementUI::GetInterface(pstrName);
    }
    void DoEvent(TEventUI& event) override
    {
        // Entering an item selects it in its list.
        if (event.Type == UIEVENT_MOUSEENTER && m_pOwner) {
            m_uButtonState |= UISTATE_HOT;
            m_pOwner->SelectItem(GetIndex(), true);
            return;
        }
        CListContainerElementUI::DoEvent(event);
    }
};

class TestMenu : public CListUI {
public:
    TestMenu() { GetHeader()->SetVisible(false); }
    bool Add(CControlUI* pControl) override { return AddAt(pControl, GetCount()); }
    bool AddAt(CControlUI* pControl, int iIndex) override
    {
        return pControl->GetInterface("MenuElement") && CListUI::AddAt(pControl, iIndex);
    }
    SIZE EstimateSize(SIZE szAvailable) override
    {
        SIZE sz = {GetFixedWidth(), 0};
        for (int i = 0; i < GetCount(); ++i) {
            CControlUI* item = GetItemAt(i);
            if (!item->IsVisible()) continue;
            SIZE one = item->EstimateSize(szAvailable);
            sz.cx = std::max(sz.cx, one.cx);
            sz.cy += one.cy;
        }
        return sz;
    }
};

struct MenuCallback : IDialogBuilderCallback {
    CControlUI* CreateControl(LPCSTR pstrClass) override
    {
        if (strcmp(pstrClass, "Menu") == 0) return new TestMenu;
        if (strcmp(pstrClass, "MenuElement") == 0) return new TestMenuElement;
        return nullptr;
    }
};

}  // namespace

TEST(ListBase, CarriesAPopupMenuMadeOfItsParts)
{
    uitest::LogCapture log;
    MenuCallback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        "<Menu width=\"104\" itemtextpadding=\"10,0,0,0\"><MenuElement text=\"1px\"/>"
        "<MenuElement text=\"2px\"/><Label text=\"不是菜单项\"/><MenuElement text=\"3px\"/></Menu>",
        nullptr, &callback);
    ASSERT_NE(nullptr, root);
    auto* menu = static_cast<TestMenu*>(root);
    EXPECT_FALSE(menu->IsHeaderVisible());
    ASSERT_EQ(3, menu->GetCount());  // the label was refused
    EXPECT_TRUE(log.Contains("<Label> has no container to go into"));
    EXPECT_STREQ("3px", menu->GetItemAt(2)->GetText());
    EXPECT_EQ(10, menu->GetListInfo()->rcTextPadding.left);
    SIZE size = menu->EstimateSize({1000, 1000});
    EXPECT_EQ(104, size.cx);
    EXPECT_EQ(75, size.cy);
    menu->GetItemAt(1)->SetVisible(false);
    EXPECT_EQ(50, menu->EstimateSize({1000, 1000}).cy);

    TEventUI enter;
    enter.Type = UIEVENT_MOUSEENTER;
    enter.pSender = menu->GetItemAt(2);
    menu->GetItemAt(2)->Event(enter);
    EXPECT_EQ(2, menu->GetCurSel());
    delete root;
}
