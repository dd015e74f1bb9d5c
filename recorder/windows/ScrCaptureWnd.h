// The region picker that comes before a region or window recording: a
// frozen picture of the desktop under a dark veil with a clear hole for the
// selection. Hovering snaps the hole to the window under the cursor,
// dragging draws a rectangle; once the button is up the selection is moved
// and resized with the mouse (the canvas container) or the arrow keys, and
// a double click or "开始录制" records it. A magnifier beside the cursor
// shows the pixels under it, the selection's size and the colour.
//
// There is one picker at a time (GetScrCaptureWnd); the main window creates
// its native window. UI thread only.
#pragma once

#include "drawing/windows/CanvasControls.h"
#include "platform/ui/UIlib.h"

#include <string>

class CScrCaptureWnd : public DuiLib::CWindowWnd, public CanvasSelectionHost {
public:
    CScrCaptureWnd();
    ~CScrCaptureWnd() override;

    DuiLib::CDuiString GetSkinFile() const { return "ScrCapture.xml"; }

    // The one way the selection changes: stores the insets and moves the
    // veil's hole, the hover border and the selection box to it.
    void UpdateSelectionMask(int left, int top, int right, int bottom) override;
    RECT GetSelectionArea() const override;
    SelectionInsets GetSelectionInsets() const override { return m_insets; }

    // The selection in screen coordinates.
    RECT GetSelection() const;
    bool IsConfirmed() const { return m_bConfirmed != 0; }

    // Records the selection: it becomes the capture rectangle (even), the
    // recording starts with the flash frame around it, a snapped window is
    // followed, and the picker closes. A selection too small to record
    // leaves the picker open.
    void StartRegionRecording();

protected:
    LPCSTR GetWindowClassName() const override { return "UIScrCaptureFrame"; }
    // Redrawn whole on a resize, double clicks, the screen kept beneath.
    UINT GetClassStyle() const override
    {
        return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_SAVEBITS;
    }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    bool OnCreate();
    void OnKeyDown(WPARAM key);
    void OnLButtonDown(POINT pt);
    void OnLButtonUp();
    void OnRButtonUp(POINT pt);
    void OnMouseMove(POINT pt, WPARAM buttons);
    bool OnSetCursor();
    void OnMenuCommand(UINT id);
    void UpdateMagnifier(POINT pt);
    void HideMagnifier();
    void SnapToWindowUnderCursor();
    // Back from an edited selection to choosing one.
    void ChooseAgain(POINT pt);
    // Nothing recorded: the floating bar comes back and the picker goes.
    void Cancel();

    DuiLib::CPaintManagerUI m_pm;
    BYTE m_bMagnifierOn = 0;
    HMENU m_hMenu = nullptr;
    // The frozen desktop; the copy the colours under the cursor are read from.
    HDC m_hSnapshotDc = nullptr;
    HBITMAP m_hSnapshot = nullptr;
    HGDIOBJ m_hSnapshotOld = nullptr;
    HCURSOR m_hCrossCursor = nullptr;

    DuiLib::CControlUI* m_pDesktopImage = nullptr;
    DuiLib::CControlUI* m_pDesktopMask = nullptr;
    DuiLib::CControlUI* m_pMaskBorder = nullptr;
    CCanvasContainerUI* m_pCanvasContainer = nullptr;
    DuiLib::CControlUI* m_pMagnifier = nullptr;
    DuiLib::CLabelUI* m_pPosInfo = nullptr;
    DuiLib::CControlUI* m_pMagnifierLine1 = nullptr;
    DuiLib::CControlUI* m_pMagnifierLine2 = nullptr;
    DuiLib::CControlUI* m_pMagnifierBorder = nullptr;

    RECT m_rcWindow = {0, 0, 0, 0};  // the desktop's rectangle, which the picker covers
    // None yet: the first hover always places the hole.
    SelectionInsets m_insets = {-1, -1, -1, -1};
    POINT m_ptDragStart = {0, 0};
    bool m_bPressed = false;  // the left button went down on the picker
    BYTE m_bConfirmed = 0;
    char m_szMaskAttr[260] = {};
};

// The picker: the open one, else a new object (without its window yet).
CScrCaptureWnd* GetScrCaptureWnd();
