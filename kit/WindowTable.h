// The program's windows that are opened by command: how each one is made
// (its module registers that at start-up), whether an open one is reused,
// brought forward or made anew and where it appears (the rules of whoever
// opens it), which one is open now, and the order they close in when the
// program ends. A kept window that ends tells the table, so nobody holds a
// gone window.
//
//   GetWindowTable().Register(WindowId::Camera,
//       {[](const WindowRequest& r) -> DuiLib::CWindowWnd* { return new CameraWnd(r.owner, r.at); }});
//   ...
//   const KeptWindow<CameraWnd> g_pCameraWnd{WindowId::Camera};  // in the module
//   if (g_pCameraWnd) g_pCameraWnd->Refresh();
//
// UI thread only.
#pragma once

#include "platform/ui/UIlib.h"

#include <functional>
#include <vector>
#include <string>

enum class WindowId {
    // Opened from the main window and kept while open.
    ExpandTool,
    WaterMark,
    Caption,
    KeyboardShortcut,
    FloatRec,
    Flash,
    Whiteboard,
    Camera,
    SelectSkin,
    CountDown,
    FormatConvert,
    SmallTip,
    AboutSoft,
    // Kept by the modules that own them.
    VideoList,
    VideoEditor,
    RecDetail,
    StateDetail,
    RealtimeGraffiti,
    RegionPicker,
    WhiteboardRegion,
    ScreenShot,
    // Made anew on every command.
    TipsMenu,
    CursorSetting,
    UpdateLog,
    MicrophoneVolume,
    SpeakerVolume,
    CountdownSetting,
    AutoStopSetting,
    Guide,
    SaveNotice,

    Count
};

enum class WindowReuse {
    Nothing,       // while one is open, opening again does nothing
    BringForward,  // while one is open, opening again shows it and brings it forward
    NotKept,       // every opening makes a new one, which nobody keeps
};

// Where the opener's request puts the window (the main window works the
// point out; the window places itself there).
enum class WindowPlacement {
    None,           // the window places itself
    Corner,         // the bottom-left corner of the main window's client area
    ClickPoint,     // where the user clicked
    ControlCorner,  // the top-left corner of the control that was clicked
};

// What a window is opened with; each opener reads what its window needs.
struct WindowRequest {
    HWND owner = nullptr;  // the main window
    POINT at = {0, 0};     // screen coordinates
    RECT area = {0, 0, 0, 0};
    int flag = 0;
    std::string file;
};

// How the program treats a window: set by the window that opens it (the
// main window's rules for its buttons), separately from the window's module.
struct WindowRules {
    WindowReuse reuse = WindowReuse::Nothing;
    WindowPlacement placement = WindowPlacement::None;
};

// What the window's module gives.
struct WindowEntry {
    // Makes the window (and shows it, unless its owner creates the native
    // window itself); null when it could not be made.
    std::function<DuiLib::CWindowWnd*(const WindowRequest&)> open;
    // Closes an open window its own way; empty: Close(1).
    std::function<void(DuiLib::CWindowWnd&)> close;
    // Asked before the program ends (unsaved work); false keeps it running.
    std::function<bool(DuiLib::CWindowWnd&)> mayClose;
};

class WindowTable {
public:
    void SetRules(WindowId id, WindowRules rules);
    const WindowRules& Rules(WindowId id) const;
    void Register(WindowId id, WindowEntry entry);
    // Forgets every rule, entry and open window (without closing them).
    void Clear();
    // True when the window's module is part of the program.
    bool Has(WindowId id) const;
    const WindowEntry& Entry(WindowId id) const;

    // The open window of a kept entry, null when none is open.
    DuiLib::CWindowWnd* Current(WindowId id) const;
    // Keeps a window its owner made outside Open (replacing any other).
    void Hold(WindowId id, DuiLib::CWindowWnd* window);
    // Opens the window by its reuse rule. Returns the window that is open
    // afterwards (new or reused), or null when none could be made or the
    // entry is not registered.
    DuiLib::CWindowWnd* Open(WindowId id, const WindowRequest& request);
    // The window has ended: whichever entry keeps it lets it go.
    void Forget(const DuiLib::CWindowWnd* window);
    // Closes the open window of an entry (its own way, or Close(1)) and
    // lets it go.
    void Close(WindowId id);
    // Asks every open window that may refuse; false when one did.
    bool MayCloseAll();
    // Closes the open windows, those named in `first` in that order, then
    // every other one.
    void CloseAll(const std::vector<WindowId>& first = {});

    // Shows an open window and brings it forward.
    static void BringForward(DuiLib::CWindowWnd* window);

private:
    WindowRules m_rules[(int)WindowId::Count];
    WindowEntry m_entries[(int)WindowId::Count];
    DuiLib::CWindowWnd* m_open[(int)WindowId::Count] = {};
};

WindowTable& GetWindowTable();

// A kept window under the name the program knows it by, typed. T may be
// incomplete where it is declared; using it needs the full class.
template <class T>
class KeptWindow {
public:
    constexpr explicit KeptWindow(WindowId id) : m_id(id) {}
    T* get() const { return static_cast<T*>(GetWindowTable().Current(m_id)); }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
    WindowId id() const { return m_id; }

private:
    WindowId m_id;
};
