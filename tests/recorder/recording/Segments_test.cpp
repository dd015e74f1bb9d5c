// A video that goes on in several AVI files: every frame written is in the
// saved file at its place, also past the 2 GB that one plain AVI can hold,
// and a join that fails keeps every file.
#include <gtest/gtest.h>

#include "FailingCompressor.h"
#include "TestKit.h"
#include "recorder/recording/AviSegments.h"
#include "recorder/recording/AviWriter.h"
#include "recorder/recording/SaveRecording.h"

#include <vfw.h>

#include <sstream>
#include <vector>

using namespace testkit;

namespace {

BITMAPINFOHEADER Frame(int width, int height)
{
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = width;
    bi.biHeight = height;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    bi.biSizeImage = (DWORD)(((width * 3 + 3) & ~3) * height);
    return bi;
}

// The sample positions of the frames a file holds (packets with data).
std::vector<long> Positions(const std::string& video)
{
    LinuxResult r = RunLinux("ffprobe -v error -select_streams v:0 -show_entries packet=dts,size "
                             "-of csv=p=0 " + ShellQuote(UnixPath(video)),
                             300000);
    std::vector<long> at;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
        size_t comma = line.find(',');
        if (comma != std::string::npos && atol(line.c_str() + comma + 1) > 0)
            at.push_back(atol(line.c_str()));
    }
    return at;
}

// The writer with the test's uncompressed compressor, which stores every
// frame as it comes.
class SegmentsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AVIFileInit();
        ASSERT_TRUE(rectest::InstallFailingCompressor(-1));
        temp_ = MakeTempDir("segments-temp");
        save_ = MakeTempDir("segments-save");
    }
    void TearDown() override
    {
        rectest::RemoveFailingCompressor();
        AVIFileExit();
    }

    SaveJob JobFor(const std::vector<std::string>& files, const std::vector<double>& seconds = {})
    {
        SaveJob job;
        job.tempVideo = files[0];
        job.segments = files;
        job.segmentSeconds = seconds;
        job.output = save_ + "\\20240101_1200_00.avi";
        job.programFolder = ProgramDir();
        return job;
    }

    std::string temp_, save_;
};

TEST_F(SegmentsTest, FramesGoOnInNewFilesAtTheirPlacesAndTheJoinHasEachOnce)
{
    // 9 KB frames in files of 128 KB: a new file every few frames. Some
    // positions are left out, as a slow grab leaves them, also just before
    // a switch.
    const BITMAPINFOHEADER bi = Frame(64, 48);
    // A name the converter's list must quote, in the user's code page.
    const std::string first = temp_ + "\\录像 it's.avi";
    std::vector<long> written;
    std::vector<BYTE> pixels(bi.biSizeImage);
    std::vector<std::string> files;
    std::vector<double> spans;
    {
        AviSegments avi(first, rectest::kFailingHandler, 25, bi, 1, 128 * 1024);
        ASSERT_EQ(S_OK, avi.Open());
        for (LONG index = 0; index < 60; ++index) {
            if (index % 7 == 3) continue;
            memset(pixels.data(), index * 4, pixels.size());
            DWORD bytes = 0;
            ASSERT_EQ(S_OK, avi.Write(index, pixels.data(), bi.biSizeImage, &bytes)) << index;
            EXPECT_EQ(bi.biSizeImage, bytes);
            written.push_back(index);
        }
        avi.Close();
        files = avi.Files();
        spans = avi.Spans();
    }
    ASSERT_GE(files.size(), 5u);
    double total = 0;
    for (double s : spans) total += s;
    EXPECT_DOUBLE_EQ((written.back() + 1) / 25.0, total);
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(SegmentPath(first, (int)i), files[i]);
        EXPECT_LE(FileSize(files[i]), 128 * 1024) << files[i];
        EXPECT_FALSE(FileExists(files[i] + ".frames")) << "closed files keep no journal";
    }
    // The file begun for the frames to come, which never came, is gone.
    EXPECT_FALSE(FileExists(SegmentPath(first, (int)files.size())));

    SaveJob job = JobFor(files, spans);
    SaveOutcome out = SaveRecordingFiles(job, nullptr);
    ASSERT_EQ(SaveResult::Saved, out.result) << out.message;
    EXPECT_EQ(written, Positions(job.output));
    for (const std::string& f : files) EXPECT_FALSE(FileExists(f)) << f;
    EXPECT_FALSE(FileExists(temp_ + "\\录像 it's.txt")) << "the converter's list is removed";

    // The last picture is the one written last.
    LinuxResult last = RunLinux("ffmpeg -nostdin -v error -i " + ShellQuote(UnixPath(job.output)) +
                                " -pix_fmt gray -f rawvideo - | tail -c 3072 | head -c 1 | od -An -tu1");
    EXPECT_EQ(written.back() * 4, atoi(last.out.c_str())) << last.err;
}

