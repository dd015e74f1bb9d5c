#include "platform/ui/UIControl.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIAttributeReport.h"
#include "platform/ui/UILog.h"
#include "platform/ui/UIRender.h"

#include <string>

namespace DuiLib {

std::mutex& ControlTextLock()
{
    static std::mutex lock;
    return lock;
}

namespace {

// A background colour given without an alpha byte is meant opaque.
DWORD OpaqueIfNoAlpha(DWORD color)
{
    return (color & 0xFF000000) ? color : (color | 0xFF000000);
}

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    if (m_pManager) m_pManager->ReapObjects(this);
}

CDuiString CControlUI::GetName() const
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    return m_sName;
}

void CControlUI::SetName(LPCSTR pstrName)
{
    CDuiString old;
    {
        std::lock_guard<std::mutex> lock(ControlTextLock());
        old = m_sName;
        m_sName = pstrName;
    }
    // Names given after the tree was attached are found too.
    if (m_pManager) m_pManager->RenameControl(this, old);
}

LPCSTR CControlUI::GetClass() const
{
    return "ControlUI";
}

LPVOID CControlUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "Control") == 0) return this;
    return nullptr;
}

UINT CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pManager) Init();
}

CDuiString CControlUI::GetText() const
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    return m_sText;
}

void CControlUI::SetText(LPCSTR pstrText)
{
    {
        std::lock_guard<std::mutex> lock(ControlTextLock());
        if (m_sText == (pstrText ? pstrText : "")) return;
        m_sText = pstrText;
    }
    Invalidate();
}

void CControlUI::SetBkColor(DWORD dwBackColor)
{
    if (m_dwBackColor == dwBackColor) return;
    m_dwBackColor = dwBackColor;
    Invalidate();
}

void CControlUI::SetBkColor2(DWORD dwBackColor)
{
    if (m_dwBackColor2 == dwBackColor) return;
    m_dwBackColor2 = dwBackColor;
    Invalidate();
}

CDuiString CControlUI::GetBkImage() const
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    return m_sBkImage;
}

void CControlUI::SetBkImage(LPCSTR pStrImage)
{
    {
        std::lock_guard<std::mutex> lock(ControlTextLock());
        if (m_sBkImage == (pStrImage ? pStrImage : "")) return;
        m_sBkImage = pStrImage;
    }
    Invalidate();
}

void CControlUI::SetBkImageHole(bool bHole)
{
    m_bBkImageHole = bHole;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD dwBorderColor)
{
    m_dwBorderColor = dwBorderColor;
    Invalidate();
}

void CControlUI::SetBorderSize(int nSize)
{
    m_nBorderSize = nSize < 0 ? 0 : nSize;
    Invalidate();
}

void CControlUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    RECT abs = rc;
    if (m_bFloat) {
        m_rcFloat = rc;
        m_cxyFixed.cx = rc.right > rc.left ? rc.right - rc.left : 0;
        m_cxyFixed.cy = rc.bottom > rc.top ? rc.bottom - rc.top : 0;
        if (m_pParent) {
            const RECT& parent = m_pParent->GetPos();
            ::OffsetRect(&abs, parent.left, parent.top);
        }
    }
    if (abs.right < abs.left) abs.right = abs.left;
    if (abs.bottom < abs.top) abs.bottom = abs.top;
    RECT old = m_rcItem;
    m_rcItem = abs;
    m_bUpdateNeeded = false;
    if (bNeedInvalidate && m_pManager) {
        if (OffUIThread()) {
            m_pManager->Invalidate();
        } else {
            m_pManager->Invalidate(old);
            m_pManager->Invalidate(m_rcItem);
        }
    }
}

RECT CControlUI::GetFloatPos() const
{
    RECT rc = m_rcFloat;
    if (m_cxyFixed.cx > 0) rc.right = rc.left + m_cxyFixed.cx;
    if (m_cxyFixed.cy > 0) rc.bottom = rc.top + m_cxyFixed.cy;
    return rc;
}

void CControlUI::SetPadding(RECT rcPadding)
{
    m_rcPadding = rcPadding;
    NeedParentUpdate();
}

