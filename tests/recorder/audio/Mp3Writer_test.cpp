// CMp3Writer: 128 kbit/s constant bit rate, joint stereo, the whole input kept.
#include <gtest/gtest.h>

#include "AudioTestSupport.h"
#include "TestKit.h"
#include "recorder/audio/Mp3Writer.h"

#include <algorithm>
#include <cstdlib>

using namespace audiotest;
using testkit::Probe;

namespace {

struct WriterCase {
    UINT32 inputRate;
    UINT32 mp3Rate;
    UINT32 bytesPerWrite;  // 0: all at once
};

class Mp3WriterTone : public testing::TestWithParam<WriterCase> {
protected:
    void SetUp() override { UseProgramFolderDlls(); }
};

TEST_P(Mp3WriterTone, KeepsEverySecondOfATone)
{
    const WriterCase& c = GetParam();
    std::string path = testkit::MakeTempDir("mp3") + "\\tone.mp3";
    std::vector<short> pcm = Tone(1000, 3.0, c.inputRate, 10000);
    {
        CMp3Writer writer(128, c.inputRate, path);
        const UINT32 total = (UINT32)(pcm.size() * 2);
        const UINT32 step = c.bytesPerWrite ? c.bytesPerWrite : total;
        const char* bytes = reinterpret_cast<const char*>(pcm.data());
        for (UINT32 at = 0; at < total; at += step)
            writer.Write(bytes + at, std::min(step, total - at));
        EXPECT_EQ(pcm.size() / 2, writer.FramesWritten());
    }
    auto a = Probe(path, "a:0", "codec_name,sample_rate,channels,bit_rate");
    EXPECT_EQ("mp3", a["codec_name"]);
    EXPECT_EQ(std::to_string(c.mp3Rate), a["sample_rate"]);
    EXPECT_EQ("2", a["channels"]);
    EXPECT_EQ("128000", a["bit_rate"]);
    EXPECT_NEAR(3.0, atof(Probe(path, "", "duration")["duration"].c_str()), 0.05);
    // The encoder's last frames are in the file, and the Info tag lets a
    // decoder give back exactly what went in.
    EXPECT_NEAR(3.0, DecodedSeconds(path, c.mp3Rate), 0.001);
    // A 10000-amplitude sine is at -13.3 dB (the encoder's constant-bit-rate
    // preset scales its input by about -0.9 dB), up to its last moment.
    const double level = MeanVolumeDb(path, 0.5, 2.0);
    EXPECT_NEAR(-13.3 - 0.9, level, 0.4);
    EXPECT_NEAR(level, MeanVolumeDb(path, 2.85, 0.1), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Rates, Mp3WriterTone,
                         testing::Values(WriterCase{44100, 44100, 0},
                                         WriterCase{44100, 44100, 4096},
                                         WriterCase{48000, 48000, 3840},
                                         WriterCase{96000, 48000, 0}));

TEST(Mp3Writer, EncodesWithoutAFileWhenThePathIsEmpty)
{
    UseProgramFolderDlls();
    std::vector<short> pcm = Tone(440, 0.5, 44100, 5000);
    CMp3Writer writer(128, 44100, "");
    writer.Write(pcm.data(), (UINT32)(pcm.size() * 2));
    writer.Finish();
    EXPECT_EQ(22050u, writer.FramesWritten());
    EXPECT_FALSE(writer.WriteFailed());
}

TEST(Mp3Writer, RefusesAFileItCannotCreate)
{
    UseProgramFolderDlls();
    std::string dir = testkit::MakeTempDir("mp3bad");
    std::string path = dir + "\\missing\\x.mp3";
    try {
        CMp3Writer writer(128, 44100, path);
        FAIL() << "no error";
    } catch (const char* error) {
        EXPECT_STREQ("Can't create MP3 file.", error);
    }
    EXPECT_TRUE(FilesIn(dir, "*").empty());
}

// The memory the process has committed for itself (its heaps grow there).
SIZE_T PrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION m;
    for (const BYTE* p = nullptr; VirtualQuery(p, &m, sizeof m) == sizeof m;
         p = static_cast<const BYTE*>(m.BaseAddress) + m.RegionSize) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += m.RegionSize;
        if (static_cast<const BYTE*>(m.BaseAddress) + m.RegionSize < p) break;
    }
    return total;
}

// Writers of short files (too short for the Info tag), writers that never
// wrote and writers without a file: each frees its encoder when it goes.
TEST(Mp3Writer, EveryWriterFreesItsEncoder)
{
    UseProgramFolderDlls();
    const std::string dir = testkit::MakeTempDir("mp3free");
    const std::vector<short> pcm = Tone(440, 0.02, 44100, 5000);
    auto writeSome = [&](int n) {
        for (int i = 0; i < n; ++i) {
            CMp3Writer writer(128, 44100, i % 3 == 2 ? std::string() : dir + "\\short.mp3");
            if (i % 3 != 1) writer.Write(pcm.data(), (UINT32)(pcm.size() * 2));
        }
    };
    writeSome(20);  // the library's own first allocations
    const SIZE_T before = PrivateBytes();
    writeSome(150);
    const double grownMB = ((double)PrivateBytes() - before) / 1048576.0;
    // A stream left behind holds about 190 KB: the hundred with a file would
    // be 19 MB.
    EXPECT_LT(grownMB, 4.0);
    EXPECT_EQ(std::vector<std::string>{"short.mp3"}, FilesIn(dir, "*"));
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    EXPECT_TRUE(FilesIn(temp, "lam*.tmp").empty()) << "scratch files left behind";
}

}  // namespace
