// The window kit on the screen, in this process (this thread is the UI
// thread): a sample window on the base, a sample popup with its shadow, the
// system dialogs' seam and the rectangle the library leaves to a video.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "UiProbe.h"
#include "kit/Dialogs.h"
#include "kit/FolderDialog.h"
#include "kit/PopupWindow.h"
#include "kit/ShadowWnd.h"
#include "kit/SkinWindow.h"
#include "kit/WindowTable.h"

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace {

bool TranslateUi(MSG* msg)
{
    return DuiLib::CPaintManagerUI::TranslateMessage(msg);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000)
{
    return testkit::PumpUntil(done, ms, TranslateUi);
}

void Pump(DWORD ms)
{
    testkit::Pump(ms, TranslateUi);
}

DuiLib::CDuiString TestSkin()
{
    return "kit_tile.png";
}

class KitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
        DuiLib::WindowImplBase::SetSkinBackgroundHook(TestSkin);
    }
    void TearDown() override
    {
        GetWindowTable().Clear();
        ClearDialogAnswers();
    }
};

// A window of a module, as thin as the kit lets it be.
class SampleWindow : public SkinWindow {
public:
    explicit SampleWindow(bool* ended) : SkinWindow({"kit_sample.xml"}), ended_(ended) {}
    DuiLib::CButtonUI* ok = nullptr;
    DuiLib::CButtonUI* missing = nullptr;
    DuiLib::CButtonUI* wrongKind = nullptr;
    std::vector<std::string> notes;

protected:
    LPCSTR GetWindowClassName() const override { return "KitSampleWindow"; }
    void OnWindowInit() override
    {
        ok = Find<DuiLib::CButtonUI>("ok_btn");
        missing = Find<DuiLib::CButtonUI>("no_such_btn");
        wrongKind = Find<DuiLib::CButtonUI>("status");
        Find<DuiLib::CButtonUI>("no_such_btn");  // reported once only
    }
    void OnNotify(DuiLib::TNotifyUI& msg) override
    {
        // What a popup chose arrives here, by the item's name.
        if (msg.sType == "item_delete" || msg.sType == "item_open")
            notes.push_back(std::string(msg.sType.Str()) +
                            (msg.pSender ? " from " + std::string(msg.pSender->GetName().Str())
                                         : " from nobody"));
        SkinWindow::OnNotify(msg);
    }
    void OnEnded() override { *ended_ = true; }

private:
    bool* ended_;
};

