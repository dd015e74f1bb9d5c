// A long recording's switch to a new AVI file, and the join of the files:
//  - the screen (1920x1080, moving) grabbed and written at 60 frames a
//    second through the recording's writer with files limited to 16 MB, so
//    that it switches every few seconds: the longest gap between written
//    frames across a switch, beside the longest anywhere else;
//  - the save of those files with a sound of the same length, against the
//    save of one file of the same length (a second recording with no limit);
//    and the same without a sound (a join against a copy).
// Run by scripts/bench.sh on a 1920x1080 screen.
//   segment_bench [seconds]   (30 by default)
#include "../tests/recorder/recording/RecordingTestKit.h"
#include "TestKit.h"
#include "core/AppPaths.h"
#include "core/ProgramFolder.h"
#include "recorder/Camera.h"
#include "recorder/codecs/VideoOptions.h"
#include "recorder/recording/AviSegments.h"
#include "recorder/recording/FrameWriter.h"
#include "recorder/recording/SaveRecording.h"

#include <mmsystem.h>
#include <vfw.h>

#include <algorithm>
#include <sstream>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const unsigned kRate = 60;

struct Run {
    std::vector<std::string> files;
    std::vector<double> spans;
    std::vector<LONG> indices;  // of the frames written, in order
};

// The recording loop's way: wait for a free buffer, grab, write at the
// index of the moment.
Run Record(const std::string& first, DWORD seconds, long long limit)
{
    RECT rc = {0, 0, GetSystemMetrics(SM_CXSCREEN) & ~1, GetSystemMetrics(SM_CYSCREEN) & ~1};
    Run run;
    timeBeginPeriod(1);
    AVIFileInit();
    g_camera.CaptureFrame(rc, true);
    {
        AviSegments avi(first, g_videoOpts.m_fccHandler, kRate, *g_camera.FrameHeader(),
                        2 * kRate, limit);
        if (FAILED(avi.Open())) {
            printf("cannot open %s\n", first.c_str());
            exit(1);
        }
        {
            FrameWriter writer(avi, g_camera.FrameImageSize());
            const DWORD start = timeGetTime();
            LONG last = -1;
            while (timeGetTime() - start < seconds * 1000 && !writer.Failed()) {
                if (!writer.WaitForFreeBuffer(50)) continue;
                const DWORD now = timeGetTime();
                const LONG index = (LONG)((now - start) * kRate / 1000);
                if (index <= last) {
                    Sleep(1);
                    continue;
                }
                g_camera.CaptureFrame(rc, false);
                if (writer.Queue(index, g_camera.FrameBits())) {
                    run.indices.push_back(index);
                    last = index;
                }
            }
            writer.Drain();
        }
        avi.Close();
        run.files = avi.Files();
        run.spans = avi.Spans();
    }
    g_camera.EndRecording();
    AVIFileExit();
    timeEndPeriod(1);
    return run;
}

long Packets(const std::string& video)
{
    testkit::LinuxResult r = testkit::RunLinux(
        "ffprobe -v error -select_streams v:0 -show_entries packet=size -of csv=p=0 " +
            testkit::ShellQuote(testkit::UnixPath(video)),
        300000);
    // Empty packets are positions left out, not frames.
    long n = 0;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) n += atol(line.c_str()) > 0;
    return n;
}

double TimedSave(const std::vector<std::string>& files, const std::vector<double>& spans,
                 const std::string& audio, const std::string& output)
{
    SaveJob job;
    job.tempVideo = files[0];
    if (files.size() > 1) {
        job.segments = files;
        job.segmentSeconds = spans;
    }
    job.audio = audio;
    job.output = output;
    job.programFolder = testkit::ProgramDir();
    LARGE_INTEGER f, a, b;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&a);
    SaveOutcome out = SaveRecordingFiles(job, nullptr);
    QueryPerformanceCounter(&b);
    if (out.result != SaveResult::Saved) printf("save failed: %s\n", out.message.c_str());
    return (double)(b.QuadPart - a.QuadPart) / f.QuadPart;
}

// Copies of the files, for a second save of the same.
std::vector<std::string> Copies(const std::vector<std::string>& files, const std::string& dir)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < files.size(); ++i) {
        out.push_back(dir + "\\copy-" + std::to_string(i) + ".avi");
        CopyFileA(files[i].c_str(), out.back().c_str(), FALSE);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    const DWORD seconds = argc > 1 ? (DWORD)atoi(argv[1]) : 30;
    const long long limit = 16LL * 1024 * 1024;
    rectest::MovingScreen screen;
    rectest::Recorder setup(kRate);
    const std::string dir = testkit::MakeTempDir("segment-bench");

    Run split = Record(dir + "\\split.avi", seconds, limit);
    // Where each file's frames end in the list of frames written.
    std::vector<size_t> ends;
    size_t total = 0;
    for (const std::string& f : split.files) ends.push_back(total += Packets(f));
    double acrossMs = 0, elsewhereMs = 0;
    for (size_t i = 1; i < split.indices.size(); ++i) {
        const double gap = (split.indices[i] - split.indices[i - 1]) * 1000.0 / kRate;
        bool atSwitch = false;
        for (size_t k = 0; k + 1 < ends.size(); ++k)
            if (ends[k] == i) atSwitch = true;
        (atSwitch ? acrossMs : elsewhereMs) = std::max(atSwitch ? acrossMs : elsewhereMs, gap);
    }
    printf("%u fps, 1920x1080 moving, %lu s, files of %lld MB: %zu frames in %zu files (%zu "
           "counted in them); longest gap across a switch %.1f ms, elsewhere %.1f ms (one "
           "interval %.1f ms)\n",
           kRate, seconds, limit >> 20, split.indices.size(), split.files.size(), total, acrossMs,
           elsewhereMs, 1000.0 / kRate);
    fflush(stdout);

    Run single = Record(dir + "\\single.avi", seconds, 1LL << 62);
    const std::string sound = dir + "\\sound.mp3";
    testkit::RunLinux("ffmpeg -nostdin -v error -f lavfi -i sine=frequency=440:duration=" +
                      std::to_string(seconds) + " -c:a libmp3lame -b:a 128k " +
                      testkit::ShellQuote(testkit::UnixPath(sound)));
    long long bytes = 0;
    for (const std::string& f : split.files) bytes += testkit::FileSize(f);
    const std::vector<std::string> splitCopies = Copies(split.files, dir);
    const std::vector<std::string> singleCopies =
        Copies(single.files, testkit::MakeTempDir("segment-bench-single"));
    const double joinSplit = TimedSave(split.files, split.spans, sound, dir + "\\joined-split.avi");
    const double joinSingle = TimedSave(single.files, {}, sound, dir + "\\joined-single.avi");
    const double copySplit = TimedSave(splitCopies, split.spans, "", dir + "\\nosound-split.avi");
    const double copySingle = TimedSave(singleCopies, {}, "", dir + "\\nosound-single.avi");
    printf("save of %lu s (%.1f MB): with sound, %zu files %.2f s against one file %.2f s "
           "(%+.2f s); without sound, %zu files joined %.2f s against one file copied %.2f s "
           "(%+.2f s)\n",
           seconds, bytes / 1048576.0, split.files.size(), joinSplit, joinSingle,
           joinSplit - joinSingle, split.files.size(), copySplit, copySingle,
           copySplit - copySingle);
    fflush(stdout);
    for (const char* made : {"joined-split", "joined-single", "nosound-split", "nosound-single"})
        DeleteFileA((dir + "\\" + made + ".avi").c_str());
    return 0;
}
