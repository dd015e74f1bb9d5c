// The main window's command table and the choices around its hot keys.
#include <gtest/gtest.h>

#include "app/MainCommands.h"

namespace {

TEST(MainCommands, NamesMatchWhateverTheCaseAndOnlyWhole)
{
    EXPECT_EQ(MainCommand::StartRecording, MainCommandForControl("BEGIN_RECORD_BTN"));
    EXPECT_EQ(MainCommand::TogglePause, MainCommandForControl("Pause_Change_Btn"));
    EXPECT_EQ(MainCommand::MicrophoneVolume, MainCommandForControl("microphonemute"));
    for (const char* name : {"assistant_btn", "", "begin_record_btn ", "begin_record"})
        EXPECT_EQ(MainCommand::None, MainCommandForControl(name)) << name;
    EXPECT_EQ(MainCommand::None, MainCommandForControl(nullptr));
    EXPECT_EQ(HotKeyAction::None, HotKeyActionForId(0));
    EXPECT_EQ(HotKeyAction::None, HotKeyActionForId(7));
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
