#include "recorder/audio/MicRecorder.h"

#include <cstdio>
#include <vector>

// Not in MinGW's headers: the Core Audio id of a waveIn device.
#ifndef DRV_QUERYFUNCTIONINSTANCEID
#define DRV_QUERYFUNCTIONINSTANCEID (DRV_RESERVED + 17)
#define DRV_QUERYFUNCTIONINSTANCEIDSIZE (DRV_RESERVED + 18)
#endif

CMicRecorder* g_pMicRecorder = nullptr;

namespace {

const DWORD kBufferBytes = 4096;
// Longest wait at the stop for sound still on its way from the device (under
// Wine the stream's first buffer comes 1 to 2 s after the start).
const DWORD kCatchUpMs = 2500;
// Every wait on the capture thread or the device ends within this.
const DWORD kBufferReturnMs = 2000;

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = timeGetTime();
    while (!done()) {
        if (timeGetTime() - start >= timeoutMs) return false;
        Sleep(1);
    }
    return true;
}

}  // namespace

CMicRecorder::CMicRecorder(UINT deviceId, const WAVEFORMATEX* sharedFormat, MicWriter writer,
                           const std::atomic<bool>* paused)
    : m_deviceId(deviceId), m_writer(std::move(writer)), m_paused(paused)
{
    InitializeCriticalSection(&m_cs);
    m_format = {};
    if (sharedFormat) {
        memcpy(&m_format, sharedFormat, 16);
        m_format.wFormatTag = WAVE_FORMAT_PCM;
        m_format.cbSize = 0;
    } else {
        m_format.wFormatTag = WAVE_FORMAT_PCM;
        m_format.nChannels = 2;
        m_format.nSamplesPerSec = 44100;
        m_format.nAvgBytesPerSec = 176400;
        m_format.nBlockAlign = 4;
        m_format.wBitsPerSample = 16;
    }
    memset(m_headers, 0, sizeof m_headers);
    for (WAVEHDR& h : m_headers) h.dwBufferLength = kBufferBytes;
}

CMicRecorder::~CMicRecorder()
{
    StopLocked();
    EndThread();
    if (m_buffer) VirtualFree(m_buffer, 0, MEM_RELEASE);
    if (m_queueReady) CloseHandle(m_queueReady);
    DeleteCriticalSection(&m_cs);
}

