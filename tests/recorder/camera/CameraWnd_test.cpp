// The camera preview in this process (this thread is its UI thread), opened
// through the recorder module's registration, with the test camera
// registered as the prefix's only video input device: the graph runs, the
// renderer draws the pattern into the window where the picture arithmetic
// says, the caption bar comes and goes with the mouse, resizing asks the
// camera for offered sizes only, and opening and closing leaves nothing
// behind. Without a camera, or with one that cannot connect, the window
// says so.
#include <gtest/gtest.h>

#include "TestCameraSetup.h"
#include "TestKit.h"
#include "kit/WindowTable.h"
#include "recorder/windows/CameraWnd.h"
#include "recorder/windows/RecorderModule.h"

#include <tlhelp32.h>

#include <cstdlib>
#include <string>

namespace {

using testkit::Pump;
using testkit::PumpUntil;

TestCameraStats& Stats()
{
    static TestCameraStats empty = {};
    TestCameraStats* s = OpenTestCameraStats();
    return s ? *s : empty;
}

int ThreadsOfThisProcess()
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 te = {sizeof te};
    int n = 0;
    if (Thread32First(snap, &te)) {
        do
            if (te.th32OwnerProcessID == GetCurrentProcessId()) ++n;
        while (Thread32Next(snap, &te));
    }
    CloseHandle(snap);
    return n;
}

// Top-level and message-only windows of this process (a renderer or a graph
// may make either kind).
int WindowsOfThisProcess()
{
    int n = (int)testkit::WindowsOfProcess(GetCurrentProcessId()).size();
    for (HWND h = nullptr; (h = FindWindowExA(HWND_MESSAGE, h, nullptr, nullptr)) != nullptr;) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == GetCurrentProcessId()) ++n;
    }
    return n;
}

