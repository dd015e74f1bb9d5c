// The video library's model and workers without its window: the scan of a
// folder of real files, the orders, the delete by path and the watcher,
// with a plain window of the test standing in for the list.
#include <gtest/gtest.h>

#include "SampleFolder.h"
#include "TestKit.h"
#include "core/AppPaths.h"
#include "kit/WindowMessages.h"
#include "library/AviFileList.h"
#include "library/VideoFileActions.h"
#include "library/VideoListTexts.h"
#include "library/VideoListThreads.h"

#include <shellapi.h>

#include <algorithm>
#include <map>

namespace {

using testkit::FileSize;

std::map<std::string, AviFileItem> ByName(const std::vector<AviFileItem>& items)
{
    std::map<std::string, AviFileItem> m;
    for (const AviFileItem& i : items) m[i.name] = i;
    return m;
}

std::vector<std::string> Names(const std::vector<AviFileItem>& items)
{
    std::vector<std::string> names;
    for (const AviFileItem& i : items) names.push_back(i.name);
    return names;
}

// A window standing in for the list: what the workers tell it.
class ListStandIn {
public:
    ListStandIn()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VideoListStandIn";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, "VideoListStandIn", "", WS_POPUP | WS_VISIBLE,
                               -100, -100, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)this);
    }
    ~ListStandIn() { DestroyWindow(hwnd); }

    HWND hwnd;
    int reloads = 0;
    std::vector<std::pair<DWORD, std::string>> removed;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        auto* self = reinterpret_cast<ListStandIn*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        if (self && m == WM_VIDEO_LIST_RELOADED) ++self->reloads;
        if (self && m == WM_LIST_ITEM_REMOVED)
            self->removed.push_back({(DWORD)w, reinterpret_cast<const char*>(l)});
        return DefWindowProcA(h, m, w, l);
    }
};

class VideoLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = testkit::MakeTempDir("library");
        ASSERT_TRUE(sample::Fill(folder_)) << "ffmpeg made the sample files";
        SetVideoSaveFolder(folder_);
        ResetVideoListWorkers();
        ClearAviFileList();
    }
    void TearDown() override
    {
        SetVideoListWindow(nullptr);
        ResetVideoListWorkers();
        ClearAviFileList();
    }
    std::string Path(const char* name) const { return folder_ + "\\" + name; }

    std::string folder_;
};

TEST_F(VideoLibraryTest, TheScanDescribesEveryFileOfTheFolder)
{
    // Neither a hidden folder nor a damaged video may upset the list.
    const std::string hidden = Path("hidden dir");
    ASSERT_TRUE(CreateDirectoryA(hidden.c_str(), nullptr));
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    testkit::WriteFile(Path("broken.avi"), std::string(5000, 'x'));

    ScanVideoFolder(folder_);
    std::map<std::string, AviFileItem> items = ByName(g_aviFileList.Items());
    ASSERT_EQ(sample::kFileCount + 1u, items.size());
    EXPECT_EQ((int)items.size(), g_aviFileList.FolderCount());
    EXPECT_EQ(items.size(), CountVideoFiles(folder_)) << "the watcher counts what the list shows";

    const AviFileItem& v25 = items["clip25.avi"];
    EXPECT_EQ(kAviKindAvi, v25.kind);
    EXPECT_EQ(10000.0, v25.duration);
    EXPECT_EQ("320X240", v25.resolution);
    EXPECT_EQ("avi", v25.type);
    EXPECT_EQ(Path("clip25.avi"), v25.path);
    EXPECT_DOUBLE_EQ(FileSize(Path("clip25.avi")) / 1048576.0, v25.size);
    // Ten seconds at 30 frames a second are ten seconds, not 300 x 33 ms.
    EXPECT_EQ(10000.0, items["clip30.avi"].duration);
    EXPECT_EQ("640X480", items["clip30.avi"].resolution);

    EXPECT_EQ(kAviKindPng, items["shot.png"].kind);
    EXPECT_EQ("64X48", items["shot.png"].resolution);
    EXPECT_EQ(0.0, items["shot.png"].duration);
    // The kind goes by the last extension, in any case.
    EXPECT_EQ(kAviKindAvi, items["a.b.avi"].kind);
    EXPECT_EQ(10000.0, items["a.b.avi"].duration);
    EXPECT_EQ(kAviKindAvi, items["clip.AVI"].kind);
    EXPECT_EQ("avi", items["clip.AVI"].type);
    EXPECT_EQ("320X240", items["clip.AVI"].resolution);
    EXPECT_EQ("txt", items["readme.txt"].type);

    // A video that cannot be read keeps what every action needs.
    const AviFileItem& broken = items["broken.avi"];
    EXPECT_EQ(kAviKindAvi, broken.kind);
    EXPECT_EQ(Path("broken.avi"), broken.path);
    EXPECT_DOUBLE_EQ(5000 / 1048576.0, broken.size);
    EXPECT_NE(0u, broken.modified.dwHighDateTime);
    EXPECT_EQ(0.0, broken.duration);

    // An empty folder, and one that is not there.
    const std::string empty = testkit::MakeTempDir("empty");
    ScanVideoFolder(empty);
    EXPECT_EQ(0, g_aviFileList.FolderCount());
    ScanVideoFolder(empty + "\\missing");
    EXPECT_EQ(0u, g_aviFileList.Count());
}

