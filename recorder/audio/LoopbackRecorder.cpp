#include "recorder/audio/LoopbackRecorder.h"

#include "recorder/audio/SilentSound.h"

#include <mmdeviceapi.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>

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

// What the capture thread works with. The thread holds it as long as it
// runs, so a thread left behind by a stop still has it when it wakes up.
struct CLoopbackRecorder::Capture {
    Capture(AudioClientSource source, LoopbackSink sink, const std::atomic<bool>* paused)
        : source(std::move(source)), sink(std::move(sink)), paused(paused)
    {
        settled = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~Capture()
    {
        if (settled) CloseHandle(settled);
    }

    void Run();
    HRESULT Init();
    HRESULT Fail(HRESULT hr, const char* diagnostic);
    HRESULT CaptureLoop();
    void Settle(LoopbackState to);
    // Runs fn unless the thread was left behind; what reaches the sink and
    // the recording's globals goes through here.
    template <class F>
    bool Gated(F fn)
    {
        std::lock_guard<std::timed_mutex> lock(gate);
        if (!live) return false;
        fn();
        return true;
    }
    // The owner lets go: false when a sink call holds the gate beyond the
    // bound (the sink's objects must then be left alone).
    bool CloseGate(DWORD timeoutMs)
    {
        if (!gate.try_lock_for(std::chrono::milliseconds(timeoutMs))) return false;
        live = false;
        gate.unlock();
        return true;
    }

    AudioClientSource source;
    LoopbackSink sink;
    const std::atomic<bool>* paused;

    std::atomic<HRESULT> lastResult{S_OK};
    const REFERENCE_TIME requestedDuration = 10000000;  // one second
    UINT32 bufferFrameCount = 0;
    std::atomic<UINT64> totalFrames{0};
    ComPtr<IAudioClient> audioClient;
    ComPtr<IAudioCaptureClient> captureClient;
    WAVEFORMATEX* mixFormat = nullptr;  // CoTaskMemFree
    LoopbackStreamFormat streamFormat;
    std::vector<short> stereo;
    std::atomic<bool> stopRequest{false};
    std::atomic<LoopbackState> state{LoopbackState::Idle};
    HANDLE settled = nullptr;  // set when the capture runs or has failed
    std::timed_mutex gate;
    bool live = true;
};

CLoopbackRecorder::CLoopbackRecorder(AudioClientSource source, LoopbackSink sink,
                                     const std::atomic<bool>* paused)
    : m_capture(std::make_shared<Capture>(std::move(source), std::move(sink), paused))
{
}

CLoopbackRecorder::~CLoopbackRecorder()
{
    Stop();
}

bool CLoopbackRecorder::Start()
{
    m_capture->stopRequest = false;
    m_capture->state = LoopbackState::Starting;
    auto* param = new std::shared_ptr<Capture>(m_capture);
    m_thread = CreateThread(nullptr, 0, CaptureThread, param, 0, nullptr);
    if (!m_thread) {
        delete param;
        m_capture->lastResult = HRESULT_FROM_WIN32(GetLastError());
        m_capture->Settle(LoopbackState::Failed);
        return false;
    }
    return true;
}

bool CLoopbackRecorder::Stop(DWORD waitMs)
{
    m_capture->stopRequest = true;
    if (!m_thread) return true;
    bool ended = WaitForSingleObject(m_thread, waitMs) == WAIT_OBJECT_0;
    CloseHandle(m_thread);
    m_thread = nullptr;
    if (ended) return true;
    Diagnose("Faild to stop recorder in time");
    m_capture->Settle(LoopbackState::Failed);
    return m_capture->CloseGate(kStopMs);
}

bool CLoopbackRecorder::WaitUntilSettled(DWORD timeoutMs) const
{
    WaitForSingleObject(m_capture->settled, timeoutMs);
    return m_capture->state == LoopbackState::Capturing;
}

LoopbackState CLoopbackRecorder::State() const
{
    return m_capture->state;
}

HRESULT CLoopbackRecorder::LastResult() const
{
    return m_capture->lastResult;
}

UINT64 CLoopbackRecorder::TotalFrames() const
{
    return m_capture->totalFrames;
}

void CLoopbackRecorder::Capture::Settle(LoopbackState to)
{
    state = to;
    SetEvent(settled);
}

DWORD WINAPI CLoopbackRecorder::CaptureThread(void* param)
{
    std::shared_ptr<Capture> capture(std::move(*static_cast<std::shared_ptr<Capture>*>(param)));
    delete static_cast<std::shared_ptr<Capture>*>(param);
    capture->Run();
    return 0;
}

HRESULT CLoopbackRecorder::Capture::Fail(HRESULT hr, const char* diagnostic)
{
    lastResult = hr;
    if (diagnostic) Gated([&] { Diagnose(diagnostic); });
    return hr;
}

void CLoopbackRecorder::Capture::Run()
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
        const char* error = nullptr;
        if (!Gated([&] { error = sink.open(streamFormat.sampleRate); })) {
            hr = Fail(E_ABORT, nullptr);
        } else if (error) {
            Gated([&] {
                printf("Faild to create MP3 writer: %s\n", error);
                fflush(stdout);
            });
            hr = Fail(E_FAIL, nullptr);
        } else {
            opened = true;
            hr = lastResult = audioClient->Start();
            if (FAILED(hr)) Fail(hr, "8");
        }
    }
    if (SUCCEEDED(hr)) {
        // The microphone, when recorded too, takes this format.
        Gated([&] {
            g_wfxLoopback = StereoPcm16(streamFormat.sampleRate);
            g_bLoopbackFormatReady.store(1);
        });
        Settle(LoopbackState::Capturing);
        if (sink.running) Gated([&] { sink.running(); });
        if (FAILED(CaptureLoop())) state = LoopbackState::Failed;
        HRESULT stopped = audioClient->Stop();
        if (FAILED(stopped)) Fail(stopped, "Faild to stop recorder");
    } else {
        Settle(LoopbackState::Failed);
    }
    if (opened && sink.close) Gated([&] { sink.close(); });
    captureClient.Reset();
    audioClient.Reset();
    CoTaskMemFree(mixFormat);
    mixFormat = nullptr;
    CoUninitialize();
}

