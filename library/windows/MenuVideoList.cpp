#include "library/windows/MenuVideoList.h"

namespace {

// The picture draws its own shadow in its outer 8 pixels: the shadow
// window shows it whole, the menu only its inside.
const int kShadowEdge = 8;

}  // namespace

CMenuVideoList::CMenuVideoList(bool hasSelection)
    : PopupWindow({"video_list_menu.xml", /*shadow=*/true, {3, 3},
                   "file='video_menu_bk.png' corner='40,8,8,8'", /*shadowMargin=*/0, kShadowEdge}),
      m_hasSelection(hasSelection)
{
}

CMenuVideoList* CMenuVideoList::Init(DuiLib::CControlUI* owner, int x, int y)
{
    if (!owner || !owner->GetManager()) return nullptr;
    auto* list = static_cast<DuiLib::IListOwnerUI*>(owner->GetInterface("IListOwner"));
    auto* menu = new CMenuVideoList(list && list->GetCurSel() >= 0);
    if (!menu->Open(owner->GetManager()->GetPaintWindow(), owner->GetName().Str(), {x, y}))
        return nullptr;
    return menu;
}

void CMenuVideoList::OnInit()
{
    if (m_hasSelection) return;
    // Copy and convert stay: they say nothing happens without a file.
    for (const char* name : {"menu_Delete", "menu_Open", "edit_video", "menu_file_path"})
        if (DuiLib::CControlUI* item = m_pm.FindControl(name)) item->SetEnabled(false);
}

LRESULT CMenuVideoList::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    // The menu does not scroll, and neither does the list under it.
    handled = uMsg == WM_MOUSEWHEEL;
    return 0;
}
