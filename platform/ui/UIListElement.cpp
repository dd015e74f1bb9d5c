#include "platform/ui/UIListElement.h"

#include "platform/ui/UIRender.h"

#include <cstring>

namespace DuiLib {

namespace {

// What plain and container rows do alike. True when the event was used.
bool HandleRowEvent(CControlUI* row, IListItemUI* item, UINT& state, TEventUI& event)
{
    CPaintManagerUI* pm = row->GetManager();
    IListOwnerUI* owner = item->GetOwner();
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_RBUTTONDOWN:
            if (!row->IsEnabled()) return true;
            // First the click, then the selection: a popup list closes on
            // "itemselect" and must have seen which item it was.
            if (event.Type == UIEVENT_BUTTONDOWN && pm) pm->SendNotify(row, DUI_MSGTYPE_ITEMCLICK);
            if (owner) owner->SelectItem(item->GetIndex(), true);
            row->Invalidate();
            return true;
        case UIEVENT_DBLCLICK:
            if (row->IsEnabled()) row->Activate();
            return true;
        case UIEVENT_BUTTONUP:
            return true;
        case UIEVENT_KEYDOWN:
            if (!row->IsEnabled()) return false;
            if (event.chKey == VK_RETURN) {
                row->Activate();
                return true;
            }
            // Arrows and the like move the owner's selection.
            if (owner) {
                owner->DoEvent(event);
                return true;
            }
            return false;
        case UIEVENT_MOUSEENTER:
            if (row->IsEnabled() && !(state & UISTATE_HOT)) {
                state |= UISTATE_HOT;
                row->Invalidate();
            }
            return true;
        case UIEVENT_MOUSELEAVE:
            // Passing from one of a row's controls to another keeps it hot.
            if (event.pSender == row || !::PtInRect(&row->GetPos(), event.ptMouse)) {
                if (state & UISTATE_HOT) {
                    state &= ~UISTATE_HOT;
                    row->Invalidate();
                }
            }
            return true;
        default:
            return false;
    }
}

void PaintRowBk(HDC hDC, CControlUI* row, IListOwnerUI* owner, const RECT& rcItem, bool selected,
                UINT state, int index)
{
    TListInfoUI* info = owner ? owner->GetListInfo() : nullptr;
    if (!info) return;
    DWORD bk = 0;
    const CDuiString* image = nullptr;
    if (!row->IsEnabled()) {
        bk = info->dwDisabledBkColor;
        image = &info->sDisabledImage;
    } else if (selected) {
        bk = info->dwSelectedBkColor;
        image = &info->sSelectedImage;
    } else if (state & UISTATE_HOT) {
        bk = info->dwHotBkColor;
        image = &info->sHotImage;
    }
    if (bk == 0 && (!image || image->IsEmpty()) && (!info->bAlternateBk || index % 2 == 0)) {
        bk = info->dwBkColor;
        image = &info->sBkImage;
    }
    if (bk) CRenderEngine::DrawColor(hDC, rcItem, bk);
    if (image && !image->IsEmpty()) row->DrawImage(hDC, *image);
    if (info->dwLineColor)
        CRenderEngine::DrawColor(hDC, {rcItem.left, rcItem.bottom - 1, rcItem.right, rcItem.bottom},
                                 info->dwLineColor);
}

DWORD RowTextColor(const TListInfoUI* info, bool enabled, bool selected, UINT state)
{
    if (!enabled) return info->dwDisabledTextColor;
    if (selected) return info->dwSelectedTextColor;
    if (state & UISTATE_HOT) return info->dwHotTextColor;
    return info->dwTextColor;
}

void DrawRowText(HDC hDC, CControlUI* row, const TListInfoUI* info, RECT rc, LPCSTR text,
                 DWORD color)
{
    if (!text || !*text) return;
    rc.left += info->rcTextPadding.left;
    rc.top += info->rcTextPadding.top;
    rc.right -= info->rcTextPadding.right;
    rc.bottom -= info->rcTextPadding.bottom;
    CRenderEngine::DrawText(hDC, row->GetManager(), rc, text, color, info->nFont, info->uTextStyle);
}

}  // namespace

// ---- CListElementUI ----

LPCSTR CListElementUI::GetClass() const
{
    return "ListElementUI";
}

LPVOID CListElementUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (strcmp(pstrName, "ListElement") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

UINT CListElementUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

bool CListElementUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
    return true;
}

void CListElementUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!bEnable) m_uButtonState = 0;
}

void CListElementUI::SetOwner(CControlUI* pOwner)
{
    m_pOwnerControl = pOwner;
    m_pOwner = pOwner ? static_cast<IListOwnerUI*>(pOwner->GetInterface("IListOwner")) : nullptr;
}

bool CListElementUI::Select(bool bSelect)
{
    if (m_bSelected != bSelect) {
        m_bSelected = bSelect;
        Invalidate();
    }
    return true;
}

void CListElementUI::DrawItemText(HDC, const RECT&) {}

DWORD CListElementUI::ItemTextColor() const
{
    TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    if (!info) return 0xFF000000;
    return RowTextColor(info, IsEnabled(), m_bSelected, m_uButtonState);
}

void CListElementUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CControlUI::DoEvent(event);
        return;
    }
    if (HandleRowEvent(this, this, m_uButtonState, event)) return;
    CControlUI::DoEvent(event);
}

void CListElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    CRenderClip clip(hDC, m_rcPaint);
    DrawItemBk(hDC, m_rcItem);
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    DrawItemText(hDC, m_rcItem);
    PaintBorder(hDC);
}

