// x264vfw.dll at 1920x1080: time per frame and bytes per frame of the
// recorder's two speed modes on screen-like content, through the driver's
// own entry as a host calls it, with the machine's cores.
//   x264vfw_bench.exe [frames]   (default 300)
#include <windows.h>
#include <vfw.h>

#include "platform/x264vfw/RgbToI420.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kWidth = 1920, kHeight = 1080;
const DWORD kX264 = mmioFOURCC('X', '2', '6', '4');
const char kKey[] = "Software\\OrbiskBench\\x264vfw";

const char kFastCmdline[] =
    "--no-8x8dct  --sync-lookahead 0 --sliced-threads --aq-mode 0 --b-adapt 0 --no-cabac "
    "--no-deblock --me dia --no-mixed-refs --partitions none --rc-lookahead 0 --ref 1 "
    "--scenecut 0 --subme 0 --trellis 0 --no-weightb --weightp 0";
const char kNormalCmdline[] =
    "--no-8x8dct  --sync-lookahead 0 --sliced-threads --aq-mode 0 --b-adapt 1 --bframes 1 "
    "--no-cabac --no-deblock --me dia --no-mixed-refs --partitions none --rc-lookahead 2 --ref 1 "
    "--scenecut 1 --subme 2 --trellis 0 --no-weightb --weightp 0";

double Now()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(freq.QuadPart);
}

// A desktop as a screen recorder sees it: a wallpaper, two windows full of
// small dark text on white, an editor whose text scrolls a line every 10
// frames while a line is typed, a small animation and a moving cursor.
// Updated in place so that making a frame costs nothing worth timing.
class Screen {
public:
    Screen() : stride_(kWidth * 3), bits_(size_t(stride_) * kHeight)
    {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                Put(x, y, 40 + y * 40 / kHeight, 90 + x * 30 / kWidth, 140);
        Window(60, 40, 900, 980);
        Window(1000, 120, 860, 700);
        for (int line = 0; line < kLines; ++line) TextLine(1010, 160 + line * 16, 840, line);
        for (int line = 0; line < 58; ++line) TextLine(70, 80 + line * 16, 880, 1000 + line);
    }

    void Render(int frame)
    {
        RestoreUnderCursor();
        if (frame % 10 == 0) ScrollEditor(frame / 10);
        // Typing: one more glyph on the editor's last line each frame.
        Glyph(1010 + (frame % 100) * 8, 160 + (kLines - 1) * 16, frame * 31 + 7);
        Animation(frame);
        DrawCursor(200 + (frame * 7) % 1500, 300 + (frame * 3) % 600);
    }

    const uint8_t* bits() const { return bits_.data(); }
    DWORD size() const { return DWORD(bits_.size()); }

private:
    static const int kLines = 40;

