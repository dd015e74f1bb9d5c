// Whole recordings through the commands the windows use, on a moving screen,
// with the H.264 plug-in and the real converter.
#include <gtest/gtest.h>

#include "FailingCompressor.h"
#include "RecordingTestKit.h"
#include "TestKit.h"
#include "core/AppPaths.h"
#include "recorder/audio/AudioRecording.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordLoop.h"
#include "recorder/recording/SaveRecording.h"
#include "recorder/recording/RecordingState.h"

#include <mmsystem.h>

#include <random>

using namespace rectest;

namespace {

class RecordingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { screen_ = new MovingScreen; }
    static void TearDownTestSuite()
    {
        delete screen_;
        screen_ = nullptr;
    }

    // Records for `ms` of recorded time; returns the time the recording
    // itself counted up to its last frame (a stop takes effect at the next
    // grab, later on a slow machine).
    DWORD RecordFor(Recorder& rec, DWORD ms)
    {
        StartRecording(false);
        EXPECT_TRUE(rec.PumpRecorded(ms));
        StopRecording();
        EXPECT_TRUE(rec.WaitIdle());
        return g_recordStats.elapsedMs;
    }

    static MovingScreen* screen_;
};

MovingScreen* RecordingTest::screen_ = nullptr;

TEST_F(RecordingTest, FiveSecondsAt25fpsGiveAnH264VideoOf25FramesASecond)
{
    Recorder rec(25);
    const DWORD recorded = RecordFor(rec, 5000);
    std::vector<std::string> files = rec.SavedFiles();
    ASSERT_EQ(1u, files.size());
    VideoFacts v = ProbeVideo(files[0]);
    EXPECT_EQ("h264", v.codec);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN) & ~1, v.width);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN) & ~1, v.height);
    EXPECT_GE(recorded, 5000u);
    EXPECT_NEAR(recorded / 40.0, v.frames, 3);
    EXPECT_NEAR(recorded / 1000.0, v.duration, 0.2);
    // The windows heard of the start and the stop, on this (the UI) thread,
    // and the save was announced.
    EXPECT_EQ(1u, rec.Host().Count("started"));
    EXPECT_EQ(1u, rec.Host().Count("stopped"));
    ASSERT_EQ(1u, rec.Host().Count("saved"));
    EXPECT_EQ((long)SaveResult::Saved, rec.Host().Seen("saved")[0].value);
    EXPECT_EQ(files[0], rec.Host().Seen("saved")[0].text);
    EXPECT_GE(rec.Host().Count("status"), 8u);
    for (const char* what : {"started", "stopped", "status", "saved", "cover"})
        for (const testkit::Noted& n : rec.Host().Seen(what))
            EXPECT_EQ(GetCurrentThreadId(), n.thread) << what;
    EXPECT_TRUE(rec.Host().Saw("cover", "正在保存，请稍后..."));
    EXPECT_FALSE(testkit::FileExists(GetTempVideoPath()));
}

TEST_F(RecordingTest, At60fpsTheVideoLastsAsLongAsTheRecording)
{
    Recorder rec(60);
    DWORD recorded = RecordFor(rec, 5000);
    std::vector<std::string> files = rec.SavedFiles();
    ASSERT_EQ(1u, files.size());
    VideoFacts v = ProbeVideo(files[0]);
    EXPECT_NEAR(recorded / 1000.0, v.duration, recorded / 1000.0 * 0.02);
    EXPECT_NEAR(recorded / 1000.0 * 60, v.frames, recorded / 1000.0 * 60 * 0.02);
}

