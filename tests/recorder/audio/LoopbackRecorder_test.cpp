// The system-sound data path, driven by stand-in audio clients: formats,
// silent packets, gaps, pause, the audio clock, and every failure's report.
#include <gtest/gtest.h>

#include "FakeAudioClient.h"
#include "recorder/audio/LoopbackFormat.h"
#include "recorder/audio/LoopbackRecorder.h"

#include <ks.h>
#include <ksmedia.h>

#include <cmath>

using namespace audiotest;

namespace {

// Collects what the recorder hands on.
struct Collector {
    std::vector<short> stereo;
    UINT32 openedRate = 0;
    int opens = 0, closes = 0;
    const char* openError = nullptr;

    LoopbackSink Sink()
    {
        LoopbackSink s;
        s.open = [this](UINT32 rate) {
            ++opens;
            openedRate = rate;
            return openError;
        };
        s.write = [this](const short* pcm, UINT32 frames) {
            stereo.insert(stereo.end(), pcm, pcm + frames * 2);
        };
        s.close = [this] { ++closes; };
        return s;
    }
};

struct StreamCase {
    const char* name;
    WORD channels;
    bool acceptsPcm16;
    std::vector<float> values;  // each channel's constant value
    short left, right;          // what the writers receive
};

class LoopbackStream : public testing::TestWithParam<StreamCase> {};

TEST_P(LoopbackStream, HandsOnEveryFrameAsStereo)
{
    const StreamCase& c = GetParam();
    FakeAudioClient::Options o;
    o.channels = c.channels;
    o.acceptsPcm16 = c.acceptsPcm16;
    std::vector<FakePoll> polls(3);
    polls[0].packets = {ConstantPacket(480, c.values),
                        ConstantPacket(480, c.values, AUDCLNT_BUFFERFLAGS_SILENT)};
    // polls[1]: a gap, nothing to take.
    polls[2].packets = {ConstantPacket(240, c.values)};
    FakeAudioClient client(o, polls);
    Collector out;
    std::atomic<bool> paused{false};
    {
        CLoopbackRecorder r(client.Source(), out.Sink(), &paused);
        ASSERT_TRUE(r.Start());
        ASSERT_TRUE(r.WaitUntilSettled(5000));
        ASSERT_TRUE(client.WaitDrained(5000));
        EXPECT_EQ(1200u, r.TotalFrames());
        r.Stop();
        EXPECT_EQ(LoopbackState::Capturing, r.State());
    }
    EXPECT_TRUE(client.started);
    EXPECT_TRUE(client.stopped);
    EXPECT_EQ(1, out.opens);
    EXPECT_EQ(1, out.closes);
    EXPECT_EQ(48000u, out.openedRate);

    // Loopback, a one-second buffer, and 16-bit integers where the engine
    // takes them.
    const auto* f = reinterpret_cast<const WAVEFORMATEX*>(client.initializedFormat.data());
    EXPECT_EQ((DWORD)AUDCLNT_STREAMFLAGS_LOOPBACK, client.initializedFlags);
    EXPECT_EQ(10000000, client.initializedDuration);
    EXPECT_EQ(c.acceptsPcm16 ? 16 : 32, f->wBitsPerSample);
    EXPECT_EQ(c.channels * f->wBitsPerSample / 8, f->nBlockAlign);

    ASSERT_EQ(1200u * 2, out.stereo.size());
    for (size_t i = 0; i < 1200; ++i) {
        const bool silent = i >= 480 && i < 960;
        ASSERT_NEAR(silent ? 0 : c.left, out.stereo[2 * i], 1) << "frame " << i;
        ASSERT_NEAR(silent ? 0 : c.right, out.stereo[2 * i + 1], 1) << "frame " << i;
    }
    // The clock stands at the start of the last packet: 960 frames.
    EXPECT_FLOAT_EQ(960.0f / 48000, g_fAudioClock.load());
    // The writers and the microphone take 16-bit stereo at the stream's rate.
    EXPECT_EQ(1u, g_bLoopbackFormatReady.load());
    EXPECT_EQ(2, g_wfxLoopback.nChannels);
    EXPECT_EQ(48000u, g_wfxLoopback.nSamplesPerSec);
    EXPECT_EQ(4, g_wfxLoopback.nBlockAlign);
    EXPECT_EQ(16, g_wfxLoopback.wBitsPerSample);
}

// 5.1 down to stereo: left = FL + 0.707 FC + 0.707 BL, LFE dropped.
const float kL51 = 0.5f + 0.7071f * 0.2f + 0.7071f * 0.1f;
const float kR51 = -0.25f + 0.7071f * 0.2f;

INSTANTIATE_TEST_SUITE_P(
    Formats, LoopbackStream,
    testing::Values(StreamCase{"MonoFloat", 1, false, {0.25f}, 8192, 8192},
                    StreamCase{"StereoFloat", 2, false, {0.5f, -0.25f}, 16384, -8192},
                    StreamCase{"StereoPcm16", 2, true, {0.5f, -0.25f}, 16383, -8191},
                    StreamCase{"SixChannelFloat",
                               6,
                               false,
                               {0.5f, -0.25f, 0.2f, 0.9f, 0.1f, 0.0f},
                               (short)lrintf(kL51 * 32768),
                               (short)lrintf(kR51 * 32768)},
                    StreamCase{"SixChannelPcm16",
                               6,
                               true,
                               {0.5f, -0.25f, 0.2f, 0.9f, 0.1f, 0.0f},
                               (short)lrintf(kL51 * 32767),
                               (short)lrintf(kR51 * 32767)},
                    StreamCase{
                        "LoudSurroundIsClamped", 6, false, {1, 1, 1, 0, 1, 1}, 32767, 32767}),
    [](const testing::TestParamInfo<StreamCase>& i) { return std::string(i.param.name); });

TEST(LoopbackClock, CountsFramesNotWallTimeAndStandsStillWhilePaused)
{
    std::atomic<bool> paused{false};
    std::vector<FakePoll> polls(28);
    polls[0].packets = {ConstantPacket(480, {0.1f, 0.1f})};
    // Twenty quiet polls (half a second) move nothing.
    polls[21].before = [&] { paused = true; };
    polls[21].packets = {ConstantPacket(480, {0.9f, 0.9f}), ConstantPacket(480, {0.9f, 0.9f})};
    polls[22].packets = {ConstantPacket(480, {0.9f, 0.9f})};
    polls[23].before = [&] { paused = false; };
    polls[23].packets = {ConstantPacket(480, {0.2f, 0.2f})};
    polls[24].packets = {ConstantPacket(960, {0.3f, 0.3f})};
    polls[26].packets = {ConstantPacket(100, {0.4f, 0.4f})};
    FakeAudioClient::Options o;
    o.acceptsPcm16 = false;
    FakeAudioClient client(o, polls);
    Collector out;
    CLoopbackRecorder r(client.Source(), out.Sink(), &paused);
    const DWORD start = GetTickCount();
    ASSERT_TRUE(r.Start());
    ASSERT_TRUE(client.WaitDrained(10000));
    const DWORD elapsed = GetTickCount() - start;
    r.Stop();

    EXPECT_GE(elapsed, 600u);
    EXPECT_EQ(480u + 480 + 960 + 100, r.TotalFrames());
    EXPECT_FLOAT_EQ((480 + 480 + 960) / 48000.0f, g_fAudioClock.load());
    // Nothing of the paused packets reaches the writer.
    ASSERT_EQ(2020u * 2, out.stereo.size());
    EXPECT_EQ((short)lrintf(0.1f * 32768), out.stereo[0]);
    EXPECT_EQ((short)lrintf(0.2f * 32768), out.stereo[2 * 480]);
    EXPECT_EQ((short)lrintf(0.3f * 32768), out.stereo[2 * 960]);
    EXPECT_EQ((short)lrintf(0.4f * 32768), out.stereo[2 * 1920]);
}

TEST(LoopbackStartStop, AStopWhileTheCaptureStartsWaitsForTheStart)
{
    std::vector<FakePoll> polls(1);
    polls[0].packets = {ConstantPacket(480, {0.5f, 0.5f})};
    FakeAudioClient client(FakeAudioClient::Options(), polls);
    AudioClientSource slow = [&](IAudioClient** c) {
        Sleep(300);
        return client.Source()(c);
    };
    Collector out;
    {
        CLoopbackRecorder r(slow, out.Sink(), nullptr);
        ASSERT_TRUE(r.Start());
        r.Stop();  // before the client even exists
    }
    // The start ran to its end, and everything it made was undone.
    EXPECT_TRUE(client.started);
    EXPECT_TRUE(client.stopped);
    EXPECT_EQ(1, out.opens);
    EXPECT_EQ(1, out.closes);
    EXPECT_TRUE(out.stereo.empty());
}

// --- failures ---------------------------------------------------------------

struct FailureCase {
    const char* name;
    std::function<void(FakeAudioClient::Options&, Collector&)> arrange;
    const char* diagnostic;  // the line on standard output; "" for none
    bool opened;             // the writer was made (and closed again)
};

class LoopbackFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(LoopbackFailure, IsReportedAndEndsTheCapture)
{
    const FailureCase& c = GetParam();
    FakeAudioClient::Options o;
    Collector out;
    c.arrange(o, out);
    std::vector<FakePoll> polls(2);
    polls[0].packets = {ConstantPacket(480, {0.5f, 0.5f})};
    FakeAudioClient client(o, polls);
    testing::internal::CaptureStdout();
    {
        CLoopbackRecorder r(client.Source(), out.Sink(), nullptr);
        ASSERT_TRUE(r.Start());
        for (int i = 0; i < 500 && r.State() != LoopbackState::Failed; ++i) Sleep(10);
        r.Stop();
        EXPECT_EQ(LoopbackState::Failed, r.State());
    }
    std::string printed = testing::internal::GetCapturedStdout();
    if (*c.diagnostic)
        EXPECT_NE(std::string::npos, printed.find(std::string(c.diagnostic) + "\n")) << printed;
    else
        EXPECT_EQ("", printed);
    EXPECT_EQ(c.opened ? 1 : 0, out.closes);
    EXPECT_TRUE(out.stereo.empty());
}

const HRESULT kWrongEndpointType = (HRESULT)0x88890003;  // what Wine answers

INSTANTIATE_TEST_SUITE_P(
    Steps, LoopbackFailure,
    testing::Values(
        FailureCase{"GetMixFormat",
                    [](FakeAudioClient::Options& o, Collector&) { o.getMixFormat = E_FAIL; },
                    "Faild to GetMixFormat", false},
        FailureCase{"MixFormatNotFloat",
                    [](FakeAudioClient::Options& o, Collector&) { o.mixIsFloat = false; }, "",
                    false},
        FailureCase{"Initialize",
                    [](FakeAudioClient::Options& o, Collector&) { o.initialize = E_FAIL; },
                    "Faild to Initialize", false},
        FailureCase{
            "GetService",
            [](FakeAudioClient::Options& o, Collector&) { o.getService = kWrongEndpointType; },
            "Faild to GetService", false},
        FailureCase{
            "Writer",
            [](FakeAudioClient::Options&, Collector& c) { c.openError = "Can't create MP3 file."; },
            "Faild to create MP3 writer: Can't create MP3 file.", false},
        FailureCase{"Start", [](FakeAudioClient::Options& o, Collector&) { o.start = E_FAIL; }, "8",
                    true},
        FailureCase{"GetBuffer",
                    [](FakeAudioClient::Options& o, Collector&) { o.getBuffer = E_FAIL; },
                    "Faild to get buffer", true}),
    [](const testing::TestParamInfo<FailureCase>& i) { return std::string(i.param.name); });

// --- the format helpers --------------------------------------------------------

TEST(LoopbackFormat, ForcesAFloatMixFormatTo16Bits)
{
    WAVEFORMATEXTENSIBLE f = {};
    f.Format = {WAVE_FORMAT_EXTENSIBLE, 2, 48000, 384000, 8, 32, 22};
    f.Samples.wValidBitsPerSample = 32;
    f.dwChannelMask = KSAUDIO_SPEAKER_STEREO;
    f.SubFormat = KSDATAFORMAT_SUBTYPE_IEEE_FLOAT;
    ASSERT_TRUE(IsFloatMixFormat(&f.Format));
    ForceToPcm16(&f.Format);
    EXPECT_EQ(WAVE_FORMAT_EXTENSIBLE, f.Format.wFormatTag);
    EXPECT_EQ(22, f.Format.cbSize);
    EXPECT_EQ(16, f.Format.wBitsPerSample);
    EXPECT_EQ(16, f.Samples.wValidBitsPerSample);
    EXPECT_EQ(4, f.Format.nBlockAlign);
    EXPECT_EQ(192000u, f.Format.nAvgBytesPerSec);
    EXPECT_TRUE(IsEqualGUID(KSDATAFORMAT_SUBTYPE_PCM, f.SubFormat));
    EXPECT_FALSE(IsFloatMixFormat(&f.Format));
}

TEST(LoopbackFormat, ReadsNoSubFormatBeyondAPlainHeader)
{
    // An extensible tag without the extension is not taken for floats.
    WAVEFORMATEX plain = {WAVE_FORMAT_EXTENSIBLE, 2, 48000, 384000, 8, 32, 0};
    EXPECT_FALSE(IsFloatMixFormat(&plain));
    WAVEFORMATEX ieee = {WAVE_FORMAT_IEEE_FLOAT, 2, 48000, 384000, 8, 32, 0};
    EXPECT_TRUE(IsFloatMixFormat(&ieee));
    LoopbackStreamFormat s;
    EXPECT_FALSE(DescribeStreamFormat(&plain, &s));
}

}  // namespace
