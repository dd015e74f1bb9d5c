// The camera preview in the real Orbisk.exe, with the test camera
// registered in the prefix as its only video input device: the main
// window's camera button opens the preview below it, a second click keeps
// the one preview and its graph, a whole-screen recording holds the
// picture while the main window is minimised, and the preview's own close
// button lets the camera go. Without a camera the preview says so.
#include "ProgramTestFixture.h"
#include "TestCameraSetup.h"

#include <cstdlib>

namespace {

using namespace programtest;

TestCameraStats& Stats()
{
    static TestCameraStats empty = {};
    TestCameraStats* s = OpenTestCameraStats();
    return s ? *s : empty;
}

void PressKey(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

void MoveMouse(POINT to)
{
    SetCursorPos(to.x, to.y);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
}

bool Near(unsigned want, unsigned got, int tolerance)
{
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs((int)((want >> shift) & 0xFF) - (int)((got >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

unsigned ScreenPixel(POINT at)
{
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, at.x, at.y);
    ReleaseDC(nullptr, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// The centres of the pattern's four quarters in the picture of a preview
// whose client area starts at `origin` (screen), 200 x 200 with the
// picture at (1,0)-(199,199).
std::vector<POINT> QuarterCentres(POINT origin)
{
    std::vector<POINT> points;
    for (double fy : {0.19, 0.56})
        for (double fx : {0.25, 0.75})
            points.push_back({origin.x + 1 + (LONG)(198 * fx), origin.y + (LONG)(199 * fy)});
    return points;
}

class CameraProgramTest : public ProgramTest {
protected:
    // The main window has handled everything posted before: a pause blink
    // posted behind shows only after.
    void Settle()
    {
        PostMessageA(main_, 0x404, 1, 0);
        ASSERT_TRUE(WaitShown("pause_change_btn", true));
        PostMessageA(main_, 0x404, 0, 0);
        ASSERT_TRUE(WaitShown("pause_record_btn", true));
    }

    int CameraWindows()
    {
        int n = 0;
        for (HWND h : WindowsOfProcess(program_.Id())) {
            char cls[32] = {};
            GetClassNameA(h, cls, sizeof cls);
            n += strcmp(cls, "CameraWnd") == 0 ? 1 : 0;
        }
        return n;
    }

    // Closes the preview as a user does: the mouse over it brings the
    // caption bar, whose close button is clicked.
    void CloseWithItsButton(HWND cam)
    {
        RECT rc;
        GetWindowRect(cam, &rc);
        MoveMouse({rc.left + 60, rc.top + 90});
        ASSERT_TRUE(
            probe_.WaitFor(cam, "caption_bar", [](const UiControl& c) { return c.shown; }).shown);
        ASSERT_TRUE(probe_.Click(cam, "closebtn"));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(cam); }, 5000));
    }
};

TEST_F(CameraProgramTest, CameraButtonOpensThePreviewOnceAndARecordingHoldsIt)
{
    TestCameraRegistration camera;
    ASSERT_TRUE(camera.ok()) << std::hex << camera.result();
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    SetCursorPos(1200, 780);
    const LONG runs = Stats().runs;
    const LONG made = Stats().filtersMade;
    const LONG frames = Stats().samplesDelivered;

    ASSERT_TRUE(probe_.Click(main_, "camera_open_btn"));
    HWND cam = WaitForWindow("CameraWnd", "CameraWnd", 10000, program_.Id());
    ASSERT_NE(nullptr, cam);
    // 200 x 200 at the bottom-left corner of the main window's client area.
    RECT client, rc;
    GetClientRect(main_, &client);
    POINT corner = {0, client.bottom};
    ClientToScreen(main_, &corner);
    // The window is made, then placed.
    WaitUntil([&] { return GetWindowRect(cam, &rc) && rc.left == corner.x && rc.top == corner.y; },
              5000);
    EXPECT_EQ(corner.x, rc.left);
    EXPECT_EQ(corner.y, rc.top);
    EXPECT_EQ(200, rc.right - rc.left);
    EXPECT_EQ(200, rc.bottom - rc.top);
    EXPECT_TRUE(GetWindowLongA(cam, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Not owned by the main window, which Windows would hide it with when
    // the recording minimises the main window.
    EXPECT_EQ(nullptr, GetWindow(cam, GW_OWNER));

    // Frames reach the program's renderer, and it shows them.
    ASSERT_TRUE(WaitUntil([&] { return Stats().samplesDelivered - frames >= 25; }, 30000))
        << Stats().samplesDelivered - frames << " frames";
    EXPECT_EQ(made + 1, Stats().filtersMade) << "the graph built once";
    EXPECT_EQ(runs + 1, Stats().runs);
    POINT origin = {0, 0};
    ClientToScreen(cam, &origin);
    std::vector<POINT> centres = QuarterCentres(origin);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(Near(kTestCameraColours[i], ScreenPixel(centres[i]), 12)) << "quarter " << i;
    SaveWindowScreenshot(cam, "camera_wnd_program");

    // A second click keeps the one preview and its running graph.
    ASSERT_TRUE(probe_.Click(main_, "camera_open_btn"));
    Settle();
    EXPECT_EQ(1, CameraWindows());
    EXPECT_EQ(made + 1, Stats().filtersMade);
    EXPECT_EQ(runs + 1, Stats().runs);

    // Three seconds of the whole screen: the main window goes down, the
    // preview stays up and is in the video.
    PressKey(VK_F7);
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(main_) != FALSE; }, 5000));
    EXPECT_TRUE(IsWindowVisible(cam) && !IsIconic(cam));
    ASSERT_TRUE(WaitRecorded(3000));
    PressKey(VK_F7);
    ASSERT_TRUE(WaitShown("begin_record_btn", true));
    ASSERT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 1; }, 60000));
    const std::string video = VideosIn(save)[0];
    long long size = -1;
    while (FileSize(video) != size) {
        size = FileSize(video);
        Sleep(500);
    }
    const std::string still = work_ + "\\middle.png";
    LinuxResult r = RunLinux("ffmpeg -nostdin -v error -ss 1.5 -i " + ShellQuote(UnixPath(video)) +
                             " -frames:v 1 -y " + ShellQuote(UnixPath(still)));
    ASSERT_EQ(0, r.exitCode) << r.err;
    DecodedImage frame = DecodeImage(still);
    ASSERT_GT(frame.width, origin.x + 200);
    ASSERT_GT(frame.height, origin.y + 200);
    for (int i = 0; i < 4; ++i) {
        unsigned got = frame.At(centres[i].x, centres[i].y);
        EXPECT_TRUE(Near(kTestCameraColours[i], got, 40))
            << "quarter " << i << " in the video: " << std::hex << got;
    }

