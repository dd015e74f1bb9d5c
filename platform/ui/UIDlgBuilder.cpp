#include "platform/ui/UIDlgBuilder.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIAttributeReport.h"
#include "platform/ui/UIContainer.h"
#include "platform/ui/UIControlFactory.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILog.h"
#include "platform/ui/UIRender.h"
#include "platform/ui/UIResource.h"
#include "platform/ui/UIVerticalLayout.h"

#include <cstring>
#include <functional>

namespace DuiLib {

namespace {

bool IsManagerTag(LPCSTR tag)
{
    return strcmp(tag, "Font") == 0 || strcmp(tag, "Default") == 0 || strcmp(tag, "Image") == 0;
}

void AddFontFromNode(CMarkupNode& node, CPaintManagerUI* pManager, int* nextId,
                     const std::function<void(int index)>& unknown)
{
    int id = *nextId;
    int size = 12;
    LPCSTR face = "SimSun";
    bool bold = false, underline = false, italic = false, isDefault = false;
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        LPCSTR name = node.GetAttributeName(i);
        LPCSTR value = node.GetAttributeValue(i);
        if (strcmp(name, "id") == 0)
            ParseInt(value, &id);
        else if (strcmp(name, "name") == 0)
            face = value;
        else if (strcmp(name, "size") == 0)
            ParseInt(value, &size);
        else if (strcmp(name, "bold") == 0)
            bold = ParseBool(value);
        else if (strcmp(name, "underline") == 0)
            underline = ParseBool(value);
        else if (strcmp(name, "italic") == 0)
            italic = ParseBool(value);
        else if (strcmp(name, "default") == 0)
            isDefault = ParseBool(value);
        else
            unknown(i);
    }
    pManager->AddFont(id, face, size, bold, underline, italic, isDefault);
    *nextId = id + 1;
}

bool EndsWith(LPCSTR s, LPCSTR tail)
{
    size_t n = strlen(s), m = strlen(tail);
    return n >= m && strcmp(s + n - m, tail) == 0;
}

}  // namespace

// While a control's attributes are set in strict mode, what its
// SetAttribute chain leaves untaken and the pairs of nested attribute lists
// come here, to be kept as problems at the attribute's line.
class CDialogBuilder::AttributeCheck : public IAttributeReport {
public:
    AttributeCheck(CDialogBuilder* builder, CControlUI* control, LPCSTR tag)
        : m_builder(builder),
          m_control(control),
          m_tag(tag),
          m_previous(SetThreadAttributeReport(builder->m_pProblems ? this : nullptr))
    {
    }
    ~AttributeCheck() override { SetThreadAttributeReport(m_previous); }
    AttributeCheck(const AttributeCheck&) = delete;
    AttributeCheck& operator=(const AttributeCheck&) = delete;

    // The attribute of the layout being applied now.
    void SetAttribute(int line, LPCSTR name)
    {
        m_line = line;
        m_attribute = name;
    }

    void UnknownAttribute(CControlUI* pControl, LPCSTR pstrName, LPCSTR) override
    {
        std::string where = pControl == m_control ? "" : " (in \"" + m_attribute + "\")";
        m_builder->Problem(m_line, "<" + m_tag + "> has no attribute \"" + pstrName + "\"" + where);
    }
    void ListAttribute(CControlUI*, LPCSTR pstrName, LPCSTR pstrValue) override
    {
        m_builder->CheckImageAttribute(m_line, pstrName, pstrValue);
    }

private:
    CDialogBuilder* m_builder;
    CControlUI* m_control;
    std::string m_tag;
    IAttributeReport* m_previous;
    int m_line = 0;
    std::string m_attribute;
};

bool CDialogBuilder::Fail(const std::string& message)
{
    m_error = message;
    UiLogError("%s", message.c_str());
    return false;
}

void CDialogBuilder::Fault(int line, const std::string& message)
{
    UiLogError("%s:%d: %s", m_xml.SourceName().c_str(), line, message.c_str());
    Problem(line, message);
}

void CDialogBuilder::Problem(int line, const std::string& message)
{
    if (m_pProblems) m_pProblems->push_back({m_xml.SourceName(), line, message});
}

void CDialogBuilder::UnknownAttribute(CMarkupNode& node, int index)
{
    Problem(node.GetAttributeLine(index), std::string("<") + node.GetName() +
                                              "> has no attribute \"" +
                                              node.GetAttributeName(index) + "\"");
}