HRESULT CLoopbackRecorder::Capture::Init()
{
    HRESULT hr = source(audioClient.ReleaseAndGetAddressOf());
    if (FAILED(hr) || !audioClient) return Fail(FAILED(hr) ? hr : E_POINTER, nullptr);
    hr = audioClient->GetMixFormat(&mixFormat);
    if (FAILED(hr) || !mixFormat) return Fail(FAILED(hr) ? hr : E_POINTER, "Faild to GetMixFormat");
    if (!IsFloatMixFormat(mixFormat)) {
        CoTaskMemFree(mixFormat);
        mixFormat = nullptr;
        audioClient.Reset();
        return Fail(E_UNEXPECTED, nullptr);
    }

    // The engine converts to 16-bit integers; where it refuses, the stream
    // stays in floats and the conversion below takes them.
    std::vector<BYTE> pcm16(sizeof(WAVEFORMATEX) + mixFormat->cbSize);
    memcpy(pcm16.data(), mixFormat, pcm16.size());
    auto* format = reinterpret_cast<WAVEFORMATEX*>(pcm16.data());
    ForceToPcm16(format);
    hr = audioClient->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_LOOPBACK,
                                 requestedDuration, 0, format, nullptr);
    if (hr == AUDCLNT_E_UNSUPPORTED_FORMAT) {
        format = mixFormat;
        hr = audioClient->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_LOOPBACK,
                                     requestedDuration, 0, format, nullptr);
    }
    if (FAILED(hr)) return Fail(hr, "Faild to Initialize");
    if (!DescribeStreamFormat(format, &streamFormat)) return Fail(E_UNEXPECTED, nullptr);
    hr = audioClient->GetBufferSize(&bufferFrameCount);
    if (FAILED(hr)) return Fail(hr, "Faild to GetBufferSize");
    hr = audioClient->GetService(IID_PPV_ARGS(&captureClient));
    if (FAILED(hr)) return Fail(hr, "Faild to GetService");
    return lastResult = S_OK;
}

HRESULT CLoopbackRecorder::Capture::CaptureLoop()
{
    totalFrames = 0;
    if (!Gated([] { g_fAudioClock = 0.0f; })) return S_OK;
    const double rate = streamFormat.sampleRate;
    while (!stopRequest) {
        Sleep(kPollMs);
        UINT32 packetLength = 0;
        HRESULT hr = captureClient->GetNextPacketSize(&packetLength);
        if (FAILED(hr)) return Fail(hr, "Faild to get next data packet size");
        while (packetLength != 0) {
            BYTE* data = nullptr;
            UINT32 frames = 0;
            DWORD flags = 0;
            hr = captureClient->GetBuffer(&data, &frames, &flags, nullptr, nullptr);
            if (FAILED(hr)) return Fail(hr, "Faild to get buffer");
            // While paused the packets are let go unwritten and the clock
            // stands still, so it counts recorded time only.
            bool reached = Gated([&] {
                if ((paused && *paused) || frames == 0) return;
                g_fAudioClock = (float)(totalFrames / rate);
                stereo.clear();
                ConvertLoopbackPacket(data, frames, (flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0,
                                      streamFormat, &stereo);
                sink.write(stereo.data(), frames);
                totalFrames += frames;
            });
            hr = captureClient->ReleaseBuffer(frames);
            if (FAILED(hr)) return Fail(hr, "Faild to release buffer");
            if (!reached) return S_OK;
            hr = captureClient->GetNextPacketSize(&packetLength);
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

bool StopSystemSoundCapture()
{
    bool released = ReleaseLoopbackRecorder();
    if (g_bSilentSoundLooping.exchange(false)) {
        // Played once, it replaces the loop.
        PlaySilentSound(SilentSoundPlay::Once);
    }
    return released;
}

bool ReleaseLoopbackRecorder(DWORD waitMs)
{
    bool released = !g_pLoopbackRecorder || g_pLoopbackRecorder->Stop(waitMs);
    delete g_pLoopbackRecorder;
    g_pLoopbackRecorder = nullptr;
    return released;
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