TEST_F(KitTest, AWindowOnTheBaseWearsTheSkinReportsAMissingControlAndEndsItself)
{
    std::vector<std::string> errors;
    static std::vector<std::string>* sink = &errors;
    DuiLib::SetUiLogSink([](LPCSTR message) { sink->push_back(message); });
    bool ended = false;
    GetWindowTable().Register(WindowId::Caption, {[&](const WindowRequest& r) -> DuiLib::CWindowWnd* {
                                  auto* w = new SampleWindow(&ended);
                                  w->Create(nullptr, "样例", WS_POPUP | WS_VISIBLE,
                                            WS_EX_TOOLWINDOW, r.at.x, r.at.y, 0, 0);
                                  return w;
                              }});
    WindowRequest request;
    request.at = {40, 50};
    auto* w = static_cast<SampleWindow*>(GetWindowTable().Open(WindowId::Caption, request));
    ASSERT_NE(nullptr, w);
    HWND h = w->GetHWND();
    ASSERT_TRUE(PumpUntil([&] { return w->ok != nullptr; }));

    // The frame: the program icon, the layout's size, the skin on the root.
    RECT rc;
    GetWindowRect(h, &rc);
    EXPECT_EQ(300, rc.right - rc.left);
    EXPECT_EQ(200, rc.bottom - rc.top);
    EXPECT_EQ(40, rc.left);
    EXPECT_NE(nullptr, (HICON)SendMessageA(h, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(DuiLib::WindowImplBase::TiledSkinImage("kit_tile.png"),
              w->Find("root_layout")->GetBkImage());
    w->ApplySkinBackgroundFile("other.png");
    EXPECT_EQ(DuiLib::WindowImplBase::TiledSkinImage("other.png"),
              w->Find("root_layout")->GetBkImage());

    // A control the layout lacks, or of another kind: null, named once.
    EXPECT_EQ(nullptr, w->missing);
    EXPECT_EQ(nullptr, w->wrongKind);
    int named = 0;
    for (const std::string& e : errors)
        if (e.find("no_such_btn") != std::string::npos && e.find("kit_sample.xml") != std::string::npos)
            ++named;
    EXPECT_EQ(1, named);
    std::vector<std::string> missing = SkinWindow::MissingControls();
    EXPECT_NE(missing.end(), std::find(missing.begin(), missing.end(), "KitSampleWindow: status"));
    DuiLib::SetUiLogSink(nullptr);
    testkit::SaveWindowScreenshot(h, "kit_sample_window");

    // Its close button ends it: the object goes, and the table lets it go.
    EXPECT_EQ(w, GetWindowTable().Current(WindowId::Caption));
    testkit::UiProbe probe;
    ASSERT_TRUE(probe.Click(h, "closebtn"));
    ASSERT_TRUE(PumpUntil([&] { return ended; }));
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(nullptr, GetWindowTable().Current(WindowId::Caption));
}

class SamplePopup : public PopupWindow {
public:
    SamplePopup()
        : PopupWindow({"kit_popup.xml", /*shadow=*/true, {6, 6},
                       "file='kit_shadow.png' corner='8,8,8,8'", 8})
    {
    }
};

TEST_F(KitTest, APopupOpensAtAPointWithItsShadowAndTellsItsOwnerWhatWasChosen)
{
    bool ended = false;
    auto* owner = new SampleWindow(&ended);
    ASSERT_TRUE(owner->Create(nullptr, "样例", WS_POPUP | WS_VISIBLE, 0, 300, 300, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return owner->ok != nullptr; }));

    // Opened at a point, above its shadow, with round corners.
    auto* popup = new SamplePopup;
    ASSERT_TRUE(popup->Open(owner->GetHWND(), "ok_btn", {100, 120}));
    HWND p = popup->GetHWND();
    RECT rc;
    GetWindowRect(p, &rc);
    EXPECT_EQ(100, rc.left);
    EXPECT_EQ(120, rc.top);
    EXPECT_EQ(120, rc.right - rc.left);
    EXPECT_EQ(84, rc.bottom - rc.top);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, GetWindowRgn(p, rgn)) << "round corners cut the window";
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, 60, 40));
    DeleteObject(rgn);
    CShadowWnd* shadow = popup->Shadow();
    ASSERT_NE(nullptr, shadow);
    HWND s = shadow->GetHWND();
    RECT shadowRect;
    GetWindowRect(s, &shadowRect);
    EXPECT_EQ(92, shadowRect.left);
    EXPECT_EQ(136, shadowRect.right - shadowRect.left);
    EXPECT_TRUE(GetWindowLongA(s, GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_TRUE(PumpUntil([&] { return !shadow->LastSurface().empty(); }));
    EXPECT_EQ(136, shadow->LastSurfaceSize().cx);
    // Its picture: see-through at the very edge, half dark inside.
    EXPECT_LT(shadow->LastSurface()[0] >> 24, 0x20u);
    EXPECT_EQ(0x80u, shadow->LastSurface()[50 * 136 + 68] >> 24);
    // Painted whole once shown, though it was made without a size.
    Pump(200);
    HDC dc = GetDC(p);
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 100, 70)) << "the list's white, not nothing";
    ReleaseDC(p, dc);
    testkit::SaveWindowScreenshot(p, "kit_sample_popup");

    // The owner's button goes away before the choice arrives: the owner
    // still hears the item, from nobody, and nothing crashes.
    static_cast<DuiLib::CContainerUI*>(owner->ok->GetParent())->Remove(owner->ok);
    owner->ok = nullptr;
    testkit::UiProbe probe;
    ASSERT_TRUE(probe.Click(p, "item_delete"));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(p); }));
    EXPECT_FALSE(IsWindow(s)) << "the shadow goes with it";
    ASSERT_TRUE(PumpUntil([&] { return !owner->notes.empty(); }));
    EXPECT_EQ((std::vector<std::string>{"item_delete from nobody"}), owner->notes);

    // A second popup from a control that is still there names it; a click
    // elsewhere (the focus leaving) closes it without a choice.
    auto* second = new SamplePopup;
    ASSERT_TRUE(second->Open(owner->GetHWND(), "status", {100, 120}));
    HWND p2 = second->GetHWND();
    Pump(200);
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 600, 100, 50, 50,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    SetFocus(other);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(p2); })) << "focus left the popup";
    Pump(200);
    EXPECT_EQ(1u, owner->notes.size()) << "nothing chosen";
    DestroyWindow(other);

    auto* third = new SamplePopup;
    ASSERT_TRUE(third->Open(owner->GetHWND(), "status", {100, 120}));
    HWND p3 = third->GetHWND();
    ASSERT_TRUE(probe.Click(p3, "item_open"));
    ASSERT_TRUE(PumpUntil([&] { return owner->notes.size() == 2; }));
    EXPECT_EQ("item_open from status", owner->notes[1]);

    owner->Close();
    ASSERT_TRUE(PumpUntil([&] { return ended; }));
}

