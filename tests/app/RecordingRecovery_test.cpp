// The real Orbisk.exe killed in the middle of a recording: the next start
// finds what the recording had written, saves it as a playable video and
// says where, and records normally afterwards.
#include "ProgramTestFixture.h"
#include "ScreenWindow.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace programtest;

// The pictures a (perhaps unfinished) video file holds: its chunks with
// data. The encoder's first outputs are empty while it looks ahead.
long PicturesIn(const std::string& file)
{
    return atol(RunLinux("ffprobe -v error -select_streams v:0 -show_entries packet=size "
                         "-of csv=p=0 " + ShellQuote(UnixPath(file)) +
                         " | awk '$1 > 0' | wc -l", 120000)
                    .out.c_str());
}

std::string TempVideo(int segment = 1)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "~vintratemp-Video" +
           (segment > 1 ? "-" + std::to_string(segment) : std::string()) + ".avi";
}

TEST_F(ProgramTest, ARecordingCutShortByAKillIsRecoveredAtTheNextStart)
{
    const std::string save = work_ + "\\save";
    CreateDirectoryA(save.c_str(), nullptr);
    // No countdown, the microphone on (a tone plays into it), no player after.
    WriteFile(config_, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                       "<videoSavePath path=\"" + save + "\" />\n"
                       "<start_countdown countdown=\"0\" />\n"
                       "<rec_speaker rec=\"0\" />\n<rec_micphone rec=\"1\" />\n"
                       "<auto_play_oncomplete auto_play=\"0\" />\n</vintracfg>\n");
    ASSERT_NE(nullptr, Start());
    PlayTone(440, 12.0);
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    ASSERT_TRUE(WaitRecorded(8000));
    const DWORD recorded = RecordedMs();
    program_.Kill();
    ASSERT_NE(-1, program_.Wait(10000));
    ASSERT_GT(FileSize(TempVideo()), 0) << "the recording left its temporary video";
    // The pictures that reached the file (the encoder still held the last ones).
    const long inFile = PicturesIn(TempVideo());
    ASSERT_GT(inFile, 0);
    EXPECT_TRUE(VideosIn(save).empty());

    // The next start saves it and tells where.
    ASSERT_NE(nullptr, Start());
    HWND box = WaitForWindow("MessageBoxWindow", nullptr, 60000, program_.Id());
    ASSERT_NE(nullptr, box);
    UiControl text = probe_.WaitFor(box, "showtext", [](const UiControl& c) { return !c.text.empty(); });
    std::vector<std::string> videos = VideosIn(save);
    ASSERT_EQ(1u, videos.size()) << text.text;
    EXPECT_NE(std::string::npos, text.text.find(videos[0])) << text.text;
    EXPECT_FALSE(FileExists(TempVideo()));
    // Every frame written before the kill plays, each at its time.
    auto video = Probe(videos[0], "v:0", "codec_name,nb_read_frames,duration", true);
    EXPECT_EQ("h264", video["codec_name"]);
    EXPECT_GE(atol(video["nb_read_frames"].c_str()), inFile) << video["nb_read_frames"];
    EXPECT_LE(atof(video["duration"].c_str()), recorded / 1000.0 + 0.5);
    EXPECT_EQ("mp3", Probe(videos[0], "a:0", "codec_name")["codec_name"]);
    ASSERT_TRUE(probe_.Click(box, "ok_btn"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));

    // Then a recording saves as ever, beside it.
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    ASSERT_TRUE(WaitRecorded(2000));
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 2; }, 60000));
    const double second = RecordedMs() / 1000.0;
    for (const std::string& v : VideosIn(save))
        if (v != videos[0]) {
            EXPECT_NEAR(second, atof(Probe(v, "v:0", "duration")["duration"].c_str()), 0.5) << v;
        }
}

// A long recording killed after it went on in further files (here every
// 400 KB rather than 1.9 GB): the next start finds them all and saves them
// as one video of everything written.
TEST_F(ProgramTest, ARecordingInSeveralFilesCutShortByAKillIsRecoveredWhole)
{
    const std::string save = work_ + "\\save";
    CreateDirectoryA(save.c_str(), nullptr);
    WriteFile(config_, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                       "<videoSavePath path=\"" + save + "\" />\n"
                       "<start_countdown countdown=\"0\" />\n"
                       "<rec_speaker rec=\"0\" />\n<rec_micphone rec=\"0\" />\n"
                       "<auto_play_oncomplete auto_play=\"0\" />\n</vintracfg>\n");
    // A screen that changes all the time fills the files fast.
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    testkit::ScreenWindow moving(testkit::ScreenWindow::Picture::Moving, screen);
    SetEnvironmentVariableA("ORBISK_SEGMENT_BYTES", "400000");
    HWND started = Start();
    SetEnvironmentVariableA("ORBISK_SEGMENT_BYTES", nullptr);
    ASSERT_NE(nullptr, started);
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    // Two files filled, the third begun.
    ASSERT_TRUE(WaitUntil([&] { return FileExists(TempVideo(3)); }, 60000));
    const DWORD recorded = RecordedMs();
    program_.Kill();
    ASSERT_NE(-1, program_.Wait(10000));
    int files = 0;
    long inFiles = 0;
    while (FileExists(TempVideo(files + 1))) inFiles += PicturesIn(TempVideo(++files));
    ASSERT_GE(files, 3) << "files the recording went on in";

    ASSERT_NE(nullptr, Start());
    HWND box = WaitForWindow("MessageBoxWindow", nullptr, 60000, program_.Id());
    ASSERT_NE(nullptr, box);
    UiControl text = probe_.WaitFor(box, "showtext", [](const UiControl& c) { return !c.text.empty(); });
    std::vector<std::string> videos = VideosIn(save);
    ASSERT_EQ(1u, videos.size()) << text.text;
    EXPECT_NE(std::string::npos, text.text.find(videos[0])) << text.text;
    auto video = Probe(videos[0], "v:0", "codec_name,nb_read_frames,duration", true);
    EXPECT_EQ("h264", video["codec_name"]);
    EXPECT_GE(atol(video["nb_read_frames"].c_str()), inFiles) << "every picture of every file";
    EXPECT_LE(atof(video["duration"].c_str()), recorded / 1000.0 + 0.5);
    for (int n = 1; n <= files + 1; ++n) {
        EXPECT_FALSE(FileExists(TempVideo(n))) << n;
        EXPECT_FALSE(FileExists(TempVideo(n) + ".frames")) << n;
    }
    EXPECT_FALSE(FileExists(TempVideo() + ".segments"));
    ASSERT_TRUE(probe_.Click(box, "ok_btn"));
}

}  // namespace
