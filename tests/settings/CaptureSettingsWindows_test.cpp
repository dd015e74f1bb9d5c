// The caption, watermark, cursor, timed-start and auto-stop windows in the
// real Orbisk.exe under Wine: opened from the main window's buttons, driven
// with typing, clicks and the dialog answers a test gives, and checked in
// the configuration file, in what the windows show and in the frames of the
// recordings that follow.
#include "ProgramTestFixture.h"

#include <gdiplus.h>
#include <tinyxml.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using namespace programtest;

// A white top-most window over the whole screen, on a thread of its own, so
// what the recording paints stands out in its frames.
class WhiteCover {
public:
    WhiteCover()
    {
        m_thread = std::thread([this] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
            wc.lpszClassName = "OrbiskTestWhiteCover";
            RegisterClassA(&wc);
            HWND h = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                     wc.lpszClassName, "", WS_POPUP, 0, 0,
                                     GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                     nullptr, nullptr, wc.hInstance, nullptr);
            ShowWindow(h, SW_SHOWNOACTIVATE);
            UpdateWindow(h);
            m_threadId = GetCurrentThreadId();
            m_hwnd = h;
            MSG m;
            while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
            DestroyWindow(h);
        });
        for (int i = 0; i < 500 && !m_hwnd.load(); ++i) Sleep(10);
        Sleep(300);
    }
    ~WhiteCover()
    {
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }

private:
    std::thread m_thread;
    std::atomic<HWND> m_hwnd{nullptr};
    std::atomic<DWORD> m_threadId{0};
};

// A field of the probe's answer; empty when it sent none.
std::string Field(const UiControl& c, const char* key)
{
    auto it = c.fields.find(key);
    return it == c.fields.end() ? std::string() : it->second;
}

int Red(unsigned p) { return (p >> 16) & 0xFF; }
int Green(unsigned p) { return (p >> 8) & 0xFF; }
int Blue(unsigned p) { return p & 0xFF; }

bool IsRed(unsigned p) { return Red(p) > 170 && Green(p) < 140 && Blue(p) < 140; }
bool IsBlue(unsigned p) { return Blue(p) > 150 && Blue(p) > Red(p) + 60 && Blue(p) > Green(p) + 60; }

