#include "CodecKit.h"

#include "TestKit.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace codeckit {

const char kFastCmdline[] =
    "--no-8x8dct  --sync-lookahead 0 --sliced-threads --aq-mode 0 --b-adapt 0 --no-cabac "
    "--no-deblock --me dia --no-mixed-refs --partitions none --rc-lookahead 0 --ref 1 "
    "--scenecut 0 --subme 0 --trellis 0 --no-weightb --weightp 0";
const char kNormalCmdline[] =
    "--no-8x8dct  --sync-lookahead 0 --sliced-threads --aq-mode 0 --b-adapt 1 --bframes 1 "
    "--no-cabac --no-deblock --me dia --no-mixed-refs --partitions none --rc-lookahead 2 --ref 1 "
    "--scenecut 1 --subme 2 --trellis 0 --no-weightb --weightp 0";

bool InstallX264()
{
    static const bool installed = [] {
        std::string dll = testkit::ProgramDir() + "\\plugins\\x264\\x264vfw.dll";
        HMODULE module = LoadLibraryA(dll.c_str());
        FARPROC proc = module ? GetProcAddress(module, "DriverProc") : nullptr;
        return proc && ICInstall(ICTYPE_VIDEO, kX264, reinterpret_cast<LPARAM>(proc), nullptr,
                                 ICINSTALL_FUNCTION);
    }();
    return installed;
}

namespace {
const char kKeyVariable[] = "ORBISK_X264VFW_KEY";
}

PrivateSettings::PrivateSettings()
{
    static LONG counter = 0;
    char path[128];
    snprintf(path, sizeof path, "Software\\OrbiskTests\\x264vfw-%lu-%ld", GetCurrentProcessId(),
             InterlockedIncrement(&counter));
    path_ = path;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
    SetEnvironmentVariableA(kKeyVariable, path);
}

PrivateSettings::~PrivateSettings()
{
    SetEnvironmentVariableA(kKeyVariable, nullptr);
    RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
}

void PrivateSettings::SetDword(const char* name, DWORD value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, path_.c_str(), name, REG_DWORD, &value, sizeof value);
}

void PrivateSettings::SetText(const char* name, const std::string& value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, path_.c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
}

BITMAPINFOHEADER RgbHeader(int width, int height, int bitCount)
{
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bitCount);
    h.biCompression = BI_RGB;
    h.biSizeImage = ((width * bitCount / 8 + 3) & ~3) * std::abs(height);
    return h;
}

Picture MakePattern(int width, int height, int frame, int bitCount)
{
    Picture p;
    p.header = RgbHeader(width, height, bitCount);
    p.bits.assign(p.header.biSizeImage, 0);
    const int bpp = bitCount / 8;
    const int stride = (width * bpp + 3) & ~3;
    const int panelX0 = (width / 8) & ~1, panelX1 = (width / 2) & ~1;
    const int panelY0 = (height / 4) & ~1, panelY1 = (3 * height / 4) & ~1;
    const int blockX = (20 + 4 * frame) % (width - 48) & ~1;
    const int blockY = (height - 80) & ~1;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = p.bits.data() + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            int r = 128 + static_cast<int>(90 * std::sin((x + 2.0 * frame) / 40.0));
            int g = 128 + static_cast<int>(90 * std::cos((y + 1.0 * frame) / 30.0));
            int b = 60 + (x + y) * 120 / (width + height);
            if (x >= panelX0 && x < panelX1 && y >= panelY0 && y < panelY1) {
                // Lines of 12 pixels with glyph-like strokes, scrolling up.
                const int yy = y + 2 * frame, line = yy / 12, inLine = yy % 12;
                const int cell = x / 6, inCell = x % 6;
                const unsigned hash = (line * 7919u + cell * 104729u) * 2654435761u;
                const bool stroke = inLine >= 2 && inLine < 10 && inCell < 5 &&
                                    ((hash >> (inCell + 3 * (inLine / 3))) & 1);
                r = g = b = stroke ? 40 : 230;
            } else if (x >= blockX && x < blockX + 48 && y >= blockY && y < blockY + 40) {
                r = 200, g = 60, b = 30;
            }
            uint8_t* px = row + x * bpp;
            px[0] = static_cast<uint8_t>(b);
            px[1] = static_cast<uint8_t>(g);
            px[2] = static_cast<uint8_t>(r);
        }
    }
    return p;
}

Session::Session(int width, int height, int bitCount)
{
    in_ = RgbHeader(width, height, bitCount);
    hic_ = ICOpen(ICTYPE_VIDEO, kX264, ICMODE_COMPRESS);
    if (!hic_) return;
    if (ICCompressGetFormat(hic_, &in_, &out_) != ICERR_OK) return;
    LRESULT size = ICCompressGetSize(hic_, &in_, &out_);
    if (size <= 0) return;
    buffer_.resize(size);
    begun_ = ICCompressBegin(hic_, &in_, &out_);
}

