// CDialogBuilder: builds a control tree from layout markup. The <Window>
// element's attributes, fonts and default attribute lists go to the paint
// manager; tags the factory does not know go to the callback.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/ui/UIControl.h"
#include "platform/ui/UIMarkup.h"

namespace DuiLib {

// A fault of a layout, found by a builder in strict checking mode.
struct TLayoutProblem {
    std::string file;  // the layout's name, as the builder was given it
    int line = 0;      // 0 when it is the whole file
    std::string message;
};

class CDialogBuilder {
public:
    // Strict checking, for tools that check a skin: while pProblems is set,
    // every fault of the layouts this builder reads is added to it, where
    // building alone would drop what is at fault without a trace:
    // - a tag that neither the factory nor the callback makes;
    // - an attribute that no handler in the control's SetAttribute chain
    //   takes, also inside attribute lists (scroll bar styles, a combo's
    //   drop box, <Default> values);
    // - an attribute that <Window>, <Font> or <Default> does not read, a
    //   <Default> for a tag nobody makes, and <Font>, <Default> or <Image>
    //   anywhere but directly under <Window>;
    // - an image that is not in the skin package (or, with no package open,
    //   not found by the skin lookup) or does not decode: the value of every
    //   attribute whose name ends in "image", the file of an image string
    //   included;
    // - controls under a control that holds none, and XML errors.
    // The build goes on as it would without checking. Give a manager: the
    // fonts, defaults and attributes of <Window> are read only with one.
    // Null turns checking off.
    void SetStrictCheck(std::vector<TLayoutProblem>* pProblems) { m_pProblems = pProblems; }

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
    class AttributeCheck;

    // The controls of the children of pRoot, added to pParent; the first.
    CControlUI* Parse(CMarkupNode* pRoot, CControlUI* pParent, CPaintManagerUI* pManager);
    CControlUI* ParseNode(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager);
    CControlUI* MakeControl(LPCSTR tag);
    void ApplyWindow(CMarkupNode& node, CPaintManagerUI* pManager);
    void AddDefault(CMarkupNode& node, CPaintManagerUI* pManager);
    void ApplyAttributes(CMarkupNode& node, CControlUI* pControl);
    bool Fail(const std::string& message);
    // Logged; kept as a problem in strict mode.
    void Fault(int line, const std::string& message);
    // Kept in strict mode only: faults that building alone tolerates.
    void Problem(int line, const std::string& message);
    void UnknownAttribute(CMarkupNode& node, int index);
    void CheckImageAttribute(int line, LPCSTR name, LPCSTR value);

    CMarkup m_xml;
    IDialogBuilderCallback* m_pCallback = nullptr;
    std::string m_error;
    std::vector<TLayoutProblem>* m_pProblems = nullptr;
    std::map<std::string, std::string> m_checkedImages;  // folder|name -> fault, empty if none
    CDuiString m_skinFolder;
};

}  // namespace DuiLib
