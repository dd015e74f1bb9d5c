// CDuiString: the library's 8-bit string, text in the ANSI code page.
#pragma once

#include <windows.h>

#include <string>

namespace DuiLib {

class CDuiString {
public:
    CDuiString() = default;
    CDuiString(char ch) : m_s(1, ch) {}
    CDuiString(LPCSTR lpsz, int nLen = -1) { Assign(lpsz, nLen); }
    CDuiString(const std::string& s) : m_s(s) {}
    CDuiString(const CDuiString&) = default;
    CDuiString(CDuiString&&) = default;
    CDuiString& operator=(const CDuiString&) = default;
    CDuiString& operator=(CDuiString&&) = default;

    void Empty() { m_s.clear(); }
    int GetLength() const { return (int)m_s.size(); }
    bool IsEmpty() const { return m_s.empty(); }
    char GetAt(int nIndex) const { return m_s[(size_t)nIndex]; }
    void SetAt(int nIndex, char ch) { m_s[(size_t)nIndex] = ch; }
    void Append(LPCSTR pstr) { m_s += pstr ? pstr : ""; }
    void Assign(LPCSTR pstr, int nLength = -1);
    LPCSTR GetData() const { return m_s.c_str(); }
    const std::string& Str() const { return m_s; }

    operator LPCSTR() const { return m_s.c_str(); }
    char operator[](int nIndex) const { return m_s[(size_t)nIndex]; }

    CDuiString& operator=(LPCSTR pstr);
    CDuiString& operator=(char ch);
    CDuiString& operator+=(const CDuiString& src);
    CDuiString& operator+=(LPCSTR pstr);
    CDuiString& operator+=(char ch);
    CDuiString operator+(const CDuiString& src) const;
    CDuiString operator+(LPCSTR pstr) const;

    bool operator==(LPCSTR str) const { return Compare(str) == 0; }
    bool operator!=(LPCSTR str) const { return Compare(str) != 0; }
    bool operator<(LPCSTR str) const { return Compare(str) < 0; }
    bool operator==(const CDuiString& str) const { return m_s == str.m_s; }
    bool operator!=(const CDuiString& str) const { return m_s != str.m_s; }
    bool operator<(const CDuiString& str) const { return m_s < str.m_s; }

    int Compare(LPCSTR pstr) const;
    // Case-insensitive for ASCII letters; double-byte characters compare as bytes.
    int CompareNoCase(LPCSTR pstr) const;

    void MakeUpper();
    void MakeLower();

    CDuiString Left(int nLength) const;
    CDuiString Mid(int iPos, int nLength = -1) const;
    CDuiString Right(int nLength) const;

    // Character positions are byte offsets; -1 when not found.
    int Find(char ch, int iPos = 0) const;
    int Find(LPCSTR pstr, int iPos = 0) const;
    int ReverseFind(char ch) const;
    // Returns how many occurrences were replaced.
    int Replace(LPCSTR pstrFrom, LPCSTR pstrTo);

    int __cdecl Format(LPCSTR pstrFormat, ...);
    int __cdecl SmallFormat(LPCSTR pstrFormat, ...);

private:
    std::string m_s;
};

inline CDuiString operator+(LPCSTR lhs, const CDuiString& rhs)
{
    return CDuiString(lhs) + rhs;
}

// Conversions at the boundary: the program's strings are ANSI, layout files
// are UTF-8, GDI text and GDI+ want UTF-16.
std::wstring AnsiToWide(LPCSTR s, int len = -1);
std::string WideToAnsi(LPCWSTR s, int len = -1);
std::wstring Utf8ToWide(const char* s, int len = -1);
std::string WideToUtf8(LPCWSTR s, int len = -1);
std::string Utf8ToAnsi(const char* s, int len = -1);
std::string AnsiToUtf8(const char* s, int len = -1);

}  // namespace DuiLib
