// Positions of stacked and floating children: the stacking arithmetic, and a
// layout from the skin package laid out over a 300 x 200 client area.
#include <gtest/gtest.h>

#include "UiTestUtil.h"

using namespace DuiLib;

namespace {

std::string Str(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

}  // namespace

TEST(StackLayout, SharesWhatIsLeftWithinMinimumAndMaximum)
{
    struct Case {
        const char* what;
        bool vertical;
        RECT content;
        int childPadding;
        std::vector<TStackItem> items;
        std::vector<RECT> want;
    };
    auto item = [](int fw, int fh, RECT pad = {0, 0, 0, 0}, SIZE mn = {0, 0},
                   SIZE mx = {9999, 9999}) {
        TStackItem t;
        t.fixed = {fw, fh};
        t.padding = pad;
        t.minSize = mn;
        t.maxSize = mx;
        return t;
    };
    std::vector<Case> cases = {
        {"equal shares, remainder to the last",
         false,
         {0, 0, 100, 10},
         0,
         {item(0, 0), item(0, 0), item(0, 0)},
         {{0, 0, 33, 10}, {33, 0, 66, 10}, {66, 0, 100, 10}}},
        {"a maximum gives its rest to the others",
         false,
         {0, 0, 280, 20},
         0,
         {item(0, 0, {}, {0, 0}, {30, 9999}), item(0, 0)},
         {{0, 0, 30, 20}, {30, 0, 280, 20}}},
        {"a minimum takes from the others",
         true,
         {0, 0, 50, 100},
         10,
         {item(0, 0, {}, {0, 70}), item(0, 0)},
         {{0, 0, 50, 70}, {0, 80, 50, 100}}},
        {"fixed and padded, cross size bounded",
         true,
         {10, 10, 110, 60},
         5,
         {item(200, 20, {3, 2, 3, 0}), item(40, 0)},
         {{13, 12, 107, 32}, {10, 37, 50, 60}}},
        {"more fixed than room: adjustable ones get nothing",
         false,
         {0, 0, 50, 10},
         0,
         {item(40, 0), item(30, 0), item(0, 0)},
         {{0, 0, 40, 10}, {40, 0, 70, 10}, {70, 0, 70, 10}}},
    };
    for (auto& c : cases) {
        auto got = StackLayout(c.vertical, c.content, c.childPadding, c.items);
        ASSERT_EQ(c.want.size(), got.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(Str(c.want[i]), Str(got[i])) << c.what << ", child " << i;
    }
}

class LayoutFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!CPaintManagerUI::HasResourceZip()) {
            ASSERT_TRUE(CPaintManagerUI::LoadResourceZip(MAKEINTRESOURCEA(130)));
        }
        CDialogBuilder builder;
        root_ = static_cast<CContainerUI*>(builder.Create("layout_test.xml"));
        ASSERT_NE(nullptr, root_) << builder.GetLastError();
        root_->SetPos({0, 0, 300, 200}, false);
    }
    void TearDown() override { delete root_; }
    CControlUI* Find(const char* name)
    {
        CControlUI* p = root_->FindSubControl(name);
        EXPECT_NE(nullptr, p) << name;
        return p;
    }
    CContainerUI* root_ = nullptr;
};

TEST_F(LayoutFile, ChildrenLandOnTheExpectedRectangles)
{
    struct {
        const char* name;
        RECT want;
    } expected[] = {
        {"root", {0, 0, 300, 200}},
        {"top", {10, 10, 290, 40}},  // fixed height, full content width
        {"row", {15, 45, 285, 85}},  // child padding 5, own padding 5 left and right
        {"r1", {15, 45, 65, 85}},    // fixed width
        {"r2", {69, 45, 143, 85}},   // (270 - 12 - 110) / 2 each
        {"r3", {147, 45, 221, 85}},
        {"r4", {225, 50, 285, 80}},       // padded 5 above and below
        {"fill", {10, 90, 290, 130}},     // what is left: the hidden one takes nothing
        {"fixedw", {10, 135, 110, 155}},  // fixed width and height
        {"box", {10, 160, 290, 190}},
        {"inner", {15, 165, 35, 180}},  // floating: relative to "box"
        {"sized", {40, 162, 80, 172}},  // width and height override pos
        {"float1", {20, 30, 70, 60}},   // floating in the root: out of the stacking
    };
    for (auto& e : expected) {
        CControlUI* p = Find(e.name);
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(Str(e.want), Str(p->GetPos())) << e.name;
    }
}

TEST_F(LayoutFile, ShowingAChildAndMovingAFloatFollowTheRules)
{
    Find("hidden")->SetVisible(true);
    root_->SetPos({0, 0, 300, 200}, false);
    EXPECT_EQ(Str({10, 90, 290, 110}), Str(Find("hidden")->GetPos()));
    EXPECT_EQ(Str({10, 115, 290, 130}), Str(Find("fill")->GetPos()));

    // SetPos of a floating control is relative to its parent, and a layout
    // pass keeps it there; (1,1,0,3) is the empty bar of the main window.
    CControlUI* inner = Find("inner");
    inner->SetPos({1, 1, 0, 3});
    EXPECT_EQ(Str({11, 161, 11, 163}), Str(inner->GetPos()));
    root_->SetPos({0, 0, 300, 200}, false);
    EXPECT_EQ(Str({11, 161, 11, 163}), Str(inner->GetPos()));
    inner->SetPos({2, 3, 12, 13});
    EXPECT_EQ(Str({12, 163, 22, 173}), Str(inner->GetPos()));
    EXPECT_EQ(Str({2, 3, 12, 13}), Str(inner->GetFloatPos()));

    // The whole tree moved: floats move with their parent.
    root_->SetPos({100, 50, 400, 250}, false);
    EXPECT_EQ(Str({112, 213, 122, 223}), Str(inner->GetPos()));
    EXPECT_EQ(Str({120, 80, 170, 110}), Str(Find("float1")->GetPos()));
}
