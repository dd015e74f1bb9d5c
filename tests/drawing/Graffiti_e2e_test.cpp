// Drawing over the screen in the real Orbisk.exe under Wine, driven with the
// mouse and the keyboard as a user drives them: F9 and the floating bar's
// pens open the canvas, strokes are drawn, typed, erased, undone and
// redone. What comes out is checked in the canvas's pixels on the screen,
// in the drawing board (the canvas's probe) and in the saved video.
#include "MouseInput.h"
#include "ProgramTestFixture.h"
#include "drawing/windows/GraffitiProbe.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace programtest;

const char kCanvasClass[] = "RealtimeGraffitiCanvasWnd";
// The pen's colour before anyone changes it: RGB(0, 189, 239).
const COLORREF kPenColour = 0xEFBD00;

testkit::MouseInput g_input;

// The colour of a pixel on the screen (0x00BBGGRR).
COLORREF ScreenPixel(POINT at)
{
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return c;
}

bool Near(unsigned rgbOrRef, int r, int g, int b, int tolerance)
{
    return abs((int)(rgbOrRef & 0xFF) - r) <= tolerance &&
           abs((int)((rgbOrRef >> 8) & 0xFF) - g) <= tolerance &&
           abs((int)((rgbOrRef >> 16) & 0xFF) - b) <= tolerance;
}

// How many of the points along a horizontal line from x0 to x1 at y show
// the colour on the screen, within 2 pixels of the line.
int ScreenPointsOfColour(int x0, int x1, int y, COLORREF colour)
{
    int found = 0;
    for (int x = x0; x <= x1; x += 20) {
        for (int dy = -2; dy <= 2; ++dy)
            if (Near(ScreenPixel({x, y + dy}), GetRValue(colour), GetGValue(colour),
                     GetBValue(colour), 8)) {
                ++found;
                break;
            }
    }
    return found;
}

// The same in a decoded video frame (0x00RRGGBB), with the codec's
// tolerance for a thin coloured line.
int FramePointsOfColour(const DecodedImage& frame, int x0, int x1, int y, COLORREF colour)
{
    int found = 0;
    for (int x = x0; x <= x1 && x < frame.width; x += 20) {
        for (int dy = -3; dy <= 3; ++dy) {
            if (y + dy < 0 || y + dy >= frame.height) continue;
            unsigned p = frame.At(x, y + dy);
            unsigned asRef = ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
            if (Near(asRef, GetRValue(colour), GetGValue(colour), GetBValue(colour), 60)) {
                ++found;
                break;
            }
        }
    }
    return found;
}

int ThreadsOf(DWORD pid)
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 te = {};
    te.dwSize = sizeof te;
    int n = 0;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == pid) ++n;
    CloseHandle(snap);
    return n;
}

class GraffitiTest : public ProgramTest {
protected:
    std::string RecordingSettings()
    {
        const std::string save = PrepareRecordingSettings();
        std::string cfg = ReadFile(config_);
        // Nothing but the screen in the frames: no cursor highlight.
        cfg.insert(cfg.rfind("</vintracfg>"), "<highter_cursor ishighter=\"0\" />\n");
        WriteFile(config_, cfg);
        return save;
    }

    void TearDown() override
    {
        if (HWND canvas = Canvas()) PostMessageA(canvas, WM_LBUTTONDBLCLK, 0, 0);
        ProgramTest::TearDown();
    }

    HWND Canvas()
    {
        for (HWND w : WindowsOfProcess(program_.Id())) {
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (strcmp(cls, kCanvasClass) == 0 && IsWindowVisible(w)) return w;
        }
        return nullptr;
    }

    // Waits for the canvas and its first frame.
    HWND WaitCanvas(bool open = true)
    {
        HWND canvas = nullptr;
        bool ok = WaitUntil(
            [&] {
                canvas = Canvas();
                return open ? canvas && Board(canvas)["frames"] != "" &&
                                  Board(canvas)["frames"] != "0"
                            : canvas == nullptr;
            },
            10000);
        EXPECT_TRUE(ok) << (open ? "the canvas opened" : "the canvas closed");
        return canvas;
    }

