// The hook DLL under Wine: SendInput's buttons and wheel turns reach the
// queue the test program hosts, with the fields the capture engine reads.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "platform/hook/CamHook.h"

#include <vector>

namespace {

const POINT kAt = {300, 240};

void Send(DWORD flags, DWORD data = 0)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    ASSERT_EQ(1u, SendInput(1, &in, sizeof in));
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

std::vector<MouseEventRecord> Snapshot()
{
    ClickQueueLock lock;
    const ClickEventQueue& q = ClickQueue::getQueue();
    return std::vector<MouseEventRecord>(q.begin(), q.end());
}

void Clear()
{
    ClickQueueLock lock;
    ClickQueue::getQueue().clear();
}

// The hook runs on the DLL's thread: wait until it has queued n events.
std::vector<MouseEventRecord> WaitForEvents(size_t n, DWORD timeoutMs = 3000)
{
    DWORD start = GetTickCount();
    std::vector<MouseEventRecord> events;
    do {
        Pump();
        events = Snapshot();
        if (events.size() >= n) break;
        Sleep(10);
    } while (GetTickCount() - start < timeoutMs);
    return events;
}

class CamHook : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A window under the clicks, so they land on this process.
        window_ = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100,
                                  400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_);
        Pump();
        SetCursorPos(kAt.x, kAt.y);
        ASSERT_TRUE(InstallMyHook(nullptr, 0));
        Clear();
    }
    void TearDown() override
    {
        UninstallMyHook(nullptr);
        DestroyWindow(window_);
        Clear();
    }
    HWND window_ = nullptr;
};

TEST_F(CamHook, QueuesButtonsAndWheelWithTheirFields)
{
    struct Case {
        DWORD flags;
        DWORD data;
        DWORD message;
        short delta;
    };
    const Case cases[] = {
        {MOUSEEVENTF_LEFTDOWN, 0, WM_LBUTTONDOWN, 0},
        {MOUSEEVENTF_LEFTUP, 0, WM_LBUTTONUP, 0},
        {MOUSEEVENTF_RIGHTDOWN, 0, WM_RBUTTONDOWN, 0},
        {MOUSEEVENTF_RIGHTUP, 0, WM_RBUTTONUP, 0},
        {MOUSEEVENTF_MIDDLEDOWN, 0, WM_MBUTTONDOWN, 0},
        {MOUSEEVENTF_MIDDLEUP, 0, WM_MBUTTONUP, 0},
        {MOUSEEVENTF_WHEEL, (DWORD)-120, WM_MOUSEWHEEL, -120},
        {MOUSEEVENTF_WHEEL, 240, WM_MOUSEWHEEL, 240},
    };
    const size_t n = sizeof cases / sizeof cases[0];
    DWORD before = GetTickCount();
    for (const Case& c : cases) {
        Send(c.flags, c.data);
        Send(MOUSEEVENTF_MOVE, 0);  // moves are not queued
    }
    std::vector<MouseEventRecord> events = WaitForEvents(n);
    DWORD after = GetTickCount();
    ASSERT_EQ(n, events.size());
    for (size_t i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].message, events[i].message);
        EXPECT_EQ(kAt.x, events[i].pt.x);
        EXPECT_EQ(kAt.y, events[i].pt.y);
        if (cases[i].message == WM_MOUSEWHEEL) {
            EXPECT_EQ(cases[i].delta, (short)HIWORD(events[i].mouseData));
        }
        // Times are on the GetTickCount clock, in order.
        EXPECT_LE((LONG)(before - events[i].time), 50);
        EXPECT_LE((LONG)(events[i].time - after), 50);
        if (i > 0) {
            EXPECT_GE((LONG)(events[i].time - events[i - 1].time), 0);
        }
    }
}

