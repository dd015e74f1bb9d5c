#include "platform/ui/UIProgress.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIRender.h"

#include <algorithm>
#include <cstring>

namespace DuiLib {

CProgressUI::CProgressUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

LPCSTR CProgressUI::GetClass() const
{
    return "ProgressUI";
}

LPVOID CProgressUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "Progress") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

void CProgressUI::SetHorizontal(bool bHorizontal)
{
    m_bHorizontal = bHorizontal;
    Invalidate();
}

int CProgressUI::Clamp(int nValue) const
{
    int lo = m_nMin, hi = m_nMax;
    if (hi < lo) hi = lo;
    return std::max(lo, std::min(nValue, hi));
}

void CProgressUI::SetMinValue(int nMin)
{
    m_nMin = nMin;
    m_nValue = Clamp(m_nValue);
    Invalidate();
}

void CProgressUI::SetMaxValue(int nMax)
{
    m_nMax = nMax;
    m_nValue = Clamp(m_nValue);
    Invalidate();
}

void CProgressUI::SetValue(int nValue)
{
    nValue = Clamp(nValue);
    if (m_nValue.exchange(nValue) != nValue) Invalidate();
}

CDuiString CProgressUI::GetForeImage() const
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    return m_sForeImage;
}

void CProgressUI::SetForeImage(LPCSTR pStrImage)
{
    {
        std::lock_guard<std::mutex> lock(ControlTextLock());
        m_sForeImage = pStrImage;
    }
    Invalidate();
}

void CProgressUI::SetForeColor(DWORD dwColor)
{
    m_dwForeColor = dwColor;
    Invalidate();
}

void CProgressUI::SetStretchForeImage(bool bStretch)
{
    m_bStretchForeImage = bStretch;
    Invalidate();
}

void CProgressUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    int n;
    DWORD color;
    if (strcmp(pstrName, "hor") == 0)
        SetHorizontal(ParseBool(pstrValue));
    else if (strcmp(pstrName, "min") == 0) {
        if (ParseInt(pstrValue, &n)) SetMinValue(n);
    } else if (strcmp(pstrName, "max") == 0) {
        if (ParseInt(pstrValue, &n)) SetMaxValue(n);
    } else if (strcmp(pstrName, "value") == 0) {
        if (ParseInt(pstrValue, &n)) SetValue(n);
    } else if (strcmp(pstrName, "foreimage") == 0)
        SetForeImage(pstrValue);
    else if (strcmp(pstrName, "forecolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetForeColor(color);
    } else if (strcmp(pstrName, "isstretchfore") == 0)
        SetStretchForeImage(ParseBool(pstrValue));
    else
        CLabelUI::SetAttribute(pstrName, pstrValue);
}

RECT CProgressUI::GetForeRect() const
{
    RECT rc = m_rcItem;
    int lo = m_nMin, hi = m_nMax, v = Clamp(m_nValue);
    if (hi <= lo) {
        if (m_bHorizontal)
            rc.right = rc.left;
        else
            rc.top = rc.bottom;
        return rc;
    }
    if (m_bHorizontal)
        rc.right = rc.left + MulDiv(rc.right - rc.left, v - lo, hi - lo);
    else
        rc.top = rc.bottom - MulDiv(rc.bottom - rc.top, v - lo, hi - lo);
    return rc;
}

void CProgressUI::PaintStatusImage(HDC hDC)
{
    RECT fore = GetForeRect();
    if (::IsRectEmpty(&fore)) return;
    if (m_dwForeColor) CRenderEngine::DrawColor(hDC, fore, m_dwForeColor);
    CDuiString image = GetForeImage();
    if (image.IsEmpty()) return;
    if (m_bStretchForeImage) {
        CDuiString dest;
        dest.Format("dest='%ld,%ld,%ld,%ld'", fore.left - m_rcItem.left, fore.top - m_rcItem.top,
                    fore.right - m_rcItem.left, fore.bottom - m_rcItem.top);
        DrawImage(hDC, image, dest);
    } else {
        // The picture at its place over the whole control, shown up to the value.
        CRenderClip clip(hDC, fore);
        DrawImage(hDC, image);
    }
}

}  // namespace DuiLib
