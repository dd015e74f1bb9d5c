#include "platform/ui/UIMarkup.h"

#include "platform/ui/UIResource.h"
#include "platform/ui/UIString.h"

#include <tinyxml.h>

namespace DuiLib {

namespace {

bool IsAscii(const std::string& s)
{
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// Names and values become ANSI once, so lookups hand out plain pointers.
void ConvertTreeToAnsi(TiXmlElement* e)
{
    for (; e; e = e->NextSiblingElement()) {
        if (!IsAscii(e->ValueStr())) e->SetValue(Utf8ToAnsi(e->Value()).c_str());
        for (TiXmlAttribute* a = e->FirstAttribute(); a; a = a->Next()) {
            if (!IsAscii(a->NameTStr())) a->SetName(Utf8ToAnsi(a->Name()).c_str());
            if (!IsAscii(a->ValueStr())) a->SetValue(Utf8ToAnsi(a->Value()).c_str());
        }
        ConvertTreeToAnsi(e->FirstChildElement());
    }
}

TiXmlAttribute* AttributeAt(TiXmlElement* e, int index)
{
    if (!e || index < 0) return nullptr;
    TiXmlAttribute* a = e->FirstAttribute();
    while (a && index-- > 0) a = a->Next();
    return a;
}

}  // namespace

CMarkupNode CMarkupNode::GetParent() const
{
    if (!m_e) return CMarkupNode();
    TiXmlNode* p = m_e->Parent();
    return CMarkupNode(p ? p->ToElement() : nullptr);
}

CMarkupNode CMarkupNode::GetSibling() const
{
    return CMarkupNode(m_e ? m_e->NextSiblingElement() : nullptr);
}

CMarkupNode CMarkupNode::GetChild() const
{
    return CMarkupNode(m_e ? m_e->FirstChildElement() : nullptr);
}

CMarkupNode CMarkupNode::GetChild(LPCSTR name) const
{
    return CMarkupNode(m_e ? m_e->FirstChildElement(name) : nullptr);
}

LPCSTR CMarkupNode::GetName() const
{
    return m_e ? m_e->Value() : "";
}

bool CMarkupNode::HasAttributes() const
{
    return m_e && m_e->FirstAttribute() != nullptr;
}

bool CMarkupNode::HasAttribute(LPCSTR name) const
{
    return GetAttributeValue(name) != nullptr;
}

LPCSTR CMarkupNode::GetAttributeValue(LPCSTR name) const
{
    return m_e ? m_e->Attribute(name) : nullptr;
}

int CMarkupNode::GetAttributeCount() const
{
    int n = 0;
    for (TiXmlAttribute* a = m_e ? m_e->FirstAttribute() : nullptr; a; a = a->Next()) ++n;
    return n;
}

LPCSTR CMarkupNode::GetAttributeName(int index) const
{
    TiXmlAttribute* a = AttributeAt(m_e, index);
    return a ? a->Name() : "";
}

LPCSTR CMarkupNode::GetAttributeValue(int index) const
{
    TiXmlAttribute* a = AttributeAt(m_e, index);
    return a ? a->Value() : "";
}

int CMarkupNode::GetLine() const
{
    return m_e ? m_e->Row() : 0;
}

int CMarkupNode::GetAttributeLine(int index) const
{
    TiXmlAttribute* a = AttributeAt(m_e, index);
    return a ? a->Row() : 0;
}

CMarkup::CMarkup() = default;
CMarkup::~CMarkup() = default;

bool CMarkup::Load(LPCSTR pstrXML)
{
    if (m_source.empty()) m_source = "layout text";
    return Parse(AnsiToUtf8(pstrXML ? pstrXML : ""));
}

bool CMarkup::LoadFromUtf8(const char* data, size_t size)
{
    return Parse(std::string(data, size));
}

bool CMarkup::LoadFromFile(LPCSTR folder, LPCSTR name)
{
    Release();
    m_source = name ? name : "";
    std::string data;
    if (!CResourceStore::Load(folder, name, &data)) {
        m_error = "layout \"" + m_source + "\" not found in the skin package or folder";
        return false;
    }
    return Parse(data);
}

void CMarkup::Release()
{
    m_doc.reset();
    m_error.clear();
    m_errorLine = 0;
}

bool CMarkup::IsValid() const
{
    return m_doc && m_doc->RootElement();
}

bool CMarkup::Parse(const std::string& utf8)
{
    m_doc.reset(new TiXmlDocument);
    m_doc->Parse(utf8.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (m_doc->Error() || !m_doc->RootElement()) {
        char where[96];
        snprintf(where, sizeof where, ": XML error at line %d, column %d: ", m_doc->ErrorRow(),
                 m_doc->ErrorCol());
        m_error = m_source + where + (m_doc->Error() ? m_doc->ErrorDesc() : "no root element");
        m_errorLine = m_doc->Error() ? m_doc->ErrorRow() : 0;
        m_doc.reset();
        return false;
    }
    ConvertTreeToAnsi(m_doc->RootElement());
    m_error.clear();
    m_errorLine = 0;
    return true;
}

CMarkupNode CMarkup::GetRoot()
{
    return CMarkupNode(m_doc ? m_doc->RootElement() : nullptr);
}

}  // namespace DuiLib
