#include "app/MainFrameTexts.h"

std::string BuildCoverText(const std::string& graffitiKeyText, int recMode,
                           const std::string& status)
{
    std::string hint =
        recMode == 0
            ? "\n “游戏模式”更流畅，可在右下角 “设置->录屏->录制模式”中设置。\r\n\r\n"
            : "\n “通用模式”平衡了录制文件大小与流畅度，可在右下角 “设置->录屏->录制模式”中设置。"
              "\r\n\r\n\r\n";
    return "\r\n\r\n\r\n\r\n通过快捷键" + graffitiKeyText +
           "和悬浮窗的画笔，可以实现实时涂鸦功能；\n" + hint + status;
}

std::string BuildRecordingTrayTip(const std::string& time, const std::string& size)
{
    return "录制时长:" + time + size;
}

std::string SkinBackgroundFromConfig(const std::string& selectSkin, bool isUserImg,
                                     const std::string& programFolder)
{
    if (!isUserImg) return selectSkin;
    return programFolder + "\\res\\skin\\" + selectSkin;
}
