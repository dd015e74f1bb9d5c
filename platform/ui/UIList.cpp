#include "platform/ui/UIList.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIRender.h"
#include "platform/ui/UIScrollBar.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace DuiLib {

namespace {

const long kDefaultHeaderHeight = 24;

IListItemUI* ItemOf(CControlUI* p)
{
    return p ? static_cast<IListItemUI*>(p->GetInterface("ListItem")) : nullptr;
}

bool Selectable(CControlUI* p)
{
    return p && ItemOf(p) && p->IsVisible() && p->IsEnabled();
}

}  // namespace

bool SetListInfoAttribute(TListInfoUI& info, LPCSTR pstrName, LPCSTR pstrValue)
{
    const std::string name = pstrName;
    if (name.compare(0, 4, "item") != 0) return false;
    DWORD color;
    RECT rc;
    int n;
    if (name == "itemfont") {
        if (ParseInt(pstrValue, &n)) info.nFont = n;
    } else if (name == "itemalign") {
        info.uTextStyle &= ~(DT_LEFT | DT_CENTER | DT_RIGHT);
        if (strstr(pstrValue, "center"))
            info.uTextStyle |= DT_CENTER;
        else if (strstr(pstrValue, "right"))
            info.uTextStyle |= DT_RIGHT;
    } else if (name == "itemendellipsis") {
        if (ParseBool(pstrValue))
            info.uTextStyle |= DT_END_ELLIPSIS;
        else
            info.uTextStyle &= ~DT_END_ELLIPSIS;
    } else if (name == "itemtextpadding") {
        if (ParseRect(pstrValue, &rc)) info.rcTextPadding = rc;
    } else if (name == "itemtextcolor") {
        if (ParseColor(pstrValue, &color)) info.dwTextColor = color;
    } else if (name == "itembkcolor") {
        if (ParseColor(pstrValue, &color)) info.dwBkColor = color;
    } else if (name == "itembkimage") {
        info.sBkImage = pstrValue;
    } else if (name == "itemalternatebk") {
        info.bAlternateBk = ParseBool(pstrValue);
    } else if (name == "itemselectedtextcolor") {
        if (ParseColor(pstrValue, &color)) info.dwSelectedTextColor = color;
    } else if (name == "itemselectedbkcolor") {
        if (ParseColor(pstrValue, &color)) info.dwSelectedBkColor = color;
    } else if (name == "itemselectedimage") {
        info.sSelectedImage = pstrValue;
    } else if (name == "itemhottextcolor") {
        if (ParseColor(pstrValue, &color)) info.dwHotTextColor = color;
    } else if (name == "itemhotbkcolor") {
        if (ParseColor(pstrValue, &color)) info.dwHotBkColor = color;
    } else if (name == "itemhotimage") {
        info.sHotImage = pstrValue;
    } else if (name == "itemdisabledtextcolor") {
        if (ParseColor(pstrValue, &color)) info.dwDisabledTextColor = color;
    } else if (name == "itemdisabledbkcolor") {
        if (ParseColor(pstrValue, &color)) info.dwDisabledBkColor = color;
    } else if (name == "itemdisabledimage") {
        info.sDisabledImage = pstrValue;
    } else if (name == "itemlinecolor") {
        if (ParseColor(pstrValue, &color)) info.dwLineColor = color;
    } else if (name == "itemshowhtml") {
        info.bShowHtml = ParseBool(pstrValue);
    } else {
        return false;
    }
    return true;
}

// ---- CListUI ----

CListUI::CListUI()
{
    m_pHeader = new CListHeaderUI;
    m_pList = new CListBodyUI(this);
    CVerticalLayoutUI::AddAt(m_pHeader, 0);
    CVerticalLayoutUI::AddAt(m_pList, 1);
}

LPCSTR CListUI::GetClass() const
{
    return "ListUI";
}

LPVOID CListUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "List") == 0) return this;
    if (strcmp(pstrName, "IList") == 0) return static_cast<IListUI*>(this);
    if (strcmp(pstrName, "IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(pstrName);
}

UINT CListUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

CContainerUI* CListUI::GetList() const
{
    return m_pList;
}

bool CListUI::IsHeaderVisible() const
{
    return m_pHeader->IsVisible();
}

void CListUI::SetHeaderVisible(bool bVisible)
{
    m_pHeader->SetVisible(bVisible);
}

CControlUI* CListUI::GetItemAt(int iIndex) const
{
    return m_pList->GetItemAt(iIndex);
}

int CListUI::GetItemIndex(CControlUI* pControl) const
{
    return m_pList->GetItemIndex(pControl);
}

bool CListUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    CControlUI* selected = GetItemAt(m_iCurSel);
    if (!m_pList->SetItemIndex(pControl, iIndex)) return false;
    Reindex(0);
    m_iCurSel = selected ? GetItemIndex(selected) : -1;
    return true;
}

