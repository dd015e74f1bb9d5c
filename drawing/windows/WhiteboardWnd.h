// The whiteboard: an always-on-top frame whose inside, the canvas, is what
// gets recorded. The canvas lets the screen show through, or shows a frozen
// picture of what was behind it, or the current slide of a presentation,
// with the drawing board's shapes on top (WhiteboardLogic.h names the
// modes). A tool window beside it carries the drawing tools and the slides;
// a size list sets the canvas to a preset size; the region selector drags
// the frame onto any area. Moving the frame moves the recorded area, also
// while recording.
//
// The main window makes the object (its module's opener), creates its
// window and keeps it. UI thread only.
#pragma once

#include "drawing/GdiObjects.h"
#include "drawing/windows/InputTextWnd.h"
#include "drawing/windows/WhiteboardLogic.h"
#include "kit/SkinWindow.h"

#include <string>

class WhiteBoardToolWindow;

// The presentation window tells the whiteboard with this message that the
// store holds a new presentation: wParam 0 loaded, 1 failed
// (g_strPptLastError says why).
const UINT WM_PPT_LOADED = WM_USER + 1;
extern std::string g_strPptLastError;

class CWhiteboardWnd : public SkinWindow, public InputTextOwner {
public:
    CWhiteboardWnd();

    // A text in the title strip; autoHide clears it after 3 s.
    void ShowMessage(const std::string& text, bool autoHide);
    // Puts the frame on that rectangle (any corner order).
    void MoveToRect(int left, int top, int right, int bottom);
    // The frame sized so its canvas is W x H, centred on the screen.
    void SetCanvasSizePreset(int width, int height);
    // Draws the canvas (nothing in the transparent mode).
    void RenderBoard();
    // Shows slides, or leaves them.
    void TogglePresentation();
    void CloseBoardToolWindow();
    // Back to the transparent canvas, the tool window closed.
    void ShowScreen();

    int Mode() const { return m_nMode; }
    // The canvas in screen coordinates.
    RECT CanvasScreenRect() const;

    // The typed text becomes a text shape where its box was left.
    void FinishTextInput();
    HWND GetInputTextOwnerWindow() const override { return m_hWnd; }
    void SetInputTextPoint(POINT client) override { m_ptText = client; }
    void CommitInputText() override { FinishTextInput(); }
    void InputTextClosed(const InputTextBox* box) override;

protected:
    LPCSTR GetWindowClassName() const override { return "DesktopMainWnd"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    void OnEnded() override;
    // Escape must not close a frame that may be recording.
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    // The status tick shares its number with the presentation message: the
    // main window writes the time itself.
    void OnRecordingStatus() override {}

private:
    ~CWhiteboardWnd() override;

    void OnClick(const std::string& name, DuiLib::CControlUI* sender);
    void OnClose();
    void OnCaptureButton();
    void ToggleDrawing();
    void EnsureToolWindow();
    void SnapshotBackground();
    void PlaceToolWindow();
    void SetMode(int mode);
    void UpdateCanvasHole();
    void SetRecordingLook(bool recording);
    void SetBackground(bool recording);
    void UpdateCaptureRect();
    void TrackFrameMove();
    void UpdateSizeLabel();
    void CenterTimeLabel();
    void OnPresentationLoaded(bool ok);
    void ShowSlide(int index);
    // The current slide decoded and stretched to the canvas, kept until the
    // slide or the canvas size changes.
    HBITMAP SlideBitmap(SIZE canvas);
    SIZE ClientSize() const;
    POINT ClientOrigin() const;

    bool m_bInitialised = false;
    RECT m_rcCapture = {0, 0, 0, 0};
    POINT m_ptLastOrigin = {0, 0};
    POINT m_ptSnapshot = {0, 0};
    orbisk::UniqueBitmap m_snapshot;
    // The canvas as last drawn (what the capture button saves).
    orbisk::UniqueBitmap m_canvas;
    orbisk::UniqueBitmap m_slide;
    std::string m_slidePath;
    SIZE m_slideSize = {0, 0};
    int m_nMode = kBoardTransparent;
    bool m_bRecordingLook = false;
    DuiLib::CControlUI* m_pTimeLabel = nullptr;
    DuiLib::CControlUI* m_pBackground = nullptr;
    DuiLib::CControlUI* m_pMessage = nullptr;
    void OpenTextBox(POINT canvasPoint, const std::string& text);

    InputTextWnd* m_pTextWnd = nullptr;
    // The text box's top left corner, client coordinates.
    POINT m_ptText = {0, 0};
    POINT m_ptMouseDown = {0, 0};
    bool m_bDrawing = false;
};
