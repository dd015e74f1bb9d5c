// Picture and sound in sync, measured in saved files: a window flashes white
// once a second while a 50 ms beep goes into the sound server at the same
// instant; a minute is recorded with the microphone (the server's monitor),
// and in the file each flash is matched with its beep. The beep takes its
// own time to come back through the server (waveOut to waveIn): that delay
// is measured in the same run, before each recording, and taken off.
//
// The delay is measured on the stream's own clock, the moments its buffers
// arrive (the earliest arrival, less the stream's length then, is when its
// first frame was captured), because the call that starts a waveIn stream
// is no clock under Wine: the stream's first frame is captured one to two
// seconds after it, a different amount each time.
#include <gtest/gtest.h>

#include "RecordingTestKit.h"
#include "TestKit.h"
#include "recorder/audio/AudioRecording.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordingState.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

namespace {

const UINT32 kRate = 44100;
const RECT kArea = {96, 96, 96 + 320, 96 + 240};  // the flashing window, recorded alone
const DWORD kFlashMs = 160;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A black window that flashes white on its own thread, once a second, and
// a beep as soon as the screen shows the flash. The beeps go into a waveOut
// stream that is fed all the time, 10 ms at a time, four buffers ahead:
// under Wine a beep written into a stream that has run dry may be lost.
class Flasher {
public:
    struct Flash {
        DWORD shown;    // the screen showed it (what the recorder grabs)
        DWORD written;  // the buffer that starts the beep was handed to waveOut
    };