int CListUI::GetCount() const
{
    return m_pList->GetCount();
}

bool CListUI::Add(CControlUI* pControl)
{
    return AddAt(pControl, GetCount());
}

bool CListUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!pControl) return false;
    // A header in the layout replaces the empty one; its items go into it.
    if (pControl->GetInterface("ListHeader")) {
        CListHeaderUI* old = m_pHeader;
        bool visible = old->IsVisible();
        m_pHeader = static_cast<CListHeaderUI*>(pControl);
        CVerticalLayoutUI::Remove(old);
        CVerticalLayoutUI::AddAt(m_pHeader, 0);
        if (!visible) m_pHeader->SetVisible(false);
        return true;
    }
    if (pControl->GetInterface("ListHeaderItem")) return m_pHeader->Add(pControl);
    if (iIndex < 0 || iIndex > GetCount()) return false;
    if (IListItemUI* item = ItemOf(pControl)) {
        item->SetOwner(this);
        item->SetIndex(iIndex);
    }
    if (!m_pList->AddAt(pControl, iIndex)) return false;
    Reindex(iIndex + 1);
    if (m_iCurSel >= iIndex) ++m_iCurSel;
    return true;
}

bool CListUI::Remove(CControlUI* pControl, bool bDoNotDestroy)
{
    int index = GetItemIndex(pControl);
    if (index < 0) return false;
    if (index == m_iCurSel) {
        if (IListItemUI* item = ItemOf(pControl)) item->Select(false);
        m_iCurSel = -1;
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    if (!m_pList->Remove(pControl, bDoNotDestroy)) return false;
    Reindex(index);
    return true;
}

bool CListUI::RemoveAt(int iIndex, bool bDoNotDestroy)
{
    CControlUI* p = GetItemAt(iIndex);
    return p && Remove(p, bDoNotDestroy);
}

void CListUI::RemoveAll()
{
    m_iCurSel = -1;
    m_iEnsureVisible = -1;
    m_pList->RemoveAll();
}

void CListUI::Reindex(int iFrom)
{
    for (int i = std::max(0, iFrom); i < GetCount(); ++i)
        if (IListItemUI* item = ItemOf(GetItemAt(i))) item->SetIndex(i);
}

bool CListUI::SelectItem(int iIndex, bool bTakeFocus)
{
    CControlUI* p = GetItemAt(iIndex);
    if (!Selectable(p)) return false;
    if (iIndex == m_iCurSel) {
        if (bTakeFocus) p->SetFocus();
        return true;
    }
    int old = m_iCurSel;
    if (IListItemUI* previous = ItemOf(GetItemAt(old))) previous->Select(false);
    ItemOf(p)->Select(true);
    m_iCurSel = iIndex;
    EnsureVisible(iIndex);
    if (bTakeFocus) p->SetFocus();
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, (WPARAM)iIndex, (LPARAM)old);
    return true;
}

void CListUI::EnsureVisible(int iIndex)
{
    CControlUI* row = GetItemAt(iIndex);
    if (!row) return;
    // Rows added a moment ago have no place yet.
    if (!m_pManager || m_pManager->IsUpdateNeeded() || IsUpdateNeeded()) {
        m_iEnsureVisible = iIndex;
        return;
    }
    m_pList->ScrollIntoView(row);
}

void CListUI::SetTextCallback(IListCallbackUI* pCallback)
{
    m_pCallback = pCallback;
    Invalidate();
}

void CListUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    m_pList->EnableScrollBar(bEnableVertical, bEnableHorizontal);
}

CScrollBarUI* CListUI::GetVerticalScrollBar() const
{
    return m_pList->GetVerticalScrollBar();
}

CScrollBarUI* CListUI::GetHorizontalScrollBar() const
{
    return m_pList->GetHorizontalScrollBar();
}

SIZE CListUI::GetScrollPos() const
{
    return m_pList->GetScrollPos();
}

SIZE CListUI::GetScrollRange() const
{
    return m_pList->GetScrollRange();
}

void CListUI::SetScrollPos(SIZE szPos)
{
    m_pList->SetScrollPos(szPos);
}

void CListUI::UpdateColumns()
{
    m_ListInfo.nColumns = 0;
    if (!m_pHeader->IsVisible()) return;
    for (int i = 0; i < m_pHeader->GetCount() && m_ListInfo.nColumns < UILIST_MAX_COLUMNS; ++i) {
        CControlUI* item = m_pHeader->GetItemAt(i);
        if (!item->IsVisible()) continue;
        const RECT& rc = item->GetPos();
        m_ListInfo.rcColumn[m_ListInfo.nColumns++] = {rc.left, 0, rc.right, 0};
    }
}

void CListUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    CVerticalLayoutUI::SetPos(rc, bNeedInvalidate);
    UpdateColumns();
    if (m_iEnsureVisible >= 0) {
        CControlUI* row = GetItemAt(m_iEnsureVisible);
        m_iEnsureVisible = -1;
        if (row) m_pList->ScrollIntoView(row);
    }
}

void CListUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CVerticalLayoutUI::DoEvent(event);
        return;
    }
    auto step = [this](int from, int dir) {
        for (int i = from; i >= 0 && i < GetCount(); i += dir)
            if (Selectable(GetItemAt(i))) return i;
        return -1;
    };
    switch (event.Type) {
        case UIEVENT_KEYDOWN:
            switch (event.chKey) {
                case VK_UP:
                    SelectItem(step(m_iCurSel < 0 ? 0 : m_iCurSel - 1, -1), true);
                    return;
                case VK_DOWN:
                    SelectItem(step(m_iCurSel + 1, 1), true);
                    return;
                case VK_HOME:
                    SelectItem(step(0, 1), true);
                    return;
                case VK_END:
                    SelectItem(step(GetCount() - 1, -1), true);
                    return;
                case VK_RETURN:
                    if (CControlUI* p = GetItemAt(m_iCurSel)) p->Activate();
                    return;
                default:
                    break;
            }
            break;
        case UIEVENT_SCROLLWHEEL: {
            // Over the header: the rows scroll. From the rows themselves the
            // body has had its turn already.
            CScrollBarUI* bar = m_pList->GetVerticalScrollBar();
            bool fromBody = false;
            for (CControlUI* p = event.pSender; p; p = p->GetParent())
                if (p == m_pList) fromBody = true;
            if (!fromBody && bar && bar->IsVisible()) {
                LOWORD(event.wParam) == SB_LINEDOWN ? m_pList->LineDown() : m_pList->LineUp();
                return;
            }
            break;
        }
        default:
            break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    if (strcmp(pstrName, "header") == 0) {
        SetHeaderVisible(strcmp(pstrValue, "hidden") != 0 && strcmp(pstrValue, "false") != 0);
    } else if (strcmp(pstrName, "headerbkimage") == 0) {
        m_pHeader->SetBkImage(pstrValue);
    } else if (SetListInfoAttribute(m_ListInfo, pstrName, pstrValue)) {
        Invalidate();
    } else {
        CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
    }
}

// ---- CListBodyUI ----

CListBodyUI::CListBodyUI(CListUI* pOwner) : m_pOwner(pOwner)
{
    EnableScrollBar(true, false);
}

LPCSTR CListBodyUI::GetClass() const
{
    return "ListBodyUI";
}

void CListBodyUI::ScrollIntoView(CControlUI* pRow)
{
    RECT view = GetViewRect();
    const RECT& rc = pRow->GetPos();
    SIZE pos = GetScrollPos();
    if (rc.top < view.top)
        pos.cy -= view.top - rc.top;
    else if (rc.bottom > view.bottom)
        pos.cy += std::min(rc.bottom - view.bottom, rc.top - view.top);
    SetScrollPos(pos);
}

// ---- CListHeaderUI ----

LPCSTR CListHeaderUI::GetClass() const
{
    return "ListHeaderUI";
}

LPVOID CListHeaderUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "ListHeader") == 0) return this;
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

SIZE CListHeaderUI::EstimateSize(SIZE szAvailable)
{
    SIZE sz = CHorizontalLayoutUI::EstimateSize(szAvailable);
    if (sz.cy == 0) sz.cy = kDefaultHeaderHeight;
    return sz;
}

// ---- CListHeaderItemUI ----

CListHeaderItemUI::CListHeaderItemUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

LPCSTR CListHeaderItemUI::GetClass() const
{
    return "ListHeaderItemUI";
}

LPVOID CListHeaderItemUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "ListHeaderItem") == 0) return this;
    return CButtonUI::GetInterface(pstrName);
}

bool CListHeaderItemUI::Activate()
{
    if (!CLabelUI::Activate()) return false;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_HEADERCLICK);
    return true;
}

void CListHeaderItemUI::SetSepColor(DWORD dwColor)
{
    m_dwSepColor = dwColor;
    Invalidate();
}

void CListHeaderItemUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    DWORD color;
    if (strcmp(pstrName, "dragable") == 0) {
        SetDragable(ParseBool(pstrValue));
    } else if (strcmp(pstrName, "sepcolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetSepColor(color);
    } else if (strcmp(pstrName, "sepwidth") == 0 || strcmp(pstrName, "sepimage") == 0) {
        // Separators for dragging; columns keep their widths here.
    } else {
        CButtonUI::SetAttribute(pstrName, pstrValue);
    }
}

void CListHeaderItemUI::PaintBorder(HDC hDC)
{
    CButtonUI::PaintBorder(hDC);
    if (m_dwSepColor)
        CRenderEngine::DrawColor(
            hDC, {m_rcItem.right - 1, m_rcItem.top, m_rcItem.right, m_rcItem.bottom}, m_dwSepColor);
}

}  // namespace DuiLib