// A recording cut off by a kill, whose frames came late now and then: the
// library left empty chunks for the places skipped, and the rebuilt file
// has every frame at its own place.
TEST_F(SegmentsTest, AnUnclosedFileWithSkippedPlacesIsRebuiltWithEveryFrameAtItsPlace)
{
    const BITMAPINFOHEADER bi = Frame(64, 48);
    const std::string file = temp_ + "\\cut.avi", copy = temp_ + "\\copy.avi";
    std::vector<long> written;
    std::vector<BYTE> pixels(bi.biSizeImage);
    AviWriter avi;
    ASSERT_EQ(S_OK, avi.Open(file, rectest::kFailingHandler, 25, bi, 1));
    for (LONG index = 0; index < 40; ++index) {
        if (index % 7 == 3 || (index >= 20 && index < 24)) continue;
        memset(pixels.data(), index * 4, pixels.size());
        DWORD bytes = 0;
        ASSERT_EQ(S_OK, avi.Write(index, pixels.data(), bi.biSizeImage, &bytes)) << index;
        written.push_back(index);
    }
    // What a kill leaves: the frames and the journal, no index.
    ASSERT_TRUE(CopyFileA(file.c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(AviJournalPath(file).c_str(), AviJournalPath(copy).c_str(), FALSE));
    avi.Close();
    const std::string whole = temp_ + "\\whole.avi";
    ASSERT_TRUE(RebuildAvi(copy, whole));
    EXPECT_EQ(written, Positions(whole));
}

TEST_F(SegmentsTest, UncompressedFullHdFramesPast2GBAreAllInTheSavedFile)
{
    // 360 frames of 1920x1080 (2.24 GB): one plain AVI loses everything
    // past 2 GB.
    const BITMAPINFOHEADER bi = Frame(1920, 1080);
    const int frames = 360;
    ASSERT_GT((long long)bi.biSizeImage * frames, 2200LL * 1000 * 1000);
    const std::string first = temp_ + "\\big.avi";
    std::vector<std::string> files;
    std::vector<double> spans;
    {
        std::vector<BYTE> pixels(bi.biSizeImage);
        AviSegments avi(first, rectest::kFailingHandler, 25, bi, 1);
        ASSERT_EQ(S_OK, avi.Open());
        for (LONG index = 0; index < frames; ++index) {
            memset(pixels.data(), index % 200, 4096);
            DWORD bytes = 0;
            ASSERT_EQ(S_OK, avi.Write(index, pixels.data(), bi.biSizeImage, &bytes)) << index;
        }
        avi.Close();
        files = avi.Files();
        spans = avi.Spans();
    }
    EXPECT_EQ(2u, files.size());
    for (const std::string& f : files) EXPECT_LT(FileSize(f), 2000LL * 1000 * 1000) << f;

    SaveJob job = JobFor(files, spans);
    SaveOutcome out = SaveRecordingFiles(job, nullptr);
    EXPECT_EQ(SaveResult::Saved, out.result) << out.message;
    LinuxResult count = RunLinux("ffprobe -v error -count_packets -select_streams v:0 -show_entries "
                                 "stream=nb_read_packets -of csv=p=0 " +
                                     ShellQuote(UnixPath(job.output)),
                                 300000);
    EXPECT_EQ(frames, atoi(count.out.c_str())) << count.err;
    EXPECT_GT(FileSize(job.output), 2200LL * 1000 * 1000);
    for (const std::string& f : files) DeleteFileA(f.c_str());
    DeleteFileA(job.output.c_str());
}

class FailedJoinTest : public SegmentsTest {
protected:
    void SetUp() override
    {
        SegmentsTest::SetUp();
        // Three H.264 files of a second each, as a recording leaves them.
        LinuxResult r = RunLinux(
            "cd " + ShellQuote(UnixPath(temp_)) +
            " && for n in 1 2 3; do ffmpeg -nostdin -v error -f lavfi"
            " -i testsrc=duration=1:size=320x240:rate=25 -c:v libx264 -preset ultrafast v$n.avi;"
            " done && head -c 5000 /dev/urandom > corrupt.mp3"
            " && head -c 300000 /dev/urandom > broken.avi");
        ASSERT_EQ(0, r.exitCode) << r.err;
    }

    // Every file in the save folder, numbered after the recording, playable;
    // the message names each.
    void ExpectAllKept(const SaveOutcome& out, size_t count)
    {
        EXPECT_EQ(SaveResult::SavedApart, out.result);
        EXPECT_FALSE(FileExists(save_ + "\\20240101_1200_00.avi"));
        EXPECT_NE(std::string::npos, out.message.find("合成失败")) << out.message;
        EXPECT_NE(std::string::npos, out.message.find(std::to_string(count) + " 段")) << out.message;
        for (size_t i = 1; i <= count; ++i) {
            const std::string kept = save_ + "\\20240101_1200_00-" + std::to_string(i) + ".avi";
            EXPECT_TRUE(FileExists(kept)) << kept;
            EXPECT_NE(std::string::npos, out.message.find(kept)) << out.message;
        }
        EXPECT_EQ(save_ + "\\20240101_1200_00-1.avi", out.video);
    }
};

TEST_F(FailedJoinTest, ASoundThatCannotBeReadKeepsEveryFileAndTheSound)
{
    SaveJob job = JobFor({temp_ + "\\v1.avi", temp_ + "\\v2.avi", temp_ + "\\v3.avi"});
    job.audio = temp_ + "\\corrupt.mp3";
    SaveOutcome out = SaveRecordingFiles(job, nullptr);
    ExpectAllKept(out, 3);
    EXPECT_EQ("h264", Probe(save_ + "\\20240101_1200_00-3.avi", "v:0", "codec_name")["codec_name"]);
    EXPECT_EQ(save_ + "\\20240101_1200_00.mp3", out.sound);
    EXPECT_EQ(5000, FileSize(out.sound));
    EXPECT_NE(std::string::npos, out.message.find(out.sound));
}

TEST_F(FailedJoinTest, AJoinThatEndsWellWithoutAFileIsNoSave)
{
    // The converter passes over a file it cannot read: what it wrote lacks
    // that file's frames, so nothing is deleted.
    SaveJob job = JobFor({temp_ + "\\v1.avi", temp_ + "\\broken.avi", temp_ + "\\v3.avi"});
    SaveOutcome out = SaveRecordingFiles(job, nullptr);
    ExpectAllKept(out, 3);
    EXPECT_EQ(300000, FileSize(save_ + "\\20240101_1200_00-2.avi"));
}

}  // namespace
