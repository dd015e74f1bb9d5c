// The capture frame: a borderless window over the desktop (or over an area a
// member chooses) that shows a frozen picture under a dim veil with a clear
// hole over the selection. While the user picks, the hole snaps to the live
// window under the cursor and a drag spans a rectangle; once the button is
// up the selection box (a CCanvasContainerUI subclass) moves and resizes it,
// a right click inside opens the frame's menu, outside drops the selection.
// Escape closes the frame, a double click confirms it.
//
// The screenshot selector, the whiteboard's region selector and the skin
// crop window are members: each derives from CCaptureFrameWnd, names its
// layout and its builder callback (CaptureFrameBuilderCallback with its own
// box class), fills the menu and says what confirming does; the optional
// hooks below cover the rest (companion windows, a kept desktop picture, a
// fixed selection, an area other than the desktop).
//
// The selection is kept as four insets from the edges of the frame's area;
// SetSelectionInsets is the one way it changes.
//
// UI thread only.
#pragma once

#include "drawing/windows/CanvasControls.h"
#include "platform/ui/UIlib.h"

#include <cstring>
#include <new>

class CCaptureFrameWnd : public DuiLib::CWindowWnd,
                         public DuiLib::INotifyUI,
                         public DuiLib::IMessageFilterUI,
                         public CanvasSelectionHost {
public:
    // Menu commands every member understands.
    static const UINT kCmdClose = 134;
    static const UINT kCmdPickAgain = 135;

    CCaptureFrameWnd();
    ~CCaptureFrameWnd() override;

    // Stores the insets and moves the veil's hole, the hover border and the
    // selection box onto the selection.
    void SetSelectionInsets(int left, int top, int right, int bottom);
    // The selection in screen coordinates, and the part of it inside the
    // box's inset (what a member saves or records).
    RECT GetSelectionRect() const;
    RECT GetCanvasRect() const;
    bool HasSelection() const { return m_bHasSelection; }
    bool IsSelected() const { return m_bSelected; }
    // The frame's area in screen coordinates (the desktop's rectangle
    // unless the member chose another).
    RECT GetFrameRect() const { return m_rcFrame; }

    // Back to picking: the box goes, the hover border follows the cursor
    // again (companion windows are closed first).
    void PickAgain();
    // Closes the companion windows, then the frame.
    void CloseFrame();

    CCanvasContainerUI* GetCanvasContainer() const { return m_pCanvasContainer; }
    DuiLib::CPaintManagerUI& GetPaintManager() { return m_pm; }
    // The frozen desktop, for members that keep it (KeepsDesktopBitmap);
    // null otherwise. The frame owns it.
    HBITMAP GetDesktopBitmap() const { return m_hDesktop; }

    // CanvasSelectionHost: the box edits the selection through these.
    RECT GetSelectionArea() const override;
    SelectionInsets GetSelectionInsets() const override { return m_insets; }
    void UpdateSelectionMask(int left, int top, int right, int bottom) override
    {
        SetSelectionInsets(left, top, right, bottom);
    }

protected:
    // ---- what every member gives ----
    virtual DuiLib::CDuiString GetSkinFile() const = 0;
    // Makes "Canvas" and the member's box; lives as long as the frame.
    virtual DuiLib::IDialogBuilderCallback* GetBuilderCallback() = 0;
    // The items of the right-button menu.
    virtual void AppendMenuItems(HMENU menu) = 0;
    // A double click (and whatever menu command means the same).
    virtual void OnConfirm() = 0;

    // ---- optional ----
    LPCSTR GetWindowClassName() const override { return "UIScrCaptureFrame"; }
    // Every member's class: redrawn whole on a resize, double clicks, the
    // screen below kept while it is up.
    UINT GetClassStyle() const final { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_SAVEBITS; }
    // kCmdClose closes, kCmdPickAgain picks again; anything else: nothing.
    virtual void OnMenuCommand(UINT id);
    // The first button release that makes the selection.
    virtual void OnSelectionMade() {}
    // Windows of the member that go when the frame closes or drops its
    // selection (a tool bar, an editor).
    virtual void CloseCompanionWindows() {}
    // Whether the frozen desktop is kept for GetDesktopBitmap.
    virtual bool KeepsDesktopBitmap() const { return false; }
    // Whether the cursor picks: the hole follows the window under it and a
    // drag spans a new rectangle. A member with a fixed selection says no.
    virtual bool PicksByCursor() const { return true; }
    // The area the frame covers, given the desktop's rectangle.
    virtual RECT ChooseFrameRect(const RECT& desktop) { return desktop; }
    // After the pictures are in place: the member's own controls and first
    // selection. False closes the frame.
    virtual bool OnFrameCreated() { return true; }
    // The member's own messages, before the frame's; set handled to stop
    // them there.
    virtual LRESULT HandleFrameMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled)
    {
        return 0;
    }
    // After the native window is gone; the object deletes itself after
    // this (a member lets go of its instance here or in its destructor).
    virtual void OnFrameDestroyed() {}

    // The library's notifications of the frame's controls; none by default.
    void Notify(DuiLib::TNotifyUI& msg) override {}

    // The cursor while picking: the 40 x 40 cross-hair of the program.
    HCURSOR PickCursor();

    DuiLib::CPaintManagerUI m_pm;
    HMENU m_hMenu = nullptr;
    DuiLib::CControlUI* m_pDesktopImage = nullptr;
    DuiLib::CControlUI* m_pDesktopMask = nullptr;
    DuiLib::CControlUI* m_pMaskBorder = nullptr;
    CCanvasContainerUI* m_pCanvasContainer = nullptr;
    RECT m_rcFrame = {0, 0, 0, 0};
    SelectionInsets m_insets;
    POINT m_ptDragStart = {0, 0};
    bool m_bSelected = false;
    char m_szMaskText[260] = {};

private:
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) final;
    void OnFinalMessage(HWND hWnd) final;
    // Escape, before any control sees it.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    bool OnCreate();
    void OnMouseMove(POINT pt, WPARAM buttons);
    void OnLButtonDown(POINT pt);
    void OnLButtonUp();
    void OnRButtonUp(POINT pt);
    void SnapToWindowUnderCursor();
    void ShowPicking(bool picking);

    HBITMAP m_hDesktop = nullptr;
    HCURSOR m_hPickCursor = nullptr;
    // A rectangle has been hovered or dragged (or set by the member).
    bool m_bHasSelection = false;
    // The left button went down on the frame while picking.
    bool m_bPressed = false;
};

// The builder callback of a member: "Canvas" as CCanvasUI and the member's
// box tag as Container (a CCanvasContainerUI subclass taking the host);
// anything else is left to the library.
template <class Container>
class CaptureFrameBuilderCallback : public DuiLib::IDialogBuilderCallback {
public:
    CaptureFrameBuilderCallback(const char* containerTag, CanvasSelectionHost* host)
        : m_tag(containerTag), m_host(host)
    {
    }
    DuiLib::CControlUI* CreateControl(LPCSTR pstrClass) override
    {
        if (!pstrClass) return nullptr;
        if (strcmp(pstrClass, "Canvas") == 0) return new (std::nothrow) CCanvasUI;
        if (strcmp(pstrClass, m_tag) == 0) return new (std::nothrow) Container(m_host);
        return nullptr;
    }

private:
    const char* m_tag;
    CanvasSelectionHost* m_host;
};
