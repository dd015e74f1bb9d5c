// Drawing over the screen: how long a mouse move on a 1920x1080 canvas
// takes to show its new segment on the screen, with 0 and 500 shapes on the
// board, on the transparent (layered) and the opaque canvas; the cost of a
// screen grab that takes in layered windows; and the frame rate a recording
// keeps at 25 and 60 frames per second while a stroke is drawn on an open
// canvas. Run by scripts/bench.sh on a 1920x1080 screen.
//   graffiti_bench [seconds]   (recording length, 20 by default)
#include "BenchClock.h"
#include "../tests/recorder/recording/RecordingTestKit.h"
#include "TestKit.h"
#include "drawing/DrawingBoard.h"
#include "drawing/windows/DrawingModule.h"
#include "drawing/windows/RealtimeGraffiti.h"
#include "kit/WindowTable.h"
#include "platform/hook/CamHook.h"
#include "recorder/GrabLayered.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordingState.h"

#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

void PumpOnce()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void PumpFor(DWORD ms)
{
    const double end = NowMs() + ms;
    while (NowMs() < end) {
        PumpOnce();
        Sleep(1);
    }
}

unsigned g_seed = 777;
int Rand(int n)
{
    g_seed = g_seed * 1103515245u + 12345u;
    return (int)((g_seed >> 8) % (unsigned)n);
}

// 500 strokes of 100 points each, kept away from the measured row.
void FillBoard(int count)
{
    g_drawingBoard.ClearBoard();
    g_drawingBoard.SetTool(kToolPen);
    for (int i = 0; i < count; ++i) {
        POINT p = {100 + Rand(1700), 300 + Rand(700)};
        g_drawingBoard.BeginShape(p, 3, RGB(Rand(256), 40, 200));
        for (int k = 0; k < 100; ++k) {
            p.x = std::max(0L, std::min(1919L, p.x + Rand(9) - 4));
            p.y = std::max(300L, std::min(1079L, p.y + Rand(9) - 4));
            g_drawingBoard.TrackShape(p);
        }
        g_drawingBoard.FinishShape();
    }
}

bool IsPen(COLORREF c)
{
    return abs(GetRValue(c) - 0) < 10 && abs(GetGValue(c) - 189) < 10 && abs(GetBValue(c) - 239) < 10;
}

struct Latency {
    double meanMs = 0, worstMs = 0;
    int missed = 0;
};

// A stroke along y = 150 in 60 steps of 25 pixels: each mouse move, then
// the time until the middle of the new segment shows the pen's colour on
// the screen.
Latency MeasureStroke(HWND canvas)
{
    HDC screen = GetDC(nullptr);
    Latency l;
    std::vector<double> times;
    const int y = 150;
    g_drawingBoard.SetTool(kToolPen);
    g_drawingBoard.SetWidth(kToolPen, 4);
    SendMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, y));
    PumpFor(200);
    for (int i = 1; i <= 60; ++i) {
        const int x = 40 + i * 25;
        const double t0 = NowMs();
        SendMessageA(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        bool shown = false;
        while (NowMs() - t0 < 500) {
            PumpOnce();
            if (IsPen(GetPixel(screen, x - 12, y))) {
                shown = true;
                break;
            }
        }
        if (shown)
            times.push_back(NowMs() - t0);
        else
            ++l.missed;
    }
    SendMessageA(canvas, WM_LBUTTONUP, 0, MAKELPARAM(40 + 60 * 25, y));
    PumpFor(100);
    ReleaseDC(nullptr, screen);
    for (double t : times) {
        l.meanMs += t;
        l.worstMs = std::max(l.worstMs, t);
    }
    if (!times.empty()) l.meanMs /= times.size();
    return l;
}

RealtimeGraffitiCanvasWnd* OpenCanvas(bool layered)
{
    WindowRequest request;
    request.flag = layered ? 1 : 0;
    request.area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    auto* canvas = static_cast<RealtimeGraffitiCanvasWnd*>(
        GetWindowTable().Open(WindowId::RealtimeGraffiti, request));
    PumpFor(500);
    return canvas;
}

void CloseCanvas()
{
    CloseRealtimeGraffiti();
    PumpFor(300);
}

