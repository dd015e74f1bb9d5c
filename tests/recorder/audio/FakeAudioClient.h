// Stand-ins for the audio client of a render endpoint in loopback mode: Wine
// cannot capture system sound, so the loopback data path is driven by these.
#pragma once

#include "recorder/audio/LoopbackRecorder.h"

#include <windows.h>
#include <audioclient.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

namespace audiotest {

struct FakePacket {
    UINT32 frames = 0;
    DWORD flags = 0;
    std::vector<float> samples;  // frames x channels, interleaved; none: zeros
};

// What one 25 ms poll finds: some packets (none: a gap). 'before' runs on the
// capture thread when the poll starts.
struct FakePoll {
    std::vector<FakePacket> packets;
    std::function<void()> before;
};

class FakeCaptureClient;

class FakeAudioClient : public IAudioClient {
public:
    struct Options {
        WORD channels = 2;
        DWORD rate = 48000;
        DWORD channelMask = 0;        // 0: the usual layout of the channel count
        bool mixIsFloat = true;       // else a 16-bit mix format
        bool acceptsPcm16 = true;     // else only the float mix format
        HRESULT getMixFormat = S_OK;  // results to fail with
        HRESULT initialize = S_OK;
        HRESULT getService = S_OK;
        HRESULT start = S_OK;
        HRESULT getBuffer = S_OK;
        // Live: the device goes away this long after the first poll (every
        // call then fails as an unplugged device's do); 0: never.
        DWORD failAfterMs = 0;
        // Start waits for this event before it returns: a device call that
        // hangs. Null: it returns at once.
        HANDLE startWaitsFor = nullptr;
    };
    // Scripted: the polls in order, then nothing more.
    FakeAudioClient(const Options& options, std::vector<FakePoll> polls);
    // Live: packets of 480 frames at the stream's real-time pace, each frame
    // from 'sample' (frame index, channel), or flagged silent when it is null.
    FakeAudioClient(const Options& options, std::function<float(UINT64, int)> sample);
    virtual ~FakeAudioClient();

    // A source that hands out this client.
    AudioClientSource Source();
    // Set once every scripted poll has been taken.
    bool WaitDrained(DWORD timeoutMs);

    bool started = false, stopped = false;
    std::vector<BYTE> initializedFormat;  // as given to Initialize
    DWORD initializedFlags = 0;
    REFERENCE_TIME initializedDuration = 0;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    // IAudioClient
    HRESULT STDMETHODCALLTYPE Initialize(AUDCLNT_SHAREMODE mode, DWORD flags,
                                         REFERENCE_TIME duration, REFERENCE_TIME period,
                                         const WAVEFORMATEX* format, LPCGUID session) override;
    HRESULT STDMETHODCALLTYPE GetBufferSize(UINT32* frames) override;
    HRESULT STDMETHODCALLTYPE GetStreamLatency(REFERENCE_TIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCurrentPadding(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsFormatSupported(AUDCLNT_SHAREMODE, const WAVEFORMATEX*,
                                                WAVEFORMATEX**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMixFormat(WAVEFORMATEX** format) override;
    HRESULT STDMETHODCALLTYPE GetDevicePeriod(REFERENCE_TIME*, REFERENCE_TIME*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Start() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetEventHandle(HANDLE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetService(REFIID riid, void** out) override;

private:
    friend class FakeCaptureClient;
    Options options_;
    std::atomic<ULONG> refs_{1};
    FakeCaptureClient* capture_;
};

class FakeCaptureClient : public IAudioCaptureClient {
public:
    FakeCaptureClient(FakeAudioClient* owner, std::vector<FakePoll> polls,
                      std::function<float(UINT64, int)> live, bool liveMode);
    virtual ~FakeCaptureClient();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    HRESULT STDMETHODCALLTYPE GetBuffer(BYTE** data, UINT32* frames, DWORD* flags, UINT64* position,
                                        UINT64* qpc) override;
    HRESULT STDMETHODCALLTYPE ReleaseBuffer(UINT32 frames) override;
    HRESULT STDMETHODCALLTYPE GetNextPacketSize(UINT32* frames) override;

    HANDLE drained;

private:
    const FakePacket* Current();

    FakeAudioClient* owner_;
    std::atomic<ULONG> refs_{1};
    std::vector<FakePoll> polls_;
    size_t poll_ = 0, packet_ = 0;
    bool pollStarted_ = false;
    std::function<float(UINT64, int)> live_;
    bool liveMode_;
    DWORD liveStart_ = 0;
    UINT64 liveFrames_ = 0;
    FakePacket livePacket_;
    std::vector<BYTE> bytes_;
};

// A packet of 'frames' frames whose channel c holds values[c] throughout.
FakePacket ConstantPacket(UINT32 frames, const std::vector<float>& values, DWORD flags = 0);

}  // namespace audiotest
