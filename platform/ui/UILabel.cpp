#include "platform/ui/UILabel.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIRender.h"

#include <cstring>

namespace DuiLib {

LPCSTR CLabelUI::GetClass() const
{
    return "LabelUI";
}

LPVOID CLabelUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "Label") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

void CLabelUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Invalidate();
}

void CLabelUI::SetMultiLine(bool bMultiLine)
{
    if (bMultiLine) {
        m_uTextStyle &= ~(DT_SINGLELINE | DT_VCENTER | DT_BOTTOM);
        m_uTextStyle |= DT_WORDBREAK;
    } else {
        m_uTextStyle &= ~DT_WORDBREAK;
        m_uTextStyle |= DT_SINGLELINE | DT_VCENTER;
    }
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    m_bTextColorSet = true;
    Invalidate();
}

DWORD CLabelUI::GetTextColor() const
{
    if (m_bTextColorSet) return m_dwTextColor;
    return m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF000000;
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor)
{
    m_dwDisabledTextColor = dwTextColor;
    m_bDisabledTextColorSet = true;
    Invalidate();
}

DWORD CLabelUI::GetDisabledTextColor() const
{
    if (m_bDisabledTextColorSet) return m_dwDisabledTextColor;
    return m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFFA7A6AA;
}

void CLabelUI::SetFont(int index)
{
    m_iFont = index;
    Invalidate();
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CLabelUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    const char* name = pstrName;
    DWORD color;
    RECT rc;
    int n;
    if (strcmp(name, "align") == 0) {
        m_uTextStyle &= ~(DT_LEFT | DT_CENTER | DT_RIGHT);
        if (strstr(pstrValue, "center"))
            m_uTextStyle |= DT_CENTER;
        else if (strstr(pstrValue, "right"))
            m_uTextStyle |= DT_RIGHT;
        else
            m_uTextStyle |= DT_LEFT;
    } else if (strcmp(name, "valign") == 0) {
        m_uTextStyle &= ~(DT_TOP | DT_VCENTER | DT_BOTTOM);
        if (strstr(pstrValue, "top"))
            m_uTextStyle |= DT_TOP;
        else if (strstr(pstrValue, "bottom"))
            m_uTextStyle |= DT_BOTTOM;
        else
            m_uTextStyle |= DT_VCENTER;
        // DrawText places one line only; keep it single for vcenter/bottom.
        if (!(m_uTextStyle & DT_WORDBREAK)) m_uTextStyle |= DT_SINGLELINE;
    } else if (strcmp(name, "multiline") == 0 || strcmp(name, "wordbreak") == 0) {
        SetMultiLine(ParseBool(pstrValue));
    } else if (strcmp(name, "endellipsis") == 0) {
        if (ParseBool(pstrValue))
            m_uTextStyle |= DT_END_ELLIPSIS;
        else
            m_uTextStyle &= ~DT_END_ELLIPSIS;
    } else if (strcmp(name, "font") == 0) {
        if (ParseInt(pstrValue, &n)) SetFont(n);
    } else if (strcmp(name, "textcolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetTextColor(color);
    } else if (strcmp(name, "disabledtextcolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetDisabledTextColor(color);
    } else if (strcmp(name, "textpadding") == 0) {
        if (ParseRect(pstrValue, &rc)) SetTextPadding(rc);
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

void CLabelUI::DrawLabelText(HDC hDC, DWORD dwColor)
{
    CDuiString text = GetText();
    if (text.IsEmpty()) return;
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    CRenderEngine::DrawText(hDC, m_pManager, rc, text, dwColor, m_iFont, m_uTextStyle);
}

void CLabelUI::PaintText(HDC hDC)
{
    DrawLabelText(hDC, IsEnabled() ? GetTextColor() : GetDisabledTextColor());
}

}  // namespace DuiLib
