#include "recorder/audio/LoopbackFormat.h"

#include <ks.h>
#include <ksmedia.h>

#include <cmath>
#include <cstring>

namespace {

const WAVEFORMATEXTENSIBLE* Extensible(const WAVEFORMATEX* f)
{
    return f->wFormatTag == WAVE_FORMAT_EXTENSIBLE &&
                   f->cbSize >= sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX)
               ? reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(f)
               : nullptr;
}

// The usual speaker layouts of formats that name none.
DWORD DefaultChannelMask(UINT32 channels)
{
    switch (channels) {
        case 1:
            return SPEAKER_FRONT_CENTER;
        case 2:
            return KSAUDIO_SPEAKER_STEREO;
        case 3:
            return KSAUDIO_SPEAKER_STEREO | SPEAKER_FRONT_CENTER;
        case 4:
            return KSAUDIO_SPEAKER_QUAD;
        case 5:
            return KSAUDIO_SPEAKER_QUAD | SPEAKER_FRONT_CENTER;
        case 6:
            return KSAUDIO_SPEAKER_5POINT1;
        case 7:
            return KSAUDIO_SPEAKER_5POINT1 | SPEAKER_BACK_CENTER;
        case 8:
            return KSAUDIO_SPEAKER_7POINT1_SURROUND;
        default:
            return 0;
    }
}

struct Weights {
    float left, right;
};

// Left and right share of one speaker in the stereo mix down.
Weights WeightsOf(DWORD speaker)
{
    const float side = 0.7071f;
    switch (speaker) {
        case SPEAKER_FRONT_LEFT:
            return {1, 0};
        case SPEAKER_FRONT_RIGHT:
            return {0, 1};
        case SPEAKER_LOW_FREQUENCY:
            return {0, 0};
        case SPEAKER_BACK_LEFT:
        case SPEAKER_FRONT_LEFT_OF_CENTER:
        case SPEAKER_SIDE_LEFT:
        case SPEAKER_TOP_FRONT_LEFT:
        case SPEAKER_TOP_BACK_LEFT:
            return {side, 0};
        case SPEAKER_BACK_RIGHT:
        case SPEAKER_FRONT_RIGHT_OF_CENTER:
        case SPEAKER_SIDE_RIGHT:
        case SPEAKER_TOP_FRONT_RIGHT:
        case SPEAKER_TOP_BACK_RIGHT:
            return {0, side};
        default:
            return {side, side};  // centre speakers, and channels without a position
    }
}

float SampleAt(const BYTE* p, LoopbackStreamFormat::Sample kind)
{
    switch (kind) {
        case LoopbackStreamFormat::Sample::Int16: {
            INT16 v;
            memcpy(&v, p, 2);
            return v / 32768.0f;
        }
        case LoopbackStreamFormat::Sample::Int24: {
            INT32 v = (INT32)((UINT32)p[0] << 8 | (UINT32)p[1] << 16 | (UINT32)p[2] << 24);
            return (v >> 8) / 8388608.0f;
        }
        case LoopbackStreamFormat::Sample::Int32: {
            INT32 v;
            memcpy(&v, p, 4);
            return v / 2147483648.0f;
        }
        case LoopbackStreamFormat::Sample::Float32: {
            float v;
            memcpy(&v, p, 4);
            return v;
        }
    }
    return 0;
}

short ToInt16(float v)
{
    if (!(v == v))  // NaN
        return 0;
    float s = v * 32768.0f;
    return (short)(s >= 32767.0f ? 32767 : s <= -32768.0f ? -32768 : lrintf(s));
}

}  // namespace

bool IsFloatMixFormat(const WAVEFORMATEX* format)
{
    if (const WAVEFORMATEXTENSIBLE* ext = Extensible(format))
        return IsEqualGUID(ext->SubFormat, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT) &&
               format->wBitsPerSample == 32;
    return format->wFormatTag == WAVE_FORMAT_IEEE_FLOAT && format->wBitsPerSample == 32;
}

