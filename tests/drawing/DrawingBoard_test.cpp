// The drawing board as the canvases drive it: gestures per tool, erasing,
// undo and redo with the badge counters, typed text, the tools that have
// no width or colour; and the geometry under the erase.
#include "drawing/DrawingBoard.h"
#include "drawing/ShapeGeometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ShapeSeen {
    std::string cls;
    std::vector<POINT> points;
    std::string text;
};

std::vector<ShapeSeen> Shapes()
{
    std::vector<ShapeSeen> out;
    g_drawingBoard.ForEachShape([&](const CShapeObj& s) {
        ShapeSeen seen{s.GetClassName(), {s.Points().begin(), s.Points().end()}, ""};
        if (auto* n = dynamic_cast<const CNumObj*>(&s)) seen.text = n->Text();
        if (auto* l = dynamic_cast<const CLetterObj*>(&s)) seen.text = l->Text();
        if (auto* t = dynamic_cast<const CInputTextObj*>(&s)) seen.text = t->GetText();
        out.push_back(seen);
    });
    return out;
}

void Drag(int tool, std::vector<POINT> path)
{
    g_drawingBoard.SetTool(tool);
    g_drawingBoard.BeginShape(path.front(), g_drawingBoard.GetCurrentWidth(),
                              g_drawingBoard.GetCurrentColour());
    for (size_t i = 1; i < path.size(); ++i) g_drawingBoard.TrackShape(path[i]);
    g_drawingBoard.FinishShape();
}

// A stroke along y from x0 to x1 (either way), a point every 10 pixels.
void Stroke(int x0, int x1, int y)
{
    std::vector<POINT> path;
    for (int x = x0; x0 < x1 ? x <= x1 : x >= x1; x += x0 < x1 ? 10 : -10) path.push_back({x, y});
    Drag(kToolPen, path);
}

// The texts of the shapes that show (an erased shape waits for the next
// eraser pass to be deleted).
std::string Texts()
{
    std::string out;
    for (const ShapeSeen& s : Shapes())
        if (!s.points.empty()) out += (out.empty() ? "" : ",") + s.text;
    return out;
}

