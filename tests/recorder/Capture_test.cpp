// The engine on the real screen: grabbing, the 24-bit frame, stretching a
// resized capture, zoom, the cursor and an allocation-free frame loop.
#include <gtest/gtest.h>

#include "RecorderTestKit.h"
#include "recorder/Camera.h"
#include "recorder/Zoom.h"

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

using namespace rtk;

// Counts the allocations of this program while a test asks for it.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
static std::atomic<bool> g_countAllocations(false);
static std::atomic<long> g_allocations(0);

void* operator new(size_t size)
{
    if (g_countAllocations) ++g_allocations;
    if (void* p = malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    free(p);
}
void operator delete(void* p, size_t) noexcept
{
    free(p);
}

namespace {

const COLORREF kBands[6] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),
                            RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)};

// Six vertical bands; the bottom half of each is darker, so rows that come
// out upside down show.
COLORREF StripeAt(int x, int y, int height)
{
    const COLORREF c = kBands[(x / 50) % 6];
    return y < height / 2 ? c : RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
}

void PaintStripes(HDC dc, const RECT& rc)
{
    for (int x = 0; x < rc.right; x += 50) {
        for (int half = 0; half < 2; ++half) {
            RECT band = {x, half ? rc.bottom / 2 : 0, x + 50, half ? rc.bottom : rc.bottom / 2};
            HBRUSH b = CreateSolidBrush(StripeAt(x, band.top, rc.bottom));
            FillRect(dc, &band, b);
            DeleteObject(b);
        }
    }
}

class Capture : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartGdiplus();
        ResetCamera(g_camera);
        SetCursorPos(5, 5);
    }
    void TearDown() override
    {
        ResetCamera(g_camera);
        g_dZoomFactor = 1.0;
        g_dwZoomTick = 0;
    }
};

TEST_F(Capture, StripesComeOutAsA24BitBottomUpDibOfEvenSize)
{
    // 299 x 201: the frame is 298 x 200, whose rows need two bytes of padding.
    const RECT rc = {64, 48, 64 + 299, 48 + 201};
    TestWindow window(rc, PaintStripes);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "CaptureFrame" : "CaptureTestFrame");
        ASSERT_TRUE(pass == 0 ? g_camera.CaptureFrame(rc, true) : g_camera.CaptureTestFrame(rc));
        const BITMAPINFOHEADER* h = g_camera.FrameHeader();
        ASSERT_EQ(40u, g_camera.FrameHeaderSize());
        EXPECT_EQ(40u, h->biSize);
        EXPECT_EQ(298, h->biWidth);
        EXPECT_EQ(200, h->biHeight);  // positive: bottom-up
        EXPECT_EQ(24, h->biBitCount);
        EXPECT_EQ((DWORD)BI_RGB, h->biCompression);
        EXPECT_EQ(0u, h->biClrUsed);
        const DWORD stride = 896;
        ASSERT_EQ(stride * 200, g_camera.FrameImageSize());
        ASSERT_EQ(stride * 200, h->biSizeImage);

        const BYTE* bits = g_camera.FrameBits();
        int wrong = 0;
        for (int y = 0; y < 200; ++y) {
            const BYTE* row = bits + (size_t)(199 - y) * stride;  // the last row comes first
            for (int x = 0; x < 298; ++x) {
                const COLORREF want = StripeAt(x, y, 201);
                const BYTE* p = row + x * 3;
                if (p[0] != GetBValue(want) || p[1] != GetGValue(want) || p[2] != GetRValue(want))
                    ++wrong;
            }
            EXPECT_EQ(0, row[894] | row[895]) << "padding of row " << y;
        }
        EXPECT_EQ(0, wrong) << "pixels that differ from the window";
    }
}

TEST_F(Capture, EmptyRectanglesMakeNoFrame)
{
    const RECT empties[] = {{10, 10, 11, 11}, {10, 10, 10, 50}, {50, 50, 10, 10}};
    for (const RECT& rc : empties) {
        EXPECT_FALSE(g_camera.CaptureFrame(rc, true));
        EXPECT_FALSE(g_camera.CaptureTestFrame(rc));
    }
    const RECT ok = {0, 0, 64, 64};
    EXPECT_TRUE(g_camera.CaptureFrame(ok, true));
    EXPECT_EQ(64, g_camera.Frame().Width());
}