unsigned ScreenPixel(POINT at)
{
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, at.x, at.y);
    ReleaseDC(nullptr, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

bool Near(unsigned want, unsigned got, int tolerance)
{
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs((int)((want >> shift) & 0xFF) - (int)((got >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

std::string Hex(unsigned c)
{
    char buf[16];
    snprintf(buf, sizeof buf, "%06X", c);
    return buf;
}

// A point of the picture, as fractions of the picture rectangle, on the
// screen.
POINT InPicture(HWND w, RECT picture, double fx, double fy)
{
    POINT p = {picture.left + (LONG)((picture.right - picture.left) * fx),
               picture.top + (LONG)((picture.bottom - picture.top) * fy)};
    ClientToScreen(w, &p);
    return p;
}

// The four coloured quarters of the pattern where the picture is.
void ExpectPattern(HWND w, RECT picture)
{
    const double xs[2] = {0.25, 0.75}, ys[2] = {0.19, 0.56};
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col) {
            unsigned got = ScreenPixel(InPicture(w, picture, xs[col], ys[row]));
            EXPECT_TRUE(Near(kTestCameraColours[row * 2 + col], got, 12))
                << "quarter " << row * 2 + col << ": " << Hex(got);
        }
    }
}

// The mouse, as the hardware moves it.
void MoveMouse(POINT to)
{
    SetCursorPos(to.x, to.y);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
}

void ExpectRect(RECT want, RECT got, const char* what)
{
    EXPECT_TRUE(EqualRect(&want, &got)) << what << ": (" << got.left << "," << got.top << ")-("
                                        << got.right << "," << got.bottom << ")";
}

class CameraWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        OleInitialize(nullptr);
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
    }
    void SetUp() override
    {
        RecorderModule().registerWindows(GetWindowTable());
        // What the main window is to the preview.
        owner_ = CreateWindowExA(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, 600, 600, 50, 20,
                                 nullptr, nullptr, nullptr, nullptr);
        // Out of the way of the windows under test.
        SetCursorPos(1000, 700);
    }
    void TearDown() override
    {
        GetWindowTable().CloseAll();
        Pump(200);
        GetWindowTable().Clear();
        DestroyWindow(owner_);
    }

    CameraWnd* Open(POINT at = {100, 100})
    {
        WindowRequest r;
        r.owner = owner_;
        r.at = at;
        return static_cast<CameraWnd*>(GetWindowTable().Open(WindowId::Camera, r));
    }
    static bool Gone() { return GetWindowTable().Current(WindowId::Camera) == nullptr; }

    HWND owner_ = nullptr;

    // The window after "windowinit", with frames flowing when there is a
    // camera.
    static bool WaitStreaming(CameraWnd* w, LONG frames = 10)
    {
        LONG before = Stats().samplesDelivered;
        return PumpUntil(
            [&] { return w->Capture().Running() && Stats().samplesDelivered - before >= frames; },
            30000);
    }
};

TEST_F(CameraWndTest, ShowsTheCameraWhereThePictureGoesAndTheCaptionBarMovesIt)
{
    TestCameraRegistration camera;
    ASSERT_TRUE(camera.ok()) << std::hex << camera.result();
    CameraWnd* w = Open({100, 100});
    ASSERT_NE(nullptr, w);
    HWND h = w->GetHWND();
    ASSERT_TRUE(WaitStreaming(w));

    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_STREQ("CameraWnd", cls);
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(nullptr, GetWindow(h, GW_OWNER)) << "stays while the main window is minimised";
    RECT rc;
    GetWindowRect(h, &rc);
    ExpectRect({100, 100, 300, 300}, rc, "window");
    EXPECT_EQ(640, w->Capture().CaptureWidth()) << "no 50x50 format: the camera's own";

    // The renderer was told the picture's rectangle, the library leaves it be,
    // and the pattern is there on the screen, moving.
    RECT dest = {};
    ASSERT_EQ(S_OK, w->Capture().Windowless()->GetVideoPosition(nullptr, &dest));
    ExpectRect({1, 0, 199, 199}, dest, "picture");
    ExpectRect(dest, w->GetPaintManager().GetUnpaintedRect(), "unpainted");
    Pump(300);
    ExpectPattern(h, dest);
    auto band = [&] {
        std::string row;
        for (double fx = 0.02; fx < 1; fx += 0.02)
            row += ScreenPixel(InPicture(h, dest, fx, 0.875)) > 0x808080 ? '#' : '.';
        return row;
    };
    std::string first = band();
    Pump(600);
    EXPECT_NE(first, band()) << "the white block moves";
    EXPECT_NE(std::string::npos, first.find('#')) << first;
    testkit::SaveWindowScreenshot(h, "camera_wnd");

    // A move over the preview: the caption bar shows above the picture...
    POINT inside = {200, 200};
    MoveMouse(inside);
    ASSERT_TRUE(PumpUntil([&] { return w->CaptionShown(); }, 2000));
    const DWORD shownAt = GetTickCount();
    ASSERT_EQ(S_OK, w->Capture().Windowless()->GetVideoPosition(nullptr, &dest));
    ExpectRect({1, 25, 198, 199}, dest, "picture below the caption bar");
    ExpectRect(dest, w->GetPaintManager().GetUnpaintedRect(), "unpainted");
    // (Under Wine the renderer's GL surface covers the whole client area,
    // so the bar the library paints there is not on the screen; the
    // no-camera test sees it.)
    DuiLib::CControlUI* bar = w->GetPaintManager().FindControl("caption_bar");
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(bar->IsVisible());
    ExpectRect({0, 0, 200, 24}, bar->GetPos(), "caption bar");
    Pump(300);
    ExpectPattern(h, dest);

    // ...for at least two seconds with the mouse resting, then goes on the
    // first tick after that.
    ASSERT_TRUE(PumpUntil([&] { return !w->CaptionShown(); }, 4000));
    const DWORD shownFor = GetTickCount() - shownAt;
    EXPECT_GE(shownFor, 1900u);
    EXPECT_LE(shownFor, 2900u);
    ASSERT_EQ(S_OK, w->Capture().Windowless()->GetVideoPosition(nullptr, &dest));
    ExpectRect({1, 0, 199, 199}, dest, "picture after the bar");

    // The bar's close button closes the preview and lets the camera go.
    MoveMouse({220, 210});
    ASSERT_TRUE(PumpUntil([&] { return w->CaptionShown(); }, 2000));
    Pump(100);
    DuiLib::CControlUI* close = w->GetPaintManager().FindControl("closebtn");
    ASSERT_NE(nullptr, close);
    RECT pos = close->GetPos();
    POINT at = {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
    ClientToScreen(h, &at);
    MoveMouse(at);
    Pump(100);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    ASSERT_TRUE(PumpUntil(Gone, 3000));
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(
        PumpUntil([] { return Stats().liveObjects == 0 && Stats().streamingThreads == 0; }, 3000))
        << Stats().liveObjects << " objects, " << Stats().streamingThreads << " threads";
}

TEST_F(CameraWndTest, ResizingAsksTheCameraForTheClientSizeOnlyWhenItOffersIt)
{
    TestCameraRegistration camera;
    ASSERT_TRUE(camera.ok());
    CameraWnd* w = Open();
    ASSERT_NE(nullptr, w);
    HWND h = w->GetHWND();
    ASSERT_TRUE(WaitStreaming(w));
    const LONG asked = Stats().formatRequests;

    // Offered: asked for. The running camera keeps its format, and the
    // picture is scaled into the new area.
    SetWindowPos(h, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(100);
    EXPECT_GT(Stats().formatRequests, asked);
    EXPECT_EQ(320, Stats().requestedWidth);
    EXPECT_EQ(240, Stats().requestedHeight);
    EXPECT_EQ(640, w->Capture().CaptureWidth());
    EXPECT_EQ(480, w->Capture().CaptureHeight());
    RECT dest = {};
    ASSERT_EQ(S_OK, w->Capture().Windowless()->GetVideoPosition(nullptr, &dest));
    ExpectRect({1, 0, 319, 239}, dest, "picture");
    ASSERT_TRUE(WaitStreaming(w, 5));
    Pump(200);
    ExpectPattern(h, dest);

    // Not offered: not asked, at the resize nor at the timer's ticks.
    SetWindowPos(h, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(100);
    const LONG afterResize = Stats().formatRequests;
    Pump(1200);
    EXPECT_EQ(afterResize, Stats().formatRequests);
    EXPECT_EQ(640, w->Capture().CaptureWidth());
    ASSERT_EQ(S_OK, w->Capture().Windowless()->GetVideoPosition(nullptr, &dest));
    ExpectRect({1, 0, 299, 199}, dest, "picture");
    EXPECT_TRUE(w->Capture().Running());
}

TEST_F(CameraWndTest, WithoutACameraTheWindowSaysSoAndStaysUsable)
{
    TestCameraRegistration none(false);
    CameraWnd* w = Open();
    ASSERT_NE(nullptr, w);
    HWND h = w->GetHWND();
    DuiLib::CControlUI* text = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        text = w->GetPaintManager().FindControl("no_camera_lb");
        return text && text->IsVisible();
    }));
    EXPECT_STREQ(CameraWnd::kNoCameraText, text->GetText().GetData());
    EXPECT_FALSE(w->Capture().Running());
    EXPECT_EQ(nullptr, w->Capture().Graph()) << "nothing kept of a graph that cannot run";
    RECT unpainted = w->GetPaintManager().GetUnpaintedRect();
    EXPECT_TRUE(IsRectEmpty(&unpainted));
    Pump(300);
    // The text is painted: light pixels in the middle of a dark window.
    int light = 0;
    RECT t = text->GetPos();
    for (int y = t.top; y < t.bottom; y += 2)
        for (int x = t.left; x < t.right; x += 2) {
            POINT p = {x, y};
            ClientToScreen(h, &p);
            light += ScreenPixel(p) > 0xA0A0A0 ? 1 : 0;
        }
    EXPECT_GT(light, 20);
    testkit::SaveWindowScreenshot(h, "camera_wnd_no_camera");

    // The caption bar still comes with the mouse, and minimising works.
    MoveMouse({200, 200});
    EXPECT_TRUE(PumpUntil([&] { return w->CaptionShown(); }, 2000));
    Pump(200);
    DuiLib::CControlUI* close = w->GetPaintManager().FindControl("closebtn");
    ASSERT_NE(nullptr, close);
    EXPECT_TRUE(Near(0x2A3138, ScreenPixel({100 + 100, 100 + 3}), 8))
        << "the bar: " << Hex(ScreenPixel({200, 103}));
    EXPECT_EQ(200 - 45, close->GetPos().left) << "the close button at the bar's right end";
    testkit::SaveWindowScreenshot(h, "camera_wnd_caption");
    w->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_TRUE(IsIconic(h));
    w->Close();
    EXPECT_TRUE(PumpUntil(Gone, 3000));
}

TEST_F(CameraWndTest, ACameraThatCannotConnectIsLetGoAndTheWindowSaysSo)
{
    TestCameraRegistration camera;
    ASSERT_TRUE(camera.ok());
    InterlockedExchange(&Stats().refuseConnection, 1);
    CameraWnd* w = Open();
    ASSERT_NE(nullptr, w);
    DuiLib::CControlUI* text = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        text = w->GetPaintManager().FindControl("no_camera_lb");
        return text && text->IsVisible();
    }));
    EXPECT_STREQ(CameraWnd::kCameraFailedText, text->GetText().GetData());
    // Released at once, not when the window goes.
    EXPECT_EQ(0, Stats().liveObjects);
    EXPECT_EQ(nullptr, w->Capture().Graph());
    w->Close();
    EXPECT_TRUE(PumpUntil(Gone, 3000));
}

