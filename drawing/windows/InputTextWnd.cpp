#include "drawing/windows/InputTextWnd.h"

namespace {

// A popup with a caption and system menu that stays over the drawing, off
// the task bar.
const DWORD kBoxStyle = 0x96C80000;
const DWORD kBoxExStyle = WS_EX_STATICEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

const char kMoveBarImage[] = "input_move_bk.png";

// Whether `window` lies below `other` in the z-order.
bool IsBelow(HWND window, HWND other)
{
    for (HWND w = ::GetWindow(window, GW_HWNDPREV); w; w = ::GetWindow(w, GW_HWNDPREV))
        if (w == other) return true;
    return false;
}

}  // namespace

InputTextBox::InputTextBox(const char* windowClass, InputTextOwner* owner, int x, int y,
                           const std::string& text, bool programIcon)
    : SkinWindow({"input_text_wnd.xml", nullptr}),
      m_windowClass(windowClass),
      m_x(x),
      m_y(y),
      m_pOwner(owner),
      m_initialText(text),
      m_programIcon(programIcon)
{
    HWND ownerWindow = owner ? owner->GetInputTextOwnerWindow() : nullptr;
    Create(ownerWindow, "input_text_wnd", kBoxStyle, kBoxExStyle);
    ShowWindow(true);
}

std::string InputTextBox::GetText() const
{
    return m_pEdit ? std::string(m_pEdit->GetText().GetData()) : m_initialText;
}

void InputTextBox::InitWindow()
{
    if (m_programIcon) SkinWindow::InitWindow();
    SIZE size = m_PaintManager.GetInitSize();
    HWND ownerWindow = m_pOwner ? m_pOwner->GetInputTextOwnerWindow() : nullptr;
    // Right behind the surface in the z-order: the box belongs to it and
    // comes and goes with it.
    ::SetWindowPos(m_hWnd, ownerWindow ? ownerWindow : HWND_TOPMOST, m_x, m_y, size.cx, size.cy,
                   SWP_SHOWWINDOW);
    // A box under its surface could not be seen, let alone typed into: the
    // system keeps an owned window above its owner, a system that did not
    // gets it put there.
    if (ownerWindow && IsBelow(m_hWnd, ownerWindow))
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_pEdit = Find<DuiLib::CEditUI>("intput");
}

void InputTextBox::OnWindowInit()
{
    m_pMoveBar = Find("inpput_move_bk");
    if (m_pMoveBar) m_pMoveBar->SetAttribute("bkimage", TiledSkinImage(kMoveBarImage));
    if (m_pEdit) {
        m_pEdit->SetText(m_initialText.c_str());
        // Typing goes into the box at once, as it opened under the click.
        m_pEdit->SetFocus();
    }
    ReportPlace();
}

void InputTextBox::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_RETURN && msg.pSender == m_pEdit) {
        // The owner reads the text and closes the box: nothing of it is
        // touched afterwards.
        if (m_pOwner) m_pOwner->CommitInputText();
    }
}

LRESULT InputTextBox::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    // Once the move is done, not while it is asked for: the window is then
    // where the text is to go, and a dragged box does not leave its text
    // one mouse step behind.
    if (uMsg == WM_WINDOWPOSCHANGED) ReportPlace();
    // The box is nothing but its edit: the keyboard the box gets goes there.
    if (uMsg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && m_pEdit) {
        m_pEdit->SetFocus();
        if (HWND native = m_pEdit->GetNativeWindow()) ::SetFocus(native);
    }
    return SkinWindow::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}

LRESULT InputTextBox::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam == VK_ESCAPE) return TRUE;
    return SkinWindow::ResponseDefaultKeyEvent(wParam);
}

void InputTextBox::OnEnded()
{
    if (m_pOwner) m_pOwner->InputTextClosed(this);
    m_pOwner = nullptr;
}

void InputTextBox::ReportPlace()
{
    if (!m_pOwner || !m_hWnd) return;
    HWND ownerWindow = m_pOwner->GetInputTextOwnerWindow();
    if (!ownerWindow) return;
    POINT box = {0, 0};
    POINT surface = {0, 0};
    ::ClientToScreen(m_hWnd, &box);
    ::ClientToScreen(ownerWindow, &surface);
    m_pOwner->SetInputTextPoint({box.x - surface.x, box.y - surface.y});
}