void CMicRecorder::Open()
{
    if (m_handle) return;
    m_state = 0;
    m_queued = 0;
    m_bytesDelivered = 0;
    m_started = false;
    EndThread();
    if (!m_queueReady) m_queueReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(m_queueReady);
    m_clock.Reset(m_format.nSamplesPerSec);
    m_thread = CreateThread(nullptr, 0, CaptureThread, this, 0, &m_threadId);
    if (!m_thread || !m_queueReady) throw "Can't create WAVE recording thread.";
    // The device posts to the thread's message queue: it must exist first.
    if (WaitForSingleObject(m_queueReady, kBufferReturnMs) != WAIT_OBJECT_0) {
        m_state = 2;
        EndThread();
        throw "Can't create WAVE recording thread.";
    }

    if (waveInOpen(&m_handle, m_deviceId, &m_format, m_threadId, 0, CALLBACK_THREAD) !=
        MMSYSERR_NOERROR) {
        m_state = 2;
        m_handle = nullptr;
        EndThread();
        throw "Can't open WaveIN Device.";
    }
    m_state = 1;
    if (!m_buffer) {
        m_buffer = static_cast<BYTE*>(
            VirtualAlloc(nullptr, kBufferCount * kBufferBytes, MEM_COMMIT, PAGE_READWRITE));
        if (!m_buffer) {
            CloseOnError(0);
            throw "Can't allocate memory for WAVE buffer.";
        }
    }
    for (size_t i = 0; i < kBufferCount; ++i) {
        m_headers[i].lpData = reinterpret_cast<LPSTR>(m_buffer + i * kBufferBytes);
        if (waveInPrepareHeader(m_handle, &m_headers[i], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
            CloseOnError(i);
            throw i == 0 ? "Error preparing WAVEHDR 1." : "Error preparing WAVEHDR 2.";
        }
    }
    if (!Queue(&m_headers[0])) {
        CloseOnError(kBufferCount);
        throw "Error queueing WAVEHDR 1.";
    }
    for (size_t i = 1; i < kBufferCount; ++i)
        if (!Queue(&m_headers[i])) {
            StopLocked();
            throw "Error queueing WAVEHDR 2.";
        }
    if (waveInStart(m_handle) != MMSYSERR_NOERROR) {
        StopLocked();
        throw "Error starting record.";
    }
    m_started = true;
}

bool CMicRecorder::Queue(WAVEHDR* header)
{
    if (waveInAddBuffer(m_handle, header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
    ++m_queued;
    return true;
}

void CMicRecorder::CloseOnError(size_t prepared)
{
    for (size_t i = 0; i < prepared; ++i)
        waveInUnprepareHeader(m_handle, &m_headers[i], sizeof(WAVEHDR));
    CloseDevice();
    m_handle = nullptr;
    m_state = 2;
    EndThread();
}

void CMicRecorder::CloseDevice()
{
    WaitUntil([this] { return waveInClose(m_handle) == MMSYSERR_NOERROR; }, kBufferReturnMs);
}

void CMicRecorder::EndThread()
{
    if (!m_thread) return;
    // Closing the device ends the thread; a thread that never saw the device
    // ends on its own, or on a quit message.
    if (WaitForSingleObject(m_thread, kBufferReturnMs) != WAIT_OBJECT_0) {
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        // One that still does not end is left behind, with this object.
        if (WaitForSingleObject(m_thread, kBufferReturnMs) != WAIT_OBJECT_0)
            m_threadLeftBehind = true;
    }
    CloseHandle(m_thread);
    m_thread = nullptr;
}

void CMicRecorder::WaitForRecordedSound()
{
    // A device may hand its sound on well after it was recorded: wait for
    // what was recorded up to now, not for the buffers that happen to be full.
    const DWORD now = timeGetTime();
    WaitUntil([&] { return m_clock.Covers(now); }, kCatchUpMs);
}

void CMicRecorder::Stop()
{
    if (!m_handle) return;
    if (m_started) WaitForRecordedSound();
    m_started = false;
    {
        std::lock_guard<std::mutex> lock(m_queueLock);
        m_state = 2;
        waveInReset(m_handle);
    }
    WaitUntil([this] { return m_queued <= 0; }, kBufferReturnMs);
    for (WAVEHDR& h : m_headers) {
        waveInUnprepareHeader(m_handle, &h, sizeof(WAVEHDR));
        h.dwFlags = 0;
    }
    CloseDevice();
    m_handle = nullptr;
    EndThread();
}

void CMicRecorder::StopLocked()
{
    EnterCriticalSection(&m_cs);
    Stop();
    LeaveCriticalSection(&m_cs);
}

DWORD WINAPI CMicRecorder::CaptureThread(void* self)
{
    static_cast<CMicRecorder*>(self)->CaptureLoop();
    return 0;
}

void CMicRecorder::CaptureLoop()
{
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(m_queueReady);
    while (m_state == 0) Sleep(1);
    if (m_state == 2) return;
    while (GetMessageA(&msg, nullptr, 0, 0) == 1) {
        if (msg.message == MM_WIM_CLOSE) return;
        if (msg.message != MM_WIM_DATA) continue;
        auto* header = reinterpret_cast<WAVEHDR*>(msg.lParam);
        const DWORD bytes = header->dwBytesRecorded;
        if (bytes != 0) {
            m_bytesDelivered += bytes;
            m_clock.Arrived(timeGetTime(), m_bytesDelivered / m_format.nBlockAlign);
            if (!(m_paused && *m_paused) && m_writer)
                m_writer(reinterpret_cast<const BYTE*>(header->lpData), bytes);
        }
        std::lock_guard<std::mutex> lock(m_queueLock);
        --m_queued;
        if (m_state != 2) Queue(header);
    }
}

bool StartMicRecorder()
{
    if (!g_pMicRecorder) return false;
    EnterCriticalSection(g_pMicRecorder->CriticalSection());
    bool opened = true;
    try {
        g_pMicRecorder->Open();
    } catch (const char* error) {
        printf("%s\n", error);
        fflush(stdout);
        opened = false;
    }
    LeaveCriticalSection(g_pMicRecorder->CriticalSection());
    return opened;
}

UINT WaveInDeviceForEndpoint(const std::wstring& endpointId)
{
    const UINT count = waveInGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
        const HWAVEIN device = reinterpret_cast<HWAVEIN>((UINT_PTR)i);
        ULONG bytes = 0;
        if (waveInMessage(device, DRV_QUERYFUNCTIONINSTANCEIDSIZE, (DWORD_PTR)&bytes, 0) !=
                MMSYSERR_NOERROR ||
            bytes == 0)
            continue;
        std::vector<WCHAR> id(bytes / sizeof(WCHAR) + 1, L'\0');
        if (waveInMessage(device, DRV_QUERYFUNCTIONINSTANCEID, (DWORD_PTR)id.data(), bytes) ==
                MMSYSERR_NOERROR &&
            _wcsicmp(id.data(), endpointId.c_str()) == 0)
            return i;
    }
    return WAVE_MAPPER;
}