TEST_F(CameraWndTest, OpeningAndClosingTwentyTimesLeavesNothingBehind)
{
    TestCameraRegistration camera;
    ASSERT_TRUE(camera.ok());
    // Once first: the renderer's and COM's own lasting threads and windows.
    CameraWnd* w = Open();
    ASSERT_TRUE(w && WaitStreaming(w));
    w->Close();
    ASSERT_TRUE(PumpUntil(Gone, 3000));
    Pump(500);
    const int threads = ThreadsOfThisProcess();
    const int windows = WindowsOfThisProcess();
    ASSERT_EQ(0, Stats().liveObjects);

    for (int i = 0; i < 20; ++i) {
        w = Open({100 + 10 * i, 100});
        ASSERT_NE(nullptr, w) << i;
        HWND h = w->GetHWND();
        // Closed in every state the graph may be in: before it is built,
        // running, with the caption bar over it, minimised, destroyed
        // outright.
        switch (i % 5) {
            case 0:
                break;
            case 1:
                ASSERT_TRUE(WaitStreaming(w, 3)) << i;
                break;
            case 2:
                ASSERT_TRUE(WaitStreaming(w, 3)) << i;
                MoveMouse({150 + 10 * i, 150});
                ASSERT_TRUE(PumpUntil([&] { return w->CaptionShown(); }, 2000)) << i;
                break;
            case 3:
                ASSERT_TRUE(WaitStreaming(w, 3)) << i;
                w->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
                break;
            case 4:
                ASSERT_TRUE(WaitStreaming(w, 3)) << i;
                DestroyWindow(h);
                break;
        }
        if (IsWindow(h)) w->Close();
        ASSERT_TRUE(PumpUntil(Gone, 3000)) << i;
        SetCursorPos(1000, 700);
    }
    // Threads of the graph end a little after it is released.
    EXPECT_TRUE(PumpUntil([&] { return ThreadsOfThisProcess() <= threads; }, 5000))
        << ThreadsOfThisProcess() << " threads, " << threads << " before";
    EXPECT_EQ(windows, WindowsOfThisProcess());
    EXPECT_EQ(0, Stats().liveObjects);
    EXPECT_EQ(0, Stats().streamingThreads);
    EXPECT_EQ(0, Stats().connected);
}

}  // namespace