    ShowWindow(main_, SW_RESTORE);
    CloseWithItsButton(cam);
    EXPECT_TRUE(WaitUntil([] { return Stats().liveObjects == 0; }, 5000))
        << Stats().liveObjects << " objects of the camera still held";
    EXPECT_EQ(0, Stats().streamingThreads);
    // The main window opens it anew, and the program ends cleanly with the
    // preview running.
    ASSERT_TRUE(probe_.Click(main_, "camera_open_btn"));
    EXPECT_NE(nullptr, WaitForWindow("CameraWnd", "CameraWnd", 10000, program_.Id()));
    ASSERT_TRUE(WaitUntil([&] { return Stats().streamingThreads == 1; }, 10000));
    ASSERT_TRUE(probe_.Click(main_, "closebtn"));
    EXPECT_EQ(0, program_.Wait(20000));
    EXPECT_FALSE(FileExists(work_ + "\\CRASH.DMP"));
    EXPECT_EQ(0, Stats().liveObjects) << "the camera let go before the program ended";
}

TEST_F(CameraProgramTest, WithoutACameraThePreviewSaysSoAndCloses)
{
    TestCameraRegistration none(false);
    ASSERT_NE(nullptr, Start());
    SetCursorPos(1200, 780);
    ASSERT_TRUE(probe_.Click(main_, "camera_open_btn"));
    HWND cam = WaitForWindow("CameraWnd", "CameraWnd", 10000, program_.Id());
    ASSERT_NE(nullptr, cam);
    // Looking through the devices takes a while on a slow machine.
    UiControl text = probe_.WaitFor(
        cam, "no_camera_lb", [](const UiControl& c) { return c.shown; }, 30000);
    EXPECT_TRUE(text.shown);
    EXPECT_EQ("未检测到摄像头", text.text);
    // And on the screen: light strokes of the text in a dark window.
    auto lightPixels = [&] {
        int n = 0;
        for (int y = text.pos.top; y < text.pos.bottom; y += 2)
            for (int x = text.pos.left; x < text.pos.right; x += 2) {
                POINT p = {x, y};
                ClientToScreen(cam, &p);
                n += ScreenPixel(p) > 0xA0A0A0 ? 1 : 0;
            }
        return n;
    };
    EXPECT_TRUE(WaitUntil([&] { return lightPixels() > 20; }, 10000)) << lightPixels();
    SaveWindowScreenshot(cam, "camera_wnd_program_no_camera");
    CloseWithItsButton(cam);
    // The program goes on: the main window answers and opens it again.
    Settle();
    ASSERT_TRUE(probe_.Click(main_, "camera_open_btn"));
    EXPECT_NE(nullptr, WaitForWindow("CameraWnd", "CameraWnd", 10000, program_.Id()));
}

}  // namespace
