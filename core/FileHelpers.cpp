#include "core/FileHelpers.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

unsigned BigEndian32(const unsigned char* p)
{
    return (unsigned)p[0] << 24 | (unsigned)p[1] << 16 | (unsigned)p[2] << 8 | p[3];
}

}  // namespace

int GetPNGWidthHeight(const char* path, unsigned* width, unsigned* height)
{
    *width = 0;
    *height = 0;
    FILE* f = fopen(path, "rb");
    if (!f) {
        printf("[GetPNGWidthHeight]:can't open file:%s\n", path);
        return kPngCannotOpen;
    }
    // Signature (8 bytes), then the IHDR chunk: length, type, width, height.
    unsigned char head[24];
    size_t got = fread(head, 1, sizeof head, f);
    fclose(f);
    if (got < sizeof head || BigEndian32(head) != 0x89504E47 ||
        BigEndian32(head + 4) != 0x0D0A1A0A || BigEndian32(head + 12) != 0x49484452) {
        printf("[GetPNGWidthHeight]:png format error\n");
        return kPngNotPng;
    }
    *width = BigEndian32(head + 16);
    *height = BigEndian32(head + 20);
    return kPngSizeOk;
}

unsigned long long GetFileLength(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return 0;
    return (unsigned long long)d.nFileSizeHigh << 32 | d.nFileSizeLow;
}

std::string GetFileVersionString(const char* path, int* a, int* b, int* c, int* d)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return std::string();
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!GetFileVersionInfoA(path, 0, size, data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &len) || !info ||
        len < sizeof *info)
        return std::string();
    *a = HIWORD(info->dwFileVersionMS);
    *b = LOWORD(info->dwFileVersionMS);
    *c = HIWORD(info->dwFileVersionLS);
    *d = LOWORD(info->dwFileVersionLS);
    char text[64];
    snprintf(text, sizeof text, "%d.%d.%d.%d", *a, *b, *c, *d);
    return text;
}

std::string GetFileExtension(const std::string& name)
{
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool DeleteFolderTree(const char* folder)
{
    std::string base = folder;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((base + "\\*.*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = base + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesA(path.c_str(), fd.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA(path.c_str());
            else if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                RemoveDirectoryA(path.c_str());
            else
                DeleteFolderTree(path.c_str());
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    return RemoveDirectoryA(folder) != FALSE;
}
