// The video list in the real program, opened from the main window's
// "video_file_btn" over a save folder of the test's own: what its rows
// show, its orders, a recording turning up by itself, the delete with its
// question (and the race of a file saved while it is open), the clipboard,
// the companion player and the change of save folder.
#include "ProgramTestFixture.h"
#include "SampleFolder.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace {

using namespace programtest;

std::vector<std::string> Split(const std::string& text, char sep)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(sep, start);
        out.push_back(text.substr(start, at - start));
        if (at == std::string::npos) return out;
        start = at + 1;
    }
}

class VideoListTest : public ProgramTest {
protected:
    // The save folder (with the sample files, unless told otherwise) in the
    // settings, for a recording that can run here.
    std::string PrepareSaveFolder(bool samples = true)
    {
        save_ = work_ + "\\save";
        CreateDirectoryA(save_.c_str(), nullptr);
        if (samples) {
            EXPECT_TRUE(sample::Fill(save_)) << "ffmpeg made the sample files";
        }
        WriteFile(config_,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                  "<videoSavePath path=\"" +
                      save_ +
                      "\" />\n<start_countdown countdown=\"0\" />\n"
                      "<rec_speaker rec=\"0\" />\n<rec_micphone rec=\"0\" />\n"
                      "<auto_play_oncomplete auto_play=\"0\" />\n</vintracfg>\n");
        return save_;
    }

    HWND OpenList(size_t rows)
    {
        EXPECT_TRUE(probe_.Click(main_, "video_file_btn"));
        list_ = WaitForWindow("AviListWnd", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, list_);
        if (list_) {
            EXPECT_TRUE(WaitRows([&](const std::vector<std::string>& r) { return r.size() == rows; }));
        }
        return list_;
    }

    // Each row's texts: name, size, resolution (when known), duration,
    // date, type.
    std::vector<std::vector<std::string>> Rows()
    {
        UiControl list = probe_.Query(list_, "playlist");
        std::vector<std::vector<std::string>> rows;
        int count = atoi(list.fields["count"].c_str());
        for (int i = 0; i < count; ++i) rows.push_back(Split(list.fields["row." + std::to_string(i)], '\t'));
        return rows;
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (const auto& row : Rows()) names.push_back(row[0]);
        return names;
    }
    bool WaitRows(std::function<bool(const std::vector<std::string>&)> pred, DWORD ms = 5000)
    {
        return WaitUntil([&] { return pred(Names()); }, ms);
    }
    int RowOf(const std::string& name)
    {
        std::vector<std::string> names = Names();
        auto it = std::find(names.begin(), names.end(), name);
        return it == names.end() ? -1 : (int)(it - names.begin());
    }

    // The program's own question box, answered with one of its buttons;
    // its text.
    std::string Answer(const char* button)
    {
        HWND box = WaitForWindow("MessageBoxWindow", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, box);
        if (!box) return "";
        std::string text =
            probe_.WaitFor(box, "showtext", [](const UiControl& c) { return !c.text.empty(); }).text;
        EXPECT_TRUE(probe_.Click(box, button));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
        return text;
    }

    // The system message box the program shows, its text once closed.
    std::string CloseSystemBox()
    {
        HWND box = WaitForWindow("#32770", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, box);
        if (!box) return "";
        // The box is made before its text.
        WaitUntil([&] {
            char buf[8] = {};
            HWND c = FindWindowExA(box, nullptr, "Static", nullptr);
            while (c && !GetWindowTextA(c, buf, sizeof buf)) c = FindWindowExA(box, c, "Static", nullptr);
            return c != nullptr;
        }, 5000);
        std::string text;
        for (HWND c = nullptr; (c = FindWindowExA(box, c, "Static", nullptr)) != nullptr;) {
            char buf[512] = {};
            SendMessageTimeoutA(c, WM_GETTEXT, sizeof buf, (LPARAM)buf, SMTO_NORMAL, 5000, nullptr);
            text += buf;
        }
        char title[64] = {};
        SendMessageTimeoutA(box, WM_GETTEXT, sizeof title, (LPARAM)title, SMTO_NORMAL, 5000, nullptr);
        EXPECT_STREQ("提示", title);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
        return text;
    }

