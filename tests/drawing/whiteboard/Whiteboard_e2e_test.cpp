// The whiteboard in the real Orbisk.exe under Wine, opened from the main
// window and driven with the mouse: preset sizes and the recorded canvas,
// the frame moved while recording, drawing, presentations through the
// tests' own PowerPoint (and without one), and the question before a
// running recording is closed. What comes out is checked in the saved
// video, on the screen and in the presentation folder.
#include "MouseInput.h"
#include "ProgramTestFixture.h"
#include "ScreenWindow.h"
#include "TestPowerPointSetup.h"
#include "kit/DialogAnswerProtocol.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace programtest;

testkit::MouseInput g_input;

std::string RectText(const RECT& rc)
{
    char text[64];
    snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", rc.left, rc.top, rc.right, rc.bottom);
    return text;
}

unsigned Rgb(COLORREF c)
{
    return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

bool Near(unsigned got, unsigned want, int tolerance = 40)
{
    for (int shift : {0, 8, 16})
        if (abs((int)((got >> shift) & 0xFF) - (int)((want >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

// What the screen shows at a point, as 0x00RRGGBB.
unsigned ScreenPixel(POINT at)
{
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return Rgb(c);
}

// Pixels of a frame in `area` that are not the test pattern seen from
// `origin` (the frame's top left in the pattern window's coordinates).
int PatternMismatches(const DecodedImage& frame, const RECT& area, POINT origin)
{
    int wrong = 0;
    for (int y = area.top; y < area.bottom; y += 2)
        for (int x = area.left; x < area.right; x += 2)
            if (!Near(frame.At(x, y), ScreenWindow::PatternAt(x + origin.x, y + origin.y)))
                ++wrong;
    return wrong;
}

// The pen's colour somewhere within 3 pixels of a point of the screen.
bool PenNear(POINT at, unsigned pen)
{
    for (int dy = -3; dy <= 3; ++dy)
        if (Near(ScreenPixel({at.x, at.y + dy}), pen, 30)) return true;
    return false;
}

// The points of a screen rectangle that show a colour, in one grab.
std::vector<POINT> ColourPixels(const RECT& area, unsigned colour)
{
    const int w = area.right - area.left, h = area.bottom - area.top;
    std::vector<POINT> found;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (Near(static_cast<const unsigned*>(bits)[y * w + x] & 0xFFFFFF, colour, 20))
                found.push_back({area.left + x, area.top + y});
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return found;
}

class WhiteboardTest : public ProgramTest {
protected:
    std::string RecordingSettings()
    {
        const std::string save = PrepareRecordingSettings();
        std::string cfg = ReadFile(config_);
        cfg.insert(cfg.rfind("</vintracfg>"), "<highter_cursor ishighter=\"0\" />\n");
        WriteFile(config_, cfg);
        return save;
    }

    void TearDown() override
    {
        ProgramTest::TearDown();
        RunLinux("rm -rf " + ShellQuote(UnixPath(ProgramDir() + "\\ppt")));
    }

    HWND OpenBoard()
    {
        EXPECT_TRUE(probe_.Click(main_, "record_area_btn"));
        board_ = WaitForWindow("DesktopMainWnd", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, board_) << "the whiteboard opened";
        if (board_) probe_.WaitFor(board_, "labRecTime", [](const UiControl& c) { return c.found; });
        return board_;
    }

    // The size list, opened from its button, and one of its sizes chosen.
    void ChooseSize(const char* item, const char* screenshot = nullptr)
    {
        ASSERT_TRUE(probe_.Click(board_, "regin_size_btn"));
        HWND list = WaitForWindow("TransparentSizeList", nullptr, 5000, program_.Id());
        ASSERT_NE(nullptr, list);
        probe_.WaitFor(list, item, [](const UiControl& c) { return c.shown; });
        if (screenshot) SaveWindowScreenshot(list, screenshot);
        ASSERT_TRUE(probe_.Click(list, item));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(list); }, 5000)) << "the list closed";
    }

    // The canvas in screen coordinates, as the frame's client area gives it.
    RECT Canvas()
    {
        RECT rc;
        GetClientRect(board_, &rc);
        POINT origin = {0, 0};
        ClientToScreen(board_, &origin);
        return {origin.x + 4, origin.y + 25, origin.x + rc.right - 4, origin.y + rc.bottom - 4};
    }

    // Puts the canvas's top left corner at a screen point.
    void MoveCanvasTo(POINT at)
    {
        SetWindowPos(board_, nullptr, at.x - 4, at.y - 25, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    std::string Capture() { return Frame()["capture"]; }

    void Record()
    {
        ASSERT_TRUE(probe_.Click(board_, "regin_record_btn"));
        ASSERT_TRUE(probe_.WaitFor(board_, "regin_stop_btn", [](const UiControl& c) {
                              return c.shown;
                          }).shown)
            << "the frame shows the recording";
        EXPECT_FALSE(probe_.Query(board_, "regin_size_btn").enabled);
    }

    void StopAndWaitIdle()
    {
        ASSERT_TRUE(probe_.Click(board_, "regin_stop_btn"));
        EXPECT_TRUE(WaitShown("begin_record_btn", true));
        EXPECT_TRUE(probe_.WaitFor(board_, "regin_record_btn", [](const UiControl& c) {
                              return c.shown;
                          }).shown);
    }

    std::string SavedVideo(const std::string& save)
    {
        EXPECT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 1; }, 60000));
        std::vector<std::string> videos = VideosIn(save);
        if (videos.size() != 1) return "";
        long long size = -1;
        while (FileSize(videos[0]) != size) {
            size = FileSize(videos[0]);
            Sleep(500);
        }
        return videos[0];
    }

    // The answer the program's next question box takes (0, 1, 2 a button,
    // 3 closed without one).
    void AnswerQuestion(int choice)
    {
        std::string payload;
        PutDialogAnswerField(payload, "kind", "question");
        PutDialogAnswerField(payload, "choice", std::to_string(choice));
        COPYDATASTRUCT cds = {kDialogAnswerTag, (DWORD)payload.size(), (void*)payload.data()};
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(main_, WM_COPYDATA, 0, (LPARAM)&cds, SMTO_NORMAL, 5000,
                                        &result));
        ASSERT_NE(0u, result) << "the program took the answer";
    }

    // A presentation the tests' PowerPoint reads, chosen in the open dialog
    // of the whiteboard's presentation window.
    void LoadPresentation(const std::string& deck)
    {
        ASSERT_TRUE(probe_.Click(board_, "load_ppt_btn"));
        HWND open = WaitForWindow("OpenPPTWindow", nullptr, 5000, program_.Id());
        ASSERT_NE(nullptr, open);
        probe_.WaitFor(open, "open_new_ppt_btn", [](const UiControl& c) { return c.shown; });
        SaveWindowScreenshot(open, "whiteboard_open_ppt");
        ASSERT_TRUE(AnswerNextDialog(main_, "open", true, deck));
        ASSERT_TRUE(probe_.Click(open, "open_new_ppt_btn"));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(open); }, 5000));
    }

    std::string Message()
    {
        return probe_.Query(board_, "msg_content").text;
    }

    HWND board_ = nullptr;
};

