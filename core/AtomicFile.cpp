#include "core/AtomicFile.h"

#include <windows.h>

#include <io.h>

#include <cstdio>
#include <functional>

#include <tinyxml.h>

namespace orbisk {

namespace {

// Writes through fill into path + ".tmp", then renames it over path.
bool ReplaceWith(const std::string& path, const char* mode, const std::function<bool(FILE*)>& fill)
{
    const std::string temp = path + ".tmp";
    FILE* f = fopen(temp.c_str(), mode);
    if (!f) return false;
    bool ok = fill(f);
    ok = fflush(f) == 0 && ok;
    ok = _commit(_fileno(f)) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (ok &&
        MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temp.c_str());
    return false;
}

}  // namespace

bool WriteFileAtomic(const std::string& path, const char* data, size_t size)
{
    return ReplaceWith(path, "wb",
                       [&](FILE* f) { return size == 0 || fwrite(data, 1, size, f) == size; });
}

bool SaveXmlAtomic(const TiXmlDocument& doc, const std::string& path)
{
    return ReplaceWith(path, "w", [&](FILE* f) { return doc.SaveFile(f); });
}

}  // namespace orbisk
