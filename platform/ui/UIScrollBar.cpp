#include "platform/ui/UIScrollBar.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIContainer.h"
#include "platform/ui/UIRender.h"

#include <algorithm>
#include <cstring>

namespace DuiLib {

namespace {

const int kDefaultThickness = 14;
const int kMinThumb = 12;
const UINT kRepeatTimer = 1;
const UINT kRepeatMs = 50;
const int kRepeatDelayTicks = 6;  // about 300 ms before a held button repeats

const DWORD kButtonHot = 0xFFDADADA;
const DWORD kButtonPushed = 0xFFC0C0C0;
const DWORD kArrow = 0xFF707070;
const DWORD kThumbColors[3] = {0xFFC8C8C8, 0xFFA8A8A8, 0xFF888888};

int StateIndex(UINT uState)
{
    if (uState & UISTATE_PUSHED) return 2;
    if (uState & UISTATE_HOT) return 1;
    return 0;
}

}  // namespace

CScrollBarUI::CScrollBarUI()
{
    m_cxyFixed.cx = kDefaultThickness;
    m_dwBackColor = 0xFFF0F0F0;
}

LPCSTR CScrollBarUI::GetClass() const
{
    return "ScrollBarUI";
}

LPVOID CScrollBarUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "ScrollBar") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

void CScrollBarUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    std::swap(m_cxyFixed.cx, m_cxyFixed.cy);
    NeedParentUpdate();
}

void CScrollBarUI::SetScrollRange(int nRange)
{
    m_nRange = std::max(0, nRange);
    m_nScrollPos = std::min(m_nScrollPos, m_nRange);
    LayoutParts();
    Invalidate();
}

void CScrollBarUI::SetScrollPos(int nPos)
{
    nPos = std::max(0, std::min(nPos, m_nRange));
    if (nPos == m_nScrollPos) return;
    m_nScrollPos = nPos;
    LayoutParts();
    Invalidate();
}

int CScrollBarUI::GetLineSize() const
{
    if (m_nLineSize > 0) return m_nLineSize;
    if (!m_pManager) return 20;
    return (int)m_pManager->GetFontInfo(-1)->tm.tmHeight + 8;
}

void CScrollBarUI::SetLineSize(int nSize)
{
    m_nLineSize = std::max(1, nSize);
}

void CScrollBarUI::SetShowButton1(bool bShow)
{
    m_bShowButton1 = bShow;
    LayoutParts();
    Invalidate();
}

void CScrollBarUI::SetShowButton2(bool bShow)
{
    m_bShowButton2 = bShow;
    LayoutParts();
    Invalidate();
}

int CScrollBarUI::GetPageSize() const
{
    return m_bHorizontal ? GetWidth() : GetHeight();
}

void CScrollBarUI::SetShownByOwner(bool bShown)
{
    m_bVisible = bShown;
}

void CScrollBarUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    CControlUI::SetPos(rc, bNeedInvalidate);
    LayoutParts();
}

void CScrollBarUI::LayoutParts()
{
    // Worked out along the bar ("main") and mapped back at the end.
    const RECT& rc = m_rcItem;
    long mainStart = m_bHorizontal ? rc.left : rc.top;
    long mainEnd = m_bHorizontal ? rc.right : rc.bottom;
    long crossStart = m_bHorizontal ? rc.top : rc.left;
    long crossEnd = m_bHorizontal ? rc.bottom : rc.right;
    long length = mainEnd - mainStart;
    long button = std::min(crossEnd - crossStart, length / 2);
    long b1 = m_bShowButton1 ? button : 0;
    long b2 = m_bShowButton2 ? button : 0;
    long railStart = mainStart + b1, railEnd = mainEnd - b2;
    long railLen = railEnd - railStart;
    auto make = [&](long a, long b) {
        return m_bHorizontal ? RECT{a, crossStart, b, crossEnd} : RECT{crossStart, a, crossEnd, b};
    };
    m_rcButton1 = make(mainStart, mainStart + b1);
    m_rcButton2 = make(mainEnd - b2, mainEnd);
    m_rcThumb = {0, 0, 0, 0};
    if (m_nRange > 0 && railLen > 0) {
        long page = length;
        long thumb = std::max(std::min((long)kMinThumb, railLen),
                              (long)MulDiv(railLen, page, page + m_nRange));
        long at = railStart + MulDiv(railLen - thumb, m_nScrollPos, m_nRange);
        m_rcThumb = make(at, at + thumb);
    }
}