    Flasher()
    {
        WAVEFORMATEX f = {WAVE_FORMAT_PCM, 2, kRate, kRate * 4, 4, 16, 0};
        opened_ = waveOutOpen(&out_, WAVE_MAPPER, &f, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR;
        beep_.resize(kRate / 20 * 2);
        for (size_t i = 0; i < beep_.size() / 2; ++i)
            beep_[2 * i] = beep_[2 * i + 1] =
                (short)(16000 * sin(2 * 3.14159265358979 * 1000.0 * i / kRate));
        beepAt_ = beep_.size();
        for (size_t k = 0; k < kBuffers; ++k) {
            pcm_[k].resize(kBufferFrames * 2);
            headers_[k] = {};
            headers_[k].lpData = reinterpret_cast<LPSTR>(pcm_[k].data());
            headers_[k].dwBufferLength = kBufferFrames * 4;
            if (opened_) waveOutPrepareHeader(out_, &headers_[k], sizeof(WAVEHDR));
            headers_[k].dwFlags |= WHDR_DONE;
        }
        thread_ = std::thread([this] { Run(); });
        while (!window_) Sleep(10);
    }
    ~Flasher()
    {
        quit_ = true;
        thread_.join();
        if (opened_) {
            waveOutReset(out_);
            for (WAVEHDR& h : headers_) waveOutUnprepareHeader(out_, &h, sizeof h);
            waveOutClose(out_);
        }
    }
    bool Opened() const { return opened_; }

    // A beep from the next buffer on; the tick that buffer was written at.
    DWORD Beep()
    {
        unsigned asked;
        {
            std::lock_guard<std::mutex> lock(lock_);
            asked = ++beepsAsked_;
        }
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(lock_);
                if (beepsWritten_ >= asked) return beepWrittenAt_;
            }
            Sleep(1);
        }
    }
    // Flashes once a second from `first` on, until StopFlashing.
    void StartFlashing(DWORD first)
    {
        next_ = first;
        flashing_ = true;
    }
    std::vector<Flash> StopFlashing()
    {
        flashing_ = false;
        while (busy_) Sleep(5);
        std::lock_guard<std::mutex> lock(lock_);
        return flashes_;
    }

private:
    static const size_t kBuffers = 6, kAhead = 4;
    static const UINT32 kBufferFrames = kRate / 100;

    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == WM_PAINT) {
            auto* self = reinterpret_cast<Flasher*>(GetWindowLongPtrA(h, GWLP_USERDATA));
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            RECT rc;
            GetClientRect(h, &rc);
            FillRect(dc, &rc, (HBRUSH)GetStockObject(self && self->white_ ? WHITE_BRUSH : BLACK_BRUSH));
            EndPaint(h, &ps);
            return 0;
        }
        return DefWindowProcA(h, m, w, l);
    }

    // Keeps kAhead buffers queued; a beep asked for starts in the next one.
    void Feed()
    {
        if (!opened_) return;
        size_t queued = 0;
        for (const WAVEHDR& h : headers_) queued += (h.dwFlags & WHDR_DONE) ? 0 : 1;
        for (size_t k = 0; k < kBuffers && queued < kAhead; ++k) {
            if (!(headers_[k].dwFlags & WHDR_DONE)) continue;
            std::fill(pcm_[k].begin(), pcm_[k].end(), 0);
            {
                std::lock_guard<std::mutex> lock(lock_);
                if (beepAt_ >= beep_.size() && beepsWritten_ < beepsAsked_) {
                    beepAt_ = 0;
                    ++beepsWritten_;
                    beepWrittenAt_ = timeGetTime();
                }
            }
            for (size_t n = 0; beepAt_ < beep_.size() && n < pcm_[k].size();) pcm_[k][n++] = beep_[beepAt_++];
            waveOutWrite(out_, &headers_[k], sizeof(WAVEHDR));
            ++queued;
        }
    }

    bool ScreenIsWhite()
    {
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, (kArea.left + kArea.right) / 2, (kArea.top + kArea.bottom) / 2);
        ReleaseDC(nullptr, screen);
        return c != CLR_INVALID && GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
    }

    void Paint(bool white)
    {
        white_ = white;
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
        GdiFlush();
    }

    // Waits ms, feeding the sound all the while.
    void Wait(DWORD ms)
    {
        const DWORD start = timeGetTime();
        do {
            Feed();
            Sleep(1);
        } while (timeGetTime() - start < ms);
    }

    void Run()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "OrbiskSyncFlash";
        RegisterClassA(&wc);
        HWND h = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName,
                                 "", WS_POPUP, kArea.left, kArea.top, kArea.right - kArea.left,
                                 kArea.bottom - kArea.top, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(h, GWLP_USERDATA, (LONG_PTR)this);
        ShowWindow(h, SW_SHOWNOACTIVATE);
        window_ = h;
        Paint(false);
        MSG m;
        while (!quit_) {
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
            Feed();
            if (flashing_ && (LONG)(timeGetTime() - next_) >= 0) {
                busy_ = true;
                Paint(true);
                // The beep goes when the screen shows the flash, as the
                // recorder sees it.
                const DWORD painted = timeGetTime();
                while (!ScreenIsWhite() && timeGetTime() - painted < 500) Feed();
                const DWORD shown = timeGetTime();
                unsigned asked;
                {
                    std::lock_guard<std::mutex> lock(lock_);
                    asked = ++beepsAsked_;
                }
                while (beepsWritten_ < asked) Wait(1);
                {
                    std::lock_guard<std::mutex> lock(lock_);
                    flashes_.push_back({shown, beepWrittenAt_});
                }
                Wait(kFlashMs - std::min<DWORD>(kFlashMs, timeGetTime() - shown));
                Paint(false);
                // Once a second, each at another moment of the 40 ms between
                // two frames, so that where a flash falls between two grabs
                // averages out.
                ++count_;
                next_ += 1000 + (count_ * 13 % 40) - ((count_ - 1) * 13 % 40);
                busy_ = false;
            }
            Sleep(1);
        }
        DestroyWindow(h);
    }

    HWAVEOUT out_ = nullptr;
    bool opened_ = false;
    std::vector<short> beep_;
    size_t beepAt_;  // where the beep being played is (its end: none)
    std::vector<short> pcm_[kBuffers];
    WAVEHDR headers_[kBuffers];
    std::mutex lock_;
    unsigned beepsAsked_ = 0, beepsWritten_ = 0;
    DWORD beepWrittenAt_ = 0;
    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> quit_{false}, flashing_{false}, busy_{false}, white_{false};
    std::atomic<DWORD> next_{0};
    unsigned count_ = 0;
    std::vector<Flash> flashes_;
};

