// The shapes drawn by GDI+ into a transparent 32-bit bitmap, pixels read
// back: where strokes, arrows, badges and text land and what they leave out.
#include "drawing/DrawingBoard.h"
#include "drawing/ShapeGeometry.h"

#include "TestKit.h"

#include <gtest/gtest.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cmath>
#include <functional>
#include <memory>

using namespace Gdiplus;

namespace {

class Canvas {
public:
    Canvas(int w, int h) : bitmap_(w, h, PixelFormat32bppARGB)
    {
        Graphics g(&bitmap_);
        g.Clear(Color(0, 0, 0, 0));
    }
    void Draw(CShapeObj& shape)
    {
        Graphics g(&bitmap_);
        shape.Draw(g);
        EXPECT_EQ(Ok, g.GetLastStatus()) << shape.GetClassName();
    }
    ARGB At(int x, int y)
    {
        Color c;
        bitmap_.GetPixel(x, y, &c);
        return c.GetValue();
    }
    // The smallest rectangle holding every pixel that passes; empty if none.
    RECT Extent(const std::function<bool(ARGB)>& pass)
    {
        RECT rc = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
        for (int y = 0; y < (int)bitmap_.GetHeight(); ++y)
            for (int x = 0; x < (int)bitmap_.GetWidth(); ++x)
                if (pass(At(x, y))) {
                    rc = {std::min(rc.left, (LONG)x), std::min(rc.top, (LONG)y),
                          std::max(rc.right, (LONG)x + 1), std::max(rc.bottom, (LONG)y + 1)};
                }
        return rc.left == LONG_MAX ? RECT{0, 0, 0, 0} : rc;
    }
    bool Blank()
    {
        RECT ink = Extent([](ARGB c) { return (c >> 24) != 0; });
        return IsRectEmpty(&ink) != 0;
    }

private:
    Bitmap bitmap_;
};

ARGB Opaque(COLORREF c)
{
    return Color::MakeARGB(0xFF, GetRValue(c), GetGValue(c), GetBValue(c));
}

bool White(ARGB c)
{
    return (c >> 24) > 0x7D && ((c >> 16) & 0xFF) > 0xE0 && ((c >> 8) & 0xFF) > 0xE0 &&
           (c & 0xFF) > 0xE0;
}

class ShapeDrawTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gdiplus_.reset(new testkit::GdiplusScope); }
    static void TearDownTestSuite() { gdiplus_.reset(); }
    void SetUp() override
    {
        ASSERT_TRUE(gdiplus_->ok());
        ResetBadgeCounters();
    }
    static std::unique_ptr<testkit::GdiplusScope> gdiplus_;
};
std::unique_ptr<testkit::GdiplusScope> ShapeDrawTest::gdiplus_;

TEST_F(ShapeDrawTest, APenStrokeInThePensDefaultColourLiesOnItsPath)
{
    const COLORREF colour = g_drawingBoard.GetColour(kToolPen);
    CPenObj pen({20, 50}, g_drawingBoard.GetWidth(kToolPen), colour);
    for (int x = 40; x <= 180; x += 20) pen.AddPoint({x, 50});
    Canvas canvas(200, 100);
    canvas.Draw(pen);
    for (int x = 25; x <= 175; x += 25) EXPECT_EQ(Opaque(colour), canvas.At(x, 50)) << x;
    RECT ink = canvas.Extent([](ARGB c) { return (c >> 24) != 0; });
    EXPECT_GE(ink.top, 47);
    EXPECT_LE(ink.bottom, 54);

    // One point is no stroke.
    CPenObj dot({100, 50}, 5, colour);
    Canvas empty(200, 100);
    empty.Draw(dot);
    EXPECT_TRUE(empty.Blank());
}

TEST_F(ShapeDrawTest, ALongStrokeDrawsItsFirst8191PointsOnly)
{
    // Along y = 20 for 8191 points, then straight down.
    CPenObj pen({10, 20}, 3, RGB(0, 0, 255));
    for (int i = 1; i < 8191; ++i) pen.AddPoint({10 + i / 82, 20});
    for (int i = 0; i < 1809; ++i) pen.AddPoint({110, 21 + i / 10});
    Canvas canvas(140, 220);
    canvas.Draw(pen);
    EXPECT_EQ(Opaque(RGB(0, 0, 255)), canvas.At(60, 20));
    EXPECT_EQ(0u, canvas.At(110, 120) >> 24);
}

TEST_F(ShapeDrawTest, AnArrowFillsItsHeadTriangle)
{
    const COLORREF colour = g_drawingBoard.GetColour(kToolArrow);
    CArrowObj arrow(20, 100, 180, 60, 2, colour);
    Canvas canvas(200, 160);
    canvas.Draw(arrow);
    const ArrowHead head = ArrowHeadPoints({20, 100}, {180, 60}, kArrowHeadWidth, kArrowHeadAngle);
    const POINT inside = {(180 + head.wing1.x + head.wing2.x) / 3,
                          (60 + head.wing1.y + head.wing2.y) / 3};
    EXPECT_EQ(Opaque(colour), canvas.At(inside.x, inside.y));
    // The head is wider than the 3-pixel shaft: 5 pixels beside the axis,
    // just past the base, is still the head.
    const double len = std::hypot(160.0, 40.0), ux = 160 / len, uy = -40 / len;
    EXPECT_EQ(Opaque(colour), canvas.At((int)(head.base.x + 3 * ux - 5 * uy),
                                        (int)(head.base.y + 3 * uy + 5 * ux)));
    EXPECT_EQ(0u, canvas.At(100 + 5, 80 + 7) >> 24) << "beside the shaft";

    CArrowObj still(50, 50, 50, 50, 2, colour);
    Canvas empty(100, 100);
    empty.Draw(still);
    EXPECT_TRUE(empty.Blank());
}

