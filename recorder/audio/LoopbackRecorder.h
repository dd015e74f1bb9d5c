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
    // Asks the capture to end and waits for its thread.
    void Stop();
    // Waits until the capture runs or has failed; true when it runs.
    bool WaitUntilSettled(DWORD timeoutMs) const;
    LoopbackState State() const { return m_state; }
    HRESULT LastResult() const { return m_lastResult; }
    // Frames handed on so far (paused packets not counted).
    UINT64 TotalFrames() const { return m_totalFrames; }

private:
    static DWORD WINAPI CaptureThread(void* self);
    void Run();
    HRESULT Init();
    HRESULT Fail(HRESULT hr, const char* diagnostic);
    HRESULT CaptureLoop();
    void Settle(LoopbackState state);

    AudioClientSource m_source;
    LoopbackSink m_sink;
    const std::atomic<bool>* m_paused;

    std::atomic<HRESULT> m_lastResult{S_OK};
    const REFERENCE_TIME m_requestedDuration = 10000000;  // one second
    UINT32 m_bufferFrameCount = 0;
    std::atomic<UINT64> m_totalFrames{0};
    Microsoft::WRL::ComPtr<IAudioClient> m_audioClient;
    Microsoft::WRL::ComPtr<IAudioCaptureClient> m_captureClient;
    WAVEFORMATEX* m_mixFormat = nullptr;  // CoTaskMemFree
    LoopbackStreamFormat m_streamFormat;
    std::vector<short> m_stereo;
    std::atomic<bool> m_stopRequest{false};
    std::atomic<LoopbackState> m_state{LoopbackState::Idle};
    HANDLE m_settled = nullptr;  // set when the capture runs or has failed
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
// capture has ended.
void StopSystemSoundCapture();
// Ends and releases the recorder, leaving the silent sound as it is (a start
// that failed: the sound plays on until the recording stops).
void ReleaseLoopbackRecorder();
// Waits (at most timeoutMs) until the capture runs or has failed: true when
// g_wfxLoopback holds its format.
bool WaitForLoopbackFormat(DWORD timeoutMs);
// The state of the current capture (Idle when none was started).
LoopbackState GetLoopbackState();