TEST(AviDuration, IsLengthTimesScaleOverRateInSixtyFourBits)
{
    EXPECT_EQ(10000u, AviDurationMs(300, 1, 30));
    EXPECT_EQ(10010u, AviDurationMs(300, 1001, 30000)) << "29.97 frames a second";
    EXPECT_EQ(6000u, AviDurationMs(3, 2, 1)) << "a rate below its scale";
    EXPECT_EQ(0u, AviDurationMs(300, 1, 0));
    EXPECT_EQ(0u, AviDurationMs(300, 0, 25));
    // Ten hours at 1000 frames a second would overflow 32 bits many times.
    EXPECT_EQ(36000000000ull, AviDurationMs(36000000, 1000, 1000));
}

TEST_F(VideoLibraryTest, EachOrderTurnsRoundOnTheSecondClick)
{
    ScanVideoFolder(folder_);
    std::vector<std::string> newestFirst;
    for (const sample::File& f : sample::kFiles) newestFirst.push_back(f.name);
    EXPECT_EQ(newestFirst, Names(g_aviFileList.Items()));

    auto sorted = [](bool ascending, double AviFileItem::*key) {
        std::vector<AviFileItem> items = g_aviFileList.Items();
        return std::is_sorted(items.begin(), items.end(),
                              [&](const AviFileItem& a, const AviFileItem& b) {
                                  return ascending ? a.*key < b.*key : a.*key > b.*key;
                              });
    };
    g_aviFileList.ToggleSort(AviSortKey::Size);
    EXPECT_TRUE(sorted(true, &AviFileItem::size)) << "the first click: smallest first";
    EXPECT_EQ("readme.txt", g_aviFileList.Items().front().name);
    g_aviFileList.ToggleSort(AviSortKey::Size);
    EXPECT_TRUE(sorted(false, &AviFileItem::size));
    EXPECT_EQ("clip30.avi", g_aviFileList.Items().front().name);

    g_aviFileList.ToggleSort(AviSortKey::Duration);
    EXPECT_TRUE(sorted(true, &AviFileItem::duration));
    g_aviFileList.ToggleSort(AviSortKey::Duration);
    EXPECT_TRUE(sorted(false, &AviFileItem::duration));
    // Equal lengths keep the order they had: the ten-second videos, newest
    // first.
    std::vector<std::string> longest = Names(g_aviFileList.Items());
    longest.resize(4);
    EXPECT_EQ((std::vector<std::string>{"clip30.avi", "a.b.avi", "clip.AVI", "clip25.avi"}),
              longest);

    g_aviFileList.ToggleSort(AviSortKey::Time);
    std::vector<std::string> oldestFirst(newestFirst.rbegin(), newestFirst.rend());
    EXPECT_EQ(oldestFirst, Names(g_aviFileList.Items()));
    // A rescan keeps the order the user chose.
    ScanVideoFolder(folder_);
    EXPECT_EQ(oldestFirst, Names(g_aviFileList.Items()));
    g_aviFileList.ToggleSort(AviSortKey::Time);
    EXPECT_EQ(newestFirst, Names(g_aviFileList.Items()));
}

