// CVerticalLayoutUI: children stacked from the top (see UIStackLayout.h).
#pragma once

#include "platform/ui/UIContainer.h"

namespace DuiLib {

class CVerticalLayoutUI : public CContainerUI {
public:
    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;

protected:
    void LayoutChildren(const RECT& rcContent) override;
    SIZE EstimateContent(SIZE szAvailable) override;
};

}  // namespace DuiLib