TEST_F(WhiteboardTest, PresetRecordsItsSizeAndTheFrameCarriesTheRecordedArea)
{
    const std::string save = RecordingSettings();
    ScreenWindow pattern(ScreenWindow::Picture::Pattern, {0, 0, 1280, 800});
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenBoard());
    EXPECT_EQ("1", Frame()["record_mode"]);
    ChooseSize("800X480", "whiteboard_size_list");
    ASSERT_TRUE(WaitUntil([&] { return probe_.Query(board_, "VintraCam").text == "800 x 480"; },
                          5000))
        << probe_.Query(board_, "VintraCam").text;
    RECT canvas = Canvas();
    EXPECT_EQ(800, canvas.right - canvas.left);
    EXPECT_EQ(480, canvas.bottom - canvas.top);
    EXPECT_EQ(RectText(canvas), Capture());
    SaveWindowScreenshot(board_, "whiteboard_transparent");

    // Moved, the capture follows as the frame arrives: the first look
    // after the move finds it there.
    MoveCanvasTo({60, 50});
    EXPECT_EQ("60,50,860,530", Capture());

    Record();
    Sleep(1500);
    MoveCanvasTo({200, 150});
    EXPECT_EQ("200,150,1000,630", Capture()) << "the recorded area followed the frame at once";
    Sleep(1500);
    StopAndWaitIdle();

    const std::string video = SavedVideo(save);
    auto v = Probe(video, "v:0", "width,height");
    EXPECT_EQ("800", v["width"]);
    EXPECT_EQ("480", v["height"]);
    DecodedImage before = VideoFrame(video, 0.5), after = VideoFrame(video, 2.6);
    ASSERT_EQ(800, before.width);
    ASSERT_EQ(800, after.width);
    // The canvas's own pixels: what lay under it, first at one place, then
    // at the other. The cursor may cover a little.
    EXPECT_LT(PatternMismatches(before, {0, 0, 800, 480}, {60, 50}), 400 * 240 / 50);
    EXPECT_LT(PatternMismatches(after, {0, 0, 800, 480}, {200, 150}), 400 * 240 / 50);

    // A second recording from the same frame records the canvas again.
    Record();
    Sleep(1000);
    StopAndWaitIdle();
    ASSERT_TRUE(WaitUntil([&] { return VideosIn(save).size() == 2; }, 60000));
    for (const std::string& file : VideosIn(save)) {
        if (file == video) continue;
        Sleep(1000);
        EXPECT_EQ("800", Probe(file, "v:0", "width")["width"]) << file;
    }
}

