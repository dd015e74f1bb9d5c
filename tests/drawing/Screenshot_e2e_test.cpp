// Region screenshots in the real Orbisk.exe under Wine, driven with the
// mouse and the keyboard as a user drives them, over a test window of known
// pixels: the selector opened from the main window, the tool bar and the
// editor, and what lands in the save folder.
#include "MouseInput.h"
#include "ProgramTestFixture.h"
#include "ScreenWindow.h"

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace programtest;

std::string Text(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) +
           "," + std::to_string(rc.bottom);
}

RECT Grown(RECT rc, int by)
{
    InflateRect(&rc, by, by);
    return rc;
}

RECT WindowRect(HWND h)
{
    RECT rc = {};
    GetWindowRect(h, &rc);
    return rc;
}

bool Near(unsigned a, unsigned b, int tolerance)
{
    for (int shift : {0, 8, 16})
        if (abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

// Pixels of `picture` in `area` (picture coordinates) that differ from the
// test pattern, the picture's (0, 0) lying at `origin` of the pattern.
int PatternMismatches(const DecodedImage& picture, const RECT& area, POINT origin)
{
    int wrong = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (picture.At(x, y) != ScreenWindow::PatternAt(x + origin.x, y + origin.y)) ++wrong;
    return wrong;
}

class ScreenshotTest : public ProgramTest {
protected:
    void TearDown() override
    {
        // Whatever a failed check left open goes before the program does.
        if (selector_ && IsWindow(selector_)) PostMessageA(selector_, WM_CLOSE, 0, 0);
        ProgramTest::TearDown();
    }

    // The selector, opened from the main window's button.
    HWND OpenSelector()
    {
        EXPECT_TRUE(probe_.Click(main_, "capture_screen_btn"));
        selector_ = WaitForWindow("UIScrCaptureFrame", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, selector_) << "the selector opened";
        if (selector_)
            probe_.WaitFor(selector_, "desktopimage", [](const UiControl& c) { return c.found; });
        // The frozen picture is taken as the window opens; the first hover
        // must reach a window that has painted.
        Sleep(300);
        return selector_;
    }

    // The selection as the box shows it (it lies 2 pixels outside it), in
    // screen coordinates: the selector covers the screen from its origin.
    RECT Selection() { return Grown(probe_.Query(selector_, "desktopcanvascontainer").pos, -2); }
    // Waits for the input sent so far to have made the selection `want`.
    ::testing::AssertionResult SelectionIs(const std::string& want)
    {
        std::string now;
        if (WaitUntil([&] { return (now = Text(Selection())) == want; }, 3000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "selection " << now << ", not " << want;
    }
    bool Picking()
    {
        return probe_.Query(selector_, "desktopmaskborder").shown &&
               !probe_.Query(selector_, "desktopcanvascontainer").shown;
    }
    HWND Window(const char* cls, DWORD timeoutMs = 5000)
    {
        return WaitForWindow(cls, nullptr, timeoutMs, program_.Id());
    }
    bool AllClosed()
    {
        return WaitUntil(
            [&] {
                return !IsWindow(selector_) && !FindWindowA("ShotScreenToolWnd", nullptr) &&
                       !FindWindowA("CaptureEditWnd", nullptr);
            },
            5000);
    }

    static std::vector<std::string> PicturesIn(const std::string& folder)
    {
        std::vector<std::string> found;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((folder + "\\*.png").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return found;
        do found.push_back(fd.cFileName);
        while (FindNextFileA(h, &fd));
        FindClose(h);
        return found;
    }
    // The one picture saved in the folder, decoded; empty when there is
    // not exactly one or its name is not the time stamp.
    DecodedImage OnePicture(const std::string& folder)
    {
        EXPECT_TRUE(WaitUntil([&] { return PicturesIn(folder).size() == 1; }, 5000));
        std::vector<std::string> names = PicturesIn(folder);
        if (names.size() != 1) return {};
        EXPECT_TRUE(std::regex_match(names[0], std::regex(R"(\d{8}_\d{4}_\d{2}\.png)")))
            << names[0];
        return DecodeImage(folder + "\\" + names[0]);
    }

    MouseInput input_;
    HWND selector_ = nullptr;
};

TEST_F(ScreenshotTest, DraggedRegionDoubleClickedIsSavedAsTheFrozenDesktop)
{
    const std::string save = PrepareRecordingSettings();
    const RECT place = {60, 60, 460, 360};
    ScreenWindow pattern(ScreenWindow::Picture::Pattern, place);
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenSelector());
    EXPECT_TRUE(IsIconic(main_)) << "the main window makes way";

    input_.Drag({100, 100}, {300, 200});
    EXPECT_TRUE(SelectionIs("100,100,300,200"));
    // The bar below the selection, whole on the screen although the
    // selection ends left of its width.
    HWND tool = Window("ShotScreenToolWnd");
    ASSERT_NE(nullptr, tool);
    EXPECT_EQ(Text({0, 202, 362, 237}), Text(WindowRect(tool)));
    SaveWindowScreenshot(selector_, "screenshot_selector");

    input_.DoubleClick({200, 150});
    EXPECT_TRUE(AllClosed());
    DecodedImage picture = OnePicture(save);
    ASSERT_EQ(196, picture.width);
    ASSERT_EQ(96, picture.height);
    EXPECT_EQ(0, PatternMismatches(picture, {0, 0, 196, 96}, {102 - place.left, 102 - place.top}))
        << "the canvas of the frozen desktop, unveiled";
    EXPECT_TRUE(WaitUntil([&] { return Frame()["notices"] == "1"; }, 3000)) << Frame()["notices"];
}

TEST_F(ScreenshotTest, PenStrokeIsSavedWithoutTheToolBarOverTheSelection)
{
    const std::string save = PrepareRecordingSettings();
    // Wine counts the full-screen client taller than the screen: the
    // usable height never goes below the screen's bottom.
    const int usable = std::min(GetSystemMetrics(SM_CYFULLSCREEN), GetSystemMetrics(SM_CYSCREEN));
    // Down to the bottom of the usable screen: the bar goes inside.
    const RECT place = {200, usable - 260, 760, usable - 2};
    ScreenWindow pattern(ScreenWindow::Picture::Pattern, place);
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenSelector());

    // A click without dragging takes the hovered window exactly.
    input_.Move({480, usable - 100});
    input_.Move({482, usable - 98});
    std::string hovered;
    ASSERT_TRUE(WaitUntil(
        [&] {
            return (hovered = Text(probe_.Query(selector_, "desktopmaskborder").pos)) ==
                   Text(place);
        },
        3000))
        << "the hovered window is marked at " << hovered << ", not " << Text(place);
    input_.Click({482, usable - 98});
    EXPECT_TRUE(SelectionIs(Text(place)));
    HWND tool = Window("ShotScreenToolWnd");
    ASSERT_NE(nullptr, tool);
    const RECT bar = {762 - 405, usable - 40, 762 - 405 + 362, usable - 5};
    EXPECT_EQ(Text(bar), Text(WindowRect(tool)));

    // Undo first opens no editor; the colour button with the eraser asks
    // nothing and changes nothing.
    ASSERT_TRUE(probe_.Click(tool, "undo_tool_btn"));
    EXPECT_EQ(nullptr, Window("CaptureEditWnd", 1000));
    EXPECT_TRUE(probe_.Query(selector_, "desktopcanvascontainer").enabled);
    ASSERT_TRUE(AnswerNextDialog(main_, "color", true, "", RGB(0, 160, 255)));
    ASSERT_TRUE(probe_.Click(tool, "eraser_tool"));
    HWND editor = Window("CaptureEditWnd");
    ASSERT_NE(nullptr, editor);
    const std::string swatch = probe_.Query(tool, "color_sel_tool").fields["bkcolor"];
    ASSERT_TRUE(probe_.Click(tool, "color_sel_tool"));
    Sleep(300);
    EXPECT_EQ("1", Frame()["dialog_answers"]) << "no colour dialog for the eraser";
    EXPECT_EQ(swatch, probe_.Query(tool, "color_sel_tool").fields["bkcolor"]);

    // The pen in the chosen colour; the selection box no longer moves.
    ASSERT_TRUE(probe_.Click(tool, "pen_tool_btn"));
    ASSERT_TRUE(probe_.Click(tool, "color_sel_tool"));
    EXPECT_TRUE(WaitUntil([&] { return Frame()["dialog_answers"] == "0"; }, 3000));
    EXPECT_EQ("FF00A0FF", probe_.Query(tool, "color_sel_tool").fields["bkcolor"]);
    EXPECT_EQ(Text(Grown(place, -2)), Text(WindowRect(editor)));
    EXPECT_FALSE(probe_.Query(selector_, "desktopcanvascontainer").enabled);

    const int strokeY = usable - 200;
    input_.Drag({260, strokeY}, {640, strokeY}, 12);
    SaveWindowScreenshot(editor, "screenshot_editor");
    SaveWindowScreenshot(tool, "screenshot_tool_bar");
    ASSERT_TRUE(probe_.Click(tool, "complete_screenshot_btn"));
    EXPECT_TRUE(AllClosed());

    DecodedImage picture = OnePicture(save);
    ASSERT_EQ(556, picture.width);
    ASSERT_EQ(254, picture.height);
    const POINT canvas = {202, place.top + 2};
    // The stroke: every column along it has the pen's colour on its row.
    int inked = 0;
    for (int x = 280 - canvas.x; x < 620 - canvas.x; ++x)
        for (int y = strokeY - canvas.y - 1; y <= strokeY - canvas.y + 1; ++y)
            if (Near(picture.At(x, y), 0x00A0FF, 40)) {
                ++inked;
                break;
            }
    EXPECT_EQ(340, inked);
    // Where the bar lay over the editor, the file has the desktop.
    const RECT underBar = {bar.left - canvas.x, bar.top - canvas.y, bar.right - canvas.x,
                           std::min(bar.bottom - canvas.y, 254L)};
    EXPECT_EQ(0,
              PatternMismatches(picture, underBar, {canvas.x - place.left, canvas.y - place.top}));
    EXPECT_TRUE(WaitUntil([&] { return Frame()["notices"] == "1"; }, 3000));
}

TEST_F(ScreenshotTest, TypedTextIsSavedAndTheTextBoxIsNot)
{
    const std::string save = PrepareRecordingSettings();
    const RECT place = {100, 100, 700, 500};
    ScreenWindow pattern(ScreenWindow::Picture::Pattern, place);
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenSelector());
    input_.Drag({150, 150}, {650, 450});
    HWND tool = Window("ShotScreenToolWnd");
    ASSERT_NE(nullptr, tool);
    ASSERT_TRUE(probe_.Click(tool, "input_text_btn"));
    ASSERT_NE(nullptr, Window("CaptureEditWnd"));

    // One text ended with Enter, one still being typed when the picture is
    // finished: both are in the file, the boxes are not.
    input_.Click({250, 250});
    HWND box = Window("InputTextCaptureWnd");
    ASSERT_NE(nullptr, box);
    ASSERT_TRUE(probe_.Type(box, "intput", "Orbisk\n"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000)) << "Enter hands the text over";
    input_.Click({250, 380});
    box = Window("InputTextCaptureWnd");
    ASSERT_NE(nullptr, box);
    ASSERT_TRUE(probe_.Type(box, "intput", "AB"));
    SaveWindowScreenshot(Window("CaptureEditWnd"), "screenshot_editor_text");
    ASSERT_TRUE(probe_.Click(tool, "complete_screenshot_btn"));
    EXPECT_TRUE(AllClosed());

    DecodedImage picture = OnePicture(save);
    ASSERT_EQ(496, picture.width);
    ASSERT_EQ(296, picture.height);
    const POINT canvas = {152, 152};
    const POINT origin = {canvas.x - place.left, canvas.y - place.top};
    auto inked = [&](POINT at) {
        const RECT line = {at.x - canvas.x, at.y - canvas.y + 10, at.x - canvas.x + 60,
                           at.y - canvas.y + 40};
        return PatternMismatches(picture, line, origin);
    };
    EXPECT_GT(inked({250, 250}), 40);
    EXPECT_GT(inked({250, 380}), 20);
    // Right of the texts, where the boxes lay, the desktop as it was.
    EXPECT_EQ(0, PatternMismatches(picture,
                                   {250 - canvas.x + 120, 250 - canvas.y, 250 - canvas.x + 200,
                                    380 - canvas.y + 35},
                                   origin));
}

TEST_F(ScreenshotTest, MovesStopAtTheEdgeRightClickDropsAndEscapeClosesEverything)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    // The first press where the pointer is before the full-screen selector
    // opens (see PointerAt).
    ASSERT_TRUE(PointerAt({300, 300}));
    ASSERT_NE(nullptr, OpenSelector());

    input_.Drag({300, 300}, {500, 400});
    ASSERT_TRUE(SelectionIs("300,300,500,400"));
    ASSERT_NE(nullptr, Window("ShotScreenToolWnd"));
    // Moved far past the left edge: that axis stops flush, the other moves.
    input_.Drag({400, 350}, {40, 420}, 6);
    EXPECT_TRUE(SelectionIs("0,370,200,470"));

    // A right click outside drops the selection and its tool bar.
    input_.RightClick({800, 600});
    EXPECT_TRUE(WaitUntil([&] { return Picking(); }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return !FindWindowA("ShotScreenToolWnd", nullptr); }, 3000));

    input_.Drag({300, 300}, {500, 400});
    HWND tool = Window("ShotScreenToolWnd");
    ASSERT_NE(nullptr, tool);
    ASSERT_TRUE(probe_.Click(tool, "rectangle_tool"));
    ASSERT_NE(nullptr, Window("CaptureEditWnd"));
    input_.Drag({340, 320}, {420, 380});
    input_.Key(VK_ESCAPE);
    EXPECT_TRUE(AllClosed()) << "Escape closes the selector, its bar and its editor";
    EXPECT_TRUE(PicturesIn(save).empty());
    EXPECT_EQ("", Frame()["notices"]);
}