bool Same(const POINT& a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

class BoardTest : public ::testing::Test {
protected:
    void SetUp() override { g_drawingBoard.ClearBoard(); }
    void TearDown() override { g_drawingBoard.ClearBoard(); }
};

TEST_F(BoardTest, ARectangleDragLeavesFourLinesThatOneUndoTakesBack)
{
    // Dragged past its start and back: the start stays a corner.
    Drag(kToolRectangle, {{50, 40}, {10, 10}, {90, 70}});
    auto shapes = Shapes();
    ASSERT_EQ(4u, shapes.size());
    const POINT corners[] = {{50, 40}, {90, 40}, {90, 70}, {50, 70}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ("CSpecialLineObj", shapes[i].cls);
        ASSERT_EQ(2u, shapes[i].points.size());
        EXPECT_TRUE(Same(shapes[i].points[0], corners[i]) &&
                    Same(shapes[i].points[1], corners[(i + 1) % 4]))
            << "edge " << i;
    }
    g_drawingBoard.Undo();
    EXPECT_EQ(0u, g_drawingBoard.ShapeCount());
    g_drawingBoard.Redo();
    EXPECT_EQ(4u, g_drawingBoard.ShapeCount());
}

TEST_F(BoardTest, BadgeNumbersFollowUndoAndRedo)
{
    for (int i = 0; i < 3; ++i) Drag(kToolNumber, {{20 + 30 * i, 20}});
    EXPECT_EQ("1,2,3", Texts());
    g_drawingBoard.Undo();
    Drag(kToolNumber, {{200, 20}});
    EXPECT_EQ("1,2,3", Texts()) << "the undone number is handed out again";

    g_drawingBoard.Undo();
    g_drawingBoard.Redo();
    Drag(kToolNumber, {{230, 20}});
    EXPECT_EQ("1,2,3,4", Texts()) << "a redone badge keeps its number taken";

    while (g_drawingBoard.UndoDepth() > 0) g_drawingBoard.Undo();
    Drag(kToolNumber, {{20, 20}});
    Drag(kToolLetter, {{50, 20}});
    EXPECT_EQ("1,A", Texts()) << "back to an empty board, numbering starts over";
}

TEST_F(BoardTest, ErasingTheNewestBadgeGivesItsNumberBackAnOlderOneDoesNot)
{
    for (int i = 0; i < 3; ++i) Drag(kToolNumber, {{20 + 30 * i, 20}});
    Drag(kToolEraser, {{70, 10}, {90, 30}});  // badge 3 at (80, 20)
    Drag(kToolNumber, {{150, 20}});
    Drag(kToolEraser, {{10, 10}, {30, 30}});  // badge 1
    Drag(kToolNumber, {{180, 20}});
    EXPECT_EQ("2,3,4", Texts());
}

TEST_F(BoardTest, ANewStrokeClearsTheRedoStackAnEraserDragDoesNot)
{
    Stroke(10, 100, 20);
    Stroke(10, 100, 60);
    g_drawingBoard.Undo();
    ASSERT_EQ(1u, g_drawingBoard.RedoDepth());
    Drag(kToolEraser, {{300, 300}, {310, 310}});
    EXPECT_EQ(1u, g_drawingBoard.RedoDepth());
    // Clicks with no tool and with the text tool draw nothing and keep it.
    Drag(kToolNone, {{20, 20}, {40, 40}});
    Drag(kToolText, {{20, 20}});
    EXPECT_EQ(1u, g_drawingBoard.RedoDepth());
    Stroke(10, 100, 90);
    EXPECT_EQ(0u, g_drawingBoard.RedoDepth());
}

TEST_F(BoardTest, AnEraseAcrossAStrokesMiddleLeavesTwoStrokesEndingOnItsEdges)
{
    Stroke(0, 200, 50);    // rightwards: it enters through the left edge
    Stroke(200, 0, 150);   // leftwards: through the right edge
    Drag(kToolEraser, {{75, 30}, {125, 170}});
    auto shapes = Shapes();
    ASSERT_EQ(4u, shapes.size());
    // What stays in each stroke starts where the stroke left the eraser;
    // the piece cut off ends where it went in.
    EXPECT_TRUE(Same(shapes[0].points.front(), {125, 50}));
    EXPECT_TRUE(Same(shapes[0].points.back(), {200, 50}));
    EXPECT_TRUE(Same(shapes[1].points.front(), {75, 150}));
    EXPECT_TRUE(Same(shapes[1].points.back(), {0, 150}));
    EXPECT_TRUE(Same(shapes[2].points.front(), {0, 50}));
    EXPECT_TRUE(Same(shapes[2].points.back(), {75, 50}));
    EXPECT_TRUE(Same(shapes[3].points.front(), {200, 150}));
    EXPECT_TRUE(Same(shapes[3].points.back(), {125, 150}));
    for (const ShapeSeen& s : shapes)
        for (const POINT& p : s.points) EXPECT_TRUE(p.x <= 75 || p.x >= 125) << p.x;

    // An eraser that misses the strokes leaves them as they were (the line
    // from the screen's corner to the first point of one crosses it).
    Drag(kToolEraser, {{30, 60}, {50, 100}});
    auto after = Shapes();
    ASSERT_EQ(shapes.size(), after.size());
    for (size_t i = 0; i < shapes.size(); ++i)
        EXPECT_EQ(shapes[i].points.size(), after[i].points.size()) << i;
}

TEST_F(BoardTest, ErasingALineOfTheRectangleShortensItFromTheEdge)
{
    Drag(kToolRectangle, {{10, 10}, {110, 60}});
    // Across the middle of the top edge, and over the bottom-right corner.
    Drag(kToolEraser, {{40, 0}, {80, 20}});
    Drag(kToolEraser, {{100, 50}, {130, 80}});
    auto shapes = Shapes();
    ASSERT_EQ(5u, shapes.size());
    EXPECT_TRUE(Same(shapes[0].points[0], {110, 10}) && Same(shapes[0].points[1], {80, 10}));
    EXPECT_TRUE(Same(shapes[1].points[0], {110, 10}) && Same(shapes[1].points[1], {110, 50}));
    EXPECT_TRUE(Same(shapes[2].points[0], {10, 60}) && Same(shapes[2].points[1], {100, 60}));
    EXPECT_TRUE(Same(shapes[4].points[0], {10, 10}) && Same(shapes[4].points[1], {40, 10}));
}

TEST_F(BoardTest, TypedTextSurvivesUndoAndRedo)
{
    g_drawingBoard.SetTool(kToolText);
    g_drawingBoard.AddTextShape("你好", 30, 40);
    Stroke(10, 100, 80);
    g_drawingBoard.Undo();
    auto shapes = Shapes();
    ASSERT_EQ(1u, shapes.size());
    EXPECT_EQ("CInputTextObj", shapes[0].cls);
    EXPECT_EQ("你好", shapes[0].text);
    g_drawingBoard.Undo();
    EXPECT_EQ(0u, g_drawingBoard.ShapeCount()) << "adding the text was a step of its own";
    g_drawingBoard.Redo();
    g_drawingBoard.Redo();
    EXPECT_EQ("你好,", Texts());
}

TEST_F(BoardTest, EveryKindOfShapeComesBackFromRedoAsItWas)
{
    Stroke(10, 60, 10);
    Drag(kToolHighlighter, {{10, 30}, {60, 30}});
    Drag(kToolArrow, {{10, 50}, {60, 90}});
    Drag(kToolRectangle, {{100, 10}, {150, 40}});
    Drag(kToolLetter, {{200, 20}});
    g_drawingBoard.SetTool(kToolText);
    g_drawingBoard.AddTextShape("abc", 5, 5);
    auto before = Shapes();
    for (int i = 0; i < 6; ++i) g_drawingBoard.Undo();
    EXPECT_EQ(0u, g_drawingBoard.ShapeCount());
    for (int i = 0; i < 6; ++i) g_drawingBoard.Redo();
    auto after = Shapes();
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].cls, after[i].cls);
        EXPECT_EQ(before[i].text, after[i].text);
        ASSERT_EQ(before[i].points.size(), after[i].points.size()) << before[i].cls;
        for (size_t k = 0; k < before[i].points.size(); ++k)
            EXPECT_TRUE(Same(before[i].points[k], after[i].points[k]));
    }
}

