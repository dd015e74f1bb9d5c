#include "platform/ui/UICombo.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIRender.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <cstring>

namespace DuiLib {

namespace {

IListItemUI* ItemOf(CControlUI* p)
{
    return p ? static_cast<IListItemUI*>(p->GetInterface("ListItem")) : nullptr;
}

bool Selectable(CControlUI* p)
{
    return p && ItemOf(p) && p->IsVisible() && p->IsEnabled();
}

}  // namespace

// The drop-down: a popup owned by the combo's window that borrows the
// combo's items for as long as it is open and gives them back when it
// goes, however it goes. Like the system's own, it never becomes active:
// the keyboard stays with the combo's window (whose keys it filters while
// open) and it holds the mouse capture, so a press anywhere else closes it.
class CComboWnd : public CWindowWnd, public IMessageFilterUI {
public:
    bool Open(CComboUI* pOwner);
    // The combo is going away while this window still finishes a message.
    void Forget() { m_pOwner = nullptr; }

protected:
    LPCSTR GetWindowClassName() const override { return "ComboWnd"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    // The combo window's keys and wheel while open.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

private:
    // The list's own handling; its capture changes are not a reason to close.
    LRESULT ToManager(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void ReturnItems();

    CComboUI* m_pOwner = nullptr;
    CPaintManagerUI* m_pOwnerManager = nullptr;
    CPaintManagerUI m_pm;
    CVerticalLayoutUI* m_pLayout = nullptr;
    bool m_bReturned = false;
    bool m_bInManager = false;
    bool m_bClosing = false;
};

bool CComboWnd::Open(CComboUI* pOwner)
{
    m_pOwner = pOwner;
    m_pOwnerManager = pOwner->GetManager();
    HWND ownerWnd = m_pOwnerManager ? m_pOwnerManager->GetPaintWindow() : nullptr;
    if (!ownerWnd) return false;

    m_pLayout = new CVerticalLayoutUI;
    m_pLayout->SetBkColor(0xFFFFFFFF);
    m_pLayout->SetBorderColor(0xFF909090);
    m_pLayout->SetBorderSize(1);
    m_pLayout->SetInset({1, 1, 1, 1});
    m_pLayout->ApplyAttributeList(pOwner->GetDropBoxAttributeList());
    m_pLayout->SetAutoDestroy(false);
    m_pLayout->EnableScrollBar(true, false);

    SIZE box = pOwner->GetDropBoxSize();
    long width = box.cx > 0 ? box.cx : pOwner->GetWidth();
    RECT inset = m_pLayout->GetInset();
    long height = inset.top + inset.bottom;
    for (int i = 0; i < pOwner->GetCount(); ++i) {
        CControlUI* item = pOwner->GetItemAt(i);
        if (!item->IsVisible()) continue;
        long cy = item->EstimateSize({width, 9999}).cy;
        height += cy > 0 ? cy : 20;
    }
    if (box.cy > 0) height = std::min(height, box.cy);

    // Below the combo; above it when the work area ends first.
    const RECT& rcCombo = pOwner->GetPos();
    POINT below = {rcCombo.left, rcCombo.bottom};
    POINT above = {rcCombo.left, rcCombo.top};
    ::ClientToScreen(ownerWnd, &below);
    ::ClientToScreen(ownerWnd, &above);
    RECT rc = {below.x, below.y, below.x + width, below.y + height};
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoA(::MonitorFromWindow(ownerWnd, MONITOR_DEFAULTTONEAREST), &mi);
    if (rc.bottom > mi.rcWork.bottom && above.y - height >= mi.rcWork.top)
        rc = {above.x, above.y - height, above.x + width, above.y};

    if (!Create(ownerWnd, nullptr, WS_POPUP | WS_CLIPSIBLINGS, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                rc)) {
        delete m_pLayout;
        m_pLayout = nullptr;
        return false;
    }
    m_pOwnerManager->AddPreMessageFilter(this);
    ShowWindow(true, false);
    ::UpdateWindow(m_hWnd);  // laid out and drawn before the first input
    ::SetCapture(m_hWnd);
    return true;
}

LRESULT CComboWnd::ToManager(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    m_bInManager = true;
    bool handled = m_pm.MessageHandler(uMsg, wParam, lParam, lRes);
    m_bInManager = false;
    if (!handled) lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    // The list's clicks take and release the capture; it comes back here.
    if (!m_bClosing && ::IsWindow(m_hWnd) && ::GetCapture() != m_hWnd) ::SetCapture(m_hWnd);
    return lRes;
}

LRESULT CComboWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
        case WM_CREATE:
            m_pm.Init(m_hWnd);
            m_pm.UseParentResource(m_pOwnerManager);
            m_pm.SetNoActivate(true);
            for (int i = 0; i < m_pOwner->GetCount(); ++i) m_pLayout->Add(m_pOwner->GetItemAt(i));
            m_pm.AttachDialog(m_pLayout);
            return 0;
        case WM_CLOSE:
            m_bClosing = true;
            break;
        case WM_DESTROY:
            m_bClosing = true;
            if (m_pOwnerManager) m_pOwnerManager->RemovePreMessageFilter(this);
            if (::GetCapture() == m_hWnd) ::ReleaseCapture();
            ReturnItems();
            break;
        case WM_CAPTURECHANGED:
            // Taken by another window (or another program came forward).
            if (!m_bInManager && (HWND)lParam != m_hWnd && !m_bClosing) PostMessage(WM_CLOSE);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            if (!::PtInRect(&rc, pt)) {
                // A press outside the list closes it and goes no further.
                m_bClosing = true;
                ::ReleaseCapture();
                PostMessage(WM_CLOSE);
                return 0;
            }
            return ToManager(uMsg, wParam, lParam);
        }
        case WM_LBUTTONUP: {
            LRESULT lRes = ToManager(uMsg, wParam, lParam);
            // A press and release on an item chooses it.
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            for (CControlUI* p = m_pm.FindControl(pt); p; p = p->GetParent()) {
                if (ItemOf(p)) {
                    m_bClosing = true;
                    PostMessage(WM_CLOSE);
                    break;
                }
            }
            return lRes;
        }
        default:
            break;
    }
    return ToManager(uMsg, wParam, lParam);
}

