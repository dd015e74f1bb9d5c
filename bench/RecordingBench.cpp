// Whole recordings of the screen with every overlay on: the frame rate
// actually written, the longest gap between written frames, the recording
// thread's CPU use and the size of the saved file, at 25 and 60 frames per
// second. Run by scripts/bench.sh on a 1920x1080 screen.
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

void RunOne(unsigned rate, DWORD seconds)
{
    rectest::Recorder rec(rate);
    OverlaysOn(rec.SaveFolder());
    FILETIME c, e, k0, u0, k1, u1;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k0, &u0);
    StartRecording(false);
    Sleep(seconds * 1000);
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
        if (size <= 0)
            continue;
        ++written;
        if (last >= 0 && pts - last > longestGap)
            longestGap = pts - last;
        last = pts;
    }
    double secs = recordedMs / 1000.0;
    printf("%u fps, %.1f s, 1920x1080, all overlays: %.2f frames/s written (%ld frames), "
           "longest gap %ld interval(s), CPU: recording thread %.0f%% of one core, "
           "whole process %.0f%% (compressor threads included), file %.1f MB (%.2f Mbit/s)\n",
           rate, secs, written / secs, written, longestGap,
           100.0 * g_recordStats.threadCpuMs / recordedMs, 100.0 * processCpu / recordedMs,
           testkit::FileSize(files[0]) / 1048576.0, testkit::FileSize(files[0]) * 8 / secs / 1e6);
    fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    DWORD seconds = argc > 1 ? (DWORD)atoi(argv[1]) : 60;
    rectest::MovingScreen screen;
    InstallMyHook(nullptr, 0);
    Clicker clicker;
    RunOne(25, seconds);
    RunOne(60, seconds);
    UninstallMyHook(nullptr);
    return 0;
}
