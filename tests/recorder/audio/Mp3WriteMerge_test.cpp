// CMp3WriteMerge: microphone and system sound in PCM chunk pairs, mixed
// sample by sample into one MP3.
#include <gtest/gtest.h>

#include "AudioTestSupport.h"
#include "TestKit.h"
#include "recorder/audio/Mp3WriteMerge.h"
#include "recorder/audio/PcmChunkMixer.h"

#include <cmath>
#include <cstdlib>
#include <thread>

using namespace audiotest;

namespace {

// --- the mix of one pair --------------------------------------------------

struct MixCase {
    const char* name;
    std::vector<short> mic, speaker;
    bool keepMicTail;
    std::vector<short> expected;
};

void WriteSamples(const std::string& path, const std::vector<short>& s)
{
    testkit::WriteFile(path, std::string(reinterpret_cast<const char*>(s.data()), s.size() * 2));
}

class PairMix : public testing::TestWithParam<MixCase> {};

TEST_P(PairMix, AddsSampleBySample)
{
    const MixCase& c = GetParam();
    std::string dir = testkit::MakeTempDir("mix");
    std::string mic = dir + "\\mic.pcm", speaker = dir + "\\speaker.pcm";
    if (c.mic.size() != 1 || c.mic[0] != -1) WriteSamples(mic, c.mic);
    if (c.speaker.size() != 1 || c.speaker[0] != -1) WriteSamples(speaker, c.speaker);
    std::vector<short> out;
    MixPcmChunkFiles(
        mic, speaker, c.keepMicTail,
        [&](const short* s, UINT32 n) { out.insert(out.end(), s, s + n); }, [] {});
    EXPECT_EQ(c.expected, out);
}

// {-1} stands for a file that does not exist.
INSTANTIATE_TEST_SUITE_P(
    Pairs, PairMix,
    testing::Values(MixCase{"Sum", {100, -200}, {1, 2}, false, {101, -198}},
                    MixCase{"ClampHigh", {30000}, {10000}, false, {32767}},
                    MixCase{"ClampLow", {-30000}, {-10000}, false, {-32768}},
                    MixCase{"ShortMicIsSilence", {1}, {10, 20, 30}, false, {11, 20, 30}},
                    MixCase{"LongMicIsCut", {1, 2, 3, 4}, {10, 20}, false, {11, 22}},
                    MixCase{
                        "LastPairKeepsTheMicTail", {1, 2, 3, 4}, {10, 20}, true, {11, 22, 3, 4}},
                    MixCase{"NoSpeakerFileKeepsTheMic", {1, 2}, {-1}, false, {1, 2}},
                    MixCase{"NoMicFileKeepsTheSpeaker", {-1}, {5, 6}, false, {5, 6}}),
    [](const testing::TestParamInfo<MixCase>& i) { return std::string(i.param.name); });

TEST(PairMix, HandsOnBlocksOf1024Samples)
{
    std::string dir = testkit::MakeTempDir("mixblocks");
    WriteSamples(dir + "\\s.pcm", std::vector<short>(2500, 7));
    std::vector<UINT32> blocks;
    int pauses = 0;
    auto outcome = MixPcmChunkFiles(
        dir + "\\m.pcm", dir + "\\s.pcm", false,
        [&](const short*, UINT32 n) { blocks.push_back(n); }, [&] { ++pauses; });
    EXPECT_EQ((std::vector<UINT32>{1024, 1024, 452}), blocks);
    EXPECT_EQ(2, pauses);
    EXPECT_EQ(2500u, outcome.samples);
    EXPECT_FALSE(outcome.micRead);
    EXPECT_TRUE(outcome.speakerRead);
}

// --- the writer ------------------------------------------------------------

class MergeWriter : public testing::Test {
protected:
    void SetUp() override
    {
        UseProgramFolderDlls();
        dir_ = testkit::MakeTempDir("merge") + "\\";
    }
    // Feeds 'seconds' of the two tones, a 4096-byte block of microphone before
    // each block of system sound, as the capture threads would.
    static void Feed(CMp3WriteMerge& w, const std::vector<short>& mic,
                     const std::vector<short>& speaker)
    {
        const UINT32 block = 2048;  // samples
        for (size_t at = 0; at < speaker.size(); at += block) {
            UINT32 n = (UINT32)std::min<size_t>(block, speaker.size() - at);
            w.WriteMic(mic.data() + at, n * 2);
            w.WriteSpeaker(speaker.data() + at, n * 2);
        }
    }
    std::string dir_;
};

TEST_F(MergeWriter, SixtyFiveSecondsBecomeOneMp3OfTheSum)
{
    const double seconds = 65;
    std::vector<short> speaker = Tone(1000, seconds, 44100, 8000);
    std::vector<short> mic = Tone(1000, seconds, 44100, 4000);
    std::string mp3 = dir_ + "mix.mp3";
    {
        CMp3WriteMerge w(128, 44100, mp3, dir_);
        Feed(w, mic, speaker);
        // The first minute went to its own pair, merged while the rest records.
        EXPECT_TRUE(testkit::FileExists(dir_ + "vint_speaker_1.pcm"));
        EXPECT_TRUE(testkit::FileExists(dir_ + "vint_mic_1.pcm"));
    }
    EXPECT_EQ(std::vector<std::string>{"mix.mp3"}, FilesIn(dir_, "*"));
    auto a = testkit::Probe(mp3, "a:0", "codec_name,sample_rate,channels,bit_rate");
    EXPECT_EQ("mp3", a["codec_name"]);
    EXPECT_EQ("2", a["channels"]);
    EXPECT_EQ("128000", a["bit_rate"]);
    EXPECT_NEAR(seconds, atof(testkit::Probe(mp3, "", "duration")["duration"].c_str()), 0.05);
    EXPECT_NEAR(seconds, DecodedSeconds(mp3, 44100), 0.001);
    // 8000 + 4000 in phase is 1.5 times the system sound alone (+3.5 dB),
    // before and after the chunk boundary.
    std::string alone = dir_ + "alone.mp3";
    {
        CMp3Writer w(128, 44100, alone);
        w.Write(speaker.data(), 44100 * 4 * 5);
    }
    const double gain = 20 * log10(1.5), reference = MeanVolumeDb(alone, 1, 3);
    EXPECT_NEAR(reference + gain, MeanVolumeDb(mp3, 1, 57), 0.3);
    EXPECT_NEAR(reference + gain, MeanVolumeDb(mp3, 61, 3.5), 0.3);
}

double DurationOf(const std::string& path)
{
    return DecodedSeconds(path, 8000);
}

TEST_F(MergeWriter, MergesEveryPairWhenTheMergeFallsBehind)
{
    // At 8 kHz a pair holds 60 s; five and a half pairs arrive far faster than
    // the merge thread takes them while recording (5 ms per 1024 samples).
    std::vector<short> speaker = Tone(500, 330, 8000, 3000);
    std::vector<short> mic = Tone(500, 330, 8000, 1000);
    std::string mp3 = dir_ + "behind.mp3";
    {
        CMp3WriteMerge w(128, 8000, mp3, dir_);
        Feed(w, mic, speaker);
        EXPECT_TRUE(testkit::FileExists(dir_ + "vint_speaker_5.pcm"));
        EXPECT_TRUE(testkit::FileExists(dir_ + "vint_speaker_1.pcm")) << "no backlog to test";
    }
    EXPECT_NEAR(330.0, DurationOf(mp3), 0.001);
    EXPECT_TRUE(FilesIn(dir_, "*.pcm").empty());
}

TEST_F(MergeWriter, KeepsWritingWhenTheNextPairCannotBeCreated)
{
    // A folder in the way of the second pair's system-sound file.
    ASSERT_TRUE(CreateDirectoryA((dir_ + "vint_speaker_1.pcm").c_str(), nullptr));
    std::vector<short> speaker = Tone(500, 130, 8000, 3000);
    std::string mp3 = dir_ + "grown.mp3";
    {
        CMp3WriteMerge w(128, 8000, mp3, dir_);
        Feed(w, speaker, speaker);
        EXPECT_FALSE(testkit::FileExists(dir_ + "vint_mic_1.pcm"));
    }
    EXPECT_NEAR(130.0, DurationOf(mp3), 0.001);
    EXPECT_TRUE(FilesIn(dir_, "*.pcm").empty());
}

TEST_F(MergeWriter, MicrophoneAndSystemSoundMayWriteAtOnce)
{
    // Many rotations while the microphone thread writes on: every write lands
    // in an open chunk file, and all of the system sound is kept.
    std::vector<short> speaker = Tone(500, 400, 8000, 3000);
    std::vector<short> mic = Tone(500, 400, 8000, 1000);
    std::string mp3 = dir_ + "threads.mp3";
    {
        CMp3WriteMerge w(128, 8000, mp3, dir_);
        std::thread micThread([&] {
            for (size_t at = 0; at + 512 <= mic.size(); at += 512)
                w.WriteMic(mic.data() + at, 1024);
        });
        for (size_t at = 0; at + 2048 <= speaker.size(); at += 2048)
            w.WriteSpeaker(speaker.data() + at, 4096);
        micThread.join();
    }
    EXPECT_GE(DurationOf(mp3), 400.0 - 0.001);
    EXPECT_TRUE(FilesIn(dir_, "*.pcm").empty());
}

TEST_F(MergeWriter, RefusesATemporaryFolderItCannotWrite)
{
    std::string mp3 = dir_ + "none.mp3";
    try {
        CMp3WriteMerge w(128, 44100, mp3, dir_ + "missing\\");
        FAIL() << "no error";
    } catch (const char* error) {
        EXPECT_STREQ("Can't create PCM chunk file.", error);
    }
    EXPECT_TRUE(FilesIn(dir_, "*").empty());
}

}  // namespace