LRESULT CComboWnd::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (m_bClosing || !m_pOwner) return 0;
    if (uMsg == WM_SYSKEYDOWN) {
        // Alt and its shortcuts close the list and go on as usual.
        m_bClosing = true;
        PostMessage(WM_CLOSE);
        return 0;
    }
    if (uMsg == WM_KEYDOWN) {
        switch (wParam) {
            case VK_UP:
            case VK_DOWN: {
                TEventUI event;
                event.Type = UIEVENT_KEYDOWN;
                event.chKey = (char)wParam;
                event.wParam = wParam;
                event.pSender = m_pOwner;
                m_pOwner->DoEvent(event);
                bHandled = true;
                return 0;
            }
            case VK_ESCAPE:
            case VK_RETURN:
                // The list closes, not the window.
                m_bClosing = true;
                PostMessage(WM_CLOSE);
                bHandled = true;
                return 0;
            default:
                return 0;
        }
    }
    if (uMsg == WM_MOUSEWHEEL) {
        ToManager(uMsg, wParam, lParam);
        bHandled = true;
    }
    return 0;
}

void CComboWnd::ReturnItems()
{
    if (m_bReturned || !m_pOwner) return;
    m_bReturned = true;
    // The items go home to the combo's manager and parent.
    for (int i = 0; i < m_pOwner->GetCount(); ++i) m_pm.ReapObjects(m_pOwner->GetItemAt(i));
    m_pOwner->SetManager(m_pOwner->GetManager(), m_pOwner->GetParent(), false);
    m_pOwner->m_uButtonState &= ~UISTATE_PUSHED;
    m_pOwner->Invalidate();
}

void CComboWnd::OnFinalMessage(HWND)
{
    ReturnItems();
    if (m_pOwner && m_pOwner->m_pWindow == this) m_pOwner->m_pWindow = nullptr;
    delete this;
}

// ---- CComboUI ----

CComboUI::CComboUI()
{
    m_dwBackColor = 0xFFFFFFFF;
    m_dwBorderColor = 0xFFA0A0A0;
    m_nBorderSize = 1;
}

CComboUI::~CComboUI()
{
    CloseDropDown();
    // Still there when it was destroyed from inside its own message.
    if (m_pWindow) m_pWindow->Forget();
}

