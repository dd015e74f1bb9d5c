// Click rings end to end: SendInput through the mouse-hook DLL into the
// queue this program hosts, and rings in the frames.
#include <gtest/gtest.h>

#include "RecorderTestKit.h"
#include "recorder/Camera.h"

#include <cmath>
#include <memory>

using namespace rtk;

namespace {

const RECT kArea = {200, 150, 600, 450};  // 400 x 300, centre (400, 300)

void Send(DWORD flags, DWORD data = 0)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    SendInput(1, &in, sizeof in);
}

// The time of the last queued event of a message, waiting for the hook.
DWORD WaitForEvent(DWORD message)
{
    for (int i = 0; i < 300; ++i) {
        {
            ClickQueueLock lock;
            const ClickEventQueue& q = ClickQueue::getQueue();
            for (auto it = q.rbegin(); it != q.rend(); ++it)
                if (it->message == message) return it->time;
        }
        Pump(10);
    }
    ADD_FAILURE() << "the hook never queued message " << std::hex << message;
    return 0;
}

bool IsLeftRing(DWORD p)  // 0xA0FF0000 over white, give or take smoothing
{
    return Red(p) > 200 && Green(p) < 200 && Blue(p) < 200 && std::abs(Green(p) - Blue(p)) < 20;
}

bool IsWheelMark(DWORD p)  // 0xA000FF00 over white
{
    return Green(p) > 200 && Red(p) < 200 && std::abs(Red(p) - Blue(p)) < 20;
}

// Whether a ring of the colour crosses the ray from the centre at the
// angle between two distances.
bool RingOnRay(const FrameImage& f, POINT c, double angle, double from, double to,
               bool (*match)(DWORD))
{
    for (double d = from; d <= to; d += 0.25) {
        const int x = (int)std::lround(c.x + d * std::cos(angle));
        const int y = (int)std::lround(c.y + d * std::sin(angle));
        if (match(f.PixelAt(x, y))) return true;
    }
    return false;
}

class ClickRings : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartGdiplus();
        ResetCamera(g_camera);
        window_.reset(SolidWindow(kArea, RGB(255, 255, 255)));
        const POINT c = window_->Centre();
        SetCursorPos(c.x, c.y);
        Pump();
        ASSERT_TRUE(InstallMyHook(nullptr, 0));
        {
            ClickQueueLock lock;
            ClickQueue::getQueue().clear();
        }
        g_camera.m_cursor.m_bClickEffects = 1;  // rings only: no cursor over them
    }
    void TearDown() override
    {
        UninstallMyHook(nullptr);
        ResetCamera(g_camera);
        ClickQueueLock lock;
        ClickQueue::getQueue().clear();
    }

    // Captures a frame and the range of ring radii the engine could have
    // used for an event at `time`: the tick is read inside the capture.
    void CaptureAt(DWORD time, bool closing, int& rMin, int& rMax)
    {
        const DWORD before = GetTickCount();
        ASSERT_TRUE(g_camera.CaptureFrame(kArea, true));
        const DWORD after = GetTickCount();
        auto radius = [&](DWORD now) {
            const int r = (int)(now - time) * 20 / 1000;
            return closing ? 20 - r : r;
        };
        rMin = std::min(radius(before), radius(after));
        rMax = std::max(radius(before), radius(after));
    }

    std::unique_ptr<TestWindow> window_;
    const POINT centre_ = {200, 150};  // in the frame
};

