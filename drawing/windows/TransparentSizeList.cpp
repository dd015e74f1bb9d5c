#include "drawing/windows/TransparentSizeList.h"

CMenuTransparentSizeList::CMenuTransparentSizeList()
    : PopupWindow({"transparent_size.xml", /*shadow=*/true, {3, 3},
                   "file='menu_bk.png' corner='40,8,8,8'"})
{
}

CMenuTransparentSizeList* CMenuTransparentSizeList::Init(HWND owner, const std::string& ownerControl,
                                                         POINT at)
{
    auto* list = new CMenuTransparentSizeList;
    if (!list->Open(owner, ownerControl, at)) return nullptr;
    // The frame keeps its active caption while its list is open.
    if (HWND top = ::GetAncestor(list->GetHWND(), GA_ROOTOWNER))
        ::SendMessageA(top, WM_NCACTIVATE, TRUE, 0);
    return list;
}

LRESULT CMenuTransparentSizeList::HandleCustomMessage(UINT uMsg, WPARAM, LPARAM, bool& handled)
{
    // Nothing under the list scrolls while it is open.
    handled = uMsg == WM_MOUSEWHEEL;
    return 0;
}