TEST_F(RecordingTest, APauseLeavesNoGapAndNoFrozenStretch)
{
    Recorder rec(25);
    StartRecording(false);
    ASSERT_TRUE(rec.PumpRecorded(2000));
    TogglePause();
    rec.Pump(2000);
    TogglePause();
    ASSERT_TRUE(rec.PumpRecorded(4000));
    StopRecording();
    ASSERT_TRUE(rec.WaitIdle());
    const DWORD recorded = g_recordStats.elapsedMs;
    std::vector<std::string> files = rec.SavedFiles();
    ASSERT_EQ(1u, files.size());
    VideoFacts v = ProbeVideo(files[0]);
    EXPECT_NEAR(recorded / 1000.0, v.duration, 0.25);
    EXPECT_NEAR(recorded / 40.0, v.frames, 5);
    // The paused 2 s would be one; frames of a slow machine are tenths apart.
    EXPECT_EQ(0, FrozenStretches(files[0], 1.2));
    // The pause buttons blinked and ended on 0.
    std::vector<testkit::Noted> blinks = rec.Host().Seen("blink");
    ASSERT_GE(blinks.size(), 3u);
    EXPECT_EQ(0, blinks.back().value);
    EXPECT_EQ(1u, rec.Host().Count("paused"));
    EXPECT_EQ(1u, rec.Host().Count("resumed"));
}

TEST_F(RecordingTest, CountdownTicksThreeTwoOneThenStarts)
{
    Recorder rec(25);
    g_nCountdownSeconds = 3;
    DWORD t0 = GetTickCount();
    StartRecording(false);
    EXPECT_EQ(RecordPhase::CountingDown, GetRecordPhase());
    // A second start during the countdown must not start a second recording.
    rec.Pump(500);
    StartRecording(false);
    rec.Pump(3500);
    // 3, 2, 1 a second apart, then 0: the countdown window closes.
    std::vector<testkit::Noted> ticks = rec.Host().Seen("countdown");
    ASSERT_EQ(4u, ticks.size());
    EXPECT_EQ(3, ticks[0].value);
    EXPECT_EQ(2, ticks[1].value);
    EXPECT_EQ(1, ticks[2].value);
    EXPECT_EQ(0, ticks[3].value);
    // (Noted as they arrive here: a busy machine delivers some late.)
    EXPECT_NEAR(1000, (int)(ticks[1].tick - ticks[0].tick), 400);
    EXPECT_NEAR(1000, (int)(ticks[2].tick - ticks[1].tick), 400);
    std::vector<testkit::Noted> started = rec.Host().Seen("started");
    ASSERT_EQ(1u, started.size());
    EXPECT_GE(started[0].tick - t0, 2900u);
    // The start after the countdown ran on this (the UI) thread, where the
    // overlay settings are copied while nothing edits them.
    for (const testkit::Noted& n : rec.Host().Seen("minimize"))
        EXPECT_EQ(GetCurrentThreadId(), n.thread);
    rec.Pump(1000);
    StopRecording();
    ASSERT_TRUE(rec.WaitIdle());
    EXPECT_EQ(1u, rec.SavedFiles().size());
}

TEST_F(RecordingTest, AStartWhileSavingIsRefused)
{
    Recorder rec(25);
    StartRecording(false);
    rec.Pump(1500);
    StopRecording();
    // Straight after the stop the previous recording is still closing.
    StartRecording(false);
    ASSERT_TRUE(rec.WaitIdle());
    EXPECT_EQ(1u, rec.SavedFiles().size());
    EXPECT_EQ(1u, rec.Host().Count("started"));
}

TEST_F(RecordingTest, AutoStopWithNewRecordingActionLeavesTwoRecordings)
{
    Recorder rec(25);
    rec.Host().afterStopAction = 1;
    g_autoStopSettings.limit = 3;
    g_autoStopSettings.armed = 1;
    g_bAutoStopWatch = 1;
    StartRecording(false);
    // The first stops by itself after 3 s; the second is stopped by hand.
    rec.Host().PumpUntil([&] { return rec.Host().Count("started") >= 2; }, 20000);
    ASSERT_EQ(2u, rec.Host().Count("started"));
    // The second recording's clock starts again from nothing.
    rec.Host().PumpUntil([] { return g_recordStats.elapsedMs.load() < 2000; }, 5000);
    ASSERT_TRUE(rec.PumpRecorded(3000));
    StopRecording();
    ASSERT_TRUE(rec.WaitIdle());
    std::vector<std::string> files = rec.SavedFiles();
    ASSERT_EQ(2u, files.size());
    // The first ends once its clock passed 3 s (at the next frame the stop
    // reaches); the second as long as its clock counted.
    const double first = ProbeVideo(files[0]).duration;
    EXPECT_GE(first, 2.9) << files[0];
    EXPECT_LE(first, 4.0) << files[0];
    EXPECT_NEAR(g_recordStats.elapsedMs / 1000.0, ProbeVideo(files[1]).duration, 0.3) << files[1];
    // The auto-stop's stop (which writes the settings) and its new start ran
    // on this (the UI) thread, not on the auto-stop's.
    ASSERT_EQ(2u, rec.Host().Count("normal"));
    ASSERT_EQ(2u, rec.Host().Count("minimize"));
    for (const char* what : {"normal", "minimize"})
        for (const testkit::Noted& n : rec.Host().Seen(what))
            EXPECT_EQ(GetCurrentThreadId(), n.thread) << what;
    g_bAutoStopWatch = 0;
}

