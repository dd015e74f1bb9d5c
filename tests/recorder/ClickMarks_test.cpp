// Click queue to rings: expiry, cancelling, sizes and wheel chevrons.
#include <gtest/gtest.h>

#include "recorder/overlays/ClickMarks.h"

#include <vector>

namespace {

const ClickRingTiming kTiming = {1000, 20};

MouseEventRecord Event(DWORD message, DWORD time, short wheel = 0, LONG x = 10, LONG y = 20)
{
    MouseEventRecord e = {{x, y}, (DWORD)(WORD)wheel << 16, message, time, 0};
    return e;
}

std::vector<ClickMark> Collect(ClickEventQueue& q, DWORD now)
{
    std::vector<ClickMark> marks(64);
    marks.resize(CollectClickMarks(q, now, kTiming, marks.data(), marks.size()));
    return marks;
}

TEST(ClickMarks, RingSizesByAgeAndKind)
{
    struct Case {
        DWORD message;
        DWORD age;
        int radius;
        ClickMark::Pen pen;
    } cases[] = {
        {WM_LBUTTONDOWN, 0, 20, ClickMark::kLeftPen},  // a held button closes in
        {WM_LBUTTONDOWN, 200, 16, ClickMark::kLeftPen},
        {WM_LBUTTONDOWN, 1000, 0, ClickMark::kLeftPen},
        {WM_RBUTTONDOWN, 499, 11, ClickMark::kRightPen},
        {WM_MBUTTONDOWN, 500, 10, ClickMark::kWheelPen},
        {WM_LBUTTONUP, 250, 5, ClickMark::kLeftPen},  // a release opens out
        {WM_RBUTTONUP, 999, 19, ClickMark::kRightPen},
        {WM_MBUTTONUP, 50, 1, ClickMark::kWheelPen},
        {WM_XBUTTONDOWN, 500, 10, ClickMark::kLeftPen},  // anything else: left pen, opening
    };
    for (const Case& c : cases) {
        ClickEventQueue q;
        q.push_back(Event(c.message, 100000));
        std::vector<ClickMark> marks = Collect(q, 100000 + c.age);
        ASSERT_EQ(1u, marks.size()) << c.message;
        EXPECT_EQ(ClickMark::kRing, marks[0].shape);
        EXPECT_EQ(c.radius, marks[0].radius) << c.message << " at " << c.age;
        EXPECT_EQ(c.pen, marks[0].pen) << c.message;
        EXPECT_EQ(10, marks[0].pt.x);
    }
}

TEST(ClickMarks, ExpiresFromTheFrontOnly)
{
    ClickEventQueue q;
    q.push_back(Event(WM_LBUTTONDOWN, 1000));
    q.push_back(Event(WM_RBUTTONDOWN, 1500));
    q.push_back(Event(WM_MOUSEWHEEL, 2000, 120));
    std::vector<ClickMark> marks = Collect(q, 2500);  // exactly the life: kept
    ASSERT_EQ(2u, q.size());
    EXPECT_EQ((DWORD)WM_RBUTTONDOWN, q.front().message);
    EXPECT_EQ(2u, marks.size());
    Collect(q, 3001);
    EXPECT_EQ(0u, q.size());
}

TEST(ClickMarks, EventStampedAfterNowIsNewNotExpired)
{
    // The hook can stamp an event a few ms ahead of a tick read elsewhere;
    // unsigned ages would make it four billion ms old and drop it.
    ClickEventQueue q;
    q.push_back(Event(WM_LBUTTONDOWN, 5005));
    q.push_back(Event(WM_LBUTTONUP, 5010));
    q.push_back(Event(WM_RBUTTONDOWN, 5010));
    std::vector<ClickMark> marks = Collect(q, 5000);
    EXPECT_EQ(3u, q.size());
    ASSERT_EQ(2u, marks.size());
    EXPECT_EQ(0, marks[0].radius);   // the release, brand new
    EXPECT_EQ(20, marks[1].radius);  // the right press, brand new
}

TEST(ClickMarks, ReleaseCancelsItsPressAndOpensOut)
{
    ClickEventQueue q;
    q.push_back(Event(WM_LBUTTONDOWN, 1000));
    q.push_back(Event(WM_RBUTTONDOWN, 1010));
    q.push_back(Event(WM_LBUTTONUP, 1100));
    std::vector<ClickMark> marks = Collect(q, 1300);
    ASSERT_EQ(2u, marks.size()) << "the released press must not draw";
    EXPECT_EQ(ClickMark::kRightPen, marks[0].pen);
    EXPECT_EQ(20 - 290 * 20 / 1000, marks[0].radius);
    EXPECT_EQ(ClickMark::kLeftPen, marks[1].pen);
    EXPECT_EQ(200 * 20 / 1000, marks[1].radius);
    EXPECT_EQ(MouseEventRecord::kCancelled, q[0].message);
    EXPECT_EQ((DWORD)WM_RBUTTONDOWN, q[1].message);
}

TEST(ClickMarks, ButtonHeldPastTheLifeExpiresAndItsReleaseStillOpensOut)
{
    ClickEventQueue q;
    q.push_back(Event(WM_LBUTTONDOWN, 1000));
    EXPECT_EQ(1u, Collect(q, 1900).size());
    EXPECT_EQ(0u, Collect(q, 2100).size());
    q.push_back(Event(WM_LBUTTONUP, 2200));
    std::vector<ClickMark> marks = Collect(q, 2300);
    ASSERT_EQ(1u, marks.size());
    EXPECT_EQ(2, marks[0].radius);
}

TEST(ClickMarks, WheelChevronDepthIsSigned)
{
    struct Case {
        short delta;
        DWORD age;
        int radius;
        int depth;
    } cases[] = {
        {120, 500, 10, 10},                       // forward: the tip above
        {-120, 500, 10, -10},                     // backward: below
        {-240, 500, 10, -20},                     // twice as deep as its half-width
        {240, 1000, 20, 40},  {-60, 250, 5, -2},  // rounds toward zero
    };
    for (const Case& c : cases) {
        ClickEventQueue q;
        q.push_back(Event(WM_MOUSEWHEEL, 7000, c.delta));
        std::vector<ClickMark> marks = Collect(q, 7000 + c.age);
        ASSERT_EQ(1u, marks.size());
        EXPECT_EQ(ClickMark::kChevron, marks[0].shape);
        EXPECT_EQ(ClickMark::kWheelPen, marks[0].pen);
        EXPECT_EQ(c.radius, marks[0].radius) << c.delta;
        EXPECT_EQ(c.depth, marks[0].depth) << c.delta;
    }
}

}  // namespace
