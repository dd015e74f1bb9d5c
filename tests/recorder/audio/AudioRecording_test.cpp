// The start and stop of a recording's sound: the system sound (Wine's own,
// which fails, or a stand-in client), the microphone, and the mix of both.
#include <gtest/gtest.h>

#include "AudioTestSupport.h"
#include "FakeAudioClient.h"
#include "TestKit.h"
#include "recorder/audio/AudioEndpoints.h"
#include "recorder/audio/AudioRecording.h"

#include <cmath>
#include <cstdlib>

using namespace audiotest;
using testkit::PlayTone;

namespace {

const double kPi = 3.14159265358979323846;

class RecordingAudio : public testing::Test {
protected:
    void SetUp() override
    {
        UseProgramFolderDlls();
        WarmUpSoundSystem();
        dir_ = testkit::MakeTempDir("rec") + "\\";
        setup_.tempFolder = dir_;
        setup_.speakerMp3 = dir_ + "~vintratemp-Speaker.mp3";
        setup_.micMp3 = dir_ + "~vintratemp-Audio.mp3";
    }
    void TearDown() override { SetLoopbackClientSourceForTests(nullptr); }

    std::string dir_;
    AudioRecordingSetup setup_;
};

// 5.1 at 48 kHz, a 1 kHz tone on the front speakers.
std::function<float(UINT64, int)> Tone51()
{
    return [](UINT64 frame, int channel) {
        return channel < 2 ? 0.3f * (float)sin(2 * kPi * 1000.0 * frame / 48000) : 0.0f;
    };
}

FakeAudioClient::Options FiveOne()
{
    FakeAudioClient::Options o;
    o.channels = 6;
    o.acceptsPcm16 = false;
    return o;
}

TEST_F(RecordingAudio, WinesSystemSoundFailsWithItsDiagnosticAndNothingHangs)
{
    setup_.systemSound = true;
    testing::internal::CaptureStdout();
    const DWORD start = GetTickCount();
    AudioStartResult started = StartRecordingAudio(setup_);
    EXPECT_EQ(LoopbackState::Idle, GetLoopbackState());
    std::string mp3 = StopRecordingAudio();
    const DWORD elapsed = GetTickCount() - start;
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(started.systemSound);
    EXPECT_NE(std::string::npos, printed.find("Faild to GetService\n")) << printed;
    EXPECT_LT(elapsed, 3000u);
    EXPECT_EQ("", mp3);
    EXPECT_TRUE(FilesIn(dir_, "*").empty());
}

TEST_F(RecordingAudio, TheMicrophoneRecordsAloneWhenTheSystemSoundFails)
{
    setup_.systemSound = setup_.microphone = true;
    AudioStartResult started = StartRecordingAudio(setup_);
    EXPECT_FALSE(started.systemSound);
    ASSERT_TRUE(started.microphone);
    PlayTone(440, 3.5);
    Sleep(4000);
    std::string mp3 = StopRecordingAudio();
    ASSERT_EQ(setup_.micMp3, mp3);
    EXPECT_NEAR(440.0, DominantFrequency(mp3), 10.0);
    EXPECT_EQ(std::vector<std::string>{"~vintratemp-Audio.mp3"}, FilesIn(dir_, "*"));
}

TEST_F(RecordingAudio, SystemSoundAloneBecomesTheSpeakerMp3)
{
    FakeAudioClient client(FiveOne(), Tone51());
    SetLoopbackClientSourceForTests(client.Source());
    setup_.systemSound = true;
    AudioStartResult started = StartRecordingAudio(setup_);
    const DWORD startedAt = GetTickCount();
    ASSERT_TRUE(started.systemSound);
    EXPECT_EQ(LoopbackState::Capturing, GetLoopbackState());
    Sleep(1000);
    // The silent sound plays meanwhile.
    auto inputs = testkit::RunLinux("pactl list sink-inputs");
    EXPECT_NE(std::string::npos, inputs.out.find("audio_capture_test.exe")) << inputs.out;
    EXPECT_NE(std::string::npos, inputs.out.find("1ch 11025Hz")) << inputs.out;
    Sleep(1000);
    const float clock = g_fAudioClock;
    const double ran = (GetTickCount() - startedAt) / 1000.0;
    std::string mp3 = StopRecordingAudio();
    ASSERT_EQ(setup_.speakerMp3, mp3);
    // The clock counts the sound captured: as long as the capture ran.
    EXPECT_NEAR(ran, clock, 0.25);
    auto a = testkit::Probe(mp3, "a:0", "sample_rate,channels,bit_rate");
    EXPECT_EQ("48000", a["sample_rate"]);
    EXPECT_EQ("2", a["channels"]);
    EXPECT_EQ("128000", a["bit_rate"]);
    // Everything captured, not more: the clock plus the packet it stood at.
    EXPECT_NEAR(clock, DecodedSeconds(mp3, 48000), 0.05);
    EXPECT_NEAR(1000.0, DominantFrequency(mp3), 10.0);
    EXPECT_EQ(std::vector<std::string>{"~vintratemp-Speaker.mp3"}, FilesIn(dir_, "*"));
}

TEST_F(RecordingAudio, PausedTimeIsNeitherRecordedNorCounted)
{
    FakeAudioClient client(FiveOne(), Tone51());
    SetLoopbackClientSourceForTests(client.Source());
    setup_.systemSound = true;
    ASSERT_TRUE(StartRecordingAudio(setup_).systemSound);
    Sleep(1000);
    PauseRecordingAudio();
    const float atPause = g_fAudioClock;
    Sleep(1000);
    EXPECT_FLOAT_EQ(atPause, g_fAudioClock.load());
    ResumeRecordingAudio();
    Sleep(1000);
    const float clock = g_fAudioClock;
    std::string mp3 = StopRecordingAudio();
    EXPECT_NEAR(2.0, clock, 0.25);
    EXPECT_NEAR(clock, DecodedSeconds(mp3, 48000), 0.05);
}

TEST_F(RecordingAudio, BothSourcesMixIntoTheSpeakerMp3)
{
    // The system sound is silent (every packet flagged so); the microphone
    // hears the tone.
    FakeAudioClient client(FiveOne(), nullptr);
    SetLoopbackClientSourceForTests(client.Source());
    setup_.systemSound = setup_.microphone = true;
    AudioStartResult started = StartRecordingAudio(setup_);
    ASSERT_TRUE(started.systemSound);
    ASSERT_TRUE(started.microphone);
    EXPECT_EQ(48000u, g_wfxLoopback.nSamplesPerSec);
    PlayTone(440, 3.5);
    Sleep(4000);
    const float clock = g_fAudioClock;
    std::string mp3 = StopRecordingAudio();
    ASSERT_EQ(setup_.speakerMp3, mp3);
    EXPECT_EQ("48000", testkit::Probe(mp3, "a:0", "sample_rate")["sample_rate"]);
    EXPECT_NEAR(440.0, DominantFrequency(mp3), 10.0);
    EXPECT_NEAR(clock, DecodedSeconds(mp3, 48000), 0.1);
    EXPECT_EQ(std::vector<std::string>{"~vintratemp-Speaker.mp3"}, FilesIn(dir_, "*"));
}

TEST_F(RecordingAudio, ASystemSoundThatFailsLeavesNoFiles)
{
    FakeAudioClient::Options o;
    o.start = E_FAIL;
    FakeAudioClient client(o, std::vector<FakePoll>{});
    SetLoopbackClientSourceForTests(client.Source());
    setup_.systemSound = true;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(StartRecordingAudio(setup_).systemSound);
    EXPECT_EQ("", StopRecordingAudio());
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStdout().find("8\n"));
    EXPECT_TRUE(FilesIn(dir_, "*").empty());
}