TEST_F(VideoLibraryTest, DeleteRemovesThePathItWasGivenHoweverTheListMovedMeanwhile)
{
    ListStandIn list;
    SetVideoListWindow(list.hwnd);
    ScanVideoFolder(folder_);
    // The user picks the third row...
    const std::string chosen = g_aviFileList.Items()[2].path;
    // ...and a recording is saved before the delete starts: every row moves.
    testkit::WriteFile(Path("new.avi"), "x");
    ScanVideoFolder(folder_);
    ASSERT_NE(chosen, g_aviFileList.Items()[2].path);

    ASSERT_TRUE(StartVideoFileDelete(chosen));
    ASSERT_TRUE(testkit::PumpUntil([&] { return !list.removed.empty(); }));
    EXPECT_EQ(0u, list.removed[0].first);
    EXPECT_EQ(chosen, list.removed[0].second);
    EXPECT_FALSE(testkit::FileExists(chosen));
    EXPECT_FALSE(g_aviFileList.Find(chosen, nullptr));
    EXPECT_EQ((size_t)sample::kFileCount, sample::FilesIn(folder_).size())
        << "every other file is still there";

    // A file another program holds stays, with its record, and the list
    // hears why.
    const std::string held = Path("clip25.avi");
    HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    ASSERT_TRUE(StartVideoFileDelete(held));
    ASSERT_TRUE(testkit::PumpUntil([&] { return list.removed.size() == 2; }));
    CloseHandle(h);
    EXPECT_NE(0u, list.removed[1].first);
    EXPECT_TRUE(testkit::FileExists(held));
    EXPECT_TRUE(g_aviFileList.Find(held, nullptr));
}