TEST_F(RecordingTest, ACompressorThatFailsEndsTheRecordingSavesWhatWasWrittenThenSaysSo)
{
    ASSERT_TRUE(InstallFailingCompressor(10));
    Recorder rec(25);
    SetRecordingCompressorForTests(kFailingHandler);
    StartRecording(false);
    // The loop ends by itself at the failure; the program returns to idle.
    ASSERT_TRUE(rec.WaitIdle(20000));
    RemoveFailingCompressor();
    EXPECT_EQ(0, g_bRecording);
    EXPECT_EQ(1, g_bSaveDone);
    std::vector<std::string> files = rec.SavedFiles();
    ASSERT_EQ(1u, files.size());
    EXPECT_EQ(10, CountPackets(files[0]));
    // The windows leave the recording display, the cover stays up while the
    // written part is saved, and one report follows once the save is over:
    // what happened and where the video went.
    EXPECT_EQ((std::vector<std::string>{"stopped", "cover", "hidecover", "saved"}),
              rec.Host().Sequence({"stopped", "cover", "hidecover", "saved", "failed"}));
    ASSERT_EQ(1u, rec.Host().Saves().size());
    const SaveOutcome& out = rec.Host().Saves()[0];
    EXPECT_EQ(SaveResult::Saved, out.result);
    EXPECT_TRUE(out.interrupted);
    EXPECT_EQ(0u, out.message.find("录制失败")) << out.message;
    EXPECT_NE(std::string::npos, out.message.find(files[0])) << out.message;
}

TEST_F(RecordingTest, ACancelStaysACancelWhenTheLastFramesCannotBeWritten)
{
    // Frames wait for a slow compressor, which refuses those it gets after
    // the recording was cancelled.
    ASSERT_TRUE(InstallFailingCompressor(-1, 120, true));
    Recorder rec(25);
    g_nRecordMode = 1;
    SetCaptureRect({0, 0, 320, 240});
    SetRecordingCompressorForTests(kFailingHandler);
    StartRecording(false);
    rec.Pump(1500);
    CancelRecording();
    ASSERT_TRUE(rec.WaitIdle(20000));
    RemoveFailingCompressor();
    EXPECT_TRUE(rec.SavedFiles().empty());
    EXPECT_TRUE(rec.Host().Saves().empty());
    EXPECT_EQ(0u, rec.Host().Count("failed"));
    EXPECT_FALSE(testkit::FileExists(GetTempVideoPath()));
}

TEST_F(RecordingTest, FramesWaitForASlowCompressorRatherThanBeGrabbedInVain)
{
    // 100 ms a frame: about ten frames a second get through.
    ASSERT_TRUE(InstallFailingCompressor(-1, 100));
    Recorder rec(25);
    g_nRecordMode = 1;
    SetCaptureRect({0, 0, 320, 240});
    SetRecordingCompressorForTests(kFailingHandler);
    RecordFor(rec, 3000);
    RemoveFailingCompressor();
    const DWORD written = g_recordStats.framesWritten, grabbed = g_recordStats.framesGrabbed;
    EXPECT_NEAR(30, (int)written, 8);
    // Every grab but the last few became a frame of the video.
    EXPECT_LE(grabbed, written + 5) << grabbed << " grabs for " << written << " frames";
    ASSERT_EQ(1u, rec.SavedFiles().size());
    EXPECT_NEAR(3.0, ProbeVideo(rec.SavedFiles()[0]).duration, 0.3);
}

