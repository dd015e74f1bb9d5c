// The progress parser: the texts from ffmpeg's console output, reads that
// stay inside the output however it is cut, and no percent without a
// duration.
#include <gtest/gtest.h>

#include "core/EncoderProgress.h"

#include <windows.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct Texts {
    std::string duration, time, bitrate, percent;
    bool operator==(const Texts& o) const
    {
        return duration == o.duration && time == o.time && bitrate == o.bitrate &&
               percent == o.percent;
    }
};

std::ostream& operator<<(std::ostream& os, const Texts& t)
{
    return os << "{'" << t.duration << "' '" << t.time << "' '" << t.bitrate << "' '" << t.percent
              << "'}";
}

Texts TextsOf(const EncoderProgressParser& p)
{
    return Texts{p.durationText(), p.timeText(), p.bitrateText(), p.percentText()};
}

// Feeds the output cut at the given positions.
Texts Parse(const std::string& output, const std::vector<size_t>& cuts = {})
{
    EncoderProgressParser p;
    size_t from = 0;
    for (size_t cut : cuts) {
        p.Feed(output.data() + from, cut - from);
        from = cut;
    }
    p.Feed(output.data() + from, output.size() - from);
    p.Finish();
    return TextsOf(p);
}

std::vector<size_t> RandomCuts(std::mt19937& rng, size_t size)
{
    std::vector<size_t> cuts;
    if (size == 0) return cuts;
    std::uniform_int_distribution<size_t> step(1, 1 + size / (1 + rng() % 40));
    for (size_t at = step(rng); at < size; at += step(rng)) cuts.push_back(at);
    return cuts;
}

std::string CapturedOutput()
{
    // Real output of "vintx.exe" converting a 10 s AVI, captured once.
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(200), RT_RCDATA);
    if (!res) return std::string();
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, res)));
    return std::string(bytes, SizeofResource(nullptr, res));
}

