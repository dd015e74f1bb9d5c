// An owned registry key with the few value operations the codec set-up
// needs. Failures are values: callers decide what a missing key means.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace orbisk {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Reset(); }
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept
    {
        if (this != &other) {
            Reset();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // root\subKey, created when missing (options: e.g. REG_OPTION_BACKUP_RESTORE).
    static RegKey Create(HKEY root, const std::string& subKey, REGSAM access = KEY_ALL_ACCESS,
                         DWORD options = 0);
    // root\subKey only when it exists.
    static RegKey Open(HKEY root, const std::string& subKey, REGSAM access = KEY_READ);

    explicit operator bool() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }

    bool HasValue(const std::string& name) const;
    // The value when it is text (REG_SZ or REG_EXPAND_SZ); false otherwise.
    bool ReadText(const std::string& name, std::string* text) const;
    bool ReadDword(const std::string& name, DWORD* value) const;

    bool SetDword(const std::string& name, DWORD value);
    bool SetText(const std::string& name, const std::string& text);
    bool SetBinary(const std::string& name, const void* data, size_t size);

    // Writes only when the value is absent, so a value another program put
    // there is never replaced. true when the value exists afterwards.
    bool SetTextIfMissing(const std::string& name, const std::string& text);
    bool SetBinaryIfMissing(const std::string& name, const void* data, size_t size);

private:
    void Reset()
    {
        if (key_) RegCloseKey(key_);
        key_ = nullptr;
    }
    HKEY key_ = nullptr;
};

}  // namespace orbisk
