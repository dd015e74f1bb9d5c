#include "platform/ui/UIDlgBuilder.h"

#include "platform/ui/UIAttrParse.h"
#include "platform/ui/UIContainer.h"
#include "platform/ui/UIControlFactory.h"
#include "platform/ui/UILog.h"
#include "platform/ui/UIResource.h"

#include <cstring>

namespace DuiLib {

namespace {

bool IsManagerTag(LPCSTR tag)
{
    return strcmp(tag, "Font") == 0 || strcmp(tag, "Default") == 0 || strcmp(tag, "Image") == 0;
}

void AddFontFromNode(CMarkupNode& node, CPaintManagerUI* pManager, int* nextId)
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
    }
    pManager->AddFont(id, face, size, bold, underline, italic, isDefault);
    *nextId = id + 1;
}

}  // namespace

bool CDialogBuilder::Fail(const std::string& message)
{
    m_error = message;
    UiLogError("%s", message.c_str());
    return false;
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
            Fail("layout resource " + std::to_string(id) + " not found");
            return nullptr;
        }
        m_xml.SetSourceName("layout resource " + std::to_string(id));
        if (!m_xml.LoadFromUtf8(data, ::SizeofResource(inst, res))) {
            Fail(m_xml.GetLastErrorMessage());
            return nullptr;
        }
    } else if (xml.m_lpstr && xml.m_lpstr[0] == '<') {
        m_xml.SetSourceName("layout text");
        if (!m_xml.Load(xml.m_lpstr)) {
            Fail(m_xml.GetLastErrorMessage());
            return nullptr;
        }
    } else {
        CDuiString folder = pManager ? pManager->GetSkinFolder() : CDuiString();
        if (!m_xml.LoadFromFile(folder, xml.m_lpstr ? xml.m_lpstr : "")) {
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
                if (strcmp(node.GetName(), "Font") == 0) {
                    AddFontFromNode(node, pManager, &nextFontId);
                } else if (strcmp(node.GetName(), "Default") == 0) {
                    LPCSTR name = node.GetAttributeValue("name");
                    LPCSTR value = node.GetAttributeValue("value");
                    if (name && value) pManager->AddDefaultAttributeList(name, value);
                }
            }
        }
        result = Parse(&root, pParent, pManager);
    } else {
        // A layout of one control (a list row): the root is the control.
        result = ParseNode(root, pParent, pManager);
    }
    if (!result) Fail(m_xml.SourceName() + ": the layout holds no control");
    return result;
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
        }
    }
}

CControlUI* CDialogBuilder::Parse(CMarkupNode* pRoot, CControlUI* pParent,
                                  CPaintManagerUI* pManager)
{
    CControlUI* first = nullptr;
    for (CMarkupNode node = pRoot->GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (IsManagerTag(node.GetName())) continue;
        CControlUI* p = ParseNode(node, pParent, pManager);
        if (!first) first = p;
    }
    return first;
}

CControlUI* CDialogBuilder::ParseNode(CMarkupNode& node, CControlUI* pParent,
                                      CPaintManagerUI* pManager)
{
    LPCSTR tag = node.GetName();
    CControlUI* pControl = CControlFactory::Create(tag);
    if (!pControl && m_pCallback) pControl = m_pCallback->CreateControl(tag);
    if (!pControl) {
        UiLogError("%s: unknown control <%s> skipped with its children", m_xml.SourceName().c_str(),
                   tag);
        return nullptr;
    }
    if (node.GetChild().IsValid()) {
        auto* container = static_cast<CContainerUI*>(pControl->GetInterface("IContainer"));
        if (container)
            Parse(&node, container, pManager);
        else
            UiLogError("%s: <%s> cannot hold controls; its children are skipped",
                       m_xml.SourceName().c_str(), tag);
    }
    if (pParent) {
        auto* container = static_cast<CContainerUI*>(pParent->GetInterface("IContainer"));
        if (!container || !container->Add(pControl)) {
            UiLogError("%s: <%s> has no container to go into", m_xml.SourceName().c_str(), tag);
            delete pControl;
            return nullptr;
        }
    }
    if (pManager) {
        if (LPCSTR defaults = pManager->GetDefaultAttributeList(tag))
            pControl->ApplyAttributeList(defaults);
    }
    for (int i = 0; i < node.GetAttributeCount(); ++i)
        pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    return pControl;
}

}  // namespace DuiLib
