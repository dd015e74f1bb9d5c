#include "settings/GuidePages.h"

namespace {

const DWORD kBlack = 0xFF000000;
const DWORD kWhite = 0xFFFFFFFF;

}  // namespace

const char kGuideOpeningTop[] = "感谢您使用Orbisk。";
const char kGuideOpeningBottom[] = "探索Orbisk的最新功能、扩展、提示和技巧以便充分利用它。";
const RECT kGuideOpeningTopRect = {40, 40, 600, 70};
const RECT kGuideOpeningBottomRect = {30, 300, 750, 350};

const std::vector<GuidePage>& GuidePages()
{
    // clang-format off
    static const std::vector<GuidePage> pages = {
        {"guide_mainframe1.jpg", kBlack,
         kGuideOpeningTop, {405, 60, 680, 90},
         kGuideOpeningBottom, {30, 300, 750, 350}},
        {"guide_mainframe2.jpg", kWhite,
         "旨在帮助你更有效率的录制一切。", {50, 20, 650, 70},
         "我们从头开始构建了这款纯净、现代、易于操作的录屏工具。", {50, 60, 650, 110}},
        {"guide_float_wnd.jpg", kBlack,
         "悬浮窗设计，实时掌控录制状态。", {70, 40, 600, 100},
         "录制操作更加便捷，得心应手。", {200, 300, 800, 350}},
        {"guide_video_editor.jpg", kWhite,
         "图形化的视频剪切界面。", {100, 50, 600, 100},
         "无损剪切，更加精准。", {300, 250, 900, 300}},
        {"guide_wnd_model.jpg", kWhite,
         "窗口录制。", {100, 80, 600, 130},
         "录制课程，录制PPT并可实时涂鸦。", {310, 220, 910, 270}},
        {"guide_custom_skin.jpg", kWhite,
         "精美皮肤，不止于简洁好用。", {70, 30, 670, 80},
         "提供多款精美皮肤，同时也支持自定义皮肤。", {246, 300, 846, 350}},
        {"guide_convert_format.jpg", kWhite,
         "格式压缩转换功能。", {370, 30, 970, 60},
         "支持所有主流格式的视频压缩转换功能。", {25, 300, 605, 350}},
        {"guide_realtime_graffiti.jpg", kWhite,
         "告别录制时无法书写的烦恼。", {50, 30, 650, 80},
         "实时涂鸦，边录制，边书写。", {256, 310, 856, 340}},
        {"guide_game_model.jpg", kWhite,
         "充满速度与激情的震撼场景，", {50, 30, 650, 80},
         "使用游戏模式，带来极速流畅的录制体验！", {256, 310, 856, 340}},
    };
    // clang-format on
    return pages;
}
