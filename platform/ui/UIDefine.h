// Types, constants and small interfaces shared by every part of the UI
// library. Strings are 8-bit in the ANSI code page (GBK here), as in the
// rest of the program; the library converts at the Win32 and GDI+ calls.
#pragma once

#include <windows.h>

#include "platform/ui/UIString.h"

namespace DuiLib {

class CControlUI;
class CPaintManagerUI;

// Where a window's layout and images come from.
enum UILIB_RESOURCETYPE {
    UILIB_FILE = 1,         // files under the resource path (and the package, when loaded)
    UILIB_ZIP = 2,          // reserved: a zip file beside the program
    UILIB_RESOURCE = 3,     // reserved: layouts as plain resources
    UILIB_ZIPRESOURCE = 4,  // the skin package in the executable ("ZIPRES")
};

// A skin file name or a resource id, as the builder and menus accept them.
struct STRINGorID {
    STRINGorID(LPCSTR lpString) : m_lpstr(lpString) {}
    STRINGorID(UINT nID) : m_lpstr(MAKEINTRESOURCEA(nID)) {}
    LPCSTR m_lpstr;
};

// Events the paint manager delivers to controls (TEventUI::Type).
enum {
    UIEVENT__FIRST = 1,
    UIEVENT__KEYBEGIN,
    UIEVENT_KEYDOWN,
    UIEVENT_KEYUP,
    UIEVENT_CHAR,
    UIEVENT_SYSKEY,
    UIEVENT__KEYEND,
    UIEVENT__MOUSEBEGIN,
    UIEVENT_MOUSEMOVE,
    UIEVENT_MOUSELEAVE,
    UIEVENT_MOUSEENTER,
    UIEVENT_MOUSEHOVER,
    UIEVENT_BUTTONDOWN,
    UIEVENT_BUTTONUP,
    UIEVENT_RBUTTONDOWN,
    UIEVENT_DBLCLICK,
    UIEVENT_CONTEXTMENU,
    UIEVENT_SCROLLWHEEL,
    UIEVENT__MOUSEEND,
    UIEVENT_KILLFOCUS,
    UIEVENT_SETFOCUS,
    UIEVENT_WINDOWSIZE,
    UIEVENT_SETCURSOR,
    UIEVENT_TIMER,
    UIEVENT_NOTIFY,
    UIEVENT_COMMAND,
    UIEVENT__LAST,
};

// What a control asks of the manager (GetControlFlags).
enum {
    UIFLAG_TABSTOP = 0x00000001,
    UIFLAG_SETCURSOR = 0x00000002,
    UIFLAG_WANTRETURN = 0x00000004,
};

// How FindControl walks the tree.
enum {
    UIFIND_ALL = 0x00000000,
    UIFIND_VISIBLE = 0x00000001,
    UIFIND_ENABLED = 0x00000002,
    UIFIND_HITTEST = 0x00000004,
    UIFIND_UPDATETEST = 0x00000008,
    UIFIND_TOP_FIRST = 0x00000010,
    UIFIND_ME_FIRST = 0x80000000,
};

// Control states (buttons and options paint from these).
enum {
    UISTATE_FOCUSED = 0x00000001,
    UISTATE_SELECTED = 0x00000002,
    UISTATE_DISABLED = 0x00000004,
    UISTATE_HOT = 0x00000008,
    UISTATE_PUSHED = 0x00000010,
    UISTATE_READONLY = 0x00000020,
    UISTATE_CAPTURED = 0x00000040,
};

// Notification types the library sends.
#define DUI_MSGTYPE_WINDOWINIT "windowinit"
#define DUI_MSGTYPE_CLICK "click"
#define DUI_MSGTYPE_SELECTCHANGED "selectchanged"
#define DUI_MSGTYPE_MENU "menu"
#define DUI_MSGTYPE_TIMER "timer"
#define DUI_MSGTYPE_SETFOCUS "setfocus"
#define DUI_MSGTYPE_KILLFOCUS "killfocus"
#define DUI_MSGTYPE_ITEMSELECT "itemselect"
#define DUI_MSGTYPE_ITEMCLICK "itemclick"
#define DUI_MSGTYPE_ITEMACTIVATE "itemactivate"
#define DUI_MSGTYPE_HEADERCLICK "headerclick"
#define DUI_MSGTYPE_DROPDOWN "dropdown"
#define DUI_MSGTYPE_TABSELECT "tabselect"
#define DUI_MSGTYPE_RETURN "return"
#define DUI_MSGTYPE_TEXTCHANGED "textchanged"
#define DUI_MSGTYPE_VALUECHANGED "valuechanged"
#define DUI_MSGTYPE_SCROLL "scroll"

// One notification: what happened, to which control, where the mouse was
// (client coordinates of the sender's window).
struct TNotifyUI {
    CDuiString sType;
    CDuiString sVirtualWnd;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    POINT ptMouse = {0, 0};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// One event the manager routes to a control.
struct TEventUI {
    int Type = 0;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    POINT ptMouse = {0, 0};
    char chKey = 0;
    WORD wKeyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI {
public:
    virtual void Notify(TNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// Sees window messages before the library handles them; set bHandled to
// stop them there.
class IMessageFilterUI {
public:
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

// Makes controls for layout tags the library does not know.
class IDialogBuilderCallback {
public:
    virtual CControlUI* CreateControl(LPCSTR pstrClass) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

}  // namespace DuiLib