void CControlUI::SetFixedWidth(int cx)
{
    if (cx < 0) return;
    m_cxyFixed.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0) return;
    m_cxyFixed.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetMinWidth(int cx)
{
    if (cx < 0) return;
    m_cxyMin.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetMaxWidth(int cx)
{
    if (cx < 0) return;
    m_cxyMax.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetMinHeight(int cy)
{
    if (cy < 0) return;
    m_cxyMin.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetMaxHeight(int cy)
{
    if (cy < 0) return;
    m_cxyMax.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetFloat(bool bFloat)
{
    if (m_bFloat == bFloat) return;
    m_bFloat = bFloat;
    NeedParentUpdate();
}

CDuiString CControlUI::GetToolTip() const
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    return m_sToolTip;
}

void CControlUI::SetToolTip(LPCSTR pstrText)
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    m_sToolTip = pstrText;
}

CDuiString CControlUI::GetUserData() const
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    return m_sUserData;
}

void CControlUI::SetUserData(LPCSTR pstrText)
{
    std::lock_guard<std::mutex> lock(ControlTextLock());
    m_sUserData = pstrText;
}

void CControlUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    m_bVisible = bVisible;
    // Focus, hover and capture on a hidden control are dropped by the
    // manager's next layout pass, on the UI thread.
    NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool bVisible)
{
    m_bInternVisible = bVisible;
}

void CControlUI::SetEnabled(bool bEnable)
{
    if (m_bEnabled == bEnable) return;
    m_bEnabled = bEnable;
    Invalidate();
}

void CControlUI::SetMouseEnabled(bool bEnable)
{
    m_bMouseEnabled = bEnable;
}

void CControlUI::SetKeyboardEnabled(bool bEnable)
{
    m_bKeyboardEnabled = bEnable;
}

void CControlUI::SetFocus()
{
    if (m_pManager) m_pManager->SetFocus(this);
}

void CControlUI::SetContextMenuUsed(bool bMenuUsed)
{
    m_bMenuUsed = bMenuUsed;
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    if ((uFlags & UIFIND_HITTEST) != 0 &&
        (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<POINT*>(pData))))
        return nullptr;
    return Proc(this, pData);
}

bool CControlUI::OffUIThread() const
{
    return m_pManager && !m_pManager->IsUIThread();
}

bool CControlUI::TrackHotState(const TEventUI& event, UINT& state)
{
    if (event.Type == UIEVENT_MOUSEENTER) {
        if (IsEnabled()) {
            state |= UISTATE_HOT;
            Invalidate();
        }
        return true;
    }
    if (event.Type == UIEVENT_MOUSELEAVE) {
        if (state & UISTATE_HOT) {
            state &= ~UISTATE_HOT;
            Invalidate();
        }
        return true;
    }
    return false;
}

void CControlUI::Invalidate()
{
    if (!m_pManager || !IsVisible()) return;
    if (OffUIThread()) {
        m_pManager->Invalidate();
        return;
    }
    // Only the part that shows through every ancestor.
    RECT rc = m_rcItem;
    for (CControlUI* p = m_pParent; p; p = p->GetParent()) {
        RECT parent = p->GetPos();
        if (!::IntersectRect(&rc, &rc, &parent)) return;
    }
    m_pManager->Invalidate(rc);
}

void CControlUI::NeedUpdate()
{
    m_bUpdateNeeded = true;
    if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (m_pParent)
        m_pParent->NeedUpdate();
    else
        NeedUpdate();
}

void CControlUI::Init()
{
    DoInit();
    OnInit(this);
}

void CControlUI::Event(TEventUI& event)
{
    if (OnEvent(&event)) DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
        case UIEVENT_SETFOCUS:
            m_bFocused = true;
            Invalidate();
            return;
        case UIEVENT_KILLFOCUS:
            m_bFocused = false;
            Invalidate();
            return;
        case UIEVENT_TIMER:
            if (m_pManager)
                m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
            return;
        case UIEVENT_CONTEXTMENU:
            if (IsContextMenuUsed() && m_pManager) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
                return;
            }
            break;
        default:
            break;
    }
    // What a control does not use goes to its container (wheel, menus).
    if (m_pParent) m_pParent->DoEvent(event);
}

void CControlUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    const std::string name = pstrName;
    RECT rc;
    DWORD color;
    int n;
    if (name == "pos") {
        if (ParseRect(pstrValue, &rc)) {
            m_rcFloat = rc;
            m_cxyFixed.cx = rc.right > rc.left ? rc.right - rc.left : 0;
            m_cxyFixed.cy = rc.bottom > rc.top ? rc.bottom - rc.top : 0;
            NeedParentUpdate();
        }
    } else if (name == "padding") {
        if (ParseRect(pstrValue, &rc)) SetPadding(rc);
    } else if (name == "bkcolor" || name == "bkcolor1") {
        if (ParseColor(pstrValue, &color)) SetBkColor(OpaqueIfNoAlpha(color));
    } else if (name == "bkcolor2") {
        if (ParseColor(pstrValue, &color)) SetBkColor2(OpaqueIfNoAlpha(color));
    } else if (name == "bordercolor") {
        if (ParseColor(pstrValue, &color)) SetBorderColor(color);
    } else if (name == "bordersize") {
        if (ParseInt(pstrValue, &n)) SetBorderSize(n);
    } else if (name == "bkimage") {
        SetBkImage(pstrValue);
    } else if (name == "hole") {
        SetBkImageHole(ParseBool(pstrValue));
    } else if (name == "width") {
        if (ParseInt(pstrValue, &n)) SetFixedWidth(n);
    } else if (name == "height") {
        if (ParseInt(pstrValue, &n)) SetFixedHeight(n);
    } else if (name == "minwidth") {
        if (ParseInt(pstrValue, &n)) SetMinWidth(n);
    } else if (name == "maxwidth") {
        if (ParseInt(pstrValue, &n)) SetMaxWidth(n);
    } else if (name == "minheight") {
        if (ParseInt(pstrValue, &n)) SetMinHeight(n);
    } else if (name == "maxheight") {
        if (ParseInt(pstrValue, &n)) SetMaxHeight(n);
    } else if (name == "name") {
        SetName(pstrValue);
    } else if (name == "text") {
        SetText(pstrValue);
    } else if (name == "tooltip") {
        SetToolTip(pstrValue);
    } else if (name == "userdata") {
        SetUserData(pstrValue);
    } else if (name == "enabled") {
        SetEnabled(ParseBool(pstrValue));
    } else if (name == "mouse") {
        SetMouseEnabled(ParseBool(pstrValue));
    } else if (name == "keyboard") {
        SetKeyboardEnabled(ParseBool(pstrValue));
    } else if (name == "visible") {
        SetVisible(ParseBool(pstrValue));
    } else if (name == "float") {
        SetFloat(ParseBool(pstrValue));
    } else if (name == "menu") {
        SetContextMenuUsed(ParseBool(pstrValue));
    } else {
        DUITRACE("%s: attribute %s ignored", GetClass(), pstrName);
        if (IAttributeReport* report = GetThreadAttributeReport())
            report->UnknownAttribute(this, pstrName, pstrValue);
    }
}

CControlUI* CControlUI::ApplyAttributeList(LPCSTR pstrList)
{
    if (!pstrList) return this;
    const char* p = pstrList;
    for (;;) {
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
        if (!*p) break;
        const char* nameStart = p;
        while (*p && *p != '=' && *p != ' ') ++p;
        std::string name(nameStart, p);
        while (*p == ' ') ++p;
        if (*p != '=') break;
        ++p;
        while (*p == ' ') ++p;
        char quote = *p;
        if (quote != '"' && quote != '\'') break;
        const char* valueStart = ++p;
        while (*p && *p != quote) ++p;
        std::string value(valueStart, p);
        if (*p) ++p;
        if (IAttributeReport* report = GetThreadAttributeReport())
            report->ListAttribute(this, name.c_str(), value.c_str());
        SetAttribute(name.c_str(), value.c_str());
    }
    return this;
}

SIZE CControlUI::EstimateSize(SIZE)
{
    return m_cxyFixed;
}

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    CRenderClip clip(hDC, m_rcPaint);
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
}

void CControlUI::PaintBkColor(HDC hDC)
{
    if (m_dwBackColor == 0) return;
    if (m_dwBackColor2 != 0)
        CRenderEngine::DrawGradient(hDC, m_rcItem, m_dwBackColor, m_dwBackColor2, true);
    else
        CRenderEngine::DrawColor(hDC, m_rcItem, m_dwBackColor);
}

void CControlUI::PaintBkImage(HDC hDC)
{
    CDuiString image = GetBkImage();
    if (image.IsEmpty()) return;
    DrawImage(hDC, image, m_bBkImageHole ? "hole='true'" : nullptr);
}

void CControlUI::PaintStatusImage(HDC) {}

void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC hDC)
{
    if (m_nBorderSize > 0) CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, m_dwBorderColor);
}

bool CControlUI::DrawImage(HDC hDC, LPCSTR pStrImage, LPCSTR pStrModify)
{
    return CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, pStrImage,
                                          pStrModify);
}

}  // namespace DuiLib
