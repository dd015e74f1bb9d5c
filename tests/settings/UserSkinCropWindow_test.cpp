// A user skin made in the real Orbisk.exe under Wine: a big picture chosen
// through the chooser's "自定义...", cropped in the crop window on a
// 1920 x 1080 desktop, saved, worn at once and offered in the chooser.
#include "ProgramTestFixture.h"

#include <gdiplus.h>
#include <tinyxml.h>

#include <cstdlib>
#include <set>

namespace {

using namespace programtest;

const unsigned kLeftColour = 0xE6781E;   // the picture's left half
const unsigned kRightColour = 0x288CDC;  // and its right half

bool Near(unsigned a, unsigned b, int tolerance)
{
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

// What the screen shows at a point, as 0xRRGGBB.
unsigned ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return ((unsigned)GetRValue(c) << 16) | ((unsigned)GetGValue(c) << 8) | GetBValue(c);
}

bool WriteHalvesPicture(const std::string& path, int w, int h)
{
    GdiplusScope gdiplus;
    Gdiplus::Bitmap bitmap(w, h, PixelFormat24bppRGB);
    Gdiplus::Graphics g(&bitmap);
    Gdiplus::SolidBrush left(Gdiplus::Color(255, 0xE6, 0x78, 0x1E));
    Gdiplus::SolidBrush right(Gdiplus::Color(255, 0x28, 0x8C, 0xDC));
    g.FillRectangle(&left, 0, 0, w / 2, h);
    g.FillRectangle(&right, w / 2, 0, w - w / 2, h);
    CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    return bitmap.Save(wide, &png, nullptr) == Gdiplus::Ok;
}

std::set<std::string> SkinFiles(const std::string& folder)
{
    std::set<std::string> found;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*.png").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return found;
    do found.insert(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return found;
}

std::string SkinSetting(const std::string& config, const char* attribute)
{
    TiXmlDocument d;
    std::string text = ReadFile(config);
    d.Parse(text.c_str());
    TiXmlElement* root = d.FirstChildElement("vintracfg");
    TiXmlElement* e = root ? root->FirstChildElement("SelectSkin") : nullptr;
    const char* v = e ? e->Attribute(attribute) : nullptr;
    return v ? v : "";
}

class UserSkinCropTest : public ProgramTest {
protected:
    void TearDown() override
    {
        ProgramTest::TearDown();
        // The program folder is shared by every test: only what this one
        // made goes.
        if (!listed_) return;
        for (const std::string& name : SkinFiles(skins_))
            if (!before_.count(name)) DeleteFileA((skins_ + "\\" + name).c_str());
    }

    std::string skins_ = ProgramDir() + "\\res\\skin";
    std::set<std::string> before_;
    bool listed_ = false;
};

// The crop window sizes itself by the desktop: the test runs again in a
// 1920 x 1080 Wine desktop of its own, where the program it starts runs too.
// That desktop gets an X screen as large (Wine reads the screen back from
// the X server, which has no pixels for a part of a desktop off its screen,
// so every grab there came back black) and a Wine server of its own: the
// size of a desktop is the display mode of every desktop of its server, so
// on the seat's server the tests after this one would record a 1920 x 1080
// screen on a 1280 x 800 X display. The second server shares the seat's
// drive C: (the program, the child's result) and copies its registry.
// Explorer starts the child with no handles of its own, so the child's
// printed output never reaches this side: it reports through a result file,
// and explorer's own exit follows the last program leaving its desktop.
// Whatever way the shell ends, the second server ends every program it
// still runs and the X server goes.
TEST_F(UserSkinCropTest, APictureCroppedInTheCropWindowBecomesTheSkinAtOnce)
{
    if (!getenv("ORBISK_TEST_BIG_DESKTOP")) {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        const std::string result = work_ + "\\child.xml";
        // Windows paths: explorer's own current folder decides what a Unix
        // path would mean to it.
        LinuxResult child = RunLinux(
            "seat=$WINEPREFIX\nexport WINEPREFIX=" + ShellQuote(UnixPath(work_ + "\\prefix")) +
                "\nmkdir -p \"$WINEPREFIX/dosdevices\" || exit 1\n"
                "xvfb=\ntrap 'timeout 30 wineserver -k; [ -z \"$xvfb\" ] || kill $xvfb; "
                "rm -f \"$WINEPREFIX\"/dosdevices/*; rm -rf \"$WINEPREFIX\"' EXIT\n"
                "for f in system.reg user.reg userdef.reg .update-timestamp; do "
                "cp \"$seat/$f\" \"$WINEPREFIX/\" || exit 1; done\n"
                "ln -s \"$(cd \"$seat/drive_c\" && pwd)\" \"$WINEPREFIX/dosdevices/c:\"\n"
                "ln -s / \"$WINEPREFIX/dosdevices/z:\"\n"
                "Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -ac "
                "3>\"$WINEPREFIX/display\" >\"$WINEPREFIX/xvfb.txt\" 2>&1 &\n"
                "xvfb=$!\n"
                "for i in $(seq 400); do [ -s \"$WINEPREFIX/display\" ] && break; sleep 0.05; done\n"
                "DISPLAY=:$(cat \"$WINEPREFIX/display\") " + WineLocaleVariables() +
                " ORBISK_TEST_BIG_DESKTOP=1 timeout 200 wine explorer "
                "/desktop=orbisk-skin-crop,1920x1080 " +
                ShellQuote(self) + " --gtest_filter=UserSkinCropTest.* " +
                ShellQuote("--gtest_output=xml:" + result) + " > " +
                ShellQuote(UnixPath(work_ + "\\child.txt")) + " 2>&1",
            260000);
        const std::string report = ReadFile(result);
        EXPECT_EQ(0, child.exitCode) << ReadFile(work_ + "\\child.txt");
        TiXmlDocument d;
        d.Parse(report.c_str());
        const TiXmlElement* suites = d.FirstChildElement("testsuites");
        ASSERT_NE(nullptr, suites) << "no result from the child: " << report;
        EXPECT_STREQ("1", suites->Attribute("tests")) << report;
        EXPECT_STREQ("0", suites->Attribute("failures")) << report;
        EXPECT_STREQ("0", suites->Attribute("errors")) << report;
        return;
    }
    ASSERT_EQ(1920, GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(1080, GetSystemMetrics(SM_CYSCREEN));
    CreateDirectoryA((ProgramDir() + "\\res").c_str(), nullptr);
    CreateDirectoryA(skins_.c_str(), nullptr);
    before_ = SkinFiles(skins_);
    listed_ = true;
    const std::string picture = work_ + "\\big picture.png";
    ASSERT_TRUE(WriteHalvesPicture(picture, 3000, 2000));
    WriteFile(config_, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                       "<rec_speaker rec=\"0\" />\n</vintracfg>\n");
    ASSERT_TRUE(Start());

    ASSERT_TRUE(probe_.Click(main_, "sel_skin_btn"));
    HWND chooser = WaitForWindow("SelectSkinWnd", nullptr, 10000, program_.Id());
    ASSERT_NE(nullptr, chooser);
    probe_.WaitFor(chooser, "user_back6", [](const UiControl& c) { return c.shown; });
    ASSERT_TRUE(AnswerNextDialog(main_, "open", true, picture));
    ASSERT_TRUE(probe_.Click(chooser, "user_back6"));
    HWND crop = WaitForWindow("CSelectUserSkinWnd", nullptr, 10000, program_.Id());
    ASSERT_NE(nullptr, crop);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }, 5000)) << "the chooser gives way";

