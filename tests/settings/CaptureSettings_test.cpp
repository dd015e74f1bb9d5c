// What the caption, watermark, cursor and timer windows read and keep,
// without a window: the time fields, the after-stop choices, the grid, the
// preview's fit, and the cursor settings in the configuration.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/CfgDocument.h"
#include "recorder/CamCursor.h"
#include "settings/CursorSettings.h"
#include "settings/OverlayGrid.h"
#include "settings/TimerSettings.h"

#include <climits>
#include <cstdlib>

namespace {

TimeFields Check(const char* h, const char* m, const char* s)
{
    return CheckTimeFields(h, m, s);
}

TEST(TimeFields, ZerosAndEmptyFieldsCountAsNothing)
{
    for (const char* zero : {"00", "0", ""}) {
        SCOPED_TRACE(std::string("\"") + zero + "\"");
        TimeFields f = Check(zero, zero, zero);
        EXPECT_EQ(TimeFieldsCheck::Ok, f.check);
        EXPECT_EQ(0, f.total);
    }
    EXPECT_EQ(3, Check("00", "00", "3").total);
    EXPECT_EQ(3600 + 2 * 60 + 5, Check("1", "02", "005").total);
}

TEST(TimeFields, LettersAreRefusedButSignsAndLeadingBlanksPass)
{
    EXPECT_EQ(TimeFieldsCheck::BadCharacter, Check("1a", "0", "0").check);
    EXPECT_EQ(TimeFieldsCheck::BadCharacter, Check("0", "0", "a1").check);
    EXPECT_EQ(TimeFieldsCheck::BadCharacter, Check("0", "5 ", "0").check);
    // The refusal names the characters even when a range is wrong too.
    EXPECT_EQ(TimeFieldsCheck::BadCharacter, Check("0", "60", "x").check);
    EXPECT_EQ(-5, Check("0", "0", "-5").total);
    EXPECT_EQ(5, Check("0", "0", " 5").total);
    EXPECT_STREQ("不能接受的字符，您只能在此处输入数字!",
                 TimeFieldsMessage(TimeFieldsCheck::BadCharacter));
}

TEST(TimeFields, MinutesAndSecondsStayBelowSixtyWhileHoursDoNot)
{
    EXPECT_EQ(TimeFieldsCheck::OutOfRange, Check("0", "60", "0").check);
    EXPECT_EQ(TimeFieldsCheck::OutOfRange, Check("0", "0", "75").check);
    EXPECT_STREQ("请输入0-59之间的整数!", TimeFieldsMessage(TimeFieldsCheck::OutOfRange));
    EXPECT_EQ(TimeFieldsCheck::Ok, Check("0", "59", "59").check);
    EXPECT_EQ(99 * 3600, Check("99", "0", "0").total);
    // Far beyond any wait: held at the longest one instead of wrapping into
    // a start at once.
    EXPECT_EQ(LONG_MAX, Check("99999999999", "0", "0").total);
    EXPECT_EQ(LONG_MAX, Check("900000", "0", "0").total);
}

TEST(AutoStopChoices, EachItemHasItsActionAndOthersDoNothing)
{
    EXPECT_EQ(0u, AutoStopActionForItem("  什么也不做"));
    EXPECT_EQ(1u, AutoStopActionForItem("  录制新视频"));
    EXPECT_EQ(2u, AutoStopActionForItem("  退出程序"));
    EXPECT_EQ(3u, AutoStopActionForItem("  关闭计算机"));
    EXPECT_EQ(0u, AutoStopActionForItem("退出程序"));
    EXPECT_EQ(0u, AutoStopActionForItem(""));
}

TEST(OverlayGrid, ButtonsNameTheirCellsRowByRow)
{
    EXPECT_EQ(0, GridCellOfButton("top1_btn"));
    EXPECT_EQ(4, GridCellOfButton("center2_btn"));
    EXPECT_EQ(8, GridCellOfButton("bottom3_btn"));
    EXPECT_EQ(-1, GridCellOfButton("closebtn"));
    EXPECT_EQ(-1, GridCellOfButton(nullptr));
    for (int cell = 0; cell < kGridCells; ++cell) {
        EXPECT_EQ(cell, GridCellOfButton(kGridButtonNames[cell]));
        EXPECT_EQ(cell, atoi(GridCellText(cell).c_str()));
    }
}

TEST(OverlayGrid, TheCurrentCellAndTheOneUnderThePointerAreLit)
{
    RECT cells[kGridCells];
    for (int cell = 0; cell < kGridCells; ++cell)
        SetRect(&cells[cell], (cell % 3) * 50, (cell / 3) * 50, (cell % 3) * 50 + 48,
                (cell / 3) * 50 + 48);
    EXPECT_EQ(4, GridCellAt(cells, POINT{70, 70}));
    EXPECT_EQ(-1, GridCellAt(cells, POINT{49, 10})) << "the gap between two cells";
    cells[5] = cells[4];
    EXPECT_EQ(4, GridCellAt(cells, POINT{70, 70})) << "overlapping: the first in cell order";

    int lit = 0;
    for (int cell = 0; cell < kGridCells; ++cell) {
        DWORD color = GridBorderColor(cell, 8, 2);
        EXPECT_TRUE(color == 0xFFFFFF || color == 0x737373);
        lit += color == 0xFFFFFF;
    }
    EXPECT_EQ(2, lit);
    EXPECT_EQ(0xFFFFFFu, GridBorderColor(8, 8, -1));
    EXPECT_EQ(0x737373u, GridBorderColor(2, 8, -1));
}

TEST(WatermarkPreview, TheLongerSideFillsTheBoxAndTheOtherIsCentred)
{
    const RECT frame = {12, 56, 137, 181};  // 125 x 125
    const int boxWidth = 115, boxHeight = 105;

    RECT wide = PreviewPictureRect(frame, 400, 100);
    EXPECT_EQ(frame.left + 5, wide.left);
    EXPECT_EQ(boxWidth, wide.right - wide.left);
    EXPECT_EQ(boxWidth / 4, wide.bottom - wide.top);
    EXPECT_LE(std::abs((wide.top - (frame.top + 10)) - ((frame.bottom - 10) - wide.bottom)), 1);

    RECT tall = PreviewPictureRect(frame, 100, 400);
    EXPECT_EQ(frame.top + 10, tall.top);
    EXPECT_EQ(boxHeight, tall.bottom - tall.top);
    EXPECT_EQ(boxHeight / 4, tall.right - tall.left);
    EXPECT_LE(std::abs((tall.left - (frame.left + 5)) - ((frame.right - 5) - tall.right)), 1);

    // A square picture counts as tall; a huge one does not overflow.
    RECT square = PreviewPictureRect(frame, 50, 50);
    EXPECT_EQ(boxHeight, square.bottom - square.top);
    EXPECT_EQ(boxHeight, square.right - square.left);
    RECT huge = PreviewPictureRect(frame, 60000, 40000);
    EXPECT_EQ(boxWidth * 2 / 3, huge.bottom - huge.top);

    RECT none = PreviewPictureRect(frame, 0, 100);
    EXPECT_TRUE(IsRectEmpty(&none));
}

class CursorSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = testkit::MakeTempDir("cursorcfg") + "\\vintra_cfg.xml";
        ASSERT_EQ(1u, g_cfgDocument.LoadOrCreate(path_));
        saved_ = g_cursorSettings;
    }
    void TearDown() override { g_cursorSettings = saved_; }

    // The attribute as another reader of the file finds it.
    std::string OnDisk(const char* element, const char* attribute)
    {
        TiXmlDocument d;
        EXPECT_TRUE(d.LoadFile(path_.c_str()));
        TiXmlElement* root = d.FirstChildElement("vintracfg");
        TiXmlElement* e = root ? root->FirstChildElement(element) : nullptr;
        const char* v = e ? e->Attribute(attribute) : nullptr;
        return v ? v : "";
    }

    std::string path_;
    CCamCursor saved_;
};

