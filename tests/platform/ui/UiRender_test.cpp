// Image strings, nine-grid geometry and golden pixels of the renderer on
// 32-bit DIBs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "UiTestUtil.h"

using namespace DuiLib;
using uitest::Surface;

namespace {

const DWORD kBlue = 0xFF0000FF;
const DWORD kRed = 0xFFFF0000;
const DWORD kGreen = 0xFF00FF00;

// A DIB section filled by pixel(x, y) (premultiplied ARGB).
template <class F>
HBITMAP MakeBitmap(int cx, int cy, F pixel)
{
    TImageInfo* img = CreateImage(cx, cy);
    auto* p = reinterpret_cast<DWORD*>(img->pBits);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) p[y * cx + x] = pixel(x, y);
    HBITMAP bmp = img->hBitmap;
    img->hBitmap = nullptr;  // handed over, not freed here
    FreeImage(img);
    return bmp;
}

bool Near(DWORD a, DWORD b, int tolerance = 2)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

std::string Hex(DWORD v)
{
    char buf[16];
    snprintf(buf, sizeof buf, "%08lX", (unsigned long)v);
    return buf;
}

#define EXPECT_PIXEL(expected, surface, x, y)                                         \
    EXPECT_TRUE(Near(expected, (surface).At(x, y)))                                   \
        << "at (" << (x) << "," << (y) << "): " << Hex((surface).At(x, y)) << " not " \
        << Hex(expected)

}  // namespace

TEST(ImageString, ParsesEveryFormTheWindowsUse)
{
    TDrawInfo d;
    EXPECT_TRUE(d.Parse("mainui_back5.png"));
    EXPECT_STREQ("mainui_back5.png", d.sImageName);
    EXPECT_TRUE(d.Parse("C:\\My Pictures\\skin one.png"));  // a path with spaces
    EXPECT_STREQ("C:\\My Pictures\\skin one.png", d.sImageName);

    EXPECT_TRUE(
        d.Parse("file='bk.png' source='0,0,60,60' dest='0,0,180,35' corner='0,0,0,0' "
                "xtiled='false' ytiled='true' fade='128' mask='#FFFF00FF'"));
    EXPECT_STREQ("bk.png", d.sImageName);
    EXPECT_EQ(60, d.rcSource.right);
    EXPECT_EQ(180, d.rcDest.right);
    EXPECT_FALSE(d.bTiledX);
    EXPECT_TRUE(d.bTiledY);
    EXPECT_EQ(128, d.uFade);
    EXPECT_EQ(0xFFFF00FFu, d.dwMask);

    EXPECT_TRUE(d.Parse("file='desktopimagemask' scale9='10,20,30,40' hole='true'"));
    EXPECT_EQ(10, d.rcCorner.left);
    EXPECT_EQ(40, d.rcCorner.bottom);
    EXPECT_TRUE(d.bHole);

    // A modifier string overrides single attributes.
    EXPECT_TRUE(d.Parse("file='menu_bk.png' corner='40,8,8,8' hole='false'", "hole='true'"));
    EXPECT_STREQ("menu_bk.png", d.sImageName);
    EXPECT_TRUE(d.bHole);

    EXPECT_FALSE(d.Parse("file='x.png' source='1,2'"));  // malformed value
    EXPECT_STREQ("x.png", d.sImageName);
    EXPECT_FALSE(d.Parse("file='unterminated"));
}

TEST(NineGrid, CellsKeepCornersAndLeaveTheHole)
{
    RECT dest = {0, 0, 100, 50}, src = {0, 0, 30, 30}, corner = {10, 10, 10, 10};
    auto cells = LayoutImageCells(dest, src, corner, true, false, false);
    ASSERT_EQ(8u, cells.size());
    for (auto& c : cells) {
        bool centre = c.rcDest.left == 10 && c.rcDest.top == 10;
        EXPECT_FALSE(centre);
    }
    // Corners unscaled.
    EXPECT_EQ(10, cells[0].rcDest.right);
    EXPECT_EQ(10, cells[0].rcDest.bottom);
    EXPECT_EQ(90, cells.back().rcDest.left);
    EXPECT_EQ(20, cells.back().rcSource.left);

    // Zero margins with a hole: nothing at all is drawn.
    EXPECT_TRUE(LayoutImageCells(dest, src, {0, 0, 0, 0}, true, false, false).empty());
    // Margins wider than the target shrink in proportion.
    auto narrow = LayoutImageCells({0, 0, 15, 50}, src, {10, 0, 10, 0}, false, false, false);
    ASSERT_EQ(2u, narrow.size());  // no room left for a middle
    EXPECT_EQ(8, narrow[0].rcDest.right - narrow[0].rcDest.left);
    EXPECT_EQ(8, narrow[1].rcDest.left);
    EXPECT_EQ(15, narrow[1].rcDest.right);
}

