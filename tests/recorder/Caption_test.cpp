// The caption: where it sits in each cell with its own font, and captions
// that cannot be drawn.
#include <gtest/gtest.h>

#include "RecorderTestKit.h"
#include "recorder/Camera.h"

#include <cstring>
#include <memory>

using namespace rtk;

namespace {

const RECT kArea = {20, 20, 620, 320};  // 600 x 300: cells of 200 x 100

bool IsText(DWORD p)
{
    return Red(p) > 160 && Green(p) < 90 && Blue(p) < 90;
}

class Caption : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartGdiplus();
        ResetCamera(g_camera);
        SetCursorPos(5, 5);
        window_.reset(SolidWindow(kArea, RGB(255, 255, 255)));
        g_camera.m_bCaptionEnabled = TRUE;
        g_camera.m_caption.crText = RGB(255, 0, 0);
    }
    void TearDown() override { ResetCamera(g_camera); }

    RECT Capture()
    {
        EXPECT_TRUE(g_camera.CaptureFrame(kArea, true));
        return FindPixels(g_camera.Frame(), IsText);
    }

    std::unique_ptr<TestWindow> window_;
};

TEST_F(Caption, SitsInsideItsCellWithTheCaptionsOwnFont)
{
    // A font much bigger than the frame's default one: measured with the
    // default font, the right-hand captions would run off the frame.
    g_camera.m_caption.text = "录屏 Ob";
    g_camera.m_caption.font.lfHeight = -36;
    for (DWORD cell = 0; cell < 9; ++cell) {
        SCOPED_TRACE("cell " + std::to_string(cell));
        g_camera.m_caption.position = cell;
        const RECT text = Capture();
        ASSERT_FALSE(IsRectEmpty(&text));
        const int tw = g_camera.CaptionWidth();
        EXPECT_GT(tw, 90);
        // The whole text is in the frame.
        EXPECT_LE(text.right - text.left, tw);
        EXPECT_GE(text.right - text.left, tw - 16);
        const int column = cell % 3, row = cell / 3;
        // Inside its grid cell.
        EXPECT_GE(text.left, column * 200);
        EXPECT_LE(text.right, column * 200 + 200);
        EXPECT_GE(text.top, row * 100);
        EXPECT_LE(text.bottom, row * 100 + 100);
        // Against the cell's edge as the grid says, within the font's padding.
        if (column == 0)
            EXPECT_LE(text.left, 12);
        else if (column == 1)
            EXPECT_NEAR(300, (text.left + text.right) / 2, 8);
        else
            EXPECT_GE(text.right, 600 - 12);
        const int top = row == 0 ? 50 : row == 1 ? 150 : 250;
        EXPECT_NEAR(top + 8, text.top, 10);
    }
}

TEST_F(Caption, Cell8WithTheDefaultFontLiesInTheBottomRightCell)
{
    g_camera.m_caption = CaptionSettings();
    g_camera.m_caption.crText = RGB(255, 0, 0);
    g_camera.m_caption.text = "录屏大师";
    g_camera.m_caption.position = 8;
    const RECT text = Capture();
    ASSERT_FALSE(IsRectEmpty(&text)) << "Chinese text drew nothing";
    EXPECT_GE(text.left, 400);
    EXPECT_GE(text.top, 200);
    EXPECT_LE(text.right, 600);
    EXPECT_LE(text.bottom, 300);
    EXPECT_GE(text.right, 600 - 12);
}

TEST_F(Caption, EmptyOrOffCaptionRecordsWithoutIt)
{
    struct Case {
        BOOL enabled;
        const char* text;
        const char* face;
    } cases[] = {
        {TRUE, "", "宋体"},
        {FALSE, "Orbisk", "宋体"},
        {TRUE, "Orbisk", "No Such Font At All"},  // may fall back; must not crash
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g_camera.m_bCaptionEnabled = c.enabled;
        g_camera.m_caption.text = c.text;
        strcpy(g_camera.m_caption.font.lfFaceName, c.face);
        const RECT text = Capture();
        if (!c.enabled || !*c.text) {
            EXPECT_TRUE(IsRectEmpty(&text));
            EXPECT_EQ(0, g_camera.CaptionWidth());
        }
        EXPECT_EQ(600, g_camera.Frame().Width());
    }
}

}  // namespace
