// Picture and sound in sync, measured in saved files: a window flashes white
// once a second while a 50 ms beep goes into the sound server at the same
// instant; a minute is recorded with the microphone (the server's monitor),
// and in the file each flash is matched with its beep. The beep takes its
// own time to come back through the server (waveOut to waveIn): that delay
// is measured for every beep in the same run and taken off.
//
// The recordings are made by the real Orbisk.exe, started and driven by its
// hot key as a user would (and one, whose system sound comes from a stand-in
// client, by the recorder in the test's process); the flashes, the beeps and
// the stream that measures their way come from a helper program
// (sync_helper.cpp).
#include <gtest/gtest.h>

#include "FakeAudioClient.h"
#include "ProgramTestFixture.h"
#include "RecordingTestKit.h"
#include "SyncSignals.h"
#include "TestKit.h"
#include "core/AppPaths.h"
#include "recorder/audio/AudioRecording.h"
#include "recorder/recording/AviSegments.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordingState.h"

#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

using namespace synctest;

namespace {

using namespace programtest;

// The delay of each beep's way through the server: from its write to its
// capture (NaN for a beep not heard near the usual delay: one the sound
// system lost or held back on a busy machine is no measurement).
std::vector<double> PathDelays(const std::vector<DWORD>& written, const std::vector<double>& heard)
{
    auto closest = [&](DWORD w, double from, double to) {
        double d = NAN;
        for (double h : heard)
            if (h - w >= from && h - w < to && (std::isnan(d) || h - w < d)) d = h - w;
        return d;
    };
    std::vector<double> first;
    for (DWORD w : written) {
        double d = closest(w, -20, 2000);
        if (!std::isnan(d)) first.push_back(d);
    }
    const double usual = Median(first);
    std::vector<double> delays;
    for (DWORD w : written) delays.push_back(closest(w, usual - 150, usual + 150));
    return delays;
}

// When each flash begins in a saved file (s): the first frame of a white
// stretch, less half a frame, since the screen turned white at some moment
// between that grab and the one before.
// `at`: the flash window's middle in the video's picture.
std::vector<double> FlashTimes(const std::string& video, double frameSeconds, POINT at)
{
    char crop[64];
    snprintf(crop, sizeof crop, "crop=8:8:%ld:%ld", at.x - 4, at.y - 4);
    testkit::LinuxResult r = RunLinux(
        "ffmpeg -nostdin -v error -i " + ShellQuote(UnixPath(video)) + " -map 0:v -vf " + crop +
            ",format=gray,signalstats,"
            "metadata=print:key=lavfi.signalstats.YAVG:file=- -f null - 2>&1",
        120000);
    std::vector<double> flashes;
    std::istringstream lines(r.out);
    std::string line;
    double pts = 0;
    bool white = false;
    while (std::getline(lines, line)) {
        size_t at = line.find("pts_time:");
        if (at != std::string::npos) pts = atof(line.c_str() + at + 9);
        at = line.find("YAVG=");
        if (at == std::string::npos) continue;
        const double y = atof(line.c_str() + at + 5);
        if (!white && y > 160) flashes.push_back(pts - frameSeconds / 2);
        if (y > 160) white = true;
        if (y < 60) white = false;
    }
    return flashes;
}

std::vector<short> DecodeSound(const std::string& file)
{
    const std::string raw = MakeTempDir("sync") + "\\sound.raw";
    RunLinux("ffmpeg -nostdin -v error -i " + ShellQuote(UnixPath(file)) +
                          " -map 0:a -ac 1 -ar 44100 -f s16le " +
                          ShellQuote(UnixPath(raw)),
                      120000);
    std::string bytes = ReadFile(raw);
    std::vector<short> mono(bytes.size() / 2);
    memcpy(mono.data(), bytes.data(), mono.size() * 2);
    return mono;
}

// What the helper program saw: the flashes (shown, beep written) and the
// beeps its stream heard (on the stream's clock, and from waveInStart).
struct HelperResult {
    std::vector<DWORD> shown, written;
    std::vector<double> heard, heardFromStartCall;
};

HelperResult ReadHelperResult(const std::string& path)
{
    HelperResult r;
    std::istringstream lines(ReadFile(path));
    std::string kind;
    while (lines >> kind) {
        if (kind == "flash") {
            unsigned long shown = 0, written = 0;
            lines >> shown >> written;
            r.shown.push_back((DWORD)shown);
            r.written.push_back((DWORD)written);
        } else if (kind == "heard") {
            double heard = 0, fromStart = 0;
            lines >> heard >> fromStart;
            r.heard.push_back(heard);
            r.heardFromStartCall.push_back(fromStart);
        }
    }
    return r;
}

// The helper program, flashing and beeping from a tick on until stopped.
class FlashesAndBeeps {
public:
    FlashesAndBeeps() : talk_(MakeTempDir("synctalk"))
    {
        // A process's first use of the sound system can take 10 s under Wine.
        started_ = helper_.Start(TestBinDir() + "\\sync_helper.exe", "\"" + talk_ + "\"") &&
                   WaitForFile(talk_ + "\\ready", 60000);
    }
    // Its window is on the screen and its stream runs.
    bool Ready() const { return started_; }
    void From(DWORD tick)
    {
        WriteFile(talk_ + "\\go.part", std::to_string(tick));
        MoveFileExA((talk_ + "\\go.part").c_str(), (talk_ + "\\go").c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    void Stop() { WriteFile(talk_ + "\\stop", "stop"); }
    // What it saw, once it is done (empty when it never was).
    HelperResult Result()
    {
        // It looks for its beeps in what it heard first: slow on a slow machine.
        const DWORD since = GetTickCount();
        while (!testkit::FileExists(talk_ + "\\done") && helper_.Running() && GetTickCount() - since < 180000)
            Sleep(100);
        if (!testkit::FileExists(talk_ + "\\done")) {
            ADD_FAILURE() << "the flashing helper gave no result; its exit code: " << helper_.Wait(0);
            return HelperResult();
        }
        helper_.Wait(10000);
        return ReadHelperResult(talk_ + "\\result");
    }

private:
    std::string talk_;
    Process helper_;
    bool started_ = false;
};

struct SyncFigures {
    size_t flashes = 0;
    std::vector<double> errors;  // ms, the beep's place in the file less where it belongs
    std::vector<double> paths;   // ms, each beep's way through the server
    double fromStartCall = 0;    // the way counted from waveInStart
    double mean = 0, drift = 0;  // drift: ms over a minute
    double Low() const { return *std::min_element(errors.begin(), errors.end()); }
    double High() const { return *std::max_element(errors.begin(), errors.end()); }
};

// The longest time between two pictures of a video (ms).
double LongestGapMs(const std::string& video)
{
    testkit::LinuxResult r = RunLinux("ffprobe -v error -select_streams v:0 -show_entries packet=dts_time,size "
                             "-of csv=p=0 " + ShellQuote(UnixPath(video)), 120000);
    std::istringstream lines(r.out);
    std::string line;
    double last = -1, longest = 0;
    while (std::getline(lines, line)) {
        const size_t comma = line.find(',');
        if (comma == std::string::npos || atol(line.c_str() + comma + 1) <= 0) continue;
        const double t = atof(line.c_str());
        if (last >= 0) longest = std::max(longest, (t - last) * 1000.0);
        last = t;
    }
    return longest;
}

// Each flash of the file matched with its beep. A beep more than 250 ms from
// its place counts as not found.
SyncFigures MeasureSync(const std::string& file, const HelperResult& seen, POINT flashAt)
{
    SyncFigures f;
    const std::vector<double> delays = PathDelays(seen.written, seen.heard);
    const std::vector<double> fromStart = PathDelays(seen.written, seen.heardFromStartCall);
    const std::vector<double> flashes = FlashTimes(file, 1.0 / 25, flashAt);
    const std::vector<double> beeps = BeepOnsets(DecodeSound(file), kRate);
    f.flashes = flashes.size();
    std::vector<double> at, starts;
    // The file's flashes are the flashes shown, in order.
    for (size_t i = 0; i < flashes.size() && i < seen.shown.size(); ++i) {
        if (std::isnan(delays[i])) continue;
        // The beep was written a moment after the screen showed the flash,
        // and took its way through the server.
        const double expected =
            flashes[i] + (seen.written[i] - seen.shown[i]) / 1000.0 + delays[i] / 1000.0;
        auto closest = std::min_element(beeps.begin(), beeps.end(), [&](double a, double b) {
            return std::fabs(a - expected) < std::fabs(b - expected);
        });
        if (closest == beeps.end() || std::fabs(*closest - expected) > 0.25) continue;
        f.errors.push_back((*closest - expected) * 1000.0);
        f.paths.push_back(delays[i]);
        if (!std::isnan(fromStart[i])) starts.push_back(fromStart[i]);
        at.push_back(flashes[i]);
    }
    if (f.errors.empty()) return f;
    for (double e : f.errors) f.mean += e;
    f.mean /= f.errors.size();
    // The slope of the errors, over 60 s.
    double mt = 0, sxy = 0, sxx = 0;
    for (double t : at) mt += t;
    mt /= at.size();
    for (size_t i = 0; i < at.size(); ++i) {
        sxy += (at[i] - mt) * (f.errors[i] - f.mean);
        sxx += (at[i] - mt) * (at[i] - mt);
    }
    f.drift = sxx > 0 ? sxy / sxx * 60.0 : 0;
    f.fromStartCall = Median(starts);
    return f;
}

void Report(const std::string& what, const SyncFigures& f)
{
    printf("SYNC %s: sound path %.0f ms (%.0f to %.0f; counted from waveInStart %.0f); sound "
           "against picture with the path taken off, %zu flashes: mean %+.1f ms, median %+.1f, "
           "min %+.1f, max %+.1f, drift %+.1f ms/min\n",
           what.c_str(), Median(f.paths), *std::min_element(f.paths.begin(), f.paths.end()),
           *std::max_element(f.paths.begin(), f.paths.end()), f.fromStartCall, f.errors.size(),
           f.mean, Median(f.errors), f.Low(), f.High(), f.drift);
    fflush(stdout);
}

class RecordingSync : public programtest::ProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(RecordingSync, EveryBeepMeetsItsFlashWithinTheSoundPathsDelay)
{
    // The whole screen at 25 frames a second, with the microphone, saved
    // into a folder of the test's own.
    const std::string save = work_ + "\\save";
    CreateDirectoryA(save.c_str(), nullptr);
    WriteFile(config_, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                       "<videoSavePath path=\"" + save + "\" />\n"
                       "<start_countdown countdown=\"0\" />\n"
                       "<rec_speaker rec=\"0\" />\n<rec_micphone rec=\"1\" />\n"
                       "<auto_play_oncomplete auto_play=\"0\" />\n</vintracfg>\n");
    FlashesAndBeeps helper;
    ASSERT_TRUE(helper.Ready());
    ASSERT_NE(nullptr, Start());
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    // Flashes from 2.5 s on: the microphone's stream may start 1 to 2 s late
    // under Wine, and what it did not capture is silence in the file.
    const DWORD from = GetTickCount();
    helper.From(timeGetTime() + 2500);
    // A flash is placed to the frame that shows it: a machine that grabs the
    // whole screen only a few times a second (an emulated processor) cannot
    // place them to 100 ms. The region recordings here measure it there.
    ASSERT_TRUE(WaitRecorded(3000));
    const double rate = atof(Frame()["frames_written"].c_str()) * 1000.0 /
                        std::max(1.0, atof(Frame()["recorded_ms"].c_str()));
    if (rate < 20.0) {
        PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
        helper.Stop();
        WaitUntil([&] { return VideosIn(save).size() == 1; }, 60000);
        GTEST_SKIP() << "this machine grabbed the whole screen " << rate
                     << " times a second; the measure needs 20";
    }
    Sleep(60000 - std::min<DWORD>(60000, GetTickCount() - from));
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    helper.Stop();
    // Saved: the file is there and the cover over the main window is gone.
    ASSERT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 1; }, 60000));
    ASSERT_TRUE(WaitShown("cover", false));
    const HelperResult seen = helper.Result();
    ASSERT_FALSE(seen.shown.empty());