// A stop or a cancel at any moment of a countdown ends it: no recording
// starts afterwards, and another start is taken at once.
TEST_F(RecordingTest, AStopOrCancelDuringTheCountdownStartsNothing)
{
    Recorder rec(25);
    g_nCountdownSeconds = 1;
    const unsigned seed = GetTickCount();
    std::mt19937 random(seed);
    size_t files = 0;
    int during = 0;
    for (int i = 0; i < 50; ++i) {
        rec.Host().Clear();
        const DWORD moment = random() % 1000;
        const bool cancel = i % 2 != 0;
        const DWORD startedAt = GetTickCount();
        StartRecording(false);
        ASSERT_EQ(RecordPhase::CountingDown, GetRecordPhase());
        rec.Pump(moment);
        const bool counting = GetRecordPhase() == RecordPhase::CountingDown;
        if (cancel)
            CancelRecording();
        else
            StopRecording();
        // Past the moment the countdown would have started the recording.
        const DWORD since = GetTickCount() - startedAt;
        rec.Pump(since < 1500 ? 1500 - since : 0);
        ASSERT_TRUE(rec.WaitIdle()) << "seed " << seed << ", moment " << moment;
        if (counting) {
            ++during;
            EXPECT_EQ(0u, rec.Host().Count("started")) << "seed " << seed << ", moment " << moment;
            EXPECT_EQ(0, g_bRecording);
            EXPECT_EQ(0, rec.Host().Seen("countdown").back().value) << "the countdown window closed";
        } else if (!cancel) {
            ++files;  // it had started before the stop, which saved it
        }
        EXPECT_EQ(files, rec.SavedFiles().size()) << "seed " << seed << ", moment " << moment;
        EXPECT_EQ(RecordPhase::Idle, GetRecordPhase());
    }
    EXPECT_GE(during, 45);
    g_nCountdownSeconds = 0;
}

// The save folder on a drive that fills up (256 KB, less than 15 s of the
// moving screen): the recording is kept in the temporary folder and the user
// told where; the save folder is left without a broken file under the
// recording's name.
class FullDriveTest : public RecordingTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        drive_ = testkit::MakeTempDir("fulldrive");
        testkit::LinuxResult m = testkit::RunLinux(
            "mount -t tmpfs -o size=256k orbisk-full " + testkit::ShellQuote(testkit::UnixPath(drive_)) +
            " 2>&1");
        mounted_ = m.exitCode == 0;
        if (!mounted_) GTEST_SKIP() << "a small drive cannot be made here: " << m.out;
    }
    void TearDown() override
    {
        if (mounted_) testkit::RunLinux("umount " + testkit::ShellQuote(testkit::UnixPath(drive_)));
    }
    std::string drive_;
    bool mounted_ = false;
};

TEST_P(FullDriveTest, AFailedSaveLeavesNoBrokenFileAndKeepsTheRecording)
{
    const bool microphone = GetParam();
    Recorder rec(25);
    SetVideoSaveFolder(drive_);
    g_bRecordMic = microphone ? 1 : 0;
    if (microphone) testkit::PlayTone(440, 16.0);
    const DWORD recorded = RecordFor(rec, 15000);
    g_bRecordMic = 0;
    ASSERT_EQ(1u, rec.Host().Saves().size());
    const SaveOutcome& out = rec.Host().Saves()[0];
    EXPECT_EQ(SaveResult::KeptElsewhere, out.result);
    // Nothing in the save folder passes for a recording.
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((drive_ + "\\*.avi").c_str(), &fd);
    EXPECT_EQ(INVALID_HANDLE_VALUE, h) << "left behind: " << fd.cFileName;
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    // The whole recording is where the message says.
    EXPECT_NE(std::string::npos, out.message.find(out.video)) << out.message;
    EXPECT_GT(testkit::FileSize(out.video), 256 << 10) << "the drive could have taken it";
    EXPECT_NEAR(recorded / 1000.0, ProbeVideo(out.video).duration, 0.3);
    if (microphone) {
        ASSERT_FALSE(out.sound.empty());
        EXPECT_NE(std::string::npos, out.message.find(out.sound)) << out.message;
        EXPECT_NEAR(440.0, ProbeSound(out.sound).frequency, 15.0);
    }
    DeleteFileA(out.video.c_str());
    if (!out.sound.empty()) DeleteFileA(out.sound.c_str());
}

