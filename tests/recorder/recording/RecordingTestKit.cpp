#include "RecordingTestKit.h"

#include "TestKit.h"
#include "core/AppPaths.h"
#include "core/ProgramFolder.h"
#include "recorder/audio/AudioRecording.h"
#include "recorder/codecs/CodecPresets.h"
#include "recorder/codecs/PluginCodecs.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/codecs/VideoOptions.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordLoop.h"
#include "recorder/recording/RecordingState.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rectest {

namespace {

RECT VirtualScreen()
{
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace

MovingScreen::MovingScreen() : testkit::ScreenWindow(Picture::Moving, VirtualScreen()) {}

// The current user's key of this process is a scratch key: the encoder
// presets the recording writes, and the compressor reads, stay the test's
// own. The machine's key stays real: the sound devices are listed there.
struct Recorder::Impl {
    Impl()
    {
        char name[96];
        snprintf(name, sizeof name, "Software\\OrbiskTests\\recording-%lu", GetCurrentProcessId());
        path = name;
        RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, key);
    }
    ~Impl()
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(key);
        RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    }
    std::string path;
    HKEY key = nullptr;
};

Recorder::Recorder(unsigned frameRate) : m_impl(new Impl), m_host(new testkit::RecordingWatch)
{
    // The converter, the plug-ins and lame_enc.dll are found in the program
    // folder, as they are for Orbisk.exe.
    SetProgramFolderForTests(testkit::ProgramDir());
    SetDllDirectoryA(testkit::ProgramDir().c_str());
    WriteX264Defaults();
    WriteX264Preset(1);
    InstallPluginCodec(testkit::ProgramDir() + "\\plugins\\x264\\x264vfw.dll", kX264Handler);
    g_videoOpts.SetFrameRate(frameRate);
    g_videoOpts.m_fccHandler = kX264Handler;
    g_bRecordSpeaker = 0;
    g_bRecordMic = 0;
    g_nCountdownSeconds = 0;
    g_bAutoStopWatch = 0;
    m_saveFolder = testkit::MakeTempDir("recordings");
    SetVideoSaveFolder(m_saveFolder);
    InitRecordDefaults(nullptr);
    g_nRecordMode = 4;
}

Recorder::~Recorder()
{
    if (g_bRecording) CancelRecording();
    WaitIdle();
    SetProgramFolderForTests(std::string());
#ifdef ORBISK_TEST_HOOKS
    SetRecordingCompressorForTests(0);
#endif
}

bool Recorder::WaitIdle(DWORD timeoutMs)
{
    // The phase turns idle once the save has finished (or the recording
    // failed); the events it sent on the way arrive meanwhile.
    m_host->Pump(100);
    bool idle = m_host->PumpUntil([] { return GetRecordPhase() == RecordPhase::Idle; }, timeoutMs);
    m_host->Pump(100);
    return idle;
}

std::vector<std::string> Recorder::SavedFiles(const char* pattern) const
{
    std::vector<std::pair<FILETIME, std::string>> found;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((m_saveFolder + "\\" + pattern).c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do found.push_back({fd.ftCreationTime, m_saveFolder + "\\" + fd.cFileName});
        while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return CompareFileTime(&a.first, &b.first) < 0 ||
               (CompareFileTime(&a.first, &b.first) == 0 && a.second < b.second);
    });
    std::vector<std::string> out;
    for (auto& f : found) out.push_back(f.second);
    return out;
}

bool Recorder::PumpRecorded(DWORD ms)
{
    return m_host->PumpUntil([ms] { return g_recordStats.elapsedMs.load() >= ms; }, ms + 30000);
}

long CountPackets(const std::string& path)
{
    testkit::LinuxResult r = testkit::RunLinux(
        "ffprobe -v error -count_packets -select_streams v:0 -show_entries stream=nb_read_packets "
        "-of csv=p=0 " + testkit::ShellQuote(testkit::UnixPath(path)), 120000);
    return atol(r.out.c_str());
}

VideoFacts ProbeVideo(const std::string& path)
{
    auto f = testkit::Probe(path, "v:0", "codec_name,width,height,nb_frames,duration");
    VideoFacts v;
    v.codec = f["codec_name"];
    v.width = atoi(f["width"].c_str());
    v.height = atoi(f["height"].c_str());
    v.frames = atol(f["nb_frames"].c_str());
    v.duration = atof(f["duration"].c_str());
    return v;
}

int FrozenStretches(const std::string& path, double minSeconds)
{
    char filter[96];
    snprintf(filter, sizeof filter, "freezedetect=n=0.001:d=%.2f", minSeconds);
    testkit::LinuxResult r = testkit::RunLinux(
        "ffmpeg -nostdin -v info -i " + testkit::ShellQuote(testkit::UnixPath(path)) + " -vf " +
            filter + " -map 0:v -f null - 2>&1 | grep -c freeze_start",
        120000);
    return atoi(r.out.c_str());
}

SoundFacts ProbeSound(const std::string& path)
{
    SoundFacts s;
    auto f = testkit::Probe(path, "a:0", "codec_name,duration");
    s.codec = f["codec_name"];
    s.duration = atof(f["duration"].c_str());
    std::string pcm = testkit::MakeTempDir("pcm") + "\\sound.raw";
    testkit::RunLinux(
        "ffmpeg -nostdin -v error -i " + testkit::ShellQuote(testkit::UnixPath(path)) +
        " -map 0:a -ac 1 -ar 44100 -f s16le " + testkit::ShellQuote(testkit::UnixPath(pcm)));
    std::string bytes = testkit::ReadFile(pcm);
    const short* x = reinterpret_cast<const short*>(bytes.data());
    size_t n = bytes.size() / 2, window = 441;
    std::vector<short> loud;
    for (size_t w = 0; w + window <= n; w += window) {
        double sum = 0;
        for (size_t i = w; i < w + window; ++i) sum += (double)x[i] * x[i];
        if (sum / window >= 1000.0 * 1000.0) loud.insert(loud.end(), x + w, x + w + window);
    }
    s.loudSeconds = loud.size() / 44100.0;
    // The strongest frequency between 50 Hz and 2 kHz (Goertzel, 1 Hz steps,
    // over at most two seconds): glitches from a loaded machine do not move it.
    size_t len = std::min<size_t>(loud.size(), 2 * 44100);
    double bestPower = 0;
    for (int hz = 50; hz <= 2000 && len; ++hz) {
        double k = 2.0 * cos(2.0 * 3.14159265358979 * hz / 44100.0), s1 = 0, s2 = 0;
        for (size_t i = 0; i < len; ++i) {
            double s0 = loud[i] + k * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        double power = s1 * s1 + s2 * s2 - k * s1 * s2;
        if (power > bestPower) {
            bestPower = power;
            s.frequency = hz;
        }
    }
    return s;
}

}  // namespace rectest
