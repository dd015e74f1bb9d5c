// The test probe across processes: ui_demo.exe is started, its controls are
// read and clicked by name, its window is photographed for people to look
// at (build/screenshots/ui_test_window.png), and it is closed by its button.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "UiProbe.h"
#include "UiTestUtil.h"

namespace {

std::string TestBinDir()
{
    char buf[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buf, MAX_PATH);
    std::string path = buf;
    return path.substr(0, path.find_last_of('\\'));
}

std::string BuildDir()
{
    std::string bin = TestBinDir();
    return bin.substr(0, bin.find_last_of('\\'));
}

// Photographs a screen rectangle with ImageMagick on the X server.
bool Screenshot(const RECT& rc, const std::string& windowsPath)
{
    char display[64] = {};
    GetEnvironmentVariableA("DISPLAY", display, sizeof display);
    char crop[96];
    snprintf(crop, sizeof crop, "%ldx%ld+%ld+%ld", rc.right - rc.left, rc.bottom - rc.top, rc.left,
             rc.top);
    std::string cmd = std::string(display[0] ? "DISPLAY=" + std::string(display) + " " : "") +
                      "import -window root -crop " + crop + " +repage " +
                      testkit::ShellQuote(testkit::UnixPath(windowsPath));
    testkit::LinuxResult r = testkit::RunLinux(cmd, 30000);
    return r.exitCode == 0;
}

}  // namespace

TEST(UiProbe, ReadsAndClicksControlsOfAnotherProcess)
{
    testkit::Process demo;
    ASSERT_TRUE(demo.Start(TestBinDir() + "\\ui_demo.exe"));
    HWND h = testkit::WaitForWindow("OrbiskUiDemo", nullptr, 15000, demo.Id());
    ASSERT_TRUE(h);
    testkit::UiProbe probe;

    testkit::UiControl greeting =
        probe.WaitFor(h, "greeting", [](const testkit::UiControl& c) { return c.found; });
    ASSERT_TRUE(greeting.answered);
    ASSERT_TRUE(greeting.found);
    EXPECT_TRUE(greeting.shown);
    EXPECT_TRUE(greeting.enabled);
    EXPECT_EQ("你好，世界！这是测试窗口。", greeting.text);
    EXPECT_EQ("LabelUI", greeting.fields["class"]);
    // Below the 32-pixel title bar, inside the body's 14,12 inset.
    EXPECT_EQ(14, greeting.pos.left);
    EXPECT_EQ(44, greeting.pos.top);
    EXPECT_EQ(406, greeting.pos.right);
    EXPECT_EQ(68, greeting.pos.bottom);

    testkit::UiControl nothing = probe.Query(h, "no_such_control");
    EXPECT_TRUE(nothing.answered);
    EXPECT_FALSE(nothing.found);
    EXPECT_FALSE(probe.Click(h, "no_such_control"));
    EXPECT_FALSE(probe.Query(h, "disabled_btn").enabled);
    EXPECT_EQ("1", probe.Query(h, "opt_a").fields["selected"]);
    EXPECT_EQ("关闭窗口", probe.Query(h, "closebtn").fields["tooltip"]);

    // A picture for people: build/screenshots/ui_test_window.png.
    SetForegroundWindow(h);
    Sleep(300);
    RECT rc;
    GetWindowRect(h, &rc);
    std::string shots = BuildDir() + "\\screenshots";
    CreateDirectoryA(shots.c_str(), nullptr);
    std::string png = shots + "\\ui_test_window.png";
    DeleteFileA(png.c_str());
    ASSERT_TRUE(Screenshot(rc, png));
    std::string bytes = testkit::ReadFile(png);
    std::string why;
    DuiLib::TImageInfo* shot = DuiLib::DecodeImage(bytes.data(), bytes.size(), 0, &why);
    ASSERT_NE(nullptr, shot) << why;
    EXPECT_EQ(420, shot->nX);
    EXPECT_EQ(300, shot->nY);
    auto pixel = [&](int x, int y) {
        return reinterpret_cast<const DWORD*>(shot->pBits)[y * shot->nX + x];
    };
    DWORD title = pixel(60, 4), body = pixel(300, 270);
    EXPECT_GT(title & 0xFF, ((title >> 16) & 0xFF) + 40) << std::hex << title;  // blue bar
    EXPECT_GT((body >> 16) & 0xFF, 200u) << std::hex << body;                   // light body
    DuiLib::FreeImage(shot);

    ASSERT_TRUE(probe.Click(h, "ok_btn"));
    testkit::UiControl status = probe.WaitFor(
        h, "status", [](const testkit::UiControl& c) { return c.text == "已点击确定"; });
    EXPECT_EQ("已点击确定", status.text);

    ASSERT_TRUE(probe.Click(h, "opt_c"));
    status = probe.WaitFor(h, "status",
                           [](const testkit::UiControl& c) { return c.text == "选项丙 已选中"; });
    EXPECT_EQ("选项丙 已选中", status.text);
    EXPECT_EQ("0", probe.Query(h, "opt_a").fields["selected"]);

    ASSERT_TRUE(probe.Click(h, "closebtn"));
    EXPECT_EQ(0, demo.Wait(10000));
}

