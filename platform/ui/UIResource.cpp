#include "platform/ui/UIResource.h"

#include "platform/ui/UILog.h"
#include "platform/ui/UIZip.h"

#include <mutex>

namespace DuiLib {

namespace {

HINSTANCE g_instance = nullptr;
std::mutex g_pathLock;
std::string g_resourcePath;

bool ReadWholeFile(const std::string& path, std::string* out)
{
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = ::GetFileSizeEx(h, &size) && size.QuadPart < (1LL << 30);
    if (ok) {
        out->resize((size_t)size.QuadPart);
        DWORD read = 0;
        ok = out->empty() ||
             (::ReadFile(h, &(*out)[0], (DWORD)out->size(), &read, nullptr) && read == out->size());
    }
    ::CloseHandle(h);
    return ok;
}

std::string WithSlash(std::string path)
{
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    return path;
}

}  // namespace

CZipArchive& CResourceStore::Zip()
{
    static CZipArchive zip;
    return zip;
}

void CResourceStore::SetInstance(HINSTANCE hInst)
{
    g_instance = hInst;
}

HINSTANCE CResourceStore::GetInstance()
{
    return g_instance ? g_instance : ::GetModuleHandleA(nullptr);
}

std::string CResourceStore::GetInstancePath()
{
    char buf[MAX_PATH] = {};
    ::GetModuleFileNameA(GetInstance(), buf, MAX_PATH);
    std::string path = buf;
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void CResourceStore::SetResourcePath(LPCSTR path)
{
    std::lock_guard<std::mutex> lock(g_pathLock);
    g_resourcePath = path && *path ? WithSlash(path) : std::string();
}

std::string CResourceStore::GetResourcePath()
{
    std::lock_guard<std::mutex> lock(g_pathLock);
    return g_resourcePath;
}

bool CResourceStore::SetResourceZip(const void* data, size_t size)
{
    if (!Zip().Open(data, size)) {
        UiLogError("skin package: %s", Zip().LastError().c_str());
        return false;
    }
    return true;
}

bool CResourceStore::LoadResourceZip(LPCSTR id, LPCSTR type)
{
    HINSTANCE inst = GetInstance();
    HRSRC res = ::FindResourceA(inst, id, type);
    HGLOBAL mem = res ? ::LoadResource(inst, res) : nullptr;
    const void* data = mem ? ::LockResource(mem) : nullptr;
    if (!data) {
        UiLogError("skin package: resource %s of type \"%s\" not found in the executable",
                   IS_INTRESOURCE(id) ? std::to_string((UINT_PTR)id).c_str() : id, type);
        return false;
    }
    return SetResourceZip(data, ::SizeofResource(inst, res));
}

bool CResourceStore::HasResourceZip()
{
    return Zip().IsOpen();
}

void CResourceStore::FreeResourceZip()
{
    Zip().Close();
}

bool CResourceStore::IsAbsolutePath(LPCSTR path)
{
    if (!path || !*path) return false;
    bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                 path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    bool unc = (path[0] == '\\' && path[1] == '\\');
    return drive || unc;
}

bool CResourceStore::Load(LPCSTR folder, LPCSTR name, std::string* data, std::string* source)
{
    if (!name || !*name) return false;
    std::string f = folder ? folder : "";
    std::string n = name;
    if (!f.empty()) f = WithSlash(f);

    if (!IsAbsolutePath(name) && Zip().IsOpen()) {
        for (const std::string& entry : {f + n, n}) {
            if (Zip().Contains(entry)) {
                if (Zip().Read(entry, data)) {
                    if (source) *source = "zip:" + entry;
                    return true;
                }
                UiLogError("skin package: %s", Zip().LastError().c_str());
            }
            if (f.empty()) break;
        }
    }
    if (IsAbsolutePath(name)) {
        if (ReadWholeFile(n, data)) {
            if (source) *source = "file:" + n;
            return true;
        }
        return false;
    }
    std::string base = GetResourcePath();
    if (base.empty()) base = GetInstancePath();
    for (const std::string& path : {base + f + n, base + n}) {
        if (ReadWholeFile(path, data)) {
            if (source) *source = "file:" + path;
            return true;
        }
        if (f.empty()) break;
    }
    return false;
}

}  // namespace DuiLib