TEST(EncoderProgressTest, ReadsDurationTimeBitrateAndPercent)
{
    struct Case {
        const char* what;
        std::string output;
        Texts want;
    } cases[] = {
        {"1:40 long, at 0:50",
         "Input #0, avi, from 'a.avi':\n  Duration: 00:01:40.00, start: 0.000000, bitrate: 347 "
         "kb/s\n"
         "frame=  12 fps=0.0 q=28.0 size=   0kB time=00:00:50.00 bitrate= 123.4kbits/s speed=1x\r",
         {" 00:01:40.00", "00:00:50.00", "123.4kbits/s", "50%"}},
        {"whole seconds only",
         "  Duration: 00:00:03.99, start: 0\ntime=00:00:01.98 bitrate=1234.5kbits/s\r",
         {" 00:00:03.99", "00:00:01.98", "234.5kbits/s", "33%"}},
        {"zero duration gives no percent",
         "  Duration: 00:00:00.00, start: 0\rtime=00:00:05.00 bitrate= 1.0kbits/s\r",
         {" 00:00:00.00", "00:00:05.00", "1.0kbits/s", ""}},
        {"no duration at all",
         "time=00:00:05.00 bitrate=  10.0kbits/s\r",
         {"", "00:00:05.00", " 10.0kbits/s", ""}},
        {"N/A is no duration; a later one counts",
         "  Duration: N/A, start: 0.000000, bitrate: N/A\n  Duration: 00:00:10.00, start: 0\n"
         "time=00:00:02.00 bitrate=N/A speed=1x\r",
         {" 00:00:10.00", "00:00:02.00", "", "20%"}},
        {"the first duration wins",
         "  Duration: 00:00:10.00, start: 0\n  Duration: 00:00:20.00, start: 0\ntime=00:00:05.00\r",
         {" 00:00:10.00", "00:00:05.00", "", "50%"}},
        {"past the end stays at 100%",
         "  Duration: 00:00:10.00, s\ntime=00:00:11.50\r",
         {" 00:00:10.00", "00:00:11.50", "", "100%"}},
        {"negative and unknown times are skipped",
         "  Duration: 00:00:10.00, s\ntime=00:00:04.00\rtime=-00:00:00.04\rtime=N/A\r",
         {" 00:00:10.00", "00:00:04.00", "", "40%"}},
        {"a duration cut short is skipped", "  Duration: 00:00:1\n", {"", "", "", ""}},
        {"fewer than 21 characters from the key", "Duration: 00:00:10.0", {"", "", "", ""}},
        {"21 characters are enough", "Duration: 00:00:10.00", {" 00:00:10.00", "", "", ""}},
        {"keys at the very end", "x Duration:\rtime=\rbitrate=", {"", "", "", ""}},
        {"a time cut short is skipped", "time=00:00:0", {"", "", "", ""}},
        {"a short bitrate is kept as far as it goes", "bitrate= 1.5k", {"", "", "1.5k", ""}},
        {"hours count",
         "  Duration: 01:00:00.00, s\ntime=00:45:00.00\r",
         {" 01:00:00.00", "00:45:00.00", "", "75%"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.want, Parse(c.output)) << c.what;
        // Byte by byte gives the same.
        std::vector<size_t> everyByte;
        for (size_t i = 1; i < c.output.size(); ++i) everyByte.push_back(i);
        EXPECT_EQ(c.want, Parse(c.output, everyByte)) << c.what << " (byte by byte)";
    }
}

TEST(EncoderProgressTest, AKeySplitOverTwoReadsIsStillSeen)
{
    const std::string line = "  Duration: 00:00:10.00, start: 0\n";
    for (size_t cut = 1; cut < line.size(); ++cut) {
        EncoderProgressParser p;
        p.Feed(line.data(), cut);
        p.Feed(line.data() + cut, line.size() - cut);
        EXPECT_EQ(" 00:00:10.00", p.durationText()) << cut;
    }
}

TEST(EncoderProgressTest, ClearEmptiesEverything)
{
    EncoderProgressParser p;
    const std::string out =
        "  Duration: 00:00:10.00, s\ntime=00:00:05.00 bitrate= 1.0kbits/s\rtime=0";
    p.Feed(out.data(), out.size());
    p.Clear();
    p.Finish();
    EXPECT_EQ((Texts{"", "", "", ""}), TextsOf(p));
}

TEST(EncoderProgressTest, RandomSplitsOfRealOutputGiveTheSameTexts)
{
    const std::string output = CapturedOutput();
    ASSERT_GT(output.size(), 1000u);
    const Texts whole = Parse(output);
    EXPECT_EQ(" 00:00:10.04", whole.duration);
    EXPECT_EQ("00:00:10.03", whole.time);
    EXPECT_EQ("123.9kbits/s", whole.bitrate);
    EXPECT_EQ("100%", whole.percent);

    std::mt19937 rng(20240203);
    for (int round = 0; round < 300; ++round) {
        // Cut the output short as well: a run may be cancelled anywhere.
        std::string part = output.substr(0, round % 3 ? output.size() : rng() % output.size());
        std::vector<size_t> cuts = RandomCuts(rng, part.size());
        EXPECT_EQ(Parse(part), Parse(part, cuts)) << "round " << round;
    }
}

TEST(EncoderProgressTest, RandomBytesNeverReadOutsideTheOutput)
{
    std::mt19937 rng(7);
    const char* pieces[] = {"Duration:", " Duration: ", "time=", "bitrate=", "00:00:",
                            "\r",        "\n",          "N/A",   "-",        "99:59:59.99"};
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const size_t size = rng() % 5000;
        while (bytes.size() < size) {
            if (rng() % 4 == 0)
                bytes += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
            else
                bytes += (char)(rng() & 0xFF);
        }
        // Half the rounds end right on a key.
        if (round % 2) bytes += pieces[rng() % 4];
        std::vector<size_t> cuts = RandomCuts(rng, bytes.size());
        const Texts whole = Parse(bytes);
        EXPECT_EQ(whole, Parse(bytes, cuts)) << "round " << round;
        EXPECT_LE(whole.duration.size(), 12u);
        EXPECT_LE(whole.time.size(), 11u);
        EXPECT_LE(whole.bitrate.size(), 12u);
        EXPECT_LE(whole.percent.size(), 4u);
    }
}

}  // namespace

namespace {

TEST(EncoderProgressTest, KeepsTheLastMessageLineButNotProgressOrTheClosingFailure)
{
    // The converter's own words when the avi presets meet a build without
    // Xvid, cut anywhere; and a run whose last words are the closing line.
    const std::string unknownEncoder =
        "Input #0, avi, from 'C:\\a b\\x.avi':\n  Duration: 00:00:03.00, start: 0\n"
        "Stream mapping:\n  Stream #0:0 -> #0:0 (h264 (native) -> ? (?))\n"
        "Unknown encoder 'libxvid'\n";
    const std::string failedRun =
        "[mp4 @ 0x1] Could not write header for output file #0\n"
        "frame=    0 fps=0.0 q=0.0 Lsize=       0kB time=00:00:00.00 bitrate=N/A\r"
        "Conversion failed!\r\n";
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        for (const auto& c : {std::make_pair(unknownEncoder, std::string("Unknown encoder 'libxvid'")),
                              std::make_pair(failedRun,
                                             std::string("[mp4 @ 0x1] Could not write header for "
                                                         "output file #0"))}) {
            EncoderProgressParser p;
            size_t from = 0;
            for (size_t cut : RandomCuts(rng, c.first.size())) {
                p.Feed(c.first.data() + from, cut - from);
                from = cut;
            }
            p.Feed(c.first.data() + from, c.first.size() - from);
            p.Finish();
            EXPECT_EQ(c.second, p.lastMessageLine());
        }
    }
    EncoderProgressParser progressOnly;
    const std::string ticks = "frame=  1 time=00:00:01.00 bitrate= 1.0kbits/s\rsize= 10kB\r";
    progressOnly.Feed(ticks.data(), ticks.size());
    progressOnly.Finish();
    EXPECT_EQ("", progressOnly.lastMessageLine());
}

}  // namespace
