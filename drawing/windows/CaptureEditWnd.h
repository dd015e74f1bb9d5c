// The screenshot editor: a window laid exactly over the selection's canvas
// that shows that part of the frozen desktop with the drawing board's
// shapes on top, turns the mouse into shapes with the current tool, and
// saves the picture. The picture is composed in memory (the frozen part and
// the shapes) and saved from there, so no window over the editor (the tool
// bar, a text box) ever lands in the file.
//
// Owned by the selector; it goes with it. UI thread only.
#pragma once

#include "drawing/windows/InputTextWnd.h"
#include "kit/SkinWindow.h"

#include <string>

class CScrShotWnd;

class CaptureEditWnd : public SkinWindow, public InputTextOwner {
public:
    // Creates and shows the window over `canvas` (screen coordinates).
    CaptureEditWnd(CScrShotWnd* selector, const RECT& canvas);

    // Draws the composed picture into the window.
    void RenderPicture();
    // The composed picture as a new PNG of the save folder; its name in
    // *path. False when it could not be written. Text still being typed
    // becomes part of it first.
    bool SavePicture(std::string* path);
    // The open text box's text becomes a text shape (none when it is
    // empty) and the box closes.
    void FinishTextInput();
    // A new bitmap of the canvas's size: the frozen part with the shapes
    // on top. The caller deletes it; null when it could not be made.
    HBITMAP ComposePicture() const;

    // InputTextOwner: the text box of the editor.
    HWND GetInputTextOwnerWindow() const override { return m_hWnd; }
    void SetInputTextPoint(POINT client) override { m_ptText = client; }
    void CommitInputText() override { FinishTextInput(); }
    void InputTextClosed(const InputTextBox* box) override;

    // Menu commands.
    static const UINT kCmdSave = 155;
    static const UINT kCmdCancel = 156;
    static const UINT kCmdPickAgain = 157;

protected:
    LPCSTR GetWindowClassName() const override { return "CaptureEditWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnEnded() override;
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    ~CaptureEditWnd() override;  // deletes itself on its final message

    void OnMenuCommand(UINT id);
    // A text box at a client point of the editor, holding text.
    void OpenTextBox(POINT client, const std::string& text);
    void OnDoubleClick();
    SIZE CanvasSize() const
    {
        return {m_rcCanvas.right - m_rcCanvas.left, m_rcCanvas.bottom - m_rcCanvas.top};
    }

    RECT m_rcCanvas;
    CScrShotWnd* m_pSelector;
    HBITMAP m_hBackground = nullptr;
    HMENU m_hMenu = nullptr;
    POINT m_ptLastClick = {0, 0};
    InputTextCaptureWnd* m_pTextBox = nullptr;
    // Where the box is, in the editor's client area: its text goes there,
    // on the box's edit line.
    POINT m_ptText = {0, 0};
};