TEST(ImageSource, ClampedToThePictureWithTheDestinationInProportion)
{
    struct {
        RECT src, dst;
        bool ok;
        RECT wantSrc, wantDst;
    } cases[] = {
        {{0, 0, 10, 10}, {0, 0, 20, 20}, true, {0, 0, 10, 10}, {0, 0, 20, 20}},
        {{5, 0, 15, 10}, {0, 0, 20, 20}, true, {5, 0, 10, 10}, {0, 0, 10, 20}},
        {{-5, -5, 5, 5}, {0, 0, 20, 20}, true, {0, 0, 5, 5}, {10, 10, 20, 20}},
        {{12, 0, 20, 10}, {0, 0, 20, 20}, false, {}, {}},
    };
    for (auto& c : cases) {
        RECT s = c.src, d = c.dst;
        EXPECT_EQ(c.ok, ClampSourceToImage(10, 10, &s, &d));
        if (!c.ok) continue;
        EXPECT_TRUE(EqualRect(&s, &c.wantSrc)) << s.left << "," << s.right;
        EXPECT_TRUE(EqualRect(&d, &c.wantDst)) << d.left << "," << d.top << "," << d.right;
    }
}

class Golden : public ::testing::Test {
protected:
    CPaintManagerUI pm;  // no window: only registered pictures and fonts
    void Register(const char* name, int cx, int cy, DWORD (*pixel)(int, int), bool alpha)
    {
        pm.AddImage(name, MakeBitmap(cx, cy, pixel), cx, cy, alpha);
    }
    void Draw(Surface& s, const RECT& item, const char* image)
    {
        RECT all = {0, 0, s.width(), s.height()};
        ASSERT_TRUE(CRenderEngine::DrawImageString(s.dc(), &pm, item, all, image)) << image;
    }
};

TEST_F(Golden, NineGridWithAHoleLeavesTheCentreUntouched)
{
    for (bool alpha : {true, false}) {
        Register(
            "red", 12, 12, [](int, int) -> DWORD { return kRed; }, alpha);
        Surface s(40, 40, kBlue);
        Draw(s, {0, 0, 40, 40}, "file='red' corner='3,3,3,3' hole='true'");
        EXPECT_PIXEL(kBlue, s, 20, 20);
        EXPECT_PIXEL(kBlue, s, 3, 3);
        EXPECT_PIXEL(kBlue, s, 36, 36);
        EXPECT_PIXEL(kRed, s, 0, 0);
        EXPECT_PIXEL(kRed, s, 2, 20);
        EXPECT_PIXEL(kRed, s, 20, 39);
        EXPECT_PIXEL(kRed, s, 39, 39);

        // With all margins zero the hole is everything.
        Surface t(20, 20, kBlue);
        Draw(t, {0, 0, 20, 20}, "file='red' scale9='0,0,0,0' hole='true'");
        EXPECT_PIXEL(kBlue, t, 0, 0);
        EXPECT_PIXEL(kBlue, t, 10, 10);
    }
}

TEST_F(Golden, TilesRepeatAtThePicturesOwnSize)
{
    // Left half red, right half green, 4 x 4.
    Register(
        "stripes", 4, 4, [](int x, int) -> DWORD { return x < 2 ? kRed : kGreen; }, false);
    Surface s(18, 8, kBlue);
    Draw(s, {0, 0, 18, 8}, "file='stripes' xtiled='true' ytiled='true'");
    for (int x = 0; x < 18; ++x) {
        DWORD want = (x % 4) < 2 ? kRed : kGreen;
        EXPECT_PIXEL(want, s, x, 0);
        EXPECT_PIXEL(want, s, x, 7);
    }
    // Without tiling the same picture stretches: 18 / 2 = 9 red columns.
    Surface t(18, 4, kBlue);
    Draw(t, {0, 0, 18, 4}, "stripes");
    EXPECT_PIXEL(kRed, t, 8, 1);
    EXPECT_PIXEL(kGreen, t, 9, 1);

    // The skin background form: a tile, dest and source zero, inside an
    // item that does not start at the origin.
    Surface u(20, 10, kBlue);
    Draw(u, {5, 2, 20, 10},
         "file='stripes' source='0,0,0,0' dest='0,0,0,0' corner='0,0,0,0' xtiled='true' "
         "ytiled='true'");
    EXPECT_PIXEL(kBlue, u, 4, 5);
    EXPECT_PIXEL(kRed, u, 5, 5);
    EXPECT_PIXEL(kGreen, u, 7, 5);
    EXPECT_PIXEL(kRed, u, 9, 2);
}

