#include "platform/x264vfw/Compressor.h"

#include "platform/x264vfw/EncoderSettings.h"
#include "platform/x264vfw/FrameFormats.h"
#include "platform/x264vfw/H264Encoder.h"
#include "platform/x264vfw/RgbToI420.h"
#include "platform/x264vfw/X264Params.h"

#include <malloc.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace x264vfw {

const DWORD kHandler = mmioFOURCC('X', '2', '6', '4');
const wchar_t kName[] = L"x264vfw";
const wchar_t kDescription[] = L"x264vfw - H.264/MPEG-4 AVC codec";

namespace {

const DWORD kDefaultQuality = 7500;

void DebugLog(const char* text)
{
    std::string line = std::string("x264vfw: ") + text;
    if (line.back() != '\n') line += '\n';
    OutputDebugStringA(line.c_str());
}

void X264Log(void*, int, const char* format, va_list args)
{
    char text[1024];
    vsnprintf(text, sizeof text, format, args);
    DebugLog(text);
}

struct AlignedFree {
    void operator()(uint8_t* p) const { _aligned_free(p); }
};

bool SameLayout(const RgbLayout& a, const RgbLayout& b)
{
    return a.width == b.width && a.height == b.height && a.bytesPerPixel == b.bytesPerPixel &&
           a.bottomUp == b.bottomUp;
}

}  // namespace

struct Compressor::Session {
    Session(const RgbLayout& l, const ColourSetup& colour)
        : layout(l), converter(colour.matrix, colour.fullRange), maxBytes(MaxFrameBytes(l))
    {
        // Rows aligned for the SIMD copies x264 makes of its input.
        planes.strideY = (l.width + 63) & ~63;
        planes.strideU = (l.width / 2 + 63) & ~63;
        const size_t ySize = static_cast<size_t>(planes.strideY) * l.height;
        const size_t cSize = static_cast<size_t>(planes.strideU) * (l.height / 2);
        buffer.reset(static_cast<uint8_t*>(_aligned_malloc(ySize + 2 * cSize, 64)));
        if (buffer) {
            planes.y = buffer.get();
            planes.u = planes.y + ySize;
            planes.v = planes.u + cSize;
        }
    }

    RgbLayout layout;
    RgbToI420 converter;
    DWORD maxBytes;
    std::unique_ptr<uint8_t, AlignedFree> buffer;
    I420Planes planes;
    H264Encoder encoder;
};

Compressor::Compressor() : quality_(kDefaultQuality) {}

Compressor::~Compressor() = default;

LRESULT Compressor::GetInfo(ICINFO* info, DWORD size) const
{
    if (!info) return sizeof(ICINFO);
    if (size < sizeof(ICINFO)) return 0;
    ZeroMemory(info, sizeof *info);
    info->dwSize = sizeof *info;
    info->fccType = ICTYPE_VIDEO;
    info->fccHandler = kHandler;
    // VIDCF_QUALITY: hosts (Wine's AVI library among them) refuse a
    // compressor without it when asked for a quality or a data rate.
    // VIDCF_TEMPORAL lets a host ask for key frames only now and then, and
    // VIDCF_FASTTEMPORALC tells it x264 keeps its own reference pictures.
    info->dwFlags = VIDCF_QUALITY | VIDCF_TEMPORAL | VIDCF_FASTTEMPORALC | VIDCF_COMPRESSFRAMES;
    info->dwVersion = X264_BUILD;
    info->dwVersionICM = ICVERSION;
    wcsncpy(info->szName, kName, sizeof info->szName / sizeof(WCHAR) - 1);
    wcsncpy(info->szDescription, kDescription, sizeof info->szDescription / sizeof(WCHAR) - 1);
    return sizeof(ICINFO);
}

LRESULT Compressor::Query(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) const
{
    std::optional<RgbLayout> layout = DescribeRgbInput(in);
    if (!layout || (out && !MatchesOutput(*layout, out))) return ICERR_BADFORMAT;
    return ICERR_OK;
}

LRESULT Compressor::GetFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out) const
{
    std::optional<RgbLayout> layout = DescribeRgbInput(in);
    if (!layout) return ICERR_BADFORMAT;
    if (!out) return sizeof(BITMAPINFOHEADER);
    FillOutputFormat(*layout, OutputFourcc(ReadEncoderSettings().fourccNum), out);
    return ICERR_OK;
}

LRESULT Compressor::GetSize(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER*) const
{
    std::optional<RgbLayout> layout = DescribeRgbInput(in);
    return layout ? static_cast<LRESULT>(MaxFrameBytes(*layout)) : ICERR_BADFORMAT;
}