void CDialogBuilder::CheckImageAttribute(int line, LPCSTR name, LPCSTR value)
{
    if (!m_pProblems || !EndsWith(name, "image")) return;
    TDrawInfo info;
    if (!info.Parse(value)) {
        Problem(line, std::string(name) + ": malformed image string \"" + value + "\"");
        return;
    }
    std::string file = info.sImageName.GetData();
    if (file.empty()) return;
    const std::string key = std::string(m_skinFolder.GetData()) + "|" + file;
    auto known = m_checkedImages.find(key);
    if (known == m_checkedImages.end()) {
        std::string data, source, why;
        if (!CResourceStore::Load(m_skinFolder, file.c_str(), &data, &source) ||
            (CResourceStore::HasResourceZip() && source.compare(0, 4, "zip:") != 0)) {
            why = "is not in the skin package";
        } else if (TImageInfo* image = DecodeImage(data.data(), data.size(), 0, &why)) {
            FreeImage(image);
        } else {
            why = "does not decode (" + why + ")";
        }
        known = m_checkedImages.emplace(key, why).first;
    }
    if (!known->second.empty())
        Problem(line, std::string(name) + ": image \"" + file + "\" " + known->second);
}

void CDialogBuilder::GetLastErrorMessage(LPSTR pstrMessage, SIZE_T cchMax) const
{
    if (!pstrMessage || cchMax == 0) return;
    lstrcpynA(pstrMessage, m_error.c_str(), (int)cchMax);
}

CControlUI* CDialogBuilder::Create(STRINGorID xml, LPCSTR type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent)
{
    m_error.clear();
    if (IS_INTRESOURCE(xml.m_lpstr)) {
        unsigned id = (unsigned)(UINT_PTR)xml.m_lpstr;
        HINSTANCE inst = CPaintManagerUI::GetInstance();
        HRSRC res = ::FindResourceA(inst, xml.m_lpstr, type && *type ? type : "XML");
        HGLOBAL mem = res ? ::LoadResource(inst, res) : nullptr;
        const char* data = mem ? static_cast<const char*>(::LockResource(mem)) : nullptr;
        if (!data) {
            Problem(0, "layout resource " + std::to_string(id) + " not found");
            Fail("layout resource " + std::to_string(id) + " not found");
            return nullptr;
        }
        m_xml.SetSourceName("layout resource " + std::to_string(id));
        if (!m_xml.LoadFromUtf8(data, ::SizeofResource(inst, res))) {
            Problem(m_xml.GetLastErrorLine(), m_xml.GetLastErrorMessage());
            Fail(m_xml.GetLastErrorMessage());
            return nullptr;
        }
    } else if (xml.m_lpstr && xml.m_lpstr[0] == '<') {
        m_xml.SetSourceName("layout text");
        if (!m_xml.Load(xml.m_lpstr)) {
            Problem(m_xml.GetLastErrorLine(), m_xml.GetLastErrorMessage());
            Fail(m_xml.GetLastErrorMessage());
            return nullptr;
        }
    } else {
        CDuiString folder = pManager ? pManager->GetSkinFolder() : CDuiString();
        if (!m_xml.LoadFromFile(folder, xml.m_lpstr ? xml.m_lpstr : "")) {
            Problem(m_xml.GetLastErrorLine(), m_xml.GetLastErrorMessage());
            Fail(m_xml.GetLastErrorMessage());
            return nullptr;
        }
    }
    return Create(pCallback, pManager, pParent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager,
                                   CControlUI* pParent)
{
    m_pCallback = pCallback;
    m_skinFolder = pManager ? pManager->GetSkinFolder() : CDuiString();
    CMarkupNode root = m_xml.GetRoot();
    if (!root.IsValid()) {
        Fail("no layout loaded");
        return nullptr;
    }
    CControlUI* result = nullptr;
    if (strcmp(root.GetName(), "Window") == 0) {
        if (pManager) {
            ApplyWindow(root, pManager);
            int nextFontId = 0;
            for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
                if (strcmp(node.GetName(), "Font") == 0)
                    AddFontFromNode(node, pManager, &nextFontId,
                                    [&](int i) { UnknownAttribute(node, i); });
                else if (strcmp(node.GetName(), "Default") == 0)
                    AddDefault(node, pManager);
            }
        }
        result = Parse(&root, pParent, pManager);
    } else {
        // A layout of one control (a list row): the root is the control.
        result = ParseNode(root, pParent, pManager);
    }
    if (!result) {
        Problem(0, "the layout holds no control");
        Fail(m_xml.SourceName() + ": the layout holds no control");
    }
    return result;
}

void CDialogBuilder::AddDefault(CMarkupNode& node, CPaintManagerUI* pManager)
{
    int valueIndex = -1;
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        if (strcmp(node.GetAttributeName(i), "value") == 0)
            valueIndex = i;
        else if (strcmp(node.GetAttributeName(i), "name") != 0)
            UnknownAttribute(node, i);
    }
    LPCSTR name = node.GetAttributeValue("name");
    LPCSTR value = node.GetAttributeValue("value");
    if (!name || !value) {
        Problem(node.GetLine(), "<Default> needs a name and a value");
        return;
    }
    pManager->AddDefaultAttributeList(name, value);
    if (!m_pProblems) return;
    // Checked once here, on a control of that tag, rather than on each
    // control it is later applied to.
    CControlUI* sample = MakeControl(name);
    if (!sample) {
        Problem(node.GetLine(), std::string("<Default> for <") + name + ">, a tag nobody makes");
        return;
    }
    {
        AttributeCheck check(this, sample, name);
        check.SetAttribute(node.GetAttributeLine(valueIndex), "value");
        sample->ApplyAttributeList(value);
    }
    delete sample;
}

