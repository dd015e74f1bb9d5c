#include "core/StringConv.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

std::wstring MultiToWide(UINT codePage, const char* text, int bytes)
{
    if (bytes == 0) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, text, bytes, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring w(n, L'\0');
    MultiByteToWideChar(codePage, 0, text, bytes, &w[0], n);
    return w;
}

std::string WideToMulti(UINT codePage, const wchar_t* text, int chars)
{
    if (chars == 0) return std::string();
    int n = WideCharToMultiByte(codePage, 0, text, chars, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string s(n, '\0');
    WideCharToMultiByte(codePage, 0, text, chars, &s[0], n, nullptr, nullptr);
    return s;
}

// A fresh zero-filled new[] copy of the text with its terminator.
char* NewBuffer(const std::string& s)
{
    char* out = new char[s.size() + 1]();
    memcpy(out, s.data(), s.size());
    return out;
}

}  // namespace

char* AnsiToUtf8(const char* text)
{
    if (!text) text = "";
    std::wstring wide = MultiToWide(CP_ACP, text, (int)strlen(text));
    return NewBuffer(WideToMulti(CP_UTF8, wide.c_str(), (int)wide.size()));
}

char* Utf8ToAnsi(const char* text)
{
    if (!text) return nullptr;
    std::wstring wide = MultiToWide(CP_UTF8, text, (int)strlen(text));
    // With its terminator the conversion of any text, even an empty one,
    // has a length; zero means the conversion itself failed.
    int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return nullptr;
    char* out = new char[n]();
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, out, n, nullptr, nullptr);
    return out;
}

char* WideToAnsiAlloc(const wchar_t* text)
{
    if (!text) return nullptr;
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return nullptr;
    char* out = new char[n]();
    WideCharToMultiByte(CP_ACP, 0, text, -1, out, n, nullptr, nullptr);
    return out;
}

std::string WideToAnsiString(const wchar_t* text)
{
    if (!text) return std::string();
    return WideToMulti(CP_ACP, text, (int)wcslen(text));
}

std::string AnsiToUtf8String(const std::string& ansi)
{
    std::wstring wide = MultiToWide(CP_ACP, ansi.data(), (int)ansi.size());
    return WideToMulti(CP_UTF8, wide.data(), (int)wide.size());
}

std::string Utf8ToAnsiString(const std::string& utf8)
{
    std::wstring wide = MultiToWide(CP_UTF8, utf8.data(), (int)utf8.size());
    return WideToMulti(CP_ACP, wide.data(), (int)wide.size());
}

std::wstring AnsiToWide(const std::string& ansi)
{
    return MultiToWide(CP_ACP, ansi.data(), (int)ansi.size());
}

std::string TruncateAnsi(const std::string& ansi, size_t maxBytes)
{
    size_t end = 0;
    while (end < ansi.size()) {
        size_t step = IsDBCSLeadByte((BYTE)ansi[end]) && end + 1 < ansi.size() ? 2 : 1;
        if (end + step > maxBytes) break;
        end += step;
    }
    return ansi.substr(0, end);
}