TEST_F(BoardTest, ToolsWithoutAWidthOrColourLeaveTheBoardIntactWhenOneIsChosen)
{
    const int widths[] = {3, 5, 2, 2, 2, 2};
    for (int tool : {kToolText, kToolEraser, kToolNone}) {
        g_drawingBoard.SetTool(tool);
        EXPECT_FALSE(ApplyLineWidthMenuText("3px")) << tool;
        EXPECT_EQ(tool == kToolText, g_drawingBoard.SetCurrentColour(RGB(1, 2, 3))) << tool;
        EXPECT_EQ(0, g_drawingBoard.GetCurrentWidth());
    }
    g_drawingBoard.SetTool(9);
    EXPECT_EQ(kToolNone, g_drawingBoard.GetTool());
    EXPECT_FALSE(g_drawingBoard.SetWidth(-1, 3));
    EXPECT_FALSE(g_drawingBoard.SetColour(8, 0));
    for (int tool = kToolPen; tool <= kToolLetter; ++tool)
        EXPECT_EQ(widths[tool], g_drawingBoard.GetWidth(tool));
    EXPECT_EQ(RGB(1, 2, 3), g_drawingBoard.GetColour(kToolText));
    EXPECT_EQ(COLORREF(0xFF0000), g_drawingBoard.GetColour(kToolRectangle));
    // The board still draws: its temporary shapes were not overwritten.
    Drag(kToolRectangle, {{10, 10}, {20, 20}});
    Drag(kToolArrow, {{10, 10}, {50, 20}});
    EXPECT_EQ(5u, g_drawingBoard.ShapeCount());
    g_drawingBoard.SetColour(kToolText, 0x3838FB);

    g_drawingBoard.SetTool(kToolHighlighter);
    EXPECT_TRUE(ApplyLineWidthMenuText("4px"));
    EXPECT_FALSE(ApplyLineWidthMenuText("6px"));
    EXPECT_EQ(4, g_drawingBoard.GetWidth(kToolHighlighter));
    g_drawingBoard.SetWidth(kToolHighlighter, 5);
}

// ---- geometry ----

TEST(ShapeGeometry, ACrossingThroughACornerIsNoPointOfThePiece)
{
    const RECT eraser = {100, 100, 200, 200};
    EXPECT_TRUE(Same(SegmentRectCrossing(50, 150, 150, 150, eraser), {100, 150}));
    EXPECT_TRUE(Same(SegmentRectCrossing(150, 50, 150, 150, eraser), {150, 100}));
    EXPECT_TRUE(Same(SegmentRectCrossing(50, 100, 150, 200, eraser), {150, 200}));
    EXPECT_TRUE(IsNoPoint(SegmentRectCrossing(50, 50, 150, 150, eraser)));

    // A stroke that goes into the eraser exactly through its corner.
    const std::list<POINT> stroke = {{40, 40}, {50, 50}, {150, 150}, {160, 160}};
    auto piece = StrokePiecePoints(stroke, {150, 150}, kNoPoint, eraser);
    ASSERT_EQ(2u, piece.size());
    EXPECT_TRUE(Same(piece.back(), {50, 50}));
}

TEST(ShapeGeometry, InterpolationFillsThePointsStrictlyBetween)
{
    CPenObj pen({0, 0}, 1, 0);
    pen.ClearPoints();
    pen.InterpolateLine({0, 0}, {4, 8});
    pen.InterpolateLine({3, 0}, {0, -9});
    pen.InterpolateLine({0, 0}, {1, 5});
    pen.InterpolateHorizontal({5, 1}, {2, 7});
    pen.InterpolateVertical({1, 0}, {1, 3});
    const std::vector<POINT> want = {{1, 2}, {2, 4}, {3, 6}, {2, -3}, {1, -6},
                                     {4, 1}, {3, 1},  {1, 1}, {1, 2}};
    std::vector<POINT> got(pen.Points().begin(), pen.Points().end());
    ASSERT_EQ(want.size(), got.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_TRUE(Same(want[i], got[i])) << i;
}

}  // namespace
