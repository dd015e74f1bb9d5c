// Whole recordings of the screen with every overlay on: the frame rate
// actually written, the longest gap between written frames, the recording
// thread's CPU use and the size of the saved file, at 25 and 60 frames per
// second, on a screen that moves whole and on a still desktop with a video
// playing. Run by scripts/bench.sh on a 1920x1080 screen.
//   recording_bench [seconds]   (60 by default)
#include "../tests/recorder/recording/RecordingTestKit.h"
#include "TestKit.h"
#include "platform/hook/CamHook.h"
#include "recorder/CamCursor.h"
#include "recorder/OverlaySettings.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordingState.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace {

// Clicks every 300 ms somewhere new, so three rings are alive at any time.
class Clicker {
public:
    Clicker()
    {
        m_thread = std::thread([this] {
            int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
            for (int i = 0; m_run; ++i) {
                SetCursorPos(200 + (i * 137) % (w - 400), 200 + (i * 71) % (h - 400));
                INPUT in[2] = {};
                in[0].type = in[1].type = INPUT_MOUSE;
                in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
                in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
                SendInput(2, in, sizeof in[0]);
                Sleep(300);
            }
        });
    }
    ~Clicker()
    {
        m_run = false;
        m_thread.join();
    }

private:
    std::atomic<bool> m_run{true};
    std::thread m_thread;
};

// A desktop as people record it: a still picture with a playing video
// (640x360) and a bar sweeping across it, repainted 60 times a second. Only
// what changes is repainted, as real programs do; a full-screen repaint 100
// times a second saturates Xvfb and measures the X server, not the recorder.
class BusyDesktop {
public:
    BusyDesktop()
    {
        m_thread = std::thread([this] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "OrbiskBusyDesktop";
            RegisterClassA(&wc);
            HWND h = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "busy",
                                     WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                     GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, wc.hInstance,
                                     nullptr);
            SetTimer(h, 1, 16, nullptr);
            m_hwnd = h;
            MSG msg;
            while (m_run && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
            DestroyWindow(h);
        });
        while (!m_hwnd) Sleep(10);
        Sleep(300);
    }
    ~BusyDesktop()
    {
        m_run = false;
        PostMessageA(m_hwnd, WM_NULL, 0, 0);
        m_thread.join();
    }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        static const RECT video = {200, 200, 840, 560};
        if (msg == WM_TIMER) {
            InvalidateRect(h, &video, FALSE);
            return 0;
        }
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            if (ps.fErase || ps.rcPaint.right - ps.rcPaint.left > video.right - video.left) {
                RECT rc;
                GetClientRect(h, &rc);
                for (int y = 0; y < rc.bottom; y += 60) {
                    RECT band = {0, y, rc.right, y + 60};
                    HBRUSH b = CreateSolidBrush(RGB(40 + y % 120, 90, 140));
                    FillRect(dc, &band, b);
                    DeleteObject(b);
                }
            }
            DWORD t = GetTickCount();
            HBRUSH bg = CreateSolidBrush(RGB((t / 7) % 256, 80, 255 - (t / 11) % 256));
            FillRect(dc, &video, bg);
            DeleteObject(bg);
            int x = video.left + (int)((t % 2000) * (video.right - video.left - 60) / 2000);
            RECT bar = {x, video.top, x + 60, video.bottom};
            FillRect(dc, &bar, (HBRUSH)GetStockObject(WHITE_BRUSH));
            char text[32];
            snprintf(text, sizeof text, "%lu", t);
            SetBkMode(dc, TRANSPARENT);
            TextOutA(dc, video.left + 20, video.top + 20, text, (int)strlen(text));
            EndPaint(h, &ps);
            return 0;
        }
        return DefWindowProcA(h, msg, wp, lp);
    }

    std::atomic<bool> m_run{true};
    std::atomic<HWND> m_hwnd{nullptr};
    std::thread m_thread;
};

void OverlaysOn(const std::string& folder)
{
    std::string logo = folder + "\\logo.png";
    testkit::RunLinux("ffmpeg -nostdin -v error -f lavfi -i testsrc=size=200x80 -frames:v 1 " +
                      testkit::ShellQuote(testkit::UnixPath(logo)));
    g_bWatermarkEnabled = 1;
    g_watermarkSettings.imagePath = logo;
    g_watermarkSettings.position = 8;
    g_captionSettings.enabled = 1;
    g_captionSettings.text = "Orbisk 录屏基准测试";
    g_captionSettings.position = 0;
    g_bRecordCursor = 1;
    g_bHighlightCursor = 1;
    g_bClickEffect = 1;
}

void RunOne(unsigned rate, DWORD seconds, const char* screenName)
{
    rectest::Recorder rec(rate);
    OverlaysOn(rec.SaveFolder());
    FILETIME c, e, k0, u0, k1, u1;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k0, &u0);
    StartRecording(false);
    rec.Pump(seconds * 1000);
    DWORD recordedMs = g_recordStats.elapsedMs;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k1, &u1);
    auto ms = [](const FILETIME& f) {
        return (double)(((ULONGLONG)f.dwHighDateTime << 32) | f.dwLowDateTime) / 10000.0;
    };
    double processCpu = ms(k1) + ms(u1) - ms(k0) - ms(u0);
    StopRecording();
    rec.WaitIdle(600000);
    std::vector<std::string> files = rec.SavedFiles();
    if (files.empty()) {
        printf("%u fps: nothing saved\n", rate);
        return;
    }
    // Each written frame is a packet at its sample position; a position a
    // slow grab skipped has no packet (or an empty one).
    testkit::LinuxResult r = testkit::RunLinux(
        "ffprobe -v error -select_streams v:0 -show_entries packet=dts,size -of csv=p=0 " +
            testkit::ShellQuote(testkit::UnixPath(files[0])),
        300000);
    std::istringstream lines(r.out);
    std::string line;
    long written = 0, last = -1, longestGap = 1;
    while (std::getline(lines, line)) {
        long pts = atol(line.c_str());  // the sample position (AVI has no pts)
        size_t comma = line.find(',');
        long size = comma == std::string::npos ? 0 : atol(line.c_str() + comma + 1);
        if (size <= 0) continue;
        ++written;
        if (last >= 0 && pts - last > longestGap) longestGap = pts - last;
        last = pts;
    }
    double secs = recordedMs / 1000.0;
    printf(
        "%u fps, %s, %.1f s, 1920x1080, all overlays: %.2f frames/s written (%ld frames), "
        "longest gap %ld interval(s), CPU: recording thread %.0f%% of one core, "
        "whole process %.0f%% (compressor threads included), file %.1f MB (%.2f Mbit/s)\n",
        rate, screenName, secs, written / secs, written, longestGap,
        100.0 * g_recordStats.threadCpuMs / recordedMs, 100.0 * processCpu / recordedMs,
        testkit::FileSize(files[0]) / 1048576.0, testkit::FileSize(files[0]) * 8 / secs / 1e6);
    fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    DWORD seconds = argc > 1 ? (DWORD)atoi(argv[1]) : 60;
    InstallMyHook(nullptr, 0);
    Clicker clicker;
    {
        rectest::MovingScreen screen;
        RunOne(25, seconds, "whole screen moving");
        RunOne(60, seconds, "whole screen moving");
    }
    {
        BusyDesktop screen;
        RunOne(60, seconds, "video playing on a still desktop");
    }
    UninstallMyHook(nullptr);
    return 0;
}
