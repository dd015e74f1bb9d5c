#include "platform/x264vfw/EncoderSettings.h"

#include "platform/TestHooks.h"

#include <cstdlib>
#include <cstring>

namespace x264vfw {

const char kSettingsKey[] = "SoftWare\\GNU\\x264";

namespace {

class RegKey {
public:
    RegKey(HKEY root, const char* subKey)
    {
        if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~RegKey()
    {
        if (key_) RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    explicit operator bool() const { return key_ != nullptr; }

    // DWORD values; a decimal text is taken too, as hand edits make them.
    bool ReadInt(const char* name, int* out) const
    {
        DWORD type = 0;
        BYTE data[64] = {};
        DWORD size = sizeof data - 1;
        if (RegQueryValueExA(key_, name, nullptr, &type, data, &size) != ERROR_SUCCESS)
            return false;
        if (type == REG_DWORD && size == sizeof(DWORD)) {
            DWORD v;
            memcpy(&v, data, sizeof v);
            *out = static_cast<int>(v);
            return true;
        }
        if (type == REG_SZ) {
            char* end = nullptr;
            long v = strtol(reinterpret_cast<char*>(data), &end, 10);
            if (end == reinterpret_cast<char*>(data)) return false;
            *out = static_cast<int>(v);
            return true;
        }
        return false;
    }

    bool ReadText(const char* name, std::string* out) const
    {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return false;
        std::string s(size + 1, '\0');
        if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&s[0]), &size) !=
            ERROR_SUCCESS)
            return false;
        s.resize(strlen(s.c_str()));
        *out = s;
        return true;
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace

EncoderSettings ReadEncoderSettings(HKEY root, const char* subKey)
{
    EncoderSettings s;
    RegKey key(root, subKey);
    if (!key) return s;
    std::string text;
    if (key.ReadText("preset", &text) && !text.empty()) s.preset = text;
    if (key.ReadText("profile", &text) && !text.empty()) s.profile = text;
    key.ReadText("extra_cmdline", &s.extraCmdline);
    int v = 0;
    if (key.ReadInt("ratefactor", &v)) s.ratefactorTenths = v < 0 ? 0 : (v > 510 ? 510 : v);
    if (key.ReadInt("keyint_max", &v) && v > 0) s.keyintMax = v;
    if (key.ReadInt("log_level", &v)) s.logLevel = v;
    if (key.ReadInt("zerolatency", &v)) s.zeroLatency = v != 0;
    if (key.ReadInt("fourcc_num", &v)) s.fourccNum = v;
    return s;
}

EncoderSettings ReadEncoderSettings()
{
#ifdef ORBISK_TEST_HOOKS
    // Tests share one Wine prefix and run side by side: each may name a key
    // of its own so that none reads another's settings.
    char testKey[256];
    DWORD n = TestHooksOn() ? GetEnvironmentVariableA("ORBISK_X264VFW_KEY", testKey, sizeof testKey) : 0;
    if (n > 0 && n < sizeof testKey) return ReadEncoderSettings(HKEY_CURRENT_USER, testKey);
#endif
    return ReadEncoderSettings(HKEY_CURRENT_USER, kSettingsKey);
}

}  // namespace x264vfw
