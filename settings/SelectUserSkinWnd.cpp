#include "settings/SelectUserSkinWnd.h"

#include "drawing/BitmapHelpers.h"
#include "kit/Dialogs.h"
#include "settings/UserSkinCrop.h"
#include "settings/UserSkinStore.h"

#include <cstdio>
#include <cstring>
#include <thread>

namespace {

// The save's result, posted to the window's thread: wParam 1 when the file
// was written, lParam the path (a heap string the receiver frees).
const UINT WM_USER_SKIN_SAVED = WM_APP + 0x158;
const DWORD kCropStyle = 0x90000000;  // popup, visible
const char kSaveFailed[] = "皮肤图片保存失败，请检查磁盘空间后重试。";

CSelectUserSkinWnd* g_pSelectUserSkinWnd = nullptr;

}  // namespace

// --- The box -------------------------------------------------------------------------

LPVOID CSelectSkinContainerUI::GetInterface(LPCSTR pstrName)
{
    if (pstrName && strcmp(pstrName, "CSelectSkinContainerUI") == 0) return this;
    return CCanvasContainerUI::GetInterface(pstrName);
}

void CSelectSkinContainerUI::DoEvent(DuiLib::TEventUI& event)
{
    // Every handle moves the box: the skin is always the box's size.
    if (event.Type == DuiLib::UIEVENT_MOUSEMOVE && IsDragging() && m_pHost) {
        const SelectionInsets now = m_pHost->GetSelectionInsets();
        const RECT moved = MoveUserSkinBox(RECT{now.left, now.top, now.right, now.bottom},
                                           event.ptMouse.x - m_ptLastMouse.x,
                                           event.ptMouse.y - m_ptLastMouse.y);
        m_ptLastMouse = event.ptMouse;
        m_pHost->UpdateSelectionMask(moved.left, moved.top, moved.right, moved.bottom);
        return;
    }
    CCanvasContainerUI::DoEvent(event);
}

// --- The window ------------------------------------------------------------------------

CSelectUserSkinWnd::CSelectUserSkinWnd() = default;

CSelectUserSkinWnd::~CSelectUserSkinWnd()
{
    if (g_pSelectUserSkinWnd == this) g_pSelectUserSkinWnd = nullptr;
}

void CSelectUserSkinWnd::AppendMenuItems(HMENU menu)
{
    ::AppendMenuA(menu, MF_STRING, kCmdSave, "保存");
    ::AppendMenuA(menu, MF_STRING, kCmdClose, "取消");
}

RECT CSelectUserSkinWnd::ChooseFrameRect(const RECT& desktop)
{
    const int width = g_nUserSkinImageWidth, height = g_nUserSkinImageHeight;
    m_shown = FitUserSkinPicture(width, height, desktop.right - desktop.left,
                                 desktop.bottom - desktop.top);
    m_largest = m_shown;
    const SIZE size = UserSkinWindowSize(m_shown, width, height);
    // Centred on the monitor the user works on, not on the whole desktop.
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    MONITORINFO monitor = {sizeof monitor};
    ::GetMonitorInfoA(::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& m = monitor.rcMonitor;
    const LONG left = m.left + (m.right - m.left - size.cx) / 2;
    const LONG top = m.top + (m.bottom - m.top - size.cy) / 2;
    return RECT{left, top, left + size.cx, top + size.cy};
}

void CSelectUserSkinWnd::ShowPicture()
{
    char image[MAX_PATH + 160];
    snprintf(image, sizeof image,
             "file='%s' source='0,0,%d,%d' dest='0,0,%d,%d' corner='0,0,0,0' xtiled='false' "
             "ytiled='false'",
             g_strUserSkinImage.c_str(), g_nUserSkinImageWidth, g_nUserSkinImageHeight,
             (int)m_shown.cx, (int)m_shown.cy);
    m_pDesktopImage->SetBkImage(image);
}

bool CSelectUserSkinWnd::OnFrameCreated()
{
    ShowPicture();
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    m_pCover = m_pm.FindControl("cover");
    if (m_pCover) {
        m_pCover->SetVisible(false);
        m_pCover->SetPos(client);
    }
    // The box is there from the start, in the middle; the first release of
    // the button takes it up.
    const RECT box = CenteredUserSkinBox(SIZE{client.right, client.bottom});
    SetSelectionInsets(box.left, box.top, box.right, box.bottom);
    m_pMaskBorder->SetVisible(true);
    return true;
}

void CSelectUserSkinWnd::Zoom(bool wheelDown)
{
    m_shown = ZoomUserSkinPicture(m_shown, m_largest, wheelDown);
    ShowPicture();
}

LRESULT CSelectUserSkinWnd::HandleFrameMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                               bool& handled)
{
    switch (uMsg) {
        case WM_MOUSEWHEEL:
            if (::GetKeyState(VK_CONTROL) < 0) Zoom(GET_WHEEL_DELTA_WPARAM(wParam) < 0);
            handled = true;
            return 0;
        case WM_USER_SKIN_SAVED: {
            std::string* path = reinterpret_cast<std::string*>(lParam);
            OnSaved(wParam != 0, path ? *path : std::string());
            delete path;
            handled = true;
            return 0;
        }
        default:
            break;
    }
    return 0;
}