Session::~Session()
{
    if (hic_) {
        ICCompressEnd(hic_);
        ICClose(hic_);
    }
}

bool Session::Compress(const Picture& p, bool requestKey, Compressed* out, LRESULT* result)
{
    BITMAPINFOHEADER outHeader = out_;
    DWORD ckid = 0, flags = 0;
    LRESULT r =
        ICCompress(hic_, requestKey ? ICCOMPRESS_KEYFRAME : 0, &outHeader, buffer_.data(),
                   const_cast<BITMAPINFOHEADER*>(&p.header), const_cast<uint8_t*>(p.bits.data()),
                   &ckid, &flags, frame_++, 0, 10000, nullptr, nullptr);
    if (result) *result = r;
    if (r != ICERR_OK) return false;
    out->data.assign(buffer_.begin(), buffer_.begin() + outHeader.biSizeImage);
    out->keyFrame = (flags & AVIIF_KEYFRAME) != 0;
    return true;
}

bool WriteAvi(const std::string& path, int width, int height, int frames, DWORD keyEvery)
{
    AVIFileInit();
    bool ok = false;
    PAVIFILE file = nullptr;
    PAVISTREAM stream = nullptr, compressed = nullptr;
    BITMAPINFOHEADER header = RgbHeader(width, height, 24);
    AVISTREAMINFOA info{};
    info.fccType = streamtypeVIDEO;
    info.fccHandler = kX264;
    info.dwScale = 1;
    info.dwRate = 25;
    info.dwSuggestedBufferSize = header.biSizeImage;
    SetRect(&info.rcFrame, 0, 0, width, height);
    AVICOMPRESSOPTIONS options{};
    options.fccType = streamtypeVIDEO;
    options.fccHandler = kX264;
    options.dwKeyFrameEvery = keyEvery;
    options.dwQuality = 10000;
    options.dwFlags = AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_DATARATE | AVICOMPRESSF_VALID;
    if (AVIFileOpenA(&file, path.c_str(), OF_CREATE | OF_WRITE, nullptr) == AVIERR_OK &&
        AVIFileCreateStreamA(file, &stream, &info) == AVIERR_OK &&
        AVIMakeCompressedStream(&compressed, stream, &options, nullptr) == AVIERR_OK &&
        AVIStreamSetFormat(compressed, 0, &header, sizeof header) == AVIERR_OK) {
        ok = true;
        for (int i = 0; i < frames && ok; ++i) {
            Picture p = MakePattern(width, height, i);
            ok = AVIStreamWrite(compressed, i, 1, p.bits.data(), p.header.biSizeImage, 0, nullptr,
                                nullptr) == AVIERR_OK;
        }
    }
    if (compressed) AVIStreamRelease(compressed);
    if (stream) AVIStreamRelease(stream);
    if (file) AVIFileRelease(file);
    AVIFileExit();
    return ok;
}

std::vector<int> NalTypes(const std::vector<uint8_t>& b)
{
    std::vector<int> types;
    for (size_t i = 0; i + 3 < b.size(); ++i)
        if (b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1) {
            types.push_back(b[i + 3] & 0x1f);
            i += 3;
        }
    return types;
}

std::string X264Options(const std::vector<uint8_t>& frame)
{
    const std::string text(frame.begin(), frame.end());
    size_t at = text.find("options: ");
    if (at == std::string::npos) return std::string();
    at += 9;
    return text.substr(at, text.find('\0', at) - at);
}

std::vector<uint8_t> DecodeFrame(const std::string& path, int n, int width, int height)
{
    std::string raw = testkit::MakeTempDir("decoded") + "\\frame.bgr";
    char filter[64];
    snprintf(filter, sizeof filter, "select=eq(n\\,%d)", n);
    testkit::LinuxResult r = testkit::RunLinux(
        "ffmpeg -nostdin -v error -i " + testkit::ShellQuote(testkit::UnixPath(path)) + " -vf " +
        testkit::ShellQuote(filter) +
        " -vsync passthrough -frames:v 1 -f rawvideo -pix_fmt bgr24 -y " +
        testkit::ShellQuote(testkit::UnixPath(raw)));
    std::string bytes = testkit::ReadFile(raw);
    if (r.exitCode != 0 || bytes.size() != static_cast<size_t>(width) * height * 3) return {};
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

double Psnr(const std::vector<uint8_t>& decoded, const Picture& p)
{
    const int width = p.header.biWidth, height = p.header.biHeight, bpp = p.header.biBitCount / 8;
    const int stride = (width * bpp + 3) & ~3;
    if (decoded.size() != static_cast<size_t>(width) * height * 3) return 0;
    double sum = 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = p.bits.data() + static_cast<size_t>(height - 1 - y) * stride;
        const uint8_t* dec = decoded.data() + static_cast<size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                const double d = double(src[x * bpp + c]) - dec[x * 3 + c];
                sum += d * d;
            }
    }
    const double mse = sum / (double(width) * height * 3);
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace codeckit