// Sample times (s) where a beep begins: the signal rises above a third of
// its loudest after at least 300 ms of quiet.
std::vector<double> BeepOnsets(const std::vector<short>& mono, UINT32 rate)
{
    int peak = 0;
    for (short s : mono) peak = std::max(peak, std::abs((int)s));
    std::vector<double> onsets;
    if (peak < 1000) return onsets;
    const int loud = peak / 3, quiet = peak / 20;
    // Samples above the quiet level up to each point.
    std::vector<size_t> active(mono.size() + 1, 0);
    for (size_t i = 0; i < mono.size(); ++i) active[i + 1] = active[i] + (std::abs((int)mono[i]) >= quiet);
    const size_t before = rate * 3 / 10, rise = rate / 200;  // 300 ms of quiet, 5 ms of rise
    for (size_t i = before + rise; i < mono.size(); ++i)
        if (std::abs((int)mono[i]) >= loud && active[i - rise] == active[i - rise - before + rise]) {
            onsets.push_back((double)i / rate);
            i += rate / 10;  // past the beep
        }
    return onsets;
}

// Listens to the sound server's monitor with a waveIn stream of its own,
// from a known instant on, and tells when each beep came through: the
// moment the stream captured its first frame, on the stream's own clock.
class BeepListener {
public:
    BeepListener()
    {
        WAVEFORMATEX f = {WAVE_FORMAT_PCM, 2, kRate, kRate * 4, 4, 16, 0};
        ready_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (waveInOpen(&in_, WAVE_MAPPER, &f, (DWORD_PTR)ready_, 0, CALLBACK_EVENT) !=
            MMSYSERR_NOERROR)
            return;
        for (size_t i = 0; i < kBuffers; ++i) {
            buffers_[i].resize(4096);
            headers_[i] = {};
            headers_[i].lpData = buffers_[i].data();
            headers_[i].dwBufferLength = (DWORD)buffers_[i].size();
            waveInPrepareHeader(in_, &headers_[i], sizeof(WAVEHDR));
            waveInAddBuffer(in_, &headers_[i], sizeof(WAVEHDR));
        }
        started_ = timeGetTime();
        waveInStart(in_);
        thread_ = std::thread([this] { Run(); });
    }
    ~BeepListener() { Stop(); }
    bool Listening() const { return in_ != nullptr; }
    // The stream runs and its clock is known.
    bool Settled() const { return arrivals_ >= 20; }

    void Stop()
    {
        if (!in_) return;
        quit_ = true;
        thread_.join();
        waveInReset(in_);
        for (WAVEHDR& h : headers_) waveInUnprepareHeader(in_, &h, sizeof h);
        waveInClose(in_);
        in_ = nullptr;
        CloseHandle(ready_);
    }

    // The ticks at which the stream captured the first frame of each beep
    // (after Stop).
    std::vector<double> BeepTicks() const
    {
        std::vector<double> ticks;
        for (double onset : BeepOnsets(left_, kRate)) ticks.push_back(started_ + lead_ + onset * 1000.0);
        return ticks;
    }
    // The same counted from the call that started the stream.
    std::vector<double> BeepTicksFromStartCall() const
    {
        std::vector<double> ticks;
        for (double onset : BeepOnsets(left_, kRate)) ticks.push_back(started_ + onset * 1000.0);
        return ticks;
    }

private:
    static const size_t kBuffers = 8;

    void Run()
    {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
        size_t next = 0;
        while (!quit_) {
            WaitForSingleObject(ready_, 10);
            while (headers_[next].dwFlags & WHDR_DONE) {
                const DWORD now = timeGetTime();
                WAVEHDR& h = headers_[next];
                const short* s = reinterpret_cast<const short*>(h.lpData);
                for (DWORD i = 0; i < h.dwBytesRecorded / 4; ++i) left_.push_back(s[2 * i]);
                // The earliest arrival, less the stream's length then.
                lead_ = std::min(lead_, (double)(LONG)(now - started_) - left_.size() * 1000.0 / kRate);
                ++arrivals_;
                h.dwFlags &= ~WHDR_DONE;
                waveInAddBuffer(in_, &h, sizeof h);
                next = (next + 1) % kBuffers;
            }
        }
    }