    std::map<std::string, std::string> Board(HWND canvas)
    {
        return probe_.AskWindow(canvas, kGraffitiProbeMessage, 0);
    }

    // Waits until the board's probe shows `value` for `key`.
    bool WaitBoard(HWND canvas, const std::string& key, const std::string& value,
                   DWORD timeoutMs = 5000)
    {
        return WaitUntil([&] { return Board(canvas)[key] == value; }, timeoutMs);
    }

    void HotKey(int id, WORD vk)
    {
        PostMessageA(main_, WM_HOTKEY, id, MAKELPARAM(0, vk));
    }

    bool WaitRecording()
    {
        return WaitShown("stop_record_btn", true) &&
               WaitUntil([&] { return Frame()["timer2"] == "1"; }, 5000);
    }

    std::string StopAndSave(const std::string& save)
    {
        HotKey(1, VK_F7);
        EXPECT_TRUE(WaitShown("begin_record_btn", true));
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

    // The tool window, opened by a right click on the canvas.
    HWND OpenToolWindow(POINT at)
    {
        g_input.RightClick(at);
        HWND tool = WaitForWindow("RealtimeGraffitiToolWnd", nullptr, 5000, program_.Id());
        EXPECT_NE(nullptr, tool) << "the tool window opened";
        if (tool) {
            EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(tool) != FALSE; }, 5000));
            probe_.WaitFor(tool, "pen_tool_btn", [](const UiControl& c) { return c.shown; });
        }
        return tool;
    }

    // A click with the mouse on a button of the tool window.
    void ClickTool(HWND tool, const char* name)
    {
        ShowWindow(tool, SW_SHOWNOACTIVATE);
        RECT pos = probe_.Query(tool, name).pos;
        POINT at = {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
        ClientToScreen(tool, &at);
        g_input.Click(at);
    }
};

TEST_F(GraffitiTest, F9StrokeIsOnTheCanvasAndInTheVideoAndUndoRedoTakeItAndBringItBack)
{
    const std::string save = RecordingSettings();
    ASSERT_NE(nullptr, Start());
    HotKey(1, VK_F7);
    ASSERT_TRUE(WaitRecording());
    const DWORD t0 = GetTickCount();
    // The stroke starts where the pointer is before the full-screen canvas
    // opens (see PointerAt).
    ASSERT_TRUE(PointerAt({200, 300}));
    Sleep(1000);

    g_input.Press(VK_F9);
    HWND canvas = WaitCanvas();
    ASSERT_NE(nullptr, canvas);
    auto board = Board(canvas);
    EXPECT_EQ("1", board["layered"]) << "F9 opens the transparent canvas";
    EXPECT_EQ("0", board["tool"]) << "with the pen";
    RECT area = {};
    GetWindowRect(canvas, &area);
    EXPECT_EQ(0, area.left);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), area.right);
    EXPECT_EQ(0, ScreenPointsOfColour(200, 600, 300, kPenColour));

    g_input.Drag({200, 300}, {600, 300}, 10);
    ASSERT_TRUE(WaitBoard(canvas, "shapes", "1"));
    EXPECT_EQ(0u, Board(canvas)["shape.0"].find("CPenObj," + std::to_string(kPenColour)));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPointsOfColour(200, 600, 300, kPenColour) >= 19; },
                          3000))
        << ScreenPointsOfColour(200, 600, 300, kPenColour);
    const double drawnAt = (GetTickCount() - t0) / 1000.0;
    Sleep(2000);

    g_input.Press('Z', {VK_CONTROL});
    EXPECT_TRUE(WaitBoard(canvas, "shapes", "0")) << "Ctrl+Z took the stroke away";
    EXPECT_TRUE(
        WaitUntil([&] { return ScreenPointsOfColour(200, 600, 300, kPenColour) == 0; }, 3000));
    const double undoneAt = (GetTickCount() - t0) / 1000.0;
    Sleep(2000);

    g_input.Press('Z', {VK_SHIFT});
    EXPECT_TRUE(WaitBoard(canvas, "shapes", "1")) << "Shift+Z brought it back";
    EXPECT_TRUE(WaitUntil([&] { return ScreenPointsOfColour(200, 600, 300, kPenColour) >= 19; },
                          3000));
    Sleep(2000);
    SaveWindowScreenshot(canvas, "graffiti_canvas_layered");

    const std::string video = StopAndSave(save);
    EXPECT_FALSE(IsWindow(canvas)) << "stopping the recording ends drawing";
    ASSERT_FALSE(video.empty());
    DecodedImage before = VideoFrame(video, 0.3);
    DecodedImage drawn = VideoFrame(video, drawnAt + 1.0);
    DecodedImage undone = VideoFrame(video, undoneAt + 1.0);
    DecodedImage redone = VideoFrame(video, undoneAt + 3.5);
    ASSERT_GT(before.width, 600);
    EXPECT_LE(FramePointsOfColour(before, 200, 600, 300, kPenColour), 2);
    EXPECT_GE(FramePointsOfColour(drawn, 200, 600, 300, kPenColour), 17) << "at " << drawnAt + 1;
    EXPECT_LE(FramePointsOfColour(undone, 200, 600, 300, kPenColour), 2) << "at " << undoneAt + 1;
    EXPECT_GE(FramePointsOfColour(redone, 200, 600, 300, kPenColour), 17);
}

