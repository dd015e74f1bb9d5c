// Layout markup over TinyXML. Skin files are UTF-8 (with or without a byte
// order mark); text handed over in memory is in the ANSI code page, like
// every other string of the program. After loading, element names and
// attribute values are ANSI strings.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class TiXmlDocument;
class TiXmlElement;

namespace DuiLib {

class CMarkupNode {
public:
    CMarkupNode() = default;
    explicit CMarkupNode(TiXmlElement* e) : m_e(e) {}

    bool IsValid() const { return m_e != nullptr; }
    CMarkupNode GetParent() const;
    CMarkupNode GetSibling() const;
    CMarkupNode GetChild() const;
    CMarkupNode GetChild(LPCSTR name) const;
    LPCSTR GetName() const;

    bool HasAttributes() const;
    bool HasAttribute(LPCSTR name) const;
    // Null when the attribute is missing.
    LPCSTR GetAttributeValue(LPCSTR name) const;
    int GetAttributeCount() const;
    LPCSTR GetAttributeName(int index) const;
    LPCSTR GetAttributeValue(int index) const;

    // Line in the source text (the first is 1) of the element's start tag
    // and of one of its attributes, for reports that point into a layout;
    // 0 when unknown.
    int GetLine() const;
    int GetAttributeLine(int index) const;

private:
    TiXmlElement* m_e = nullptr;
};

class CMarkup {
public:
    CMarkup();
    ~CMarkup();
    CMarkup(const CMarkup&) = delete;
    CMarkup& operator=(const CMarkup&) = delete;

    // Text in the ANSI code page.
    bool Load(LPCSTR pstrXML);
    bool LoadFromUtf8(const char* data, size_t size);
    // A skin file through the resource lookup (UTF-8).
    bool LoadFromFile(LPCSTR folder, LPCSTR name);
    void Release();
    bool IsValid() const;

    CMarkupNode GetRoot();
    // "name: XML error at line 3, column 7: ..." or the file that was missing.
    const std::string& GetLastErrorMessage() const { return m_error; }
    // The line of the last XML error; 0 when the text was not the fault.
    int GetLastErrorLine() const { return m_errorLine; }
    void SetSourceName(const std::string& name) { m_source = name; }
    const std::string& SourceName() const { return m_source; }

private:
    bool Parse(const std::string& utf8);

    std::unique_ptr<TiXmlDocument> m_doc;
    std::string m_error;
    int m_errorLine = 0;
    std::string m_source;
};

}  // namespace DuiLib
