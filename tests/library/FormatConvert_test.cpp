// What the format conversion and the save notice decide without a window:
// the options of each format and quality, a command line that keeps every
// path one argument, the output's name, how an ended run is judged, and the
// notice's fade on a simulated clock.
#include <gtest/gtest.h>

#include "library/FormatConvert.h"
#include "library/NoticeFade.h"

#include <shellapi.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The arguments the converter's C runtime sees (the program path first).
std::vector<std::string> Arguments(const std::string& commandLine)
{
    const std::string full = "vintx.exe" + commandLine;
    std::wstring wide(full.begin(), full.end());
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> out;
    for (int i = 1; i < count; ++i) {
        std::wstring w(argv[i]);
        out.push_back(std::string(w.begin(), w.end()));
    }
    LocalFree(argv);
    return out;
}

TEST(FormatConvertTest, EveryFormatAndQualityHasItsOptionsAndOutOfRangeHasNone)
{
    std::set<std::string> extensions;
    for (int f = 0; f < kConvertFormatCount; ++f) {
        extensions.insert(ConvertFormatExtension(f));
        std::set<std::string> perQuality;
        for (int q = 0; q < kConvertQualityCount; ++q) {
            const std::string o = ConvertOptions(f, q);
            EXPECT_FALSE(o.empty()) << f << "/" << q;
            EXPECT_EQ(' ', o.front()) << "options stand apart from the input";
            EXPECT_EQ(' ', o.back()) << "and from the output";
            perQuality.insert(o);
        }
        // Only gif and webm leave the quality to the converter.
        EXPECT_EQ(f == 9 || f == 10 ? 1u : 4u, perQuality.size()) << f;
    }
    EXPECT_EQ(12u, extensions.size());
    EXPECT_EQ(".mpg", std::string(ConvertFormatExtension(11)));
    EXPECT_EQ("format_mpg_opt", std::string(ConvertFormatOptionName(11)));
    EXPECT_EQ("qulity_2_opt", std::string(ConvertQualityOptionName(1)));
    // The preselected pair: mp4 at "高".
    EXPECT_EQ(" -preset fast -crf 28 ", ConvertOptions(0, 1));
    // mkv and mov share mp4's row; swf, vob and mpg share flv's.
    for (int q = 0; q < 4; ++q) {
        EXPECT_EQ(ConvertOptions(0, q), ConvertOptions(6, q));
        EXPECT_EQ(ConvertOptions(0, q), ConvertOptions(7, q));
        for (int f : {5, 8, 11}) EXPECT_EQ(ConvertOptions(4, q), ConvertOptions(f, q));
    }
    EXPECT_EQ("  -c:v libxvid -qscale 6 ", ConvertOptions(2, 1)) << "two leading blanks, as set";
    EXPECT_EQ("", ConvertOptions(12, 1));
    EXPECT_EQ("", ConvertOptions(-1, 1));
    EXPECT_EQ("", ConvertOptions(0, 4));
    EXPECT_EQ(" ", ConvertOptions(9, 7)) << "gif has no quality to be out of range";
    EXPECT_EQ(nullptr, ConvertFormatExtension(12));
}

TEST(FormatConvertTest, TheCommandKeepsPathsWithBlanksAndChineseAsOneArgumentEach)
{
    const std::string input = "C:\\我的 视频\\a b.avi";
    const std::string output = "D:\\out dir\\a b.mp4";
    const std::string cmd = BuildConvertCommandLine(input, ConvertOptions(0, 1), output);
    EXPECT_EQ(0u, cmd.find(" -y -i \""));
    std::vector<std::string> want = {"-y", "-i", input, "-preset", "fast", "-crf", "28", output};
    EXPECT_EQ(want, Arguments(cmd));
    // gif: input, the blank options, output.
    want = {"-y", "-i", input, output};
    EXPECT_EQ(want, Arguments(BuildConvertCommandLine(input, ConvertOptions(9, 0), output)));
}