// A window followed from 400x300 down to 200x150 keeps 400x300 frames: the
// smaller rectangle is stretched over them, and the overlays sit in the
// frame written, not in a 200x150 corner of it.
TEST_F(Capture, ResizedCaptureStretchesAndKeepsOverlaysInTheFrameWritten)
{
    const RECT big = {100, 100, 500, 400};
    std::unique_ptr<TestWindow> white(SolidWindow(big, RGB(255, 255, 255)));
    const RECT smallRc = {300, 250, 500, 400};
    TestWindow grey(smallRc, [](HDC dc, const RECT& rc) {
        HBRUSH b = CreateSolidBrush(RGB(128, 128, 128));
        FillRect(dc, &rc, b);
        DeleteObject(b);
    });

    const std::string dir = TempDir("resize");
    const std::string png = dir + "\\mark.png";
    // Blue, with the magenta key in the bottom-left corner.
    ASSERT_TRUE(WriteImage(png, L"image/png", 40, 30, [](int x, int y) {
        return x == 0 && y == 29 ? 0xFFFF00FFu : 0xFF0000FFu;
    }));
    g_watermarkSettings.imagePath = png;
    g_watermarkSettings.position = 8;
    g_bWatermarkEnabled = 1;
    g_cursorSettings = CCamCursor();
    g_cursorSettings.m_bHighlight = 1;  // green disc, 64 px
    g_captionSettings.enabled = 0;
    g_camera.CopyOverlaySettings();
    ASSERT_TRUE(g_camera.m_strWatermarkPath == png);

    ASSERT_TRUE(g_camera.CaptureFrame(big, true));
    SetCursorPos(400, 325);  // the small rectangle's centre
    Pump();
    ASSERT_TRUE(g_camera.CaptureFrame(smallRc, false));
    const FrameImage& f = g_camera.Frame();
    ASSERT_EQ(400, f.Width());
    ASSERT_EQ(300, f.Height());
    EXPECT_EQ(0, g_camera.m_rcFrame.left);
    EXPECT_EQ(400, g_camera.m_rcFrame.right);
    EXPECT_EQ(300, g_camera.m_rcFrame.bottom);

    // Stretched grey everywhere but the overlays.
    EXPECT_EQ(0x808080u, f.PixelAt(10, 10));
    EXPECT_EQ(0x808080u, f.PixelAt(350, 20));
    // The watermark in the bottom-right corner of the frame written.
    EXPECT_EQ(0x0000FFu, f.PixelAt(362, 272));
    EXPECT_EQ(0x0000FFu, f.PixelAt(399, 299));
    EXPECT_EQ(0x808080u, f.PixelAt(360, 299)) << "the key colour was painted";
    EXPECT_EQ(0x808080u, f.PixelAt(359, 268));
    EXPECT_EQ(0x808080u, f.PixelAt(165, 122)) << "watermark placed against the small capture";
    // The highlight around the frame's centre, where the cursor is.
    const DWORD disc = f.PixelAt(200 - 20, 150);
    EXPECT_GT(Green(disc), Red(disc) + 60) << std::hex << disc;
    EXPECT_EQ(0x808080u, f.PixelAt(200 - 40, 150));
    EXPECT_EQ(0x808080u, f.PixelAt(100 - 20, 75));

    g_bWatermarkEnabled = 0;
    g_watermarkSettings = WatermarkSettings();
    g_cursorSettings = CCamCursor();
}

TEST_F(Capture, ZoomMagnifiesAroundTheCentreForOneSecond)
{
    const RECT rc = {0, 0, 600, 300};
    TestWindow window(rc, PaintStripes);
    g_ptZoomCenter = POINT{300, 150};
    g_dwZoomTick = GetTickCount();
    ASSERT_TRUE(g_camera.CaptureFrame(rc, true));  // the request is seen after this grab
    EXPECT_EQ(2.0, g_dZoomFactor);
    ASSERT_TRUE(g_camera.CaptureFrame(rc, false));
    EXPECT_EQ(150, g_camera.m_rcGrab.left);
    EXPECT_EQ(450, g_camera.m_rcGrab.right);
    EXPECT_EQ(75, g_camera.m_rcGrab.top);
    const FrameImage& f = g_camera.Frame();
    ASSERT_EQ(600, f.Width());
    // Band edges every 50 screen pixels become every 100 frame pixels:
    // screen x 150..199 (band 3, top half) fills frame x 0..99.
    for (int x : {5, 50, 95}) EXPECT_EQ(Rgb(StripeAt(150 + x / 2, 10, 300)), f.PixelAt(x, 40)) << x;
    for (int x : {105, 150, 195})
        EXPECT_EQ(Rgb(StripeAt(200 + x / 2 - 50, 10, 300)), f.PixelAt(x, 40)) << x;
    // The bottom half of the frame shows screen rows 150..224: dark bands.
    EXPECT_EQ(Rgb(StripeAt(150, 200, 300)), f.PixelAt(5, 200));

    g_dwZoomTick = GetTickCount() - 1001;
    ASSERT_TRUE(g_camera.CaptureFrame(rc, false));  // still grabbed at 2x
    EXPECT_EQ(1.0, g_dZoomFactor);
    EXPECT_EQ(0u, g_dwZoomTick);
    EXPECT_EQ(0, g_ptZoomCenter.x);
    EXPECT_EQ(0, g_ptZoomCenter.y);
    ASSERT_TRUE(g_camera.CaptureFrame(rc, false));
    EXPECT_EQ(0, g_camera.m_rcGrab.left);
    EXPECT_EQ(600, g_camera.m_rcGrab.right);
    EXPECT_EQ(Rgb(StripeAt(5, 40, 300)), f.PixelAt(5, 40));
}