TEST_F(GraffitiTest, StrokeOnTheTransparentCanvasOfTheFloatingBarIsInTheVideo)
{
    const std::string save = RecordingSettings();
    ASSERT_NE(nullptr, Start());
    HotKey(1, VK_F7);
    ASSERT_TRUE(WaitRecording());
    HWND bar = WaitForWindow("FloatRecWnd", "FloatRecWnd", 10000, program_.Id());
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(probe_.WaitFor(bar, "layered_pen_btn", [](const UiControl& c) { return c.shown; })
                    .shown);
    ASSERT_TRUE(probe_.Click(bar, "layered_pen_btn"));
    HWND canvas = WaitCanvas();
    ASSERT_NE(nullptr, canvas);
    EXPECT_EQ("1", Board(canvas)["layered"]);
    EXPECT_TRUE(IsWindowVisible(bar)) << "the bar stays at hand";
    EXPECT_FALSE(probe_.Query(bar, "target_btn").enabled) << "no region picking while drawing";

    g_input.Drag({300, 450}, {700, 450}, 10);
    ASSERT_TRUE(WaitBoard(canvas, "shapes", "1"));
    Sleep(1500);
    const std::string video = StopAndSave(save);
    EXPECT_TRUE(probe_.Query(bar, "target_btn").enabled);
    ASSERT_FALSE(video.empty());
    auto v = Probe(video, "", "duration");
    const double duration = atof(v["duration"].c_str());
    DecodedImage last = VideoFrame(video, duration - 0.5);
    EXPECT_GE(FramePointsOfColour(last, 300, 700, 450, kPenColour), 17);
}

TEST_F(GraffitiTest, TextToolPlacesTypedTextBelowTheClickAndOneBoxAtATime)
{
    ASSERT_NE(nullptr, Start());
    g_input.Press(VK_F9);
    HWND canvas = WaitCanvas();
    ASSERT_NE(nullptr, canvas);
    HWND tool = OpenToolWindow({900, 150});
    ASSERT_NE(nullptr, tool);
    ClickTool(tool, "input_text_btn");
    ASSERT_TRUE(WaitBoard(canvas, "tool", "6"));

    g_input.Click({300, 400});
    ASSERT_TRUE(WaitBoard(canvas, "popup", "1"));
    HWND box = WaitForWindow("InputTextGraffitiWnd", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, box);
    RECT placed = {};
    GetWindowRect(box, &placed);
    EXPECT_EQ(300, placed.left);
    EXPECT_EQ(400, placed.top);
    g_input.Type("abc");
    EXPECT_TRUE(probe_.WaitFor(box, "intput", [](const UiControl& c) { return c.text == "abc"; })
                    .text == "abc");
    SaveWindowScreenshot(box, "graffiti_text_box");
    g_input.Type("\n");
    ASSERT_TRUE(WaitBoard(canvas, "shapes", "1"));
    const std::string text = Board(canvas)["shape.0"];
    EXPECT_EQ(0u, text.find("CInputTextObj,")) << text;
    EXPECT_NE(std::string::npos, text.find(",300,410,abc")) << text;
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));

    // A blank text adds nothing.
    g_input.Click({500, 500});
    ASSERT_TRUE(WaitBoard(canvas, "popup", "1"));
    g_input.Type("  \n");
    ASSERT_TRUE(WaitBoard(canvas, "popup", "0"));
    EXPECT_EQ("1", Board(canvas)["shapes"]);

    // A click while a box is open commits it and opens none.
    g_input.Click({600, 200});
    ASSERT_TRUE(WaitBoard(canvas, "popup", "1"));
    g_input.Type("xy");
    g_input.Click({800, 300});
    ASSERT_TRUE(WaitBoard(canvas, "shapes", "2"));
    EXPECT_EQ("0", Board(canvas)["popup"]);
    EXPECT_TRUE(WaitUntil([] { return FindWindowA("InputTextGraffitiWnd", nullptr) == nullptr; },
                          3000))
        << "the committed box closed and no second one opened";
    EXPECT_NE(std::string::npos, Board(canvas)["shape.1"].find(",600,210,xy"));
}

