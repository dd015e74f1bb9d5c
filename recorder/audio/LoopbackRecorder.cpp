#include "recorder/audio/LoopbackRecorder.h"

#include "recorder/audio/SilentSound.h"

#include <mmdeviceapi.h>

#include <cstdio>
#include <cstring>

using Microsoft::WRL::ComPtr;

std::atomic<float> g_fAudioClock{0.0f};
std::atomic<UINT32> g_bLoopbackFormatReady{0};
WAVEFORMATEX g_wfxLoopback = {};
UINT32 g_bLoopbackSupported = 1;
CLoopbackRecorder* g_pLoopbackRecorder = nullptr;

namespace {
std::atomic<bool> g_bSilentSoundLooping{false};
}

namespace {

const DWORD kPollMs = 25;

// Diagnostics of the system-sound capture go to standard output.
void Diagnose(const char* text)
{
    printf("%s\n", text);
    fflush(stdout);
}

// Loopback capture came with Windows Vista.
bool SystemHasLoopbackCapture()
{
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&v)) return true;
#pragma GCC diagnostic pop
    return v.dwMajorVersion >= 6;
}

}  // namespace

HRESULT DefaultRenderClient(IAudioClient** client)
{
    ComPtr<IMMDeviceEnumerator> enumerator;
    HRESULT hr = CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                  IID_PPV_ARGS(&enumerator));
    if (FAILED(hr)) {
        Diagnose("Faild to CoCreateInstance");
        return hr;
    }
    ComPtr<IMMDevice> device;
    hr = enumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, &device);
    if (FAILED(hr)) {
        Diagnose("Faild to GetDefaultAudioEndpoint");
        return hr;
    }
    hr = device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                          reinterpret_cast<void**>(client));
    if (FAILED(hr)) Diagnose("Faild to Activate Decive");
    return hr;
}

CLoopbackRecorder::CLoopbackRecorder(AudioClientSource source, LoopbackSink sink,
                                     const std::atomic<bool>* paused)
    : m_source(std::move(source)), m_sink(std::move(sink)), m_paused(paused)
{
    m_settled = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

CLoopbackRecorder::~CLoopbackRecorder()
{
    Stop();
    if (m_settled) CloseHandle(m_settled);
}

bool CLoopbackRecorder::Start()
{
    m_stopRequest = false;
    m_state = LoopbackState::Starting;
    m_thread = CreateThread(nullptr, 0, CaptureThread, this, 0, nullptr);
    if (!m_thread) {
        m_lastResult = HRESULT_FROM_WIN32(GetLastError());
        Settle(LoopbackState::Failed);
        return false;
    }
    return true;
}

void CLoopbackRecorder::Stop()
{
    m_stopRequest = true;
    if (!m_thread) return;
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

bool CLoopbackRecorder::WaitUntilSettled(DWORD timeoutMs) const
{
    WaitForSingleObject(m_settled, timeoutMs);
    return m_state == LoopbackState::Capturing;
}

void CLoopbackRecorder::Settle(LoopbackState state)
{
    m_state = state;
    SetEvent(m_settled);
}

DWORD WINAPI CLoopbackRecorder::CaptureThread(void* self)
{
    static_cast<CLoopbackRecorder*>(self)->Run();
    return 0;
}

HRESULT CLoopbackRecorder::Fail(HRESULT hr, const char* diagnostic)
{
    m_lastResult = hr;
    if (diagnostic) Diagnose(diagnostic);
    return hr;
}

void CLoopbackRecorder::Run()
{
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(hr)) {
        Fail(hr, "Faild to CoInitialize");
        Settle(LoopbackState::Failed);
        return;
    }
    bool opened = false;
    hr = Init();
    if (SUCCEEDED(hr)) {
        if (const char* error = m_sink.open(m_streamFormat.sampleRate)) {
            printf("Faild to create MP3 writer: %s\n", error);
            fflush(stdout);
            hr = Fail(E_FAIL, nullptr);
        } else {
            opened = true;
            hr = m_lastResult = m_audioClient->Start();
            if (FAILED(hr)) Diagnose("8");
        }
    }
    if (SUCCEEDED(hr)) {
        // The microphone, when recorded too, takes this format.
        g_wfxLoopback = StereoPcm16(m_streamFormat.sampleRate);
        g_bLoopbackFormatReady.store(1);
        Settle(LoopbackState::Capturing);
        if (m_sink.running) m_sink.running();
        if (FAILED(CaptureLoop())) m_state = LoopbackState::Failed;
        HRESULT stopped = m_audioClient->Stop();
        if (FAILED(stopped)) Fail(stopped, "Faild to stop recorder");
    } else {
        Settle(LoopbackState::Failed);
    }
    if (opened) m_sink.close();
    m_captureClient.Reset();
    m_audioClient.Reset();
    CoTaskMemFree(m_mixFormat);
    m_mixFormat = nullptr;
    CoUninitialize();
}

HRESULT CLoopbackRecorder::Init()
{
    HRESULT hr = m_source(m_audioClient.ReleaseAndGetAddressOf());
    if (FAILED(hr) || !m_audioClient) return Fail(FAILED(hr) ? hr : E_POINTER, nullptr);
    hr = m_audioClient->GetMixFormat(&m_mixFormat);
    if (FAILED(hr) || !m_mixFormat)
        return Fail(FAILED(hr) ? hr : E_POINTER, "Faild to GetMixFormat");
    if (!IsFloatMixFormat(m_mixFormat)) {
        CoTaskMemFree(m_mixFormat);
        m_mixFormat = nullptr;
        m_audioClient.Reset();
        return Fail(E_UNEXPECTED, nullptr);
    }

    // The engine converts to 16-bit integers; where it refuses, the stream
    // stays in floats and the conversion below takes them.
    std::vector<BYTE> pcm16(sizeof(WAVEFORMATEX) + m_mixFormat->cbSize);
    memcpy(pcm16.data(), m_mixFormat, pcm16.size());
    auto* format = reinterpret_cast<WAVEFORMATEX*>(pcm16.data());
    ForceToPcm16(format);
    hr = m_audioClient->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_LOOPBACK,
                                   m_requestedDuration, 0, format, nullptr);
    if (hr == AUDCLNT_E_UNSUPPORTED_FORMAT) {
        format = m_mixFormat;
        hr = m_audioClient->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_LOOPBACK,
                                       m_requestedDuration, 0, format, nullptr);
    }
    if (FAILED(hr)) return Fail(hr, "Faild to Initialize");
    if (!DescribeStreamFormat(format, &m_streamFormat)) return Fail(E_UNEXPECTED, nullptr);
    hr = m_audioClient->GetBufferSize(&m_bufferFrameCount);
    if (FAILED(hr)) return Fail(hr, "Faild to GetBufferSize");
    hr = m_audioClient->GetService(IID_PPV_ARGS(&m_captureClient));
    if (FAILED(hr)) return Fail(hr, "Faild to GetService");
    return m_lastResult = S_OK;
}