TEST_F(ClickRings, HeldButtonClosesInThenItsReleaseOpensOutAndExpires)
{
    Send(MOUSEEVENTF_LEFTDOWN);
    const DWORD down = WaitForEvent(WM_LBUTTONDOWN);
    Sleep(200 - std::min<DWORD>(200, GetTickCount() - down));
    int rMin, rMax;
    CaptureAt(down, true, rMin, rMax);
    EXPECT_GE(rMax, 14);
    EXPECT_LE(rMin, 17);
    const FrameImage& f = g_camera.Frame();
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        EXPECT_TRUE(RingOnRay(f, centre_, a, rMin - 1.5, rMax + 1.5, IsLeftRing))
            << "no ring at " << i * 45 << " degrees, radius " << rMin << ".." << rMax;
        EXPECT_FALSE(RingOnRay(f, centre_, a, rMax + 4, rMax + 12, IsLeftRing));
        EXPECT_FALSE(RingOnRay(f, centre_, a, 0, rMin - 4, IsLeftRing));
    }

    Send(MOUSEEVENTF_LEFTUP);
    const DWORD up = WaitForEvent(WM_LBUTTONUP);
    Sleep(500 - std::min<DWORD>(500, GetTickCount() - up));
    CaptureAt(up, false, rMin, rMax);
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4 + 0.3;
        EXPECT_TRUE(RingOnRay(f, centre_, a, rMin - 1.5, rMax + 1.5, IsLeftRing))
            << "no growing ring at radius " << rMin << ".." << rMax;
        // The held button's closing ring is gone (it would be near 20 - 14 = 6
        // or smaller by now, the growing one near 10).
        EXPECT_FALSE(RingOnRay(f, centre_, a, 0, rMin - 4, IsLeftRing));
    }

    Sleep(1000 - std::min<DWORD>(1000, GetTickCount() - up) + 50);
    ASSERT_TRUE(g_camera.CaptureFrame(kArea, true));
    const RECT any = FindPixels(f, [](DWORD p) { return p != 0xFFFFFF; });
    EXPECT_TRUE(IsRectEmpty(&any)) << "a ring outlived its second";
    ClickQueueLock lock;
    EXPECT_TRUE(ClickQueue::getQueue().empty());
}

TEST_F(ClickRings, WheelTurnsDrawChevronsPointingTheirWay)
{
    Send(MOUSEEVENTF_WHEEL, (DWORD)-120);  // backward: the tip below
    const DWORD t = WaitForEvent(WM_MOUSEWHEEL);
    Sleep(600 - std::min<DWORD>(600, GetTickCount() - t));
    int rMin, rMax;
    CaptureAt(t, false, rMin, rMax);
    const FrameImage& f = g_camera.Frame();
    const int r = (rMin + rMax) / 2;
    // Midpoints of the two arms, from (x -/+ r, y) to (x, y + r).
    EXPECT_TRUE(IsWheelMark(f.PixelAt(centre_.x - r / 2, centre_.y + r / 2)) ||
                IsWheelMark(f.PixelAt(centre_.x - r / 2, centre_.y + r / 2 + 1)));
    EXPECT_TRUE(IsWheelMark(f.PixelAt(centre_.x + r / 2, centre_.y + r / 2)) ||
                IsWheelMark(f.PixelAt(centre_.x + r / 2, centre_.y + r / 2 + 1)));
    const RECT mark = FindPixels(f, IsWheelMark);
    EXPECT_GE(mark.top, centre_.y - 2) << "a backward turn points down";
    EXPECT_NEAR(centre_.y + r, mark.bottom, 3);
    EXPECT_NEAR(centre_.x - r, mark.left, 3);
    EXPECT_NEAR(centre_.x + r, mark.right, 3);
}

TEST_F(ClickRings, EventStampedAheadOfTheClockIsDrawnNotDropped)
{
    {
        ClickQueueLock lock;
        MouseEventRecord e = {{400, 300}, 0, WM_LBUTTONDOWN, GetTickCount() + 300, 0};
        ClickQueue::getQueue().push_back(e);
    }
    ASSERT_TRUE(g_camera.CaptureFrame(kArea, true));
    {
        ClickQueueLock lock;
        EXPECT_EQ(1u, ClickQueue::getQueue().size());
    }
    // A new press: the full 20 px ring.
    const FrameImage& f = g_camera.Frame();
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(RingOnRay(f, centre_, i * 3.14159265 / 4, 18.5, 21.5, IsLeftRing));
}

}  // namespace
