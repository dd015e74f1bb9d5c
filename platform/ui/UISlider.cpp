#include "platform/ui/UISlider.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIRender.h"

#include <algorithm>
#include <cstring>

namespace DuiLib {

namespace {

const DWORD kRailColor = 0xFFC8C8C8;
const DWORD kThumbColor[3] = {0xFF3A78C8, 0xFF5A94DE, 0xFF2A5A9A};  // normal, hot, pushed
const long kRailThickness = 4;

}  // namespace

CSliderUI::CSliderUI()
{
    m_dwForeColor = kThumbColor[0];
}

LPCSTR CSliderUI::GetClass() const
{
    return "SliderUI";
}

LPVOID CSliderUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "Slider") == 0) return this;
    return CProgressUI::GetInterface(pstrName);
}

UINT CSliderUI::GetControlFlags() const
{
    return IsEnabled() ? UIFLAG_TABSTOP : 0;
}

void CSliderUI::SetEnabled(bool bEnable)
{
    CProgressUI::SetEnabled(bEnable);
    if (!bEnable) m_uButtonState = 0;
}

void CSliderUI::SetChangeStep(int nStep)
{
    if (nStep > 0) m_nStep = nStep;
}

void CSliderUI::SetThumbSize(SIZE szThumb)
{
    m_szThumb = {std::max(0L, szThumb.cx), std::max(0L, szThumb.cy)};
    Invalidate();
}

void CSliderUI::SetThumbImage(LPCSTR pStrImage)
{
    m_sThumbImage = pStrImage;
    Invalidate();
}

void CSliderUI::SetThumbHotImage(LPCSTR pStrImage)
{
    m_sThumbHotImage = pStrImage;
    Invalidate();
}

void CSliderUI::SetThumbPushedImage(LPCSTR pStrImage)
{
    m_sThumbPushedImage = pStrImage;
    Invalidate();
}

RECT CSliderUI::GetThumbRect() const
{
    int lo = m_nMin, hi = m_nMax, v = Clamp(m_nValue);
    long cx = std::min(m_szThumb.cx, (long)GetWidth());
    long cy = std::min(m_szThumb.cy, (long)GetHeight());
    RECT rc;
    if (m_bHorizontal) {
        long span = GetWidth() - cx;
        long x = m_rcItem.left + (hi > lo ? MulDiv(span, v - lo, hi - lo) : 0);
        long y = m_rcItem.top + (GetHeight() - cy) / 2;
        rc = {x, y, x + cx, y + cy};
    } else {
        long span = GetHeight() - cy;
        long y = m_rcItem.bottom - cy - (hi > lo ? MulDiv(span, v - lo, hi - lo) : 0);
        long x = m_rcItem.left + (GetWidth() - cx) / 2;
        rc = {x, y, x + cx, y + cy};
    }
    return rc;
}

RECT CSliderUI::GetForeRect() const
{
    // Filled up to the middle of the thumb.
    RECT thumb = GetThumbRect();
    RECT rc = m_rcItem;
    if (m_bHorizontal)
        rc.right = (thumb.left + thumb.right) / 2;
    else
        rc.top = (thumb.top + thumb.bottom) / 2;
    return rc;
}

int CSliderUI::ValueAt(POINT pt) const
{
    int lo = m_nMin, hi = m_nMax;
    if (hi <= lo) return lo;
    long span, offset;
    if (m_bHorizontal) {
        span = GetWidth() - std::min(m_szThumb.cx, (long)GetWidth());
        offset = pt.x - m_rcItem.left - m_szThumb.cx / 2;
    } else {
        span = GetHeight() - std::min(m_szThumb.cy, (long)GetHeight());
        offset = m_rcItem.bottom - pt.y - m_szThumb.cy / 2;
    }
    if (span <= 0) return lo;
    offset = std::max(0L, std::min(offset, span));
    int v = lo + MulDiv(offset, hi - lo, span);
    // Onto the step grid, counted from the minimum.
    v = lo + (v - lo + m_nStep / 2) / m_nStep * m_nStep;
    return Clamp(v);
}

void CSliderUI::ChangeByUser(int nValue)
{
    nValue = Clamp(nValue);
    if (nValue == m_nValue) return;
    SetValue(nValue);
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED, (WPARAM)nValue);
}

void CSliderUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CProgressUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (!IsEnabled()) return;
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
            ChangeByUser(ValueAt(event.ptMouse));
            return;
        case UIEVENT_MOUSEMOVE:
            if (m_uButtonState & UISTATE_CAPTURED) {
                ChangeByUser(ValueAt(event.ptMouse));
                return;
            }
            {
                RECT thumb = GetThumbRect();
                bool hot = ::PtInRect(&thumb, event.ptMouse) != FALSE;
                if (hot != ((m_uButtonState & UISTATE_HOT) != 0)) {
                    m_uButtonState ^= UISTATE_HOT;
                    Invalidate();
                }
            }
            return;
        case UIEVENT_BUTTONUP:
            // Also when the capture was taken away: the value stays where it is.
            if (m_uButtonState & UISTATE_CAPTURED) {
                m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
                Invalidate();
            }
            return;
        case UIEVENT_MOUSEENTER:
            return;
        case UIEVENT_MOUSELEAVE:
            if (m_uButtonState & UISTATE_HOT) {
                m_uButtonState &= ~UISTATE_HOT;
                Invalidate();
            }
            return;
        case UIEVENT_SCROLLWHEEL:
            if (!IsEnabled()) break;
            ChangeByUser(m_nValue + (LOWORD(event.wParam) == SB_LINEUP ? m_nStep : -m_nStep));
            return;
        case UIEVENT_KEYDOWN:
            if (!IsEnabled()) break;
            switch (event.chKey) {
                case VK_LEFT:
                case VK_DOWN:
                    ChangeByUser(m_nValue - m_nStep);
                    return;
                case VK_RIGHT:
                case VK_UP:
                    ChangeByUser(m_nValue + m_nStep);
                    return;
                case VK_HOME:
                    ChangeByUser(m_nMin);
                    return;
                case VK_END:
                    ChangeByUser(m_nMax);
                    return;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    CProgressUI::DoEvent(event);
}

void CSliderUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    int n;
    SIZE sz;
    if (strcmp(pstrName, "step") == 0) {
        if (ParseInt(pstrValue, &n)) SetChangeStep(n);
    } else if (strcmp(pstrName, "thumbsize") == 0) {
        if (ParseSize(pstrValue, &sz)) SetThumbSize(sz);
    } else if (strcmp(pstrName, "thumbimage") == 0) {
        SetThumbImage(pstrValue);
    } else if (strcmp(pstrName, "thumbhotimage") == 0) {
        SetThumbHotImage(pstrValue);
    } else if (strcmp(pstrName, "thumbpushedimage") == 0) {
        SetThumbPushedImage(pstrValue);
    } else {
        CProgressUI::SetAttribute(pstrName, pstrValue);
    }
}

void CSliderUI::PaintStatusImage(HDC hDC)
{
    RECT fore = GetForeRect();
    CDuiString foreImage = GetForeImage();
    if (foreImage.IsEmpty() && GetBkImage().IsEmpty() && GetBkColor() == 0) {
        // Without a skin: a thin rail, filled up to the thumb.
        RECT rail = m_rcItem;
        if (m_bHorizontal) {
            rail.top = (rail.top + rail.bottom - kRailThickness) / 2;
            rail.bottom = rail.top + kRailThickness;
        } else {
            rail.left = (rail.left + rail.right - kRailThickness) / 2;
            rail.right = rail.left + kRailThickness;
        }
        CRenderEngine::DrawColor(hDC, rail, kRailColor);
        RECT filled;
        if (::IntersectRect(&filled, &rail, &fore) && m_dwForeColor)
            CRenderEngine::DrawColor(hDC, filled, m_dwForeColor);
    } else {
        CProgressUI::PaintStatusImage(hDC);
    }

    RECT thumb = GetThumbRect();
    if (::IsRectEmpty(&thumb)) return;
    CDuiString dest;
    dest.Format("dest='%ld,%ld,%ld,%ld'", thumb.left - m_rcItem.left, thumb.top - m_rcItem.top,
                thumb.right - m_rcItem.left, thumb.bottom - m_rcItem.top);
    const CDuiString* images[3] = {&m_sThumbImage, &m_sThumbHotImage, &m_sThumbPushedImage};
    int state = (m_uButtonState & UISTATE_PUSHED) ? 2 : (m_uButtonState & UISTATE_HOT) ? 1 : 0;
    // Pushed falls back to hot, hot to normal.
    for (int i = state; i >= 0; --i)
        if (!images[i]->IsEmpty() && DrawImage(hDC, *images[i], dest)) return;
    DWORD color = IsEnabled() ? kThumbColor[state] : 0xFFB0B0B0;
    CRenderEngine::DrawColor(hDC, thumb, 0xFFFFFFFF);
    RECT inner = thumb;
    ::InflateRect(&inner, -1, -1);
    CRenderEngine::DrawColor(hDC, inner, color);
}

}  // namespace DuiLib
