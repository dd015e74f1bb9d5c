// CComboUI: shows its current item's text; a click opens a drop-down
// window below it (above when the screen ends) listing the items, which
// are list elements (usually ListLabelElement). Choosing one closes the
// list. "dropdown" is sent when it opens, "itemselect" (wParam the new
// index, lParam the old) when the selection changes.
#pragma once

#include "platform/ui/UIList.h"

namespace DuiLib {

class CComboWnd;

class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    CComboUI();
    ~CComboUI() override;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
    UINT GetControlFlags() const override;
    // Opens the drop-down list; false when disabled or hidden.
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;

    // The current item's text.
    CDuiString GetText() const override;

    // The items show in the drop-down, not in the combo's place: whatever
    // hides the combo (a tab page not shown) leaves them selectable; only an
    // item's own visibility counts.
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;

    bool AddAt(CControlUI* pControl, int iIndex) override;
    // Removing the current item leaves nothing selected (and sends nothing).
    bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
    void RemoveAll() override;

    int GetCurSel() const override { return m_iCurSel; }
    // Out of range: false, the selection unchanged and nothing sent. The
    // current index again: true, nothing sent.
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;
    TListInfoUI* GetListInfo() override { return &m_ListInfo; }

    // Width and greatest height of the drop-down (0 width: the combo's).
    SIZE GetDropBoxSize() const { return m_szDropBox; }
    void SetDropBoxSize(SIZE szDropBox);
    // Attributes for the drop-down's layout ("bkcolor=... inset=...").
    CDuiString GetDropBoxAttributeList() const { return m_sDropBoxAttributes; }
    void SetDropBoxAttributeList(LPCSTR pstrList);
    // The open drop-down window, or null.
    HWND GetDropDownWindow() const;
    void CloseDropDown();

    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    void SetNormalImage(LPCSTR pStrImage);
    void SetHotImage(LPCSTR pStrImage);
    void SetPushedImage(LPCSTR pStrImage);
    void SetFocusedImage(LPCSTR pStrImage);
    void SetDisabledImage(LPCSTR pStrImage);

    // The items live in the drop-down, not in the combo's own area.
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

private:
    friend class CComboWnd;

    void Reindex(int iFrom);

    CComboWnd* m_pWindow = nullptr;
    int m_iCurSel = -1;
    TListInfoUI m_ListInfo;
    SIZE m_szDropBox = {0, 150};
    CDuiString m_sDropBoxAttributes;
    RECT m_rcTextPadding = {4, 0, 4, 0};
    UINT m_uButtonState = 0;
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sPushedImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sDisabledImage;
};

}  // namespace DuiLib