void CListElementUI::DrawItemBk(HDC hDC, const RECT& rcItem)
{
    PaintRowBk(hDC, this, m_pOwner, rcItem, m_bSelected, m_uButtonState, m_iIndex);
}

// ---- CListLabelElementUI ----

LPCSTR CListLabelElementUI::GetClass() const
{
    return "ListLabelElementUI";
}

LPVOID CListLabelElementUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "ListLabelElement") == 0) return this;
    return CListElementUI::GetInterface(pstrName);
}

SIZE CListLabelElementUI::EstimateSize(SIZE)
{
    SIZE sz = m_cxyFixed;
    if (sz.cy == 0 && m_pManager) {
        TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
        sz.cy = m_pManager->GetFontInfo(info ? info->nFont : -1)->tm.tmHeight + 8;
        if (info) sz.cy += info->rcTextPadding.top + info->rcTextPadding.bottom;
    }
    return sz;
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    if (!info) return;
    DrawRowText(hDC, this, info, rcItem, GetText(), ItemTextColor());
}

// ---- CListTextElementUI ----

LPCSTR CListTextElementUI::GetClass() const
{
    return "ListTextElementUI";
}

LPVOID CListTextElementUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "ListTextElement") == 0) return this;
    return CListLabelElementUI::GetInterface(pstrName);
}

void CListTextElementUI::SetOwner(CControlUI* pOwner)
{
    CListLabelElementUI::SetOwner(pOwner);
    m_pOwnerList = pOwner ? static_cast<IListUI*>(pOwner->GetInterface("IList")) : nullptr;
}

CDuiString CListTextElementUI::ColumnText(int iColumn) const
{
    IListCallbackUI* callback = m_pOwnerList ? m_pOwnerList->GetTextCallback() : nullptr;
    if (callback) {
        LPCSTR text = callback->GetItemText(m_pOwnerControl, m_iIndex, iColumn);
        return text ? text : "";
    }
    std::lock_guard<std::mutex> lock(ControlTextLock());
    return iColumn >= 0 && iColumn < (int)m_texts.size() ? m_texts[(size_t)iColumn] : CDuiString();
}

CDuiString CListTextElementUI::GetText() const
{
    return ColumnText(0);
}

void CListTextElementUI::SetText(LPCSTR pstrText)
{
    SetText(0, pstrText);
}

CDuiString CListTextElementUI::GetText(int iColumn) const
{
    return ColumnText(iColumn);
}

void CListTextElementUI::SetText(int iColumn, LPCSTR pstrText)
{
    if (iColumn < 0 || iColumn >= UILIST_MAX_COLUMNS) return;
    {
        std::lock_guard<std::mutex> lock(ControlTextLock());
        if ((int)m_texts.size() <= iColumn) m_texts.resize((size_t)iColumn + 1);
        m_texts[(size_t)iColumn] = pstrText;
    }
    Invalidate();
}

void CListTextElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    if (!info) return;
    DWORD color = ItemTextColor();
    if (info->nColumns == 0) {
        DrawRowText(hDC, this, info, rcItem, ColumnText(0), color);
        return;
    }
    for (int i = 0; i < info->nColumns; ++i) {
        RECT rc = {info->rcColumn[i].left, rcItem.top, info->rcColumn[i].right, rcItem.bottom};
        DrawRowText(hDC, this, info, rc, ColumnText(i), color);
    }
}

// ---- CListContainerElementUI ----

LPCSTR CListContainerElementUI::GetClass() const
{
    return "ListContainerElementUI";
}

LPVOID CListContainerElementUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (strcmp(pstrName, "ListContainerElement") == 0) return this;
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

UINT CListContainerElementUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

bool CListContainerElementUI::Activate()
{
    if (!CHorizontalLayoutUI::Activate()) return false;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
    return true;
}

void CListContainerElementUI::SetEnabled(bool bEnable)
{
    CHorizontalLayoutUI::SetEnabled(bEnable);
    if (!bEnable) m_uButtonState = 0;
}

void CListContainerElementUI::SetOwner(CControlUI* pOwner)
{
    m_pOwner = pOwner ? static_cast<IListOwnerUI*>(pOwner->GetInterface("IListOwner")) : nullptr;
}

bool CListContainerElementUI::Select(bool bSelect)
{
    if (m_bSelected != bSelect) {
        m_bSelected = bSelect;
        Invalidate();
    }
    return true;
}

void CListContainerElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    if (!info) return;
    DrawRowText(hDC, this, info, rcItem, GetText(),
                RowTextColor(info, IsEnabled(), m_bSelected, m_uButtonState));
}

void CListContainerElementUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CHorizontalLayoutUI::DoEvent(event);
        return;
    }
    if (HandleRowEvent(this, this, m_uButtonState, event)) return;
    CHorizontalLayoutUI::DoEvent(event);
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rc;
    if (!::IntersectRect(&rc, &rcPaint, &m_rcItem)) return;
    {
        CRenderClip clip(hDC, rc);
        DrawItemBk(hDC, m_rcItem);
    }
    CHorizontalLayoutUI::DoPaint(hDC, rcPaint);
}

void CListContainerElementUI::PaintText(HDC hDC)
{
    DrawItemText(hDC, m_rcItem);
}

void CListContainerElementUI::DrawItemBk(HDC hDC, const RECT& rcItem)
{
    PaintRowBk(hDC, this, m_pOwner, rcItem, m_bSelected, m_uButtonState, m_iIndex);
}

}  // namespace DuiLib