    const SyncFigures f = MeasureSync(VideosIn(save)[0], seen, {(kArea.left + kArea.right) / 2,
                                                               (kArea.top + kArea.bottom) / 2});
    ASSERT_GE(f.flashes, 50u);
    ASSERT_GE(f.errors.size(), f.flashes * 2 / 3) << "beeps found for the flashes";
    Report("recording " + std::to_string(GetParam()), f);
    EXPECT_LT(std::fabs(f.mean), 100.0);
    EXPECT_LT(std::fabs(Median(f.errors)), 100.0);
    EXPECT_LT(std::fabs(f.drift), 100.0);
}

INSTANTIATE_TEST_SUITE_P(Recordings, RecordingSync, ::testing::Range(1, 6),
                         [](const ::testing::TestParamInfo<int>& i) {
                             return "Minute" + std::to_string(i.param);
                         });


// The system sound taking 2.5 s to start (a silent stand-in client) with the
// microphone mixed into it: the picture starts with the sound's first sample,
// so a flash and its beep meet as without the wait.
TEST(RecordingSyncStart, APictureStartsWithASystemSoundThatIsSlowToStart)
{
    FlashesAndBeeps helper;
    ASSERT_TRUE(helper.Ready());
    audiotest::FakeAudioClient client(audiotest::FakeAudioClient::Options(), nullptr);
    rectest::Recorder rec(25);
    g_nRecordMode = 1;
    SetCaptureRect(kArea);
    g_bRecordSpeaker = 1;
    g_bRecordMic = 1;
    SetLoopbackClientSourceForTests([&](IAudioClient** c) {
        Sleep(2500);
        return client.Source()(c);
    });
    StartRecording(false);
    helper.From(timeGetTime() + 4000);
    rec.Pump(30000);
    StopRecording();
    helper.Stop();
    ASSERT_TRUE(rec.WaitIdle(60000));
    SetLoopbackClientSourceForTests(nullptr);
    g_bRecordMic = 0;
    g_bRecordSpeaker = 0;
    const HelperResult seen = helper.Result();
    ASSERT_FALSE(seen.shown.empty());
    ASSERT_EQ(1u, rec.SavedFiles().size());

    const SyncFigures f = MeasureSync(rec.SavedFiles()[0], seen,
                                      {(kArea.right - kArea.left) / 2, (kArea.bottom - kArea.top) / 2});
    ASSERT_GE(f.flashes, 20u);
    Report("system sound 2.5 s late, microphone mixed in", f);
    // From the first flash on: a picture that started before the sound has
    // every beep of its first seconds 2.5 s away.
    EXPECT_GE(f.errors.size(), f.flashes * 4 / 5) << "beeps found for the flashes";
    EXPECT_LT(std::fabs(f.mean), 100.0);
}

