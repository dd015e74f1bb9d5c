// The system-sound recorder: a shared-mode loopback capture of the default
// render endpoint (WASAPI), polled every 25 ms on a thread of its own, which
// keeps the audio clock and hands the sound on as 16-bit stereo.
#pragma once

#include "recorder/audio/LoopbackFormat.h"

#include <windows.h>
#include <audioclient.h>
#include <wrl/client.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// Seconds of system sound captured in this recording, paused time excluded;
// 0 when a capture starts. Written by the capture thread only.
extern std::atomic<float> g_fAudioClock;
// 1 once g_wfxLoopback holds the format of the running capture (16-bit PCM
// stereo at the stream's rate); 0 from each start until then.
extern std::atomic<UINT32> g_bLoopbackFormatReady;
extern WAVEFORMATEX g_wfxLoopback;
// 0 where the system has no loopback capture (before Windows Vista).
extern UINT32 g_bLoopbackSupported;

// Gives the audio client of the endpoint to capture. The program's source is
// the default render endpoint; tests give clients of their own.
using AudioClientSource = std::function<HRESULT(IAudioClient** client)>;
HRESULT DefaultRenderClient(IAudioClient** client);

// Where the captured sound goes.
struct LoopbackSink {
    // Called once the stream is set up, with its sample rate; returns nullptr
    // or the text of what went wrong (the capture then does not start).
    std::function<const char*(UINT32 sampleRate)> open;
    // Interleaved 16-bit stereo.
    std::function<void(const short* stereo, UINT32 frames)> write;
    // After the last write; only when open succeeded.
    std::function<void()> close;
    // Once the capture runs (optional).
    std::function<void()> running;
};

enum class LoopbackState { Idle, Starting, Capturing, Failed };

class CLoopbackRecorder {
public:
    CLoopbackRecorder(AudioClientSource source, LoopbackSink sink, const std::atomic<bool>* paused);
    ~CLoopbackRecorder();  // stops the capture
    CLoopbackRecorder(const CLoopbackRecorder&) = delete;
    CLoopbackRecorder& operator=(const CLoopbackRecorder&) = delete;

    // Starts the capture thread; false when it could not be created.
    bool Start();
    // Asks the capture to end and waits for its thread, at most waitMs. A
    // thread that does not end in time (stuck in a device call) is left
    // behind: from then on it reaches neither the sink nor the audio clock,
    // and what it uses lives until it ends. False only when a sink call
    // still runs beyond the bound (its objects must then be left alone).
    bool Stop(DWORD waitMs = kStopMs);
    // Waits until the capture runs or has failed; true when it runs.
    bool WaitUntilSettled(DWORD timeoutMs) const;
    LoopbackState State() const;
    HRESULT LastResult() const;
    // Frames handed on so far (paused packets not counted).
    UINT64 TotalFrames() const;

    static const DWORD kStopMs = 2000;

private:
    struct Capture;
    static DWORD WINAPI CaptureThread(void* param);

    std::shared_ptr<Capture> m_capture;
    HANDLE m_thread = nullptr;
};

// The recorder of the running recording (null when none).
extern CLoopbackRecorder* g_pLoopbackRecorder;

// Starts the system-sound capture in the background and returns at once;
// from the moment the capture runs, the silent sound plays in a loop. Nothing
// happens where loopback capture is not supported.
void StartSystemSoundCapture(AudioClientSource source, LoopbackSink sink,
                             const std::atomic<bool>* paused);
// Stops it and the silent sound, and releases the recorder; returns when the
// capture has ended or was left behind (CLoopbackRecorder::Stop), with false
// when its sink may still be called (its objects must then be left alone).
bool StopSystemSoundCapture();
// Ends and releases the recorder, leaving the silent sound as it is (a start
// that failed: the sound plays on until the recording stops), waiting at
// most waitMs for its thread. Returns like StopSystemSoundCapture.
bool ReleaseLoopbackRecorder(DWORD waitMs = CLoopbackRecorder::kStopMs);
// Waits (at most timeoutMs) until the capture runs or has failed: true when
// g_wfxLoopback holds its format.
bool WaitForLoopbackFormat(DWORD timeoutMs);
// The state of the current capture (Idle when none was started). Failed
// also for a capture that died while recording.
LoopbackState GetLoopbackState();