    void Put(int x, int y, int r, int g, int b)
    {
        uint8_t* p = &bits_[size_t(kHeight - 1 - y) * stride_ + x * 3];  // bottom-up
        p[0] = uint8_t(b), p[1] = uint8_t(g), p[2] = uint8_t(r);
    }
    void Fill(int x0, int y0, int w, int h, int r, int g, int b)
    {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) Put(x, y, r, g, b);
    }
    void Window(int x, int y, int w, int h)
    {
        Fill(x, y, w, h, 255, 255, 255);
        Fill(x, y, w, 28, 32, 96, 200);  // title bar
    }
    void Glyph(int x, int y, unsigned seed)
    {
        unsigned h = seed * 2654435761u;
        if ((h >> 28) < 3)  // a blank
            return Fill(x, y, 8, 16, 255, 255, 255);
        for (int gy = 0; gy < 16; ++gy)
            for (int gx = 0; gx < 8; ++gx) {
                bool ink = gy >= 3 && gy < 13 && gx < 6 && ((h >> ((gx + 2 * (gy / 2)) % 27)) & 1);
                int v = ink ? 20 : 255;
                Put(x + gx, y + gy, v, v, v);
            }
    }
    void TextLine(int x, int y, int width, int line)
    {
        int length = 20 + int((line * 7919u) % (width / 8 - 20));
        for (int c = 0; c < width / 8; ++c) {
            if (c < length)
                Glyph(x + c * 8, y, line * 131 + c);
            else
                Fill(x + c * 8, y, 8, 16, 255, 255, 255);
        }
    }
    void ScrollEditor(int step)
    {
        // Every line moves up by one; a new line enters at the bottom.
        const int x = 1010, y = 160, w = 840, h = kLines * 16;
        for (int row = y; row < y + h - 16; ++row)
            memcpy(&bits_[size_t(kHeight - 1 - row) * stride_ + x * 3],
                   &bits_[size_t(kHeight - 1 - (row + 16)) * stride_ + x * 3], w * 3);
        TextLine(x, y + h - 16, w, kLines + step);
    }
    void Animation(int frame)
    {
        for (int y = 0; y < 180; ++y)
            for (int x = 0; x < 320; ++x)
                Put(1500 + x, 860 + y, (x + frame * 4) & 255, (y * 2 + frame) & 255,
                    ((x + y) / 2 + frame * 2) & 255);
    }
    void DrawCursor(int x, int y)
    {
        cursorX_ = x, cursorY_ = y;
        for (int row = 0; row < 20; ++row)
            memcpy(&saved_[row * 12 * 3], &bits_[size_t(kHeight - 1 - (y + row)) * stride_ + x * 3],
                   12 * 3);
        for (int row = 0; row < 20; ++row)
            for (int col = 0; col <= row * 12 / 20; ++col) {
                bool edge = col == 0 || col == row * 12 / 20 || row == 19;
                int v = edge ? 0 : 255;
                Put(x + col, y + row, v, v, v);
            }
    }
    void RestoreUnderCursor()
    {
        if (cursorX_ < 0) return;
        for (int row = 0; row < 20; ++row)
            memcpy(&bits_[size_t(kHeight - 1 - (cursorY_ + row)) * stride_ + cursorX_ * 3],
                   &saved_[row * 12 * 3], 12 * 3);
    }

    int stride_;
    std::vector<uint8_t> bits_;
    int cursorX_ = -1, cursorY_ = -1;
    uint8_t saved_[20 * 12 * 3] = {};
};

void SetSettings(const char* preset, const char* cmdline, DWORD ratefactor)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    DWORD keyint = 250;
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "preset", REG_SZ, preset, DWORD(strlen(preset) + 1));
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "extra_cmdline", REG_SZ, cmdline,
                    DWORD(strlen(cmdline) + 1));
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "ratefactor", REG_DWORD, &ratefactor,
                    sizeof ratefactor);
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "keyint_max", REG_DWORD, &keyint, sizeof keyint);
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "profile", REG_SZ, "high", 5);
}

struct Result {
    double msPerFrame = 0, worstMs = 0;
    double bytesPerFrame = 0, keyBytes = 0;
    int threads = 0;
    bool ok = false;
};

Result Run(const char* preset, const char* cmdline, DWORD ratefactor, int frames, bool everyKey)
{
    SetSettings(preset, cmdline, ratefactor);
    Result r;
    HIC hic = ICOpen(ICTYPE_VIDEO, kX264, ICMODE_COMPRESS);
    if (!hic) return r;
    BITMAPINFOHEADER in{}, out{};
    in.biSize = sizeof in;
    in.biWidth = kWidth;
    in.biHeight = kHeight;
    in.biPlanes = 1;
    in.biBitCount = 24;
    in.biSizeImage = kWidth * kHeight * 3;
    ICCOMPRESSFRAMES info{};
    info.dwRate = 25;
    info.dwScale = 1;
    ICSendMessage(hic, ICM_COMPRESS_FRAMES_INFO, DWORD_PTR(&info), sizeof info);
    std::vector<uint8_t> buffer;
    if (ICCompressGetFormat(hic, &in, &out) == ICERR_OK) {
        buffer.resize(ICCompressGetSize(hic, &in, &out));
        r.ok = ICCompressBegin(hic, &in, &out) == ICERR_OK;
    }
    Screen screen;
    double total = 0, bytes = 0;
    for (int i = 0; i < frames && r.ok; ++i) {
        screen.Render(i);
        BITMAPINFOHEADER o = out;
        DWORD ckid = 0, flags = 0;
        double t0 = Now();
        r.ok = ICCompress(hic, (everyKey || i == 0) ? ICCOMPRESS_KEYFRAME : 0, &o, buffer.data(),
                          &in, const_cast<uint8_t*>(screen.bits()), &ckid, &flags, i, 0, 10000,
                          nullptr, nullptr) == ICERR_OK;
        double ms = (Now() - t0) * 1000;
        if (i > 0) {  // the first frame also starts x264's threads
            total += ms;
            r.worstMs = std::max(r.worstMs, ms);
        }
        bytes += o.biSizeImage;
        if (i == 0) {
            r.keyBytes = o.biSizeImage;
            std::string text(buffer.begin(), buffer.begin() + o.biSizeImage);
            size_t at = text.find(" threads=");
            if (at != std::string::npos) r.threads = atoi(text.c_str() + at + 9);
        }
    }
    ICCompressEnd(hic);
    ICClose(hic);
    r.msPerFrame = total / (frames - 1);
    r.bytesPerFrame = bytes / frames;
    return r;
}