TEST_F(Golden, ASourcePastThePictureIsClipped)
{
    Register(
        "ten", 10, 10, [](int, int) -> DWORD { return kRed; }, true);
    Surface s(20, 20, kBlue);
    // The magnifier near the screen edge asks for pixels beyond the picture.
    Draw(s, {0, 0, 20, 20}, "file='ten' source='5,0,15,10' dest='0,0,20,20'");
    EXPECT_PIXEL(kRed, s, 5, 5);
    EXPECT_PIXEL(kRed, s, 9, 19);
    EXPECT_PIXEL(kBlue, s, 10, 5);
    EXPECT_PIXEL(kBlue, s, 19, 19);
    // Entirely outside: nothing drawn, and no error.
    Surface t(20, 20, kBlue);
    Draw(t, {0, 0, 20, 20}, "file='ten' source='30,30,40,40'");
    EXPECT_PIXEL(kBlue, t, 10, 10);
}

TEST_F(Golden, ColoursBlendWithCorrectAlpha)
{
    Surface empty(8, 8, 0);
    CRenderEngine::DrawColor(empty.dc(), {0, 0, 8, 8}, 0x4F000000);
    EXPECT_EQ(0x4F000000u, empty.At(3, 3));  // the dim mask's pixel

    Surface white(8, 8, 0xFFFFFFFF);
    CRenderEngine::DrawColor(white.dc(), {0, 0, 4, 8}, 0x80FF0000);
    EXPECT_PIXEL(0xFFFF7F7F, white, 1, 1);
    EXPECT_PIXEL(0xFFFFFFFF, white, 5, 1);

    CRenderEngine::DrawColor(white.dc(), {0, 0, 8, 8}, 0x00123456);  // alpha 0: nothing
    EXPECT_PIXEL(0xFFFFFFFF, white, 5, 1);

    Surface grad(4, 256, 0);
    CRenderEngine::DrawGradient(grad.dc(), {0, 0, 4, 256}, 0xFF212121, 0xFF000000, true);
    EXPECT_PIXEL(0xFF212121, grad, 2, 0);
    EXPECT_PIXEL(0xFF000000, grad, 2, 255);
    EXPECT_PIXEL(0xFF111111, grad, 2, 128);
}

TEST_F(Golden, BordersAndBackgroundColoursWithoutAlphaAreOpaque)
{
    Surface s(20, 20, 0xFFFFFFFF);
    CRenderEngine::DrawRect(s.dc(), {0, 0, 20, 20}, 2, 0x737373);  // no alpha byte
    EXPECT_PIXEL(0xFF737373, s, 0, 10);
    EXPECT_PIXEL(0xFF737373, s, 18, 19);
    EXPECT_PIXEL(0xFFFFFFFF, s, 2, 2);

    CControlUI c;
    c.SetAttribute("bkcolor", "#FF0000");  // written without alpha
    c.SetPos({0, 0, 10, 10}, false);
    Surface t(10, 10, kBlue);
    c.DoPaint(t.dc(), {0, 0, 10, 10});
    EXPECT_PIXEL(kRed, t, 5, 5);
}

TEST_F(Golden, ChineseTextIsDrawnThroughTheWideFunctions)
{
    pm.AddFont(0, "微软雅黑", 16, false, false, false);
    CLabelUI label;
    label.SetManager(&pm, nullptr, false);
    label.SetText("中文界面");
    label.SetFont(0);
    label.SetTextColor(0xFF000000);
    label.SetPos({0, 0, 100, 30}, false);
    Surface s(100, 30, 0xFFFFFFFF);
    label.DoPaint(s.dc(), {0, 0, 100, 30});
    int inked = 0, inkedRight = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            if ((s.At(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                ++inked;
                if (x > 40) ++inkedRight;
            }
    // Four glyphs of about 16 pixels, not "????" nor nothing.
    EXPECT_GT(inked, 60);
    EXPECT_GT(inkedRight, 10);
    SIZE wide = CRenderEngine::GetTextSize(s.dc(), &pm, "中文", 0, 0);
    SIZE narrow = CRenderEngine::GetTextSize(s.dc(), &pm, "ab", 0, 0);
    EXPECT_GT(wide.cx, narrow.cx);
}