    // A copy of the program folder without the companion player; empty
    // when it could not be made.
    std::string ProgramCopy()
    {
        const std::string copy = work_ + "\\program";
        for (const char* dir : {"", "\\plugins", "\\plugins\\x264", "\\plugins\\xvid32"})
            CreateDirectoryA((copy + dir).c_str(), nullptr);
        for (const char* file : {"\\Orbisk.exe", "\\CamHook.dll", "\\lame_enc.dll", "\\vintx.exe",
                                 "\\plugins\\x264\\x264vfw.dll"})
            if (!CopyFileA((ProgramDir() + file).c_str(), (copy + file).c_str(), FALSE)) return "";
        return copy;
    }

    void PressDelete() { PostMessageA(list_, WM_KEYDOWN, VK_DELETE, 0); }

    bool Select(int row)
    {
        return probe_.Select(list_, "playlist", row) &&
               WaitUntil([&] { return probe_.Query(list_, "playlist").fields["cursel"] ==
                                      std::to_string(row); },
                         5000);
    }

    std::string save_;
    HWND list_ = nullptr;
};

// The Explorer windows open now.
std::vector<HWND> ExplorerWindows()
{
    std::vector<HWND> found;
    for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, "ExplorerWClass", nullptr)) != nullptr;)
        found.push_back(h);
    return found;
}

// Closes an Explorer window the program opened and waits for its process:
// left running it would hold the test's output open.
void CloseExplorer(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!process) return;
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
    CloseHandle(process);
}

// Sizes (or lengths) of the rows in the order shown are in order.
bool InOrder(const std::vector<long long>& values, bool ascending)
{
    for (size_t i = 1; i < values.size(); ++i)
        if (ascending ? values[i] < values[i - 1] : values[i] > values[i - 1]) return false;
    return true;
}

TEST_F(VideoListTest, TheListShowsTheSaveFolderNewestFirstAndEachHeaderSortsBothWays)
{
    PrepareSaveFolder();
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenList(sample::kFileCount));
    RECT rc;
    GetWindowRect(list_, &rc);
    EXPECT_EQ(550, rc.right - rc.left);
    EXPECT_EQ(230, rc.bottom - rc.top);
    EXPECT_EQ(save_, probe_.Query(list_, "show_path_edit_btn").text);

    std::vector<std::string> newestFirst;
    for (const sample::File& f : sample::kFiles) newestFirst.push_back(f.name);
    EXPECT_EQ(newestFirst, Names());
    std::map<std::string, std::vector<std::string>> rows;
    for (const auto& row : Rows()) rows[row[0]] = row;
    // Both ten-second videos show ten seconds, whatever their frame rate.
    EXPECT_EQ("640X480", rows["clip30.avi"][2]);
    EXPECT_EQ("00:00:10", rows["clip30.avi"][3]);
    EXPECT_EQ("AVI", rows["clip30.avi"].back());
    EXPECT_EQ("320X240", rows["clip25.avi"][2]);
    EXPECT_EQ("00:00:10", rows["clip25.avi"][3]);
    EXPECT_EQ("64X48", rows["shot.png"][2]);
    EXPECT_EQ("PNG", rows["shot.png"].back());
    EXPECT_EQ("AVI", rows["a.b.avi"].back()) << "a video, by its last extension";
    EXPECT_EQ("320X240", rows["clip.AVI"][2]) << "a video, whatever the extension's case";
    EXPECT_EQ("00:00:10", rows["clip.AVI"][3]);
    EXPECT_EQ("txt", rows["readme.txt"].back());
    char size[32];
    snprintf(size, sizeof size, "%.2fMb", FileSize(save_ + "\\clip30.avi") / 1048576.0);
    EXPECT_EQ(size, rows["clip30.avi"][1]);
    // The date is the file's time in the computer's own time zone.
    WIN32_FILE_ATTRIBUTE_DATA attrs;
    GetFileAttributesExA((save_ + "\\shot.png").c_str(), GetFileExInfoStandard, &attrs);
    FILETIME local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&attrs.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &st);
    char date[64];
    snprintf(date, sizeof date, "%d/%d/%d %d:%.2d", st.wYear, st.wMonth, st.wDay, st.wHour,
             st.wMinute);
    EXPECT_EQ(date, rows["shot.png"][rows["shot.png"].size() - 2]);
    Sleep(300);
    EXPECT_FALSE(SaveWindowScreenshot(list_, "video_list").empty());

    auto sizes = [&] {
        std::vector<long long> v;
        for (const std::string& n : Names()) v.push_back(FileSize(save_ + "\\" + n));
        return v;
    };
    auto lengths = [&] {
        std::vector<long long> v;
        for (const auto& row : Rows()) v.push_back(std::find(row.begin(), row.end(), "00:00:10") != row.end());
        return v;
    };
    auto clickUntil = [&](const char* header, std::function<bool()> done) {
        EXPECT_TRUE(probe_.Click(list_, header)) << header;
        EXPECT_TRUE(WaitUntil(done, 5000)) << header;
    };
    clickUntil("header_size", [&] { return InOrder(sizes(), true) && Names().front() == "readme.txt"; });
    clickUntil("header_size", [&] { return InOrder(sizes(), false) && Names().front() == "clip30.avi"; });
    clickUntil("header_date", [&] {
        return Names() == std::vector<std::string>(newestFirst.rbegin(), newestFirst.rend());
    });
    clickUntil("header_date", [&] { return Names() == newestFirst; });
    clickUntil("header_duration", [&] { return InOrder(lengths(), true) && lengths().back() == 1; });
    clickUntil("header_duration", [&] { return InOrder(lengths(), false) && lengths().front() == 1; });
    // "类型" orders by length too, turning it round again.
    clickUntil("header_type", [&] { return InOrder(lengths(), true) && lengths().back() == 1; });
    const std::vector<std::string> before = Names();
    EXPECT_TRUE(probe_.Click(list_, "header_name"));
    EXPECT_TRUE(probe_.Click(list_, "header_hw"));
    Sleep(800);
    EXPECT_EQ(before, Names()) << "names and sizes of the picture do not order the list";

    // Closing only puts it away; the main window's button brings it back.
    ASSERT_TRUE(probe_.Click(list_, "closebtn"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(list_); }, 5000));
    HWND again = list_;
    ASSERT_NE(nullptr, OpenList(sample::kFileCount));
    EXPECT_EQ(again, list_);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(list_) != FALSE; }, 5000));
}

