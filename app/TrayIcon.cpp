#include "app/TrayIcon.h"

#include "app/ResourceIds.h"

#include <cstring>

static_assert(sizeof(NOTIFYICONDATAA) == 508, "the tray record of this Windows version");

namespace {

const UINT kTrayIconId = 101;

void CopyTip(NOTIFYICONDATAA& nid, const std::string& text)
{
    // Cut on a character boundary: half a GBK character would show as junk.
    size_t n = 0;
    const size_t room = sizeof nid.szTip - 1;
    while (n < text.size()) {
        size_t step = IsDBCSLeadByte((BYTE)text[n]) && n + 1 < text.size() ? 2 : 1;
        if (n + step > room) break;
        n += step;
    }
    memcpy(nid.szTip, text.data(), n);
    nid.szTip[n] = '\0';
}

}  // namespace

TrayIcon::~TrayIcon()
{
    Remove();
    if (menu_) DestroyMenu(menu_);
}

void TrayIcon::Setup(HINSTANCE instance, HWND window)
{
    nid_.cbSize = sizeof nid_;
    nid_.hWnd = window;
    nid_.uID = kTrayIconId;
    nid_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    nid_.uCallbackMessage = WM_TRAY_NOTIFY;
    nid_.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kAppIconResource));
    CopyTip(nid_, "Orbisk");

    if (!menu_) {
        menu_ = CreatePopupMenu();
        AppendMenuA(menu_, MF_STRING, kTrayStart, "开始录制");
        AppendMenuA(menu_, MF_STRING, kTrayPause, "暂停录制");
        AppendMenuA(menu_, MF_STRING, kTrayStop, "停止录制");
        AppendMenuA(menu_, MF_STRING, kTrayExit, "退出");
    }
    ++addCount_;
    added_ = Shell_NotifyIconA(NIM_ADD, &nid_) != FALSE;
}

void TrayIcon::Readd()
{
    if (!nid_.hWnd) return;
    // Fails while the old icon is still there; then that one stays.
    ++addCount_;
    if (Shell_NotifyIconA(NIM_ADD, &nid_)) added_ = true;
}

void TrayIcon::SetTip(const std::string& text)
{
    CopyTip(nid_, text);
    if (nid_.hWnd) Shell_NotifyIconA(NIM_MODIFY, &nid_);
}

void TrayIcon::Remove()
{
    if (!nid_.hWnd || !added_) return;
    Shell_NotifyIconA(NIM_DELETE, &nid_);
    added_ = false;
}

UINT TrayIcon::TrackMenu(HWND owner, bool recording)
{
    if (!menu_) return 0;
    POINT pt = {};
    GetCursorPos(&pt);
    SetForegroundWindow(owner);
    EnableMenuItem(menu_, kTrayStart, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu_, kTrayStop, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu_, recording ? kTrayStart : kTrayStop, MF_BYCOMMAND | MF_GRAYED);
    UINT command =
        (UINT)TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr);
    // Lets the menu close when the user clicks elsewhere next time.
    PostMessageA(owner, WM_NULL, 0, 0);
    return command;
}

UINT TrayIcon::CommandState(UINT command) const
{
    if (!menu_) return MF_GRAYED;
    UINT state = GetMenuState(menu_, command, MF_BYCOMMAND);
    return state & (MF_GRAYED | MF_DISABLED) ? MF_GRAYED : MF_ENABLED;
}
