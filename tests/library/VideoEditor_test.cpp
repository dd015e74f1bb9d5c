// The video editor and the companion player in the real program, on a
// 60 s recording as the program makes them (H.264 with a key frame every
// 2 s, MP3 sound, in AVI): the preview, selections drawn with the mouse on
// the timeline, keep and the three kinds of cut run by the real converter,
// undo and redo, saving beside the source without replacing an earlier
// save, the working folders gone afterwards, a converter that fails, the
// question on closing, and the list's play button.
#include "ProgramTestFixture.h"

#include <commctrl.h>

#include <cmath>
#include <cstdlib>

namespace {

using namespace programtest;

const char kEditorProbe[] = "OrbiskVideoEditorProbe";

std::string Recording()
{
    static std::string path;
    if (!path.empty()) return path;
    const std::string dir = MakeTempDir("editsrc");
    const std::string u = UnixPath(dir);
    LinuxResult r = RunLinux(
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i "
        "sine=frequency=440:sample_rate=44100 -t 60 -c:v libx264 -preset ultrafast -bf 0 -g 50 "
        "-keyint_min 50 -sc_threshold 0 -pix_fmt yuv420p -vtag H264 -c:a libmp3lame -ac 2 -b:a 128k " +
            ShellQuote(u + "/rec.avi"),
        120000);
    if (r.exitCode == 0) path = dir + "\\rec.avi";
    return path;
}

std::string TempFolder()
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    return temp;
}

std::vector<std::string> SubfoldersOf(const std::string& folder)
{
    std::vector<std::string> found;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return found;
    do {
        const std::string name = fd.cFileName;
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            found.push_back(name);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return found;
}

double ProbeSeconds(const std::string& path)
{
    return atof(Probe(path, "", "duration")["duration"].c_str());
}

class VideoEditorTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        save_ = PrepareRecordingSettings();
        ASSERT_FALSE(Recording().empty()) << "ffmpeg made the recording";
        source_ = save_ + "\\rec.avi";
        ASSERT_TRUE(CopyFileA(Recording().c_str(), source_.c_str(), FALSE));
    }

    std::map<std::string, std::string> Editor()
    {
        return probe_.AskWindow(editor_, kEditorProbe, 0);
    }
    int Count() { return atoi(Editor()["count"].c_str()); }
    std::vector<std::string> Entries()
    {
        std::vector<std::string> out;
        std::string all = Editor()["entries"];
        for (size_t start = 0, bar; (bar = all.find('|', start)) != std::string::npos; start = bar + 1)
            out.push_back(all.substr(start, bar - start));
        return out;
    }

    // The main window's button, then the editor's own open button with the
    // file chosen in its dialog.
    void OpenEditor(const std::string& file)
    {
        ASSERT_TRUE(probe_.Click(main_, "video_editing_btn"));
        editor_ = WaitForWindow("VideoEditingWindow", nullptr, 10000, program_.Id());
        ASSERT_NE(nullptr, editor_);
        OpenInEditor(file);
    }
    void OpenInEditor(const std::string& file)
    {
        ASSERT_TRUE(AnswerNextDialog(main_, "open", true, file));
        ASSERT_TRUE(probe_.Click(editor_, "open_file_btn"));
        ASSERT_TRUE(WaitUntil([&] {
            auto e = Editor();
            return e["current"] == file && atof(e["duration"].c_str()) > 0;
        }, 15000)) << Editor()["current"];
    }

    void Pause()
    {
        UiControl pause = probe_.Query(editor_, "pause_video_btn");
        if (pause.shown) {
            ASSERT_TRUE(probe_.Click(editor_, "pause_video_btn"));
        }
        ASSERT_TRUE(WaitUntil([&] { return Editor()["state"] != "1"; }, 5000));
    }

    // Drags a selection over the track with the mouse, from the first whole
    // pixel at or after each time; the times the labels show.
    std::pair<std::string, std::string> Select(double startMs, double endMs)
    {
        Pause();
        auto e = Editor();
        RECT t = {};
        sscanf(e["track"].c_str(), "%ld,%ld,%ld,%ld", &t.left, &t.top, &t.right, &t.bottom);
        const double mpp = atof(e["mpp"].c_str());
        const int left = t.left + 8, right = t.right - 8;
        int x1 = left + (int)std::ceil(startMs / mpp);
        int x2 = std::min(right, left + (int)std::ceil(endMs / mpp));
        // The press must not land on the play marker (that drags it).
        if (std::abs(x1 - atoi(e["marker"].c_str())) <= 12) std::swap(x1, x2);
        const int y = (t.top + t.bottom) / 2;
        PostMessageA(editor_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x1, y));
        PostMessageA(editor_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((x1 + x2) / 2, y));
        PostMessageA(editor_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x2, y));
        PostMessageA(editor_, WM_LBUTTONUP, 0, MAKELPARAM(x2, y));
        UiControl end = probe_.WaitFor(editor_, "end_cut_time", [](const UiControl& c) { return c.shown; });
        EXPECT_TRUE(end.shown) << "the range controls show";
        // They show at the first move; the button's release (the capture let
        // go) ends the drag and its range.
        GUITHREADINFO gui = {sizeof gui};
        const DWORD thread = GetWindowThreadProcessId(editor_, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return GetGUIThreadInfo(thread, &gui) && !gui.hwndCapture; }, 5000));
        return {probe_.Query(editor_, "star_cut_time").text, probe_.Query(editor_, "end_cut_time").text};
    }

    // Runs an edit from its button and waits for the step it adds. After an
    // undo the count alone says nothing (the undone steps are still there
    // until a new one replaces them): the new step is the current one.
    void Edit(const char* button, int expectCount, DWORD timeoutMs = 120000)
    {
        const std::string before = Editor()["current"];
        ASSERT_TRUE(probe_.Click(editor_, button));
        ASSERT_TRUE(WaitUntil(
            [&] {
                auto e = Editor();
                return e["busy"] == "0" && atoi(e["count"].c_str()) == expectCount &&
                       atoi(e["index"].c_str()) == expectCount - 1 && e["current"] != before;
            },
            timeoutMs))
            << button << ": " << Editor()["count"] << " steps, at " << Editor()["index"];
        ASSERT_TRUE(WaitUntil([&] { return atof(Editor()["duration"].c_str()) > 0; }, 10000));
    }

    std::string Answer(const char* button, std::string* text = nullptr)
    {
        HWND box = WaitForWindow("MessageBoxWindow", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, box);
        if (!box) return "";
        std::string shown =
            probe_.WaitFor(box, "showtext", [](const UiControl& c) { return !c.text.empty(); }).text;
        EXPECT_TRUE(probe_.Click(box, button));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
        return shown;
    }

    std::string save_, source_;
    HWND editor_ = nullptr;
};