TEST_F(GraffitiTest, ToolWindowSetsWidthAndColourClearsAndTheEraserCutsAStroke)
{
    ASSERT_NE(nullptr, Start());
    HWND bar = WaitForWindow("FloatRecWnd", "FloatRecWnd", 10000, program_.Id());
    ASSERT_NE(nullptr, bar);
    probe_.WaitFor(bar, "floatregin_pen_btn", [](const UiControl& c) { return c.shown; });
    // The pointer goes where the tool window is asked for before this
    // full-screen canvas opens over it (see PointerAt).
    const POINT toolAt = {900, 150};
    ASSERT_TRUE(PointerAt(toolAt));
    ASSERT_TRUE(probe_.Click(bar, "floatregin_pen_btn"));
    HWND canvas = WaitCanvas();
    ASSERT_NE(nullptr, canvas);
    EXPECT_EQ("0", Board(canvas)["layered"]) << "the bar's first pen draws over a still screen";

    HWND tool = OpenToolWindow(toolAt);
    ASSERT_NE(nullptr, tool);
    RECT toolRect = {};
    GetWindowRect(tool, &toolRect);
    EXPECT_EQ(900, toolRect.left);
    EXPECT_EQ(183, toolRect.right - toolRect.left);
    SaveWindowScreenshot(tool, "graffiti_tool_window");

    // "5px" from the line-width menu, chosen with the mouse.
    ClickTool(tool, "line_width_tool");
    HWND menu = WaitForWindow("MenuWnd", nullptr, 5000, program_.Id());
    ASSERT_NE(nullptr, menu);
    // Found as it is made: its place and size come just after.
    RECT m = {};
    ASSERT_TRUE(WaitUntil(
        [&] { return IsWindowVisible(menu) && GetWindowRect(menu, &m) && m.bottom > m.top; },
        5000));
    g_input.Click({m.left + 40, m.top + 4 * (m.bottom - m.top) / 5 + (m.bottom - m.top) / 10});
    ASSERT_TRUE(WaitBoard(canvas, "width.0", "5"));

    // A colour answered through the dialog seam.
    ASSERT_TRUE(AnswerNextDialog(main_, "color", true, "", RGB(255, 0, 0)));
    tool = OpenToolWindow({900, 150});
    ClickTool(tool, "color_sel_tool");
    ASSERT_TRUE(WaitBoard(canvas, "colour.0", std::to_string(RGB(255, 0, 0))));
    EXPECT_EQ("FFFF0000", probe_.Query(tool, "color_sel_tool").fields["bkcolor"]);

    g_input.Drag({200, 600}, {600, 600}, 10);
    ASSERT_TRUE(WaitBoard(canvas, "shapes", "1"));
    EXPECT_EQ(0u, Board(canvas)["shape.0"].find("CPenObj," + std::to_string(RGB(255, 0, 0)) +
                                                 ",5,"))
        << Board(canvas)["shape.0"];
    EXPECT_TRUE(
        WaitUntil([&] { return ScreenPointsOfColour(200, 600, 600, RGB(255, 0, 0)) >= 19; }, 3000));
    // Five pixels wide: red two pixels above and below the line's middle.
    EXPECT_TRUE(Near(ScreenPixel({400, 598}), 255, 0, 0, 8));
    EXPECT_TRUE(Near(ScreenPixel({400, 602}), 255, 0, 0, 8));
    g_input.Drag({200, 700}, {400, 760}, 10);
    ASSERT_TRUE(WaitBoard(canvas, "shapes", "2"));
    SaveWindowScreenshot(canvas, "graffiti_canvas");

    tool = OpenToolWindow({900, 150});
    ClickTool(tool, "clearboard_tool_btn");
    ASSERT_TRUE(WaitBoard(canvas, "shapes", "0"));
    EXPECT_EQ("0", Board(canvas)["undo"]);
    EXPECT_TRUE(
        WaitUntil([&] { return ScreenPointsOfColour(200, 600, 600, RGB(255, 0, 0)) == 0; }, 3000));

    // The eraser's rectangle across the middle of a stroke leaves two.
    g_input.Drag({200, 500}, {600, 500}, 10);
    ASSERT_TRUE(WaitBoard(canvas, "shapes", "1"));
    tool = OpenToolWindow({900, 150});
    ClickTool(tool, "eraser_tool");
    ASSERT_TRUE(WaitBoard(canvas, "tool", "7"));
    g_input.Drag({380, 470}, {420, 530}, 10);
    ASSERT_TRUE(WaitBoard(canvas, "shapes", "2")) << Board(canvas)["shapes"];
    auto board = Board(canvas);
    EXPECT_EQ(0u, board["shape.0"].find("CPenObj,"));
    EXPECT_EQ(0u, board["shape.1"].find("CPenObj,"));
    EXPECT_TRUE(Near(ScreenPixel({250, 500}), 255, 0, 0, 8));
    EXPECT_FALSE(Near(ScreenPixel({400, 500}), 255, 0, 0, 60)) << "cut out";
    EXPECT_TRUE(Near(ScreenPixel({550, 500}), 255, 0, 0, 8));

    // The tool window's close ends drawing.
    tool = OpenToolWindow({900, 150});
    ClickTool(tool, "closebtn");
    WaitCanvas(false);
    EXPECT_FALSE(IsWindow(tool));
}