TEST_F(VideoListTest, ARecordingTurnsUpInTheOpenListWithinASecond)
{
    PrepareSaveFolder(false);
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenList(0));
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    ASSERT_TRUE(WaitRecorded(2500));
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));

    std::string saved;
    ASSERT_TRUE(WaitUntil(
        [&] {
            std::vector<std::string> files = sample::FilesIn(save_);
            if (!files.empty()) saved = files[0];
            return !files.empty();
        },
        60000));
    const DWORD seen = GetTickCount();
    ASSERT_TRUE(WaitRows([&](const std::vector<std::string>& r) { return r.size() == 1 && r[0] == saved; }, 3000));
    EXPECT_LT(GetTickCount() - seen, 1000u) << "the row came " << GetTickCount() - seen << " ms after the file";
    // Once the save is done, the row shows the finished video.
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::vector<std::vector<std::string>> rows = Rows();
            return rows.size() == 1 && rows[0].size() == 6 && rows[0][3] >= "00:00:02" &&
                   rows[0][5] == "AVI";
        },
        30000))
        << (Rows().empty() ? "" : Rows()[0][3]);
}

TEST_F(VideoListTest, DeleteTakesTheFileTheUserChoseEvenWhenTheListMovesUnderTheQuestion)
{
    PrepareSaveFolder();
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenList(sample::kFileCount));
    ASSERT_TRUE(Select(3));
    const std::string chosen = Names()[3];

    PressDelete();
    HWND box = WaitForWindow("MessageBoxWindow", nullptr, 10000, program_.Id());
    ASSERT_NE(nullptr, box);
    // A recording is saved while the question is open: it comes first, and
    // every row moves down one.
    WriteFile(save_ + "\\20990101_0000_00.avi", "x");
    ASSERT_TRUE(WaitRows([](const std::vector<std::string>& r) {
        return r.size() == sample::kFileCount + 1u && r[0] == "20990101_0000_00.avi";
    }));
    EXPECT_NE(std::string::npos, Answer("cancle_btn").find(chosen)) << "the question names the file";

    ASSERT_TRUE(WaitUntil([&] { return !FileExists(save_ + "\\" + chosen); }, 5000));
    std::vector<std::string> left = sample::FilesIn(save_);
    EXPECT_EQ((size_t)sample::kFileCount, left.size());
    EXPECT_EQ(left.end(), std::find(left.begin(), left.end(), chosen));
    EXPECT_TRUE(WaitRows([&](const std::vector<std::string>& r) {
        return r.size() == sample::kFileCount && std::find(r.begin(), r.end(), chosen) == r.end();
    }));
}

