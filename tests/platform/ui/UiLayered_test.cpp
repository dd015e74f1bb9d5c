// Per-pixel layered windows: the surface handed to UpdateLayeredWindow
// (Xvfb blends nothing, so the surface is what is checked), switching at
// run time, opacity, text alpha, and program images replaced while shown.
#include <gtest/gtest.h>

#include <memory>

#include "UiTestUtil.h"

using namespace DuiLib;
using uitest::PumpFor;
using uitest::PumpUntil;

namespace {

const DWORD kFrame = 0xFFE65A1E;  // flash_frame.png's border, opaque

class Layered : public ::testing::Test {
protected:
    void SetUp() override { CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr)); }
    void TearDown() override
    {
        for (auto& w : windows_)
            if (IsWindow(w->GetHWND())) DestroyWindow(w->GetHWND());
        PumpFor(20);
    }
    uitest::RecordingWindow* Open(const char* file, DWORD exStyle = WS_EX_TOOLWINDOW)
    {
        windows_.emplace_back(uitest::OpenRecordingWindow(file, 200, 150, exStyle));
        return windows_.back().get();
    }
    static DWORD At(const TImageInfo* s, int x, int y)
    {
        GdiFlush();
        return reinterpret_cast<const DWORD*>(s->pBits)[y * s->nX + x];
    }
    // Waits for a render after something changed.
    static const TImageInfo* Rendered(CPaintManagerUI& pm, const std::function<bool()>& done)
    {
        PumpUntil([&] { return pm.GetLayeredSurface() && done(); }, 3000);
        return pm.GetLayeredSurface();
    }
    std::vector<std::unique_ptr<uitest::RecordingWindow>> windows_;
};

bool InRect(int x, int y, const RECT& rc)
{
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

}  // namespace

TEST_F(Layered, AFlashFrameHasAnOpaqueFrameAroundAHoleOnItsSurface)
{
    uitest::LogCapture log;
    uitest::RecordingWindow* w = Open("flash_frame.xml");
    ASSERT_TRUE(w);
    HWND h = w->GetHWND();
    EXPECT_TRUE(w->pm().IsLayered());
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_LAYERED);
    const TImageInfo* s = Rendered(w->pm(), [] { return true; });
    ASSERT_NE(nullptr, s);
    ASSERT_EQ(160, s->nX);
    ASSERT_EQ(120, s->nY);

    const RECT label = w->Find("hole_label")->GetPos();
    const RECT veil = w->Find("veil")->GetPos();
    int framePixels = 0, holePixels = 0, textPixels = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            DWORD px = At(s, x, y);
            if (std::min(std::min(x, y), std::min(159 - x, 119 - y)) < 8) {
                ASSERT_EQ(kFrame, px) << x << "," << y;
                ++framePixels;
            } else if (InRect(x, y, veil)) {
                ASSERT_EQ(0x80000000u, px) << x << "," << y;  // black at half alpha
            } else if (InRect(x, y, label)) {
                // White text blended from its coverage: premultiplied grey.
                DWORD a = px >> 24;
                ASSERT_TRUE(((px >> 16) & 0xFF) == a && ((px >> 8) & 0xFF) == a && (px & 0xFF) == a)
                    << std::hex << px;
                if (a > 200) ++textPixels;
            } else {
                ASSERT_EQ(0u, px) << x << "," << y;  // the hole: nothing at all
                ++holePixels;
            }
        }
    }
    EXPECT_EQ(160 * 120 - 144 * 104, framePixels);
    EXPECT_GT(holePixels, 8000);
    EXPECT_GT(textPixels, 30);  // GDI alone would have left alpha 0
    EXPECT_FALSE(log.Contains("UpdateLayeredWindow failed"));
    // The surface is what reached the screen (where, without blending,
    // the frame shows as drawn).
    RECT rcw;
    GetWindowRect(h, &rcw);
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PumpFor(50);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(RGB(230, 90, 30), GetPixel(screen, rcw.left + 3, rcw.top + 60));
    ReleaseDC(nullptr, screen);

    // A change to a control renders the surface again.
    w->Find("veil")->SetBkColor(0xFF00FF00);
    s = Rendered(w->pm(), [&] { return At(w->pm().GetLayeredSurface(), 30, 95) == 0xFF00FF00; });
    EXPECT_EQ(0xFF00FF00u, At(s, 30, 95));
}

