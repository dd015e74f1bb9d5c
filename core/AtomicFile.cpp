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
    // A program reading the file just then (a virus scanner, a backup tool,
    // an editor) holds it without delete sharing, and the rename fails until
    // it lets go a moment later: a save given up at once loses the setting.
    for (int attempt = 0; ok; ++attempt) {
        if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || attempt >= 40) break;
        Sleep(25);
    }
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