// The pixels of a picture that match, and where they lie; those inside
// `except` (a window the test does not look at) left out.
struct Found {
    int count = 0;
    RECT box = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
};
Found FindPixels(const DecodedImage& image, const RECT& area, bool (*match)(unsigned),
                 const RECT& except = RECT{0, 0, 0, 0})
{
    Found f;
    for (int y = std::max(0L, area.top); y < std::min((long)image.height, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min((long)image.width, area.right); ++x)
            if (!PtInRect(&except, POINT{x, y}) && match(image.At(x, y))) {
                ++f.count;
                f.box.left = std::min(f.box.left, (long)x);
                f.box.top = std::min(f.box.top, (long)y);
                f.box.right = std::max(f.box.right, (long)x + 1);
                f.box.bottom = std::max(f.box.bottom, (long)y + 1);
            }
    return f;
}

// A PNG of one colour (its bottom-left pixel, the watermark's key colour,
// another one).
bool WritePicture(const std::string& path, int w, int h, Gdiplus::Color color)
{
    GdiplusScope gdiplus;
    Gdiplus::Bitmap bitmap(w, h, PixelFormat32bppARGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bitmap.SetPixel(x, y, color);
    bitmap.SetPixel(0, h - 1, Gdiplus::Color(255, 255, 0, 255));
    CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    return bitmap.Save(wide, &png, nullptr) == Gdiplus::Ok;
}

class CaptureSettingsTest : public ProgramTest {
protected:
    // Opens a window with a button of the main window; the window, found by
    // its class.
    HWND OpenFromMain(const char* button, const char* windowClass)
    {
        EXPECT_TRUE(probe_.Click(main_, button)) << button;
        HWND window = WaitForWindow(windowClass, nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, window) << windowClass;
        // Filled on "windowinit", after the window shows.
        if (window) probe_.WaitFor(window, "closebtn", [](const UiControl& c) { return c.shown; });
        return window;
    }

    // The main window as a user brings it back during a recording.
    void RestoreMain()
    {
        ShowWindow(main_, SW_RESTORE);
        WaitUntil([&] { return !IsIconic(main_); }, 5000);
        Sleep(300);
    }

    // A field emptied and typed into as a keyboard does.
    void Retype(HWND window, const char* field, const std::string& text)
    {
        UiControl before = probe_.Query(window, field);
        ASSERT_TRUE(probe_.Type(window, field, std::string(before.text.size(), '\b') + text));
        probe_.WaitFor(window, field, [&](const UiControl& c) { return c.text == text; });
    }

    // The settings file's attribute (UTF-8 as written).
    std::string Setting(const char* element, const char* attribute)
    {
        TiXmlDocument d;
        std::string text = ReadFile(config_);
        d.Parse(text.c_str());
        TiXmlElement* root = d.FirstChildElement("vintracfg");
        TiXmlElement* e = root ? root->FirstChildElement(element) : nullptr;
        const char* v = e ? e->Attribute(attribute) : nullptr;
        return v ? v : "";
    }

    bool WaitSetting(const char* element, const char* attribute, const std::string& value)
    {
        return WaitUntil([&] { return Setting(element, attribute) == value; }, 5000);
    }

    // Records the whole screen with hot key 1 (F7): `during` runs a second
    // into the video, and the recording goes on for about `seconds` after
    // it. The saved video.
    std::string Record(const std::string& save, double seconds,
                       const std::function<void()>& during = nullptr)
    {
        const size_t before = VideosIn(save).size();
        PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
        EXPECT_TRUE(WaitShown("stop_record_btn", true));
        EXPECT_TRUE(WaitRecordedSeconds(1)) << Control("record_time_lb_led").text;
        if (during) during();
        Sleep((DWORD)(seconds * 1000));
        PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
        EXPECT_TRUE(WaitShown("begin_record_btn", true));
        return NewVideo(save, before);
    }

    // Waits until the main window's recording clock shows `seconds`. The
    // recording's time starts with its first frame, which on a slow machine
    // comes well after the buttons change (the encoder is still starting).
    bool WaitRecordedSeconds(int seconds)
    {
        return WaitUntil(
            [&] {
                for (const char* name : {"record_time_lb_led", "record_time_lb"}) {
                    std::string t = Control(name).text;
                    t.erase(std::remove(t.begin(), t.end(), ' '), t.end());
                    int h = 0, m = 0, sec = 0;
                    if (sscanf(t.c_str(), "%d:%d:%d", &h, &m, &sec) == 3 &&
                        h * 3600 + m * 60 + sec >= seconds)
                        return true;
                }
                return false;
            },
            15000);
    }

    // The video that joins the `before` ones in the save folder, once
    // written in full.
    std::string NewVideo(const std::string& save, size_t before)
    {
        EXPECT_TRUE(WaitUntil([&] { return VideosIn(save).size() > before; }, 60000));
        std::vector<std::string> videos = VideosIn(save);
        if (videos.size() <= before) return "";
        std::sort(videos.begin(), videos.end());
        const std::string video = videos.back();
        long long size = -1;
        while (FileSize(video) != size) {
            size = FileSize(video);
            Sleep(500);
        }
        return video;
    }

    // The frame shown at `seconds` into the video.
    DecodedImage FrameAt(const std::string& video, double seconds)
    {
        const std::string png = MakeTempDir("frame") + "\\frame.png";
        char at[32];
        snprintf(at, sizeof at, "%.2f", seconds);
        RunLinux("ffmpeg -nostdin -v error -ss " + std::string(at) + " -i " +
                     ShellQuote(UnixPath(video)) + " -frames:v 1 -y " + ShellQuote(UnixPath(png)),
                 60000);
        return DecodeImage(png);
    }

    // Every frame of the video at `fps`, cut to the area.
    std::vector<DecodedImage> Frames(const std::string& video, int fps, const RECT& area)
    {
        std::vector<DecodedImage> frames;
        const int w = area.right - area.left, h = area.bottom - area.top;
        const std::string raw = MakeTempDir("frames") + "\\frames.rgb";
        char filter[128];
        snprintf(filter, sizeof filter, "fps=%d,crop=%d:%d:%ld:%ld", fps, w, h, area.left,
                 area.top);
        LinuxResult r = RunLinux("ffmpeg -nostdin -v error -i " + ShellQuote(UnixPath(video)) +
                                     " -vf " + filter + " -f rawvideo -pix_fmt rgb24 -y " +
                                     ShellQuote(UnixPath(raw)),
                                 120000);
        EXPECT_EQ(0, r.exitCode) << r.err;
        const std::string bytes = ReadFile(raw);
        const size_t frameBytes = (size_t)w * h * 3;
        for (size_t at = 0; at + frameBytes <= bytes.size(); at += frameBytes) {
            DecodedImage f;
            f.width = w;
            f.height = h;
            f.rgb.resize((size_t)w * h);
            for (size_t i = 0; i < f.rgb.size(); ++i) {
                const unsigned char* p = (const unsigned char*)&bytes[at + i * 3];
                f.rgb[i] = (p[0] << 16) | (p[1] << 8) | p[2];
            }
            frames.push_back(f);
        }
        return frames;
    }

    // The program's message box over a settings window: its text, answered
    // with its one button "确定".
    std::string AnswerMessageBox()
    {
        HWND box = WaitForWindow("MessageBoxWindow", nullptr, 10000, program_.Id());
        EXPECT_NE(nullptr, box);
        if (!box) return "";
        UiControl text =
            probe_.WaitFor(box, "showtext", [](const UiControl& c) { return !c.text.empty(); });
        EXPECT_EQ("提示", probe_.Query(box, "title").text);
        EXPECT_EQ("确定", probe_.Query(box, "ok_btn").text);
        EXPECT_FALSE(probe_.Query(box, "no_btn").shown);
        EXPECT_FALSE(probe_.Query(box, "cancle_btn").shown);
        EXPECT_TRUE(probe_.Click(box, "ok_btn"));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
        return text.text;
    }

    static POINT ScreenPoint(HWND window, POINT client)
    {
        ClientToScreen(window, &client);
        return client;
    }
    static POINT TopLeft(HWND window)
    {
        RECT rc = {};
        GetWindowRect(window, &rc);
        return POINT{rc.left, rc.top};
    }
};

TEST_F(CaptureSettingsTest, CaptionTypedInTheWindowIsSavedOnceAndRecordedUntilRemoved)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    HWND caption = OpenFromMain("add_text_rec_btn", "AddCaptionWindow");
    ASSERT_NE(nullptr, caption);
    // At the bottom-left corner of the main window.
    RECT client;
    GetClientRect(main_, &client);
    POINT corner = ScreenPoint(main_, POINT{0, client.bottom});
    EXPECT_EQ(corner.x, TopLeft(caption).x);
    EXPECT_EQ(corner.y, TopLeft(caption).y);

    ASSERT_TRUE(probe_.Type(caption, "show_text_edit", "测试字幕"));
    ASSERT_EQ("测试字幕", probe_.WaitFor(caption, "show_text_edit", [](const UiControl& c) {
                              return c.text == "测试字幕";
                          }).text);
    // Typing goes on: the file is written once it pauses, not per keystroke.
    EXPECT_EQ("", Setting("Caption", "text"));
    EXPECT_TRUE(WaitSetting("Caption", "text", u8"测试字幕"));

    ASSERT_TRUE(probe_.Click(caption, "center2_btn"));
    EXPECT_TRUE(WaitSetting("Caption", "position", "4"));
    EXPECT_EQ("00FFFFFF", probe_.Query(caption, "center2_btn").fields["bordercolor"]);
    EXPECT_EQ("00737373", probe_.Query(caption, "top1_btn").fields["bordercolor"]);
    // The cell under the pointer lights up while it is there.
    RECT top1 = probe_.Query(caption, "top1_btn").pos;
    PostMessageA(caption, WM_MOUSEMOVE, 0, MAKELPARAM(top1.left + 5, top1.top + 5));
    EXPECT_EQ("00FFFFFF", probe_.WaitFor(caption, "top1_btn", [](const UiControl& c) {
                              return Field(c, "bordercolor") == "00FFFFFF";
                          }).fields["bordercolor"]);
    PostMessageA(caption, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ("00737373", probe_.WaitFor(caption, "top1_btn", [](const UiControl& c) {
                              return Field(c, "bordercolor") == "00737373";
                          }).fields["bordercolor"]);
    EXPECT_EQ("00FFFFFF", probe_.Query(caption, "center2_btn").fields["bordercolor"]);

    // Big red letters, chosen in the font and colour dialogs.
    LOGFONTA font = {};
    font.lfHeight = -56;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = GB2312_CHARSET;
    strcpy(font.lfFaceName, "宋体");
    ASSERT_TRUE(AnswerNextDialog(main_, "font", true, "", 0, &font));
    ASSERT_TRUE(probe_.Click(caption, "text_font_btn"));
    EXPECT_TRUE(WaitSetting("TextFont", "lfHeight", "-56"));
    ASSERT_TRUE(AnswerNextDialog(main_, "color", true, "", RGB(255, 0, 0)));
    ASSERT_TRUE(probe_.Click(caption, "text_color_btn"));
    EXPECT_TRUE(WaitSetting("Caption", "textcolor", "255"));
    Sleep(300);
    EXPECT_FALSE(SaveWindowScreenshot(caption, "caption_setting").empty());

    // The main window steps aside as the recording starts; what is left of
    // it on the screen is no caption.
    RECT mainRect = {};
    auto stepAside = [&] {
        WaitUntil([&] { return IsIconic(main_) != FALSE; }, 5000);
        Sleep(300);
        GetWindowRect(main_, &mainRect);
    };
    std::string video;
    {
        WhiteCover white;
        SetCursorPos(5, 5);
        video = Record(save, 2.0, stepAside);
    }
    ASSERT_FALSE(video.empty());
    DecodedImage frame = FrameAt(video, 1.5);
    ASSERT_GT(frame.width, 0);
    const int cw = frame.width / 3, ch = frame.height / 3;
    const RECT centre = {cw, ch, 2 * cw, 2 * ch};
    const RECT whole = {0, 0, frame.width, frame.height};
    Found text = FindPixels(frame, whole, IsRed, mainRect);
    EXPECT_GT(text.count, 200) << "the caption's letters";
    EXPECT_GE(text.box.left, centre.left);
    EXPECT_GE(text.box.top, centre.top);
    EXPECT_LE(text.box.right, centre.right);
    EXPECT_LE(text.box.bottom, centre.bottom);
    EXPECT_NEAR(frame.width / 2, (text.box.left + text.box.right) / 2, 20);

    // Removed: saved at once, and the next recording has no caption.
    ASSERT_TRUE(probe_.Click(caption, "remove_caption_btn"));
    EXPECT_TRUE(WaitSetting("Caption", "text", ""));
    EXPECT_EQ("", probe_.Query(caption, "show_text_edit").text);
    {
        WhiteCover white;
        SetCursorPos(5, 5);
        video = Record(save, 2.0, stepAside);
    }
    frame = FrameAt(video, 1.5);
    ASSERT_GT(frame.width, 0);
    EXPECT_EQ(0, FindPixels(frame, whole, IsRed, mainRect).count);
}

TEST_F(CaptureSettingsTest, CaptionTypedJustBeforeTheProgramClosesIsKept)
{
    ASSERT_NE(nullptr, Start());
    HWND caption = OpenFromMain("add_text_rec_btn", "AddCaptionWindow");
    ASSERT_NE(nullptr, caption);
    ASSERT_TRUE(probe_.Type(caption, "show_text_edit", "最后一句"));
    probe_.WaitFor(caption, "show_text_edit",
                   [](const UiControl& c) { return c.text == "最后一句"; });
    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, program_.Wait(30000));
    EXPECT_EQ(u8"最后一句", Setting("Caption", "text"));
}

TEST_F(CaptureSettingsTest, WatermarkChosenInTheDialogIsPreviewedToScaleAndRecordedBottomRight)
{
    const std::string save = PrepareRecordingSettings();
    const std::string wide = work_ + "\\宽水印.png", tall = work_ + "\\tall.png";
    ASSERT_TRUE(WritePicture(wide, 400, 100, Gdiplus::Color(255, 0, 0, 255)));
    ASSERT_TRUE(WritePicture(tall, 100, 400, Gdiplus::Color(255, 0, 0, 255)));
    // A picture the user may only read previews all the same.
    ASSERT_TRUE(SetFileAttributesA(tall.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_NE(nullptr, Start());
    HWND watermark = OpenFromMain("watermark_btn", "ExpandToolWindow");
    ASSERT_NE(nullptr, watermark);
    const RECT frame = probe_.Query(watermark, "show_btn").pos;
    const long boxWidth = frame.right - frame.left - 10, boxHeight = frame.bottom - frame.top - 20;

    ASSERT_TRUE(AnswerNextDialog(main_, "open", true, tall));
    ASSERT_TRUE(probe_.Click(watermark, "add_watermark_btn"));
    UiControl picture = probe_.WaitFor(watermark, "rect_show_btn", [&](const UiControl& c) {
        return Field(c, "bkimage") == tall;
    });
    EXPECT_EQ(tall, picture.fields["bkimage"]);
    EXPECT_EQ(frame.top + 10, picture.pos.top);
    EXPECT_EQ(boxHeight, picture.pos.bottom - picture.pos.top);
    EXPECT_EQ(boxHeight / 4, picture.pos.right - picture.pos.left);
    EXPECT_LE(std::abs((picture.pos.left - frame.left) - (frame.right - picture.pos.right)), 1);
    EXPECT_TRUE(WaitSetting("WaterMarkPath", "path", tall));

    ASSERT_TRUE(AnswerNextDialog(main_, "open", true, wide));
    ASSERT_TRUE(probe_.Click(watermark, "add_watermark_btn"));
    picture = probe_.WaitFor(watermark, "rect_show_btn", [&](const UiControl& c) {
        return Field(c, "bkimage") == wide;
    });
    EXPECT_EQ(wide, picture.fields["bkimage"]);
    EXPECT_EQ(frame.left + 5, picture.pos.left);
    EXPECT_EQ(boxWidth, picture.pos.right - picture.pos.left);
    EXPECT_EQ(boxWidth / 4, picture.pos.bottom - picture.pos.top);
    EXPECT_LE(std::abs((picture.pos.top - frame.top) - (frame.bottom - picture.pos.bottom)), 1);

    // Cancelling the dialog keeps the picture.
    ASSERT_TRUE(AnswerNextDialog(main_, "open", false));
    ASSERT_TRUE(probe_.Click(watermark, "add_watermark_btn"));
    Sleep(500);
    EXPECT_EQ(wide, probe_.Query(watermark, "rect_show_btn").fields["bkimage"]);

    ASSERT_TRUE(probe_.Click(watermark, "bottom3_btn"));
    EXPECT_TRUE(WaitSetting("WaterMarkPath", "position", "8"));
    EXPECT_EQ("00FFFFFF", probe_.Query(watermark, "bottom3_btn").fields["bordercolor"]);
    Sleep(300);
    EXPECT_FALSE(SaveWindowScreenshot(watermark, "watermark_setting").empty());

    std::string video;
    {
        WhiteCover white;
        SetCursorPos(5, 5);
        video = Record(save, 2.0);
    }
    ASSERT_FALSE(video.empty());
    DecodedImage image = FrameAt(video, 1.0);
    ASSERT_GT(image.width, 0);
    Found mark = FindPixels(image, RECT{0, 0, image.width, image.height}, IsBlue);
    EXPECT_NEAR(400 * 100, mark.count, 2000);
    EXPECT_NEAR(400, mark.box.right - mark.box.left, 4);
    EXPECT_NEAR(100, mark.box.bottom - mark.box.top, 4);
    EXPECT_GE(mark.box.left, image.width * 2 / 3 - 200);
    EXPECT_GE(mark.box.top, image.height * 2 / 3);
    EXPECT_GE(mark.box.right, image.width - 40);
    EXPECT_GE(mark.box.bottom, image.height - 40);

    // Removed: the preview empties and nothing is stored.
    ASSERT_TRUE(probe_.Click(watermark, "remove_watermark_btn"));
    EXPECT_TRUE(WaitSetting("WaterMarkPath", "path", ""));
    EXPECT_EQ("", probe_.Query(watermark, "rect_show_btn").fields["bkimage"]);
    SetFileAttributesA(tall.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CaptureSettingsTest, CursorHighlightSizeAndColoursShowInTheNextRecording)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    // Opened at the point of the click.
    RECT button = Control("cursor_setting_btn").pos;
    const POINT click =
        ScreenPoint(main_, POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    HWND cursor = OpenFromMain("cursor_setting_btn", "CursorSettingWindow");
    ASSERT_NE(nullptr, cursor);
    EXPECT_EQ(click.x, TopLeft(cursor).x);
    EXPECT_EQ(click.y, TopLeft(cursor).y);
    EXPECT_EQ("48像素", probe_.Query(cursor, "selcursor_size_combox").text);
    EXPECT_EQ("1", probe_.Query(cursor, "rec_cursor_check").fields["selected"]);

    ASSERT_TRUE(probe_.Select(cursor, "selcursor_size_combox", "64像素"));
    EXPECT_TRUE(WaitSetting("highter_cursor", "size", "0"));
    ASSERT_TRUE(probe_.Select(cursor, "selcursor_size_combox", "48像素"));
    EXPECT_TRUE(WaitSetting("highter_cursor", "size", "1"));

    ASSERT_TRUE(AnswerNextDialog(main_, "color", true, "", RGB(255, 0, 0)));
    ASSERT_TRUE(probe_.Click(cursor, "sel_color_btn"));
    EXPECT_TRUE(WaitSetting("highter_cursor", "color", "255"));  // 0x0000FF
    EXPECT_EQ("FFFF0000", probe_.Query(cursor, "sel_color_btn").fields["bkcolor"]);
    ASSERT_TRUE(AnswerNextDialog(main_, "color", true, "", RGB(0, 0, 255)));
    ASSERT_TRUE(probe_.Click(cursor, "sel_lbtn_color_btn"));
    EXPECT_TRUE(WaitSetting("add_click_effect", "lbtn_color", std::to_string(0xFF0000)));
    EXPECT_EQ("FF0000FF", probe_.Query(cursor, "sel_lbtn_color_btn").fields["bkcolor"]);
    // The right button's colour as the configuration has none: blue.
    EXPECT_EQ("FF0000FF", probe_.Query(cursor, "sel_rbtn_color_btn").fields["bkcolor"]);
    Sleep(300);
    EXPECT_FALSE(SaveWindowScreenshot(cursor, "cursor_setting").empty());
    ASSERT_TRUE(probe_.Click(cursor, "closebtn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(cursor); }, 5000));

    const POINT at = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    std::string video;
    {
        WhiteCover white;
        SetCursorPos(at.x, at.y);
        video = Record(save, 2.5, [] {
            // A real click, through the mouse hook of the recording, a
            // second into the video: its first half second is before it.
            INPUT in[2] = {};
            in[0].type = in[1].type = INPUT_MOUSE;
            in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            SendInput(2, in, sizeof(INPUT));
        });
    }
    ASSERT_FALSE(video.empty());
    const int reach = 60;
    const RECT around = {at.x - reach, at.y - reach, at.x + reach, at.y + reach};
    std::vector<DecodedImage> frames = Frames(video, 10, around);
    ASSERT_GE(frames.size(), 25u);
    // Before the click: a red disc 48 px across around the cursor's point
    // (the cursor itself lies to the bottom-right of it).
    Found disc = FindPixels(frames[5], RECT{0, 0, 2 * reach, 2 * reach}, IsRed);
    EXPECT_GT(disc.count, 500);
    EXPECT_NEAR(reach - 24, disc.box.left, 3);
    EXPECT_NEAR(reach - 24, disc.box.top, 3);
    EXPECT_NEAR(reach + 24, disc.box.right, 3);
    EXPECT_NEAR(reach + 24, disc.box.bottom, 3);
    // After it: blue rings around the point.
    int ringFrames = 0;
    for (const DecodedImage& f : frames) {
        Found ring = FindPixels(f, RECT{reach - 24, reach - 24, reach + 24, reach + 24}, IsBlue);
        if (ring.count > 20) ++ringFrames;
    }
    EXPECT_GE(ringFrames, 3);
    EXPECT_EQ(0, FindPixels(frames[5], RECT{0, 0, 2 * reach, 2 * reach}, IsBlue).count)
        << "no ring before the click";
}

TEST_F(CaptureSettingsTest, TimedStartRefusesBadFieldsAndStartsTheRecordingWhenItsTimeComes)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    RECT button = Control("coutdown_setting_btn").pos;
    const POINT corner = ScreenPoint(main_, POINT{button.left, button.top});
    HWND timer = OpenFromMain("coutdown_setting_btn", "CountdownSettingWindow");
    ASSERT_NE(nullptr, timer);
    EXPECT_EQ(corner.x, TopLeft(timer).x);
    EXPECT_EQ(corner.y, TopLeft(timer).y);
    EXPECT_EQ("00", probe_.Query(timer, "second").text);

    Retype(timer, "hour", "1a");
    ASSERT_TRUE(probe_.Click(timer, "ok_btn"));
    EXPECT_EQ("不能接受的字符，您只能在此处输入数字!", AnswerMessageBox());
    EXPECT_TRUE(IsWindow(timer));
    Retype(timer, "hour", "");
    Retype(timer, "minin", "60");
    ASSERT_TRUE(probe_.Click(timer, "ok_btn"));
    EXPECT_EQ("请输入0-59之间的整数!", AnswerMessageBox());
    EXPECT_TRUE(IsWindow(timer));
    EXPECT_FALSE(Control("show_count_down_btn").shown);

    Retype(timer, "minin", "0");
    Retype(timer, "second", "3");
    Sleep(300);
    EXPECT_FALSE(SaveWindowScreenshot(timer, "countdown_setting").empty());
    ASSERT_TRUE(probe_.Click(timer, "ok_btn"));
    const DWORD armed = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(timer); }, 5000));
    EXPECT_TRUE(WaitShown("show_count_down_btn", true));
    EXPECT_FALSE(Control("stop_record_btn").shown);
    ASSERT_TRUE(probe_.WaitFor(main_, "stop_record_btn", [](const UiControl& c) { return c.shown; },
                               10000)
                    .shown);
    const DWORD started = GetTickCount() - armed;
    EXPECT_GE(started, 2500u);
    EXPECT_LE(started, 5500u);

    // While it records, a timed start would come to nothing: it is refused.
    RestoreMain();
    timer = OpenFromMain("coutdown_setting_btn", "CountdownSettingWindow");
    ASSERT_NE(nullptr, timer);
    Retype(timer, "second", "2");
    ASSERT_TRUE(probe_.Click(timer, "ok_btn"));
    EXPECT_EQ("正在录制，请停止录制后再设置自动开始录制!", AnswerMessageBox());
    EXPECT_TRUE(IsWindow(timer));
    ASSERT_TRUE(probe_.Click(timer, "closebtn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(timer); }, 5000));

    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    EXPECT_TRUE(WaitShown("begin_record_btn", true));
    EXPECT_FALSE(NewVideo(save, 0).empty());
    // Nothing armed starts a second recording.
    Sleep(3000);
    EXPECT_TRUE(Control("begin_record_btn").shown);
    EXPECT_EQ(1u, VideosIn(save).size());
}

TEST_F(CaptureSettingsTest, AutoStopArmedDuringARecordingStopsItAndItsActionNeedsOk)
{
    const std::string save = PrepareRecordingSettings();
    ASSERT_NE(nullptr, Start());
    // "退出程序" chosen, then cancelled: it must not come back later.
    HWND stop = OpenFromMain("auto_stop_rec_btn", "AudoStopSettingWindow");
    ASSERT_NE(nullptr, stop);
    EXPECT_EQ("  什么也不做", probe_.Query(stop, "selectcombox").text);
    ASSERT_TRUE(probe_.Select(stop, "selectcombox", "  退出程序"));
    ASSERT_TRUE(probe_.Click(stop, "closebtn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(stop); }, 5000));

    // Armed while recording, with the combo left alone: the recording stops
    // by itself and the program stays.
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    RestoreMain();
    stop = OpenFromMain("auto_stop_rec_btn", "AudoStopSettingWindow");
    ASSERT_NE(nullptr, stop);
    Retype(stop, "second", "3");
    ASSERT_TRUE(probe_.Click(stop, "ok_btn"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(stop); }, 5000));
    EXPECT_TRUE(WaitShown("show_auto_stop_btn", true));
    EXPECT_TRUE(probe_.WaitFor(main_, "begin_record_btn", [](const UiControl& c) { return c.shown; },
                               15000)
                    .shown);
    const std::string first = NewVideo(save, 0);
    ASSERT_FALSE(first.empty());
    EXPECT_NEAR(3.0, atof(Probe(first, "v:0", "duration")["duration"].c_str()), 0.8);
    EXPECT_TRUE(WaitShown("show_auto_stop_btn", false));
    Sleep(2000);
    EXPECT_TRUE(program_.Running());

    // Now with "退出程序": the recording is saved, then the program ends.
    PostMessageA(main_, WM_HOTKEY, 1, MAKELPARAM(0, VK_F7));
    ASSERT_TRUE(WaitShown("stop_record_btn", true));
    RestoreMain();
    stop = OpenFromMain("auto_stop_rec_btn", "AudoStopSettingWindow");
    ASSERT_NE(nullptr, stop);
    Retype(stop, "second", "4");
    ASSERT_TRUE(probe_.Select(stop, "selectcombox", "  退出程序"));
    Sleep(300);
    EXPECT_FALSE(SaveWindowScreenshot(stop, "auto_stop_setting").empty());
    ASSERT_TRUE(probe_.Click(stop, "ok_btn"));
    EXPECT_EQ(0, program_.Wait(60000));
    std::vector<std::string> videos = VideosIn(save);
    ASSERT_EQ(2u, videos.size());
    std::sort(videos.begin(), videos.end());
    EXPECT_NEAR(4.0, atof(Probe(videos[1], "v:0", "duration")["duration"].c_str()), 0.8);
}

}  // namespace