    HWAVEIN in_ = nullptr;
    HANDLE ready_ = nullptr;
    std::vector<char> buffers_[kBuffers];
    WAVEHDR headers_[kBuffers];
    DWORD started_ = 0;
    double lead_ = 1e18;
    std::vector<short> left_;
    std::atomic<int> arrivals_{0};
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

// The delay of each beep's way through the server: from its write to the
// first capture of it that comes after (none within 2 s: NaN).
std::vector<double> PathDelays(const std::vector<DWORD>& written, const std::vector<double>& heard)
{
    std::vector<double> delays;
    for (DWORD w : written) {
        double d = NAN;
        for (double h : heard)
            if (h - w > -20 && h - w < 2000) {
                d = h - w;
                break;
            }
        delays.push_back(d);
    }
    return delays;
}

// When each flash begins in a saved file (s): the first frame of a white
// stretch, less half a frame, since the screen turned white at some moment
// between that grab and the one before.
std::vector<double> FlashTimes(const std::string& video, double frameSeconds)
{
    testkit::LinuxResult r = testkit::RunLinux(
        "ffmpeg -nostdin -v error -i " + testkit::ShellQuote(testkit::UnixPath(video)) +
            " -map 0:v -vf crop=8:8:156:116,format=gray,signalstats,"
            "metadata=print:key=lavfi.signalstats.YAVG:file=- -f null - 2>&1",
        120000);
    std::vector<double> flashes;
    std::istringstream lines(r.out);
    std::string line;
    double pts = 0;
    bool white = false;
    while (std::getline(lines, line)) {
        size_t at = line.find("pts_time:");
        if (at != std::string::npos) pts = atof(line.c_str() + at + 9);
        at = line.find("YAVG=");
        if (at == std::string::npos) continue;
        const double y = atof(line.c_str() + at + 5);
        if (!white && y > 160) flashes.push_back(pts - frameSeconds / 2);
        if (y > 160) white = true;
        if (y < 60) white = false;
    }
    return flashes;
}

std::vector<short> DecodeSound(const std::string& file)
{
    const std::string raw = testkit::MakeTempDir("sync") + "\\sound.raw";
    testkit::RunLinux("ffmpeg -nostdin -v error -i " + testkit::ShellQuote(testkit::UnixPath(file)) +
                          " -map 0:a -ac 1 -ar 44100 -f s16le " +
                          testkit::ShellQuote(testkit::UnixPath(raw)),
                      120000);
    std::string bytes = testkit::ReadFile(raw);
    std::vector<short> mono(bytes.size() / 2);
    memcpy(mono.data(), bytes.data(), mono.size() * 2);
    return mono;
}

class RecordingSync : public ::testing::TestWithParam<int> {};

TEST_P(RecordingSync, EveryBeepMeetsItsFlashWithinTheSoundPathsDelay)
{
    waveInGetNumDevs();  // the sound system's first use in a process can be slow
    Flasher flasher;
    ASSERT_TRUE(flasher.Opened());
    // The beeps' way through the server is measured for each of them, by a
    // stream of the test's own beside the recording: the delay of a waveOut
    // stream under Wine changes along the way (it shrinks when the stream
    // has run dry for a moment).
    BeepListener listener;
    ASSERT_TRUE(listener.Listening());
    ASSERT_TRUE(testkit::PumpUntil([&] { return listener.Settled(); }, 10000));

    rectest::Recorder rec(25);
    g_nRecordMode = 1;
    SetCaptureRect(kArea);
    g_bRecordMic = 1;
    StartRecording(false);
    // Flashes from 2.5 s on: the microphone's stream starts 1 to 2 s late
    // under Wine, and what it did not capture is silence in the file.
    flasher.StartFlashing(timeGetTime() + 2500);
    rec.Pump(60000);
    StopRecording();
    const std::vector<Flasher::Flash> shown = flasher.StopFlashing();
    rec.Pump(2000);  // the last beep comes through
    listener.Stop();
    ASSERT_TRUE(rec.WaitIdle(60000));
    g_bRecordMic = 0;
    std::vector<std::string> files = rec.SavedFiles();
    ASSERT_EQ(1u, files.size());

    std::vector<DWORD> written;
    for (const Flasher::Flash& f : shown) written.push_back(f.written);
    const std::vector<double> delays = PathDelays(written, listener.BeepTicks());
    const std::vector<double> fromStart = PathDelays(written, listener.BeepTicksFromStartCall());
    const std::vector<double> flashes = FlashTimes(files[0], 1.0 / 25);
    const std::vector<double> beeps = BeepOnsets(DecodeSound(files[0]), kRate);
    // The file's flashes are the flashes shown, in order; the last may have
    // come after the stop.
    ASSERT_GE(flashes.size() + 1, shown.size());
    ASSERT_GE(flashes.size(), 50u);
    std::vector<double> errors, at, paths;
    for (size_t i = 0; i < flashes.size() && i < shown.size(); ++i) {
        if (std::isnan(delays[i])) continue;
        // The beep was written a moment after the screen showed the flash,
        // and took its way through the server.
        const double expected =
            flashes[i] + (shown[i].written - shown[i].shown) / 1000.0 + delays[i] / 1000.0;
        auto closest = std::min_element(beeps.begin(), beeps.end(), [&](double a, double b) {
            return std::fabs(a - expected) < std::fabs(b - expected);
        });
        if (closest == beeps.end() || std::fabs(*closest - expected) > 0.5) continue;
        errors.push_back((*closest - expected) * 1000.0);
        at.push_back(flashes[i]);
        paths.push_back(delays[i]);
    }
    ASSERT_GE(errors.size(), flashes.size() * 9 / 10) << "beeps found for the flashes";
    // Where the flashes are in the file against the moments the recorder
    // grabbed them, on its own clock: the picture's part of the error.
    std::vector<double> picture;
    for (size_t i = 0; i < flashes.size() && i < shown.size(); ++i)
        picture.push_back(flashes[i] * 1000.0 - (double)(LONG)(shown[i].shown - g_recordStats.startTick));
    double mean = 0;
    for (double e : errors) mean += e;
    mean /= errors.size();
    // The drift over the minute: the slope of the errors, over 60 s.
    double mt = 0, sxy = 0, sxx = 0;
    for (double t : at) mt += t;
    mt /= at.size();
    for (size_t i = 0; i < at.size(); ++i) {
        sxy += (at[i] - mt) * (errors[i] - mean);
        sxx += (at[i] - mt) * (at[i] - mt);
    }
    const double drift = sxx > 0 ? sxy / sxx * 60.0 : 0;
    std::vector<double> starts;
    for (double d : fromStart)
        if (!std::isnan(d)) starts.push_back(d);
    printf("SYNC recording %d: sound path %.0f ms (%.0f to %.0f; counted from waveInStart %.0f); "
           "sound against picture with the path taken off, %zu flashes: mean %+.1f ms, "
           "median %+.1f, min %+.1f, max %+.1f, drift %+.1f ms/min; picture against its "
           "grab %+.1f ms\n",
           GetParam(), Median(paths), *std::min_element(paths.begin(), paths.end()),
           *std::max_element(paths.begin(), paths.end()), Median(starts), errors.size(), mean,
           Median(errors), *std::min_element(errors.begin(), errors.end()),
           *std::max_element(errors.begin(), errors.end()), drift, Median(picture));
    fflush(stdout);
    EXPECT_LT(std::fabs(mean), 100.0);
    EXPECT_LT(std::fabs(Median(errors)), 100.0);
    EXPECT_LT(std::fabs(drift), 100.0);
}

INSTANTIATE_TEST_SUITE_P(Recordings, RecordingSync, ::testing::Range(1, 6),
                         [](const ::testing::TestParamInfo<int>& i) {
                             return "Minute" + std::to_string(i.param);
                         });

}  // namespace
