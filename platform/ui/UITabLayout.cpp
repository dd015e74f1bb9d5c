#include "platform/ui/UITabLayout.h"

#include "platform/ui/UIAttrParse.h"

#include <cstring>

namespace DuiLib {

LPCSTR CTabLayoutUI::GetClass() const
{
    return "TabLayoutUI";
}

LPVOID CTabLayoutUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "TabLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    if (m_iCurSel < 0 && pControl->IsVisible()) {
        m_iCurSel = iIndex;
    } else {
        if (m_iCurSel >= iIndex) ++m_iCurSel;
        pControl->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl, bool bDoNotDestroy)
{
    int index = GetItemIndex(pControl);
    if (index < 0) return false;
    bool wasCurrent = index == m_iCurSel;
    if (!CContainerUI::Remove(pControl, bDoNotDestroy)) return false;
    if (wasCurrent) {
        // The page before it (or the new first one) takes its place.
        m_iCurSel = -1;
        if (GetCount() > 0) SelectItem(index > 0 ? index - 1 : 0, false);
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int iIndex, bool bTriggerEvent)
{
    if (iIndex < 0 || iIndex >= GetCount()) return false;
    if (iIndex == m_iCurSel) return true;
    int old = m_iCurSel;
    m_iCurSel = iIndex;
    for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == iIndex);
    NeedParentUpdate();
    // A focus left on the hidden page is dropped by the next layout pass.
    if (bTriggerEvent && m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_TABSELECT, (WPARAM)iIndex, (LPARAM)old);
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl, bool bTriggerEvent)
{
    return SelectItem(GetItemIndex(pControl), bTriggerEvent);
}

void CTabLayoutUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    int n;
    if (strcmp(pstrName, "selectedid") == 0) {
        if (ParseInt(pstrValue, &n)) SelectItem(n, false);
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

}  // namespace DuiLib
