#include "core/ConcatList.h"

#include "core/StringConv.h"

#include <windows.h>

#include <cstdio>

std::string JoinListLine(const std::string& path)
{
    std::string quoted;
    for (char c : path) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return "file '" + quoted + "'\n";
}

bool WriteJoinList(const std::string& listPath, const std::string& text)
{
    const std::string utf8 = AnsiToUtf8String(text);
    DeleteFileA(listPath.c_str());
    FILE* f = fopen(listPath.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(utf8.data(), 1, utf8.size(), f) == utf8.size();
    ok = fclose(f) == 0 && ok;
    if (!ok) DeleteFileA(listPath.c_str());
    return ok;
}