TEST_F(CamHook, InstallsOnceCountsEveryCallAndStops)
{
    LONG count = CamHookInstallCount();
    EXPECT_TRUE(CamHookIsInstalled());
    ASSERT_TRUE(InstallMyHook(nullptr, 0));  // a second start changes nothing
    EXPECT_EQ(count + 1, CamHookInstallCount());

    Send(MOUSEEVENTF_LEFTDOWN);
    Send(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(2u, WaitForEvents(2).size());
    Sleep(100);
    Pump();
    EXPECT_EQ(2u, Snapshot().size()) << "a second install must not hook twice";

    EXPECT_TRUE(UninstallMyHook(nullptr));
    EXPECT_FALSE(CamHookIsInstalled());
    EXPECT_FALSE(UninstallMyHook(nullptr));
    Clear();
    Send(MOUSEEVENTF_LEFTDOWN);
    Send(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(0u, WaitForEvents(1, 300).size());

    ASSERT_TRUE(InstallMyHook(nullptr, 0));  // and starts again
    Send(MOUSEEVENTF_RIGHTDOWN);
    Send(MOUSEEVENTF_RIGHTUP);
    EXPECT_EQ(2u, WaitForEvents(2).size());
}

TEST_F(CamHook, KeepsTheQueueBoundedWhenNobodyDrainsIt)
{
    DWORD now = GetTickCount();
    {
        ClickQueueLock lock;
        ClickEventQueue& q = ClickQueue::getQueue();
        MouseEventRecord old = {{0, 0}, 0, WM_LBUTTONDOWN, now - 6000, 0};
        q.push_back(old);
        for (int i = 0; i < 600; ++i) {
            MouseEventRecord e = {{i, 0}, 0, WM_LBUTTONUP, now, 0};
            q.push_back(e);
        }
    }
    Send(MOUSEEVENTF_LEFTDOWN);
    std::vector<MouseEventRecord> events;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(10)) {
        Pump();
        events = Snapshot();
        if (events.back().pt.x == kAt.x) break;
    }
    Send(MOUSEEVENTF_LEFTUP);
    ASSERT_EQ(kAt.x, events.back().pt.x) << "the click never arrived";
    EXPECT_LE(events.size(), 512u);
    EXPECT_NE(now - 6000, events.front().time) << "an entry 6 s old was kept";
}

std::string ProbePath()
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir.resize(dir.find_last_of('\\'));
    return dir + "\\camhook_nohost_probe.exe";
}

TEST(CamHookHost, ProgramWithoutTheQueueExportIsRefused)
{
    testkit::Process probe;
    ASSERT_TRUE(probe.Start(ProbePath()));
    EXPECT_EQ(0, probe.Wait(20000));
}

TEST(CamHookHost, AnotherProcessReadsTheCounters)
{
    CamHookCounters mine;
    ASSERT_TRUE(ReadCamHookCounters(GetCurrentProcessId(), &mine));
    const LONG installs = mine.installCalls;
    ASSERT_TRUE(InstallMyHook(nullptr, 0));
    ASSERT_TRUE(ReadCamHookCounters(GetCurrentProcessId(), &mine));
    EXPECT_EQ(installs + 1, mine.installCalls);
    EXPECT_EQ(1, mine.installed);
    EXPECT_TRUE(UninstallMyHook(nullptr));
    ASSERT_TRUE(ReadCamHookCounters(GetCurrentProcessId(), &mine));
    EXPECT_EQ(0, mine.installed);
    EXPECT_GE(mine.uninstallCalls, 1);

    testkit::Process probe;
    ASSERT_TRUE(probe.Start(ProbePath(), "wait"));
    CamHookCounters theirs = {};
    bool seen = false;
    for (int i = 0; i < 200 && !(seen && theirs.installCalls == 1); ++i, Sleep(20))
        seen = ReadCamHookCounters(probe.Id(), &theirs);
    ASSERT_TRUE(seen);
    EXPECT_EQ(1, theirs.installCalls);
    EXPECT_EQ(0, theirs.installed);
    EXPECT_FALSE(ReadCamHookCounters(probe.Id() + 4000, &theirs));
}

}  // namespace
