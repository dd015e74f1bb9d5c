// CDialogBuilder: builds a control tree from layout markup. The <Window>
// element's attributes, fonts and default attribute lists go to the paint
// manager; tags the factory does not know go to the callback.
#pragma once

#include <string>

#include "platform/ui/UIControl.h"
#include "platform/ui/UIMarkup.h"

namespace DuiLib {

class CDialogBuilder {
public:
    // xml: a skin file name (type null or "xml"), layout text starting with
    // '<' (ANSI), or a resource id of the given type ("XML" by default).
    // Null on failure, with the reason logged and kept.
    CControlUI* Create(STRINGorID xml, LPCSTR type = nullptr,
                       IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
    // Again from the markup already loaded.
    CControlUI* Create(IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);

    CMarkup* GetMarkup() { return &m_xml; }
    void GetLastErrorMessage(LPSTR pstrMessage, SIZE_T cchMax) const;
    const std::string& GetLastError() const { return m_error; }

private:
    // The controls of the children of pRoot, added to pParent; the first.
    CControlUI* Parse(CMarkupNode* pRoot, CControlUI* pParent, CPaintManagerUI* pManager);
    CControlUI* ParseNode(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager);
    void ApplyWindow(CMarkupNode& node, CPaintManagerUI* pManager);
    bool Fail(const std::string& message);

    CMarkup m_xml;
    IDialogBuilderCallback* m_pCallback = nullptr;
    std::string m_error;
};

}  // namespace DuiLib
