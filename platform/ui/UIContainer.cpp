#include "platform/ui/UIContainer.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIRender.h"
#include "platform/ui/UIStackLayout.h"

#include <algorithm>
#include <cstring>

namespace DuiLib {

namespace {

CControlUI* CALLBACK FindByName(CControlUI* pThis, LPVOID pData)
{
    return pThis->GetName() == static_cast<LPCSTR>(pData) ? pThis : nullptr;
}

}  // namespace

CContainerUI::~CContainerUI()
{
    // Going away itself: the children go now, not after the message.
    m_bDelayedDestroy = false;
    RemoveAll();
}

LPCSTR CContainerUI::GetClass() const
{
    return "ContainerUI";
}

LPVOID CContainerUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "IContainer") == 0 || strcmp(pstrName, "Container") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= (int)m_items.size()) return nullptr;
    return m_items[(size_t)iIndex];
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const
{
    auto it = std::find(m_items.begin(), m_items.end(), pControl);
    return it == m_items.end() ? -1 : (int)(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    int from = GetItemIndex(pControl);
    if (from < 0 || iIndex < 0 || iIndex >= (int)m_items.size()) return false;
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + iIndex, pControl);
    NeedUpdate();
    return true;
}

bool CContainerUI::Add(CControlUI* pControl)
{
    return AddAt(pControl, (int)m_items.size());
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!pControl || iIndex < 0 || iIndex > (int)m_items.size()) return false;
    if (m_pManager)
        m_pManager->InitControls(pControl, this);
    else
        pControl->SetManager(nullptr, this, false);
    pControl->SetInternVisible(IsVisible());
    m_items.insert(m_items.begin() + iIndex, pControl);
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* pControl, bool bDoNotDestroy)
{
    auto it = std::find(m_items.begin(), m_items.end(), pControl);
    if (it == m_items.end()) return false;
    m_items.erase(it);
    NeedUpdate();
    if (bDoNotDestroy || !m_bAutoDestroy) return true;
    if (m_bDelayedDestroy && m_pManager)
        m_pManager->AddDelayedCleanup(pControl);
    else
        delete pControl;
    return true;
}

bool CContainerUI::RemoveAt(int iIndex, bool bDoNotDestroy)
{
    CControlUI* p = GetItemAt(iIndex);
    return p && Remove(p, bDoNotDestroy);
}

void CContainerUI::RemoveAll()
{
    std::vector<CControlUI*> items;
    items.swap(m_items);
    if (m_bAutoDestroy) {
        for (CControlUI* p : items) {
            if (m_bDelayedDestroy && m_pManager)
                m_pManager->AddDelayedCleanup(p);
            else
                delete p;
        }
    }
    NeedUpdate();
}

void CContainerUI::SetInset(RECT rcInset)
{
    m_rcInset = rcInset;
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int iPadding)
{
    m_iChildPadding = iPadding;
    NeedUpdate();
}

CControlUI* CContainerUI::FindSubControl(LPCSTR pstrSubControlName)
{
    if (!pstrSubControlName) return nullptr;
    return FindControl(FindByName, (LPVOID)pstrSubControlName, UIFIND_ALL);
}

void CContainerUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    CControlUI::SetVisible(bVisible);
    for (CControlUI* p : m_items) p->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    for (CControlUI* p : m_items) p->SetInternVisible(IsVisible());
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    for (CControlUI* p : m_items) p->SetManager(pManager, this, bInit);
    CControlUI::SetManager(pManager, pParent, bInit);
}

