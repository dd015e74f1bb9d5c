#include <gtest/gtest.h>

#include "app/MainFrameTexts.h"

TEST(MainFrameTexts, CoverTextNamesTheGraffitiKeyTheModeAndTheStatus)
{
    const std::string lead = "\r\n\r\n\r\n\r\n通过快捷键F9和悬浮窗的画笔，可以实现实时涂鸦功能；\n";
    EXPECT_EQ(lead +
                  "\n “游戏模式”更流畅，可在右下角 "
                  "“设置->录屏->录制模式”中设置。\r\n\r\n正在保存，请稍后...",
              BuildCoverText("F9", 0, "正在保存，请稍后..."));
    for (int mode : {1, 2})
        EXPECT_EQ(
            lead +
                "\n “通用模式”平衡了录制文件大小与流畅度，可在右下角 “设置->录屏->录制模式”中设置。"
                "\r\n\r\n\r\n",
            BuildCoverText("F9", mode, ""));
}

TEST(MainFrameTexts, TrayTipJoinsTimeAndSize)
{
    EXPECT_EQ("录制时长:00:01:05 大小: 1.25 Mb",
              BuildRecordingTrayTip("00:01:05 ", "大小: 1.25 Mb"));
}

TEST(MainFrameTexts, SkinBackgroundIsANameOrAUserSkinPath)
{
    EXPECT_EQ("mainui_back7.png", SkinBackgroundFromConfig("mainui_back7.png", false, "C:\\P"));
    EXPECT_EQ("C:\\P\\res\\skin\\20261207_0805_09.png",
              SkinBackgroundFromConfig("20261207_0805_09.png", true, "C:\\P"));
}
