// Which sample each grabbed frame becomes, and when the next one is due.
#include <gtest/gtest.h>

#include "recorder/recording/FramePacer.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

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

TEST(FramePacer, FollowingAudioTheFirstFrameIsTheSoundsOrigin)
{
    FramePacer p(25, 40.0, true);
    p.Start(0);
    EXPECT_FALSE(p.OnFrame(0, 0.0).write);
    EXPECT_FALSE(p.OnFrame(500, 0.0).write);
    EXPECT_FALSE(p.HasOrigin());
    // The sound has run for 40 ms: its first sample was captured at 1000.
    FramePacer::Decision d = p.OnFrame(1040, 0.04);
    ASSERT_TRUE(d.write);
    EXPECT_EQ(0, d.index);
    EXPECT_EQ(1000u, p.StartTick());
    p.Written(0, 1040);
    EXPECT_EQ(2, p.OnFrame(1080, 0.08).index);
}

// The clock of a sound that starts 2.5 s after the recording: no frame is
// written before the sound's first sample, and from there the frames follow it.
TEST(FramePacer, ASoundThatStartsLateMovesTheOriginToItsFirstSample)
{
    FramePacer p(25, 40.0, true);
    p.Start(0);
    std::vector<std::pair<DWORD, LONG>> written;
    for (DWORD t = 0; t <= 10000; ++t) {
        double clock = t <= 2500 ? 0.0 : (t - 2500) / 1000.0;
        FramePacer::Decision d = p.OnFrame(t, clock);
        if (d.write) {
            written.push_back({t, d.index});
            p.Written(d.index, t);
        }
    }
    ASSERT_FALSE(written.empty());
    EXPECT_GE(written.front().first, 2500u);
    EXPECT_EQ(0, written.front().second);
    // Each frame sits where the sound of its moment is: 7.5 s of both.
    EXPECT_EQ(187, written.back().second);
    for (const auto& w : written)
        EXPECT_EQ((LONG)((w.first - 2500) / 40), w.second) << w.first;
}

// A capture that dies 20 s into an 80 s recording: the clock stands still,
// the frames go on by the wall clock and the video keeps its length.
TEST(FramePacer, AClockThatStopsHandsOverToTheWallClock)
{
    FramePacer p(25, 40.0, true);
    p.Start(0);
    std::set<LONG> indices;
    DWORD lastElapsed = 0;
    for (DWORD t = 1; t <= 80000; ++t) {
        // Packets of 10 ms, then nothing more.
        double clock = std::min<DWORD>(t, 20000) / 10 * 10 / 1000.0;
        FramePacer::Decision d = p.OnFrame(t, clock);
        if (d.write) {
            indices.insert(d.index);
            p.Written(d.index, t);
            lastElapsed = d.elapsed;
        }
    }
    EXPECT_FALSE(p.FollowsAudio());
    EXPECT_NEAR(2000, *indices.rbegin(), 1);
    EXPECT_NEAR(80000, (int)lastElapsed, 40);
    // Every position of the 80 s has its frame: no stretch waits for the clock.
    EXPECT_GE(indices.size(), 1998u);
}

TEST(FramePacer, DriftOver300msAfter10sSnapsToTheAudioClockOnce)
{
    FramePacer p(25, 40.0, true);
    p.Start(0);
    p.Written(p.OnFrame(10, 0.01).index, 10);
    EXPECT_EQ(0u, p.StartTick());
    // 12 s in, the sound is 400 ms ahead: the origin moves 400 ms back.
    FramePacer::Decision d = p.OnFrame(12000, 12.4);
    EXPECT_EQ((DWORD)-400, p.StartTick());
    EXPECT_EQ(310, d.index);
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
    p.OnFrame(10, 0.01);
    p.OnFrame(15000, 15.2);
    EXPECT_EQ(0u, p.StartTick());
}

TEST(FramePacer, WithoutAudioTheWallClockPaces)
{
    FramePacer p(25, 40.0, true);
    p.Start(0);
    EXPECT_FALSE(p.OnFrame(0, 0.0).write);
    // The capture failed before it ran: the picture starts on its own.
    p.StopFollowingAudio(100);
    EXPECT_TRUE(p.HasOrigin());
    p.Written(p.OnFrame(100, 0.0).index, 100);
    FramePacer::Decision d = p.OnFrame(500, 0.0);
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
