#include "settings/CursorSettingWindow.h"

#include "kit/Dialogs.h"
#include "settings/CursorSettings.h"

CursorSettingWindow::CursorSettingWindow(int x, int y)
    : SkinWindow({"cursor_setting_wnd.xml"}), m_at{x, y}
{
    Create(nullptr, "光标设置", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0);
    ShowWindow(true);
}

void CursorSettingWindow::InitWindow()
{
    SkinWindow::InitWindow();
    const SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, nullptr, m_at.x, m_at.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void CursorSettingWindow::OnWindowInit()
{
    for (const CursorCheckSetting& setting : kCursorChecks)
        if (auto* check = Find<DuiLib::CCheckBoxUI>(setting.check))
            check->SetCheck(setting.load(setting.defaultOn));
    for (const CursorColorSetting& setting : kCursorColors)
        if (DuiLib::CControlUI* button = Find(setting.button))
            button->SetBkColor(SwatchColor(ConfiguredColor(setting)));
    if (auto* size = Find<DuiLib::CComboUI>(kHighlightSizeCombo))
        size->SelectItem(ConfiguredHighlightSizeIndex());
    m_bReady = 1;
}

void CursorSettingWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (!msg.pSender) return;
    const DuiLib::CDuiString name = msg.pSender->GetName();
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (name == "closebtn")
            Close(IDOK);
        else if (CursorColorFor(name))
            ChooseColor(*msg.pSender);
        return;
    }
    if (!m_bReady) return;
    if (msg.sType == DUI_MSGTYPE_ITEMSELECT && name == kHighlightSizeCombo) {
        StoreHighlightSizeIndex((int)msg.wParam);
    } else if (msg.sType == DUI_MSGTYPE_SELECTCHANGED) {
        const CursorCheckSetting* setting = CursorCheckFor(name);
        auto* check = static_cast<DuiLib::CCheckBoxUI*>(msg.pSender->GetInterface("CheckBox"));
        if (setting && check) StoreCheck(*setting, check->GetCheck());
    }
}

void CursorSettingWindow::ChooseColor(DuiLib::CControlUI& button)
{
    const CursorColorSetting* setting = CursorColorFor(button.GetName());
    COLORREF color = ConfiguredColor(*setting);
    if (!AskColor(m_hWnd, &color)) return;
    StoreColor(*setting, color);
    button.SetBkColor(SwatchColor(color));
}