TEST_F(VideoListTest, DeleteAsksFirstDeletesOnceAndSaysWhenAFileCannotGo)
{
    PrepareSaveFolder();
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenList(sample::kFileCount));

    // "否" keeps the file.
    ASSERT_TRUE(Select(0));
    PressDelete();
    Answer("no_btn");
    Sleep(500);
    EXPECT_EQ((size_t)sample::kFileCount, sample::FilesIn(save_).size());
    EXPECT_EQ((size_t)sample::kFileCount, Names().size());

    // Two quick presses ask once and delete once.
    ASSERT_TRUE(Select(1));
    const std::string chosen = Names()[1];
    PressDelete();
    PressDelete();
    Answer("cancle_btn");
    ASSERT_TRUE(WaitUntil([&] { return !FileExists(save_ + "\\" + chosen); }, 5000));
    ASSERT_TRUE(WaitRows([](const std::vector<std::string>& r) { return r.size() == sample::kFileCount - 1u; }));
    Sleep(1000);
    EXPECT_EQ(nullptr, FindWindowA("MessageBoxWindow", nullptr)) << "no second question";
    EXPECT_EQ(sample::kFileCount - 1u, sample::FilesIn(save_).size());
    EXPECT_EQ("-1", probe_.Query(list_, "playlist").fields["cursel"]) << "nothing selected after";
    PressDelete();
    Sleep(500);
    EXPECT_EQ(nullptr, FindWindowA("MessageBoxWindow", nullptr)) << "nothing to delete";

    // A file another program holds open stays, with its row, and the user
    // is told.
    const std::string held = Names()[0];
    HANDLE h = CreateFileA((save_ + "\\" + held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    ASSERT_TRUE(Select(0));
    PressDelete();
    Answer("cancle_btn");
    EXPECT_NE(std::string::npos, Answer("ok_btn").find("无法删除")) << "the failure is told";
    CloseHandle(h);
    EXPECT_TRUE(FileExists(save_ + "\\" + held));
    EXPECT_EQ(held, Names()[0]);
}

TEST_F(VideoListTest, TheMenuCopiesPlaysAndShowsTheFile)
{
    // A program folder with a companion player that writes down how it
    // was started.
    const std::string copy = ProgramCopy();
    ASSERT_FALSE(copy.empty());
    ASSERT_TRUE(CopyFileA((TestBinDir() + "\\player_stub.exe").c_str(),
                          (copy + "\\VintraPlayer.exe").c_str(), FALSE));
    PrepareSaveFolder();
    ASSERT_NE(nullptr, Start("", copy));
    ASSERT_NE(nullptr, OpenList(sample::kFileCount));
    const int row = RowOf("clip25.avi");
    ASSERT_TRUE(Select(row));
    const std::string path = save_ + "\\clip25.avi";

    // The menu at the right click, with its shadow behind it.
    ASSERT_TRUE(probe_.RightClick(list_, "playlist#" + std::to_string(row)));
    HWND menu = WaitForWindow("MenuWnd", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, menu);
    HWND shadow = WaitForWindow("UIShadow", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, shadow);
    EXPECT_TRUE(GetWindowLongA(shadow, GWL_EXSTYLE) & WS_EX_LAYERED);
    // The program places the menu and then its shadow: look once both are set.
    RECT m, s;
    PumpUntil([&] {
        GetWindowRect(menu, &m);
        GetWindowRect(shadow, &s);
        return IsWindowVisible(menu) && EqualRect(&m, &s);
    }, 3000);
    EXPECT_EQ(180, m.right - m.left);
    EXPECT_EQ(148, m.bottom - m.top);
    EXPECT_TRUE(EqualRect(&m, &s)) << "the shadow lies under the menu";
    EXPECT_TRUE(probe_.Query(menu, "menu_Delete").enabled);
    Sleep(300);
    EXPECT_FALSE(SaveWindowScreenshot(menu, "video_list_menu").empty());

    // Copy: a file drop of the path on the clipboard.
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    ASSERT_TRUE(probe_.Click(menu, "menu_Copy"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(menu); }, 5000));
    std::string dropped;
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (!OpenClipboard(nullptr)) return false;
            if (HANDLE h = GetClipboardData(CF_HDROP)) {
                char file[MAX_PATH] = {};
                if (DragQueryFileA((HDROP)h, 0xFFFFFFFF, nullptr, 0) == 1 &&
                    DragQueryFileA((HDROP)h, 0, file, MAX_PATH))
                    dropped = file;
            }
            CloseClipboard();
            return !dropped.empty();
        },
        5000));
    EXPECT_EQ(path, dropped);

    // Play (a double click on the row): the player, its own path first.
    const std::string args = copy + "\\player_args.txt";
    ASSERT_TRUE(probe_.DoubleClick(list_, "playlist#" + std::to_string(row)));
    ASSERT_TRUE(WaitForFile(args, 10000));
    EXPECT_EQ("\"" + copy + "\\VintraPlayer.exe\" \"" + path + "\"", ReadFile(args));

    // "打开文件所在位置": Explorer opens on the save folder; the program goes on.
    std::vector<HWND> before = ExplorerWindows();
    ASSERT_TRUE(probe_.RightClick(list_, "playlist#" + std::to_string(row)));
    menu = WaitForWindow("MenuWnd", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, menu);
    ASSERT_TRUE(probe_.Click(menu, "menu_file_path"));
    HWND explorer = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND h : ExplorerWindows())
                if (std::find(before.begin(), before.end(), h) == before.end()) explorer = h;
            return explorer != nullptr;
        },
        15000));
    // It names the folder it shows once it has read it.
    char title[MAX_PATH] = {};
    EXPECT_TRUE(WaitUntil([&] { return GetWindowTextA(explorer, title, MAX_PATH) && std::string(title) == "save"; }, 10000))
        << title;
    CloseExplorer(explorer);
    EXPECT_TRUE(program_.Running());
    EXPECT_TRUE(IsWindow(list_));

    // After a delete nothing is selected: the menu (from the header) offers
    // only what needs no file.
    PressDelete();
    Answer("cancle_btn");
    ASSERT_TRUE(WaitRows([](const std::vector<std::string>& r) { return r.size() == sample::kFileCount - 1u; }));
    ASSERT_TRUE(probe_.RightClick(list_, "header_name"));
    menu = WaitForWindow("MenuWnd", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, menu);
    for (const char* item : {"menu_Delete", "menu_Open", "edit_video", "menu_file_path"})
        EXPECT_FALSE(probe_.Query(menu, item).enabled) << item;
    EXPECT_TRUE(probe_.Query(menu, "menu_Copy").enabled);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(menu); }, 5000));
}