CScrollBarUI::Part CScrollBarUI::PartAt(POINT pt) const
{
    if (!::PtInRect(&m_rcItem, pt)) return kNone;
    if (::PtInRect(&m_rcButton1, pt)) return kButton1;
    if (::PtInRect(&m_rcButton2, pt)) return kButton2;
    if (::PtInRect(&m_rcThumb, pt)) return kThumb;
    if (::IsRectEmpty(&m_rcThumb)) return kNone;
    long v = m_bHorizontal ? pt.x : pt.y;
    long thumbStart = m_bHorizontal ? m_rcThumb.left : m_rcThumb.top;
    return v < thumbStart ? kRailBefore : kRailAfter;
}

void CScrollBarUI::ScrollTo(int nPos)
{
    nPos = std::max(0, std::min(nPos, m_nRange));
    if (m_pOwner) {
        SIZE sz = m_pOwner->GetScrollPos();
        if (m_bHorizontal)
            sz.cx = nPos;
        else
            sz.cy = nPos;
        m_pOwner->SetScrollPos(sz);
        return;
    }
    if (nPos == m_nScrollPos) return;
    SetScrollPos(nPos);
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_SCROLL, (WPARAM)nPos);
}

void CScrollBarUI::Step(Part part)
{
    int line = GetLineSize();
    int page = std::max(line, GetPageSize() - line);
    switch (part) {
        case kButton1:
            ScrollTo(m_nScrollPos - line);
            break;
        case kButton2:
            ScrollTo(m_nScrollPos + line);
            break;
        case kRailBefore:
            ScrollTo(m_nScrollPos - page);
            break;
        case kRailAfter:
            ScrollTo(m_nScrollPos + page);
            break;
        default:
            break;
    }
}

void CScrollBarUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CControlUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK: {
            if (!IsEnabled()) return;
            m_pressed = PartAt(event.ptMouse);
            m_nRepeatTicks = 0;
            if (m_pressed == kButton1) m_uButton1State |= UISTATE_PUSHED;
            if (m_pressed == kButton2) m_uButton2State |= UISTATE_PUSHED;
            if (m_pressed == kThumb) {
                m_uThumbState |= UISTATE_PUSHED;
                m_ptDragStart = event.ptMouse;
                m_nDragStartPos = m_nScrollPos;
            } else if (m_pressed != kNone) {
                Step(m_pressed);
                if (m_pManager) m_pManager->SetTimer(this, kRepeatTimer, kRepeatMs);
            }
            Invalidate();
            return;
        }
        case UIEVENT_BUTTONUP:
            m_pressed = kNone;
            m_uButton1State &= ~UISTATE_PUSHED;
            m_uButton2State &= ~UISTATE_PUSHED;
            m_uThumbState &= ~UISTATE_PUSHED;
            if (m_pManager) m_pManager->KillTimer(this, kRepeatTimer);
            Invalidate();
            return;
        case UIEVENT_MOUSEMOVE: {
            if (m_pressed == kThumb) {
                long railLen = m_bHorizontal ? m_rcButton2.left - m_rcButton1.right
                                             : m_rcButton2.top - m_rcButton1.bottom;
                long thumb = m_bHorizontal ? m_rcThumb.right - m_rcThumb.left
                                           : m_rcThumb.bottom - m_rcThumb.top;
                long delta = m_bHorizontal ? event.ptMouse.x - m_ptDragStart.x
                                           : event.ptMouse.y - m_ptDragStart.y;
                if (railLen > thumb)
                    ScrollTo(m_nDragStartPos + MulDiv(delta, m_nRange, railLen - thumb));
                return;
            }
            Part part = PartAt(event.ptMouse);
            UINT b1 = part == kButton1 ? UISTATE_HOT : 0;
            UINT b2 = part == kButton2 ? UISTATE_HOT : 0;
            UINT th = part == kThumb ? UISTATE_HOT : 0;
            if ((m_uButton1State & UISTATE_HOT) != b1 || (m_uButton2State & UISTATE_HOT) != b2 ||
                (m_uThumbState & UISTATE_HOT) != th) {
                m_uButton1State = (m_uButton1State & ~UISTATE_HOT) | b1;
                m_uButton2State = (m_uButton2State & ~UISTATE_HOT) | b2;
                m_uThumbState = (m_uThumbState & ~UISTATE_HOT) | th;
                Invalidate();
            }
            return;
        }
        case UIEVENT_MOUSEENTER:
            return;
        case UIEVENT_MOUSELEAVE:
            m_uButton1State &= ~UISTATE_HOT;
            m_uButton2State &= ~UISTATE_HOT;
            m_uThumbState &= ~UISTATE_HOT;
            Invalidate();
            return;
        case UIEVENT_TIMER:
            if (event.wParam != kRepeatTimer) break;
            if (m_pressed == kNone || m_pressed == kThumb) {
                if (m_pManager) m_pManager->KillTimer(this, kRepeatTimer);
                return;
            }
            // A held rail click pages until the thumb reaches the mouse.
            if (++m_nRepeatTicks > kRepeatDelayTicks && m_pManager &&
                PartAt(m_pManager->GetMousePos()) == m_pressed)
                Step(m_pressed);
            return;
        default:
            break;
    }
    CControlUI::DoEvent(event);
}

void CScrollBarUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    int n;
    static const char* const states[3] = {"normal", "hot", "pushed"};
    for (int i = 0; i < 3; ++i) {
        std::string s = states[i];
        if (("button1" + s + "image") == pstrName) {
            m_sButton1Images[i] = pstrValue;
            Invalidate();
            return;
        }
        if (("button2" + s + "image") == pstrName) {
            m_sButton2Images[i] = pstrValue;
            Invalidate();
            return;
        }
        if (("thumb" + s + "image") == pstrName) {
            m_sThumbImages[i] = pstrValue;
            Invalidate();
            return;
        }
    }
    if (strcmp(pstrName, "railimage") == 0) {
        m_sRailImage = pstrValue;
        Invalidate();
    } else if (strcmp(pstrName, "hor") == 0) {
        SetHorizontal(ParseBool(pstrValue));
    } else if (strcmp(pstrName, "linesize") == 0) {
        if (ParseInt(pstrValue, &n)) SetLineSize(n);
    } else if (strcmp(pstrName, "range") == 0) {
        if (ParseInt(pstrValue, &n)) SetScrollRange(n);
    } else if (strcmp(pstrName, "value") == 0) {
        if (ParseInt(pstrValue, &n)) SetScrollPos(n);
    } else if (strcmp(pstrName, "showbutton1") == 0) {
        SetShowButton1(ParseBool(pstrValue));
    } else if (strcmp(pstrName, "showbutton2") == 0) {
        SetShowButton2(ParseBool(pstrValue));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

void CScrollBarUI::PaintPart(HDC hDC, const RECT& rc, UINT uState, const CDuiString* images,
                             int arrowDirection)
{
    if (::IsRectEmpty(&rc)) return;
    const CDuiString& image =
        images[StateIndex(uState)].IsEmpty() ? images[0] : images[StateIndex(uState)];
    if (!image.IsEmpty()) {
        CDuiString dest;
        dest.Format("dest='%ld,%ld,%ld,%ld'", rc.left - m_rcItem.left, rc.top - m_rcItem.top,
                    rc.right - m_rcItem.left, rc.bottom - m_rcItem.top);
        if (DrawImage(hDC, image, dest)) return;
    }
    if (arrowDirection < 0) {
        // The thumb: a bar a little narrower than the rail.
        RECT bar = rc;
        if (m_bHorizontal)
            ::InflateRect(&bar, 0, -2);
        else
            ::InflateRect(&bar, -2, 0);
        CRenderEngine::DrawColor(hDC, bar, kThumbColors[StateIndex(uState)]);
        return;
    }
    if (uState & UISTATE_PUSHED)
        CRenderEngine::DrawColor(hDC, rc, kButtonPushed);
    else if (uState & UISTATE_HOT)
        CRenderEngine::DrawColor(hDC, rc, kButtonHot);
    DrawArrowGlyph(hDC, rc, arrowDirection, IsEnabled() ? kArrow : 0xFFB0B0B0);
}

void CScrollBarUI::PaintStatusImage(HDC hDC)
{
    if (!m_sRailImage.IsEmpty()) DrawImage(hDC, m_sRailImage);
    PaintPart(hDC, m_rcButton1, m_uButton1State, m_sButton1Images, m_bHorizontal ? 2 : 0);
    PaintPart(hDC, m_rcButton2, m_uButton2State, m_sButton2Images, m_bHorizontal ? 3 : 1);
    PaintPart(hDC, m_rcThumb, m_uThumbState, m_sThumbImages, -1);
}

}  // namespace DuiLib
