// CTabLayoutUI: pages on top of each other; only the current one shows and
// each fills the content area. The first page added (or "selectedid") is
// current at the start.
#pragma once

#include "platform/ui/UIContainer.h"

namespace DuiLib {

class CTabLayoutUI : public CContainerUI {
public:
    CTabLayoutUI() = default;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;

    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
    void RemoveAll() override;

    int GetCurSel() const { return m_iCurSel; }
    // Shows page iIndex; with bTriggerEvent a change sends "tabselect"
    // (wParam the new page, lParam the old). False when out of range.
    virtual bool SelectItem(int iIndex, bool bTriggerEvent = true);
    bool SelectItem(CControlUI* pControl, bool bTriggerEvent = true);

    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;

private:
    int m_iCurSel = -1;
};

}  // namespace DuiLib
