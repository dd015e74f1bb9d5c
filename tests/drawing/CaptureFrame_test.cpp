// The capture frame in this process (this thread is its UI thread), driven
// with the real mouse and keyboard over a test window of known pixels: the
// hover snapping to the live window, a click and a drag choosing, the box
// moving the selection, the right button dropping it and Escape closing.
#include <gtest/gtest.h>

#include "MouseInput.h"
#include "ScreenWindow.h"
#include "TestKit.h"
#include "drawing/BitmapHelpers.h"
#include "drawing/windows/ShotCanvasContainer.h"

#include <functional>
#include <string>

namespace {

using testkit::Pump;
using testkit::PumpUntil;
using testkit::ScreenWindow;

// The frame's keys go through its manager's filters, as in the program's
// message loop.
void Settle(DWORD ms)
{
    Pump(ms, &DuiLib::CPaintManagerUI::TranslateMessage);
}
bool Until(const std::function<bool()>& done)
{
    return PumpUntil(done, 3000, &DuiLib::CPaintManagerUI::TranslateMessage);
}

struct Counts {
    int made = 0;
    int confirms = 0;
    int companionsClosed = 0;
    bool gone = false;
};
Counts g_counts;

// A member as small as one can be: the screenshot layout, and counters for
// what the frame asks of it.
class TestFrame : public CCaptureFrameWnd {
protected:
    DuiLib::CDuiString GetSkinFile() const override { return "ScrShot.xml"; }
    DuiLib::IDialogBuilderCallback* GetBuilderCallback() override { return &m_callback; }
    void AppendMenuItems(HMENU menu) override
    {
        ::AppendMenuA(menu, MF_STRING, kCmdClose, "退出");
        ::AppendMenuA(menu, MF_STRING, kCmdPickAgain, "重新选择");
    }
    void OnConfirm() override { ++g_counts.confirms; }
    void OnSelectionMade() override { ++g_counts.made; }
    void CloseCompanionWindows() override { ++g_counts.companionsClosed; }
    bool KeepsDesktopBitmap() const override { return true; }
    void OnFrameDestroyed() override { g_counts.gone = true; }

private:
    CDialogBuilderCallbackEx m_callback{this};
};

std::string Text(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) +
           "," + std::to_string(rc.bottom);
}

RECT Deflated(RECT rc, int by)
{
    InflateRect(&rc, -by, -by);
    return rc;
}

class CaptureFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
    }
    void SetUp() override
    {
        g_counts = Counts();
        frame_ = new TestFrame;
        ASSERT_NE(nullptr, frame_->Create(nullptr, "", WS_POPUP | WS_VISIBLE, 0));
        hwnd_ = frame_->GetHWND();
        frame_->ShowWindow(true);
        Settle(300);
    }
    void TearDown() override
    {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
        Settle(100);
    }

    DuiLib::CControlUI* Control(const char* name)
    {
        return frame_->GetPaintManager().FindControl(name);
    }
    RECT BorderPos() { return Control("desktopmaskborder")->GetPos(); }
    bool Picking()
    {
        return Control("desktopmaskborder")->IsVisible() &&
               !Control("desktopcanvascontainer")->IsVisible();
    }

    testkit::MouseInput input_{&Settle};
    TestFrame* frame_ = nullptr;
    HWND hwnd_ = nullptr;
};

