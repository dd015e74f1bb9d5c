#include "platform/ui/UIVerticalLayout.h"

#include <cstring>

namespace DuiLib {

LPCSTR CVerticalLayoutUI::GetClass() const
{
    return "VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

void CVerticalLayoutUI::LayoutChildren(const RECT& rcContent)
{
    StackChildren(true, rcContent);
}

SIZE CVerticalLayoutUI::EstimateContent(SIZE szAvailable)
{
    std::vector<TStackItem> wanted;
    StackedChildren(szAvailable, &wanted);
    return StackExtent(true, m_iChildPadding, wanted);
}

}  // namespace DuiLib
