// The information windows without a window: where the floating bar's popups
// go, how opaque they are, and the texts they and the tips show.
#include <gtest/gtest.h>

#include "settings/DetailPopupPlacement.h"
#include "settings/InfoTexts.h"

#include <string>

namespace {

const SIZE kPopup = {200, 110};
const int kScreenHeight = 800;

RECT PopupBeside(const RECT& bar)
{
    POINT at = DetailPopupOrigin(bar, kPopup, kScreenHeight);
    return {at.x, at.y, at.x + kPopup.cx, at.y + kPopup.cy};
}

// The part of the popup that lies behind the bar.
SIZE Overlap(const RECT& a, const RECT& b)
{
    RECT both;
    if (!IntersectRect(&both, &a, &b)) return {0, 0};
    return {both.right - both.left, both.bottom - both.top};
}

TEST(DetailPopupOrigin, LeftOfAndBelowTheBarWithOneCornerBehindIt)
{
    const RECT bar = {600, 300, 780, 335};
    RECT popup = PopupBeside(bar);
    EXPECT_LT(popup.left, bar.left);
    EXPECT_GT(popup.bottom, bar.bottom);
    EXPECT_EQ(kDetailPopupTuck, Overlap(popup, bar).cx);
    EXPECT_EQ(kDetailPopupTuck, Overlap(popup, bar).cy);
}

TEST(DetailPopupOrigin, AtTheTopLeftCornerOfTheScreenItGoesRightAndBelow)
{
    const RECT bar = {0, 0, 180, 35};
    RECT popup = PopupBeside(bar);
    EXPECT_GT(popup.right, bar.right);
    EXPECT_GE(popup.left, 0);
    EXPECT_GT(popup.bottom, bar.bottom);
    EXPECT_EQ(kDetailPopupTuck, Overlap(popup, bar).cx);
    // A popup that would start exactly at the screen's left edge moves too.
    const RECT edge = {kPopup.cx - kDetailPopupTuck, 300, kPopup.cx - kDetailPopupTuck + 180, 335};
    EXPECT_GT(PopupBeside(edge).right, edge.right);
}

TEST(DetailPopupOrigin, NearTheBottomItSitsRightAboveTheBarByItsHeight)
{
    // Below, its foot would pass the screen's bottom.
    const RECT bar = {600, 740, 780, 775};
    RECT popup = PopupBeside(bar);
    EXPECT_LT(popup.top, bar.top);
    EXPECT_LE(popup.bottom, bar.bottom);
    EXPECT_LE(popup.bottom, kScreenHeight);
    // Its foot tucks in behind the bar's top as its head does below the
    // bar's foot; placed by its width it would float 65 pixels above.
    EXPECT_EQ(kDetailPopupTuck, Overlap(popup, bar).cy);
    // The last place below, and the first above.
    const RECT lastBelow = {600, 600, 780, kScreenHeight - kPopup.cy + kDetailPopupTuck - 1};
    EXPECT_GT(PopupBeside(lastBelow).bottom, lastBelow.bottom);
    RECT firstAbove = lastBelow;
    ++firstAbove.bottom;
    EXPECT_LT(PopupBeside(firstAbove).top, firstAbove.top);
}

TEST(DetailPopupAlpha, TheBarsOpacityAndNeverInvisibleOrWrappedRound)
{
    EXPECT_EQ(178, DetailPopupAlpha(70));
    EXPECT_EQ(255, DetailPopupAlpha(100));
    EXPECT_EQ(25, DetailPopupAlpha(10));
    // Hand-edited values: 0 would hide the popup, 101 would wrap to 1.
    for (int percent : {0, 9, 101, 150, -40})
        EXPECT_EQ(DetailPopupAlpha(70), DetailPopupAlpha(percent)) << percent;
}

TEST(RecDetailLines, TheStatusTextsAndTheSoundSources)
{
    RecordStatusTexts status = FormatRecordStatus(3723000, 5 * 1048576, 24.5f, 102400, 51200);
    RecDetailLines lines = MakeRecDetailLines(status, false, false);
    EXPECT_EQ("录制时长:01:02:03 ", lines.time);
    EXPECT_EQ(0u, lines.size.find("录制大小: "));
    EXPECT_EQ("帧率:24.50", lines.frameRate);
    EXPECT_EQ(status.diskSpace, lines.diskSpace);
    // Nothing muted, or no endpoint to ask (the queries then say so).
    EXPECT_EQ("麦克风:已开启 ,内录:已开启", lines.audio);
    EXPECT_EQ("麦克风:已关闭 ,内录:已开启", MakeRecDetailLines(status, true, false).audio);
    EXPECT_EQ("麦克风:已开启 ,内录:已关闭", MakeRecDetailLines(status, false, true).audio);
}

// A table with every key moved from its default.
HotKeyTable MovedKeys()
{
    HotKeyTable keys;
    const char* texts[kHotKeyCount] = {"Ctrl+F1", "Alt+P", "Shift+F12", "Ctrl+G", "F3", "Alt+Z"};
    for (int i = 0; i < kHotKeyCount; ++i) keys.entries[i].vkeystr = texts[i];
    return keys;
}

TEST(HotKeyTexts, ThePopupNamesTheKeysTheTableHolds)
{
    std::vector<HotKeyLine> lines = HotKeyStateLines(MovedKeys());
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ("录制/停止:Ctrl+F1", lines[0].text);
    EXPECT_EQ("暂停/恢复:Alt+P", lines[1].text);
    EXPECT_EQ("实时涂鸦:Ctrl+G", lines[2].text);
    EXPECT_EQ("隐藏/显示悬浮窗:Shift+F12", lines[3].text);
    EXPECT_EQ("录制时局部放大:Alt+Z", lines[4].text);
}

TEST(HotKeyTexts, TheTipsNameTheKeysTheTableHoldsNotTheDefaults)
{
    std::string tips = SmallTipText(MovedKeys());
    EXPECT_NE(std::string::npos, tips.find("2. Alt+Z 快速打开局部放大功能")) << tips;
    EXPECT_NE(std::string::npos, tips.find("3. Ctrl+F1 为开始/停止录制快捷键")) << tips;
    EXPECT_NE(std::string::npos, tips.find("4. Alt+P 为暂停/恢复快捷键")) << tips;
    EXPECT_NE(std::string::npos, tips.find("5. Ctrl+G 快速打开实时涂鸦功能")) << tips;
    for (const char* key : {"F6 ", "F7 ", "F8 ", "F9 "})
        EXPECT_EQ(std::string::npos, tips.find(key)) << key;
    // With the defaults the tips read as they always have.
    EXPECT_NE(std::string::npos, SmallTipText(HotKeyTable()).find("3. F7 为开始/停止录制快捷键"));
}

}  // namespace
