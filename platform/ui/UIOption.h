// COptionUI: a button that stays selected. Options sharing a group name
// are exclusive: clicking one selects it and deselects the others. Without
// a group a click toggles it. "selectchanged" is sent only when the state
// really changes, and in a group only by the option that became selected.
#pragma once

#include "platform/ui/UIButton.h"

namespace DuiLib {

class COptionUI : public CButtonUI {
public:
    COptionUI() = default;
    ~COptionUI() override;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    bool Activate() override;

    CDuiString GetGroup() const;
    void SetGroup(LPCSTR pStrGroupName);
    bool IsSelected() const { return m_bSelected; }
    virtual void Selected(bool bSelected, bool bTriggerEvent = true);

    CDuiString GetSelectedImage() const;
    void SetSelectedImage(LPCSTR pStrImage);
    void SetSelectedHotImage(LPCSTR pStrImage);
    void SetSelectedTextColor(DWORD dwTextColor);
    void SetSelectedBkColor(DWORD dwBkColor);

    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;
    void PaintBkColor(HDC hDC) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

protected:
    bool m_bSelected = false;
    DWORD m_dwSelectedTextColor = 0;
    DWORD m_dwSelectedBkColor = 0;

private:
    CDuiString m_sGroupName;
    CDuiString m_sSelectedImage;
    CDuiString m_sSelectedHotImage;
};

}  // namespace DuiLib