TEST(FormatConvertTest, TheOutputIsBesideTheInputAndNeverTheInputItself)
{
    EXPECT_EQ("C:\\v\\a.b.mp4", DefaultConvertTarget("C:\\v\\a.b.avi").Path());
    EXPECT_EQ(".mp4", DefaultConvertTarget("").Path());
    EXPECT_EQ("C:\\v.d\\clip.mp4", DefaultConvertTarget("C:\\v.d\\clip").Path());
    EXPECT_EQ("clip.mp4", DefaultConvertTarget("clip.avi").Path());
    ConvertTarget t = DefaultConvertTarget("C:\\v\\a.avi");
    t.folder = AsOutputFolder("D:\\picked");
    EXPECT_EQ("D:\\picked\\a.mp4", t.Path());
    EXPECT_EQ("D:\\", AsOutputFolder("D:\\"));

    std::set<std::string> taken;
    auto exists = [&](const std::string& p) { return taken.count(p) > 0; };
    EXPECT_EQ("C:\\v\\a.mp4", ChooseOutputPath("C:\\v\\a.avi", "C:\\v\\a.mp4", exists));
    // avi to avi: the converter would be asked to write over its input.
    EXPECT_EQ("C:\\v\\a_1.avi", ChooseOutputPath("C:\\v\\a.avi", "C:\\v\\a.avi", exists));
    EXPECT_EQ("C:\\v\\A_1.AVI", ChooseOutputPath("c:/v/a.avi", "C:\\v\\A.AVI", exists))
        << "the same file, whatever the case or slash";
    taken = {"C:\\v\\a_1.avi", "C:\\v\\a_2.avi"};
    EXPECT_EQ("C:\\v\\a_3.avi", ChooseOutputPath("C:\\v\\a.avi", "C:\\v\\a.avi", exists));
    EXPECT_EQ("C:\\v.d\\a_1", ChooseOutputPath("C:\\v.d\\a", "C:\\v.d\\a", exists));
}

TEST(FormatConvertTest, OnlyACompleteOutputOfAZeroExitIsASuccessAndAHalfWrittenOneGoes)
{
    FileStamp none;
    FileStamp written;
    written.exists = true;
    written.size = 5000;
    written.written = {1, 2};
    FileStamp empty = written;
    empty.size = 0;
    FileStamp older = written;
    older.written = {1, 1};

    ConvertOutcome ok = JudgeConversion(false, true, 0, "", none, written);
    EXPECT_TRUE(ok.succeeded);
    EXPECT_FALSE(ok.removeOutput);
    EXPECT_EQ("", ok.message);
    // An existing file written over counts as well.
    EXPECT_TRUE(JudgeConversion(false, true, 0, "", older, written).succeeded);

    ConvertOutcome emptyOut = JudgeConversion(false, true, 0, "", none, empty);
    EXPECT_FALSE(emptyOut.succeeded);
    EXPECT_TRUE(emptyOut.removeOutput);
    EXPECT_NE("", emptyOut.message);

    ConvertOutcome xvid = JudgeConversion(false, true, 1, "Unknown encoder 'libxvid'", none, none);
    EXPECT_FALSE(xvid.succeeded);
    EXPECT_FALSE(xvid.removeOutput) << "nothing was written";
    EXPECT_NE(std::string::npos, xvid.message.find("Xvid"));
    EXPECT_NE(std::string::npos, xvid.message.find("avi 格式"));

    ConvertOutcome other = JudgeConversion(false, true, 1, "Invalid data found", none, written);
    EXPECT_EQ("转换失败：Invalid data found", other.message);
    EXPECT_TRUE(other.removeOutput);

    ConvertOutcome cancelled = JudgeConversion(true, false, 1, "", none, written);
    EXPECT_FALSE(cancelled.succeeded);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_TRUE(cancelled.removeOutput);
    EXPECT_EQ("", cancelled.message) << "the user knows why it stopped";
    // A file of the user's the converter never opened stays.
    EXPECT_FALSE(JudgeConversion(true, false, 1, "", written, written).removeOutput);
    EXPECT_FALSE(JudgeConversion(false, false, 0, "", written, written).succeeded)
        << "a converter that never started made nothing";
}

TEST(FormatConvertTest, ProgressLabelsShowTimeOverDurationBitrateAndPercent)
{
    ConvertProgressTexts t =
        MakeConvertProgressTexts(" 00:01:40.00", "00:00:50.00", "123.4kbits/s", "50%");
    EXPECT_EQ("时间：00:00:50.00/ 00:01:40.00", t.time);
    EXPECT_EQ("比特率：123.4kbits/s", t.bitrate);
    EXPECT_EQ("完成百分比：50%", t.percent);
}

// Window timers on a simulated clock, in 1 ms steps.
class FakeNotice : public NoticeFadeHost {
public:
    FakeNotice() : fade(*this) {}