TEST_F(ScreenshotTest, SaveIntoAFolderThatCannotBeWrittenIsToldAndKeepsTheSelection)
{
    PrepareRecordingSettings();
    // The save folder is one no file can be made in, whoever runs the test.
    std::string cfg = ReadFile(config_);
    const std::string from = work_ + "\\save";
    cfg.replace(cfg.find(from), from.size(), "Z:\\proc");
    WriteFile(config_, cfg);
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenSelector());

    input_.Drag({100, 100}, {300, 200});
    input_.DoubleClick({200, 150});
    HWND box = Window("MessageBoxWindow", 10000);
    ASSERT_NE(nullptr, box);
    // The box is filled in once it is up.
    const std::string text =
        probe_.WaitFor(box, "showtext", [](const UiControl& c) { return !c.text.empty(); }).text;
    EXPECT_EQ(0u, text.find("截屏保存失败：Z:\\proc\\")) << text;
    SaveWindowScreenshot(box, "screenshot_save_failed");
    ASSERT_TRUE(probe_.Click(box, "ok_btn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));

    // Nothing is lost: the selection is still there to save elsewhere.
    EXPECT_TRUE(IsWindow(selector_));
    EXPECT_TRUE(SelectionIs("100,100,300,200"));
    EXPECT_EQ("", Frame()["notices"]);
    input_.Key(VK_ESCAPE);
    EXPECT_TRUE(AllClosed());
}

}  // namespace
