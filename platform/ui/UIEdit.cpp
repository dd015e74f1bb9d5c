#include "platform/ui/UIEdit.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UILog.h"
#include "platform/ui/UIManagerInternal.h"
#include "platform/ui/UIRender.h"

#include <cstring>
#include <string>

namespace DuiLib {

namespace {

const char kOldProcProp[] = "OrbiskUiOldProc";

COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

std::wstring NativeText(HWND h)
{
    int len = ::GetWindowTextLengthW(h);
    std::wstring text((size_t)len + 1, L'\0');
    len = ::GetWindowTextW(h, &text[0], len + 1);
    text.resize((size_t)std::max(0, len));
    return text;
}

}  // namespace

CEditUI::CEditUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
}

CEditUI::~CEditUI()
{
    DestroyNativeEdit();
    if (m_hEditBrush) ::DeleteObject(m_hEditBrush);
}

LPCSTR CEditUI::GetClass() const
{
    return "EditUI";
}

LPVOID CEditUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "Edit") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CEditUI::GetControlFlags() const
{
    return IsEnabled() ? (UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : UIFLAG_TABSTOP;
}

void CEditUI::SetText(LPCSTR pstrText)
{
    CLabelUI::SetText(pstrText);
    PushToNative(true);
}

void CEditUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (!bEnable) m_uButtonState = 0;
    PushToNative(false);
}

void CEditUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    CLabelUI::SetPos(rc, bNeedInvalidate);
    if (!m_hWndEdit) return;
    if (OffUIThread())
        PushToNative(false);
    else
        PlaceNative();
}

void CEditUI::PushToNative(bool bText)
{
    HWND h = m_hWndEdit;
    if (!h) return;
    if (!OffUIThread()) {
        ApplyToNative(bText);
        return;
    }
    if (bText) m_bApplyText = true;
    if (!m_bApplyPosted.exchange(true) &&
        !::PostMessageW(h, UiInternalMessage(UiMessage::EditApply), 0, 0))
        m_bApplyPosted = false;
}

void CEditUI::SetMaxChar(UINT uMax)
{
    m_uMaxChar = uMax;
    PushToNative(false);
}

void CEditUI::SetReadOnly(bool bReadOnly)
{
    m_bReadOnly = bReadOnly;
    PushToNative(false);
    Invalidate();
}

void CEditUI::SetPasswordMode(bool bPasswordMode)
{
    m_bPasswordMode = bPasswordMode;
    PushToNative(false);
    Invalidate();
}

void CEditUI::SetPasswordChar(char cPasswordChar)
{
    if (cPasswordChar) m_cPasswordChar = cPasswordChar;
    PushToNative(false);
    Invalidate();
}

void CEditUI::SetNumberOnly(bool bNumberOnly)
{
    m_bNumberOnly = bNumberOnly;
    PushToNative(false);
}

DWORD CEditUI::GetNativeEditBkColor() const
{
    if (m_dwEditBkColor) return m_dwEditBkColor;
    return GetBkColor() ? GetBkColor() : 0xFFFFFFFF;
}

void CEditUI::SetNativeEditBkColor(DWORD dwColor)
{
    m_dwEditBkColor = dwColor;
    if (HWND h = m_hWndEdit)
        if (!OffUIThread()) ::InvalidateRect(h, nullptr, TRUE);
}

void CEditUI::SetSel(long nStart, long nEnd)
{
    HWND h = m_hWndEdit;
    if (h && !OffUIThread()) ::SendMessageW(h, EM_SETSEL, (WPARAM)nStart, (LPARAM)nEnd);
}

void CEditUI::SetNormalImage(LPCSTR pStrImage)
{
    m_sNormalImage = pStrImage;
    Invalidate();
}

void CEditUI::SetHotImage(LPCSTR pStrImage)
{
    m_sHotImage = pStrImage;
    Invalidate();
}

void CEditUI::SetFocusedImage(LPCSTR pStrImage)
{
    m_sFocusedImage = pStrImage;
    Invalidate();
}

void CEditUI::SetDisabledImage(LPCSTR pStrImage)
{
    m_sDisabledImage = pStrImage;
    Invalidate();
}

