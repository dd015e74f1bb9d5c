// The board read by a render thread while this thread changes it, as the
// graffiti canvas does: strokes, badges, rectangles, text, erasing, undo,
// redo and clearing, ten thousand times, with the render thread drawing
// the board into a memory bitmap the whole time.
#include "drawing/DrawingBoard.h"

#include "TestKit.h"

#include <gtest/gtest.h>
#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

struct Resources {
    int handles = 0;
    int gdiObjects = 0;
    size_t heapBytes = 0;
};

// Counted by asking about every handle value: Wine answers neither
// GetProcessHandleCount nor GetGuiResources. Wine's GDI handles are found
// by their table index alone.
int CountHandles()
{
    int n = 0;
    for (UINT_PTR h = 4; h < 0x10000; h += 4) {
        DWORD flags;
        if (GetHandleInformation((HANDLE)h, &flags)) ++n;
    }
    return n;
}

int CountGdiObjects()
{
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return (int)n;
    int n = 0;
    for (UINT_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType((HGDIOBJ)i)) ++n;
    return n;
}

size_t HeapBytesInUse()
{
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    size_t busy = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY e = {};
        while (HeapWalk(heaps[i], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += e.cbData;
        HeapUnlock(heaps[i]);
    }
    return busy;
}

Resources Now()
{
    return {CountHandles(), CountGdiObjects(), HeapBytesInUse()};
}

// One round of what a user does on a canvas.
void Round(int i)
{
    const int y = 20 + (i * 7) % 400;
    g_drawingBoard.SetTool(kToolPen);
    g_drawingBoard.BeginShape({10, y}, 3, RGB(0, 0, 255));
    for (int x = 20; x < 300; x += 15) g_drawingBoard.TrackShape({x, y + (x % 30)});
    g_drawingBoard.FinishShape();
    g_drawingBoard.SetTool(i % 2 ? kToolNumber : kToolLetter);
    g_drawingBoard.BeginShape({320, y}, 2, RGB(255, 0, 0));
    g_drawingBoard.FinishShape();
    g_drawingBoard.SetTool(kToolRectangle);
    g_drawingBoard.BeginShape({350, y}, 2, 0);
    g_drawingBoard.TrackShape({420, y + 40});
    g_drawingBoard.FinishShape();
    if (i % 5 == 0) g_drawingBoard.AddTextShape("文字 text", 40, y);
    if (i % 3 == 0) {
        g_drawingBoard.SetTool(kToolEraser);
        g_drawingBoard.BeginShape({100, y - 10}, 0, 0);
        g_drawingBoard.TrackShape({200, y + 40});
        g_drawingBoard.FinishShape();
    }
    if (i % 7 == 0) {
        // Ctrl+Z with the button still down: the stroke being drawn goes.
        g_drawingBoard.SetTool(kToolHighlighter);
        g_drawingBoard.BeginShape({30, y}, 5, RGB(0, 255, 0));
        g_drawingBoard.TrackShape({60, y + 5});
        g_drawingBoard.Undo();
        g_drawingBoard.TrackShape({90, y + 10});
        g_drawingBoard.FinishShape();
    }
    if (i % 4 == 0) g_drawingBoard.Undo();
    if (i % 8 == 0) g_drawingBoard.Redo();
    if (i % 50 == 49) g_drawingBoard.ClearBoard();
}

TEST(BoardThreads, ARenderThreadDrawsTheBoardWhileItChangesTwoThousandTimes)
{
    testkit::GdiplusScope gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    g_drawingBoard.ClearBoard();
    // Rounds with the render thread drawing all along; it ends with them,
    // so what it holds while drawing is not counted.
    auto run = [](int first, int rounds) {
        std::atomic<bool> stop{false};
        std::atomic<long> frames{0};
        std::thread render([&] {
            Gdiplus::Bitmap surface(640, 480, PixelFormat32bppPARGB);
            while (!stop) {
                Gdiplus::Graphics g(&surface);
                g.Clear(Gdiplus::Color(0, 0, 0, 0));
                g_drawingBoard.DrawAllShapes(g);
                ++frames;
                // As a window's painting does, it lets the changes in between.
                Sleep(1);
            }
        });
        for (int i = first; i < first + rounds; ++i) Round(i);
        g_drawingBoard.ClearBoard();
        stop = true;
        render.join();
        return (long)frames;
    };

    run(0, 200);  // warm-up: caches, heaps
    const Resources before = Now();
    // A leak of 16 bytes a round would pass the bound below.
    const long drawn = run(0, 2000);
    const Resources after = Now();

    std::printf("handles %d -> %d, GDI objects %d -> %d, heap bytes %u -> %u, %ld frames\n",
                before.handles, after.handles, before.gdiObjects, after.gdiObjects,
                (unsigned)before.heapBytes, (unsigned)after.heapBytes, drawn);
    EXPECT_GT(drawn, 100) << "the render thread kept drawing";
    ASSERT_GT(before.handles, 0);
    ASSERT_GT(before.gdiObjects, 0);
    EXPECT_LE(after.handles, before.handles + 2);
    EXPECT_LE(after.gdiObjects, before.gdiObjects + 2);
    EXPECT_LT(after.heapBytes, before.heapBytes + 32 * 1024);
}

}  // namespace
