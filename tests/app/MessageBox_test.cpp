// The program's message box, shown modally in this process while a helper
// thread reads and clicks its controls through the UI probe.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "UiProbe.h"
#include "app/MessageBoxWindow.h"

#include <functional>
#include <thread>

using testkit::UiControl;
using testkit::UiProbe;

namespace {

DuiLib::CDuiString TestSkin()
{
    return "mainui_back7.png";
}

class MessageBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
        DuiLib::WindowImplBase::SetSkinBackgroundHook(TestSkin);
    }

    // Shows a box modally; `act` runs on a helper thread with the box's
    // window once it is up. Returns what Ask returned.
    int Run(const std::string& ok, const std::string& no, const std::string& cancel,
            std::function<void(HWND, UiProbe&)> act)
    {
        std::thread helper([&] {
            UiProbe probe;
            HWND box =
                testkit::WaitForWindow("MessageBoxWindow", nullptr, 10000, GetCurrentProcessId());
            ASSERT_NE(nullptr, box);
            // The buttons get their captions at "windowinit".
            probe.WaitFor(box, "showtext", [](const UiControl& c) { return !c.text.empty(); });
            act(box, probe);
        });
        int result =
            MessageBoxWindow::Ask(nullptr, "提示", "是否取消本次倒计时功能？", ok, no, cancel);
        helper.join();
        EXPECT_EQ(nullptr, FindWindowA("MessageBoxWindow", nullptr)) << "the box is gone";
        return result;
    }
};

TEST_F(MessageBoxTest, EachButtonAnswersWithItsPosition)
{
    const struct {
        const char* button;
        int result;
    } cases[] = {{"ok_btn", 0}, {"no_btn", 1}, {"cancle_btn", 2}, {"closebtn", 3}, {"no_btn", 1}};
    for (const auto& c : cases) {
        int result = Run("确定", "否", "是", [&](HWND box, UiProbe& probe) {
            EXPECT_TRUE(probe.Click(box, c.button)) << c.button;
        });
        EXPECT_EQ(c.result, result) << c.button;
        EXPECT_EQ(c.result, MessageBoxResult) << c.button;
    }
}

TEST_F(MessageBoxTest, ShowsItsTextsAndHidesButtonsWithoutCaption)
{
    Run("知道了", "", "", [](HWND box, UiProbe& probe) {
        EXPECT_EQ("提示", probe.Query(box, "title").text);
        EXPECT_EQ("是否取消本次倒计时功能？", probe.Query(box, "showtext").text);
        UiControl ok = probe.Query(box, "ok_btn");
        EXPECT_TRUE(ok.shown);
        EXPECT_EQ("知道了", ok.text);
        // Still at its place in the button row, not centred.
        UiControl row = probe.Query(box, "root_layout");
        EXPECT_EQ(130, ok.pos.left - row.pos.left);
        EXPECT_FALSE(probe.Query(box, "no_btn").shown);
        EXPECT_FALSE(probe.Query(box, "cancle_btn").shown);
        EXPECT_EQ(DuiLib::WindowImplBase::TiledSkinImage("mainui_back7.png").Str(),
                  probe.Query(box, "root_layout").fields["bkimage"]);
        RECT rc;
        GetWindowRect(box, &rc);
        EXPECT_EQ(350, rc.right - rc.left);
        EXPECT_EQ(160, rc.bottom - rc.top);
        EXPECT_FALSE(testkit::SaveWindowScreenshot(box, "message_box").empty());
        EXPECT_TRUE(probe.Click(box, "ok_btn"));
    });
}

TEST_F(MessageBoxTest, ClosedWithoutAButtonNeverReusesTheLastAnswer)
{
    // "是" first, then a box closed by Alt+F4 and one by the system menu.
    Run("", "否", "是", [](HWND box, UiProbe& probe) { probe.Click(box, "cancle_btn"); });
    ASSERT_EQ(2, MessageBoxResult);
    EXPECT_EQ(3, Run("", "否", "是",
                     [](HWND box, UiProbe&) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }));
    Run("", "否", "是", [](HWND box, UiProbe& probe) { probe.Click(box, "cancle_btn"); });
    EXPECT_EQ(3,
              Run("", "否", "是", [](HWND box, UiProbe&) { PostMessageA(box, WM_CLOSE, 0, 0); }));
}

}  // namespace
