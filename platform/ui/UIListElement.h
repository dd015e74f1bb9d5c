// The rows of lists and combo boxes. They look as the owner's TListInfoUI
// says (normal, alternate, hot, selected, disabled). A left press sends
// "itemclick" and selects the row through its owner (which sends
// "itemselect"); a right press selects it too; a double click or Return
// sends "itemactivate".
#pragma once

#include <vector>

#include "platform/ui/UIList.h"

namespace DuiLib {

// What every row shares: index, owner, selection and the painting of the
// row's background by state.
class CListElementUI : public CControlUI, public IListItemUI {
public:
    CListElementUI() = default;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    UINT GetControlFlags() const override;
    // "itemactivate"; false when hidden or disabled.
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int iIndex) override { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* pOwner) override;
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool bSelect = true) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    void DoEvent(TEventUI& event) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    // Background by state (hot, selected, alternate, disabled) and the line.
    virtual void DrawItemBk(HDC hDC, const RECT& rcItem);

protected:
    DWORD ItemTextColor() const;

    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr;
    CControlUI* m_pOwnerControl = nullptr;
};

// A row of one text. Without a fixed height it is the item font's height
// plus 8 pixels.
class CListLabelElementUI : public CListElementUI {
public:
    CListLabelElementUI() = default;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;
};

// A row with a text per column, placed under the header's items. When the
// list has a text callback the texts come from it; GetText() is the first
// column's text as shown.
class CListTextElementUI : public CListLabelElementUI {
public:
    CListTextElementUI() = default;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    void SetOwner(CControlUI* pOwner) override;

    CDuiString GetText() const override;
    void SetText(LPCSTR pstrText) override;
    CDuiString GetText(int iColumn) const;
    void SetText(int iColumn, LPCSTR pstrText);

    void DrawItemText(HDC hDC, const RECT& rcItem) override;

private:
    CDuiString ColumnText(int iColumn) const;

    IListUI* m_pOwnerList = nullptr;
    std::vector<CDuiString> m_texts;
};

// A row that is a container: its controls come from a row layout. It lays
// them out left to right (floating ones at their pos) and draws its own
// text, if it has one, with the list's item look.
class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
public:
    CListContainerElementUI() = default;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int iIndex) override { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* pOwner) override;
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool bSelect = true) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    void DoEvent(TEventUI& event) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void PaintText(HDC hDC) override;
    virtual void DrawItemBk(HDC hDC, const RECT& rcItem);

protected:
    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr;
};

}  // namespace DuiLib
