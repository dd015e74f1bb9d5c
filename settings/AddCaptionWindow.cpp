#include "settings/AddCaptionWindow.h"

#include "core/CfgDocument.h"
#include "kit/Dialogs.h"
#include "recorder/OverlaySettings.h"
#include "settings/OverlayGrid.h"

#include <windowsx.h>

namespace {

const DWORD kStyle = 0x96C80000;
const DWORD kExStyle = 0x60000;

// Typing writes the file once it pauses this long: every keystroke would be
// a write of the whole configuration.
const UINT_PTR kSaveTextTimer = 1;
const UINT kSaveTextDelayMs = 1000;

}  // namespace

AddCaptionWindow::AddCaptionWindow(HWND, int x, int y)
    : SkinWindow({"caption_setting.xml"}), m_at{x, y}
{
    Create(nullptr, "标题设置", kStyle, kExStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
           CW_USEDEFAULT);
}

void AddCaptionWindow::InitWindow()
{
    SkinWindow::InitWindow();
    const SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, nullptr, m_at.x, m_at.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void AddCaptionWindow::OnWindowInit()
{
    m_pRoot = Find("root_layout");
    m_pTextEdit = Find<DuiLib::CEditUI>("show_text_edit");
    m_grid.Find(*this);
    if (m_pTextEdit) m_pTextEdit->SetText(g_captionSettings.text.c_str());
    m_grid.Highlight((int)g_captionSettings.position);
}

void AddCaptionWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.pSender && msg.pSender == m_pTextEdit) {
        if (msg.sType == DUI_MSGTYPE_TEXTCHANGED) {
            OnTextTyped();
        } else if (msg.sType == DUI_MSGTYPE_RETURN) {
            // Done typing: the edit gives the focus back to the window.
            m_PaintManager.SetFocus(nullptr);
            SaveTypedText();
        }
    } else if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        OnClick(msg.pSender->GetName());
    }
    m_grid.Highlight((int)g_captionSettings.position);
}

void AddCaptionWindow::OnClick(const DuiLib::CDuiString& name)
{
    const int cell = GridCellOfButton(name);
    if (cell >= 0) {
        g_captionSettings.position = (DWORD)cell;
        g_cfgDocument.SetCfgCaptionPosition(GridCellText(cell));
    } else if (name == "remove_caption_btn") {
        ClearText();
    } else if (name == "text_font_btn") {
        LOGFONTA font = g_captionSettings.font;
        if (AskFont(m_hWnd, &font, nullptr)) {
            g_captionSettings.font = font;
            g_cfgDocument.SetCfgTextFont(&g_captionSettings.font);
        }
    } else if (name == "text_color_btn") {
        COLORREF color = g_captionSettings.crText;
        if (AskColor(m_hWnd, &color)) {
            g_captionSettings.crText = color;
            g_cfgDocument.SetCfgCaptionTextColor((int)color);
        }
    } else if (name == "background_color_btn") {
        COLORREF color = g_captionSettings.crBackground;
        if (AskColor(m_hWnd, &color)) {
            g_captionSettings.crBackground = color;
            g_cfgDocument.SetCfgCaptionBackgroundColor((int)color);
        }
    } else if (name == "closebtn") {
        Close(IDOK);
    }
}

void AddCaptionWindow::OnTextTyped()
{
    const std::string text = m_pTextEdit->GetText().GetData();
    g_captionSettings.text = text;
    g_captionSettings.enabled = text.empty() ? 0 : 1;
    m_bTextUnsaved = true;
    // Each keystroke puts the write off again.
    ::SetTimer(m_hWnd, kSaveTextTimer, kSaveTextDelayMs, nullptr);
}

void AddCaptionWindow::ClearText()
{
    g_captionSettings.text.clear();
    g_captionSettings.enabled = 0;
    if (m_pTextEdit) m_pTextEdit->SetText("");
    m_bTextUnsaved = true;
    SaveTypedText();
}

void AddCaptionWindow::SaveTypedText()
{
    if (m_hWnd) ::KillTimer(m_hWnd, kSaveTextTimer);
    if (!m_bTextUnsaved) return;
    m_bTextUnsaved = false;
    g_cfgDocument.SetCfgCaptionText(g_captionSettings.text);
}

LRESULT AddCaptionWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                              BOOL& bHandled)
{
    if (uMsg == WM_TIMER && wParam == kSaveTextTimer) {
        SaveTypedText();
        bHandled = TRUE;
    } else if (uMsg == WM_MOUSEMOVE) {
        POINT pointer = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        m_grid.Highlight((int)g_captionSettings.position, &pointer);
    }
    return 0;
}

LRESULT AddCaptionWindow::OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    // Closed before typing paused, or with the program: what was typed stays.
    SaveTypedText();
    return SkinWindow::OnDestroy(uMsg, wParam, lParam, bHandled);
}
