// The list: CListUI holds a header (CListHeaderUI with CListHeaderItemUI
// columns) and a scrolling body of rows. Rows are list elements (see
// UIListElement.h): plain texts, texts per column (perhaps from a text
// callback) or containers built from a row layout.
//
// Notifications: "itemselect" from the list when its selection changes
// (wParam the new row, lParam the old), "itemclick" and "itemactivate"
// (double click, Return) from the row, "headerclick" from the header item,
// and "menu" from the list itself (menu="true") wherever the right click
// falls inside it.
#pragma once

#include "platform/ui/UIButton.h"
#include "platform/ui/UIHorizontalLayout.h"
#include "platform/ui/UIVerticalLayout.h"

namespace DuiLib {

const int UILIST_MAX_COLUMNS = 32;

// How the rows of a list (or a combo's drop-down) look.
struct TListInfoUI {
    int nColumns = 0;
    RECT rcColumn[UILIST_MAX_COLUMNS] = {};  // left and right of each column
    int nFont = -1;
    UINT uTextStyle = DT_VCENTER | DT_SINGLELINE;
    RECT rcTextPadding = {0, 0, 0, 0};
    DWORD dwTextColor = 0xFF000000;
    DWORD dwBkColor = 0;
    CDuiString sBkImage;
    // Only every other row gets the background colour.
    bool bAlternateBk = false;
    DWORD dwSelectedTextColor = 0xFF000000;
    DWORD dwSelectedBkColor = 0xFFC1E3FF;
    CDuiString sSelectedImage;
    DWORD dwHotTextColor = 0xFF000000;
    DWORD dwHotBkColor = 0xFFE9F5FF;
    CDuiString sHotImage;
    DWORD dwDisabledTextColor = 0xFFCCCCCC;
    DWORD dwDisabledBkColor = 0;
    CDuiString sDisabledImage;
    // A line under each row when set.
    DWORD dwLineColor = 0;
    // Kept for layouts that ask; texts are drawn plain.
    bool bShowHtml = false;
};

// Gives the texts of text rows that keep none of their own. The pointer
// must stay valid until the next call.
class IListCallbackUI {
public:
    virtual LPCSTR GetItemText(CControlUI* pList, int iItem, int iSubItem) = 0;

protected:
    ~IListCallbackUI() = default;
};

// What a row needs from the list or combo it belongs to.
class IListOwnerUI {
public:
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    // False when iIndex is not a selectable row; the selection is then
    // unchanged and nothing is sent.
    virtual bool SelectItem(int iIndex, bool bTakeFocus = false) = 0;
    virtual void DoEvent(TEventUI& event) = 0;

protected:
    ~IListOwnerUI() = default;
};

class CListHeaderUI;
class CListBodyUI;

class IListUI : public IListOwnerUI {
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    virtual CContainerUI* GetList() const = 0;
    virtual IListCallbackUI* GetTextCallback() const = 0;
    virtual void SetTextCallback(IListCallbackUI* pCallback) = 0;

protected:
    ~IListUI() = default;
};

// A row (GetInterface("ListItem")).
class IListItemUI {
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int iIndex) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    // pOwner answers "IListOwner" (a list, a combo, or a list made by the
    // program).
    virtual void SetOwner(CControlUI* pOwner) = 0;
    virtual bool IsSelected() const = 0;
    // Only the row's own look; selecting goes through the owner.
    virtual bool Select(bool bSelect = true) = 0;
    virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;

protected:
    ~IListItemUI() = default;
};

class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    UINT GetControlFlags() const override;

    CListHeaderUI* GetHeader() const override { return m_pHeader; }
    CContainerUI* GetList() const override;
    bool IsHeaderVisible() const;
    void SetHeaderVisible(bool bVisible);

    // The rows. Headers and header items given to Add go to the header.
    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    // Removing the selected row leaves nothing selected (and sends nothing).
    bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
    bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
    void RemoveAll() override;

    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;
    // Scrolls the body so the row shows (after the next layout if one is due).
    void EnsureVisible(int iIndex);

    TListInfoUI* GetListInfo() override { return &m_ListInfo; }
    IListCallbackUI* GetTextCallback() const override { return m_pCallback; }
    void SetTextCallback(IListCallbackUI* pCallback) override;

    // The body's scroll bars (vertical on by default).
    void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE szPos) override;

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;

protected:
    // Columns from the header items' places, for text rows.
    void UpdateColumns();
    void Reindex(int iFrom);

    CListHeaderUI* m_pHeader = nullptr;
    CListBodyUI* m_pList = nullptr;
    int m_iCurSel = -1;
    int m_iEnsureVisible = -1;
    TListInfoUI m_ListInfo;
    IListCallbackUI* m_pCallback = nullptr;
};

// The scrolling part of a list that holds the rows.
class CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* pOwner);

    LPCSTR GetClass() const override;
    CListUI* GetOwner() const { return m_pOwner; }
    // Scrolls the least that shows the whole row (its top if it is taller).
    void ScrollIntoView(CControlUI* pRow);

private:
    CListUI* m_pOwner;
};

// The row of column titles; 24 pixels high unless its height is set.
class CListHeaderUI : public CHorizontalLayoutUI {
public:
    CListHeaderUI() = default;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    SIZE EstimateSize(SIZE szAvailable) override;
};

// A column title. A click sends "headerclick" (not "click"); the column's
// width is the item's width.
class CListHeaderItemUI : public CButtonUI {
public:
    CListHeaderItemUI();

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    bool Activate() override;

    // Kept for layouts that ask; columns are not resized by dragging.
    bool IsDragable() const { return m_bDragable; }
    void SetDragable(bool bDragable) { m_bDragable = bDragable; }
    DWORD GetSepColor() const { return m_dwSepColor; }
    void SetSepColor(DWORD dwColor);

    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;
    void PaintBorder(HDC hDC) override;

private:
    bool m_bDragable = true;
    DWORD m_dwSepColor = 0xFFC8C8C8;
};

// Reads the "item..." attributes shared by lists and combos into info.
// False when the name is not one of them.
bool SetListInfoAttribute(TListInfoUI& info, LPCSTR pstrName, LPCSTR pstrValue);

}  // namespace DuiLib