TEST_F(Capture, CursorWithItsHighlightAtTheCursor)
{
    const RECT rc = {200, 100, 600, 400};
    std::unique_ptr<TestWindow> window(SolidWindow(rc, RGB(255, 255, 255)));
    const POINT at = window->Centre();
    SetCursorPos(at.x, at.y);
    // The system shows no shape until the foreground window sets one.
    SetForegroundWindow(window->Hwnd());
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    Pump(100);
    g_camera.m_cursor.m_bDrawCursor = 1;
    g_camera.m_cursor.m_bHighlight = 1;
    g_camera.m_cursor.m_nHighlightSize = 48;
    g_camera.m_cursor.m_crHighlight = 0xA0FF0000;
    ASSERT_TRUE(g_camera.CaptureFrame(rc, true));
    const FrameImage& f = g_camera.Frame();
    const int cx = at.x - rc.left, cy = at.y - rc.top;
    // Red at 0xA0 over white: 255, 95, 95.
    for (POINT d : {POINT{-20, 0}, POINT{0, -20}, POINT{-14, -14}, POINT{-12, 10}}) {
        const DWORD p = f.PixelAt(cx + d.x, cy + d.y);
        EXPECT_NEAR(255, Red(p), 2) << d.x << "," << d.y;
        EXPECT_NEAR(95, Green(p), 3) << d.x << "," << d.y;
    }
    EXPECT_EQ(0xFFFFFFu, f.PixelAt(cx - 26, cy));
    EXPECT_EQ(0xFFFFFFu, f.PixelAt(cx, cy - 26));

    CURSORINFO ci = {sizeof ci};
    ASSERT_TRUE(GetCursorInfo(&ci));
    ASSERT_TRUE(ci.hCursor) << "the arrow cursor should be current";
    {
        // The arrow's dark outline lies just below and right of its tip.
        const RECT arrow = FindPixels(f, [](DWORD p) { return Red(p) < 64 && Green(p) < 64; });
        EXPECT_FALSE(IsRectEmpty(&arrow)) << "no cursor drawn";
        EXPECT_GE(arrow.left, cx - 2);
        EXPECT_GE(arrow.top, cy - 2);
        EXPECT_LE(arrow.left, cx + 4);
    }

    g_camera.m_cursor.m_bDrawCursor = 0;  // off: neither disc nor arrow
    ASSERT_TRUE(g_camera.CaptureFrame(rc, true));
    EXPECT_EQ(0xFFFFFFu, g_camera.Frame().PixelAt(cx - 20, cy));
    EXPECT_EQ(0xFFFFFFu, g_camera.Frame().PixelAt(cx + 1, cy + 3));
}

TEST_F(Capture, FrameLoopAllocatesNothing)
{
    const RECT rc = {0, 0, 640, 360};
    TestWindow window(rc, PaintStripes);
    const std::string png = TempDir("alloc") + "\\mark.png";
    ASSERT_TRUE(WriteImage(png, L"image/png", 64, 32,
                           [](int x, int) { return x < 4 ? 0xFFFF00FFu : 0xC0123456u; }));
    g_camera.m_bWatermarkEnabled = 1;
    g_camera.m_watermark.imagePath = png;
    ASSERT_TRUE(g_camera.LoadWatermarkImage());
    g_camera.m_bCaptionEnabled = TRUE;
    g_camera.m_caption.text = "Orbisk 录屏";
    g_camera.m_cursor.m_bDrawCursor = 1;
    g_camera.m_cursor.m_bHighlight = 1;
    g_camera.m_cursor.m_bClickEffects = 1;
    SetCursorPos(320, 180);
    ASSERT_TRUE(g_camera.CaptureFrame(rc, true));

    long allocations = 0;
    for (int frame = 0; frame < 20; ++frame) {
        {
            // Three live rings each frame, as a user clicking fast.
            ClickQueueLock lock;
            ClickEventQueue& q = ClickQueue::getQueue();
            q.clear();
            const DWORD now = GetTickCount();
            q.push_back(MouseEventRecord{{300, 160}, 0, WM_LBUTTONDOWN, now - 100, 0});
            q.push_back(MouseEventRecord{{340, 200}, 0, WM_RBUTTONUP, now - 300, 0});
            q.push_back(MouseEventRecord{{320, 180}, 0xFF880000, WM_MOUSEWHEEL, now - 500, 0});
        }
        g_allocations = 0;
        g_countAllocations = true;
        const bool ok = g_camera.CaptureFrame(rc, false);
        g_countAllocations = false;
        ASSERT_TRUE(ok);
        allocations += g_allocations;
    }
    EXPECT_EQ(0, allocations);
    ClickQueueLock lock;
    ClickQueue::getQueue().clear();
}

}  // namespace
