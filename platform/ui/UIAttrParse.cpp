#include "platform/ui/UIAttrParse.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace DuiLib {

namespace {

const char* SkipSpaces(const char* p)
{
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// Reads comma-separated integers; all of them must be present.
bool ParseInts(LPCSTR s, long* values, int count)
{
    if (!s) return false;
    const char* p = s;
    for (int i = 0; i < count; ++i) {
        p = SkipSpaces(p);
        char* end = nullptr;
        errno = 0;
        long v = strtol(p, &end, 10);
        if (end == p || errno == ERANGE) return false;
        values[i] = v;
        p = SkipSpaces(end);
        if (i + 1 < count) {
            if (*p != ',') return false;
            ++p;
        }
    }
    return *p == '\0';
}

}  // namespace

bool ParseInt(LPCSTR s, int* out)
{
    long v;
    if (!ParseInts(s, &v, 1)) return false;
    *out = (int)v;
    return true;
}

bool ParseRect(LPCSTR s, RECT* out)
{
    long v[4];
    if (!ParseInts(s, v, 4)) return false;
    out->left = v[0];
    out->top = v[1];
    out->right = v[2];
    out->bottom = v[3];
    return true;
}

bool ParseSize(LPCSTR s, SIZE* out)
{
    long v[2];
    if (!ParseInts(s, v, 2)) return false;
    out->cx = v[0];
    out->cy = v[1];
    return true;
}

bool ParseColor(LPCSTR s, DWORD* out)
{
    if (!s) return false;
    const char* p = SkipSpaces(s);
    int base = 10;
    bool hash = false;
    if (*p == '#') {
        ++p;
        base = 16;
        hash = true;
    } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        p += 2;
        base = 16;
    }
    if (!*p) return false;
    char* end = nullptr;
    unsigned long v = strtoul(p, &end, base);
    if (*SkipSpaces(end) != '\0') return false;
    // "#RRGGBB" has no alpha byte and means an opaque colour.
    if (hash && end - p == 6) v |= 0xFF000000UL;
    *out = (DWORD)v;
    return true;
}

bool ParseBool(LPCSTR s)
{
    if (!s) return false;
    return _stricmp(s, "true") == 0 || strcmp(s, "1") == 0;
}

}  // namespace DuiLib