TEST_F(WhiteboardTest, StrokesDrawnWithTheMouseAreShownRecordedAndUndone)
{
    const std::string save = RecordingSettings();
    ScreenWindow pattern(ScreenWindow::Picture::Pattern, {0, 0, 1280, 800});
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenBoard());
    ChooseSize("640X360");
    ASSERT_TRUE(WaitUntil([&] { return probe_.Query(board_, "VintraCam").text == "640 x 360"; },
                          5000));
    MoveCanvasTo({100, 100});
    ASSERT_TRUE(WaitUntil([&] { return Capture() == "100,100,740,460"; }, 2000)) << Capture();

    // Drawing mode: the frozen screen under the canvas and the tools beside.
    ASSERT_TRUE(probe_.Click(board_, "regin_pen_btn"));
    HWND tools = WaitForWindow("WhiteBoardToolWindow", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, tools);
    // Found as it is made: the frame lays it out just after.
    RECT toolRect = {};
    EXPECT_TRUE(WaitUntil(
        [&] {
            return GetWindowRect(tools, &toolRect) && toolRect.right - toolRect.left == 36 &&
                   toolRect.bottom - toolRect.top == 400;
        },
        5000))
        << RectText(toolRect);
    ASSERT_TRUE(probe_.Click(tools, "pen_tool_btn"));
    const unsigned pen = 0x00BDEF;  // the pen's default colour
    EXPECT_EQ("FF00BDEF", probe_.WaitFor(tools, "color_sel_tool", [](const UiControl& c) {
                                    auto f = c.fields.find("bkcolor");
                                    return f != c.fields.end() && f->second == "FF00BDEF";
                                }).fields["bkcolor"]);

    g_input.Drag({200, 250}, {600, 250}, 10);
    const POINT mid = {400, 250};
    ASSERT_TRUE(WaitUntil([&] { return PenNear(mid, pen); }, 3000)) << std::hex << ScreenPixel(mid);
    EXPECT_TRUE(Near(ScreenPixel({400, 300}), ScreenWindow::PatternAt(400, 300)))
        << "the frozen screen around the stroke";
    SaveWindowScreenshot(board_, "whiteboard_drawing");
    SaveWindowScreenshot(tools, "whiteboard_tool_window");

    Record();
    Sleep(2000);
    StopAndWaitIdle();
    DecodedImage frame = VideoFrame(SavedVideo(save), 1.0);
    ASSERT_EQ(640, frame.width);
    bool recorded = false;
    for (int dy = -3; dy <= 3; ++dy) recorded |= Near(frame.At(300, 150 + dy), pen, 50);
    EXPECT_TRUE(recorded) << "the stroke is in the recording";

    ASSERT_TRUE(probe_.Click(tools, "undo_tool_btn"));
    EXPECT_TRUE(WaitUntil([&] { return !PenNear(mid, pen); }, 3000)) << "undone";
    ASSERT_TRUE(probe_.Click(tools, "redo_tool_btn"));
    EXPECT_TRUE(WaitUntil([&] { return PenNear(mid, pen); }, 3000)) << "redone";
    ASSERT_TRUE(probe_.Click(tools, "clearboard_tool_btn"));
    EXPECT_TRUE(WaitUntil([&] { return !PenNear(mid, pen); }, 3000)) << "cleared";

    // Text, typed in its box where the user clicked; opened again and
    // left as it was, it stays exactly where it stood.
    ASSERT_TRUE(probe_.Click(tools, "input_text_btn"));
    g_input.Click({300, 360});
    HWND box = WaitForWindow("InputTextWnd", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, box);
    ASSERT_TRUE(probe_.Type(box, "intput", "Orbisk\n"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000)) << "Enter commits the text";
    const RECT textArea = {240, 335, 460, 400};
    const unsigned red = 0xFB3838;  // the text tool's colour
    std::vector<POINT> typed;
    ASSERT_TRUE(WaitUntil([&] { return (typed = ColourPixels(textArea, red)).size() > 20; }, 3000))
        << typed.size();
    g_input.Click(typed[typed.size() / 2]);
    box = WaitForWindow("InputTextWnd", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, box) << "a click on the text opens it again";
    EXPECT_EQ("Orbisk", probe_.Query(box, "intput").text);
    ASSERT_TRUE(probe_.Type(box, "intput", "\n"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    std::vector<POINT> again;
    EXPECT_TRUE(WaitUntil([&] { return (again = ColourPixels(textArea, red)).size() > 20; }, 3000));
    ASSERT_FALSE(again.empty());
    EXPECT_EQ(typed.size(), again.size());
    EXPECT_EQ(RectText({typed[0].x, typed[0].y, typed.back().x, typed.back().y}),
              RectText({again[0].x, again[0].y, again.back().x, again.back().y}))
        << "the text did not move";

    // The camera button keeps what the canvas shows; two within a second
    // are two files.
    auto shots = [&] {
        std::vector<std::string> found;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((save + "\\*.png").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return found;
        do found.push_back(save + "\\" + fd.cFileName);
        while (FindNextFileA(h, &fd));
        FindClose(h);
        return found;
    };
    ASSERT_TRUE(probe_.Click(board_, "capture_scrreen_btn"));
    ASSERT_TRUE(probe_.Click(board_, "capture_scrreen_btn"));
    EXPECT_TRUE(WaitUntil([&] { return shots().size() == 2; }, 5000)) << shots().size();
    EXPECT_EQ("截图以保存！", Message());
    DecodedImage shot = DecodeImage(shots().front());
    EXPECT_EQ(640, shot.width);
    EXPECT_EQ(360, shot.height);
    // With the save folder gone the user is told, not reassured.
    RunLinux("rm -rf " + ShellQuote(UnixPath(save)));
    ASSERT_TRUE(probe_.Click(board_, "capture_scrreen_btn"));
    EXPECT_TRUE(WaitUntil([&] { return Message() == "截图保存失败！"; }, 5000)) << Message();

    // Back to the live screen: the tools go.
    ASSERT_TRUE(probe_.Click(board_, "regin_pen_btn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(tools); }, 5000));
}

TEST_F(WhiteboardTest, PresentationSlidesAreConvertedShownPagedAndRecorded)
{
    const std::string save = RecordingSettings();
    TestPowerPointRegistration server;
    ASSERT_TRUE(server.ok());
    const std::string deck = work_ + "\\Lecture.pptx";
    WriteFile(deck, "slides=10");
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenBoard());
    ChooseSize("800X480");
    ASSERT_TRUE(WaitUntil([&] { return probe_.Query(board_, "VintraCam").text == "800 x 480"; },
                          5000));
    MoveCanvasTo({100, 100});
    ASSERT_TRUE(WaitUntil([&] { return Capture() == "100,100,900,580"; }, 2000)) << Capture();

    LoadPresentation(deck);
    ASSERT_TRUE(WaitUntil([&] { return Message() == "加载PPT成功！"; }, 30000)) << Message();
    const std::string slides = ProgramDir() + "\\ppt\\Lecture\\";
    EXPECT_TRUE(FileExists(slides + "_1.GIF"));
    EXPECT_TRUE(FileExists(slides + "_10.GIF"));
    EXPECT_FALSE(FileExists(slides + "幻灯片1.GIF"));

    // Slide 1 fills the canvas, its border at every edge.
    const POINT centre = {500, 340};
    EXPECT_TRUE(WaitUntil([&] { return Near(ScreenPixel(centre), Rgb(SlideColour(1))); }, 5000))
        << std::hex << ScreenPixel(centre);
    // The border's inner edge lies at 19/20 of the canvas: a slide stretched
    // past the canvas would show its inside here.
    EXPECT_TRUE(Near(ScreenPixel({863, 560}), 0)) << "the whole slide fits the canvas";
    EXPECT_TRUE(Near(ScreenPixel({855, 540}), Rgb(SlideColour(1))));
    HWND tools = WaitForWindow("WhiteBoardToolWindow", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, tools);
    UiControl list = probe_.Query(tools, "pptlist");
    ASSERT_EQ("10", list.fields["count"]);
    EXPECT_EQ("_1", list.fields["row.0"]);
    EXPECT_EQ("_2", list.fields["row.1"]);
    EXPECT_EQ("_10", list.fields["row.9"]);
    SaveWindowScreenshot(board_, "whiteboard_slides");
    SaveWindowScreenshot(tools, "whiteboard_slide_list");

    auto shown = [&] {
        return "slide row " + probe_.Query(tools, "pptlist").fields["cursel"] + ", centre " +
               std::to_string(ScreenPixel(centre));
    };
    // The wheel pages on, and stops at the last slide.
    PostMessageA(board_, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), MAKELPARAM(500, 340));
    EXPECT_TRUE(WaitUntil([&] { return Near(ScreenPixel(centre), Rgb(SlideColour(2))); }, 5000));
    for (int i = 0; i < 12; ++i)
        PostMessageA(board_, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), MAKELPARAM(500, 340));
    // Every step draws a slide: on a slow machine the twelve take a while,
    // and the screen shows the last one only once they are all done.
    EXPECT_TRUE(WaitUntil(
        [&] { return probe_.Query(tools, "pptlist").fields["cursel"] == "9"; }, 30000))
        << shown();
    EXPECT_TRUE(WaitUntil([&] { return Near(ScreenPixel(centre), Rgb(SlideColour(10))); }, 5000))
        << shown();
    PostMessageA(board_, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(500, 340));
    EXPECT_TRUE(WaitUntil([&] { return Near(ScreenPixel(centre), Rgb(SlideColour(9))); }, 5000))
        << shown();

    Record();
    Sleep(1500);
    StopAndWaitIdle();
    DecodedImage frame = VideoFrame(SavedVideo(save), 0.8);
    ASSERT_EQ(800, frame.width);
    EXPECT_TRUE(Near(frame.At(400, 240), Rgb(SlideColour(9)), 50)) << std::hex << frame.At(400, 240);

    // Drawing over the slides: tools and list side by side.
    ASSERT_TRUE(probe_.Click(board_, "regin_pen_btn"));
    RECT toolRect;
    EXPECT_TRUE(WaitUntil(
        [&] { return GetWindowRect(tools, &toolRect) && toolRect.right - toolRect.left == 200; },
        5000));
    SaveWindowScreenshot(tools, "whiteboard_tools_and_slides");
    SaveWindowScreenshot(board_, "whiteboard_slides_drawing");
}

TEST_F(WhiteboardTest, WithoutPowerPointTheUserIsToldAndTheFrameGoesOn)
{
    TestPowerPointRegistration none(false);
    const std::string deck = work_ + "\\Lecture.pptx";
    WriteFile(deck, "slides=3");
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenBoard());
    LoadPresentation(deck);
    ASSERT_TRUE(WaitUntil([&] { return Message() == "没有找到PowerPoint,无法加载PPT文件!"; },
                          30000))
        << Message();
    EXPECT_EQ(nullptr, FindWindowA("WhiteBoardToolWindow", nullptr)) << "no slides shown";
    // Still usable: the drawing mode opens its tools.
    ASSERT_TRUE(probe_.Click(board_, "regin_pen_btn"));
    EXPECT_NE(nullptr, WaitForWindow("WhiteBoardToolWindow", nullptr, 5000, program_.Id()));
}