TEST_F(Layered, WindowsSwitchToAndFromLayeredAtRunTime)
{
    uitest::LogCapture log;
    uitest::RecordingWindow* w = Open("test_window.xml", 0);
    ASSERT_TRUE(w);
    HWND h = w->GetHWND();
    CPaintManagerUI& pm = w->pm();
    EXPECT_FALSE(pm.IsLayered());
    EXPECT_EQ(nullptr, pm.GetLayeredSurface());

    // Whole-window opacity first (as the input box has), then per pixel:
    // the window takes UpdateLayeredWindow all the same.
    pm.SetOpacity(125);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(h, nullptr, &alpha, &flags));
    EXPECT_EQ(125, alpha);
    pm.SetLayered(true);
    const TImageInfo* s = Rendered(pm, [] { return true; });
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(420, s->nX);
    EXPECT_EQ(0xFFu, At(s, 200, 150) >> 24);  // the body is opaque
    EXPECT_FALSE(log.Contains("UpdateLayeredWindow failed"));
    pm.SetOpacity(200);  // carried by the next update
    PumpFor(50);
    EXPECT_FALSE(log.Contains("UpdateLayeredWindow failed"));

    // Back to ordinary painting: the surface goes and WM_PAINT draws again,
    // with the opacity as it was set.
    pm.SetLayered(false);
    EXPECT_EQ(nullptr, pm.GetLayeredSurface());
    ASSERT_TRUE(GetLayeredWindowAttributes(h, nullptr, &alpha, &flags));
    EXPECT_EQ(200, alpha);
    CControlUI* status = w->Find("status");
    status->SetBkColor(0xFF00FF00);
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(PumpUntil([&] { return !GetUpdateRect(h, nullptr, FALSE); }));
    POINT at = {status->GetPos().right - 5, (status->GetPos().top + status->GetPos().bottom) / 2};
    ClientToScreen(h, &at);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(RGB(0, 255, 0), c) << std::hex << c;

    // And layered again, more than once.
    for (int i = 0; i < 3; ++i) {
        pm.SetLayered(true);
        s = Rendered(pm, [] { return true; });
        ASSERT_NE(nullptr, s);
        EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_LAYERED);
        pm.SetLayered(false);
        EXPECT_EQ(nullptr, pm.GetLayeredSurface());
    }
    EXPECT_FALSE(log.Contains("UpdateLayeredWindow failed"));
}

namespace {

// A premultiplied 4x4 DIB of one colour.
HBITMAP SolidBitmap(DWORD argb)
{
    TImageInfo* image = CreateImage(4, 4);
    for (int i = 0; i < 16; ++i) reinterpret_cast<DWORD*>(image->pBits)[i] = argb;
    HBITMAP bmp = image->hBitmap;
    image->hBitmap = nullptr;  // the bitmap goes to the manager
    FreeImage(image);
    return bmp;
}

}  // namespace

TEST_F(Layered, RegisteredImagesAreReplacedWhileTheWindowShows)
{
    uitest::RecordingWindow* w = Open("flash_frame.xml");
    ASSERT_TRUE(w);
    CPaintManagerUI& pm = w->pm();
    CControlUI* veil = w->Find("veil");
    veil->SetBkColor(0);
    veil->SetBkImage("file='desktopimage'");
    HBITMAP red = SolidBitmap(0xFFFF0000);
    ASSERT_NE(nullptr, pm.AddImage("desktopimage", red, 4, 4, true));
    const TImageInfo* s =
        Rendered(pm, [&] { return At(pm.GetLayeredSurface(), 50, 95) == 0xFFFF0000; });
    EXPECT_EQ(0xFFFF0000u, At(s, 50, 95));

    // Another bitmap under the same name: shown next, the old one freed.
    HBITMAP blue = SolidBitmap(0xFF0000FF);
    pm.AddImage("desktopimage", blue, 4, 4, true);
    s = Rendered(pm, [&] { return At(pm.GetLayeredSurface(), 50, 95) == 0xFF0000FF; });
    EXPECT_EQ(0xFF0000FFu, At(s, 50, 95));
    BITMAP bm;
    EXPECT_EQ(0, GetObjectA(red, sizeof bm, &bm));

    // The same bitmap drawn over and registered again stays alive.
    ASSERT_NE(0, GetObjectA(blue, sizeof bm, &bm));
    GdiFlush();
    for (int i = 0; i < 16; ++i) static_cast<DWORD*>(bm.bmBits)[i] = 0xFF00FF00;
    pm.AddImage("desktopimage", blue, 4, 4, true);
    s = Rendered(pm, [&] { return At(pm.GetLayeredSurface(), 50, 95) == 0xFF00FF00; });
    EXPECT_EQ(0xFF00FF00u, At(s, 50, 95));
    EXPECT_NE(0, GetObjectA(blue, sizeof bm, &bm));

    // Removed: nothing drawn there any more.
    EXPECT_TRUE(pm.RemoveImage("desktopimage"));
    veil->Invalidate();
    s = Rendered(pm, [&] { return At(pm.GetLayeredSurface(), 50, 95) == 0; });
    EXPECT_EQ(0u, At(s, 50, 95));
}
