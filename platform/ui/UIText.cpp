#include "platform/ui/UIText.h"

#include <cstring>

namespace DuiLib {

CTextUI::CTextUI()
{
    m_uTextStyle = DT_WORDBREAK;
}

LPCSTR CTextUI::GetClass() const
{
    return "TextUI";
}

LPVOID CTextUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "Text") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

}  // namespace DuiLib
