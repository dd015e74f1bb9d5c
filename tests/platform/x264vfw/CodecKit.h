// What the compressor tests share: the installed driver, a settings key of
// their own, a moving test pattern, a host-like compressor session and
// checks of the H.264 that comes out.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <cstdint>
#include <string>
#include <vector>

namespace codeckit {

const DWORD kX264 = mmioFOURCC('X', '2', '6', '4');

// Loads plugins\x264\x264vfw.dll from the program folder and installs its
// DriverProc for this process as "X264", as the program does; once.
bool InstallX264();

// A settings key of the test's own (HKCU\Software\OrbiskTests\x264vfw-<pid>-<n>),
// which the compressor reads instead of the shared one while it exists.
class PrivateSettings {
public:
    PrivateSettings();
    ~PrivateSettings();
    PrivateSettings(const PrivateSettings&) = delete;
    PrivateSettings& operator=(const PrivateSettings&) = delete;
    void SetDword(const char* name, DWORD value);
    void SetText(const char* name, const std::string& value);

private:
    std::string path_;
};

// The extra command lines the program writes for its two speed modes.
extern const char kFastCmdline[];
extern const char kNormalCmdline[];

// A bottom-up BGR (or BGRX) picture: a drifting gradient, a panel of dark
// text-like strokes scrolling upwards and a coloured block moving right,
// edges on even pixels.
struct Picture {
    BITMAPINFOHEADER header{};
    std::vector<uint8_t> bits;
};
Picture MakePattern(int width, int height, int frame, int bitCount = 24);
BITMAPINFOHEADER RgbHeader(int width, int height, int bitCount);

// One compressor opened and begun on a size, fed as a host feeds it.
struct Compressed {
    std::vector<uint8_t> data;
    bool keyFrame = false;
};
class Session {
public:
    Session(int width, int height, int bitCount = 24);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    bool ok() const { return begun_ == ICERR_OK; }
    LRESULT beginResult() const { return begun_; }
    const BITMAPINFOHEADER& output() const { return out_; }
    // Compresses a picture; false (and result set) when the compressor fails.
    bool Compress(const Picture& p, bool requestKey, Compressed* out, LRESULT* result = nullptr);

private:
    HIC hic_ = nullptr;
    BITMAPINFOHEADER in_{};
    BITMAPINFOHEADER out_{};
    std::vector<uint8_t> buffer_;
    LRESULT begun_ = ICERR_ERROR;
    LONG frame_ = 0;
};

// Writes frames through AVIMakeCompressedStream with the recorder's stream
// values and compression options (key frame every keyEvery frames).
bool WriteAvi(const std::string& path, int width, int height, int frames, DWORD keyEvery = 1);

// NAL unit types in an Annex-B buffer, in order.
std::vector<int> NalTypes(const std::vector<uint8_t>& annexB);
// The options string x264 leaves in its first picture ("cabac=1 ref=3 ...").
std::string X264Options(const std::vector<uint8_t>& firstFrame);

// Frame n of a video file decoded by the Linux ffmpeg, top-down BGR; empty
// when it fails.
std::vector<uint8_t> DecodeFrame(const std::string& path, int n, int width, int height);
// PSNR in dB between a decoded top-down BGR frame and a bottom-up picture.
double Psnr(const std::vector<uint8_t>& decodedTopDown, const Picture& picture);

}  // namespace codeckit
