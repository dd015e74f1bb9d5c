// Where skin files come from. One skin package per process (a zip, usually
// the "ZIPRES" resource of the executable) and the resource folder on disk
// as the fallback that development uses. A name n asked for with the
// window's skin folder f is looked up as:
//   1. package entry f+n, then n;
//   2. file <resource path>+f+n, then <resource path>+n;
//   3. n itself when it is an absolute path (user pictures).
#pragma once

#include <windows.h>

#include <string>

namespace DuiLib {

class CZipArchive;

class CResourceStore {
public:
    static void SetInstance(HINSTANCE hInst);
    static HINSTANCE GetInstance();
    // Folder of the executable, with a trailing backslash.
    static std::string GetInstancePath();
    // Base folder of skin files on disk; a trailing backslash is added.
    static void SetResourcePath(LPCSTR path);
    static std::string GetResourcePath();

    // The package from bytes in memory (copied).
    static bool SetResourceZip(const void* data, size_t size);
    // The package from a resource of the instance (type "ZIPRES").
    static bool LoadResourceZip(LPCSTR id, LPCSTR type = "ZIPRES");
    static bool HasResourceZip();
    static void FreeResourceZip();

    // Reads a skin file by the lookup order above. source tells where it
    // was found ("zip:main_frame.xml", "file:C:\...").
    static bool Load(LPCSTR folder, LPCSTR name, std::string* data, std::string* source = nullptr);

    static bool IsAbsolutePath(LPCSTR path);

private:
    static CZipArchive& Zip();
};

}  // namespace DuiLib