TEST_F(CursorSettingsTest, PureRedIsSavedAsAColorrefHeldAsArgbAndShownRed)
{
    const CursorColorSetting* left = CursorColorFor("sel_lbtn_color_btn");
    ASSERT_NE(nullptr, left);
    // Nothing configured yet: red, as the recording's defaults have it.
    EXPECT_EQ(SwatchColor(RGB(255, 0, 0)), SwatchColor(ConfiguredColor(*left)));
    StoreColor(*left, RGB(255, 0, 0));
    EXPECT_EQ("255", OnDisk("add_click_effect", "lbtn_color"));  // 0x0000FF
    EXPECT_EQ(0xA0FF0000u, g_crLeftClick);
    EXPECT_EQ(0xFFFF0000u, SwatchColor(RGB(255, 0, 0)));

    const CursorColorSetting* highlight = CursorColorFor("sel_color_btn");
    ASSERT_NE(nullptr, highlight);
    StoreColor(*highlight, RGB(0, 0, 255));
    EXPECT_EQ(std::to_string(0xFF0000), OnDisk("highter_cursor", "color"));
    EXPECT_EQ(0xA00000FFu, g_crHighlight);
    EXPECT_EQ(RGB(0, 0, 255), ConfiguredColor(*highlight));
    EXPECT_EQ(nullptr, CursorColorFor("closebtn"));
}

TEST_F(CursorSettingsTest, SizeIndexOneIs48PixelsAndChecksSwitchTheCursorSettings)
{
    g_nHighlightSize = 64;
    StoreHighlightSizeIndex(1);
    EXPECT_EQ("1", OnDisk("highter_cursor", "size"));
    EXPECT_EQ(48u, g_nHighlightSize);
    EXPECT_EQ(1, ConfiguredHighlightSizeIndex());

    const CursorCheckSetting* record = CursorCheckFor("rec_cursor_check");
    ASSERT_NE(nullptr, record);
    EXPECT_TRUE(record->load(record->defaultOn)) << "on until the user turns it off";
    StoreCheck(*record, false);
    EXPECT_EQ("0", OnDisk("rec_cursor", "rec"));
    EXPECT_EQ(0, g_bRecordCursor);
    EXPECT_FALSE(record->load(record->defaultOn));

    const CursorCheckSetting* highlight = CursorCheckFor("highter_cursor_check");
    ASSERT_NE(nullptr, highlight);
    StoreCheck(*highlight, false);
    EXPECT_EQ(0, g_bHighlightCursor);
    EXPECT_FALSE(highlight->load(true));
}

}  // namespace
