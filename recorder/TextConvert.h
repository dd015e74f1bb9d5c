// ANSI (the program's code page) to UTF-16, for the calls that want wide text.
#pragma once

#include <string>

std::wstring AnsiToWide(const std::string& text);