TEST_F(WhiteboardTest, AreaDraggedInTheSelectorBecomesTheCanvas)
{
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenBoard());
    auto openSelector = [&]() -> HWND {
        EXPECT_TRUE(probe_.Click(board_, "select_target_wnd_btn"));
        HWND picker = WaitForWindow("UIScrCaptureFrame", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, picker);
        if (picker)
            probe_.WaitFor(picker, "desktopimage", [](const UiControl& c) { return c.found; });
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(board_); }, 5000))
            << "the frame makes way";
        Sleep(300);
        return picker;
    };

    // Cancelled: the frame stays hidden until an area is chosen.
    HWND picker = openSelector();
    ASSERT_NE(nullptr, picker);
    PostMessageA(picker, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, 5000));
    EXPECT_FALSE(IsWindowVisible(board_));

    picker = openSelector();
    ASSERT_NE(nullptr, picker);
    SaveWindowScreenshot(picker, "whiteboard_region_selector");
    g_input.Drag({200, 150}, {601, 451}, 10);
    g_input.DoubleClick({400, 300});
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, 5000)) << "confirmed";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(board_) != FALSE; }, 5000));
    EXPECT_EQ("200,150,601,451", RectText(Canvas())) << "the canvas is the chosen area";
    EXPECT_EQ("200,150,600,450", Capture()) << "recorded with an even size";
    EXPECT_EQ("401 x 301", probe_.Query(board_, "VintraCam").text);
}

