// The child windows the main window opens. Each window belongs to the module
// that builds it; at start-up that module puts its opener into this table.
// The main window keeps the rules around the opening: where the window
// appears, whether an open one is reused, and what is asked first.
//
// An empty entry means the window is not part of this build: its button or
// hot key then does nothing at all (no minimising, no hidden bar).
//
//   SetChildWindowOpener(ChildWindow::Camera,
//                        {[](const ChildWindowRequest& r) -> DuiLib::WindowImplBase* {
//                             return new CameraWnd(r.owner, r.at);
//                         }});
//
// UI thread only.
#pragma once

#include "platform/ui/UIlib.h"

#include <functional>
#include <string>

enum class ChildWindow {
    // Kept in a field of the main window and reused while that field is
    // set. The window clears it when it ends (MainFrame::ForgetChildWindow).
    // `open` makes the window, shows it and returns it.
    FormatConvert,     // at, file (empty for none)
    Camera,            // owner, at
    KeyboardShortcut,  // owner, at
    SelectSkin,        // owner, at
    ExpandTool,        // at
    WaterMark,         // at
    Caption,           // at
    Flash,             // owner, area (the recorded rectangle)
    SmallTip,          // -
    AboutSoft,         // -
    // Kept in a field too, but `open` only makes the object: the main window
    // creates its window.
    Whiteboard,

    // Kept by their own modules; `current` answers the open one (null when
    // none).
    RegionPicker,      // `open` returns the one picker object; the main window
                       // creates its window unless it has one
    ScreenShot,        // the same for the screenshot window
    VideoList,         // owner, at
    VideoEditor,       // file (empty: none)
    RealtimeGraffiti,  // flag, area

    // Made anew on every command and not kept: `open` makes and shows it.
    TipsMenu,          // at (the click point)
    CursorSetting,     // at (the click point)
    UpdateLog,         // at (the click point)
    MicrophoneVolume,  // at
    SpeakerVolume,     // at
    CountdownSetting,  // at (the button's own corner)
    AutoStopSetting,   // at (the button's own corner)

    Count
};

// What a window is opened with; each opener reads what its entry names.
struct ChildWindowRequest {
    HWND owner = nullptr;  // the main window
    POINT at = {0, 0};     // screen coordinates
    RECT area = {0, 0, 0, 0};
    int flag = 0;
    std::string file;
};

struct ChildWindowOpener {
    // Null when the window could not be made; the main window then shows
    // nothing and keeps nothing.
    std::function<DuiLib::WindowImplBase*(const ChildWindowRequest&)> open;
    std::function<DuiLib::WindowImplBase*()> current;
};

void SetChildWindowOpener(ChildWindow which, ChildWindowOpener opener);
const ChildWindowOpener& GetChildWindowOpener(ChildWindow which);
