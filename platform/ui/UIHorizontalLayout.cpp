#include "platform/ui/UIHorizontalLayout.h"

#include <cstring>

namespace DuiLib {

LPCSTR CHorizontalLayoutUI::GetClass() const
{
    return "HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

void CHorizontalLayoutUI::LayoutChildren(const RECT& rcContent)
{
    StackChildren(false, rcContent);
}

SIZE CHorizontalLayoutUI::EstimateContent(SIZE szAvailable)
{
    std::vector<TStackItem> wanted;
    StackedChildren(szAvailable, &wanted);
    return StackExtent(false, m_iChildPadding, wanted);
}

}  // namespace DuiLib