TEST_F(KitTest, TheDialogsTakeTheAnswersATestGivesAndOtherwiseShowThemselves)
{
    DialogAnswer colour{DialogKind::Color};
    colour.color = RGB(10, 20, 30);
    QueueDialogAnswer(colour);
    DialogAnswer font{DialogKind::Font};
    strcpy(font.font.lfFaceName, "宋体");
    font.font.lfHeight = -16;
    font.color = RGB(255, 0, 0);
    QueueDialogAnswer(font);
    DialogAnswer open{DialogKind::OpenFile};
    open.path = "C:\\图片\\水印.png";
    QueueDialogAnswer(open);
    DialogAnswer folder{DialogKind::Folder};
    folder.path = "D:\\录像";
    QueueDialogAnswer(folder);
    DialogAnswer cancelled{DialogKind::Folder};
    cancelled.ok = false;
    QueueDialogAnswer(cancelled);
    DialogAnswer yes{DialogKind::Question};
    yes.choice = 2;
    QueueDialogAnswer(yes);
    const int shownBefore = ShownDialogCount();

    COLORREF c = RGB(1, 2, 3);
    EXPECT_TRUE(AskColor(nullptr, &c));
    EXPECT_EQ(RGB(10, 20, 30), c);
    LOGFONTA lf = {};
    COLORREF textColour = 0;
    EXPECT_TRUE(AskFont(nullptr, &lf, &textColour));
    EXPECT_STREQ("宋体", lf.lfFaceName);
    EXPECT_EQ(-16, lf.lfHeight);
    EXPECT_EQ(RGB(255, 0, 0), textColour);
    std::string path = "unchanged";
    EXPECT_TRUE(AskOpenFile(nullptr, "图片\0*.png\0\0", &path));
    EXPECT_EQ("C:\\图片\\水印.png", path);
    std::string chosen = "E:\\before";
    EXPECT_TRUE(AskFolder(nullptr, chosen, &chosen));
    EXPECT_EQ("D:\\录像", chosen);
    EXPECT_FALSE(AskFolder(nullptr, chosen, &chosen)) << "a cancel is a cancel";
    EXPECT_EQ("D:\\录像", chosen);
    EXPECT_EQ(2, AskQuestion(nullptr, "提示", "是否继续？", "", "否", "是"));
    EXPECT_EQ(3, AskQuestion(nullptr, "提示", "是否继续？", "", "否", "是"))
        << "no box in this test program: closed";
    EXPECT_EQ(shownBefore + 1, ShownDialogCount()) << "only that one went to a box";

    // Without an answer the real dialogs open: found on the screen and
    // cancelled as a user would.
    auto cancelWhenShown = [] {
        HWND box = testkit::WaitForWindow("#32770", nullptr, 15000, GetCurrentProcessId());
        EXPECT_NE(nullptr, box) << "a system dialog showed";
        if (box) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    };
    std::thread user(cancelWhenShown);
    COLORREF kept = RGB(7, 8, 9);
    EXPECT_FALSE(AskColor(nullptr, &kept));
    user.join();
    EXPECT_EQ(RGB(7, 8, 9), kept);
    std::thread user2(cancelWhenShown);
    EXPECT_FALSE(AskFolder(nullptr, "C:\\windows", &chosen));
    user2.join();
    EXPECT_EQ(shownBefore + 3, ShownDialogCount());
}