TEST_F(WhiteboardTest, ClosingWhileRecordingAsksAndOnlyDiscardDropsTheRecording)
{
    const std::string save = RecordingSettings();
    ASSERT_NE(nullptr, Start());
    ASSERT_NE(nullptr, OpenBoard());
    Record();
    Sleep(1000);

    // The box closed without an answer: the frame stays and records on.
    AnswerQuestion(3);
    ASSERT_TRUE(probe_.Click(board_, "closebtn"));
    EXPECT_TRUE(WaitUntil([&] { return Frame()["dialog_answers"] == "0"; }, 5000));
    Sleep(300);
    EXPECT_TRUE(IsWindow(board_));
    EXPECT_TRUE(probe_.Query(board_, "regin_stop_btn").shown);
    EXPECT_TRUE(WaitShown("stop_record_btn", true)) << "still recording";

    // "放弃": the recording goes, and so does the frame.
    AnswerQuestion(1);
    ASSERT_TRUE(probe_.Click(board_, "closebtn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(board_); }, 5000));
    EXPECT_TRUE(WaitShown("begin_record_btn", true));
    EXPECT_EQ("4", Frame()["record_mode"]);
    Sleep(2000);
    EXPECT_TRUE(VideosIn(save).empty()) << "nothing saved";

    // "保存": saved.
    ASSERT_NE(nullptr, OpenBoard());
    Record();
    Sleep(1500);
    AnswerQuestion(2);
    ASSERT_TRUE(probe_.Click(board_, "closebtn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(board_); }, 5000));
    EXPECT_FALSE(SavedVideo(save).empty());
}

}  // namespace
