// Texts shown while recording, and the small rules of the recording state.
#include <gtest/gtest.h>

#include "recorder/recording/RecordLoop.h"
#include "recorder/recording/RecordStatus.h"
#include "recorder/recording/RecordingState.h"

TEST(RecordStatus, TimeTextsAfterOneHourTwoMinutesFiveSeconds)
{
    RecordStatusTexts t = FormatRecordStatus((3600 + 125) * 1000 + 400, 0, 0.f, 0, 0);
    EXPECT_EQ("01:02:05 ", t.time);
    EXPECT_EQ("01 : 02 : 05", t.timeLed);
}

TEST(RecordStatus, SizeEstimateAddsTheSoundAllowance)
{
    RecordStatusTexts t = FormatRecordStatus(125 * 1000, 104857600, 0.f, 0, 0);
    EXPECT_EQ("大小: 101.81 Mb", t.size);
}

TEST(RecordStatus, DiskTextIsSpaceInUseOfTotal)
{
    // 100 GB disk, 40 GB free when the recording started, 1 GB recorded.
    RecordStatusTexts t = FormatRecordStatus(0, 1024u * 1048576u, 25.f, 102400, 40960);
    EXPECT_EQ("硬盘空间:61.00/100.00 GB", t.diskSpace);
    EXPECT_EQ("25.00", t.indexRate);
}

TEST(RecordingRules, CaptureRectanglesAreMadeEven)
{
    struct {
        RECT in, out;
    } cases[] = {
        {{0, 0, 801, 600}, {0, 0, 800, 600}},
        {{0, 0, 800, 601}, {0, 0, 800, 600}},
        {{0, 0, 800, 600}, {0, 0, 800, 600}},
        {{-1281, -3, 0, 0}, {-1281, -3, -1, -1}},
        {{10, 10, 10, 10}, {10, 10, 10, 10}},
    };
    for (const auto& c : cases) {
        RECT r = MakeEvenRect(c.in);
        EXPECT_TRUE(EqualRect(&r, &c.out)) << c.in.left << "," << c.in.top << "," << c.in.right << ","
                                           << c.in.bottom;
    }
}

TEST(RecordingRules, GridPositionsFromTheConfiguration)
{
    EXPECT_EQ(8, ParseGridPosition("12", 3, 8));
    EXPECT_EQ(3, ParseGridPosition("-3", 3, 8));
    EXPECT_EQ(4, ParseGridPosition("4x", 3, 8));
    EXPECT_EQ(0, ParseGridPosition("x", 3, 8));
    EXPECT_EQ(8, ParseGridPosition("", 3, 8));
    EXPECT_EQ(0, ParseGridPosition("", 3, 0));
}

TEST(RecordingRules, OnlyOnePhaseChangeWinsAndFinishingSetsDone)
{
    FinishRecordPhase();
    g_bSaveDone = 0;
    EXPECT_TRUE(MoveRecordPhase(RecordPhase::Idle, RecordPhase::CountingDown));
    EXPECT_FALSE(MoveRecordPhase(RecordPhase::Idle, RecordPhase::Recording));
    EXPECT_EQ(RecordPhase::CountingDown, GetRecordPhase());
    FinishRecordPhase();
    EXPECT_EQ(RecordPhase::Idle, GetRecordPhase());
    EXPECT_EQ(1, g_bSaveDone);
    EXPECT_TRUE(WaitForRecordIdle(0));
}
