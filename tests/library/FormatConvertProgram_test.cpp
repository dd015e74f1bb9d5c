// The format conversion in the real program with the real converter: a
// recording the program made, in a folder whose name has a blank and Chinese
// characters, converted to every format; "avi" over an .avi; a long
// conversion that shows its progress, is cancelled and then run again.
#include "ProgramTestFixture.h"

#include <tlhelp32.h>

#include <cstdlib>

namespace {

using namespace programtest;

class FormatConvertTest : public ProgramTest {
protected:
    std::string PrepareSaveFolder()
    {
        save_ = work_ + "\\save";
        CreateDirectoryA(save_.c_str(), nullptr);
        WriteFile(config_,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                  "<videoSavePath path=\"" +
                      save_ +
                      "\" />\n<start_countdown countdown=\"0\" />\n"
                      "<rec_speaker rec=\"0\" />\n<rec_micphone rec=\"0\" />\n"
                      "<auto_play_oncomplete auto_play=\"0\" />\n</vintracfg>\n");
        return save_;
    }

    // Opens the conversion window with the main window's button and gives
    // it the input through its file chooser.
    HWND OpenConverter(const std::string& input)
    {
        EXPECT_TRUE(probe_.Click(main_, "format_convert_btn"));
        convert_ = WaitForWindow("FormatConvertWindow", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, convert_);
        if (!convert_) return nullptr;
        EXPECT_TRUE(AnswerNextDialog(main_, "open", true, input));
        EXPECT_TRUE(probe_.Click(convert_, "select_video_btn"));
        EXPECT_EQ(input, probe_.WaitFor(convert_, "input_file_lab", [&](const UiControl& c) {
                             return c.text == input;
                         }).text);
        return convert_;
    }

    bool Choose(const char* option)
    {
        return probe_.Click(convert_, option) &&
               probe_.WaitFor(convert_, option, [](const UiControl& c) {
                   return c.fields.count("selected") && c.fields.at("selected") == "1";
               }).fields["selected"] == "1";
    }

    // Runs and waits until the settings page is back with "run" enabled.
    bool RunAndWait(DWORD timeoutMs)
    {
        if (!probe_.Click(convert_, "run_btn")) return false;
        // The progress page shows while the converter runs; a short run may
        // be over before it is looked at.
        probe_.WaitFor(convert_, "cover_layout", [](const UiControl& c) { return c.shown; }, 3000);
        return probe_
            .WaitFor(convert_, "run_btn",
                     [](const UiControl& c) { return c.shown && c.enabled; }, timeoutMs)
            .enabled;
    }

    double Duration(const std::string& path)
    {
        return atof(Probe(path, "", "duration")["duration"].c_str());
    }

    // The converter the program started, or 0.
    DWORD ConverterProcess()
    {
        DWORD found = 0;
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snap == INVALID_HANDLE_VALUE) return 0;
        PROCESSENTRY32 e = {sizeof e};
        for (BOOL ok = Process32First(snap, &e); ok; ok = Process32Next(snap, &e))
            if (e.th32ParentProcessID == program_.Id() && _stricmp(e.szExeFile, "vintx.exe") == 0)
                found = e.th32ProcessID;
        CloseHandle(snap);
        return found;
    }

    // The seconds of the running recording's time label, or -1.
    int RecordedSeconds()
    {
        UiControl time = Control("record_time_lb_led");
        if (!time.shown) time = Control("record_time_lb");
        std::string digits;
        for (char c : time.text)
            if (c >= '0' && c <= '9') digits += c;
        if (digits.size() != 6) return -1;
        return atoi(digits.substr(0, 2).c_str()) * 3600 + atoi(digits.substr(2, 2).c_str()) * 60 +
               atoi(digits.substr(4, 2).c_str());
    }

    std::string save_;
    HWND convert_ = nullptr;
};