LRESULT Compressor::SetFramesInfo(const ICCOMPRESSFRAMES* info, DWORD size)
{
    if (!info || size < sizeof *info) return ICERR_BADPARAM;
    // The host's stream rate: x264's rate control spends bits per second.
    if (info->dwRate > 0 && info->dwScale > 0) {
        fpsNum_ = info->dwRate;
        fpsDen_ = info->dwScale;
    }
    return ICERR_OK;
}

LRESULT Compressor::Begin(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out)
{
    session_.reset();
    std::optional<RgbLayout> layout = DescribeRgbInput(in);
    if (!layout || (out && !MatchesOutput(*layout, out))) return ICERR_BADFORMAT;

    EncoderSettings settings = ReadEncoderSettings();
    StreamShape shape{layout->width, layout->height, fpsNum_, fpsDen_};
    x264_param_t params;
    ColourSetup colour;
    std::vector<std::string> warnings;
    bool built = BuildX264Params(settings, shape, &params, &colour, &warnings);
    if (settings.logLevel >= 2)
        for (const std::string& w : warnings) DebugLog(w.c_str());
    if (!built) return ICERR_INTERNAL;
    params.pf_log = X264Log;

    auto session = std::make_unique<Session>(*layout, colour);
    if (!session->buffer) {
        x264_param_cleanup(&params);
        return ICERR_MEMORY;
    }
    bool opened = session->encoder.Open(&params);
    x264_param_cleanup(&params);
    if (!opened) {
        // A recording must not fail over a hand-edited option x264 turns
        // down: go on with the defaults (at the registry's quality).
        DebugLog("x264 refused the settings; encoding with the defaults");
        EncoderSettings fallback;
        fallback.ratefactorTenths = settings.ratefactorTenths;
        fallback.logLevel = settings.logLevel;
        warnings.clear();
        if (!BuildX264Params(fallback, shape, &params, &colour, &warnings)) return ICERR_INTERNAL;
        params.pf_log = X264Log;
        session = std::make_unique<Session>(*layout, colour);
        opened = session->buffer && session->encoder.Open(&params);
        x264_param_cleanup(&params);
        if (!opened) return ICERR_MEMORY;
    }
    session_ = std::move(session);
    return ICERR_OK;
}

LRESULT Compressor::Compress(const ICCOMPRESS* icc, DWORD size)
{
    if (!icc || size < sizeof *icc || !icc->lpInput || !icc->lpOutput || !icc->lpbiOutput)
        return ICERR_BADPARAM;
    if (!session_) return ICERR_ERROR;
    std::optional<RgbLayout> layout = DescribeRgbInput(icc->lpbiInput);
    if (!layout || !SameLayout(*layout, session_->layout)) return ICERR_BADFORMAT;

    session_->converter.Convert(session_->layout, static_cast<const uint8_t*>(icc->lpInput),
                                session_->planes);
    H264Encoder::Output out;
    if (!session_->encoder.Encode(session_->planes, (icc->dwFlags & ICCOMPRESS_KEYFRAME) != 0,
                                  &out))
        return ICERR_INTERNAL;
    if (out.size > session_->maxBytes) return ICERR_INTERNAL;
    memcpy(icc->lpOutput, out.data, out.size);
    icc->lpbiOutput->biSizeImage = static_cast<DWORD>(out.size);
    if (icc->lpdwFlags) *icc->lpdwFlags = out.keyFrame ? AVIIF_KEYFRAME : 0;
    return ICERR_OK;
}

LRESULT Compressor::End()
{
    session_.reset();
    return ICERR_OK;
}

LRESULT Compressor::GetDefaultQuality(DWORD* quality) const
{
    if (!quality) return ICERR_BADPARAM;
    *quality = kDefaultQuality;
    return ICERR_OK;
}

LRESULT Compressor::GetQuality(DWORD* quality) const
{
    if (!quality) return ICERR_BADPARAM;
    *quality = quality_;
    return ICERR_OK;
}

// The quality is kept for hosts that ask it back, but the picture quality
// follows the registry's rate factor, which is how the program chooses it;
// the host's number (the recorder always sends 10000) would override that.
LRESULT Compressor::SetQuality(DWORD quality)
{
    if (quality == static_cast<DWORD>(ICQUALITY_DEFAULT))
        quality_ = kDefaultQuality;
    else
        quality_ = quality > ICQUALITY_HIGH ? ICQUALITY_HIGH : quality;
    return ICERR_OK;
}

LRESULT Compressor::GetDefaultKeyFrameRate(DWORD* rate) const
{
    if (!rate) return ICERR_BADPARAM;
    *rate = static_cast<DWORD>(ReadEncoderSettings().keyintMax);
    return ICERR_OK;
}

}  // namespace x264vfw