HRESULT CLoopbackRecorder::CaptureLoop()
{
    m_totalFrames = 0;
    g_fAudioClock = 0.0f;
    const double rate = m_streamFormat.sampleRate;
    while (!m_stopRequest) {
        Sleep(kPollMs);
        UINT32 packetLength = 0;
        HRESULT hr = m_captureClient->GetNextPacketSize(&packetLength);
        if (FAILED(hr)) return Fail(hr, "Faild to get next data packet size");
        while (packetLength != 0) {
            BYTE* data = nullptr;
            UINT32 frames = 0;
            DWORD flags = 0;
            hr = m_captureClient->GetBuffer(&data, &frames, &flags, nullptr, nullptr);
            if (FAILED(hr)) return Fail(hr, "Faild to get buffer");
            // While paused the packets are let go unwritten and the clock
            // stands still, so it counts recorded time only.
            if (!(m_paused && *m_paused) && frames > 0) {
                g_fAudioClock = (float)(m_totalFrames / rate);
                m_stereo.clear();
                ConvertLoopbackPacket(data, frames, (flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0,
                                      m_streamFormat, &m_stereo);
                m_sink.write(m_stereo.data(), frames);
                m_totalFrames += frames;
            }
            hr = m_captureClient->ReleaseBuffer(frames);
            if (FAILED(hr)) return Fail(hr, "Faild to release buffer");
            hr = m_captureClient->GetNextPacketSize(&packetLength);
            if (FAILED(hr)) return Fail(hr, "Faild to get next data packet size");
        }
    }
    return S_OK;
}

void StartSystemSoundCapture(AudioClientSource source, LoopbackSink sink,
                             const std::atomic<bool>* paused)
{
    g_bLoopbackFormatReady = 0;
    g_fAudioClock = 0.0f;
    if (!SystemHasLoopbackCapture()) g_bLoopbackSupported = 0;
    if (!g_bLoopbackSupported) return;
    ReleaseLoopbackRecorder();
    // Started only with a running capture: a capture that fails plays nothing.
    sink.running = [running = sink.running] {
        g_bSilentSoundLooping = true;
        PlaySilentSound(SilentSoundPlay::Loop);
        if (running) running();
    };
    g_pLoopbackRecorder = new CLoopbackRecorder(std::move(source), std::move(sink), paused);
    g_pLoopbackRecorder->Start();
}

void StopSystemSoundCapture()
{
    ReleaseLoopbackRecorder();
    if (g_bSilentSoundLooping.exchange(false)) {
        // Played once, it replaces the loop.
        PlaySilentSound(SilentSoundPlay::Once);
    }
}

void ReleaseLoopbackRecorder()
{
    delete g_pLoopbackRecorder;
    g_pLoopbackRecorder = nullptr;
}

bool WaitForLoopbackFormat(DWORD timeoutMs)
{
    return g_pLoopbackRecorder && g_pLoopbackRecorder->WaitUntilSettled(timeoutMs) &&
           g_bLoopbackFormatReady.load() != 0;
}

LoopbackState GetLoopbackState()
{
    return g_pLoopbackRecorder ? g_pLoopbackRecorder->State() : LoopbackState::Idle;
}