TEST(UiProbe, TypesChoosesRightClicksAndReadsColours)
{
    testkit::Process demo;
    ASSERT_TRUE(demo.Start(TestBinDir() + "\\ui_demo.exe", "controls"));
    HWND h = testkit::WaitForWindow("OrbiskUiDemo", nullptr, 15000, demo.Id());
    ASSERT_TRUE(h);
    testkit::UiProbe probe;
    ASSERT_TRUE(probe.WaitFor(h, "combo", [](const testkit::UiControl& c) { return c.found; }).found);
    auto statusIs = [&](const std::string& text) {
        return probe.WaitFor(h, "status", [&](const testkit::UiControl& c) { return c.text == text; })
            .text;
    };

    // A combo item by its text, then by its index: each a user's choice.
    ASSERT_TRUE(probe.Select(h, "combo", "流畅 15fps"));
    EXPECT_EQ("选中 流畅 15fps", statusIs("选中 流畅 15fps"));
    EXPECT_EQ("1", probe.Query(h, "combo").fields["cursel"]);
    ASSERT_TRUE(probe.Select(h, "combo", 2));
    EXPECT_EQ("选中 极速 25fps", statusIs("选中 极速 25fps"));
    EXPECT_FALSE(probe.Select(h, "combo", 3));
    EXPECT_FALSE(probe.Select(h, "combo", "没有这一项"));
    EXPECT_EQ("2", probe.Query(h, "combo").fields["cursel"]);

    // Typed into the edit, Enter included; a read-only edit takes nothing.
    ASSERT_TRUE(probe.Type(h, "number_edit", "7"));
    ASSERT_TRUE(probe.Type(h, "edit", "世界\n"));
    std::string typed = probe.WaitFor(h, "status", [](const testkit::UiControl& c) {
                                 return c.text.compare(0, 5, "输入 ") == 0;
                             }).text;
    EXPECT_EQ(0u, typed.find("输入 ")) << typed;
    EXPECT_NE(std::string::npos, typed.find("世界")) << typed;
    EXPECT_NE(std::string::npos, probe.Query(h, "edit").text.find("世界"));
    EXPECT_FALSE(probe.Type(h, "status", "x")) << "a label is no edit";

    // A right click on the list asks for its menu.
    ASSERT_TRUE(probe.RightClick(h, "playlist"));
    EXPECT_EQ("右键 playlist", statusIs("右键 playlist"));

    // Colours as the layout gives them, alpha first.
    EXPECT_EQ("FF2C5A92", probe.Query(h, "status").fields["textcolor"]);
    testkit::UiControl edit = probe.Query(h, "edit");
    EXPECT_EQ("FF8FA6C0", edit.fields["bordercolor"]);
    EXPECT_EQ("FFFFFFFF", edit.fields["bkcolor"]);
    EXPECT_EQ("0", edit.fields["tag"]);

    ASSERT_TRUE(probe.Click(h, "closebtn"));
    EXPECT_EQ(0, demo.Wait(10000));
}

TEST(UiProbe, ReadsRowsValuesAndSelectionsAndDoubleClicksRows)
{
    testkit::Process demo;
    ASSERT_TRUE(demo.Start(TestBinDir() + "\\ui_demo.exe", "controls"));
    HWND h = testkit::WaitForWindow("OrbiskUiDemo", nullptr, 15000, demo.Id());
    ASSERT_TRUE(h);
    testkit::UiProbe probe;

    testkit::UiControl list =
        probe.WaitFor(h, "playlist", [](const testkit::UiControl& c) { return c.found; });
    ASSERT_TRUE(list.found);
    EXPECT_EQ("3", list.fields["count"]);
    EXPECT_EQ("-1", list.fields["cursel"]);
    EXPECT_EQ("会议.avi\t1.00Mb\t\t", list.fields["row.0"]);  // four columns
    EXPECT_EQ("截图.png\t1.00Mb\t\t", list.fields["row.2"]);

    testkit::UiControl slider = probe.Query(h, "slider");
    EXPECT_EQ("35", slider.fields["value"]);
    EXPECT_EQ("0", slider.fields["min"]);
    EXPECT_EQ("100", slider.fields["max"]);
    testkit::UiControl combo = probe.Query(h, "combo");
    EXPECT_EQ("3", combo.fields["count"]);
    EXPECT_EQ("极速 25fps", combo.fields["row.2"]);
    EXPECT_EQ("0", probe.Query(h, "tabs").fields["cursel"]);

    // A row by its list's name and index, double clicked.
    testkit::UiControl row = probe.Query(h, "playlist#1");
    ASSERT_TRUE(row.found);
    EXPECT_EQ("课件.mp4", row.text);
    EXPECT_FALSE(probe.Query(h, "playlist#3").found);
    ASSERT_TRUE(probe.DoubleClick(h, "playlist#1"));
    testkit::UiControl status = probe.WaitFor(
        h, "status", [](const testkit::UiControl& c) { return c.text == "已打开 课件.mp4"; });
    EXPECT_EQ("已打开 课件.mp4", status.text);
    EXPECT_EQ("1", probe.Query(h, "playlist").fields["cursel"]);
    EXPECT_EQ("1", probe.Query(h, "playlist#1").fields["selected"]);

    ASSERT_TRUE(probe.Click(h, "closebtn"));
    EXPECT_EQ(0, demo.Wait(10000));
}
