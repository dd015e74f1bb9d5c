#include "platform/ui/UICheckBox.h"

#include <cstring>

namespace DuiLib {

LPCSTR CCheckBoxUI::GetClass() const
{
    return "CheckBoxUI";
}

LPVOID CCheckBoxUI::GetInterface(LPCSTR pstrName)
{
    if (strcmp(pstrName, "CheckBox") == 0) return this;
    return COptionUI::GetInterface(pstrName);
}

}  // namespace DuiLib
