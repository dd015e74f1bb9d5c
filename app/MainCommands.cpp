#include "app/MainCommands.h"

#include <cstring>
#include <strings.h>

namespace {

struct ControlCommand {
    const char* name;
    MainCommand command;
};

const ControlCommand kControls[] = {
    {"record_window_btn", MainCommand::RegionPicker},
    {"menubtn", MainCommand::TipsMenu},
    {"cursor_setting_btn", MainCommand::CursorSetting},
    {"update_btn", MainCommand::UpdateLog},
    {"format_convert_btn", MainCommand::FormatConvert},
    {"tyaybtn", MainCommand::ToTray},
    {"camera_open_btn", MainCommand::Camera},
    {"shortcut_setting_btn", MainCommand::KeyboardShortcut},
    {"help_btn", MainCommand::Help},
    {"sel_skin_btn", MainCommand::SelectSkin},
    {"closebtn", MainCommand::Close},
    {"minbtn", MainCommand::Minimize},
    {"begin_record_btn", MainCommand::StartRecording},
    {"stop_record_btn", MainCommand::StopRecording},
    {"pause_record_btn", MainCommand::TogglePause},
    {"pause_change_btn", MainCommand::TogglePause},
    {"cancel_record_btn", MainCommand::CancelRecording},
    {"video_file_btn", MainCommand::VideoList},
    {"record_area_btn", MainCommand::Whiteboard},
    {"capture_screen_btn", MainCommand::Screenshot},
    {"record_fullscreen_btn", MainCommand::FullScreenMode},
    {"microphoneNormal", MainCommand::MicrophoneVolume},
    {"microphoneMute", MainCommand::MicrophoneVolume},
    {"speakerMute", MainCommand::SpeakerVolume},
    {"speakerNormal", MainCommand::SpeakerVolume},
    {"expand_btn", MainCommand::ExpandTool},
    {"watermark_btn", MainCommand::WaterMark},
    {"add_text_rec_btn", MainCommand::Caption},
    {"coutdown_setting_btn", MainCommand::CountdownSetting},
    {"auto_stop_rec_btn", MainCommand::AutoStopSetting},
    {"video_editing_btn", MainCommand::VideoEditor},
    {"show_count_down_btn", MainCommand::TimedStartQuestion},
    {"show_auto_stop_btn", MainCommand::AutoStopQuestion},
};

}  // namespace

MainCommand MainCommandForControl(const char* name)
{
    if (!name) return MainCommand::None;
    for (const ControlCommand& c : kControls)
        if (strcasecmp(c.name, name) == 0) return c.command;
    return MainCommand::None;
}

HotKeyAction HotKeyActionForId(WPARAM id)
{
    switch (id) {
        case 1:
            return HotKeyAction::StartOrStop;
        case 2:
            return HotKeyAction::Pause;
        case 3:
            return HotKeyAction::FloatBar;
        case 4:
            return HotKeyAction::Graffiti;
        case 5:
            return HotKeyAction::ScreenShot;
        case 6:
            return HotKeyAction::Zoom;
        default:
            return HotKeyAction::None;
    }
}

RECT GraffitiArea(const RECT* flashFrame, int screenWidth, int fullScreenHeight)
{
    if (flashFrame) {
        RECT inner = *flashFrame;
        InflateRect(&inner, -4, -4);
        return inner;
    }
    return RECT{0, 0, screenWidth, fullScreenHeight};
}