TEST_F(FormatConvertTest, ARecordingInAFolderWithABlankAndChineseConvertsToEveryFormatButAviOverItself)
{
    PrepareSaveFolder();
    ASSERT_NE(nullptr, Start());
    const DWORD asked = GetTickCount();
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    // Three seconds as the program counts what it recorded: on a slow
    // machine its first frame comes well after the stop button shows.
    ASSERT_TRUE(WaitUntil([&] { return RecordedSeconds() >= 3; }, 30000))
        << Control("record_time_lb_led").text << " / " << Control("record_time_lb").text;
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("begin_record_btn", true));
    // The recording cannot be longer than the time it may have run.
    const double ranAtMost = (GetTickCount() - asked) / 1000.0;
    // The notice comes once the recording is saved.
    ASSERT_NE(nullptr, WaitForWindow("SaveFileNotifyWindow", nullptr, 60000, program_.Id()));
    std::vector<std::string> videos = VideosIn(save_);
    ASSERT_EQ(1u, videos.size());

    const std::string folder = work_ + "\\my 视频 文件";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string input = folder + "\\录像 1.avi";
    ASSERT_TRUE(MoveFileA(videos[0].c_str(), input.c_str()));
    const double length = Duration(input);
    ASSERT_GT(length, 2.9);
    ASSERT_LT(length, ranAtMost);

    ASSERT_NE(nullptr, OpenConverter(input));
    EXPECT_EQ(folder + "\\录像 1.mp4", probe_.Query(convert_, "output_file_btn").text);
    ASSERT_TRUE(Choose("qulity_2_opt"));  // "高"
    const struct {
        const char* option;
        const char* extension;
    } formats[] = {{"format_mp4_opt", "mp4"},  {"format_mkv_opt", "mkv"}, {"format_mov_opt", "mov"},
                   {"format_wmv_opt", "wmv"},  {"format_flv_opt", "flv"}, {"format_swf_opt", "swf"},
                   {"format_vob_opt", "vob"},  {"format_mpg_opt", "mpg"}, {"format_gif_opt", "gif"},
                   {"format_webm_opt", "webm"}, {"format_3gp_opt", "3gp"}};
    for (const auto& f : formats) {
        SCOPED_TRACE(f.extension);
        const std::string output = folder + "\\录像 1." + f.extension;
        ASSERT_TRUE(Choose(f.option));
        EXPECT_EQ(output, probe_.Query(convert_, "output_file_btn").text);
        ASSERT_TRUE(RunAndWait(240000));
        UiControl button = probe_.Query(convert_, "output_file_btn");
        EXPECT_TRUE(button.shown) << probe_.Query(convert_, "convert_result_lab").text;
        EXPECT_EQ(output, button.text);
        EXPECT_FALSE(probe_.Query(convert_, "convert_result_lab").shown);
        ASSERT_GT(FileSize(output), 0);
        // swf keeps no duration a reader can give.
        if (std::string(f.extension) != "swf") {
            EXPECT_NEAR(length, Duration(output), 0.3);
        }
    }

    // avi over an .avi: the converter may not write over its input, and this
    // one has no Xvid for the avi presets, which the window says.
    const long long inputSize = FileSize(input);
    const std::string inputBytes = ReadFile(input);
    ASSERT_TRUE(Choose("format_avi_opt"));
    EXPECT_EQ(input, probe_.Query(convert_, "output_file_btn").text);
    ASSERT_TRUE(RunAndWait(60000));
    UiControl result = probe_.Query(convert_, "convert_result_lab");
    EXPECT_TRUE(result.shown);
    EXPECT_NE(std::string::npos, result.text.find("Xvid")) << result.text;
    EXPECT_FALSE(probe_.Query(convert_, "output_file_btn").shown) << "no success to offer";
    EXPECT_EQ(inputSize, FileSize(input));
    EXPECT_TRUE(inputBytes == ReadFile(input)) << "the input is untouched";
    EXPECT_FALSE(FileExists(folder + "\\录像 1_1.avi")) << "nothing half-written is left";
    EXPECT_FALSE(SaveWindowScreenshot(convert_, "format_convert_failed").empty());
}

TEST_F(FormatConvertTest, ALongConversionShowsProgressAndCancelEndsItAtOnceLeavingNothing)
{
    PrepareSaveFolder();
    const std::string input = work_ + "\\long 60s.avi";
    LinuxResult made = RunLinux("ffmpeg -nostdin -v error -y -f lavfi -i "
                                "testsrc2=size=1280x720:rate=25 -t 60 -c:v mjpeg -q:v 5 " +
                                    ShellQuote(UnixPath(input)),
                                180000);
    ASSERT_EQ(0, made.exitCode) << made.err;
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenConverter(input));
    const std::string out = work_ + "\\out folder";
    ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));
    ASSERT_TRUE(AnswerNextDialog(main_, "folder", true, out));
    ASSERT_TRUE(probe_.Click(convert_, "select_output_path_btn"));
    const std::string output = out + "\\long 60s.mp4";
    EXPECT_EQ(output, probe_.WaitFor(convert_, "output_file_btn", [&](const UiControl& c) {
                          return c.text == output;
                      }).text);

    ASSERT_TRUE(probe_.Click(convert_, "run_btn"));
    // The labels move on as the converter works.
    UiControl first = probe_.WaitFor(
        convert_, "remaining_time_lab",
        [](const UiControl& c) { return c.text.size() > strlen("完成百分比：") + 1; }, 30000);
    const std::string firstTime = probe_.Query(convert_, "cur_time_lab").text;
    ASSERT_EQ(0u, first.text.find("完成百分比：")) << first.text;
    UiControl later = probe_.WaitFor(
        convert_, "cur_time_lab", [&](const UiControl& c) { return c.text > firstTime; }, 30000);
    EXPECT_GT(later.text, firstTime);
    EXPECT_EQ(0u, later.text.find("时间：00:00:")) << later.text;
    EXPECT_NE(std::string::npos, later.text.find("/ 00:01:00.00")) << later.text;
    EXPECT_EQ(0u, probe_.Query(convert_, "cur_bitrate_lab").text.find("比特率："));
    EXPECT_FALSE(SaveWindowScreenshot(convert_, "format_convert_running").empty());

    const DWORD converter = ConverterProcess();
    ASSERT_NE(0u, converter);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, converter);
    ASSERT_NE(nullptr, process);
    ASSERT_TRUE(probe_.Click(convert_, "cancel_btn"));
    const DWORD clicked = GetTickCount();
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, WaitForSingleObject(process, 3000));
    const DWORD ended = GetTickCount() - clicked;
    CloseHandle(process);
    EXPECT_LT(ended, 1000u) << "the converter ended " << ended << " ms after the cancel";
    ASSERT_TRUE(probe_.WaitFor(convert_, "run_btn", [](const UiControl& c) {
                          return c.shown && c.enabled;
                      }).enabled);
    EXPECT_FALSE(FileExists(output)) << "the half-written output is removed";
    EXPECT_FALSE(probe_.Query(convert_, "output_file_btn").shown);
    EXPECT_FALSE(probe_.Query(convert_, "convert_result_lab").shown) << "a cancel is no failure";

    // And again, to the end.
    ASSERT_TRUE(RunAndWait(240000));
    EXPECT_TRUE(probe_.Query(convert_, "output_file_btn").shown)
        << probe_.Query(convert_, "convert_result_lab").text;
    EXPECT_NEAR(60.0, Duration(output), 0.3);
}

}  // namespace
