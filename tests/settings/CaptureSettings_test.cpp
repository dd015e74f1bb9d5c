// What the watermark, cursor and timer windows read and keep, without a
// window: the time fields, the preview's fit, and the cursor settings in the
// configuration.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/CfgDocument.h"
#include "recorder/CamCursor.h"
#include "settings/CursorSettings.h"
#include "settings/OverlayGrid.h"
#include "settings/TimerSettings.h"

#include <climits>

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
}

TEST(TimeFields, MinutesAndSecondsStayBelowSixtyWhileHoursDoNot)
{
    EXPECT_EQ(TimeFieldsCheck::OutOfRange, Check("0", "60", "0").check);
    EXPECT_EQ(TimeFieldsCheck::OutOfRange, Check("0", "0", "75").check);
    EXPECT_EQ(TimeFieldsCheck::Ok, Check("0", "59", "59").check);
    EXPECT_EQ(99 * 3600, Check("99", "0", "0").total);
    // Far beyond any wait: held at the longest one instead of wrapping into
    // a start at once.
    EXPECT_EQ(LONG_MAX, Check("99999999999", "0", "0").total);
    EXPECT_EQ(LONG_MAX, Check("900000", "0", "0").total);
}

// The 400 x 100 and 100 x 400 pictures are checked in the running program;
// these are the shapes around them.
TEST(WatermarkPreview, SquareHugeAndEmptyPicturesFitTheBox)
{
    const RECT frame = {12, 56, 137, 181};  // a box of 115 x 105 inside
    RECT square = PreviewPictureRect(frame, 50, 50);
    EXPECT_EQ(105, square.bottom - square.top);
    EXPECT_EQ(105, square.right - square.left);
    EXPECT_EQ(frame.left + 5 + 5, square.left) << "centred across";
    // Wide enough to overflow 32 bits in the scaling.
    RECT huge = PreviewPictureRect(frame, 60000, 40000);
    EXPECT_EQ(115, huge.right - huge.left);
    EXPECT_EQ(115 * 2 / 3, huge.bottom - huge.top);
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

TEST_F(CursorSettingsTest, ColoursAreSavedAsColorrefAndHeldAsArgbChecksAsFlags)
{
    const CursorColorSetting* left = CursorColorFor("sel_lbtn_color_btn");
    ASSERT_NE(nullptr, left);
    StoreColor(*left, RGB(255, 0, 0));
    EXPECT_EQ("255", OnDisk("add_click_effect", "lbtn_color"));  // 0x0000FF
    EXPECT_EQ(0xA0FF0000u, g_crLeftClick);
    EXPECT_EQ(RGB(255, 0, 0), ConfiguredColor(*left));

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
