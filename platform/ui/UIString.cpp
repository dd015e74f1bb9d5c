#include "platform/ui/UIString.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace DuiLib {

namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

std::wstring ToWide(UINT cp, const char* s, int len)
{
    if (!s || len == 0) return std::wstring();
    if (len < 0) len = (int)strlen(s);
    int n = MultiByteToWideChar(cp, 0, s, len, nullptr, 0);
    std::wstring w((size_t)n, L'\0');
    if (n > 0) MultiByteToWideChar(cp, 0, s, len, &w[0], n);
    return w;
}

std::string FromWide(UINT cp, LPCWSTR s, int len)
{
    if (!s || len == 0) return std::string();
    if (len < 0) len = (int)wcslen(s);
    int n = WideCharToMultiByte(cp, 0, s, len, nullptr, 0, nullptr, nullptr);
    std::string r((size_t)n, '\0');
    if (n > 0) WideCharToMultiByte(cp, 0, s, len, &r[0], n, nullptr, nullptr);
    return r;
}

std::string VFormat(LPCSTR fmt, va_list args)
{
    if (!fmt) return std::string();
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0) return std::string();
    std::vector<char> buf((size_t)n + 1);
    vsnprintf(buf.data(), buf.size(), fmt, args);
    return std::string(buf.data(), (size_t)n);
}

}  // namespace

void CDuiString::Assign(LPCSTR pstr, int nLength)
{
    if (!pstr) {
        m_s.clear();
        return;
    }
    if (nLength < 0)
        m_s.assign(pstr);
    else
        m_s.assign(pstr, strnlen(pstr, (size_t)nLength));
}

CDuiString& CDuiString::operator=(LPCSTR pstr)
{
    Assign(pstr);
    return *this;
}

CDuiString& CDuiString::operator=(char ch)
{
    m_s.assign(1, ch);
    return *this;
}

CDuiString& CDuiString::operator+=(const CDuiString& src)
{
    m_s += src.m_s;
    return *this;
}

CDuiString& CDuiString::operator+=(LPCSTR pstr)
{
    Append(pstr);
    return *this;
}

CDuiString& CDuiString::operator+=(char ch)
{
    m_s += ch;
    return *this;
}

CDuiString CDuiString::operator+(const CDuiString& src) const
{
    return CDuiString(m_s + src.m_s);
}

CDuiString CDuiString::operator+(LPCSTR pstr) const
{
    return CDuiString(m_s + (pstr ? pstr : ""));
}

int CDuiString::Compare(LPCSTR pstr) const
{
    return strcmp(m_s.c_str(), pstr ? pstr : "");
}

int CDuiString::CompareNoCase(LPCSTR pstr) const
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_s.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(pstr ? pstr : "");
    bool trail = false;  // the second byte of a double-byte character is not a letter
    for (;; ++a, ++b) {
        unsigned char ca = trail ? *a : (unsigned char)AsciiLower((char)*a);
        unsigned char cb = trail ? *b : (unsigned char)AsciiLower((char)*b);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (!ca) return 0;
        trail = !trail && ::IsDBCSLeadByte(ca);
    }
}

void CDuiString::MakeUpper()
{
    bool trail = false;
    for (char& c : m_s) {
        if (!trail && c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
        trail = !trail && ::IsDBCSLeadByte((BYTE)c);
    }
}

void CDuiString::MakeLower()
{
    bool trail = false;
    for (char& c : m_s) {
        if (!trail) c = AsciiLower(c);
        trail = !trail && ::IsDBCSLeadByte((BYTE)c);
    }
}

CDuiString CDuiString::Left(int nLength) const
{
    if (nLength < 0) nLength = 0;
    return CDuiString(m_s.substr(0, (size_t)nLength));
}

CDuiString CDuiString::Mid(int iPos, int nLength) const
{
    if (iPos < 0) iPos = 0;
    if ((size_t)iPos >= m_s.size()) return CDuiString();
    return CDuiString(m_s.substr((size_t)iPos, nLength < 0 ? std::string::npos : (size_t)nLength));
}

CDuiString CDuiString::Right(int nLength) const
{
    if (nLength <= 0) return CDuiString();
    if ((size_t)nLength >= m_s.size()) return *this;
    return CDuiString(m_s.substr(m_s.size() - (size_t)nLength));
}

int CDuiString::Find(char ch, int iPos) const
{
    if (iPos < 0 || (size_t)iPos > m_s.size()) return -1;
    size_t p = m_s.find(ch, (size_t)iPos);
    return p == std::string::npos ? -1 : (int)p;
}

int CDuiString::Find(LPCSTR pstr, int iPos) const
{
    if (!pstr || iPos < 0 || (size_t)iPos > m_s.size()) return -1;
    size_t p = m_s.find(pstr, (size_t)iPos);
    return p == std::string::npos ? -1 : (int)p;
}

int CDuiString::ReverseFind(char ch) const
{
    size_t p = m_s.rfind(ch);
    return p == std::string::npos ? -1 : (int)p;
}

int CDuiString::Replace(LPCSTR pstrFrom, LPCSTR pstrTo)
{
    if (!pstrFrom || !*pstrFrom) return 0;
    std::string to = pstrTo ? pstrTo : "";
    size_t fromLen = strlen(pstrFrom);
    int count = 0;
    for (size_t p = m_s.find(pstrFrom); p != std::string::npos;
         p = m_s.find(pstrFrom, p + to.size())) {
        m_s.replace(p, fromLen, to);
        ++count;
    }
    return count;
}

int CDuiString::Format(LPCSTR pstrFormat, ...)
{
    va_list args;
    va_start(args, pstrFormat);
    m_s = VFormat(pstrFormat, args);
    va_end(args);
    return (int)m_s.size();
}

int CDuiString::SmallFormat(LPCSTR pstrFormat, ...)
{
    va_list args;
    va_start(args, pstrFormat);
    m_s = VFormat(pstrFormat, args);
    va_end(args);
    return (int)m_s.size();
}

std::wstring AnsiToWide(LPCSTR s, int len)
{
    return ToWide(CP_ACP, s, len);
}

std::string WideToAnsi(LPCWSTR s, int len)
{
    return FromWide(CP_ACP, s, len);
}

std::wstring Utf8ToWide(const char* s, int len)
{
    return ToWide(CP_UTF8, s, len);
}

std::string WideToUtf8(LPCWSTR s, int len)
{
    return FromWide(CP_UTF8, s, len);
}

std::string Utf8ToAnsi(const char* s, int len)
{
    std::wstring w = Utf8ToWide(s, len);
    return WideToAnsi(w.c_str(), (int)w.size());
}

std::string AnsiToUtf8(const char* s, int len)
{
    std::wstring w = AnsiToWide(s, len);
    return WideToUtf8(w.c_str(), (int)w.size());
}

}  // namespace DuiLib