TEST_F(VideoEditorTest, KeepCutUndoRedoAndSaveBesideTheSource)
{
    ASSERT_NE(nullptr, Start());
    OpenEditor(source_);
    EXPECT_NEAR(60000, atof(Editor()["duration"].c_str()), 100);
    EXPECT_TRUE(WaitUntil([&] { return atoi(Editor()["position"].c_str()) >= 1000; }, 15000))
        << "the preview plays";

    // Keep 10-50 s, chosen from the menu over the selection.
    auto times = Select(10000, 50000);
    EXPECT_EQ("00:00:10", times.first);
    EXPECT_EQ("00:00:50", times.second);
    EXPECT_FALSE(SaveWindowScreenshot(editor_, "video_editor").empty());
    auto e = Editor();
    RECT t = {};
    sscanf(e["track"].c_str(), "%ld,%ld,%ld,%ld", &t.left, &t.top, &t.right, &t.bottom);
    POINT inside = {t.left + 8 + (int)(30000 / atof(e["mpp"].c_str())), (t.top + t.bottom) / 2};
    ClientToScreen(editor_, &inside);
    PostMessageA(editor_, WM_CONTEXTMENU, (WPARAM)editor_, MAKELPARAM(inside.x, inside.y));
    HWND menu = WaitForWindow("MenuWnd", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ("删除选择区间", probe_.Query(menu, "remove_select").text);
    EXPECT_FALSE(SaveWindowScreenshot(menu, "video_editor_menu").empty());
    ASSERT_TRUE(probe_.Click(menu, "save_select"));
    ASSERT_TRUE(WaitUntil([&] { return Editor()["busy"] == "0" && Count() == 2; }, 120000));
    std::vector<std::string> steps = Entries();
    ASSERT_EQ(2u, steps.size());
    EXPECT_EQ(source_, steps[0]);
    EXPECT_NE(std::string::npos, steps[1].find("\\VintraCamTemp\\rec\\"));
    EXPECT_NEAR(40.0, ProbeSeconds(steps[1]), 1.0);
    EXPECT_EQ("mp3", Probe(steps[1], "a:0", "codec_name")["codec_name"]) << "with its sound";
    EXPECT_TRUE(WaitUntil([&] { return atof(Editor()["duration"].c_str()) > 38000 &&
                                       atof(Editor()["duration"].c_str()) < 42000; }, 10000));

    // Undo reloads the recording itself (the step's player may take its time
    // to let go of its file); the middle cut: two parts joined.
    ASSERT_TRUE(probe_.Click(editor_, "undo_btn"));
    ASSERT_TRUE(WaitUntil([&] { return Editor()["current"] == source_ && Editor()["index"] == "0"; }, 20000))
        << "\"" << Editor()["current"] << "\" at step \"" << Editor()["index"] << "\" (empty: no answer)";
    EXPECT_TRUE(WaitUntil([&] { return std::fabs(atof(Editor()["duration"].c_str()) - 60000) < 100; }, 10000));
    Select(20000, 30000);
    Edit("cut_video_btn", 2);
    const std::string middle = Editor()["current"];
    EXPECT_NE(steps[1], middle) << "a new step never takes an earlier step's file";
    const double frames = atof(Probe(middle, "v:0", "nb_read_frames", true)["nb_read_frames"].c_str());
    EXPECT_NEAR(50 * 25, frames, 25) << "video frames for 50 s";

    // Cut, undo, cut, cut: the first 10 s, twice over.
    ASSERT_TRUE(probe_.Click(editor_, "undo_btn"));
    ASSERT_TRUE(WaitUntil([&] { return Editor()["current"] == source_; }, 20000));
    Select(0, 10000);
    Edit("cut_video_btn", 2);
    EXPECT_NEAR(50.0, ProbeSeconds(Editor()["current"]), 1.0);
    Select(0, 10000);
    Edit("cut_video_btn", 3);
    steps = Entries();
    ASSERT_EQ(3u, steps.size());
    for (size_t i = 1; i < steps.size(); ++i) EXPECT_NE(steps[i - 1], steps[i]);
    EXPECT_NE(middle, steps[1]);
    EXPECT_NEAR(ProbeSeconds(steps[1]) - 10, ProbeSeconds(steps[2]), 1.0);

    // Undo and redo load the step they name.
    ASSERT_TRUE(probe_.Click(editor_, "undo_btn"));
    ASSERT_TRUE(WaitUntil([&] { return Editor()["current"] == steps[1]; }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return std::fabs(atof(Editor()["duration"].c_str()) - 50000) < 1000; }, 10000));
    ASSERT_TRUE(probe_.Click(editor_, "do_btn"));
    ASSERT_TRUE(WaitUntil([&] { return Editor()["current"] == steps[2] && Editor()["index"] == "2"; }, 20000));

    // Saved beside the source; the saved file is what the editor shows now.
    const std::string saved = save_ + "\\rec-cut.avi";
    ASSERT_TRUE(probe_.Click(editor_, "save_btn"));
    ASSERT_TRUE(WaitUntil([&] { return Editor()["current"] == saved; }, 10000));
    EXPECT_NEAR(40.0, ProbeSeconds(saved), 1.0);
    const long long firstSize = FileSize(saved);

    // The same recording edited again and saved: the first save stays.
    OpenInEditor(source_);
    Select(0, 10000);
    Edit("cut_video_btn", 2);
    ASSERT_TRUE(probe_.Click(editor_, "save_btn"));
    const std::string second = save_ + "\\rec-cut(2).avi";
    ASSERT_TRUE(WaitUntil([&] { return Editor()["current"] == second; }, 10000));
    EXPECT_NEAR(50.0, ProbeSeconds(second), 1.0);
    EXPECT_EQ(firstSize, FileSize(saved));
    EXPECT_NEAR(40.0, ProbeSeconds(saved), 1.0);

    const std::string root = TempFolder() + "VintraCamTemp";
    EXPECT_TRUE(WaitUntil([&] { return SubfoldersOf(root).empty(); }, 10000))
        << "working folders left: " << SubfoldersOf(root).size();
}

