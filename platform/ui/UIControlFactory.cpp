#include "platform/ui/UIControlFactory.h"

#include "platform/ui/UIButton.h"
#include "platform/ui/UICheckBox.h"
#include "platform/ui/UICombo.h"
#include "platform/ui/UIContainer.h"
#include "platform/ui/UIEdit.h"
#include "platform/ui/UIHorizontalLayout.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIList.h"
#include "platform/ui/UIListElement.h"
#include "platform/ui/UIOption.h"
#include "platform/ui/UIProgress.h"
#include "platform/ui/UIScrollBar.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UITabLayout.h"
#include "platform/ui/UIText.h"
#include "platform/ui/UIVerticalLayout.h"

#include <map>
#include <mutex>
#include <string>

namespace DuiLib {

namespace {

template <class T>
CControlUI* Make()
{
    return new T;
}

std::mutex g_lock;

std::map<std::string, CreateControlFn>& Table()
{
    static std::map<std::string, CreateControlFn> table = {
        {"Control", &Make<CControlUI>},
        {"Container", &Make<CContainerUI>},
        {"VerticalLayout", &Make<CVerticalLayoutUI>},
        {"HorizontalLayout", &Make<CHorizontalLayoutUI>},
        {"Label", &Make<CLabelUI>},
        {"Text", &Make<CTextUI>},
        {"Button", &Make<CButtonUI>},
        {"Option", &Make<COptionUI>},
        {"CheckBox", &Make<CCheckBoxUI>},
        {"TabLayout", &Make<CTabLayoutUI>},
        {"ScrollBar", &Make<CScrollBarUI>},
        {"Progress", &Make<CProgressUI>},
        {"Slider", &Make<CSliderUI>},
        {"Edit", &Make<CEditUI>},
        {"List", &Make<CListUI>},
        {"ListHeader", &Make<CListHeaderUI>},
        {"ListHeaderItem", &Make<CListHeaderItemUI>},
        {"ListLabelElement", &Make<CListLabelElementUI>},
        {"ListTextElement", &Make<CListTextElementUI>},
        {"ListContainerElement", &Make<CListContainerElementUI>},
        {"Combo", &Make<CComboUI>},
    };
    return table;
}

}  // namespace

CControlUI* CControlFactory::Create(LPCSTR pstrTag)
{
    std::lock_guard<std::mutex> lock(g_lock);
    auto it = Table().find(pstrTag ? pstrTag : "");
    return it == Table().end() ? nullptr : it->second();
}

void CControlFactory::Register(LPCSTR pstrTag, CreateControlFn fn)
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (pstrTag && fn) Table()[pstrTag] = fn;
}

}  // namespace DuiLib