LPCSTR CComboUI::GetClass() const
{
    return "ComboUI";
}

LPVOID CComboUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "Combo") == 0) return this;
    if (strcmp(pstrName, "IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CComboUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

bool CComboUI::Activate()
{
    if (!CContainerUI::Activate()) return false;
    if (m_pWindow) return true;
    m_pWindow = new CComboWnd;
    if (!m_pWindow->Open(this)) {
        delete m_pWindow;
        m_pWindow = nullptr;
        return false;
    }
    m_uButtonState |= UISTATE_PUSHED;
    Invalidate();
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_DROPDOWN);
    return true;
}

void CComboUI::SetEnabled(bool bEnable)
{
    CContainerUI::SetEnabled(bEnable);
    if (!bEnable) {
        m_uButtonState = 0;
        if (!OffUIThread()) CloseDropDown();
    }
}

HWND CComboUI::GetDropDownWindow() const
{
    return m_pWindow ? m_pWindow->GetHWND() : nullptr;
}

void CComboUI::CloseDropDown()
{
    if (!m_pWindow) return;
    HWND h = m_pWindow->GetHWND();
    if (h && ::IsWindow(h)) ::DestroyWindow(h);
}

CDuiString CComboUI::GetText() const
{
    CControlUI* item = GetItemAt(m_iCurSel);
    return item ? item->GetText() : CContainerUI::GetText();
}

void CComboUI::Reindex(int iFrom)
{
    for (int i = std::max(0, iFrom); i < GetCount(); ++i)
        if (IListItemUI* item = ItemOf(GetItemAt(i))) item->SetIndex(i);
}

void CComboUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
}

void CComboUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
}

bool CComboUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    pControl->SetInternVisible(true);
    if (IListItemUI* item = ItemOf(pControl)) item->SetOwner(this);
    Reindex(iIndex);
    if (m_iCurSel >= iIndex) ++m_iCurSel;
    return true;
}

bool CComboUI::Remove(CControlUI* pControl, bool bDoNotDestroy)
{
    int index = GetItemIndex(pControl);
    if (index < 0) return false;
    CloseDropDown();
    if (index == m_iCurSel) {
        if (IListItemUI* item = ItemOf(pControl)) item->Select(false);
        m_iCurSel = -1;
        Invalidate();
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    if (!CContainerUI::Remove(pControl, bDoNotDestroy)) return false;
    Reindex(index);
    return true;
}

void CComboUI::RemoveAll()
{
    CloseDropDown();
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    Invalidate();
}

bool CComboUI::SelectItem(int iIndex, bool)
{
    CControlUI* p = GetItemAt(iIndex);
    if (!Selectable(p)) return false;
    if (iIndex == m_iCurSel) return true;
    int old = m_iCurSel;
    if (IListItemUI* previous = ItemOf(GetItemAt(old))) previous->Select(false);
    ItemOf(p)->Select(true);
    m_iCurSel = iIndex;
    Invalidate();
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, (WPARAM)iIndex, (LPARAM)old);
    return true;
}

void CComboUI::SetDropBoxSize(SIZE szDropBox)
{
    m_szDropBox = szDropBox;
}

void CComboUI::SetDropBoxAttributeList(LPCSTR pstrList)
{
    m_sDropBoxAttributes = pstrList;
}

void CComboUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CComboUI::SetNormalImage(LPCSTR pStrImage)
{
    m_sNormalImage = pStrImage;
    Invalidate();
}

void CComboUI::SetHotImage(LPCSTR pStrImage)
{
    m_sHotImage = pStrImage;
    Invalidate();
}

void CComboUI::SetPushedImage(LPCSTR pStrImage)
{
    m_sPushedImage = pStrImage;
    Invalidate();
}

void CComboUI::SetFocusedImage(LPCSTR pStrImage)
{
    m_sFocusedImage = pStrImage;
    Invalidate();
}

void CComboUI::SetDisabledImage(LPCSTR pStrImage)
{
    m_sDisabledImage = pStrImage;
    Invalidate();
}

void CComboUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    CControlUI::SetPos(rc, bNeedInvalidate);
}

void CComboUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    CControlUI::DoPaint(hDC, rcPaint);
}

