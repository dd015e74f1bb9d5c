#include "library/windows/VideoEditMenuWnd.h"

CVideoEditMenuWnd::CVideoEditMenuWnd() : PopupWindow({"menu_video_edit.xml", /*shadow=*/true, {3, 3}})
{
}

CVideoEditMenuWnd* CVideoEditMenuWnd::Init(DuiLib::CControlUI* owner, POINT at)
{
    if (!owner || !owner->GetManager()) return nullptr;
    auto* menu = new CVideoEditMenuWnd;
    if (!menu->Open(owner->GetManager()->GetPaintWindow(), owner->GetName().Str(), at))
        return nullptr;
    return menu;
}

LRESULT CVideoEditMenuWnd::HandleCustomMessage(UINT uMsg, WPARAM, LPARAM, bool& handled)
{
    handled = uMsg == WM_MOUSEWHEEL;
    return 0;
}