TEST_F(RecordingAudio, TheWaitForTheSystemSoundIsBounded)
{
    // A capture that takes 4 s to start is given up after 3; the microphone
    // then records alone.
    FakeAudioClient client(FakeAudioClient::Options(), std::vector<FakePoll>{});
    SetLoopbackClientSourceForTests([&](IAudioClient** c) {
        Sleep(4000);
        return client.Source()(c);
    });
    setup_.systemSound = setup_.microphone = true;
    const DWORD start = GetTickCount();
    AudioStartResult started = StartRecordingAudio(setup_);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_FALSE(started.systemSound);
    EXPECT_TRUE(started.microphone);
    EXPECT_GE(elapsed, 3000u);
    EXPECT_LT(elapsed, 6000u);
    Sleep(2500);
    EXPECT_EQ(setup_.micMp3, StopRecordingAudio());
    EXPECT_EQ(std::vector<std::string>{"~vintratemp-Audio.mp3"}, FilesIn(dir_, "*"));
}

// With no sound server at all (run in a child process whose server address
// leads nowhere), every source fails at once and nothing is left behind.
TEST(NoSoundServer, EverythingFailsCleanly)
{
    if (!getenv("ORBISK_AUDIO_NO_SERVER")) {
        // The server address is read from the Unix environment, so the child
        // is started from there.
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        auto child = testkit::RunLinux(
            "PULSE_SERVER=unix:/nonexistent/orbisk-no-server ORBISK_AUDIO_NO_SERVER=1 wine " +
                testkit::ShellQuote(testkit::UnixPath(self)) +
                " --gtest_filter=NoSoundServer.* 2>&1",
            120000);
        EXPECT_EQ(0, child.exitCode) << child.out;
        EXPECT_NE(std::string::npos, child.out.find("[  PASSED  ] 1 test")) << child.out;
        return;
    }
    UseProgramFolderDlls();
    WarmUpSoundSystem();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    g_pMicEndpoint = new AudioEndpointList;
    g_pSpeakerEndpoint = new SpeakerEndpoint;
    EXPECT_EQ(0u, g_pMicEndpoint->DeviceCount());
    EXPECT_EQ(0u, g_pSpeakerEndpoint->DeviceCount());
    EXPECT_EQ("", GetMicEndpointName());
    EXPECT_FALSE(SetMicVolume(100));
    EXPECT_FALSE(SetMicMute(FALSE));
    EXPECT_EQ(0, GetSpeakerVolume());

    std::string dir = testkit::MakeTempDir("noserver") + "\\";
    AudioRecordingSetup setup;
    setup.systemSound = setup.microphone = true;
    setup.tempFolder = dir;
    setup.speakerMp3 = dir + "~vintratemp-Speaker.mp3";
    setup.micMp3 = dir + "~vintratemp-Audio.mp3";
    testing::internal::CaptureStdout();
    const DWORD start = GetTickCount();
    AudioStartResult started = StartRecordingAudio(setup);
    Sleep(500);
    std::string mp3 = StopRecordingAudio();
    const DWORD elapsed = GetTickCount() - start;
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(started.systemSound);
    EXPECT_FALSE(started.microphone);
    EXPECT_EQ("", mp3);
    EXPECT_LT(elapsed, 4000u);
    EXPECT_NE(std::string::npos, printed.find("Faild to GetDefaultAudioEndpoint\n")) << printed;
    EXPECT_NE(std::string::npos, printed.find("Can't open WaveIN Device.\n")) << printed;
    EXPECT_TRUE(FilesIn(dir, "*").empty());
    delete g_pMicEndpoint;
    delete g_pSpeakerEndpoint;
    g_pMicEndpoint = nullptr;
    g_pSpeakerEndpoint = nullptr;
}

}  // namespace