TEST_F(VideoLibraryTest, TheWatcherReloadsWhenTheFolderChangesAndOnlyThen)
{
    // What the scan leaves out (a hidden folder) must not look like a
    // change at every look.
    const std::string hidden = Path("hidden dir");
    ASSERT_TRUE(CreateDirectoryA(hidden.c_str(), nullptr));
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    ListStandIn list;
    SetVideoListWindow(list.hwnd);
    StartVideoListLoader();
    ASSERT_TRUE(testkit::PumpUntil([&] { return list.reloads == 1; }));
    EXPECT_TRUE(g_aviFileList.loaded);
    StartVideoFolderWatcher();
    testkit::Pump(1600);
    EXPECT_EQ(1, list.reloads) << "nothing changed";

    DWORD added = GetTickCount();
    testkit::WriteFile(Path("new.png"), "x");
    ASSERT_TRUE(testkit::PumpUntil([&] { return list.reloads == 2; }, 3000));
    EXPECT_LT(GetTickCount() - added, 1000u);
    EXPECT_TRUE(g_aviFileList.Find(Path("new.png"), nullptr));

    // A file that grows (a recording being saved) is read again.
    testkit::WriteFile(Path("new.png"), "xyz");
    ASSERT_TRUE(testkit::PumpUntil([&] { return list.reloads == 3; }, 3000));

    // A hidden list is not kept up to date until it shows again.
    ShowWindow(list.hwnd, SW_HIDE);
    DeleteFileA(Path("new.png").c_str());
    testkit::Pump(1200);
    EXPECT_EQ(3, list.reloads);
    ShowWindow(list.hwnd, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(testkit::PumpUntil([&] { return list.reloads == 4; }, 3000));
    EXPECT_FALSE(g_aviFileList.Find(Path("new.png"), nullptr));

    // Another save folder is read as soon as it is chosen.
    const std::string other = testkit::MakeTempDir("other");
    testkit::WriteFile(other + "\\only.txt", "x");
    SetVideoSaveFolder(other);
    RequestVideoListReload();
    ASSERT_TRUE(testkit::PumpUntil([&] { return list.reloads == 5; }, 3000));
    EXPECT_EQ((std::vector<std::string>{"only.txt"}), Names(g_aviFileList.Items()));
}

TEST(VideoListTexts, ShowSizeLengthDateAndKind)
{
    EXPECT_EQ("1.50Mb", FormatSizeText(1.5));
    EXPECT_EQ("01:02:05", FormatDurationText(3725000));
    EXPECT_EQ("100:00:00", FormatDurationText(360000000.0)) << "the hours do not wrap";
    SYSTEMTIME t = {};
    t.wYear = 2024;
    t.wMonth = 2;
    t.wDay = 3;
    t.wHour = 9;
    t.wMinute = 5;
    EXPECT_EQ("2024/2/3 9:05", FormatDateText(t));

    // The date is the computer's local time of the file's moment, whatever
    // day that falls on.
    SYSTEMTIME utc = {2024, 12, 2, 31, 23, 30, 0, 0};
    FILETIME ft, local;
    SystemTimeToFileTime(&utc, &ft);
    FileTimeToLocalFileTime(&ft, &local);
    SYSTEMTIME expected;
    FileTimeToSystemTime(&local, &expected);
    AviFileItem item;
    item.modified = ft;
    item.kind = kAviKindOther;
    item.type = "mp4";
    VideoListRowTexts row = MakeRowTexts(item);
    EXPECT_EQ(FormatDateText(expected), row.date);
    EXPECT_EQ("mp4", row.type);
}

TEST(DropFiles, IsTheClipboardsFileDropOfThePath)
{
    std::vector<unsigned char> block = BuildDropFiles({"C:\\v\\a.avi"});
    ASSERT_EQ(64u, block.size());
    const DWORD header[5] = {20, 0, 0, 0, 0};
    EXPECT_EQ(0, memcmp(block.data(), header, sizeof header));
    EXPECT_EQ(0, memcmp(&block[20], "C:\\v\\a.avi\0\0", 12));
    EXPECT_TRUE(std::all_of(block.begin() + 32, block.end(), [](unsigned char c) { return c == 0; }));

    // The shell reads the block back as the same file.
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, block.size());
    memcpy(GlobalLock(h), block.data(), block.size());
    GlobalUnlock(h);
    char path[MAX_PATH] = {};
    EXPECT_EQ(1u, DragQueryFileA((HDROP)h, 0xFFFFFFFF, nullptr, 0));
    DragQueryFileA((HDROP)h, 0, path, MAX_PATH);
    EXPECT_STREQ("C:\\v\\a.avi", path);
    GlobalFree(h);
}

TEST(CompanionPlayer, GetsItsOwnPathAndTheFileAsTwoArguments)
{
    const std::string line =
        PlayerCommandLine("C:\\Program Files\\Orbisk\\VintraPlayer.exe", "D:\\录像 一\\a b.avi");
    int n = 0;
    std::wstring wide(line.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, line.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    LPWSTR* argv = CommandLineToArgvW(wide.c_str(), &n);
    ASSERT_EQ(2, n);
    EXPECT_STREQ(L"C:\\Program Files\\Orbisk\\VintraPlayer.exe", argv[0]);
    EXPECT_STREQ(L"D:\\录像 一\\a b.avi", argv[1]);
    LocalFree(argv);
    EXPECT_EQ("/select,\"D:\\录像 一\\a b.avi\"", ExplorerSelectParameters("D:\\录像 一\\a b.avi"));
}

}  // namespace
