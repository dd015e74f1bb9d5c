// The microphone recorder: waveIn capture into 4096-byte buffers whose
// completions arrive as thread messages on a capture thread of its own.
// There are enough of them for three quarters of a second: a device that
// finds none free drops what it captured (Wine does), and a busy machine may
// keep the capture thread from giving them back for that long.
#pragma once

#include "recorder/audio/StreamClock.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

// Receives what the microphone recorded: 16-bit PCM in the recorder's format.
using MicWriter = std::function<void(const BYTE* data, UINT32 bytes)>;

class CMicRecorder {
public:
    // sharedFormat: the system sound's format when both sources are recorded
    // (the merge adds the two sample by sample); null for the microphone
    // alone (PCM, 2 channels, 44100 Hz, 16 bits). 'paused' may be null.
    CMicRecorder(UINT deviceId, const WAVEFORMATEX* sharedFormat, MicWriter writer,
                 const std::atomic<bool>* paused);
    ~CMicRecorder();  // stops the capture
    CMicRecorder(const CMicRecorder&) = delete;
    CMicRecorder& operator=(const CMicRecorder&) = delete;

    // Opens and starts the device. Throws the failure as text (const char*)
    // after undoing what was done.
    void Open();
    // Stops and closes the device once the sound recorded up to this call has
    // come in (at most 2.5 s; StreamClock tells). The caller holds
    // CriticalSection().
    void Stop();
    // The same, taking the critical section itself.
    void StopLocked();

    CRITICAL_SECTION* CriticalSection() { return &m_cs; }
    const WAVEFORMATEX& Format() const { return m_format; }
    bool IsOpen() const { return m_handle != nullptr; }
    // Bytes the device has delivered since it started, paused or not.
    UINT64 BytesDelivered() const { return m_bytesDelivered; }
    // The capture thread did not end when asked: it may still use this
    // object, which must then never be freed.
    bool ThreadLeftBehind() const { return m_threadLeftBehind; }

private:
    static DWORD WINAPI CaptureThread(void* self);
    void CaptureLoop();
    // Undoes an open that failed after `prepared` headers were prepared.
    void CloseOnError(size_t prepared);
    void CloseDevice();
    void EndThread();
    bool Queue(WAVEHDR* header);
    void WaitForRecordedSound();

    UINT m_deviceId;
    HWAVEIN m_handle = nullptr;
    WAVEFORMATEX m_format;
    static const size_t kBufferCount = 32;
    WAVEHDR m_headers[kBufferCount];
    BYTE* m_buffer = nullptr;        // the headers' buffers (VirtualAlloc)
    CRITICAL_SECTION m_cs;           // open and stop
    std::mutex m_queueLock;          // the state against the requeue of a buffer
    std::atomic<UINT32> m_state{0};  // 0 starting, 1 running, 2 stopping
    std::atomic<int> m_queued{0};    // buffers handed to the device
    MicWriter m_writer;
    const std::atomic<bool>* m_paused;
    std::atomic<UINT64> m_bytesDelivered{0};
    StreamClock m_clock;     // when the delivered frames were captured
    bool m_started = false;  // waveInStart succeeded
    bool m_threadLeftBehind = false;
    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
    HANDLE m_queueReady = nullptr;
};

// The recorder of the running recording (null when none).
extern CMicRecorder* g_pMicRecorder;

// Opens and starts g_pMicRecorder under its critical section; a failure is
// reported on standard output and returned as false, never thrown.
bool StartMicRecorder();

// The waveIn device of a capture endpoint (its Core Audio id); WAVE_MAPPER,
// the system's default, when no device belongs to it.
UINT WaveInDeviceForEndpoint(const std::wstring& endpointId);