TEST_F(VideoEditorTest, AFailedConverterRunChangesNothingAndSaysSo)
{
    ASSERT_NE(nullptr, Start());
    OpenEditor(source_);
    Select(20000, 30000);
    // The preview keeps the file it opened; the converter finds none.
    const std::string away = UnixPath(source_) + ".away";
    ASSERT_EQ(0, RunLinux("mv " + ShellQuote(UnixPath(source_)) + " " + ShellQuote(away)).exitCode);
    ASSERT_TRUE(probe_.Click(editor_, "cut_video_btn"));
    const std::string text = AnswerSystemBox();
    RunLinux("mv " + ShellQuote(away) + " " + ShellQuote(UnixPath(source_)));
    EXPECT_EQ("视频剪辑失败，视频没有改变。", text);
    EXPECT_TRUE(WaitUntil([&] { return Editor()["busy"] == "0"; }, 5000));
    EXPECT_EQ(1, Count());
    EXPECT_EQ(source_, Editor()["current"]);
    EXPECT_EQ("0", Editor()["index"]);

    // The whole video cannot be cut away.
    Select(0, 60000);
    ASSERT_TRUE(probe_.Click(editor_, "cut_video_btn"));
    EXPECT_EQ("不能删除整个视频，请重新选择区间。", AnswerSystemBox());
    EXPECT_EQ(1, Count());
}

