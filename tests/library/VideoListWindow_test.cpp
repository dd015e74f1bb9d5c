// The video list window in this process (this thread is its UI thread),
// handing files to the windows of later modules: an editor and a main
// window of the test's own stand behind the window table and the main
// window's interface.
#include <gtest/gtest.h>

#include "SampleFolder.h"
#include "TestKit.h"
#include "UiProbe.h"
#include "core/AppPaths.h"
#include "kit/MainWindow.h"
#include "kit/WindowTable.h"
#include "library/AviFileList.h"
#include "library/EditorFile.h"
#include "library/VideoListThreads.h"
#include "library/windows/AviListWnd.h"
#include "library/windows/LibraryModule.h"

#include <algorithm>

namespace {

bool TranslateUi(MSG* msg)
{
    return DuiLib::CPaintManagerUI::TranslateMessage(msg);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000)
{
    return testkit::PumpUntil(done, ms, TranslateUi);
}

// The editor of a later module: it notes the file it opened on and
// whether it let itself be closed.
class StandInEditor : public DuiLib::CWindowWnd {
public:
    StandInEditor() : file(g_strEditCurrentFile)
    {
        Create(nullptr, "editor", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 0, 0, 100, 100);
    }
    std::string file;

protected:
    LPCSTR GetWindowClassName() const override { return "StandInEditor"; }
    void OnFinalMessage(HWND) override
    {
        GetWindowTable().Forget(this);
        delete this;
    }
};

class StandInMain : public MainWindow {
public:
    HWND Handle() const override { return nullptr; }
    void OpenRegionPicker() override {}
    void ConfirmRecordModeChange() override {}
    void OpenFormatConvertWindow(const POINT* at, const std::string& file) override
    {
        convertAt = at ? *at : POINT{-1, -1};
        convertFile = file;
    }
    void ToggleRealtimeGraffiti(int, const RECT&) override {}
    void ShowFlashWnd(const RECT&) override {}
    void ShowSmallTipWindow() override {}
    void ShowAboutSoftWnd() override {}
    DuiLib::CDuiString GetSkinBackgroundFile() const override { return "mainui_back.png"; }
    void SetSkinBackgroundFile(const DuiLib::CDuiString&) override {}
    void ApplySkinToWindows(const DuiLib::CDuiString&) override {}
    void SetCoverText(const std::string&) override {}
    void ShowCover(bool) override {}
    void ShowTip(const std::string&, int) override {}
    unsigned GetAutoStopAction() const override { return 0; }
    void SetAutoStopAction(unsigned) override {}

    POINT convertAt = {0, 0};
    std::string convertFile;
};

class VideoListWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
        SetMainWindow(&main_);
        folder_ = testkit::MakeTempDir("listwnd");
        ASSERT_TRUE(sample::Fill(folder_));
        SetVideoSaveFolder(folder_);
        ResetVideoListWorkers();
        ScanVideoFolder(folder_);
        g_aviFileList.loaded = true;

        WindowTable& table = GetWindowTable();
        LibraryModule().registerWindows(table);
        WindowEntry editor;
        editor.open = [this](const WindowRequest&) -> DuiLib::CWindowWnd* {
            auto* e = new StandInEditor;
            editors_.push_back(e->file);
            return e;
        };
        editor.mayClose = [this](DuiLib::CWindowWnd&) { return editorMayClose_; };
        table.Register(WindowId::VideoEditor, editor);

        WindowRequest request;
        request.at = {80, 60};
        ASSERT_NE(nullptr, table.Open(WindowId::VideoList, request));
        list_ = g_pAviListWnd->GetHWND();
        ASSERT_TRUE(PumpUntil([] { return g_pAviListWnd->RowPaths().size() == sample::kFileCount; }));
    }

    void TearDown() override
    {
        GetWindowTable().CloseAll();
        PumpUntil([] { return !g_pAviListWnd && !FindWindowA("StandInEditor", nullptr); });
        GetWindowTable().Clear();
        ResetVideoListWorkers();
        SetMainWindow(nullptr);
        g_strEditCurrentFile.clear();
    }

    // Chooses a menu item for the row of the named file, as a user does.
    void Choose(const char* file, const char* item)
    {
        std::vector<std::string> rows = g_pAviListWnd->RowPaths();
        int row = (int)(std::find(rows.begin(), rows.end(), folder_ + "\\" + file) - rows.begin());
        ASSERT_LT(row, (int)rows.size()) << file;
        // Selected first, which scrolls it into view.
        ASSERT_TRUE(probe_.Select(list_, "playlist", row));
        testkit::Pump(100, TranslateUi);
        ASSERT_TRUE(probe_.RightClick(list_, "playlist#" + std::to_string(row)));
        HWND menu = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (menu = FindWindowA("MenuWnd", nullptr)) != nullptr; }));
        ASSERT_TRUE(probe_.Click(menu, item));
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(menu); }));
        testkit::Pump(200, TranslateUi);
    }

    std::string Path(const char* name) const { return folder_ + "\\" + name; }

    StandInMain main_;
    std::string folder_;
    HWND list_ = nullptr;
    std::vector<std::string> editors_;
    bool editorMayClose_ = false;
    testkit::UiProbe probe_;
};

TEST_F(VideoListWindowTest, EditingHandsTheVideoToTheEditorWithoutTakingAnOpenOnesFileAway)
{
    Choose("clip25.avi", "edit_video");
    ASSERT_EQ(std::vector<std::string>{Path("clip25.avi")}, editors_);
    EXPECT_FALSE(IsWindowVisible(list_)) << "the list makes way for the editor";

    // An editor with work of its own refuses to close: it keeps its file.
    ShowWindow(list_, SW_SHOW);
    Choose("clip30.avi", "edit_video");
    EXPECT_EQ(1u, editors_.size());
    EXPECT_EQ(Path("clip25.avi"), g_strEditCurrentFile);
    EXPECT_TRUE(IsWindowVisible(list_));

    // One that may close gives way to a new editor on the new file.
    editorMayClose_ = true;
    Choose("clip30.avi", "edit_video");
    ASSERT_EQ(2u, editors_.size());
    EXPECT_EQ(Path("clip30.avi"), editors_[1]);
    EXPECT_TRUE(PumpUntil([] {
        int n = 0;
        for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, "StandInEditor", nullptr));) ++n;
        return n == 1;
    })) << "the first editor closed";

    // Only AVI recordings are edited.
    ShowWindow(list_, SW_SHOW);
    Choose("shot.png", "edit_video");
    EXPECT_EQ(2u, editors_.size());
}

TEST_F(VideoListWindowTest, ConversionGetsTheFileAndTheListsCorner)
{
    Choose("shot.png", "convert_video");
    POINT origin = {0, 0};
    ClientToScreen(list_, &origin);
    EXPECT_EQ(Path("shot.png"), main_.convertFile);
    EXPECT_EQ(origin.x, main_.convertAt.x);
    EXPECT_EQ(origin.y, main_.convertAt.y);
}

}  // namespace
