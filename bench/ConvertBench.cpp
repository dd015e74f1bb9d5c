// The format conversion of a 60 s 1920x1080 recording to mp4 at "高": the
// command the conversion window builds, run by the program's converter
// under Wine (through EncoderProcess, as the window runs it), beside the
// same arguments run by Linux's ffmpeg on the same file in the same run.
// The recording is made by Linux's ffmpeg in the form the program saves
// (AVI, H.264 with MP3 sound) from a moving test picture.
//   convert_bench [seconds]
#include "BenchClock.h"
#include "TestKit.h"
#include "core/EncoderProcess.h"
#include "library/FormatConvert.h"

#include <cstdio>
#include <cstdlib>
#include <string>


int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? atoi(argv[1]) : 60;
    const std::string dir = testkit::MakeTempDir("convert bench");
    const std::string input = dir + "\\recording.avi";
    const std::string u = testkit::UnixPath(input);
    printf("making a %d s 1920x1080 recording...\n", seconds);
    testkit::LinuxResult made = testkit::RunLinux(
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=1920x1080:rate=25 -f lavfi -i "
        "sine=frequency=440:sample_rate=44100 -t " +
            std::to_string(seconds) +
            " -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a libmp3lame -ac 2 -b:a 128k " +
            testkit::ShellQuote(u),
        600000);
    if (made.exitCode != 0) {
        printf("could not make the recording: %s\n", made.err.c_str());
        return 1;
    }

    const std::string options = ConvertOptions(0, 1);
    const std::string wineOut = dir + "\\wine.mp4";
    const std::string command = BuildConvertCommandLine(input, options, wineOut);
    EncoderProcess run(command, testkit::ProgramDir());
    const double start = NowMs();
    if (!run.Start()) {
        printf("the converter did not start\n");
        return 1;
    }
    run.Wait(INFINITE);
    const double wineMs = NowMs() - start;
    if (!run.result().Succeeded()) {
        printf("the converter failed: %s\n", run.lastMessageLine().c_str());
        return 1;
    }

    const std::string linuxOut = testkit::UnixPath(dir) + "/linux.mp4";
    testkit::LinuxResult linux = testkit::RunLinux(
        "s=$(date +%s%N); ffmpeg -nostdin -v error -y -i " + testkit::ShellQuote(u) + " " +
            options + testkit::ShellQuote(linuxOut) + " && echo $(( ($(date +%s%N) - s) / 1000000 ))",
        1800000);
    if (linux.exitCode != 0) {
        printf("Linux ffmpeg failed: %s\n", linux.err.c_str());
        return 1;
    }
    const double linuxMs = atof(linux.out.c_str());

    printf("mp4 at \"高\" (%s), %d s of 1920x1080 at 25 fps:\n", options.c_str(), seconds);
    printf("  vintx.exe under Wine: %.1f s, speed %.2fx\n", wineMs / 1000, seconds * 1000.0 / wineMs);
    printf("  Linux ffmpeg:         %.1f s, speed %.2fx\n", linuxMs / 1000,
           seconds * 1000.0 / linuxMs);
    printf("  Wine / Linux:         %.2f\n", wineMs / linuxMs);
    return 0;
}
