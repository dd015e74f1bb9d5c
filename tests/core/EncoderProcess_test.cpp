// The converter runner with the real "vintx.exe": progress while it runs,
// exit codes, start failures, cancel, and the synchronous twin.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/EncoderProcess.h"
#include "core/SystemMessageBox.h"

#include <mutex>
#include <vector>

using namespace testkit;

namespace {

struct Box {
    std::string text, caption;
};

class EncoderProcessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = MakeTempDir("enc");
        // 10 s of video, made by the Linux ffmpeg.
        LinuxResult r = RunLinux(
            "cd " + ShellQuote(UnixPath(dir_)) +
            " && ffmpeg -nostdin -v error -f lavfi -i testsrc=duration=10:size=320x240:rate=25"
            " -c:v libx264 -preset ultrafast -g 25 in.avi");
        ASSERT_EQ(0, r.exitCode) << r.err;
    }

    void SetUp() override
    {
        SetSystemMessageBoxHook(
            [this](HWND, const std::string& text, const std::string& caption, UINT) {
                std::lock_guard<std::mutex> lock(boxLock_);
                boxes_.push_back(Box{text, caption});
                return IDOK;
            });
    }
    void TearDown() override
    {
        SetSystemMessageBoxHook(nullptr);
        EncoderProcess::SetPipeFailureForTest(false);
    }

    static std::string Path(const std::string& name) { return dir_ + "\\" + name; }
    static std::string Quoted(const std::string& name) { return "\"" + Path(name) + "\""; }

    std::vector<Box> Boxes()
    {
        std::lock_guard<std::mutex> lock(boxLock_);
        return boxes_;
    }

    static std::string dir_;
    std::mutex boxLock_;
    std::vector<Box> boxes_;
};

std::string EncoderProcessTest::dir_;

bool ProcessGone(DWORD pid)
{
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!h) return true;
    bool gone = WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
    CloseHandle(h);
    return gone;
}

TEST_F(EncoderProcessTest, ConversionReportsProgressAndEndsWithExitCodeZero)
{
    // At twice real time the run lasts about 5 s and reports as it goes.
    EncoderProcess run(" -y -readrate 2 -i " + Quoted("in.avi") +
                           " -c:v libx264 -preset ultrafast " + Quoted("out 中文.mp4") + " ",
                       ProgramDir());
    ASSERT_TRUE(run.Start());
    EXPECT_FALSE(run.Start());
    std::vector<int> percents;
    std::string duration, time;
    // Polled the way the callers do: the run thread's exit code.
    DWORD code = STILL_ACTIVE;
    while (GetExitCodeThread(run.thread(), &code) && code == STILL_ACTIVE) {
        Sleep(100);
        std::string d = run.durationText(), p = run.percentText(), t = run.timeText();
        if (!d.empty()) duration = d;
        if (!t.empty()) time = t;
        if (!p.empty() && (percents.empty() || percents.back() != atoi(p.c_str())))
            percents.push_back(atoi(p.c_str()));
        ASSERT_TRUE(p.empty() || p.back() == '%') << p;
    }
    EXPECT_EQ(" 00:00:10.00", duration);
    EXPECT_EQ(11u, time.size());
    ASSERT_GE(percents.size(), 3u);
    for (size_t i = 1; i < percents.size(); ++i) EXPECT_LT(percents[i - 1], percents[i]);
    EXPECT_GE(percents.back(), 80);
    EXPECT_LE(percents.back(), 100);

    EXPECT_TRUE(run.finished());
    EXPECT_EQ(kEncoderEnded, run.status());
    EXPECT_EQ(0u, run.exitCode());
    EXPECT_TRUE(run.result().Succeeded());
    EXPECT_NE(0u, run.processId());
    EXPECT_TRUE(ProcessGone(run.processId()));
    // The texts are emptied once the run has ended.
    EXPECT_EQ("", run.durationText());
    EXPECT_EQ("", run.percentText());
    EXPECT_TRUE(Boxes().empty());

    auto format = Probe(Path("out 中文.mp4"), "", "duration");
    EXPECT_NEAR(10.0, atof(format["duration"].c_str()), 0.2);
}

TEST_F(EncoderProcessTest, AFailedConversionKeepsItsExitCode)
{
    EncoderProcess run(" -y -i " + Quoted("missing.avi") + " " + Quoted("never.mp4"), ProgramDir());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.Wait(60000));
    EXPECT_EQ(kEncoderEnded, run.status());
    EXPECT_NE(0u, run.exitCode());
    EXPECT_FALSE(run.result().Succeeded());
    EXPECT_FALSE(FileExists(Path("never.mp4")));
}

