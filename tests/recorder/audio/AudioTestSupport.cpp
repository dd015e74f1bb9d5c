#include "AudioTestSupport.h"

#include "TestKit.h"

#include <mmsystem.h>

#include <cmath>

namespace {
const double kPi = 3.14159265358979323846;
}
#include <cstdio>
#include <cstdlib>

namespace audiotest {

std::string TestBinDir()
{
    char buf[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buf, MAX_PATH);
    std::string path = buf;
    return path.substr(0, path.find_last_of('\\'));
}

void UseProgramFolderDlls()
{
    SetDllDirectoryA(testkit::ProgramDir().c_str());
}

void WarmUpSoundSystem()
{
    waveInGetNumDevs();
}

std::vector<short> Tone(double hz, double seconds, UINT32 rate, double amplitude, int channels)
{
    const size_t frames = (size_t)llround(seconds * rate);
    std::vector<short> pcm(frames * channels);
    for (size_t i = 0; i < frames; ++i) {
        short s = (short)lround(amplitude * sin(2 * kPi * hz * i / rate));
        for (int c = 0; c < channels; ++c) pcm[i * channels + c] = s;
    }
    return pcm;
}

double MeanVolumeDb(const std::string& path, double start, double duration)
{
    char range[64] = "";
    if (duration > 0) snprintf(range, sizeof range, "-ss %.3f -t %.3f ", start, duration);
    auto r = testkit::RunLinux("ffmpeg -nostdin -hide_banner " + std::string(range) + "-i " +
                                   testkit::ShellQuote(testkit::UnixPath(path)) +
                                   " -af volumedetect -f null - 2>&1",
                               120000);
    size_t at = r.out.find("mean_volume:");
    return at == std::string::npos ? 1000.0 : atof(r.out.c_str() + at + 12);
}

double DecodedSeconds(const std::string& path, UINT32 rate)
{
    auto r = testkit::RunLinux("ffmpeg -nostdin -v error -i " +
                                   testkit::ShellQuote(testkit::UnixPath(path)) +
                                   " -ac 1 -f s16le - | wc -c",
                               120000);
    return r.exitCode == 0 ? atof(r.out.c_str()) / 2 / rate : -1;
}

double DominantFrequency(const std::string& path)
{
    const int rate = 8000;
    std::string raw = testkit::MakeTempDir("freq") + "\\mono.raw";
    char fmt[96];
    snprintf(fmt, sizeof fmt, " -ac 1 -ar %d -f s16le ", rate);
    testkit::RunLinux("ffmpeg -nostdin -v error -y -i " +
                          testkit::ShellQuote(testkit::UnixPath(path)) + fmt +
                          testkit::ShellQuote(testkit::UnixPath(raw)),
                      120000);
    std::string bytes = testkit::ReadFile(raw);
    const short* s = reinterpret_cast<const short*>(bytes.data());
    const size_t n = bytes.size() / 2;

    // Only the windows that carry sound: the capture may start in silence.
    const size_t window = rate / 10;
    std::vector<double> loud;
    for (size_t w = 0; w + window <= n; w += window) {
        double sum = 0;
        for (size_t i = w; i < w + window; ++i) sum += (double)s[i] * s[i];
        if (sqrt(sum / window) > 300) loud.insert(loud.end(), s + w, s + w + window);
    }
    if (loud.size() < window) return 0;
    // Goertzel power every 5 Hz from 50 Hz to 3 kHz.
    double best = 0, bestHz = 0;
    for (double hz = 50; hz <= 3000; hz += 5) {
        double coeff = 2 * cos(2 * kPi * hz / rate), s1 = 0, s2 = 0;
        for (double x : loud) {
            double s0 = x + coeff * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
        if (power > best) {
            best = power;
            bestHz = hz;
        }
    }
    return bestHz;
}

std::vector<std::string> FilesIn(const std::string& dir, const std::string& wildcard)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((dir + "\\" + wildcard).c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(d.cFileName);
    } while (FindNextFileA(h, &d));
    FindClose(h);
    return names;
}

}  // namespace audiotest