CControlUI* CDialogBuilder::MakeControl(LPCSTR tag)
{
    CControlUI* pControl = CControlFactory::Create(tag);
    if (!pControl && m_pCallback) pControl = m_pCallback->CreateControl(tag);
    return pControl;
}

void CDialogBuilder::ApplyWindow(CMarkupNode& node, CPaintManagerUI* pManager)
{
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        LPCSTR name = node.GetAttributeName(i);
        LPCSTR value = node.GetAttributeValue(i);
        SIZE sz;
        RECT rc;
        DWORD color;
        int n;
        if (strcmp(name, "size") == 0) {
            if (ParseSize(value, &sz)) pManager->SetInitSize(sz.cx, sz.cy);
        } else if (strcmp(name, "sizebox") == 0) {
            if (ParseRect(value, &rc)) pManager->SetSizeBox(rc);
        } else if (strcmp(name, "caption") == 0) {
            if (ParseRect(value, &rc)) pManager->SetCaptionRect(rc);
        } else if (strcmp(name, "roundcorner") == 0) {
            if (ParseSize(value, &sz)) pManager->SetRoundCorner(sz.cx, sz.cy);
        } else if (strcmp(name, "mininfo") == 0) {
            if (ParseSize(value, &sz)) pManager->SetMinInfo(sz.cx, sz.cy);
        } else if (strcmp(name, "maxinfo") == 0) {
            if (ParseSize(value, &sz)) pManager->SetMaxInfo(sz.cx, sz.cy);
        } else if (strcmp(name, "opacity") == 0 || strcmp(name, "alpha") == 0) {
            if (ParseInt(value, &n) && n >= 0 && n <= 255) pManager->SetOpacity((BYTE)n);
        } else if (strcmp(name, "layered") == 0) {
            pManager->SetLayered(ParseBool(value));
        } else if (strcmp(name, "defaultfontcolor") == 0) {
            if (ParseColor(value, &color)) pManager->SetDefaultFontColor(color);
        } else if (strcmp(name, "disabledfontcolor") == 0) {
            if (ParseColor(value, &color)) pManager->SetDefaultDisabledColor(color);
        } else {
            DUITRACE("Window: attribute %s ignored", name);
            UnknownAttribute(node, i);
        }
    }
}

CControlUI* CDialogBuilder::Parse(CMarkupNode* pRoot, CControlUI* pParent,
                                  CPaintManagerUI* pManager)
{
    CControlUI* first = nullptr;
    for (CMarkupNode node = pRoot->GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (IsManagerTag(node.GetName())) {
            if (strcmp(pRoot->GetName(), "Window") != 0)
                Problem(node.GetLine(), std::string("<") + node.GetName() +
                                            "> is read only directly under <Window>");
            continue;
        }
        CControlUI* p = ParseNode(node, pParent, pManager);
        if (!first) first = p;
    }
    return first;
}

CControlUI* CDialogBuilder::ParseNode(CMarkupNode& node, CControlUI* pParent,
                                      CPaintManagerUI* pManager)
{
    LPCSTR tag = node.GetName();
    CControlUI* pControl = MakeControl(tag);
    if (!pControl) {
        Fault(node.GetLine(),
              std::string("unknown control <") + tag + "> skipped with its children");
        return nullptr;
    }
    if (node.GetChild().IsValid()) {
        auto* container = static_cast<CContainerUI*>(pControl->GetInterface("IContainer"));
        if (container)
            Parse(&node, container, pManager);
        else
            Fault(node.GetLine(),
                  std::string("<") + tag + "> cannot hold controls; its children are skipped");
    }
    if (pParent) {
        auto* container = static_cast<CContainerUI*>(pParent->GetInterface("IContainer"));
        if (!container || !container->Add(pControl)) {
            Fault(node.GetLine(), std::string("<") + tag + "> has no container to go into");
            delete pControl;
            return nullptr;
        }
    }
    if (pManager) {
        if (LPCSTR defaults = pManager->GetDefaultAttributeList(tag))
            pControl->ApplyAttributeList(defaults);
    }
    ApplyAttributes(node, pControl);
    return pControl;
}

void CDialogBuilder::ApplyAttributes(CMarkupNode& node, CControlUI* pControl)
{
    AttributeCheck check(this, pControl, node.GetName());
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        LPCSTR name = node.GetAttributeName(i);
        LPCSTR value = node.GetAttributeValue(i);
        check.SetAttribute(node.GetAttributeLine(i), name);
        CheckImageAttribute(node.GetAttributeLine(i), name, value);
        pControl->SetAttribute(name, value);
        if (m_pProblems && strcmp(name, "dropbox") == 0 && pControl->GetInterface("Combo")) {
            // The combo keeps the list for the vertical layout of its drop
            // window, made only when it opens.
            CVerticalLayoutUI box;
            box.ApplyAttributeList(value);
        }
    }
}

}  // namespace DuiLib
