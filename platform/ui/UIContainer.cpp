#include "platform/ui/UIContainer.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIRender.h"
#include "platform/ui/UIScrollBar.h"
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
    delete m_pVerticalScrollBar;
    delete m_pHorizontalScrollBar;
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
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetInternVisible(IsVisible());
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    for (CControlUI* p : m_items) p->SetInternVisible(IsVisible());
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetInternVisible(IsVisible());
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetInternVisible(IsVisible());
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    for (CControlUI* p : m_items) p->SetManager(pManager, this, bInit);
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetManager(pManager, this, bInit);
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
    CControlUI::SetManager(pManager, pParent, bInit);
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    auto update = [this](CScrollBarUI*& bar, bool enable, bool horizontal) {
        if (enable && !bar) {
            bar = new CScrollBarUI;
            bar->SetHorizontal(horizontal);
            bar->SetOwner(this);
            bar->SetShownByOwner(false);
            bar->SetManager(m_pManager, this, m_pManager != nullptr);
            bar->SetInternVisible(IsVisible());
        } else if (!enable && bar) {
            if (m_pManager) m_pManager->ReapObjects(bar);
            delete bar;
            bar = nullptr;
        }
    };
    update(m_pVerticalScrollBar, bEnableVertical, false);
    update(m_pHorizontalScrollBar, bEnableHorizontal, true);
    NeedUpdate();
}

SIZE CContainerUI::GetScrollPos() const
{
    return {m_pHorizontalScrollBar ? m_pHorizontalScrollBar->GetScrollPos() : 0,
            m_pVerticalScrollBar ? m_pVerticalScrollBar->GetScrollPos() : 0};
}

SIZE CContainerUI::GetScrollRange() const
{
    return {m_pHorizontalScrollBar ? m_pHorizontalScrollBar->GetScrollRange() : 0,
            m_pVerticalScrollBar ? m_pVerticalScrollBar->GetScrollRange() : 0};
}

void CContainerUI::SetScrollPos(SIZE szPos)
{
    SIZE old = GetScrollPos();
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetScrollPos(szPos.cy);
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
    SIZE now = GetScrollPos();
    if (now.cx == old.cx && now.cy == old.cy) return;
    RelayoutContent();
    Invalidate();
}

namespace {

int LineOf(CScrollBarUI* bar)
{
    return bar ? bar->GetLineSize() : 0;
}

int PageOf(CScrollBarUI* bar)
{
    if (!bar) return 0;
    return std::max(bar->GetLineSize(), bar->GetPageSize() - bar->GetLineSize());
}

}  // namespace

void CContainerUI::LineUp()
{
    SIZE sz = GetScrollPos();
    sz.cy -= LineOf(m_pVerticalScrollBar);
    SetScrollPos(sz);
}

void CContainerUI::LineDown()
{
    SIZE sz = GetScrollPos();
    sz.cy += LineOf(m_pVerticalScrollBar);
    SetScrollPos(sz);
}

void CContainerUI::PageUp()
{
    SIZE sz = GetScrollPos();
    sz.cy -= PageOf(m_pVerticalScrollBar);
    SetScrollPos(sz);
}

void CContainerUI::PageDown()
{
    SIZE sz = GetScrollPos();
    sz.cy += PageOf(m_pVerticalScrollBar);
    SetScrollPos(sz);
}

void CContainerUI::HomeUp()
{
    SetScrollPos({GetScrollPos().cx, 0});
}

void CContainerUI::EndDown()
{
    SetScrollPos({GetScrollPos().cx, GetScrollRange().cy});
}

void CContainerUI::LineLeft()
{
    SIZE sz = GetScrollPos();
    sz.cx -= LineOf(m_pHorizontalScrollBar);
    SetScrollPos(sz);
}

