// The converter shipped as "vintx.exe" is a Windows ffmpeg: the program runs
// it with its output on a pipe, reads progress while it runs, needs its exit
// code and must be able to end it.
#include <gtest/gtest.h>

#include "TestKit.h"

#include <string>

using namespace testkit;

namespace {

struct ConverterRun {
    long exitCode = -1;
    std::string output;
    bool sawDurationWhileRunning = false;
    bool sawTimeWhileRunning = false;
};

class ConverterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = MakeTempDir("conv");
        const std::string u = UnixPath(dir_);
        // 10 s of moving picture and a tone, made by the Linux ffmpeg; every
        // frame a key frame so that stream-copy cuts land where asked.
        LinuxResult r = RunLinux(
            "cd " + ShellQuote(u) +
            " && ffmpeg -nostdin -v error -f lavfi -i testsrc=duration=10:size=320x240:rate=25"
            " -f lavfi -i sine=frequency=440:duration=10 -c:v libx264 -preset ultrafast -g 1"
            " -c:a libmp3lame -b:a 128k in.avi"
            " && ffmpeg -nostdin -v error -i in.avi -map 0:v -c copy video.avi"
            " && ffmpeg -nostdin -v error -i in.avi -map 0:a -c copy audio.mp3");
        ASSERT_EQ(0, r.exitCode) << r.err;
    }

    static std::string Path(const std::string& name) { return dir_ + "\\" + name; }

    // Runs vintx.exe with stdout and stderr on one pipe and reads it to the end.
    static ConverterRun Convert(const std::string& args, DWORD killAfterMs = INFINITE)
    {
        ConverterRun run;
        SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, &sa, 1 << 20));
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_HIDE;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = writeEnd;
        si.hStdError = writeEnd;
        std::string exe = ProgramDir() + "\\vintx.exe";
        std::string cmd = "\"" + exe + "\" " + args;
        PROCESS_INFORMATION pi = {};
        BOOL ok = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                 nullptr, nullptr, &si, &pi);
        CloseHandle(writeEnd);
        EXPECT_TRUE(ok) << GetLastError();
        if (!ok) {
            CloseHandle(readEnd);
            return run;
        }
        DWORD start = GetTickCount();
        char buf[4096];
        for (;;) {
            DWORD avail = 0;
            if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &avail, nullptr))
                break;  // the child closed its end
            if (avail) {
                DWORD got = 0;
                if (!ReadFile(readEnd, buf, sizeof buf, &got, nullptr) || !got)
                    break;
                bool running = WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
                run.output.append(buf, got);
                if (running && run.output.find("Duration:") != std::string::npos)
                    run.sawDurationWhileRunning = true;
                if (running && run.output.find("time=") != std::string::npos)
                    run.sawTimeWhileRunning = true;
            } else {
                if (killAfterMs != INFINITE && GetTickCount() - start > killAfterMs) {
                    TerminateProcess(pi.hProcess, 99);
                    killAfterMs = INFINITE;
                }
                Sleep(10);
            }
        }
        WaitForSingleObject(pi.hProcess, 30000);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        run.exitCode = (long)code;
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        CloseHandle(readEnd);
        return run;
    }

    static std::string dir_;
};

std::string ConverterTest::dir_;

TEST_F(ConverterTest, ProgressArrivesWhileItRuns)
{
    // -re keeps real time, so the run lasts about 3 s and reports as it goes.
    ConverterRun r = Convert("-y -re -t 3 -i \"" + Path("in.avi") + "\" -c:v libx264 -preset fast \"" +
                    Path("progress.mp4") + "\"");
    EXPECT_EQ(0, r.exitCode) << r.output;
    EXPECT_TRUE(r.sawDurationWhileRunning) << r.output;
    EXPECT_TRUE(r.sawTimeWhileRunning) << r.output;
    EXPECT_NE(std::string::npos, r.output.find("bitrate="));
}

TEST_F(ConverterTest, FailingRunHasNonZeroExitCode)
{
    ConverterRun r = Convert("-y -i \"" + Path("missing.avi") + "\" \"" + Path("never.mp4") + "\"");
    EXPECT_NE(0, r.exitCode);
    EXPECT_FALSE(FileExists(Path("never.mp4")));
}