void ForceToPcm16(WAVEFORMATEX* format)
{
    if (format->wFormatTag == WAVE_FORMAT_EXTENSIBLE) {
        auto* ext = reinterpret_cast<WAVEFORMATEXTENSIBLE*>(format);
        ext->SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
        ext->Samples.wValidBitsPerSample = 16;
    } else {
        format->wFormatTag = WAVE_FORMAT_PCM;
    }
    format->wBitsPerSample = 16;
    format->nBlockAlign = (WORD)(format->nChannels * 16 / 8);
    format->nAvgBytesPerSec = format->nBlockAlign * format->nSamplesPerSec;
}

bool DescribeStreamFormat(const WAVEFORMATEX* format, LoopbackStreamFormat* out)
{
    LoopbackStreamFormat f;
    f.channels = format->nChannels;
    f.sampleRate = format->nSamplesPerSec;
    f.blockAlign = format->nBlockAlign;
    bool isFloat = false, isPcm = false;
    if (const WAVEFORMATEXTENSIBLE* ext = Extensible(format)) {
        isFloat = IsEqualGUID(ext->SubFormat, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT);
        isPcm = IsEqualGUID(ext->SubFormat, KSDATAFORMAT_SUBTYPE_PCM);
        f.channelMask = ext->dwChannelMask;
    } else {
        isFloat = format->wFormatTag == WAVE_FORMAT_IEEE_FLOAT;
        isPcm = format->wFormatTag == WAVE_FORMAT_PCM;
    }
    const UINT32 bits = format->wBitsPerSample;
    if (isFloat && bits == 32)
        f.sample = LoopbackStreamFormat::Sample::Float32;
    else if (isPcm && bits == 16)
        f.sample = LoopbackStreamFormat::Sample::Int16;
    else if (isPcm && bits == 24)
        f.sample = LoopbackStreamFormat::Sample::Int24;
    else if (isPcm && bits == 32)
        f.sample = LoopbackStreamFormat::Sample::Int32;
    else
        return false;
    if (f.channels == 0 || f.sampleRate == 0 || f.blockAlign < f.channels * bits / 8) return false;
    if (f.channelMask == 0) f.channelMask = DefaultChannelMask(f.channels);
    *out = f;
    return true;
}

WAVEFORMATEX StereoPcm16(UINT32 sampleRate)
{
    WAVEFORMATEX f = {};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 2;
    f.nSamplesPerSec = sampleRate;
    f.wBitsPerSample = 16;
    f.nBlockAlign = 4;
    f.nAvgBytesPerSec = 4 * sampleRate;
    return f;
}

void ConvertLoopbackPacket(const BYTE* data, UINT32 frames, bool silent,
                           const LoopbackStreamFormat& format, std::vector<short>* stereo)
{
    const size_t start = stereo->size();
    stereo->resize(start + (size_t)frames * 2);
    short* out = stereo->data() + start;
    if (silent || !data || frames == 0) {
        memset(out, 0, (size_t)frames * 4);
        return;
    }
    const UINT32 bytesPerSample = format.sample == LoopbackStreamFormat::Sample::Int16   ? 2
                                  : format.sample == LoopbackStreamFormat::Sample::Int24 ? 3
                                                                                         : 4;
    // Speaker weights in channel order: the n-th channel is the n-th speaker
    // bit of the mask; channels beyond the mask go to both sides.
    Weights weights[32];
    const UINT32 channels = format.channels < 32 ? format.channels : 32;
    DWORD mask = format.channelMask;
    for (UINT32 c = 0; c < channels; ++c) {
        DWORD speaker = mask & (~mask + 1);  // lowest remaining bit
        mask &= ~speaker;
        weights[c] = WeightsOf(speaker);
    }
    for (UINT32 i = 0; i < frames; ++i) {
        const BYTE* frame = data + (size_t)i * format.blockAlign;
        float left, right;
        if (format.channels == 1) {
            left = right = SampleAt(frame, format.sample);
        } else if (format.channels == 2) {
            left = SampleAt(frame, format.sample);
            right = SampleAt(frame + bytesPerSample, format.sample);
        } else {
            left = right = 0;
            for (UINT32 c = 0; c < channels; ++c) {
                float v = SampleAt(frame + c * bytesPerSample, format.sample);
                left += weights[c].left * v;
                right += weights[c].right * v;
            }
        }
        out[2 * i] = ToInt16(left);
        out[2 * i + 1] = ToInt16(right);
    }
}
