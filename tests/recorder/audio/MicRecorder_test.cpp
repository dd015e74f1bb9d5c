// The microphone recorder on the sound server's default source, which
// records what the tests play into the null sink.
#include <gtest/gtest.h>

#include "AudioTestSupport.h"
#include "TestKit.h"
#include "recorder/audio/AudioEndpoints.h"
#include "recorder/audio/AudioRecording.h"
#include "recorder/audio/MicRecorder.h"

using namespace audiotest;
using testkit::PlayTone;

namespace {

class Microphone : public testing::Test {
protected:
    void SetUp() override
    {
        UseProgramFolderDlls();
        WarmUpSoundSystem();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        dir_ = testkit::MakeTempDir("mic") + "\\";
        setup_.microphone = true;
        setup_.tempFolder = dir_;
        setup_.speakerMp3 = dir_ + "~vintratemp-Speaker.mp3";
        setup_.micMp3 = dir_ + "~vintratemp-Audio.mp3";
    }
    void TearDown() override
    {
        delete g_pMicEndpoint;
        g_pMicEndpoint = nullptr;
        CoUninitialize();
    }
    std::string dir_;
    AudioRecordingSetup setup_;
};

TEST_F(Microphone, RecordsAToneIntoAnMp3)
{
    // The selected endpoint (the first) is reached through its own device.
    g_pMicEndpoint = new AudioEndpointList;
    AudioStartResult started = StartRecordingAudio(setup_);
    const DWORD startedAt = GetTickCount();
    ASSERT_TRUE(started.microphone);
    EXPECT_FALSE(started.systemSound);
    PlayTone(440, 4.5);
    Sleep(5000);
    const double ran = (GetTickCount() - startedAt) / 1000.0;
    std::string mp3 = StopRecordingAudio();
    ASSERT_EQ(setup_.micMp3, mp3);
    auto a = testkit::Probe(mp3, "a:0", "codec_name,sample_rate,channels,bit_rate");
    EXPECT_EQ("mp3", a["codec_name"]);
    EXPECT_EQ("44100", a["sample_rate"]);
    EXPECT_EQ("2", a["channels"]);
    EXPECT_EQ("128000", a["bit_rate"]);
    EXPECT_NEAR(440.0, DominantFrequency(mp3), 10.0);
    // The sound still on its way when the stop came is kept.
    EXPECT_NEAR(ran, DecodedSeconds(mp3, 44100), 0.3);
    EXPECT_EQ(std::vector<std::string>{"~vintratemp-Audio.mp3"}, FilesIn(dir_, "*"));
}

TEST_F(Microphone, LeavesOutWhatWasRecordedWhilePaused)
{
    // A pause drops what arrives meanwhile; the pause comes once the sound
    // flows (Wine delivers it 1.3 to 1.9 s late).
    StartRecordingAudio(setup_);
    const DWORD started = GetTickCount();
    PlayTone(440, 6);
    Sleep(2500);
    const DWORD paused = GetTickCount();
    PauseRecordingAudio();
    Sleep(1500);
    ResumeRecordingAudio();
    const DWORD resumed = GetTickCount();
    Sleep(1000);
    const DWORD stopped = GetTickCount();
    std::string mp3 = StopRecordingAudio();
    ASSERT_EQ(setup_.micMp3, mp3);
    // (Timed here: a slow machine takes its time over the calls too.)
    EXPECT_NEAR(((stopped - started) - (resumed - paused)) / 1000.0, DecodedSeconds(mp3, 44100), 0.3);
}

TEST_F(Microphone, ADeviceThatDoesNotOpenFailsCleanly)
{
    int writes = 0;
    CMicRecorder recorder(
        99, nullptr, [&](const BYTE*, UINT32) { ++writes; }, nullptr);
    try {
        recorder.Open();
        FAIL() << "no error";
    } catch (const char* error) {
        EXPECT_STREQ("Can't open WaveIN Device.", error);
    }
    EXPECT_FALSE(recorder.IsOpen());
    recorder.StopLocked();
    EXPECT_EQ(0, writes);
}

TEST_F(Microphone, TakesTheSystemSoundsFormatWhenBothAreRecorded)
{
    const WAVEFORMATEX loopback = {WAVE_FORMAT_PCM, 2, 48000, 192000, 4, 16, 0};
    CMicRecorder both(0, &loopback, nullptr, nullptr);
    EXPECT_EQ(WAVE_FORMAT_PCM, both.Format().wFormatTag);
    EXPECT_EQ(2, both.Format().nChannels);
    EXPECT_EQ(48000u, both.Format().nSamplesPerSec);
    EXPECT_EQ(4, both.Format().nBlockAlign);
    EXPECT_EQ(0, both.Format().cbSize);
    CMicRecorder alone(0, nullptr, nullptr, nullptr);
    EXPECT_EQ(44100u, alone.Format().nSamplesPerSec);
    EXPECT_EQ(176400u, alone.Format().nAvgBytesPerSec);
    EXPECT_EQ(16, alone.Format().wBitsPerSample);
}

}  // namespace