TEST_F(VideoEditorTest, ClosingWithUnsavedStepsAsksAndCancelKeepsThem)
{
    // A file whose name begins with '.': its working folder stays below
    // the editor's own, and so does the clean-up.
    const std::string dotted = save_ + "\\.avi";
    ASSERT_TRUE(CopyFileA(source_.c_str(), dotted.c_str(), FALSE));
    const std::string canary = TempFolder() + "orbisk-editor-canary";
    CreateDirectoryA(canary.c_str(), nullptr);
    WriteFile(canary + "\\keep.txt", "keep");

    ASSERT_NE(nullptr, Start());
    OpenEditor(dotted);
    Select(10000, 50000);
    Edit("retain_video_btn", 2);
    EXPECT_NE(std::string::npos, Entries()[1].find("\\VintraCamTemp\\video\\"));

    ASSERT_TRUE(probe_.Click(editor_, "closebtn"));
    EXPECT_EQ("您要保存编辑后的视频文件吗？", Answer("cancle_btn"));
    Sleep(300);
    EXPECT_TRUE(IsWindow(editor_));
    EXPECT_EQ(2, Count());

    // "是": saved, closed, and the working folder removed.
    ASSERT_TRUE(probe_.Click(editor_, "closebtn"));
    Answer("ok_btn");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor_); }, 10000));
    EXPECT_TRUE(WaitForFile(save_ + "\\video-cut.avi", 5000));
    EXPECT_NEAR(40.0, ProbeSeconds(save_ + "\\video-cut.avi"), 1.0);
    const std::string root = TempFolder() + "VintraCamTemp";
    EXPECT_TRUE(WaitUntil([&] { return SubfoldersOf(root).empty(); }, 10000));
    EXPECT_TRUE(FileExists(canary + "\\keep.txt"));
    EXPECT_TRUE(FileExists(dotted));
    DeleteFileA((canary + "\\keep.txt").c_str());
    RemoveDirectoryA(canary.c_str());
}

TEST_F(VideoEditorTest, TheListsPlayButtonPlaysInTheProgramsOwnPlayer)
{
    ASSERT_NE(nullptr, Start());
    ASSERT_TRUE(probe_.Click(main_, "video_file_btn"));
    HWND list = WaitForWindow("AviListWnd", nullptr, 10000, program_.Id());
    ASSERT_NE(nullptr, list);
    ASSERT_TRUE(WaitUntil([&] { return probe_.Query(list, "playlist").fields["count"] == "1"; }, 10000));
    ASSERT_TRUE(probe_.Select(list, "playlist", 0));
    ASSERT_TRUE(probe_.Click(list, "play_video_btn"));
    HWND player = WaitForWindow("VintraPlayerWnd", nullptr, 15000);
    ASSERT_NE(nullptr, player);
    DWORD pid = 0;
    GetWindowThreadProcessId(player, &pid);
    // A player left behind would hold the test run's output open.
    struct EndPlayer {
        DWORD pid;
        ~EndPlayer()
        {
            HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
            if (p) TerminateProcess(p, 1), CloseHandle(p);
        }
    } endPlayer{pid};
    char title[256] = {};
    GetWindowTextA(player, title, sizeof title);
    EXPECT_STREQ("VintraPlayer - rec.avi", title);
    // The window exists before its controls and shows once the file is open.
    HWND bar = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        bar = FindWindowExA(player, nullptr, "msctls_trackbar32", nullptr);
        return bar && IsWindowVisible(player);
    }, 15000));
    EXPECT_EQ(600, SendMessageA(bar, TBM_GETRANGEMAX, 0, 0)) << "60 s in tenths";
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(bar, TBM_GETPOS, 0, 0) >= 10; }, 15000))
        << "the position moves on";
    EXPECT_FALSE(SaveWindowScreenshot(player, "vintra_player").empty());
    PostMessageA(player, WM_CLOSE, 0, 0);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 10000));
        CloseHandle(process);
    }
}

}  // namespace
