// The frame every skinned window of the program shares, done once: the
// program icon, the layout from the skin package, the skin background on
// its root at "windowinit" and again whenever the skin changes, the window
// table let go of and the recording events unsubscribed when the window
// ends, and the object deleting itself after its final message. A window
// is then a thin class of its own behaviour:
//
//   class CameraWnd : public SkinWindow {
//   public:
//       CameraWnd() : SkinWindow({"camera_wnd.xml"}) {}
//   protected:
//       LPCSTR GetWindowClassName() const override { return "CameraWnd"; }
//       void OnWindowInit() override { m_pClose = Find<DuiLib::CButtonUI>("closebtn"); }
//       void OnNotify(DuiLib::TNotifyUI& msg) override { ... }
//   };
//
// A window that follows recordings subscribes to their events; by default
// each event arrives as the window's own message (0x5401 started, 0x5402
// stopped, 0x404 pause blink, 0x401 status tick), which its
// HandleCustomMessage handles.
//
// UI thread only.
#pragma once

#include "kit/MainWindow.h"
#include "platform/ui/UIlib.h"
#include "recorder/recording/RecordingEvents.h"

#include <string>
#include <vector>

class SkinWindow : public DuiLib::WindowImplBase,
                   public RecordingSubscriber,
                   public SkinFollower {
public:
    // What the frame of a window is made of.
    struct Frame {
        const char* layout;                    // the layout file in the skin package
        const char* skinRoot = "root_layout";  // wears the skin background; null: none
        bool followsRecording = false;         // subscribes to the recording events
        const char* skinFolder = "";           // the layout folder below the program folder
    };

    // The control of the layout by that name, as T (CControlUI, CButtonUI,
    // ...). A control the layout lacks, or one of another kind, is reported
    // once per window class and name (the UI library's error log) and null
    // is returned, so the fault shows where it is, not in a crash later.
    template <class T = DuiLib::CControlUI>
    T* Find(const char* name)
    {
        DuiLib::CControlUI* p = m_PaintManager.FindControl(name);
        T* typed = dynamic_cast<T*>(p);
        if (!typed) ReportMissing(name, p != nullptr);
        return typed;
    }

    // The skin background, tiled, on the root control.
    void ApplySkinBackgroundFile(const DuiLib::CDuiString& file) override;

    // Moves the window so its top-left corner is at a screen point.
    void MoveTo(POINT at);

    // Every look-up that failed so far in this process, as "class: name";
    // for tests.
    static std::vector<std::string> MissingControls();

protected:
    explicit SkinWindow(const Frame& frame);
    ~SkinWindow() override;

    // After the frame's own "windowinit" work (the skin background, the
    // recording events): the place to look the controls up and fill them.
    // (InitWindow, which runs earlier, as the layout is attached, gives the
    // icon; a window that overrides it calls SkinWindow::InitWindow.)
    virtual void OnWindowInit() {}
    // Every notification but "windowinit"; by default the library's own
    // ("closebtn" closes, "minbtn" minimises).
    virtual void OnNotify(DuiLib::TNotifyUI& msg);
    // The window has gone, the object is about to delete itself.
    virtual void OnEnded() {}

    DuiLib::CDuiString GetSkinFolder() override;
    DuiLib::CDuiString GetSkinFile() override;
    DuiLib::UILIB_RESOURCETYPE GetResourceType() const override;
    LPCSTR GetResourceID() const override;
    void InitWindow() override;
    void Notify(DuiLib::TNotifyUI& msg) final;
    void OnFinalMessage(HWND hWnd) final;

    // The recording's events as the window's own messages.
    void OnRecordingStarted() override;
    void OnRecordingStopped() override;
    void OnPauseBlink(WPARAM phase) override;
    void OnRecordingStatus() override;

private:
    void ReportMissing(const char* name, bool otherKind);

    Frame m_frame;
    bool m_subscribed = false;
};
