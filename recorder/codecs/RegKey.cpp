#include "recorder/codecs/RegKey.h"

#include <cstring>

namespace orbisk {

RegKey RegKey::Create(HKEY root, const std::string& subKey, REGSAM access, DWORD options)
{
    RegKey k;
    HKEY h = nullptr;
    if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, options, access, nullptr, &h, nullptr) ==
        ERROR_SUCCESS)
        k.key_ = h;
    return k;
}

RegKey RegKey::Open(HKEY root, const std::string& subKey, REGSAM access)
{
    RegKey k;
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, access, &h) == ERROR_SUCCESS) k.key_ = h;
    return k;
}

bool RegKey::HasValue(const std::string& name) const
{
    return key_ && RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
                       ERROR_SUCCESS;
}

bool RegKey::ReadText(const std::string& name, std::string* text) const
{
    DWORD type = 0, size = 0;
    if (!key_ ||
        RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::string s(size + 1, '\0');
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&s[0]),
                         &size) != ERROR_SUCCESS)
        return false;
    // The stored text need not end in a terminator, or may hold one early.
    s.resize(strnlen(s.c_str(), size));
    *text = s;
    return true;
}

bool RegKey::ReadDword(const std::string& name, DWORD* value) const
{
    DWORD type = 0, v = 0, size = sizeof v;
    if (!key_ ||
        RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof v)
        return false;
    *value = v;
    return true;
}

bool RegKey::SetDword(const std::string& name, DWORD value)
{
    return key_ &&
           RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool RegKey::SetText(const std::string& name, const std::string& text)
{
    return key_ && RegSetValueExA(key_, name.c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool RegKey::SetBinary(const std::string& name, const void* data, size_t size)
{
    return key_ && RegSetValueExA(key_, name.c_str(), 0, REG_BINARY, static_cast<const BYTE*>(data),
                                  static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool RegKey::SetTextIfMissing(const std::string& name, const std::string& text)
{
    return HasValue(name) || SetText(name, text);
}

bool RegKey::SetBinaryIfMissing(const std::string& name, const void* data, size_t size)
{
    return HasValue(name) || SetBinary(name, data, size);
}

}  // namespace orbisk
