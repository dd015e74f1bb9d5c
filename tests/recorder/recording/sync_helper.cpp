// The other side of the sync test, in a process of its own so that the
// recording's process meets the sound system as the program does: a window
// that flashes white once a second with a beep as soon as the screen shows
// it, and a waveIn stream of its own that hears each beep come through the
// sound server. It talks to the test through files in a folder:
//   sync_helper <folder>
//   writes "ready" once its stream runs; flashes from the tick in "go" on
//   until "stop" appears; then writes "result" (a line per flash: the ticks
//   it was shown and its beep written; a line per beep heard: the tick the
//   stream captured it, on the stream's own clock and counted from
//   waveInStart) and "done".
#include "SyncSignals.h"

#include <mmsystem.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

using namespace synctest;

namespace {

const DWORD kFlashMs = 160;

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

    // Flashes once a second from `first` on, until StopFlashing.
    void StartFlashing(DWORD first)
    {
        next_ = first;
        flashing_ = true;
    }
    std::vector<Flash> StopFlashing()
    {
        flashing_ = false;
        for (int i = 0; busy_ && i < 400; ++i) Sleep(5);
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
            if (beepAt_ >= beep_.size() && beepAsked_) {
                beepAsked_ = false;
                beepAt_ = 0;
                beepWrittenAt_ = timeGetTime();
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
                beepAsked_ = true;
                while (beepAsked_ && timeGetTime() - shown < 1000) Wait(1);
                {
                    std::lock_guard<std::mutex> lock(lock_);
                    // A beep the sound system did not take in time is none.
                    flashes_.push_back({shown, beepAsked_ ? 0 : beepWrittenAt_});
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
    std::mutex lock_;  // flashes_
    bool beepAsked_ = false;
    DWORD beepWrittenAt_ = 0;
    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> quit_{false}, flashing_{false}, busy_{false}, white_{false};
    std::atomic<DWORD> next_{0};
    unsigned count_ = 0;
    std::vector<Flash> flashes_;
};

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
    // heard so far, each from the arrivals of the two seconds around it (a
    // stream that lost sound somewhere, a device that found no buffer free,
    // places the frames after the loss later than its length says); and the
    // same counted from the call that started the stream.
    void BeepTicks(std::vector<double>* heard, std::vector<double>* fromStartCall)
    {
        std::lock_guard<std::mutex> lock(data_);
        for (double onset : BeepOnsets(left_, kRate)) {
            double lead = 1e18;
            for (const Arrival& a : arrived_)
                if (std::fabs(a.streamMs - onset * 1000.0) < 1000) lead = std::min(lead, a.lead);
            heard->push_back(started_ + lead + onset * 1000.0);
            fromStartCall->push_back(started_ + onset * 1000.0);
        }
    }

private:
    // Enough for a second and a half: a device that finds no buffer free
    // drops what it captured, and a beep lost that way is no measurement.
    static const size_t kBuffers = 64;

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
                std::lock_guard<std::mutex> lock(data_);
                for (DWORD i = 0; i < h.dwBytesRecorded / 4; ++i) left_.push_back(s[2 * i]);
                // The earliest arrival, less the stream's length then.
                // Arrived at `now`, less the stream's length then.
                const double streamMs = left_.size() * 1000.0 / kRate;
                arrived_.push_back({streamMs, (double)(LONG)(now - started_) - streamMs});
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
    struct Arrival {
        double streamMs, lead;
    };
    std::mutex data_;  // arrived_, left_: read while the stream still runs
    std::vector<Arrival> arrived_;
    std::vector<short> left_;
    std::atomic<int> arrivals_{0};
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteText(const std::string& path, const std::string& text)
{
    const std::string part = path + ".part";
    if (FILE* f = fopen(part.c_str(), "wb")) {
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
        MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    timeBeginPeriod(1);
    Flasher flasher;
    if (!flasher.Opened()) return 3;
    BeepListener listener;
    if (!listener.Listening()) return 4;
    const DWORD begun = timeGetTime();
    while (!listener.Settled()) {
        if (timeGetTime() - begun > 45000) return 5;
        Sleep(10);
    }
    WriteText(folder + "\\ready", "ready");
    // The test may be caught between making the file and writing into it.
    unsigned long first = 0;
    for (bool read = false; !read; Sleep(5)) {
        if (FILE* go = fopen((folder + "\\go").c_str(), "rb")) {
            read = fscanf(go, "%lu", &first) == 1;
            fclose(go);
        }
    }
    flasher.StartFlashing((DWORD)first);
    while (!Exists(folder + "\\stop")) Sleep(5);
    const std::vector<Flasher::Flash> shown = flasher.StopFlashing();
    Sleep(2000);  // the last beep comes through
    std::string result;
    char line[96];
    for (const Flasher::Flash& f : shown) {
        snprintf(line, sizeof line, "flash %lu %lu\n", (unsigned long)f.shown, (unsigned long)f.written);
        result += line;
    }
    std::vector<double> heard, fromStart;
    listener.BeepTicks(&heard, &fromStart);
    for (size_t i = 0; i < heard.size() && i < fromStart.size(); ++i) {
        snprintf(line, sizeof line, "heard %.1f %.1f\n", heard[i], fromStart[i]);
        result += line;
    }
    WriteText(folder + "\\result", result);
    WriteText(folder + "\\done", "done");
    // The devices are let go after the word is out: a sound system slow to
    // close them holds up no measurement.
    listener.Stop();
    return 0;
}