void CSelectUserSkinWnd::OnMenuCommand(UINT id)
{
    if (id == kCmdSave)
        OnConfirm();
    else
        CCaptureFrameWnd::OnMenuCommand(id);
}

void CSelectUserSkinWnd::OnConfirm()
{
    if (m_saving) return;
    m_saving = true;
    // What the box shows, grabbed before anything else is painted over it.
    ::UpdateWindow(m_hWnd);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    const SelectionInsets in = GetSelectionInsets();
    const int border = m_pCanvasContainer ? m_pCanvasContainer->GetBorderSize() : 0;
    const RECT box = UserSkinSaveRect(SIZE{client.right, client.bottom},
                                      RECT{in.left, in.top, in.right, in.bottom}, POINT{0, 0},
                                      border);
    // Read from the window rather than the screen: the box's tooltip stays
    // up over it through the double click, and a menu that has just closed
    // may not have left the screen yet; neither belongs in the skin.
    HBITMAP picture = GrabWindowRectBitmap(m_hWnd, box);
    const RECT rect = {0, 0, box.right - box.left, box.bottom - box.top};
    if (m_pCover) m_pCover->SetVisible(true);

    const std::string path = g_userSkinStore.MakeNewSkinPath();
    HWND window = m_hWnd;
    // The file is written on a thread of its own; the result comes back to
    // this window's thread, which alone touches the settings and the skins.
    std::thread([window, picture, rect, path] {
        const bool ok = picture && SaveBitmapRectAsPng(picture, &rect, path);
        if (picture) ::DeleteObject(picture);
        auto* result = new std::string(path);
        if (!::PostMessageA(window, WM_USER_SKIN_SAVED, ok ? 1 : 0, (LPARAM)result))
            delete result;
    }).detach();
}

void CSelectUserSkinWnd::OnSaved(bool ok, const std::string& path)
{
    m_saving = false;
    if (m_pCover) m_pCover->SetVisible(false);
    if (!ok) {
        // The picture and the box stay, so the user can try again.
        AskQuestion(m_hWnd, "提示", kSaveFailed, "确定", "", "");
        return;
    }
    g_userSkinStore.ApplySkin(path);
    g_userSkinStore.Refresh();
    CloseFrame();
}

void CSelectUserSkinWnd::OnFrameDestroyed()
{
    if (g_pSelectUserSkinWnd == this) g_pSelectUserSkinWnd = nullptr;
}

CSelectUserSkinWnd* GetSelectUserSkinWnd()
{
    if (g_pSelectUserSkinWnd && ::IsWindow(g_pSelectUserSkinWnd->GetHWND()))
        return g_pSelectUserSkinWnd;
    g_pSelectUserSkinWnd = new CSelectUserSkinWnd();
    return g_pSelectUserSkinWnd;
}

void OpenSelectUserSkinWnd()
{
    CSelectUserSkinWnd* crop = GetSelectUserSkinWnd();
    if (::IsWindow(crop->GetHWND())) {
        // One at a time: the open one keeps its picture and comes forward.
        crop->ShowWindow(true, true);
        ::SetForegroundWindow(crop->GetHWND());
        return;
    }
    if (!crop->Create(nullptr, "CSelectUserSkinWnd", kCropStyle, 0, 0, 0, 0, 0)) {
        delete crop;
        return;
    }
    crop->ShowWindow(true, true);
}