void CContainerUI::LineRight()
{
    SIZE sz = GetScrollPos();
    sz.cx += LineOf(m_pHorizontalScrollBar);
    SetScrollPos(sz);
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

std::vector<CControlUI*> CContainerUI::StackedChildren(SIZE szAvailable,
                                                       std::vector<TStackItem>* wanted)
{
    std::vector<CControlUI*> stacked;
    for (CControlUI* p : m_items) {
        if (!p->IsVisible() || p->IsFloat()) continue;
        TStackItem want;
        want.fixed = p->EstimateSize(szAvailable);
        want.padding = p->GetPadding();
        want.minSize = {p->GetMinWidth(), p->GetMinHeight()};
        want.maxSize = {p->GetMaxWidth(), p->GetMaxHeight()};
        stacked.push_back(p);
        wanted->push_back(want);
    }
    return stacked;
}

void CContainerUI::StackChildren(bool bVertical, const RECT& rcContent)
{
    std::vector<TStackItem> wanted;
    SIZE available = {rcContent.right - rcContent.left, rcContent.bottom - rcContent.top};
    std::vector<CControlUI*> stacked = StackedChildren(available, &wanted);
    std::vector<RECT> rects = StackLayout(bVertical, rcContent, m_iChildPadding, wanted);
    for (size_t i = 0; i < stacked.size(); ++i) stacked[i]->SetPos(rects[i], false);
}

SIZE CContainerUI::EstimateContent(SIZE szAvailable)
{
    // Every child has the whole area: the largest of them counts.
    SIZE need = {0, 0};
    std::vector<TStackItem> wanted;
    StackedChildren(szAvailable, &wanted);
    for (const TStackItem& w : wanted) {
        need.cx = std::max(need.cx, w.fixed.cx + w.padding.left + w.padding.right);
        need.cy = std::max(need.cy, w.fixed.cy + w.padding.top + w.padding.bottom);
    }
    return need;
}

RECT CContainerUI::GetViewRect() const
{
    RECT rc = GetContentRect();
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
        rc.right = std::max(rc.left, rc.right - m_pVerticalScrollBar->GetFixedWidth());
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
        rc.bottom = std::max(rc.top, rc.bottom - m_pHorizontalScrollBar->GetFixedHeight());
    return rc;
}

void CContainerUI::RelayoutContent()
{
    RECT content = GetContentRect();
    RECT layout = content;
    if (m_pVerticalScrollBar || m_pHorizontalScrollBar) {
        SIZE avail = {content.right - content.left, content.bottom - content.top};
        SIZE need = EstimateContent(avail);
        int barW = m_pVerticalScrollBar ? m_pVerticalScrollBar->GetFixedWidth() : 0;
        int barH = m_pHorizontalScrollBar ? m_pHorizontalScrollBar->GetFixedHeight() : 0;
        bool v = m_pVerticalScrollBar && need.cy > avail.cy;
        bool h = m_pHorizontalScrollBar && need.cx > avail.cx - (v ? barW : 0);
        if (h && !v && m_pVerticalScrollBar && need.cy > avail.cy - barH) v = true;
        RECT view = content;
        if (v) view.right = std::max(view.left, view.right - barW);
        if (h) view.bottom = std::max(view.top, view.bottom - barH);
        SIZE viewSize = {view.right - view.left, view.bottom - view.top};
        if (m_pVerticalScrollBar) {
            m_pVerticalScrollBar->SetShownByOwner(v);
            m_pVerticalScrollBar->SetScrollRange(v ? std::max(0L, need.cy - viewSize.cy) : 0);
            m_pVerticalScrollBar->SetPos({view.right, view.top, view.right + barW, view.bottom},
                                         false);
        }
        if (m_pHorizontalScrollBar) {
            m_pHorizontalScrollBar->SetShownByOwner(h);
            m_pHorizontalScrollBar->SetScrollRange(h ? std::max(0L, need.cx - viewSize.cx) : 0);
            m_pHorizontalScrollBar->SetPos({view.left, view.bottom, view.right, view.bottom + barH},
                                           false);
        }
        SIZE pos = GetScrollPos();
        layout = view;
        ::OffsetRect(&layout, -pos.cx, -pos.cy);
        if (v) layout.bottom = layout.top + std::max(viewSize.cy, need.cy);
        if (h) layout.right = layout.left + std::max(viewSize.cx, need.cx);
    }
    LayoutChildren(layout);
    for (CControlUI* p : m_items)
        if (p->IsVisible() && p->IsFloat()) SetFloatPos(p);
}

void CContainerUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    CControlUI::SetPos(rc, bNeedInvalidate);
    RelayoutContent();
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp;
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    CControlUI::DoPaint(hDC, rcPaint);
    if (m_items.empty()) return;
    // Stacked children stay inside the inset and off the scroll bars;
    // floating ones may use the whole container.
    RECT rcContent = GetViewRect();
    for (CControlUI* p : m_items) {
        if (!p->IsVisible()) continue;
        RECT rcClip = p->IsFloat() ? m_rcItem : rcContent;
        RECT rcChildPaint;
        if (!::IntersectRect(&rcChildPaint, &rcPaint, &rcClip)) continue;
        if (!::IntersectRect(&rcTemp, &rcChildPaint, &p->GetPos())) continue;
        CRenderClip clip(hDC, rcChildPaint);
        p->DoPaint(hDC, rcChildPaint);
    }
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (!bar || !bar->IsVisible()) continue;
        RECT rcBarPaint;
        if (!::IntersectRect(&rcBarPaint, &rcPaint, &bar->GetPos())) continue;
        CRenderClip clip(hDC, rcBarPaint);
        bar->DoPaint(hDC, rcBarPaint);
    }
}

void CContainerUI::DoEvent(TEventUI& event)
{
    if (event.Type == UIEVENT_SCROLLWHEEL) {
        bool down = LOWORD(event.wParam) == SB_LINEDOWN;
        if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) {
            down ? LineDown() : LineUp();
            return;
        }
        if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) {
            down ? LineRight() : LineLeft();
            return;
        }
    }
    CControlUI::DoEvent(event);
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
    } else if (strcmp(pstrName, "vscrollbar") == 0) {
        EnableScrollBar(ParseBool(pstrValue), GetHorizontalScrollBar() != nullptr);
    } else if (strcmp(pstrName, "hscrollbar") == 0) {
        EnableScrollBar(GetVerticalScrollBar() != nullptr, ParseBool(pstrValue));
    } else if (strcmp(pstrName, "vscrollbarstyle") == 0) {
        if (!GetVerticalScrollBar()) EnableScrollBar(true, GetHorizontalScrollBar() != nullptr);
        GetVerticalScrollBar()->ApplyAttributeList(pstrValue);
    } else if (strcmp(pstrName, "hscrollbarstyle") == 0) {
        if (!GetHorizontalScrollBar()) EnableScrollBar(GetVerticalScrollBar() != nullptr, true);
        GetHorizontalScrollBar()->ApplyAttributeList(pstrValue);
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
    // The scroll bars lie over the children.
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (!bar) continue;
        if (CControlUI* p = bar->FindControl(Proc, pData, uFlags)) return p;
    }
    // Children scrolled out of sight take no mouse.
    if (hitTest && (m_pVerticalScrollBar || m_pHorizontalScrollBar)) {
        RECT view = GetViewRect();
        POINT pt = *static_cast<POINT*>(pData);
        bool inView = ::PtInRect(&view, pt) != FALSE;
        if (!inView) {
            // Floating children may still be there.
            for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
                if ((*it)->IsFloat())
                    if (CControlUI* p = (*it)->FindControl(Proc, pData, uFlags)) return p;
            return m_bMouseEnabled ? Proc(this, pData) : nullptr;
        }
    }
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
