// The main window's command table and the choices around its hot keys.
#include <gtest/gtest.h>

#include "core/MainCommands.h"

namespace {

TEST(MainCommands, ControlsMapToTheirCommandsWhateverTheCase)
{
    const struct {
        const char* name;
        MainCommand command;
    } cases[] = {
        {"begin_record_btn", MainCommand::StartRecording},
        {"BEGIN_RECORD_BTN", MainCommand::StartRecording},
        {"stop_record_btn", MainCommand::StopRecording},
        {"pause_record_btn", MainCommand::TogglePause},
        {"Pause_Change_Btn", MainCommand::TogglePause},
        {"cancel_record_btn", MainCommand::CancelRecording},
        {"record_window_btn", MainCommand::RegionPicker},
        {"record_area_btn", MainCommand::Whiteboard},
        {"record_fullscreen_btn", MainCommand::FullScreenMode},
        {"capture_screen_btn", MainCommand::Screenshot},
        {"microphonemute", MainCommand::MicrophoneVolume},
        {"microphoneNormal", MainCommand::MicrophoneVolume},
        {"speakerMute", MainCommand::SpeakerVolume},
        {"speakerNormal", MainCommand::SpeakerVolume},
        {"coutdown_setting_btn", MainCommand::CountdownSetting},
        {"auto_stop_rec_btn", MainCommand::AutoStopSetting},
        {"show_count_down_btn", MainCommand::TimedStartQuestion},
        {"show_auto_stop_btn", MainCommand::AutoStopQuestion},
        {"video_file_btn", MainCommand::VideoList},
        {"video_editing_btn", MainCommand::VideoEditor},
        {"format_convert_btn", MainCommand::FormatConvert},
        {"tyaybtn", MainCommand::ToTray},
        {"minbtn", MainCommand::Minimize},
        {"closebtn", MainCommand::Close},
        {"menubtn", MainCommand::TipsMenu},
        {"expand_btn", MainCommand::ExpandTool},
        // Not commands.
        {"assistant_btn", MainCommand::None},
        {"record_time_lb", MainCommand::None},
        {"", MainCommand::None},
        {"begin_record_btn ", MainCommand::None},
        {nullptr, MainCommand::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.command, MainCommandForControl(c.name)) << (c.name ? c.name : "(null)");
}

TEST(MainCommands, OnlyHotKeyIdsOneToSixAct)
{
    EXPECT_EQ(HotKeyAction::None, HotKeyActionForId(0));
    EXPECT_EQ(HotKeyAction::StartOrStop, HotKeyActionForId(1));
    EXPECT_EQ(HotKeyAction::Pause, HotKeyActionForId(2));
    EXPECT_EQ(HotKeyAction::FloatBar, HotKeyActionForId(3));
    EXPECT_EQ(HotKeyAction::Graffiti, HotKeyActionForId(4));
    EXPECT_EQ(HotKeyAction::ScreenShot, HotKeyActionForId(5));
    EXPECT_EQ(HotKeyAction::Zoom, HotKeyActionForId(6));
    EXPECT_EQ(HotKeyAction::None, HotKeyActionForId(7));
    EXPECT_EQ(HotKeyAction::None, HotKeyActionForId((WPARAM)-1));
}

TEST(MainCommands, GraffitiDrawsInsideTheFlashFrameOrOverTheScreen)
{
    RECT flash = {100, 50, 900, 650};
    RECT inside = GraffitiArea(&flash, 1280, 770);
    EXPECT_EQ(104, inside.left);
    EXPECT_EQ(54, inside.top);
    EXPECT_EQ(896, inside.right);
    EXPECT_EQ(646, inside.bottom);

    RECT screen = GraffitiArea(nullptr, 1280, 770);
    EXPECT_EQ(0, screen.left);
    EXPECT_EQ(0, screen.top);
    EXPECT_EQ(1280, screen.right);
    EXPECT_EQ(770, screen.bottom);
}

}  // namespace
