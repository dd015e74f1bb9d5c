// Cost of redrawing the drawing board: a 1920x1080 board holding 500 shapes
// (pen and highlighter strokes of 200 points, rectangle edges, arrows,
// badges, texts) drawn whole into a memory bitmap, as a canvas's render
// does on every change: with the finished shapes from the board's layer
// (while the user draws) and with every shape drawn again (after an undo,
// redo or erase); the cost of one more point of a stroke being drawn, alone
// and with its redraw (one mouse move).
//   drawing_bench [redraws]
#include "BenchClock.h"
#include "drawing/DrawingBoard.h"

#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const int kWidth = 1920, kHeight = 1080;

unsigned g_seed = 12345;
int Rand(int n)
{
    g_seed = g_seed * 1103515245u + 12345u;
    return (int)((g_seed >> 8) % (unsigned)n);
}

POINT RandomPoint(int margin)
{
    return {margin + Rand(kWidth - 2 * margin), margin + Rand(kHeight - 2 * margin)};
}

void Gesture(int tool, const std::vector<POINT>& path)
{
    g_drawingBoard.SetTool(tool);
    g_drawingBoard.BeginShape(path.front(), g_drawingBoard.GetCurrentWidth(),
                              g_drawingBoard.GetCurrentColour());
    for (size_t i = 1; i < path.size(); ++i) g_drawingBoard.TrackShape(path[i]);
    g_drawingBoard.FinishShape();
}

// A wandering hand-drawn stroke of 200 points.
std::vector<POINT> Scribble()
{
    std::vector<POINT> path;
    POINT p = RandomPoint(200);
    double angle = Rand(628) / 100.0;
    for (int i = 0; i < 200; ++i) {
        angle += (Rand(41) - 20) / 100.0;
        p.x = std::min(kWidth - 1L, std::max(0L, p.x + (LONG)(4 * std::cos(angle))));
        p.y = std::min(kHeight - 1L, std::max(0L, p.y + (LONG)(4 * std::sin(angle))));
        path.push_back(p);
    }
    return path;
}

// 220 pen and 40 highlighter strokes, 25 rectangles (100 edges), 50 arrows,
// 20 number and 20 letter badges, 50 texts: 500 shapes.
void FillBoard()
{
    g_drawingBoard.ClearBoard();
    for (int i = 0; i < 220; ++i) Gesture(kToolPen, Scribble());
    for (int i = 0; i < 40; ++i) Gesture(kToolHighlighter, Scribble());
    for (int i = 0; i < 25; ++i) {
        POINT a = RandomPoint(100);
        Gesture(kToolRectangle, {a, {a.x + 40 + Rand(200), a.y + 30 + Rand(150)}});
    }
    for (int i = 0; i < 50; ++i) Gesture(kToolArrow, {RandomPoint(50), RandomPoint(50)});
    for (int i = 0; i < 20; ++i) Gesture(kToolNumber, {RandomPoint(20)});
    for (int i = 0; i < 20; ++i) Gesture(kToolLetter, {RandomPoint(20)});
    g_drawingBoard.SetTool(kToolText);
    for (int i = 0; i < 50; ++i) {
        POINT p = RandomPoint(100);
        g_drawingBoard.AddTextShape(i % 2 ? "会议要点 Meeting notes" : "这里需要修改", p.x, p.y);
    }
}

struct Redraw {
    double meanMs = 0;
    double worstMs = 0;
};

// Each redraw draws the whole board into the surface; fromScratch makes the
// board draw every shape again (as after an undo), otherwise the finished
// shapes come from its layer (as while the user draws).
Redraw Measure(Gdiplus::Graphics& g, int redraws, bool fromScratch)
{
    g_drawingBoard.DrawAllShapes(g);
    Redraw r;
    double total = 0;
    for (int i = 0; i < redraws; ++i) {
        if (fromScratch) {
            g_drawingBoard.Undo();
            g_drawingBoard.Redo();
        }
        double t0 = NowMs();
        g_drawingBoard.DrawAllShapes(g);
        double ms = NowMs() - t0;
        total += ms;
        r.worstMs = std::max(r.worstMs, ms);
    }
    r.meanMs = total / redraws;
    return r;
}

void Report(const char* surface, Gdiplus::Graphics& g, int redraws)
{
    Redraw cached = Measure(g, redraws, false);
    Redraw scratch = Measure(g, std::max(1, redraws / 3), true);
    std::printf("%s: full redraw %.2f ms mean, %.2f ms worst; every shape drawn again "
                "%.1f ms mean\n",
                surface, cached.meanMs, cached.worstMs, scratch.meanMs);
}

// A pen stroke being drawn over the full board: one mouse move is one more
// point and one redraw.
void MeasureStroke(Gdiplus::Graphics& g)
{
    g_drawingBoard.SetTool(kToolPen);
    g_drawingBoard.BeginShape({400, 400}, 3, 0);
    g_drawingBoard.DrawAllShapes(g);
    const int moves = 60;
    double total = 0, worst = 0;
    for (int i = 1; i <= moves; ++i) {
        double t0 = NowMs();
        g_drawingBoard.TrackShape({400 + i * 5, 400 + (i % 10) * 3});
        g_drawingBoard.DrawAllShapes(g);
        double ms = NowMs() - t0;
        total += ms;
        worst = std::max(worst, ms);
    }
    g_drawingBoard.FinishShape();
    g_drawingBoard.Undo();
    std::printf("a stroke being drawn, per mouse move (point + redraw): %.2f ms mean, %.2f ms "
                "worst\n",
                total / moves, worst);
}

}  // namespace

int main(int argc, char** argv)
{
    const int redraws = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        std::printf("GDI+ did not start\n");
        return 1;
    }
    double t0 = NowMs();
    FillBoard();
    std::printf("board of %u shapes built in %.1f ms\n", (unsigned)g_drawingBoard.ShapeCount(),
                NowMs() - t0);

    {
        // A GDI+ bitmap (premultiplied 32-bit).
        Gdiplus::Bitmap surface(kWidth, kHeight, PixelFormat32bppPARGB);
        Gdiplus::Graphics g(&surface);
        Report("GDI+ bitmap 1920x1080", g, redraws);
        MeasureStroke(g);
    }
    {
        // A 32-bit DIB section in a memory DC, as the canvases draw.
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = kWidth;
        bmi.bmiHeader.biHeight = -kHeight;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP dib = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, dib);
        {
            Gdiplus::Graphics g(dc);
            Report("32-bit DIB section in a memory DC", g, redraws);
        }
        SelectObject(dc, old);
        DeleteObject(dib);
        DeleteDC(dc);
    }

    // One stroke being drawn: the board's work for each mouse move.
    const int points = 100000;
    g_drawingBoard.SetTool(kToolPen);
    g_drawingBoard.BeginShape({100, 100}, 3, 0);
    t0 = NowMs();
    for (int i = 0; i < points; ++i) g_drawingBoard.TrackShape({100 + i % 1000, 100 + i / 1000});
    const double trackUs = (NowMs() - t0) * 1000.0 / points;
    g_drawingBoard.FinishShape();
    std::printf("adding one stroke point: %.3f us\n", trackUs);

    g_drawingBoard.ClearBoard();
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
