#include "FakeAudioClient.h"

#include <ks.h>
#include <ksmedia.h>
#include <mmreg.h>

#include <cstring>

namespace audiotest {

namespace {

const UINT32 kLivePacketFrames = 480;

DWORD UsualMask(WORD channels)
{
    switch (channels) {
        case 1:
            return SPEAKER_FRONT_CENTER;
        case 2:
            return KSAUDIO_SPEAKER_STEREO;
        case 6:
            return KSAUDIO_SPEAKER_5POINT1;
        case 8:
            return KSAUDIO_SPEAKER_7POINT1_SURROUND;
        default:
            return 0;
    }
}

bool IsFloat(const WAVEFORMATEX* f)
{
    if (f->wFormatTag == WAVE_FORMAT_EXTENSIBLE)
        return IsEqualGUID(reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(f)->SubFormat,
                           KSDATAFORMAT_SUBTYPE_IEEE_FLOAT);
    return f->wFormatTag == WAVE_FORMAT_IEEE_FLOAT;
}

}  // namespace

FakePacket ConstantPacket(UINT32 frames, const std::vector<float>& values, DWORD flags)
{
    FakePacket p;
    p.frames = frames;
    p.flags = flags;
    for (UINT32 i = 0; i < frames; ++i)
        p.samples.insert(p.samples.end(), values.begin(), values.end());
    return p;
}

FakeAudioClient::FakeAudioClient(const Options& options, std::vector<FakePoll> polls)
    : options_(options), capture_(new FakeCaptureClient(this, std::move(polls), nullptr, false))
{
}

FakeAudioClient::FakeAudioClient(const Options& options, std::function<float(UINT64, int)> sample)
    : options_(options), capture_(new FakeCaptureClient(this, {}, std::move(sample), true))
{
}

FakeAudioClient::~FakeAudioClient()
{
    delete capture_;
}

AudioClientSource FakeAudioClient::Source()
{
    return [this](IAudioClient** client) {
        AddRef();
        *client = this;
        return S_OK;
    };
}

bool FakeAudioClient::WaitDrained(DWORD timeoutMs)
{
    return WaitForSingleObject(capture_->drained, timeoutMs) == WAIT_OBJECT_0;
}

HRESULT FakeAudioClient::QueryInterface(REFIID riid, void** out)
{
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IAudioClient))) {
        AddRef();
        *out = this;
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeAudioClient::GetMixFormat(WAVEFORMATEX** format)
{
    if (FAILED(options_.getMixFormat)) return options_.getMixFormat;
    auto* f = static_cast<WAVEFORMATEXTENSIBLE*>(CoTaskMemAlloc(sizeof(WAVEFORMATEXTENSIBLE)));
    memset(f, 0, sizeof *f);
    const WORD bits = options_.mixIsFloat ? 32 : 16;
    f->Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    f->Format.nChannels = options_.channels;
    f->Format.nSamplesPerSec = options_.rate;
    f->Format.wBitsPerSample = bits;
    f->Format.nBlockAlign = options_.channels * bits / 8;
    f->Format.nAvgBytesPerSec = f->Format.nBlockAlign * options_.rate;
    f->Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
    f->Samples.wValidBitsPerSample = bits;
    f->dwChannelMask = options_.channelMask ? options_.channelMask : UsualMask(options_.channels);
    f->SubFormat = options_.mixIsFloat ? KSDATAFORMAT_SUBTYPE_IEEE_FLOAT : KSDATAFORMAT_SUBTYPE_PCM;
    *format = &f->Format;
    return S_OK;
}

HRESULT FakeAudioClient::Initialize(AUDCLNT_SHAREMODE mode, DWORD flags, REFERENCE_TIME duration,
                                    REFERENCE_TIME period, const WAVEFORMATEX* format,
                                    LPCGUID session)
{
    if (FAILED(options_.initialize)) return options_.initialize;
    if (mode != AUDCLNT_SHAREMODE_SHARED || !format) return E_INVALIDARG;
    if (!IsFloat(format) && !options_.acceptsPcm16) return AUDCLNT_E_UNSUPPORTED_FORMAT;
    initializedFormat.assign(
        reinterpret_cast<const BYTE*>(format),
        reinterpret_cast<const BYTE*>(format) + sizeof(WAVEFORMATEX) + format->cbSize);
    initializedFlags = flags;
    initializedDuration = duration;
    return S_OK;
}

HRESULT FakeAudioClient::GetBufferSize(UINT32* frames)
{
    *frames = options_.rate;
    return S_OK;
}

HRESULT FakeAudioClient::Start()
{
    if (options_.startWaitsFor) WaitForSingleObject(options_.startWaitsFor, INFINITE);
    if (FAILED(options_.start)) return options_.start;
    started = true;
    return S_OK;
}

HRESULT FakeAudioClient::Stop()
{
    stopped = true;
    return S_OK;
}

HRESULT FakeAudioClient::GetService(REFIID riid, void** out)
{
    if (FAILED(options_.getService)) return options_.getService;
    return capture_->QueryInterface(riid, out);
}

FakeCaptureClient::FakeCaptureClient(FakeAudioClient* owner, std::vector<FakePoll> polls,
                                     std::function<float(UINT64, int)> live, bool liveMode)
    : owner_(owner), polls_(std::move(polls)), live_(std::move(live)), liveMode_(liveMode)
{
    drained = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

FakeCaptureClient::~FakeCaptureClient()
{
    CloseHandle(drained);
}

HRESULT FakeCaptureClient::QueryInterface(REFIID riid, void** out)
{
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IAudioCaptureClient))) {
        AddRef();
        *out = this;
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

const FakePacket* FakeCaptureClient::Current()
{
    if (liveMode_) return &livePacket_;
    if (poll_ < polls_.size() && packet_ < polls_[poll_].packets.size())
        return &polls_[poll_].packets[packet_];
    return nullptr;
}

HRESULT FakeCaptureClient::GetNextPacketSize(UINT32* frames)
{
    *frames = 0;
    if (liveMode_) {
        if (!liveStart_) liveStart_ = GetTickCount();
        if (owner_->options_.failAfterMs && GetTickCount() - liveStart_ >= owner_->options_.failAfterMs)
            return AUDCLNT_E_DEVICE_INVALIDATED;
        const UINT64 due = (UINT64)(GetTickCount() - liveStart_) * owner_->options_.rate / 1000;
        if (due >= liveFrames_ + kLivePacketFrames) *frames = kLivePacketFrames;
        return S_OK;
    }
    if (poll_ >= polls_.size()) {
        SetEvent(drained);
        return S_OK;
    }
    if (!pollStarted_) {
        pollStarted_ = true;
        if (polls_[poll_].before) polls_[poll_].before();
    }
    if (const FakePacket* p = Current()) {
        *frames = p->frames;
        return S_OK;
    }
    // The poll is over: the next one starts with the next cycle.
    ++poll_;
    packet_ = 0;
    pollStarted_ = false;
    if (poll_ >= polls_.size()) SetEvent(drained);
    return S_OK;
}

HRESULT FakeCaptureClient::GetBuffer(BYTE** data, UINT32* frames, DWORD* flags, UINT64*, UINT64*)
{
    if (FAILED(owner_->options_.getBuffer)) return owner_->options_.getBuffer;
    const auto* format = reinterpret_cast<const WAVEFORMATEX*>(owner_->initializedFormat.data());
    const int channels = format->nChannels;
    if (liveMode_) {
        livePacket_.frames = kLivePacketFrames;
        livePacket_.flags = live_ ? 0 : AUDCLNT_BUFFERFLAGS_SILENT;
        livePacket_.samples.clear();
        for (UINT32 i = 0; live_ && i < kLivePacketFrames; ++i)
            for (int c = 0; c < channels; ++c)
                livePacket_.samples.push_back(live_(liveFrames_ + i, c));
    }
    const FakePacket* p = Current();
    if (!p) return AUDCLNT_E_OUT_OF_ORDER;
    const bool isFloat = IsFloat(format);
    bytes_.assign((size_t)p->frames * format->nBlockAlign, 0x7F);  // garbage unless written
    if (!(p->flags & AUDCLNT_BUFFERFLAGS_SILENT)) {
        for (size_t i = 0; i < (size_t)p->frames * channels; ++i) {
            float v = i < p->samples.size() ? p->samples[i] : 0.0f;
            if (isFloat) {
                memcpy(&bytes_[i * 4], &v, 4);
            } else {
                short s = (short)(v * 32767.0f);
                memcpy(&bytes_[i * 2], &s, 2);
            }
        }
    }
    *data = bytes_.data();
    *frames = p->frames;
    *flags = p->flags;
    return S_OK;
}

HRESULT FakeCaptureClient::ReleaseBuffer(UINT32 frames)
{
    if (liveMode_)
        liveFrames_ += frames;
    else
        ++packet_;
    return S_OK;
}

}  // namespace audiotest
