// The keys the program writes for the compressor, shared by every test and
// program in the prefix (hence serial): its settings under HKCU
// "SoftWare\GNU\x264" and its driver entry under HKLM "Drivers32".
#include <gtest/gtest.h>

#include "CodecKit.h"
#include "TestKit.h"

#include <map>

using namespace codeckit;

namespace {

const char kKey[] = "SoftWare\\GNU\\x264";

// Puts the key's values back as they were, whatever the test changed.
class SavedKey {
public:
    SavedKey()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
        existed_ = true;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD nameSize = sizeof name, type = 0, dataSize = 4096;
            std::vector<BYTE> data(dataSize);
            if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data.data(), &dataSize) !=
                ERROR_SUCCESS)
                break;
            data.resize(dataSize);
            values_[name] = {type, data};
        }
        RegCloseKey(key);
    }
    ~SavedKey()
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
        if (!existed_) return;
        for (const auto& v : values_)
            RegSetKeyValueA(HKEY_CURRENT_USER, kKey, v.first.c_str(), v.second.first,
                            v.second.second.data(), static_cast<DWORD>(v.second.second.size()));
    }

private:
    bool existed_ = false;
    std::map<std::string, std::pair<DWORD, std::vector<BYTE>>> values_;
};

std::string FirstFrameOptions()
{
    Session s(320, 200);
    Compressed first;
    if (!s.ok() || !s.Compress(MakePattern(320, 200, 0), true, &first)) return std::string();
    return X264Options(first.data);
}

}  // namespace

TEST(RegistryKey, TheProgramsPresetsReachTheEncoder)
{
    ASSERT_TRUE(InstallX264());
    SavedKey saved;
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    // Nothing written yet: x264's own defaults.
    std::string options = FirstFrameOptions();
    EXPECT_NE(std::string::npos, options.find("crf=23.0")) << options;
    EXPECT_NE(std::string::npos, options.find("subme=7")) << options;

    // What the program writes at start-up for the fast mode and quality 0.
    DWORD keyint = 250, rf = 180;
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "keyint_max", REG_DWORD, &keyint, sizeof keyint);
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "ratefactor", REG_DWORD, &rf, sizeof rf);
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "preset", REG_SZ, "superfast", 10);
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "extra_cmdline", REG_SZ, kFastCmdline,
                    static_cast<DWORD>(strlen(kFastCmdline) + 1));
    options = FirstFrameOptions();
    for (const char* e : {"crf=18.0", "subme=0", "me=dia", "cabac=0", "bframes=0"})
        EXPECT_NE(std::string::npos, options.find(e)) << e << " in " << options;
}

TEST(RegistryKey, ListedByICInfoOnceRegisteredAsADriver)
{
    // Wine's ICInfo lists the drivers of the registry only, not those
    // installed for the process: the program registers "vidc.X264" too.
    ASSERT_TRUE(InstallX264());
    const char drivers[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
    char before[MAX_PATH] = {};
    DWORD size = sizeof before;
    const bool existed = RegGetValueA(HKEY_LOCAL_MACHINE, drivers, "vidc.X264", RRF_RT_REG_SZ,
                                      nullptr, before, &size) == ERROR_SUCCESS;
    const std::string dll = testkit::ProgramDir() + "\\plugins\\x264\\x264vfw.dll";
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_LOCAL_MACHINE, drivers, "vidc.X264", REG_SZ,
                                             dll.c_str(), static_cast<DWORD>(dll.size() + 1)));
    int listed = -1;
    ICINFO info{};
    for (DWORD i = 0; listed < 0 && ICInfo(0, i, &info); ++i)
        if (info.fccType == ICTYPE_VIDEO && info.fccHandler == kX264) listed = static_cast<int>(i);
    if (existed)
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, drivers, "vidc.X264", REG_SZ, before, size);
    else
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, drivers, "vidc.X264");
    ASSERT_GE(listed, 0);

    // What the program's compressor list does with each entry.
    HIC hic = ICOpen(info.fccType, info.fccHandler, ICMODE_QUERY);
    ASSERT_NE(nullptr, hic);
    BITMAPINFOHEADER frame = RgbHeader(320, 200, 24);
    EXPECT_EQ(ICERR_OK,
              ICSendMessage(hic, ICM_COMPRESS_QUERY, reinterpret_cast<DWORD_PTR>(&frame), 0));
    ICINFO got{};
    EXPECT_EQ(sizeof got, ICGetInfo(hic, &got, sizeof got));
    EXPECT_STREQ(L"x264vfw - H.264/MPEG-4 AVC codec", got.szDescription);
    ICClose(hic);
}