void ReportLatencies()
{
    for (bool layered : {true, false}) {
        for (int shapes : {0, 500}) {
            RealtimeGraffitiCanvasWnd* canvas = OpenCanvas(layered);
            if (!canvas) {
                printf("the canvas did not open\n");
                return;
            }
            FillBoard(shapes);
            canvas->Render();
            PumpFor(300);
            Latency l = MeasureStroke(canvas->GetHWND());
            printf("%s canvas 1920x1080, %d shapes: mouse move to segment on screen %.1f ms mean, "
                   "%.1f ms worst, %d of 60 not seen within 500 ms\n",
                   layered ? "transparent (layered)" : "opaque", shapes, l.meanMs, l.worstMs,
                   l.missed);
            fflush(stdout);
            CloseCanvas();
        }
    }
}

void ReportGrabCost()
{
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    for (DWORD rop : {(DWORD)SRCCOPY, (DWORD)(SRCCOPY | CAPTUREBLT)}) {
        BitBlt(mem, 0, 0, w, h, screen, 0, 0, rop);
        const int n = 40;
        double t0 = NowMs();
        for (int i = 0; i < n; ++i) {
            BitBlt(mem, 0, 0, w, h, screen, 0, 0, rop);
            GdiFlush();
        }
        printf("grab of %dx%d %s: %.2f ms a frame\n", w, h,
               rop == SRCCOPY ? "without layered windows" : "with layered windows (CAPTUREBLT)",
               (NowMs() - t0) / n);
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    fflush(stdout);
}

// Frames written per second, from the packets of the saved file.
double WrittenRate(const std::string& file, double seconds, long* longestGap)
{
    testkit::LinuxResult r = testkit::RunLinux(
        "ffprobe -v error -select_streams v:0 -show_entries packet=dts,size -of csv=p=0 " +
            testkit::ShellQuote(testkit::UnixPath(file)),
        300000);
    std::istringstream lines(r.out);
    std::string line;
    long written = 0, last = -1;
    *longestGap = 1;
    while (std::getline(lines, line)) {
        long pts = atol(line.c_str());
        size_t comma = line.find(',');
        long size = comma == std::string::npos ? 0 : atol(line.c_str() + comma + 1);
        if (size <= 0) continue;
        ++written;
        if (last >= 0 && pts - last > *longestGap) *longestGap = pts - last;
        last = pts;
    }
    return written / seconds;
}

void RecordWhileDrawing(unsigned rate, bool layered, DWORD seconds)
{
    rectest::Recorder rec(rate);
    StartRecording(false);
    rec.Pump(500);
    RealtimeGraffitiCanvasWnd* canvas = OpenCanvas(layered);
    if (!canvas) {
        printf("the canvas did not open\n");
        StopRecording();
        rec.WaitIdle(600000);
        return;
    }
    HWND h = canvas->GetHWND();
    // A stroke that goes back and forth over the screen the whole time, one
    // mouse move every 16 ms.
    const double end = NowMs() + seconds * 1000.0;
    int i = 0;
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 500));
    while (NowMs() < end) {
        ++i;
        int x = 100 + (i * 7) % 1700, y = 500 + (int)(300 * ((i / 60) % 2 ? 1 : -1) * ((i % 60) / 60.0));
        SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        if (i % 120 == 0) {
            // A stroke of 120 points, then the next one.
            SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
            SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        }
        rec.Pump(16);
    }
    SendMessageA(h, WM_LBUTTONUP, 0, 0);
    const size_t shapes = g_drawingBoard.ShapeCount();
    const DWORD recordedMs = g_recordStats.elapsedMs;
    CloseCanvas();
    StopRecording();
    rec.WaitIdle(600000);
    std::vector<std::string> files = rec.SavedFiles();
    if (files.empty()) {
        printf("%u fps: nothing saved\n", rate);
        return;
    }
    long gap = 0;
    double written = WrittenRate(files[0], recordedMs / 1000.0, &gap);
    printf("%u fps with the %s canvas open and a stroke drawn (%u strokes, %d mouse moves), "
           "%.1f s: %.2f frames/s written, longest gap %ld interval(s)\n",
           rate, layered ? "transparent" : "opaque", (unsigned)shapes, i, recordedMs / 1000.0,
           written, gap);
    fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    DWORD seconds = argc > 1 ? (DWORD)atoi(argv[1]) : 20;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
    DrawingModule().registerWindows(GetWindowTable());

    ReportGrabCost();
    ReportLatencies();
    InstallMyHook(nullptr, 0);
    {
        rectest::MovingScreen screen;
        for (unsigned rate : {25u, 60u})
            for (bool layered : {true, false}) RecordWhileDrawing(rate, layered, seconds);
    }
    UninstallMyHook(nullptr);
    return 0;
}