TEST(FolderDialog, TheStatusLineShowsAtMost35Characters)
{
    const std::string exact(35, 'a');
    EXPECT_EQ(exact, CFolderDialog::ShortenPath(exact));
    EXPECT_EQ(exact + "...", CFolderDialog::ShortenPath(exact + "b"));
    EXPECT_EQ("", CFolderDialog::ShortenPath(""));
    // A Chinese character across the 35th byte is left out whole.
    const std::string head(34, 'a');
    EXPECT_EQ(head + "...", CFolderDialog::ShortenPath(head + "录像"));
}

TEST(PopupPlacement, APopupStaysInsideTheWorkArea)
{
    const RECT work = {0, 0, 1280, 770};
    const SIZE menu = {180, 148};
    auto at = [](POINT p) { return std::make_pair(p.x, p.y); };
    EXPECT_EQ(std::make_pair(100L, 100L), at(PopupWindow::KeepInWorkArea({100, 100}, menu, work)));
    EXPECT_EQ(std::make_pair(100L, 622L), at(PopupWindow::KeepInWorkArea({100, 700}, menu, work)))
        << "up, to end at the bottom edge";
    EXPECT_EQ(std::make_pair(1100L, 100L), at(PopupWindow::KeepInWorkArea({1200, 100}, menu, work)));
    EXPECT_EQ(std::make_pair(100L, 0L), at(PopupWindow::KeepInWorkArea({100, 50}, {180, 900}, work)))
        << "taller than the area: from its top";
    const RECT second = {1280, 0, 2560, 1024};
    EXPECT_EQ(std::make_pair(2380L, 876L), at(PopupWindow::KeepInWorkArea({2500, 1000}, menu, second)));
}

TEST_F(KitTest, TheVideoRectangleKeepsWhatAnotherWindowDrewThroughRepaints)
{
    bool ended = false;
    auto* w = new SampleWindow(&ended);
    ASSERT_TRUE(w->Create(nullptr, "样例", WS_POPUP | WS_VISIBLE, 0, 20, 20, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return w->ok != nullptr; }));
    HWND h = w->GetHWND();
    Pump(200);
    RECT video = w->Find("video_area")->GetPos();
    ASSERT_FALSE(IsRectEmpty(&video));
    const POINT inside = {(video.left + video.right) / 2, (video.top + video.bottom) / 2};

    // What a renderer does: paint into the window from its own thread.
    auto render = [&] {
        std::thread renderer([&] {
            HDC dc = GetDC(h);
            HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
            FillRect(dc, &video, red);
            DeleteObject(red);
            ReleaseDC(h, dc);
        });
        renderer.join();
    };
    auto pixelAt = [&](POINT pt) {
        HDC dc = GetDC(h);
        COLORREF c = GetPixel(dc, pt.x, pt.y);
        ReleaseDC(h, dc);
        return c;
    };
    auto repaint = [&] {
        w->GetPaintManager().NeedUpdate();
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(100);
    };

    // Without the rectangle a repaint paints over the picture...
    render();
    EXPECT_EQ(RGB(255, 0, 0), pixelAt(inside));
    repaint();
    EXPECT_EQ(RGB(0, 255, 0), pixelAt(inside)) << "the layout's own colour";

    // ...with it the picture stays, and the rest is still painted.
    w->GetPaintManager().SetUnpaintedRect(video);
    render();
    for (int i = 0; i < 3; ++i) repaint();
    EXPECT_EQ(RGB(255, 0, 0), pixelAt(inside));
    EXPECT_EQ(RGB(40, 120, 200), pixelAt({video.left + 5, video.bottom + 15})) << "the skin";
    EXPECT_EQ(RGB(0x30, 0x38, 0x40), pixelAt({150, 5})) << "the title row";

    // Given back, the library paints it again.
    w->GetPaintManager().SetUnpaintedRect({0, 0, 0, 0});
    repaint();
    EXPECT_EQ(RGB(0, 255, 0), pixelAt(inside));
    w->Close();
    ASSERT_TRUE(PumpUntil([&] { return ended; }));
}

}  // namespace