TEST_F(EncoderProcessTest, AMissingConverterIsAStartFailure)
{
    const std::string empty = MakeTempDir("noconv");
    EncoderProcess run(" -y -i " + Quoted("in.avi") + " " + Quoted("x.mp4"), empty);
    EXPECT_EQ(empty + "\\vintx.exe", run.programPath());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.Wait(10000));
    EXPECT_EQ(kEncoderStartFailed, run.status());
    EXPECT_FALSE(run.result().Succeeded());
    EXPECT_EQ(0u, run.processId());
    std::vector<Box> boxes = Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("保存失败，重新安装程序可能解决此问题。", boxes[0].text);
    EXPECT_EQ("Note", boxes[0].caption);

    EncoderResult sync = RunEncoderProcessSync(" -version", empty);
    EXPECT_EQ(kEncoderStartFailed, sync.status);
    EXPECT_FALSE(sync.Succeeded());
    EXPECT_EQ(1u, Boxes().size());  // the synchronous runner shows nothing
}

TEST_F(EncoderProcessTest, CancelEndsTheConverterWithinOnePoll)
{
    EncoderProcess run(" -y -re -i " + Quoted("in.avi") + " -c:v libx264 " + Quoted("long.mp4"),
                       ProgramDir());
    ASSERT_TRUE(run.Start());
    // Wait until it is really converting.
    for (int i = 0; i < 300 && run.percentText().empty(); ++i) Sleep(50);
    ASSERT_FALSE(run.percentText().empty());
    const DWORD pid = run.processId();
    const DWORD start = GetTickCount();
    SetEvent(run.cancelEvent());
    ASSERT_TRUE(run.Wait(5000));
    EXPECT_LE(GetTickCount() - start, 600u);
    EXPECT_EQ(kEncoderCancelled, run.status());
    EXPECT_EQ(kEncoderCancelledExitCode, run.exitCode());
    EXPECT_FALSE(run.result().Succeeded());
    EXPECT_TRUE(ProcessGone(pid));
}

TEST_F(EncoderProcessTest, DeletingARunningRunEndsTheConverter)
{
    auto* run = new EncoderProcess(" -y -re -i " + Quoted("in.avi") + " " + Quoted("gone.mp4"),
                                   ProgramDir());
    ASSERT_TRUE(run->Start());
    for (int i = 0; i < 200 && run->processId() == 0; ++i) Sleep(20);
    const DWORD pid = run->processId();
    ASSERT_NE(0u, pid);
    delete run;
    EXPECT_TRUE(ProcessGone(pid));
}

TEST_F(EncoderProcessTest, WithoutAPipeTheRunGoesOnUncaptured)
{
    EncoderProcess::SetPipeFailureForTest(true);
    EncoderProcess run(" -v error -y -i " + Quoted("in.avi") +
                           " -t 2 -c:v libx264 -preset ultrafast " + Quoted("nopipe.mp4"),
                       ProgramDir());
    ASSERT_TRUE(run.Start());
    bool sawText = false;
    while (!run.Wait(20))
        sawText = sawText || !run.durationText().empty() || !run.timeText().empty();
    EXPECT_FALSE(sawText);
    EXPECT_EQ(kEncoderEnded, run.status());
    EXPECT_EQ(0u, run.exitCode());
    EXPECT_TRUE(FileExists(Path("nopipe.mp4")));
    std::vector<Box> boxes = Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("CreatePipe failed", boxes[0].text);
    EXPECT_EQ("Warning", boxes[0].caption);
}

TEST_F(EncoderProcessTest, SynchronousRunsReturnTheExitCode)
{
    // The editor's keep: a stream-copied range, paths quoted.
    EncoderResult cut = RunEncoderProcessSync(" -y -accurate_seek -i " + Quoted("in.avi") +
                                                  " -ss 00:00:02 -t 00:00:03 -codec copy "
                                                  "-avoid_negative_ts 1 " +
                                                  Quoted("cut part.avi"),
                                              ProgramDir());
    EXPECT_EQ(kEncoderEnded, cut.status);
    EXPECT_EQ(0u, cut.exitCode);
    EXPECT_TRUE(cut.Succeeded());
    auto format = Probe(Path("cut part.avi"), "", "duration");
    EXPECT_NEAR(3.0, atof(format["duration"].c_str()), 0.5);

    EncoderResult bad = RunEncoderProcessSync(
        " -y -i " + Quoted("missing.avi") + " " + Quoted("bad.avi"), ProgramDir());
    EXPECT_EQ(kEncoderEnded, bad.status);
    EXPECT_NE(0u, bad.exitCode);
    EXPECT_FALSE(bad.Succeeded());
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