RECT CEditUI::NativeRect() const
{
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    if (!m_pManager) return rc;
    // One line of the font, placed as the text is when drawn.
    long line = m_pManager->GetFontInfo(m_iFont)->tm.tmHeight;
    long height = rc.bottom - rc.top;
    if (line > 0 && height > line) {
        if (m_uTextStyle & DT_BOTTOM)
            rc.top = rc.bottom - line;
        else if (m_uTextStyle & DT_VCENTER)
            rc.top += (height - line) / 2;
        rc.bottom = rc.top + line;
    }
    return rc;
}

void CEditUI::CreateNativeEdit()
{
    if (m_hWndEdit || !m_pManager || !m_pManager->GetPaintWindow() || OffUIThread()) return;
    HWND parent = m_pManager->GetPaintWindow();
    DWORD style = WS_CHILD | ES_AUTOHSCROLL;
    if (m_uTextStyle & DT_CENTER)
        style |= ES_CENTER;
    else if (m_uTextStyle & DT_RIGHT)
        style |= ES_RIGHT;
    if (m_bPasswordMode) style |= ES_PASSWORD;
    RECT rc = NativeRect();
    HWND h = ::CreateWindowExW(0, L"EDIT", L"", style, rc.left, rc.top, rc.right - rc.left,
                               rc.bottom - rc.top, parent, nullptr, CPaintManagerUI::GetInstance(),
                               nullptr);
    if (!h) {
        UiLogError("edit \"%s\": the native edit could not be created (%lu)", GetName().GetData(),
                   ::GetLastError());
        return;
    }
    ::SetPropA(h, kOldProcProp, (HANDLE)::GetWindowLongPtrW(h, GWLP_WNDPROC));
    ::SetPropA(h, ORBISK_UI_NATIVE_PROP, (HANDLE)this);
    ::SetWindowLongPtrW(h, GWLP_WNDPROC, (LONG_PTR)&CEditUI::NativeProc);
    ::SendMessageW(h, WM_SETFONT, (WPARAM)m_pManager->GetFont(m_iFont), FALSE);
    ::SendMessageW(h, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    m_hWndEdit = h;
    ApplyToNative(true);
    ::ShowWindow(h, SW_SHOWNOACTIVATE);
    // The keyboard follows only inside the active window; code never
    // activates a window by giving a control the focus.
    if (::GetFocus() == parent || ::GetActiveWindow() == ::GetAncestor(parent, GA_ROOT))
        ::SetFocus(h);
    int len = ::GetWindowTextLengthW(h);
    ::SendMessageW(h, EM_SETSEL, (WPARAM)len, (LPARAM)len);
    Invalidate();
}

void CEditUI::DestroyNativeEdit()
{
    HWND h = m_hWndEdit.exchange(nullptr);
    if (!h) return;
    // What was typed is already stored (every change is); the window no
    // longer speaks to this control.
    ::SetPropA(h, ORBISK_UI_NATIVE_PROP, nullptr);
    bool hadFocus = ::GetFocus() == h;
    ::DestroyWindow(h);
    // The window keeps the keyboard (Escape, the window's own keys).
    HWND parent = m_pManager ? m_pManager->GetPaintWindow() : nullptr;
    if (hadFocus && parent && ::IsWindow(parent)) ::SetFocus(parent);
    Invalidate();
}

void CEditUI::ApplyToNative(bool bText)
{
    HWND h = m_hWndEdit;
    if (!h) return;
    if (bText) {
        std::wstring text = AnsiToWide(GetText());
        if (NativeText(h) != text) {
            m_bApplying = true;
            ::SetWindowTextW(h, text.c_str());
            m_bApplying = false;
            ::SendMessageW(h, EM_SETSEL, (WPARAM)text.size(), (LPARAM)text.size());
        }
    }
    ::SendMessageW(h, EM_LIMITTEXT, (WPARAM)(UINT)m_uMaxChar, 0);
    ::SendMessageW(h, EM_SETREADONLY, m_bReadOnly ? TRUE : FALSE, 0);
    ::SendMessageW(h, EM_SETPASSWORDCHAR,
                   m_bPasswordMode ? (WPARAM)(unsigned char)m_cPasswordChar.load() : 0, 0);
    LONG style = ::GetWindowLongW(h, GWL_STYLE);
    LONG wanted = m_bNumberOnly ? (style | ES_NUMBER) : (style & ~ES_NUMBER);
    if (wanted != style) ::SetWindowLongW(h, GWL_STYLE, wanted);
    ::EnableWindow(h, IsEnabled() ? TRUE : FALSE);
    ::InvalidateRect(h, nullptr, TRUE);
    PlaceNative();
}

void CEditUI::PlaceNative()
{
    HWND h = m_hWndEdit;
    if (!h) return;
    RECT want = NativeRect();
    RECT now;
    ::GetWindowRect(h, &now);
    ::MapWindowPoints(nullptr, ::GetParent(h), reinterpret_cast<POINT*>(&now), 2);
    if (!::EqualRect(&want, &now))
        ::SetWindowPos(h, nullptr, want.left, want.top, want.right - want.left,
                       want.bottom - want.top, SWP_NOZORDER | SWP_NOACTIVATE);
    bool shown = (::GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != IsVisible()) ::ShowWindow(h, IsVisible() ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void CEditUI::OnNativeChange()
{
    HWND h = m_hWndEdit;
    if (!h || m_bApplying) return;
    CControlUI::SetText(WideToAnsi(NativeText(h).c_str()).c_str());
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
}

HBRUSH CEditUI::EditBrush()
{
    DWORD color = GetNativeEditBkColor();
    if (!m_hEditBrush || m_dwBrushColor != color) {
        if (m_hEditBrush) ::DeleteObject(m_hEditBrush);
        m_hEditBrush = ::CreateSolidBrush(ToColorRef(color));
        m_dwBrushColor = color;
    }
    return m_hEditBrush;
}

LRESULT CALLBACK CEditUI::NativeProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CEditUI*>(::GetPropA(hWnd, ORBISK_UI_NATIVE_PROP));
    auto old = reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kOldProcProp));
    if (!old) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    switch (uMsg) {
        case WM_KEYDOWN:
            if (wParam == VK_RETURN && self) {
                // Nothing of this window or control is touched afterwards:
                // the handler may close the window.
                if (CPaintManagerUI* pm = self->GetManager())
                    pm->SendNotify(self, DUI_MSGTYPE_RETURN);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == '\r' || wParam == '\n') return 0;  // handled as a key, no beep
            break;
        case WM_KILLFOCUS: {
            LRESULT r = ::CallWindowProcW(old, hWnd, uMsg, wParam, lParam);
            // Decided once the focus has settled (a click on another
            // control of the window moves it there first).
            ::PostMessageW(hWnd, UiInternalMessage(UiMessage::EditEnd), 0, 0);
            return r;
        }
        case WM_NCDESTROY: {
            ::RemovePropA(hWnd, ORBISK_UI_NATIVE_PROP);
            ::RemovePropA(hWnd, kOldProcProp);
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)old);
            if (self && self->m_hWndEdit == hWnd) self->m_hWndEdit = nullptr;
            return ::CallWindowProcW(old, hWnd, uMsg, wParam, lParam);
        }
        default:
            break;
    }
    if (uMsg == UiInternalMessage(UiMessage::EditApply)) {
        if (self) {
            self->m_bApplyPosted = false;
            self->ApplyToNative(self->m_bApplyText.exchange(false));
        }
        return 0;
    }
    if (uMsg == UiInternalMessage(UiMessage::EditEnd)) {
        if (self && ::GetFocus() != hWnd) {
            // The user went elsewhere: the field is left as if another
            // control had been clicked.
            CPaintManagerUI* pm = self->GetManager();
            if (pm && pm->GetFocus() == self)
                pm->SetFocus(nullptr);
            else
                self->DestroyNativeEdit();
        }
        return 0;
    }
    if (uMsg == kUiReflectBase + WM_COMMAND) {
        if (self && HIWORD(wParam) == EN_CHANGE) self->OnNativeChange();
        return 0;
    }
    if (uMsg == kUiReflectBase + WM_CTLCOLOREDIT || uMsg == kUiReflectBase + WM_CTLCOLORSTATIC) {
        if (!self) return 0;
        HDC dc = (HDC)wParam;
        DWORD text = self->IsEnabled() ? self->GetTextColor() : self->GetDisabledTextColor();
        ::SetTextColor(dc, ToColorRef(text));
        ::SetBkColor(dc, ToColorRef(self->GetNativeEditBkColor()));
        return (LRESULT)self->EditBrush();
    }
    return ::CallWindowProcW(old, hWnd, uMsg, wParam, lParam);
}

void CEditUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CLabelUI::DoEvent(event);
        return;
    }
    if (TrackHotState(event, m_uButtonState)) return;
    switch (event.Type) {
        case UIEVENT_SETFOCUS:
            CLabelUI::DoEvent(event);
            if (IsEnabled()) CreateNativeEdit();
            return;
        case UIEVENT_KILLFOCUS:
            DestroyNativeEdit();
            CLabelUI::DoEvent(event);
            return;
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (HWND h = m_hWndEdit) {
                // The caret goes where the field was clicked.
                POINT pt = event.ptMouse;
                ::MapWindowPoints(m_pManager->GetPaintWindow(), h, &pt, 1);
                LRESULT pos = ::SendMessageW(h, EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y));
                WPARAM at = LOWORD(pos);
                ::SendMessageW(h, EM_SETSEL, at, (LPARAM)at);
            }
            return;
        case UIEVENT_BUTTONUP:
            return;
        case UIEVENT_SETCURSOR:
            ::SetCursor(::LoadCursor(nullptr, IDC_IBEAM));
            return;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(LPCSTR pstrName, LPCSTR pstrValue)
{
    int n;
    DWORD color;
    if (strcmp(pstrName, "readonly") == 0)
        SetReadOnly(ParseBool(pstrValue));
    else if (strcmp(pstrName, "password") == 0)
        SetPasswordMode(ParseBool(pstrValue));
    else if (strcmp(pstrName, "passwordchar") == 0)
        SetPasswordChar(pstrValue[0]);
    else if (strcmp(pstrName, "numberonly") == 0)
        SetNumberOnly(ParseBool(pstrValue));
    else if (strcmp(pstrName, "maxchar") == 0) {
        if (ParseInt(pstrValue, &n) && n >= 0) SetMaxChar((UINT)n);
    } else if (strcmp(pstrName, "nativebkcolor") == 0) {
        if (ParseColor(pstrValue, &color)) SetNativeEditBkColor(color | 0xFF000000);
    } else if (strcmp(pstrName, "normalimage") == 0)
        SetNormalImage(pstrValue);
    else if (strcmp(pstrName, "hotimage") == 0)
        SetHotImage(pstrValue);
    else if (strcmp(pstrName, "focusedimage") == 0)
        SetFocusedImage(pstrValue);
    else if (strcmp(pstrName, "disabledimage") == 0)
        SetDisabledImage(pstrValue);
    else
        CLabelUI::SetAttribute(pstrName, pstrValue);
}

void CEditUI::PaintStatusImage(HDC hDC)
{
    const CDuiString* image = &m_sNormalImage;
    if (!IsEnabled() && !m_sDisabledImage.IsEmpty())
        image = &m_sDisabledImage;
    else if (IsFocused() && !m_sFocusedImage.IsEmpty())
        image = &m_sFocusedImage;
    else if ((m_uButtonState & UISTATE_HOT) && !m_sHotImage.IsEmpty())
        image = &m_sHotImage;
    if (!image->IsEmpty()) DrawImage(hDC, *image);
}

void CEditUI::PaintText(HDC hDC)
{
    // While typing, the native window shows the text.
    if (m_hWndEdit) return;
    CDuiString text = GetText();
    if (text.IsEmpty()) return;
    if (m_bPasswordMode) text = CDuiString(std::string(AnsiToWide(text).size(), m_cPasswordChar));
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    DWORD color = IsEnabled() ? GetTextColor() : GetDisabledTextColor();
    CRenderEngine::DrawText(hDC, m_pManager, rc, text, color, m_iFont,
                            m_uTextStyle | DT_SINGLELINE);
}

}  // namespace DuiLib