TEST_F(VideoListTest, PlayWithoutTheCompanionPlayerSaysItIsMissing)
{
    PrepareSaveFolder();
    const std::string copy = ProgramCopy();
    ASSERT_FALSE(copy.empty());
    ASSERT_NE(nullptr, Start("", copy));
    ASSERT_NE(nullptr, OpenList(sample::kFileCount));
    ASSERT_TRUE(Select(RowOf("clip30.avi")));
    ASSERT_TRUE(probe_.Click(list_, "play_video_btn"));
    EXPECT_EQ("播放器不存在 ", CloseSystemBox());
    EXPECT_TRUE(program_.Running());
}

TEST_F(VideoListTest, AnotherSaveFolderIsKeptInTheSettingsAndListed)
{
    PrepareSaveFolder();
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenList(sample::kFileCount));
    const std::string other = work_ + "\\other";
    CreateDirectoryA(other.c_str(), nullptr);
    WriteFile(other + "\\only.txt", "x");

    ASSERT_TRUE(AnswerNextDialog(main_, "folder", true, other));
    ASSERT_TRUE(probe_.Click(list_, "show_path_edit_btn"));
    ASSERT_TRUE(WaitRows([](const std::vector<std::string>& r) {
        return r == std::vector<std::string>{"only.txt"};
    }));
    EXPECT_EQ(other, probe_.Query(list_, "show_path_edit_btn").text);
    EXPECT_NE(std::string::npos, ReadFile(config_).find("path=\"" + other + "\""));

    // A cancelled picker keeps the folder.
    ASSERT_TRUE(AnswerNextDialog(main_, "folder", false));
    ASSERT_TRUE(probe_.Click(list_, "show_path_edit_btn"));
    Sleep(800);
    EXPECT_EQ(other, probe_.Query(list_, "show_path_edit_btn").text);
    EXPECT_EQ(std::vector<std::string>{"only.txt"}, Names());
}

}  // namespace
