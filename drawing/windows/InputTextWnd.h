// The small edit box that opens where the user types text onto a drawing
// surface (the graffiti canvas, the screenshot editor, the whiteboard). It
// tells its owner where it is while it moves, so the text lands where the
// box was left, and hands the text over on Enter; the owner reads it,
// turns it into a text shape and closes the box:
//
//   class MySurface : public InputTextOwner { ... };   // the surface
//   m_pTextBox = new InputTextGraffitiWnd(this, at.x, at.y, "");
//   ...CommitInputText(): text = m_pTextBox->GetText(); m_pTextBox->Close(); m_pTextBox = nullptr;
//
// The three classes behave alike and differ only in whose box they are.
//
// UI thread only; the box deletes itself with its window.
#pragma once

#include "kit/SkinWindow.h"

#include <string>

// The surface a text box belongs to.
class InputTextOwner {
public:
    // The surface's window: the box is owned by it and placed relative to
    // its client area.
    virtual HWND GetInputTextOwnerWindow() const = 0;
    // The box is now at this point of the surface's client area.
    virtual void SetInputTextPoint(POINT client) = 0;
    // The user pressed Enter in the box.
    virtual void CommitInputText() = 0;
    // The box has gone (closed by its owner, or by the program's end).
    virtual void InputTextClosed(const class InputTextBox* box) = 0;

protected:
    ~InputTextOwner() = default;
};

class InputTextBox : public SkinWindow {
public:
    // The edit box's current text (the program's code page).
    std::string GetText() const;
    // The owner closes the box with Close(); after that it is gone. An
    // owner that goes first lets the box know, so the box never calls it.
    void DetachOwner() { m_pOwner = nullptr; }

protected:
    // Creates and shows the box at the screen point (x, y), holding text.
    // The window class is named here: the window is made before the
    // classes of each owner are.
    InputTextBox(const char* windowClass, InputTextOwner* owner, int x, int y,
                 const std::string& text, bool programIcon);
    ~InputTextBox() override = default;

    LPCSTR GetWindowClassName() const final { return m_windowClass; }

    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    // Escape leaves the box to its owner, which closes it.
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    void OnEnded() override;

private:
    void ReportPlace();

    const char* m_windowClass;
    int m_x;
    int m_y;
    InputTextOwner* m_pOwner;
    DuiLib::CControlUI* m_pMoveBar = nullptr;
    DuiLib::CEditUI* m_pEdit = nullptr;
    std::string m_initialText;
    bool m_programIcon;
};

// The box of the real-time graffiti canvas.
class InputTextGraffitiWnd : public InputTextBox {
public:
    InputTextGraffitiWnd(InputTextOwner* canvas, int x, int y, const std::string& text)
        : InputTextBox("InputTextGraffitiWnd", canvas, x, y, text, true)
    {
    }
};

// The box of the screenshot editor.
class InputTextCaptureWnd : public InputTextBox {
public:
    InputTextCaptureWnd(InputTextOwner* editor, int x, int y, const std::string& text)
        : InputTextBox("InputTextCaptureWnd", editor, x, y, text, true)
    {
    }
};

// The box of the whiteboard.
class InputTextWnd : public InputTextBox {
public:
    InputTextWnd(InputTextOwner* whiteboard, int x, int y, const std::string& text)
        : InputTextBox("InputTextWnd", whiteboard, x, y, text, false)
    {
    }
};