TEST_F(CaptureFrameTest, HoverClickDragAndMoveChooseTheSelectionOverTheFrozenDesktop)
{
    const RECT place = {400, 300, 640, 460};
    ScreenWindow pattern(ScreenWindow::Picture::Pattern, place);
    // The picture was taken before the window came: a fresh frame sees it.
    DestroyWindow(hwnd_);
    Settle(100);
    SetUp();

    // Hovering snaps the hole to the live window under the cursor.
    input_.Move({500, 380});
    input_.Move({502, 382});
    ASSERT_TRUE(Until([&] { return Text(BorderPos()) == Text(place); })) << Text(BorderPos());
    EXPECT_TRUE(Picking());
    EXPECT_FALSE(frame_->IsSelected());

    // A click without dragging takes that window's rectangle.
    input_.Click({502, 382});
    ASSERT_TRUE(Until([&] { return frame_->IsSelected(); }));
    EXPECT_EQ(1, g_counts.made);
    EXPECT_EQ(Text(place), Text(frame_->GetSelectionRect()));
    EXPECT_EQ(Text(Deflated(place, 2)), Text(frame_->GetCanvasRect()));
    EXPECT_TRUE(Control("desktopcanvascontainer")->IsVisible());
    EXPECT_EQ(Text(Deflated(Control("desktopcanvascontainer")->GetPos(), 2)), Text(place));
    // The kept picture is the desktop as it was: the window's pattern there.
    HBITMAP crop = CropBitmap(frame_->GetDesktopBitmap(), 410, 310, 630, 450);
    ASSERT_NE(nullptr, crop);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, crop);
    int wrong = 0;
    for (int y = 0; y < 140; y += 7)
        for (int x = 0; x < 220; x += 7) {
            COLORREF c = GetPixel(dc, x, y);
            unsigned rgb = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
            if (rgb != ScreenWindow::PatternAt(x + 10, y + 10)) ++wrong;
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(crop);
    EXPECT_EQ(0, wrong);

    // Moved by the middle far past the left edge: that axis stops flush
    // against it, the other still moves.
    input_.Drag({520, 380}, {-80, 430}, 6);
    EXPECT_TRUE(Until([&] {
        return Text(frame_->GetSelectionRect()) == Text({0, 350, 240, 510});
    })) << Text(frame_->GetSelectionRect());

    // A right click outside drops the selection; the hover is back at once.
    const int closedBefore = g_counts.companionsClosed;
    input_.RightClick({600, 420});
    EXPECT_TRUE(Until([&] { return !frame_->IsSelected(); }));
    EXPECT_TRUE(Picking());
    EXPECT_EQ(closedBefore + 1, g_counts.companionsClosed);
    EXPECT_TRUE(Until([&] { return Text(BorderPos()) == Text(place); }));

    // A drag spans a rectangle.
    input_.Drag({300, 200}, {100, 100});
    EXPECT_TRUE(Until([&] { return frame_->IsSelected(); }));
    EXPECT_EQ(Text({100, 100, 300, 200}), Text(frame_->GetSelectionRect()));
    EXPECT_EQ(Text({102, 102, 298, 198}), Text(frame_->GetCanvasRect()));
    EXPECT_EQ(2, g_counts.made);
    testkit::SaveWindowScreenshot(hwnd_, "capture_frame");

    // A double click confirms; Escape closes the frame and its companions.
    input_.DoubleClick({200, 150});
    EXPECT_TRUE(Until([&] { return g_counts.confirms == 1; }));
    const int closedBeforeEscape = g_counts.companionsClosed;
    input_.Key(VK_ESCAPE);
    EXPECT_TRUE(Until([&] { return g_counts.gone; }));
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_EQ(closedBeforeEscape + 1, g_counts.companionsClosed);
}

TEST_F(CaptureFrameTest, RightClickWhilePickingClosesAndTheMenuPicksAgain)
{
    input_.Drag({200, 200}, {400, 300});
    ASSERT_TRUE(Until([&] { return frame_->IsSelected(); }));
    // The menu's "重新选择", as its command arrives.
    frame_->SendMessage(WM_COMMAND, CCaptureFrameWnd::kCmdPickAgain, 0);
    EXPECT_FALSE(frame_->IsSelected());
    EXPECT_TRUE(Picking());
    EXPECT_FALSE(Control("desktopcanvascontainer")->IsEnabled());
    EXPECT_EQ(1, g_counts.companionsClosed);

    input_.RightClick({250, 250});
    EXPECT_TRUE(Until([&] { return g_counts.gone; }));
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_EQ(0, g_counts.confirms);
}

}  // namespace
