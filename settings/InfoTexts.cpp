#include "settings/InfoTexts.h"

#include "settings/UpdateFeed.h"

namespace {

// Entries of the hot-key table by what they do.
const int kStartStopKey = 0;
const int kPauseKey = 1;
const int kFloatBarKey = 2;
const int kGraffitiKey = 3;
const int kZoomKey = 5;

const std::string& KeyText(const HotKeyTable& keys, int index)
{
    return keys.entries[index].vkeystr;
}

}  // namespace

RecDetailLines MakeRecDetailLines(const RecordStatusTexts& status, bool micMuted, bool speakerMuted)
{
    RecDetailLines lines;
    lines.time = "录制时长:" + status.time;
    lines.size = "录制" + status.size;
    lines.frameRate = "帧率:" + status.indexRate;
    lines.audio = std::string(micMuted ? "麦克风:已关闭" : "麦克风:已开启") + " " +
                  (speakerMuted ? ",内录:已关闭" : ",内录:已开启");
    lines.diskSpace = status.diskSpace;
    return lines;
}

std::vector<HotKeyLine> HotKeyStateLines(const HotKeyTable& keys)
{
    return {
        {"lab_shortcut_start_rec", "录制/停止:" + KeyText(keys, kStartStopKey)},
        {"lab_shortcut_pause_rec", "暂停/恢复:" + KeyText(keys, kPauseKey)},
        {"lab_shortcut_real_graffiti", "实时涂鸦:" + KeyText(keys, kGraffitiKey)},
        {"lab_shortcut_hideshow_floatwnd", "隐藏/显示悬浮窗:" + KeyText(keys, kFloatBarKey)},
        {"lab_shortcut_zoom_onrecord", "录制时局部放大:" + KeyText(keys, kZoomKey)},
    };
}

std::string SmallTipText(const HotKeyTable& keys)
{
    // The keys are the user's own: a tip naming a default key the user has
    // moved elsewhere would send them to a key that does nothing.
    const std::string tips[] = {
        "1. 支持同时录制麦克风和系统声音,请根据需求设置",
        "2. " + KeyText(keys, kZoomKey) + " 快速打开局部放大功能",
        "3. " + KeyText(keys, kStartStopKey) + " 为开始/停止录制快捷键",
        "4. " + KeyText(keys, kPauseKey) + " 为暂停/恢复快捷键 ",
        "5. " + KeyText(keys, kGraffitiKey) + " 快速打开实时涂鸦功能",
        "6. 支持添加水印和标题文字",
        "7. 录制文件过大时可以对视频压缩和格式转换",
        "8. 高亮光标与鼠标点击反馈可以根据需要在“光标设置”中进行设置",
        "9. 支持设置自动开始录制与自动停止录制功能",
    };
    std::string text;
    for (const std::string& tip : tips) text += (text.empty() ? "" : "\n\n") + tip;
    return text;
}

std::string AboutSoftText()
{
    std::string version = RunningProgramVersion();
    return "Orbisk 屏幕录像" + (version.empty() ? std::string() : " V" + version) +
           "\n\n"
           "Orbisk 录制整个屏幕、选定的区域或一个窗口，同时录下麦克风和电脑里播放的声音。"
           "录制时可以在屏幕上实时涂鸦、局部放大，也可以在视频里加上水印、标题文字、"
           "高亮光标和鼠标点击效果。\n\n"
           "录好的视频保存在您的视频文件夹里，可以在文件列表中播放、剪辑，"
           "或者压缩转换成 mp4、wmv、flv、gif 等常见格式。\n\n"
           "Orbisk 不收集、不上传您的任何信息，录制的视频和截图只保存在您自己的电脑上。";
}
