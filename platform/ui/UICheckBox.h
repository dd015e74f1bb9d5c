// CCheckBoxUI: an option without a group; a click toggles it.
#pragma once

#include "platform/ui/UIOption.h"

namespace DuiLib {

class CCheckBoxUI : public COptionUI {
public:
    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;

    void SetCheck(bool bCheck, bool bTriggerEvent = true) { Selected(bCheck, bTriggerEvent); }
    bool GetCheck() const { return IsSelected(); }
};

}  // namespace DuiLib