    void StartTimer(int id, unsigned periodMs) override { timers[id] = {periodMs, now + periodMs}; }
    void StopTimer(int id) override { timers.erase(id); }
    void ApplyOpacity(int opacity) override
    {
        applied.push_back(opacity);
        if (opacity == 255 && fullAt < 0) fullAt = (long)now;
    }
    void CloseNotice() override { closedAt = (long)now; }
    bool IsMouseOver() const override { return mouseOver; }
    unsigned long NowMs() const override { return now; }

    void Run(unsigned ms)
    {
        for (unsigned end = now + ms; now < end && closedAt < 0;) {
            ++now;
            std::vector<int> due;
            // Timers fire on the system's tick, never before their time.
            if (now % granularity != 0) continue;
            for (auto& t : timers)
                if (t.second.next <= now) due.push_back(t.first);
            for (int id : due) {
                if (!timers.count(id)) continue;
                timers[id].next = now + timers[id].period;
                fade.OnTimer(id);
            }
        }
    }

    struct Timer {
        unsigned period, next;
    };
    std::map<int, Timer> timers;
    std::vector<int> applied;
    unsigned now = 0;
    long fullAt = -1, closedAt = -1;
    bool mouseOver = false;
    unsigned granularity = 1;
    NoticeFade fade;
};

TEST(NoticeFadeTest, FadesInFromFaintHoldsThreeSecondsAndFadesOutToClose)
{
    FakeNotice n;
    n.fade.Start();
    ASSERT_FALSE(n.applied.empty());
    EXPECT_EQ(1, n.applied.front()) << "no flash of full opacity before the fade";
    n.Run(20000);
    EXPECT_EQ(510, n.fullAt) << "+5 every 10 ms";
    for (size_t i = 1; i < n.applied.size(); ++i) {
        if (n.applied[i] == 255 || n.applied[i - 1] == 255) continue;
        EXPECT_LE(std::abs(n.applied[i] - n.applied[i - 1]), 5);
    }
    // 3 s at full, then 256 steps of 10 ms down to 0.
    EXPECT_EQ(510 + 3000 + 2560, n.closedAt - 0) << "closed " << n.closedAt;
    EXPECT_EQ(0, n.applied.back());
    EXPECT_TRUE(n.fade.closed());
    n.fade.OnMouseOver();  // a late mouse over a closed notice does nothing
    EXPECT_EQ(0, n.applied.back());
}

TEST(NoticeFadeTest, TheMouseHoldsItAtFullOpacityAndLeavingFadesItOutLater)
{
    FakeNotice n;
    n.fade.Start();
    n.Run(4000);  // half way down the fade-out
    ASSERT_LT(n.applied.back(), 255);
    n.fade.OnMouseOver();
    EXPECT_EQ(255, n.applied.back());
    n.Run(30000);
    EXPECT_EQ(-1, n.closedAt) << "held for as long as the mouse is over it";
    const unsigned left = n.now;
    n.fade.OnMouseLeave();
    n.Run(1499);
    EXPECT_EQ(255, n.applied.back());
    n.Run(20000);
    EXPECT_EQ((long)(left + 1500 + 2560), n.closedAt) << "1.5 s, then the fade from full";

    // A cursor resting on it when the hold ends, without a move, holds it.
    FakeNotice resting;
    resting.mouseOver = true;
    resting.fade.Start();
    resting.Run(30000);
    EXPECT_EQ(-1, resting.closedAt);
    resting.mouseOver = false;
    resting.Run(20000);
    EXPECT_GT(resting.closedAt, 30000);
}

TEST(NoticeFadeTest, CoarseTimersStillFadeInAboutHalfASecondAndOutInAboutTwoAndAHalf)
{
    // Timers that fire every 16 ms at best (Windows' default tick) or 25 ms.
    for (unsigned granularity : {16u, 25u}) {
        FakeNotice n;
        n.granularity = granularity;
        n.fade.Start();
        n.Run(20000);
        EXPECT_GE(n.fullAt, 510);
        EXPECT_LE(n.fullAt, 510 + (long)granularity) << granularity;
        EXPECT_GE(n.closedAt - n.fullAt, 3000 + 2560);
        EXPECT_LE(n.closedAt - n.fullAt, 3000 + 2560 + 2 * (long)granularity) << granularity;
    }
}

}  // namespace
