// Text conversions between the ANSI code page (GBK on the target systems),
// UTF-8 and UTF-16. The program keeps ANSI text in memory; UTF-8 exists only
// in the configuration file and UTF-16 only at wide Win32 and GDI+ calls.
#pragma once

#include <string>

// Heap results are allocated with new[]; the caller frees them with delete[].

// ANSI -> UTF-8, whole string with its terminator. Never null.
char* AnsiToUtf8(const char* text);
// UTF-8 -> ANSI. Null for a null input or when nothing converts.
char* Utf8ToAnsi(const char* text);
// UTF-16 -> ANSI. Null when nothing converts.
char* WideToAnsiAlloc(const wchar_t* text);
// UTF-16 -> ANSI, up to the first NUL.
std::string WideToAnsiString(const wchar_t* text);

// The same conversions on std::string, for code that has no use for the
// raw buffers.
std::string AnsiToUtf8String(const std::string& ansi);
std::string Utf8ToAnsiString(const std::string& utf8);
std::wstring AnsiToWide(const std::string& ansi);

// The longest prefix of an ANSI text that fits in maxBytes without cutting
// a double-byte character in two.
std::string TruncateAnsi(const std::string& ansi, size_t maxBytes);
