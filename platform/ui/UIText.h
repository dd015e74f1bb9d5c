// CTextUI: a label whose text wraps over several lines by default.
#pragma once

#include "platform/ui/UILabel.h"

namespace DuiLib {

class CTextUI : public CLabelUI {
public:
    CTextUI();

    LPCSTR GetClass() const override;
    LPVOID GetInterface(LPCSTR pstrName) override;
};

}  // namespace DuiLib