TEST_F(ShapeDrawTest, ABadgeIsATranslucentCircleWithItsNumberUpToTwoDigits)
{
    const COLORREF colour = g_drawingBoard.GetColour(kToolNumber);
    g_nBadgeNumber = 9;
    CNumObj ten({30, 30}, 2, colour);
    g_nBadgeNumber = 99;
    CNumObj hundred({90, 30}, 2, colour);
    Canvas canvas(120, 60);
    canvas.Draw(ten);
    canvas.Draw(hundred);
    // Left of the text, inside the circle.
    EXPECT_EQ(Color::MakeARGB(0x7D, GetRValue(colour), GetGValue(colour), GetBValue(colour)),
              canvas.At(30 - 10, 30));
    EXPECT_EQ(0u, canvas.At(30 - 13, 30) >> 24) << "outside the circle";

    RECT text10 = canvas.Extent([](ARGB c) { return White(c); });
    EXPECT_FALSE(IsRectEmpty(&text10)) << "badge 10 shows its number";
    EXPECT_GE(text10.left, 30 - 9);
    EXPECT_LE(text10.right, 30 + 11) << "and badge 100 shows none";
}

TEST_F(ShapeDrawTest, TypedTextIsHitWhereverItWasDrawnAndNowhereElse)
{
    CInputTextObj text(10, 10, "Wide text, 宽字 WWWWWWWW", RGB(0, 0, 0));
    EXPECT_FALSE(text.HitTest(12, 15)) << "nothing hits before the first drawing";
    Canvas canvas(400, 60);
    canvas.Draw(text);
    RECT ink = canvas.Extent([](ARGB c) { return (c >> 24) != 0; });
    ASSERT_GT(ink.right - ink.left, 100);
    const RECT& b = text.Bounds();
    EXPECT_TRUE(text.HitTest(ink.left, ink.top));
    EXPECT_TRUE(text.HitTest(ink.right - 1, ink.bottom - 1));
    // The measure holds the text with little room to spare.
    EXPECT_LE(b.right, ink.right + 8);
    EXPECT_LE(b.bottom, ink.bottom + 8);
    EXPECT_FALSE(text.HitTest(b.right + 1, ink.top));
}

// The board keeps its finished shapes drawn between redraws: each redraw
// must still show exactly what the board holds.
TEST_F(ShapeDrawTest, TheBoardsRedrawShowsWhatItHoldsAfterEachChange)
{
    g_drawingBoard.ClearBoard();
    const ARGB pen = Opaque(g_drawingBoard.GetColour(kToolPen));
    auto stroke = [](int y, int toX) {
        g_drawingBoard.SetTool(kToolPen);
        g_drawingBoard.BeginShape({20, y}, 3, g_drawingBoard.GetColour(kToolPen));
        g_drawingBoard.TrackShape({toX, y});
    };
    // What a redraw into a fresh surface shows at a place.
    auto shown = [&](int x, int y) {
        Bitmap surface(200, 120, PixelFormat32bppARGB);
        Graphics g(&surface);
        g.Clear(Color(0, 0, 0, 0));
        g_drawingBoard.DrawAllShapes(g);
        Color c;
        surface.GetPixel(x, y, &c);
        return c.GetValue();
    };

    stroke(30, 100);
    EXPECT_EQ(pen, shown(60, 30)) << "the stroke being drawn";
    EXPECT_EQ(0u, shown(160, 30) >> 24);
    g_drawingBoard.TrackShape({180, 30});
    EXPECT_EQ(pen, shown(160, 30)) << "its newest point";
    g_drawingBoard.FinishShape();
    EXPECT_EQ(pen, shown(100, 30));
    stroke(60, 180);
    g_drawingBoard.FinishShape();
    EXPECT_EQ(pen, shown(100, 60));
    EXPECT_EQ(pen, shown(100, 30));

    g_drawingBoard.Undo();
    EXPECT_EQ(0u, shown(100, 60) >> 24) << "undone";
    EXPECT_EQ(pen, shown(100, 30));
    g_drawingBoard.SetTool(kToolEraser);
    g_drawingBoard.BeginShape({80, 20}, 0, 0);
    g_drawingBoard.TrackShape({120, 40});
    g_drawingBoard.FinishShape();
    EXPECT_EQ(0u, shown(100, 30) >> 24) << "erased";
    EXPECT_EQ(pen, shown(50, 30));
    g_drawingBoard.ClearBoard();
    EXPECT_EQ(0u, shown(50, 30) >> 24) << "cleared";
}

}  // namespace