    // 3000 x 2000 on 1920 x 1080: shown at 1619 x 1079, in the middle.
    RECT r = {};
    GetWindowRect(crop, &r);
    EXPECT_EQ(1619, r.right - r.left);
    EXPECT_EQ(1079, r.bottom - r.top);
    EXPECT_EQ((1920 - 1619) / 2, r.left);
    EXPECT_EQ(0, r.top);
    // On the screen: the picture, at full strength inside the box.
    const POINT mid = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    EXPECT_TRUE(WaitUntil(
        [&] {
            return Near(ScreenPixel(mid.x - 200, mid.y - 50), kLeftColour, 12) &&
                   Near(ScreenPixel(mid.x + 200, mid.y - 50), kRightColour, 12);
        },
        10000))
        << std::hex << ScreenPixel(mid.x - 200, mid.y - 50);
    EXPECT_FALSE(SaveWindowScreenshot(crop, "select_user_skin_wnd").empty());

    // The first release takes the box up; a double click saves it.
    const LPARAM middle = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    PostMessageA(crop, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageA(crop, WM_LBUTTONUP, 0, middle);
    EXPECT_TRUE(probe_.WaitFor(crop, "desktopcanvascontainer",
                               [](const UiControl& c) { return c.shown; }).shown);
    // The pointer rests in the box, as it does before a double click: the
    // box's tooltip comes up over the picture, and stays no part of it.
    SetCursorPos(mid.x - 150, mid.y - 40);
    const RECT box = {mid.x - 275, mid.y - 75, mid.x + 275, mid.y + 75};
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (HWND w : WindowsOfProcess(program_.Id())) {
                char cls[64] = {};
                RECT tip = {}, over = {};
                GetClassNameA(w, cls, sizeof cls);
                if (lstrcmpiA(cls, "tooltips_class32") == 0 && IsWindowVisible(w) &&
                    GetWindowRect(w, &tip) && IntersectRect(&over, &tip, &box))
                    return true;
            }
            return false;
        },
        10000))
        << "the box's tooltip over the picture";
    PostMessageA(crop, WM_LBUTTONDBLCLK, MK_LBUTTON, middle);
    PostMessageA(crop, WM_LBUTTONUP, 0, middle);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(crop); }, 15000));

    std::string made;
    for (const std::string& name : SkinFiles(skins_))
        if (!before_.count(name)) made = name;
    ASSERT_FALSE(made.empty()) << "a new skin file in " << skins_;
    const std::string path = skins_ + "\\" + made;
    DecodedImage skin = DecodeImage(path);
    ASSERT_EQ(546, skin.width);
    ASSERT_EQ(146, skin.height);
    // Only the picture: its two halves (and the few mixed columns where
    // they meet), nothing of the dark cover or the box's frame.
    int foreign = 0;
    for (int y = 0; y < skin.height; ++y)
        for (int x = 0; x < skin.width; ++x) {
            const unsigned p = skin.At(x, y);
            if (!Near(p, kLeftColour, 12) && !Near(p, kRightColour, 12)) ++foreign;
        }
    EXPECT_LE(foreign, 4 * skin.height) << "pixels that are neither half";
    EXPECT_TRUE(Near(skin.At(2, 70), kLeftColour, 12));
    EXPECT_TRUE(Near(skin.At(543, 70), kRightColour, 12));

    // Current at once: kept, worn by the main window, first in the chooser.
    EXPECT_TRUE(WaitUntil([&] { return SkinSetting(config_, "value") == made; }, 5000));
    EXPECT_EQ("1", SkinSetting(config_, "isUserImg"));
    EXPECT_EQ(path, Frame()["skin"]);
    EXPECT_EQ(path, Control("main_layout").fields["bkimage"]);
    EXPECT_FALSE(SaveWindowScreenshot(main_, "main_frame_user_skin").empty());
    ASSERT_TRUE(probe_.Click(main_, "sel_skin_btn"));
    chooser = WaitForWindow("SelectSkinWnd", nullptr, 10000, program_.Id());
    ASSERT_NE(nullptr, chooser);
    EXPECT_EQ(path, probe_.WaitFor(chooser, "user_back1", [&](const UiControl& c) {
                              return c.fields.at("bkimage") == path;
                          }).fields["bkimage"]);
}

}  // namespace
