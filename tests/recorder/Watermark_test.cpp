// The watermark picture: its key colour, the nine cells, and pictures that
// cannot be used.
#include <gtest/gtest.h>

#include "RecorderTestKit.h"
#include "TestKit.h"
#include "recorder/Camera.h"
#include "recorder/FrameGeometry.h"

#include <memory>

using namespace rtk;

namespace {

const RECT kArea = {40, 40, 440, 340};  // 400 x 300
const int kW = 41, kH = 31;

// Magenta (the key, bottom-left) around a blue block, with one green pixel
// in the top-left corner: keying on the wrong corner would show.
uint32_t MarkPixel(int x, int y)
{
    if (x == 0 && y == 0) return 0xFF00FF00;
    if (x >= 10 && x < 30 && y >= 8 && y < 22) return 0xFF0000FF;
    return 0xFFFF00FF;
}

class Watermark : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartGdiplus();
        ResetCamera(g_camera);
        SetCursorPos(5, 5);
        window_.reset(SolidWindow(kArea, RGB(255, 255, 255)));
        dir_ = TempDir("watermark");
    }
    void TearDown() override { ResetCamera(g_camera); }

    bool Load(const std::string& path, DWORD cell = 8)
    {
        g_camera.m_bWatermarkEnabled = 1;
        g_camera.m_watermark.imagePath = path;
        g_camera.m_watermark.position = cell;
        return g_camera.LoadWatermarkImage();
    }

    std::unique_ptr<TestWindow> window_;
    std::string dir_;
};

TEST_F(Watermark, KeyColourStaysUnpaintedInEveryCell)
{
    struct Format {
        const char* name;
        const wchar_t* mime;
    } formats[] = {{"mark.png", L"image/png"}, {"MARK.BMP", L"image/bmp"}};
    for (const Format& format : formats) {
        const std::string path = dir_ + "\\" + format.name;
        ASSERT_TRUE(WriteImage(path, format.mime, kW, kH, MarkPixel));
        for (DWORD cell = 0; cell < 9; ++cell) {
            SCOPED_TRACE(std::string(format.name) + " cell " + std::to_string(cell));
            ASSERT_TRUE(Load(path, cell));
            EXPECT_EQ(path, g_camera.m_strWatermarkPath);
            ASSERT_TRUE(g_camera.CaptureFrame(kArea, true));
            const FrameImage& f = g_camera.Frame();
            const RECT magenta = FindPixels(f, [](DWORD p) { return p == 0xFF00FF; });
            EXPECT_TRUE(IsRectEmpty(&magenta))
                << "magenta painted at " << magenta.left << "," << magenta.top;
            const POINT at = WatermarkOrigin(cell, SIZE{400, 300}, SIZE{kW, kH});
            const RECT blue = FindPixels(f, [](DWORD p) { return p == 0x0000FF; });
            EXPECT_EQ(at.x + 10, blue.left);
            EXPECT_EQ(at.y + 8, blue.top);
            EXPECT_EQ(at.x + 30, blue.right);
            EXPECT_EQ(at.y + 22, blue.bottom);
            EXPECT_EQ(0x00FF00u, f.PixelAt(at.x, at.y));
            EXPECT_EQ(0xFFFFFFu, f.PixelAt(at.x, at.y + kH - 1));
        }
    }
}

TEST_F(Watermark, PictureWithATransparentCornerKeepsItsOwnAlpha)
{
    // A logo on a transparent background: its black must not be keyed out.
    const std::string path = dir_ + "\\logo.png";
    ASSERT_TRUE(WriteImage(path, L"image/png", 40, 20, [](int x, int) -> uint32_t {
        if (x < 10) return 0x00000000;  // transparent
        if (x < 20) return 0xFF000000;  // opaque black
        if (x < 30) return 0x80FF0000;  // half red
        return 0x00FFFFFF;
    }));
    ASSERT_TRUE(Load(path, 0));
    ASSERT_TRUE(g_camera.CaptureFrame(kArea, true));
    const FrameImage& f = g_camera.Frame();
    EXPECT_EQ(0xFFFFFFu, f.PixelAt(5, 10));
    EXPECT_EQ(0x000000u, f.PixelAt(15, 10));
    const DWORD half = f.PixelAt(25, 10);
    EXPECT_EQ(255, Red(half));
    EXPECT_NEAR(127, Green(half), 2);
    EXPECT_EQ(0xFFFFFFu, f.PixelAt(35, 10));
}

TEST_F(Watermark, UnusablePicturesRecordWithoutIt)
{
    const std::string png = dir_ + "\\good.png";
    ASSERT_TRUE(WriteImage(png, L"image/png", kW, kH, MarkPixel));
    const std::string corrupt = dir_ + "\\corrupt.png";
    testkit::WriteFile(corrupt, "\x89PNG\r\n\x1a\n this is not a picture at all");
    const std::string truncated = dir_ + "\\truncated.png";
    testkit::WriteFile(truncated, testkit::ReadFile(png).substr(0, 60));
    const std::string unknown = dir_ + "\\good.xyz";
    testkit::WriteFile(unknown, testkit::ReadFile(png));
    const std::string noDot = dir_ + "\\good";
    testkit::WriteFile(noDot, testkit::ReadFile(png));
    CreateDirectoryA((dir_ + "\\folder.png").c_str(), nullptr);
    const std::string cases[] = {
        dir_ + "\\missing.png", corrupt, truncated, unknown, noDot, dir_ + "\\folder.png", "",
        dir_ + ".dir\\noext",
    };
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(Load(path));
        EXPECT_TRUE(g_camera.m_strWatermarkPath.empty());
        EXPECT_TRUE(g_camera.m_watermarkImage.Empty());
        ASSERT_TRUE(g_camera.CaptureFrame(kArea, true));
        const RECT painted = FindPixels(g_camera.Frame(), [](DWORD p) { return p != 0xFFFFFF; });
        EXPECT_TRUE(IsRectEmpty(&painted));
    }
    // The good picture after the bad ones.
    EXPECT_TRUE(Load(png));
    ASSERT_TRUE(g_camera.CaptureFrame(kArea, true));
    const RECT blue = FindPixels(g_camera.Frame(), [](DWORD p) { return p == 0x0000FF; });
    EXPECT_FALSE(IsRectEmpty(&blue));
}

}  // namespace
