// One opened instance of the compressor: what it answers to each
// Installable Compressor Manager message of a host.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <memory>

namespace x264vfw {

extern const DWORD kHandler;          // "X264"
extern const wchar_t kName[];         // "x264vfw"
extern const wchar_t kDescription[];  // "x264vfw - H.264/MPEG-4 AVC codec"

class Compressor {
public:
    Compressor();
    ~Compressor();
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    // Results are the ICM message results (ICERR_*, or a size).
    LRESULT GetInfo(ICINFO* info, DWORD size) const;
    LRESULT Query(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) const;
    LRESULT GetFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out) const;
    LRESULT GetSize(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) const;
    LRESULT SetFramesInfo(const ICCOMPRESSFRAMES* info, DWORD size);
    LRESULT Begin(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out);
    LRESULT Compress(const ICCOMPRESS* icc, DWORD size);
    LRESULT End();

    LRESULT GetDefaultQuality(DWORD* quality) const;
    LRESULT GetQuality(DWORD* quality) const;
    LRESULT SetQuality(DWORD quality);
    LRESULT GetDefaultKeyFrameRate(DWORD* rate) const;

private:
    struct Session;
    std::unique_ptr<Session> session_;  // between Begin and End
    DWORD fpsNum_ = 25;
    DWORD fpsDen_ = 1;
    DWORD quality_;
};

}  // namespace x264vfw