TEST_F(GraffitiTest, FiftyTogglesLeaveNoThreadOrWindowAndADoubleClickEndsDrawing)
{
    ASSERT_NE(nullptr, Start());
    Sleep(1500);  // the start's own threads settle
    const int threads = ThreadsOf(program_.Id());
    const size_t windows = WindowsOfProcess(program_.Id()).size();
    for (int i = 0; i < 50; ++i) {
        HotKey(4, VK_F9);
        ASSERT_NE(nullptr, WaitCanvas()) << i;
        HotKey(4, VK_F9);
        ASSERT_EQ(nullptr, WaitCanvas(false)) << i;
    }
    // Threads and windows that end may take a moment to be gone.
    EXPECT_TRUE(WaitUntil([&] { return ThreadsOf(program_.Id()) <= threads; }, 5000))
        << ThreadsOf(program_.Id()) << " threads, " << threads << " before";
    EXPECT_TRUE(
        WaitUntil([&] { return WindowsOfProcess(program_.Id()).size() <= windows; }, 5000))
        << WindowsOfProcess(program_.Id()).size() << " windows, " << windows << " before";

    HotKey(4, VK_F9);
    HWND canvas = WaitCanvas();
    ASSERT_NE(nullptr, canvas);
    g_input.Drag({200, 300}, {400, 300}, 10);
    ASSERT_TRUE(WaitBoard(canvas, "shapes", "1"));
    g_input.DoubleClick({500, 500});
    WaitCanvas(false);
    // Hidden at once, destroyed as its thread ends.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(canvas); }, 5000));
    // Nobody holds the closed canvas: the key opens a new one, on an empty
    // board.
    HotKey(4, VK_F9);
    canvas = WaitCanvas();
    ASSERT_NE(nullptr, canvas);
    EXPECT_EQ("0", Board(canvas)["shapes"]);
}

}  // namespace
