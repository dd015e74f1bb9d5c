// Which sample each grabbed frame becomes, and when the next one is due.
#include <gtest/gtest.h>

#include "recorder/recording/FramePacer.h"

#include <set>

namespace {

// Grabs every `step` ms for `durationMs` and returns the indices written.
std::vector<LONG> GrabEvery(FramePacer& p, DWORD start, DWORD durationMs, DWORD step)
{
    std::vector<LONG> written;
    p.Start(start);
    for (DWORD t = 0; t <= durationMs; t += step) {
        FramePacer::Decision d = p.OnFrame(start + t, 0.0);
        if (d.write) {
            written.push_back(d.index);
            p.Written(d.index, start + t);
        }
    }
    return written;
}

TEST(FramePacer, FirstFrameIsSampleZeroAtElapsedZero)
{
    FramePacer p(25, 40.0, false);
    p.Start(5000);
    FramePacer::Decision d = p.OnFrame(5123, 0.0);
    EXPECT_TRUE(d.write);
    EXPECT_EQ(0, d.index);
    EXPECT_EQ(0u, d.elapsed);
}

struct RateCase {
    unsigned rate;
    double interval;  // (double)(1000 / rate), as the settings store it
};

void PrintTo(const RateCase& c, std::ostream* os)
{
    *os << c.rate << "fps";
}

class FramePacerRates : public ::testing::TestWithParam<RateCase> {};

// The stream declares `rate` samples a second; the last index after a
// minute of grabbing must be rate x 60, whatever the rounded interval.
TEST_P(FramePacerRates, IndexFollowsTheTrueRate)
{
    const RateCase c = GetParam();
    FramePacer p(c.rate, c.interval, false);
    std::vector<LONG> w = GrabEvery(p, 100000, 60000, 1);
    ASSERT_FALSE(w.empty());
    EXPECT_EQ((LONG)(c.rate * 60), w.back());
    // Every index once, in order, none skipped when grabs come fast enough.
    EXPECT_EQ(w.size(), (size_t)(w.back() + 1));
}

INSTANTIATE_TEST_SUITE_P(Rates, FramePacerRates,
                         ::testing::Values(RateCase{10, 100.0}, RateCase{15, 66.0}, RateCase{25, 40.0},
                                           RateCase{30, 33.0}, RateCase{60, 16.0},
                                           RateCase{70, 14.0}, RateCase{100, 10.0}));

TEST(FramePacer, FrameGrabbed1030msInIsSample25At25fps)
{
    FramePacer p(25, 40.0, false);
    p.Start(0);
    p.OnFrame(0, 0);
    p.Written(0, 0);
    EXPECT_EQ(25, p.OnFrame(1030, 0).index);
}

TEST(FramePacer, TwoGrabsInOneFrameTimeWriteOnce)
{
    FramePacer p(25, 40.0, false);
    p.Start(0);
    p.Written(p.OnFrame(0, 0).index, 0);
    FramePacer::Decision a = p.OnFrame(50, 0);
    ASSERT_TRUE(a.write);
    p.Written(a.index, 50);
    EXPECT_FALSE(p.OnFrame(70, 0).write);
    EXPECT_TRUE(p.OnFrame(80, 0).write);
}

TEST(FramePacer, SlowGrabsSkipPositions)
{
    FramePacer p(25, 40.0, false);
    std::vector<LONG> w = GrabEvery(p, 0, 1000, 100);
    EXPECT_EQ((std::vector<LONG>{0, 2, 5, 7, 10, 12, 15, 17, 20, 22, 25}), w);
}

TEST(FramePacer, PauseMovesTheOriginSoIndicesContinue)
{
    FramePacer p(25, 40.0, false);
    p.Start(0);
    p.Written(p.OnFrame(0, 0).index, 0);
    FramePacer::Decision before = p.OnFrame(2000, 0);
    p.Written(before.index, 2000);
    EXPECT_EQ(50, before.index);
    p.AddPause(5000);  // paused from 2000 to 7000
    FramePacer::Decision after = p.OnFrame(7040, 0);
    EXPECT_TRUE(after.write);
    EXPECT_EQ(51, after.index);
    EXPECT_EQ(2040u, after.elapsed);
}

TEST(FramePacer, WaitsForTheNextFrameBoundary)
{
    FramePacer p(60, 16.0, false);
    p.Start(1000);
    p.Written(p.OnFrame(1000, 0).index, 1000);
    EXPECT_EQ(17u, p.MsUntilNextFrame(1000));  // sample 1 starts at 16.67 ms
    EXPECT_EQ(0u, p.MsUntilNextFrame(1017));
    p.Written(p.OnFrame(1017, 0).index, 1017);
    EXPECT_EQ(17u, p.MsUntilNextFrame(1017));  // sample 2 at 33.3 ms
}

TEST(FramePacer, FollowingAudioWritesNothingUntilTheClockRuns)
{
    FramePacer p(25, 40.0, true);
    p.Start(0);
    p.Written(p.OnFrame(0, 0.0).index, 0);
    EXPECT_FALSE(p.OnFrame(500, 0.0).write);
    EXPECT_FALSE(p.OnFrame(1000, 0.0).write);
    FramePacer::Decision d = p.OnFrame(1040, 1.04);
    EXPECT_TRUE(d.write);
    EXPECT_EQ(26, d.index);
}

TEST(FramePacer, DriftOver300msAfter10sSnapsToTheAudioClockOnce)
{
    FramePacer p(25, 40.0, true);
    p.Start(0);
    p.Written(p.OnFrame(0, 0.0).index, 0);
    // 12 s in, the sound is 400 ms ahead: the origin moves 400 ms back.
    FramePacer::Decision d = p.OnFrame(12000, 12.4);
    EXPECT_EQ((DWORD)-400, p.StartTick());
    EXPECT_EQ(300, d.index);  // computed from the elapsed time before the move
    p.Written(d.index, 12000);
    // Another drift 5 s later is left alone: at most one move per 10 s.
    p.OnFrame(17000, 17.4 + 0.5);
    EXPECT_EQ((DWORD)-400, p.StartTick());
    // After 10 s more it may move again.
    p.OnFrame(22500, 23.4);
    EXPECT_EQ((DWORD)-900, p.StartTick());
}

TEST(FramePacer, SmallDriftIsLeftAlone)
{
    FramePacer p(25, 40.0, true);
    p.Start(0);
    p.OnFrame(0, 0.0);
    p.OnFrame(15000, 15.2);
    EXPECT_EQ(0u, p.StartTick());
}

TEST(FramePacer, WithoutAudioTheWallClockPaces)
{
    FramePacer p(25, 40.0, true);
    p.Start(0);
    p.Written(p.OnFrame(0, 0.0).index, 0);
    p.StopFollowingAudio();
    FramePacer::Decision d = p.OnFrame(400, 0.0);
    EXPECT_TRUE(d.write);
    EXPECT_EQ(10, d.index);
}

TEST(FramePacer, IntervalsAboveOneSecondStepByOne)
{
    FramePacer p(1, 2000.0, false);
    p.Start(0);
    p.OnFrame(0, 0);
    EXPECT_EQ(1, p.OnFrame(100, 0).index);
    EXPECT_EQ(2, p.OnFrame(200, 0).index);
}

}  // namespace