// A long recording goes on in new files (here every 400 KB rather than
// 1.9 GB): the saved file holds every frame once, and the microphone's sound
// stays with the picture across the switches.
TEST(RecordingSyncSegments, ThirtySecondsInSeveralFilesKeepEveryFrameAndTheirSound)
{
    // A moving screen, the flashes above it; a region around them, small
    // enough for a slow machine to grab most frames.
    rectest::MovingScreen screen;
    FlashesAndBeeps helper;
    ASSERT_TRUE(helper.Ready());
    SetEnvironmentVariableA("ORBISK_SEGMENT_BYTES", "400000");
    rectest::Recorder rec(25);
    const RECT region = {0, 0, 640, 480};
    g_nRecordMode = 1;
    SetCaptureRect(region);
    g_bRecordMic = 1;
    StartRecording(false);
    helper.From(timeGetTime() + 2500);
    size_t files = 0;
    // How many files the video is in by the end.
    auto count = [&] {
        while (testkit::FileExists(SegmentPath(GetTempVideoPath(), (int)files))) ++files;
        return g_recordStats.elapsedMs >= 30000;
    };
    const bool full = rec.Host().PumpUntil(count, 60000);
    StopRecording();
    helper.Stop();
    ASSERT_TRUE(full);
    ASSERT_TRUE(rec.WaitIdle(120000));
    SetEnvironmentVariableA("ORBISK_SEGMENT_BYTES", nullptr);
    g_bRecordMic = 0;
    const HelperResult seen = helper.Result();
    ASSERT_FALSE(seen.shown.empty());
    EXPECT_GE(files, 2u) << "files the video went on in";

    ASSERT_EQ(1u, rec.SavedFiles().size());
    const std::string saved = rec.SavedFiles()[0];
    rectest::VideoFacts v = rectest::ProbeVideo(saved);
    const DWORD recorded = g_recordStats.elapsedMs;
    EXPECT_NEAR(recorded / 1000.0, v.duration, 0.3);
    EXPECT_NEAR(recorded / 40.0, v.frames, 3);
    auto read = testkit::Probe(saved, "v:0", "nb_read_frames", true);
    EXPECT_EQ((long)g_recordStats.framesWritten.load(), atol(read["nb_read_frames"].c_str()))
        << "every frame written, once";
    rectest::SoundFacts sound = rectest::ProbeSound(saved);
    EXPECT_EQ("mp3", sound.codec);
    EXPECT_NEAR(v.duration, sound.duration, 0.5);
    const SyncFigures f = MeasureSync(saved, seen, {(kArea.left + kArea.right) / 2 - region.left,
                                                    (kArea.top + kArea.bottom) / 2 - region.top});
    ASSERT_GE(f.flashes, 25u);
    ASSERT_GE(f.errors.size(), f.flashes * 2 / 3) << "beeps found for the flashes";
    Report("30 s in " + std::to_string(files) + " files", f);
    EXPECT_LT(std::fabs(f.mean), 100.0);
    // Every beep, those near a switch too: a flash is seen in the first frame
    // grabbed after it, so the longest wait between two grabs adds to it.
    EXPECT_LT(std::max(std::fabs(f.Low()), std::fabs(f.High())), 60.0 + LongestGapMs(saved));
    for (int n = 0; n < (int)files + 1; ++n)
        EXPECT_FALSE(testkit::FileExists(SegmentPath(GetTempVideoPath(), n))) << n;
}

}  // namespace