TEST_F(ConverterTest, TerminateProcessEndsALongRun)
{
    DWORD start = GetTickCount();
    // Ended once it runs (a process still starting may outlive its end
    // under Wine; a slow machine takes a second or two to start it).
    ConverterRun r = Convert("-y -re -i \"" + Path("in.avi") + "\" -c:v libx264 \"" + Path("long.mp4") + "\"",
                    3000);
    EXPECT_EQ(99, r.exitCode);
    EXPECT_LT(GetTickCount() - start, 8000u);
}

TEST_F(ConverterTest, JoinsAviAndMp3WithStreamCopy)
{
    // The command line the recorder uses after each recording, paths with a blank.
    std::string out = Path("joined result.avi");
    ConverterRun r = Convert(" -i \"" + Path("video.avi") + "\" -i \"" + Path("audio.mp3") +
                    "\" -vcodec copy -acodec copy \"" + out + "\" ");
    ASSERT_EQ(0, r.exitCode) << r.output;
    LinuxResult types = RunLinux("ffprobe -v error -show_entries stream=codec_type,codec_name "
                                 "-of csv=p=0 " + ShellQuote(UnixPath(out)));
    EXPECT_EQ("h264,video\nmp3,audio\n", types.out);
}

TEST_F(ConverterTest, CutsAndConcatenates)
{
    ConverterRun cut = Convert(" -y -ss 00:00:02 -t 00:00:03 -i \"" + Path("in.avi") +
                      "\" -vcodec copy -acodec copy \"" + Path("cut.avi") + "\"");
    ASSERT_EQ(0, cut.exitCode) << cut.output;
    auto f = Probe(Path("cut.avi"), "", "duration");
    EXPECT_NEAR(3.0, atof(f["duration"].c_str()), 0.3);

    WriteFile(Path("list.txt"), "file '" + Path("cut.avi") + "'\nfile '" + Path("cut.avi") + "'\n");
    ConverterRun cat = Convert(" -y -f concat -safe 0 -i \"" + Path("list.txt") + "\" -c copy \"" +
                      Path("concat.avi") + "\"");
    ASSERT_EQ(0, cat.exitCode) << cat.output;
    f = Probe(Path("concat.avi"), "", "duration");
    EXPECT_NEAR(6.0, atof(f["duration"].c_str()), 0.5);
}

// The format conversion's twelve targets with one option string each.
struct Target {
    const char* ext;
    const char* options;
    bool works;
};

void PrintTo(const Target& t, std::ostream* os)
{
    *os << t.ext;
}

class ConversionTargets : public ConverterTest, public ::testing::WithParamInterface<Target> {};

TEST_P(ConversionTargets, ConvertsOrFailsAsDocumented)
{
    const Target& t = GetParam();
    std::string out = Path(std::string("target.") + t.ext);
    ConverterRun r = Convert(" -y -t 2 -i " + Path("in.avi") + " " + t.options + out);
    if (t.works) {
        EXPECT_EQ(0, r.exitCode) << r.output.substr(r.output.size() > 2000 ? r.output.size() - 2000 : 0);
        EXPECT_GT(FileSize(out), 1000);
    } else {
        // No Xvid encoder can be built here: the converter says so and fails.
        EXPECT_NE(0, r.exitCode);
        EXPECT_NE(std::string::npos, r.output.find("Unknown encoder 'libxvid'")) << r.output;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllFormats, ConversionTargets,
    ::testing::Values(Target{"mp4", " -preset fast -crf 28 ", true},
                      Target{"wmv", " -c:v wmv2 -b:v 6M -c:a wmav2 -b:a 192k ", true},
                      Target{"avi", "  -c:v libxvid -qscale 6 ", false},
                      Target{"3gp", " -r 15 -ab 12.2k -ac 1 -ar 8000 -f 3gp -s 352x288 ", true},
                      Target{"flv", " -qscale 6 ", true}, Target{"swf", " -qscale 6 ", true},
                      Target{"mkv", " -preset fast -crf 28 ", true},
                      Target{"mov", " -preset fast -crf 28 ", true},
                      Target{"vob", " -qscale 6 ", true}, Target{"gif", " ", true},
                      Target{"webm", " ", true}, Target{"mpg", " -qscale 6 ", true}),
    [](const ::testing::TestParamInfo<Target>& info) { return std::string(info.param.ext); });

}  // namespace
