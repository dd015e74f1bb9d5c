// The save after a recording, with the real converter: a recording is
// never lost, whatever fails.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/SystemMessageBox.h"
#include "recorder/recording/SaveRecording.h"

#include <functional>
#include <vector>

using namespace testkit;

namespace {

class SaveRecordingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        temp_ = MakeTempDir("save-temp");
        saveDir_ = MakeTempDir("save-dir");
        LinuxResult r = RunLinux(
            "cd " + ShellQuote(UnixPath(temp_)) +
            " && ffmpeg -nostdin -v error -f lavfi -i testsrc=duration=2:size=320x240:rate=25"
            " -c:v libx264 -preset ultrafast video.avi"
            " && ffmpeg -nostdin -v error -f lavfi -i sine=frequency=440:duration=2"
            " -c:a libmp3lame -b:a 128k sound.mp3"
            " && head -c 5000 /dev/urandom > corrupt.mp3 && echo mic > mic.mp3");
        ASSERT_EQ(0, r.exitCode) << r.err;
        job_.tempVideo = temp_ + "\\video.avi";
        job_.tempAudio = {temp_ + "\\mic.mp3", temp_ + "\\sound.mp3"};
        job_.output = saveDir_ + "\\20240101_1200_00.avi";
        job_.programFolder = ProgramDir();
    }

    std::string temp_, saveDir_;
    SaveJob job_;
    // The status lines the save shows on the cover.
    std::vector<std::string> covers_;
    std::function<void(const std::string&)> cover_ = [this](const std::string& s) {
        covers_.push_back(s);
    };
};

TEST_F(SaveRecordingTest, JoinedFileReplacesTheTemporaryOnes)
{
    job_.audio = temp_ + "\\sound.mp3";
    SaveOutcome out = SaveRecordingFiles(job_, cover_);
    EXPECT_EQ(SaveResult::Saved, out.result);
    LinuxResult types = RunLinux("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 " +
                                 ShellQuote(UnixPath(job_.output)));
    EXPECT_EQ("video\naudio\n", types.out);
    EXPECT_FALSE(FileExists(job_.tempVideo));
    EXPECT_FALSE(FileExists(temp_ + "\\sound.mp3"));
    EXPECT_FALSE(FileExists(temp_ + "\\mic.mp3"));
    EXPECT_TRUE(out.message.empty());
}

TEST_F(SaveRecordingTest, FailedJoinSavesVideoAndSoundApartAndDeletesNothing)
{
    job_.audio = temp_ + "\\corrupt.mp3";
    SaveOutcome out = SaveRecordingFiles(job_, cover_);
    ASSERT_EQ(SaveResult::SavedApart, out.result);
    EXPECT_EQ(job_.output, out.video);
    auto v = Probe(job_.output, "v:0", "codec_name,width", true);
    EXPECT_EQ("h264", v["codec_name"]);
    EXPECT_EQ(saveDir_ + "\\20240101_1200_00.mp3", out.sound);
    EXPECT_EQ(5000, FileSize(out.sound));
    EXPECT_NE(std::string::npos, out.message.find("合成失败"));
    // The other sound files of the recording stay where they were.
    EXPECT_TRUE(FileExists(temp_ + "\\sound.mp3"));
}

TEST_F(SaveRecordingTest, MissingConverterStillKeepsTheRecording)
{
    std::vector<std::string> boxes;
    SetSystemMessageBoxHook([&](HWND, const std::string& text, const std::string&, UINT) {
        boxes.push_back(text);
        return IDOK;
    });
    job_.audio = temp_ + "\\sound.mp3";
    job_.programFolder = MakeTempDir("no-converter");
    SaveOutcome out = SaveRecordingFiles(job_, cover_);
    SetSystemMessageBoxHook(nullptr);
    EXPECT_EQ(SaveResult::SavedApart, out.result);
    EXPECT_GT(FileSize(job_.output), 1000);
    EXPECT_EQ(1u, boxes.size());  // the runner's own "could not start" box
}

TEST_F(SaveRecordingTest, WithoutSoundTheVideoIsCopied)
{
    SaveOutcome out = SaveRecordingFiles(job_, cover_);
    EXPECT_EQ(SaveResult::Saved, out.result);
    EXPECT_GT(FileSize(job_.output), 1000);
    EXPECT_FALSE(FileExists(job_.tempVideo));
    ASSERT_EQ(1u, covers_.size());
    EXPECT_EQ("压缩优化处理...", covers_[0]);
}

TEST_F(SaveRecordingTest, CopyOntoATakenNameKeepsTheVideoOutsideTheTemporaryName)
{
    WriteFile(job_.output, "someone else's file");
    SaveOutcome out = SaveRecordingFiles(job_, cover_);
    EXPECT_EQ(SaveResult::KeptElsewhere, out.result);
    EXPECT_EQ("someone else's file", ReadFile(job_.output));
    EXPECT_NE(job_.tempVideo, out.video);
    EXPECT_GT(FileSize(out.video), 1000);
    EXPECT_NE(std::string::npos, out.message.find(out.video));
}

TEST_F(SaveRecordingTest, JoinCommandLineQuotesEveryPath)
{
    EXPECT_EQ(" -i \"C:\\t v.avi\" -i \"C:\\a.mp3\" -vcodec copy -acodec copy \"D:\\o.avi\" ",
              JoinCommandLine("C:\\t v.avi", "C:\\a.mp3", "D:\\o.avi"));
}

TEST_F(SaveRecordingTest, DiscardRemovesTheTemporaryFiles)
{
    DiscardRecordingFiles(job_);
    EXPECT_FALSE(FileExists(job_.tempVideo));
    EXPECT_FALSE(FileExists(temp_ + "\\mic.mp3"));
    EXPECT_FALSE(FileExists(job_.output));
}

}  // namespace