CControlUI* CComboUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    // Under the mouse the combo is one piece; by name its items are found.
    if (uFlags & UIFIND_HITTEST) return CControlUI::FindControl(Proc, pData, uFlags);
    return CContainerUI::FindControl(Proc, pData, uFlags);
}

void CComboUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CControlUI::DoEvent(event);
        return;
    }
    if (TrackHotState(event, m_uButtonState)) return;
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
            if (IsEnabled()) Activate();
            return;
        case UIEVENT_BUTTONUP:
        case UIEVENT_DBLCLICK:
            return;
        case UIEVENT_KEYDOWN: {
            if (!IsEnabled()) break;
            int dir = event.chKey == VK_UP ? -1 : event.chKey == VK_DOWN ? 1 : 0;
            if (dir == 0) break;
            for (int i = m_iCurSel + dir; i >= 0 && i < GetCount(); i += dir)
                if (SelectItem(i)) break;
            return;
        }
        case UIEVENT_SCROLLWHEEL:
            // The page scrolls, the choice stays.
            break;
        default:
            break;
    }
    CControlUI::DoEvent(event);
}

void CComboUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    RECT rc;
    SIZE sz;
    if (strcmp(pstrName, "textpadding") == 0) {
        if (ParseRect(pstrValue, &rc)) SetTextPadding(rc);
    } else if (strcmp(pstrName, "normalimage") == 0) {
        SetNormalImage(pstrValue);
    } else if (strcmp(pstrName, "hotimage") == 0) {
        SetHotImage(pstrValue);
    } else if (strcmp(pstrName, "pushedimage") == 0) {
        SetPushedImage(pstrValue);
    } else if (strcmp(pstrName, "focusedimage") == 0) {
        SetFocusedImage(pstrValue);
    } else if (strcmp(pstrName, "disabledimage") == 0) {
        SetDisabledImage(pstrValue);
    } else if (strcmp(pstrName, "dropboxsize") == 0) {
        if (ParseSize(pstrValue, &sz)) SetDropBoxSize(sz);
    } else if (strcmp(pstrName, "dropbox") == 0) {
        SetDropBoxAttributeList(pstrValue);
    } else if (SetListInfoAttribute(m_ListInfo, pstrName, pstrValue)) {
        Invalidate();
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CComboUI::PaintStatusImage(HDC hDC)
{
    const CDuiString* order[3] = {&m_sNormalImage, nullptr, nullptr};
    if (!IsEnabled()) {
        order[0] = &m_sDisabledImage;
        order[1] = &m_sNormalImage;
    } else if (m_uButtonState & UISTATE_PUSHED) {
        order[0] = &m_sPushedImage;
        order[1] = &m_sHotImage;
        order[2] = &m_sNormalImage;
    } else if (m_uButtonState & UISTATE_HOT) {
        order[0] = &m_sHotImage;
        order[1] = &m_sNormalImage;
    } else if (IsFocused()) {
        order[0] = &m_sFocusedImage;
        order[1] = &m_sNormalImage;
    }
    for (const CDuiString* image : order)
        if (image && !image->IsEmpty() && DrawImage(hDC, *image)) return;
    // Without pictures: an arrow in a square at the right.
    long side = std::min((long)GetHeight(), 20L);
    RECT arrow = {m_rcItem.right - side, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    if (m_uButtonState & (UISTATE_HOT | UISTATE_PUSHED))
        CRenderEngine::DrawColor(hDC, arrow,
                                 (m_uButtonState & UISTATE_PUSHED) ? 0xFFD0D0D0 : 0xFFE8E8E8);
    DrawArrowGlyph(hDC, arrow, 1, IsEnabled() ? 0xFF606060 : 0xFFB0B0B0);
}

void CComboUI::PaintText(HDC hDC)
{
    CDuiString text = GetText();
    if (text.IsEmpty()) return;
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    if (m_sNormalImage.IsEmpty()) rc.right -= std::min((long)GetHeight(), 20L);
    UINT style = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS |
                 (m_ListInfo.uTextStyle & (DT_LEFT | DT_CENTER | DT_RIGHT));
    DWORD color = IsEnabled() ? m_ListInfo.dwTextColor : m_ListInfo.dwDisabledTextColor;
    CRenderEngine::DrawText(hDC, m_pManager, rc, text, color, m_ListInfo.nFont, style);
}

}  // namespace DuiLib
