// CContainerUI: a control holding children. The plain container gives every
// non-floating child its whole content area; the vertical and horizontal
// layouts stack them. Floating children are placed by their pos relative to
// the container's top-left corner, in every container.
//
// With a scroll bar enabled, a container whose children need more room
// than it has shows the bar and shifts them by the scroll position.
#pragma once

#include <vector>

#include "platform/ui/UIControl.h"
#include "platform/ui/UIStackLayout.h"

namespace DuiLib {

class CScrollBarUI;

class CContainerUI : public CControlUI {
public:
    CContainerUI() = default;
    ~CContainerUI() override;

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;

    virtual CControlUI* GetItemAt(int iIndex) const;
    virtual int GetItemIndex(CControlUI* pControl) const;
    virtual bool SetItemIndex(CControlUI* pControl, int iIndex);
    virtual int GetCount() const { return (int)m_items.size(); }
    virtual bool Add(CControlUI* pControl);
    virtual bool AddAt(CControlUI* pControl, int iIndex);
    // Deletes the child unless bDoNotDestroy or auto-destroy is off; while
    // the window runs the deletion waits for the current message to end,
    // so a child may remove itself from its own click handler.
    virtual bool Remove(CControlUI* pControl, bool bDoNotDestroy = false);
    virtual bool RemoveAt(int iIndex, bool bDoNotDestroy = false);
    virtual void RemoveAll();

    RECT GetInset() const { return m_rcInset; }
    void SetInset(RECT rcInset);
    int GetChildPadding() const { return m_iChildPadding; }
    void SetChildPadding(int iPadding);
    bool IsAutoDestroy() const { return m_bAutoDestroy; }
    void SetAutoDestroy(bool bAuto) { m_bAutoDestroy = bAuto; }
    bool IsDelayedDestroy() const { return m_bDelayedDestroy; }
    void SetDelayedDestroy(bool bDelayed) { m_bDelayedDestroy = bDelayed; }
    bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
    void SetMouseChildEnabled(bool bEnable = true) { m_bMouseChildEnabled = bEnable; }

    // By name among all descendants.
    CControlUI* FindSubControl(LPCSTR pstrSubControlName);

    virtual void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
    virtual CScrollBarUI* GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }
    // Pixels scrolled from the top-left, and how far each way may go.
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE szPos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();

    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCSTR pstrName, LPCSTR pstrValue) override;
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;

protected:
    // The area inside the inset.
    RECT GetContentRect() const;
    // The area the children show in: the content less the scroll bars.
    RECT GetViewRect() const;
    // Lays the children (and the scroll bars) out in the current rectangle.
    void RelayoutContent();
    // The room the non-floating children need (for scrolling).
    virtual SIZE EstimateContent(SIZE szAvailable);
    // The non-floating children a stacking layout places, with what they ask.
    std::vector<CControlUI*> StackedChildren(SIZE szAvailable, std::vector<TStackItem>* wanted);
    // Places a floating child from its relative position.
    void SetFloatPos(CControlUI* pControl);
    // Lays out the non-floating children inside rcContent.
    virtual void LayoutChildren(const RECT& rcContent);
    // Stacks the non-floating children (vertical and horizontal layouts).
    void StackChildren(bool bVertical, const RECT& rcContent);

    std::vector<CControlUI*> m_items;
    CScrollBarUI* m_pVerticalScrollBar = nullptr;
    CScrollBarUI* m_pHorizontalScrollBar = nullptr;
    RECT m_rcInset = {0, 0, 0, 0};
    int m_iChildPadding = 0;
    bool m_bAutoDestroy = true;
    bool m_bDelayedDestroy = true;
    bool m_bMouseChildEnabled = true;
};

}  // namespace DuiLib