double ConversionMs()
{
    Screen screen;
    std::vector<uint8_t> planes(kWidth * kHeight * 3 / 2);
    x264vfw::I420Planes p;
    p.y = planes.data();
    p.u = p.y + kWidth * kHeight;
    p.v = p.u + kWidth * kHeight / 4;
    p.strideY = kWidth;
    p.strideU = kWidth / 2;
    x264vfw::RgbLayout layout{kWidth, kHeight, 3, kWidth * 3, true};
    x264vfw::RgbToI420 converter(x264vfw::YuvMatrix::Bt709, false);
    const int runs = 50;
    double t0 = Now();
    for (int i = 0; i < runs; ++i) converter.Convert(layout, screen.bits(), p);
    return (Now() - t0) * 1000 / runs;
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(2, atoi(argv[1])) : 300;
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir = exe;
    dir = dir.substr(0, dir.find_last_of('\\'));
    dir = dir.substr(0, dir.find_last_of('\\'));
    std::string dll = dir + "\\Orbisk\\plugins\\x264\\x264vfw.dll";
    HMODULE module = LoadLibraryA(dll.c_str());
    FARPROC proc = module ? GetProcAddress(module, "DriverProc") : nullptr;
    if (!proc || !ICInstall(ICTYPE_VIDEO, kX264, LPARAM(proc), nullptr, ICINSTALL_FUNCTION)) {
        fprintf(stderr, "cannot install %s\n", dll.c_str());
        return 1;
    }
    SetEnvironmentVariableA("ORBISK_X264VFW_KEY", kKey);
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    printf("x264vfw at %dx%d, 24-bit bottom-up, %d frames of screen-like content, %lu cores\n",
           kWidth, kHeight, frames, si.dwNumberOfProcessors);
    printf("RGB to I420 conversion alone: %.2f ms per frame\n\n", ConversionMs());
    printf("%-34s %8s %8s %8s %7s %10s %9s %9s\n", "mode", "ms/frame", "worst", "fps", "threads",
           "bytes/frm", "key bytes", "Mbit/s@25");
    struct Mode {
        const char* name;
        const char* preset;
        const char* cmdline;
        bool everyKey;
    } modes[] = {
        {"fast (superfast + command line)", "superfast", kFastCmdline, false},
        {"normal (medium + command line)", "medium", kNormalCmdline, false},
        {"fast, key frame every frame", "superfast", kFastCmdline, true},
        {"normal, key frame every frame", "medium", kNormalCmdline, true},
    };
    for (DWORD rf : {180, 150}) {
        printf("ratefactor %lu (quality choice %d)\n", rf, rf == 180 ? 0 : 1);
        for (const Mode& m : modes) {
            Result r = Run(m.preset, m.cmdline, rf, frames, m.everyKey);
            if (!r.ok) {
                printf("%-34s failed\n", m.name);
                continue;
            }
            printf("%-34s %8.2f %8.2f %8.1f %7d %10.0f %9.0f %9.2f\n", m.name, r.msPerFrame,
                   r.worstMs, 1000.0 / r.msPerFrame, r.threads, r.bytesPerFrame, r.keyBytes,
                   r.bytesPerFrame * 8 * 25 / 1e6);
        }
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    return 0;
}
