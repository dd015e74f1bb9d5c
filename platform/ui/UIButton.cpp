#include "platform/ui/UIButton.h"

#include "platform/ui/UIAttrParse.h"

#include <cstring>

namespace DuiLib {

namespace {

CDuiString Locked(const CDuiString& s)
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    return s;
}

void SetLocked(CDuiString& s, LPCSTR value)
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    s = value;
}

}  // namespace

CButtonUI::CButtonUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

LPCSTR CButtonUI::GetClass() const
{
    return "ButtonUI";
}

LPVOID CButtonUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "Button") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate()
{
    if (!CLabelUI::Activate()) return false;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
    return true;
}

void CButtonUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (!bEnable) m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    if (TrackHotState(event, m_uButtonState)) return;
    switch (event.Type) {
        case UIEVENT_SETFOCUS:
        case UIEVENT_KILLFOCUS:
            CLabelUI::DoEvent(event);
            return;
        case UIEVENT_KEYDOWN:
            if (IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
                Activate();
                return;
            }
            break;
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (::PtInRect(&m_rcItem, event.ptMouse) && IsEnabled()) {
                m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSEMOVE:
            if (m_uButtonState & UISTATE_CAPTURED) {
                if (::PtInRect(&m_rcItem, event.ptMouse))
                    m_uButtonState |= UISTATE_PUSHED;
                else
                    m_uButtonState &= ~UISTATE_PUSHED;
                Invalidate();
            }
            return;
        case UIEVENT_BUTTONUP:
            if (m_uButtonState & UISTATE_CAPTURED) {
                bool inside = ::PtInRect(&m_rcItem, event.ptMouse) != FALSE;
                m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
                Invalidate();
                // Last: the handler may close the window or remove this button.
                if (inside) Activate();
            }
            return;
        case UIEVENT_SETCURSOR:
            ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
            return;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

CDuiString CButtonUI::GetNormalImage() const
{
    return Locked(m_sNormalImage);
}
CDuiString CButtonUI::GetHotImage() const
{
    return Locked(m_sHotImage);
}
CDuiString CButtonUI::GetPushedImage() const
{
    return Locked(m_sPushedImage);
}
CDuiString CButtonUI::GetFocusedImage() const
{
    return Locked(m_sFocusedImage);
}
CDuiString CButtonUI::GetDisabledImage() const
{
    return Locked(m_sDisabledImage);
}

void CButtonUI::SetNormalImage(LPCSTR pStrImage)
{
    SetLocked(m_sNormalImage, pStrImage);
    Invalidate();
}

void CButtonUI::SetHotImage(LPCSTR pStrImage)
{
    SetLocked(m_sHotImage, pStrImage);
    Invalidate();
}

void CButtonUI::SetPushedImage(LPCSTR pStrImage)
{
    SetLocked(m_sPushedImage, pStrImage);
    Invalidate();
}

void CButtonUI::SetFocusedImage(LPCSTR pStrImage)
{
    SetLocked(m_sFocusedImage, pStrImage);
    Invalidate();
}

void CButtonUI::SetDisabledImage(LPCSTR pStrImage)
{
    SetLocked(m_sDisabledImage, pStrImage);
    Invalidate();
}

void CButtonUI::SetHotTextColor(DWORD dwColor)
{
    m_dwHotTextColor = dwColor;
}

void CButtonUI::SetPushedTextColor(DWORD dwColor)
{
    m_dwPushedTextColor = dwColor;
}

void CButtonUI::SetFocusedTextColor(DWORD dwColor)
{
    m_dwFocusedTextColor = dwColor;
}

void CButtonUI::SetHotBkColor(DWORD dwColor)
{
    m_dwHotBkColor = dwColor;
}

void CButtonUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    DWORD color;
    if (strcmp(pstrName, "normalimage") == 0)
        SetNormalImage(pstrValue);
    else if (strcmp(pstrName, "hotimage") == 0)
        SetHotImage(pstrValue);
    else if (strcmp(pstrName, "pushedimage") == 0)
        SetPushedImage(pstrValue);
    else if (strcmp(pstrName, "focusedimage") == 0)
        SetFocusedImage(pstrValue);
    else if (strcmp(pstrName, "disabledimage") == 0)
        SetDisabledImage(pstrValue);
    else if (strcmp(pstrName, "hottextcolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetHotTextColor(color);
    } else if (strcmp(pstrName, "pushedtextcolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetPushedTextColor(color);
    } else if (strcmp(pstrName, "focusedtextcolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetFocusedTextColor(color);
    } else if (strcmp(pstrName, "hotbkcolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetHotBkColor(color);
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

void CButtonUI::PaintBkColor(HDC hDC)
{
    if ((m_uButtonState & UISTATE_HOT) && m_dwHotBkColor != 0) {
        DWORD saved = m_dwBackColor;
        m_dwBackColor = m_dwHotBkColor;
        CLabelUI::PaintBkColor(hDC);
        m_dwBackColor = saved;
        return;
    }
    CLabelUI::PaintBkColor(hDC);
}

bool CButtonUI::DrawFirstImage(HDC hDC, std::initializer_list<const CDuiString*> images)
{
    for (const CDuiString* image : images) {
        CDuiString s = Locked(*image);
        if (!s.IsEmpty() && DrawImage(hDC, s)) return true;
    }
    return false;
}

void CButtonUI::PaintStatusImage(HDC hDC)
{
    // A state without its own picture falls back to the normal one.
    if (!IsEnabled())
        DrawFirstImage(hDC, {&m_sDisabledImage, &m_sNormalImage});
    else if (m_uButtonState & UISTATE_PUSHED)
        DrawFirstImage(hDC, {&m_sPushedImage, &m_sHotImage, &m_sNormalImage});
    else if (m_uButtonState & UISTATE_HOT)
        DrawFirstImage(hDC, {&m_sHotImage, &m_sNormalImage});
    else if (IsFocused())
        DrawFirstImage(hDC, {&m_sFocusedImage, &m_sNormalImage});
    else
        DrawFirstImage(hDC, {&m_sNormalImage});
}

void CButtonUI::PaintText(HDC hDC)
{
    DWORD color = GetTextColor();
    if (!IsEnabled())
        color = GetDisabledTextColor();
    else if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor != 0)
        color = m_dwPushedTextColor;
    else if ((m_uButtonState & UISTATE_HOT) && m_dwHotTextColor != 0)
        color = m_dwHotTextColor;
    else if (IsFocused() && m_dwFocusedTextColor != 0)
        color = m_dwFocusedTextColor;
    DrawLabelText(hDC, color);
}

}  // namespace DuiLib