INSTANTIATE_TEST_SUITE_P(Sound, FullDriveTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) {
                             return std::string(i.param ? "Microphone" : "None");
                         });

// A window that follows recordings: it subscribes itself and notes each
// event with the thread it arrived on.
class FollowingWindow : public RecordingSubscriber {
public:
    FollowingWindow()
    {
        hwnd_ = CreateWindowExA(0, "STATIC", "follower", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        SubscribeRecordingEvents(this);
    }
    ~FollowingWindow()
    {
        UnsubscribeRecordingEvents(this);
        DestroyWindow(hwnd_);
    }
    std::vector<std::string> events;
    bool onWindowThread = true;

private:
    void Note(const std::string& e)
    {
        // Its own thread: the one that owns the window.
        onWindowThread = onWindowThread &&
                         GetWindowThreadProcessId(hwnd_, nullptr) == GetCurrentThreadId();
        if (events.empty() || events.back() != e) events.push_back(e);
    }
    void OnRecordingStarted() override { Note("started"); }
    void OnRecordingPaused(bool paused) override { Note(paused ? "paused" : "resumed"); }
    void OnRecordingStatus() override { Note("status"); }
    void OnRecordingStopped() override { Note("stopped"); }
    void OnRecordingSaved(const SaveOutcome& out) override
    {
        Note(out.result == SaveResult::Saved ? "saved" : "not saved");
    }
    HWND hwnd_;
};

TEST_F(RecordingTest, AWindowThatSubscribesHearsTheRecordingOnItsOwnThread)
{
    Recorder rec(25);
    FollowingWindow window;
    StartRecording(false);
    rec.Pump(1200);
    TogglePause();
    rec.Pump(600);
    TogglePause();
    rec.Pump(1200);
    StopRecording();
    ASSERT_TRUE(rec.WaitIdle());
    // Status ticks twice a second around the pause; repeats are folded.
    EXPECT_EQ((std::vector<std::string>{"started", "status", "paused", "status", "resumed",
                                        "status", "stopped", "saved"}),
              window.events);
    EXPECT_TRUE(window.onWindowThread);
    EXPECT_EQ(1u, rec.SavedFiles().size());
}

// With the microphone on, a tone played into the sound server is in the
// saved video as its MP3 track.
TEST_F(RecordingTest, MicrophoneSoundIsJoinedIntoTheVideo)
{
    waveInGetNumDevs();  // the sound system's first use in a process can be slow
    Recorder rec(25);
    g_bRecordMic = 1;
    testkit::PlayTone(440, 11.0);
    Sleep(500);
    // Wine's microphone stream may start seconds late (silence in the file
    // until then): 8 s leave several of the tone whatever the start.
    const DWORD recorded = RecordFor(rec, 8000);
    g_bRecordMic = 0;
    std::vector<std::string> files = rec.SavedFiles();
    ASSERT_EQ(1u, files.size());
    SoundFacts s = ProbeSound(files[0]);
    EXPECT_EQ("mp3", s.codec);
    // The sound ends where the picture does, give or take the last frame's way.
    EXPECT_NEAR(recorded / 1000.0, s.duration, 0.5);
    EXPECT_GT(s.loudSeconds, 3.0);
    EXPECT_NEAR(440.0, s.frequency, 15.0);
    EXPECT_EQ("h264", ProbeVideo(files[0]).codec);
    EXPECT_FALSE(testkit::FileExists(GetTempAudioPath()));
}

}  // namespace
