#include "platform/ui/UIOption.h"

#include "platform/ui/UIAttrParse.h"

#include <cstring>

namespace DuiLib {

COptionUI::~COptionUI()
{
    CDuiString group = GetGroup();
    if (!group.IsEmpty() && m_pManager) m_pManager->RemoveOptionGroup(group, this);
}

LPCSTR COptionUI::GetClass() const
{
    return "OptionUI";
}

LPVOID COptionUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "Option") == 0) return this;
    return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    CButtonUI::SetManager(pManager, pParent, bInit);
    CDuiString group = GetGroup();
    if (bInit && m_pManager && !group.IsEmpty()) {
        m_pManager->AddOptionGroup(group, this);
        // A layout may mark several members selected: the last one wins,
        // silently, as nothing has changed for the user yet.
        if (m_bSelected) Selected(true, false);
    }
}

CDuiString COptionUI::GetGroup() const
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    return m_sGroupName;
}

void COptionUI::SetGroup(LPCSTR pStrGroupName)
{
    CDuiString old = GetGroup();
    if (old == (pStrGroupName ? pStrGroupName : "")) return;
    if (m_pManager && !old.IsEmpty()) m_pManager->RemoveOptionGroup(old, this);
    {
        std::lock_guard<std::mutex> lock(ControlTextLock());
        m_sGroupName = pStrGroupName;
    }
    if (m_pManager && pStrGroupName && *pStrGroupName)
        m_pManager->AddOptionGroup(pStrGroupName, this);
    Selected(m_bSelected, false);
}

void COptionUI::Selected(bool bSelected, bool bTriggerEvent)
{
    bool changed = m_bSelected != bSelected;
    m_bSelected = bSelected;
    if (bSelected)
        m_uButtonState |= UISTATE_SELECTED;
    else
        m_uButtonState &= ~UISTATE_SELECTED;
    if (changed) Invalidate();

    CDuiString group = GetGroup();
    if (bSelected && m_pManager && !group.IsEmpty()) {
        // The others go quietly: only the newly selected one reports.
        if (const std::vector<CControlUI*>* members = m_pManager->GetOptionGroup(group)) {
            std::vector<CControlUI*> others = *members;
            for (CControlUI* p : others) {
                auto* option = static_cast<COptionUI*>(p->GetInterface("Option"));
                if (option && option != this && option->IsSelected())
                    option->Selected(false, false);
            }
        }
    }
    if (!changed || !bTriggerEvent || !m_pManager) return;
    if (!group.IsEmpty() && !bSelected) return;
    m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) return false;
    if (!GetGroup().IsEmpty())
        Selected(true);
    else
        Selected(!m_bSelected);
    return true;
}

CDuiString COptionUI::GetSelectedImage() const
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    return m_sSelectedImage;
}

void COptionUI::SetSelectedImage(LPCSTR pStrImage)
{
    {
        std::lock_guard<std::mutex> lock(ControlTextLock());
        m_sSelectedImage = pStrImage;
    }
    Invalidate();
}

void COptionUI::SetSelectedHotImage(LPCSTR pStrImage)
{
    {
        std::lock_guard<std::mutex> lock(ControlTextLock());
        m_sSelectedHotImage = pStrImage;
    }
    Invalidate();
}

void COptionUI::SetSelectedTextColor(DWORD dwTextColor)
{
    m_dwSelectedTextColor = dwTextColor;
    Invalidate();
}

void COptionUI::SetSelectedBkColor(DWORD dwBkColor)
{
    m_dwSelectedBkColor = dwBkColor;
    Invalidate();
}

void COptionUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    DWORD color;
    if (strcmp(pstrName, "group") == 0)
        SetGroup(pstrValue);
    else if (strcmp(pstrName, "selected") == 0)
        Selected(ParseBool(pstrValue), false);
    else if (strcmp(pstrName, "selectedimage") == 0)
        SetSelectedImage(pstrValue);
    else if (strcmp(pstrName, "selectedhotimage") == 0)
        SetSelectedHotImage(pstrValue);
    else if (strcmp(pstrName, "selectedtextcolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetSelectedTextColor(color);
    } else if (strcmp(pstrName, "selectedbkcolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetSelectedBkColor(color);
    } else {
        CButtonUI::SetAttribute(pstrName, pstrValue);
    }
}

void COptionUI::PaintBkColor(HDC hDC)
{
    if (m_bSelected && m_dwSelectedBkColor != 0) {
        DWORD saved = m_dwBackColor;
        m_dwBackColor = m_dwSelectedBkColor;
        CControlUI::PaintBkColor(hDC);
        m_dwBackColor = saved;
        return;
    }
    CButtonUI::PaintBkColor(hDC);
}

void COptionUI::PaintStatusImage(HDC hDC)
{
    if (m_bSelected) {
        if ((m_uButtonState & UISTATE_HOT) &&
            DrawFirstImage(hDC, {&m_sSelectedHotImage, &m_sSelectedImage}))
            return;
        if (DrawFirstImage(hDC, {&m_sSelectedImage})) return;
    }
    CButtonUI::PaintStatusImage(hDC);
}

void COptionUI::PaintText(HDC hDC)
{
    if (m_bSelected && m_dwSelectedTextColor != 0 && IsEnabled()) {
        DrawLabelText(hDC, m_dwSelectedTextColor);
        return;
    }
    CButtonUI::PaintText(hDC);
}

}  // namespace DuiLib