RECT CContainerUI::GetContentRect() const
{
    RECT rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

void CContainerUI::SetFloatPos(CControlUI* pControl)
{
    pControl->SetPos(pControl->GetFloatPos(), false);
}

void CContainerUI::LayoutChildren(const RECT& rcContent)
{
    for (CControlUI* p : m_items) {
        if (!p->IsVisible() || p->IsFloat()) continue;
        RECT rc = rcContent;
        RECT pad = p->GetPadding();
        rc.left += pad.left;
        rc.top += pad.top;
        rc.right -= pad.right;
        rc.bottom -= pad.bottom;
        SIZE sz = p->EstimateSize({rc.right - rc.left, rc.bottom - rc.top});
        if (sz.cx > 0 && sz.cx < rc.right - rc.left) rc.right = rc.left + sz.cx;
        if (sz.cy > 0 && sz.cy < rc.bottom - rc.top) rc.bottom = rc.top + sz.cy;
        p->SetPos(rc, false);
    }
}

void CContainerUI::StackChildren(bool bVertical, const RECT& rcContent)
{
    std::vector<CControlUI*> stacked;
    std::vector<TStackItem> wanted;
    SIZE available = {rcContent.right - rcContent.left, rcContent.bottom - rcContent.top};
    for (CControlUI* p : m_items) {
        if (!p->IsVisible() || p->IsFloat()) continue;
        TStackItem want;
        want.fixed = p->EstimateSize(available);
        want.padding = p->GetPadding();
        want.minSize = {p->GetMinWidth(), p->GetMinHeight()};
        want.maxSize = {p->GetMaxWidth(), p->GetMaxHeight()};
        stacked.push_back(p);
        wanted.push_back(want);
    }
    std::vector<RECT> rects = StackLayout(bVertical, rcContent, m_iChildPadding, wanted);
    for (size_t i = 0; i < stacked.size(); ++i) stacked[i]->SetPos(rects[i], false);
}

void CContainerUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    CControlUI::SetPos(rc, bNeedInvalidate);
    LayoutChildren(GetContentRect());
    for (CControlUI* p : m_items)
        if (p->IsVisible() && p->IsFloat()) SetFloatPos(p);
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp;
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    CControlUI::DoPaint(hDC, rcPaint);
    if (m_items.empty()) return;
    // Stacked children stay inside the inset; floating ones may use the
    // whole container.
    RECT rcContent = GetContentRect();
    for (CControlUI* p : m_items) {
        if (!p->IsVisible()) continue;
        RECT rcClip = p->IsFloat() ? m_rcItem : rcContent;
        RECT rcChildPaint;
        if (!::IntersectRect(&rcChildPaint, &rcPaint, &rcClip)) continue;
        if (!::IntersectRect(&rcTemp, &rcChildPaint, &p->GetPos())) continue;
        CRenderClip clip(hDC, rcChildPaint);
        p->DoPaint(hDC, rcChildPaint);
    }
}

void CContainerUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    RECT rc;
    int n;
    if (strcmp(pstrName, "inset") == 0) {
        if (ParseRect(pstrValue, &rc)) SetInset(rc);
    } else if (strcmp(pstrName, "childpadding") == 0) {
        if (ParseInt(pstrValue, &n)) SetChildPadding(n);
    } else if (strcmp(pstrName, "mousechild") == 0) {
        SetMouseChildEnabled(ParseBool(pstrValue));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    const bool hitTest = (uFlags & UIFIND_HITTEST) != 0;
    if (hitTest && !::PtInRect(&m_rcItem, *static_cast<POINT*>(pData))) return nullptr;
    // A container without the mouse still lets its children have it.
    if ((uFlags & UIFIND_ME_FIRST) != 0 && (!hitTest || m_bMouseEnabled)) {
        if (CControlUI* p = Proc(this, pData)) return p;
    }
    if (!hitTest || m_bMouseChildEnabled) {
        if ((uFlags & UIFIND_TOP_FIRST) != 0) {
            for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
                if (CControlUI* p = (*it)->FindControl(Proc, pData, uFlags)) return p;
        } else {
            for (CControlUI* child : m_items)
                if (CControlUI* p = child->FindControl(Proc, pData, uFlags)) return p;
        }
    }
    if ((uFlags & UIFIND_ME_FIRST) == 0 && (!hitTest || m_bMouseEnabled)) return Proc(this, pData);
    return nullptr;
}

}  // namespace DuiLib
