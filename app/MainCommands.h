// The commands of the main window's controls and hot keys, and the choices
// around them that need no window.
#pragma once

#include <windows.h>

enum class MainCommand {
    None,  // not a command (the help strip's button, labels, ...)
    RegionPicker,
    TipsMenu,
    CursorSetting,
    UpdateLog,
    FormatConvert,
    ToTray,
    Camera,
    KeyboardShortcut,
    Help,
    SelectSkin,
    Close,
    Minimize,
    StartRecording,
    StopRecording,
    TogglePause,
    CancelRecording,
    VideoList,
    Whiteboard,
    Screenshot,
    FullScreenMode,
    MicrophoneVolume,
    SpeakerVolume,
    ExpandTool,
    WaterMark,
    Caption,
    CountdownSetting,
    AutoStopSetting,
    VideoEditor,
    TimedStartQuestion,
    AutoStopQuestion,
};

// The command of a control of the main window, by its name in the layout
// (compared without regard to case).
MainCommand MainCommandForControl(const char* name);

// The six hot keys, by their registration id (1 to 6).
enum class HotKeyAction { None, StartOrStop, Pause, FloatBar, Graffiti, ScreenShot, Zoom };
HotKeyAction HotKeyActionForId(WPARAM id);

// Where real-time graffiti draws: inside the flash frame around the recorded
// area (its rectangle shrunk by 4 on each side) when there is one, else the
// primary screen's width by the full-screen client height.
RECT GraffitiArea(const RECT* flashFrame, int screenWidth, int fullScreenHeight);
