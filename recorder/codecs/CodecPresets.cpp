#include "recorder/codecs/CodecPresets.h"

#include "recorder/codecs/RecordingSettings.h"
#include "recorder/codecs/RegKey.h"

using orbisk::RegKey;

const char kXvidSettingsKey[] = "SoftWare\\GNU\\Xvid";
const char kX264SettingsKey[] = "SoftWare\\GNU\\x264";

const char kX264FastPreset[] = "superfast";
const char kX264NormalPreset[] = "medium";
// Both start with two blanks after the first option; the compressor reads
// them as written.
const char kX264FastCmdline[] =
    "--no-8x8dct  --sync-lookahead 0 --sliced-threads --aq-mode 0 --b-adapt 0 --no-cabac "
    "--no-deblock --me dia --no-mixed-refs --partitions none --rc-lookahead 0 --ref 1 "
    "--scenecut 0 --subme 0 --trellis 0 --no-weightb --weightp 0";
const char kX264NormalCmdline[] =
    "--no-8x8dct  --sync-lookahead 0 --sliced-threads --aq-mode 0 --b-adapt 1 --bframes 1 "
    "--no-cabac --no-deblock --me dia --no-mixed-refs --partitions none --rc-lookahead 2 --ref 1 "
    "--scenecut 1 --subme 2 --trellis 0 --no-weightb --weightp 0";

namespace {

struct DwordValue {
    const char* name;
    DWORD value;
};

RegKey UserKey(const char* subKey)
{
    return RegKey::Create(HKEY_CURRENT_USER, subKey, KEY_SET_VALUE | KEY_QUERY_VALUE);
}

template <size_t N>
bool WriteDwords(RegKey& key, const DwordValue (&values)[N])
{
    bool ok = static_cast<bool>(key);
    for (const DwordValue& v : values) ok = key.SetDword(v.name, v.value) && ok;
    return ok;
}

bool WriteOneDword(const char* subKey, const char* name, DWORD value)
{
    RegKey key = UserKey(subKey);
    return key.SetDword(name, value);
}

}  // namespace

bool WriteXvidDefaults()
{
    static const DwordValue kValues[] = {
        {"zone0_type", 1}, {"max_key_interval", 100}, {"vhq_mode", 1}, {"motion_search", 6},
        {"turbo", 1},      {"vhq_bframe", 1},         {"chromame", 1}, {"desired_quant", 600},
    };
    RegKey key = UserKey(kXvidSettingsKey);
    bool ok = WriteDwords(key, kValues);
    return key.SetText("quality", "(User defined)") && ok;
}

bool WriteX264Defaults()
{
    static const DwordValue kValues[] = {
        {"keyint_max", 250}, {"log_level", 0}, {"zerolatency", 0}, {"fourcc_num", 0}};
    RegKey key = UserKey(kX264SettingsKey);
    bool ok = WriteDwords(key, kValues);
    ok = key.SetText("preset", kX264NormalPreset) && ok;
    return key.SetText("profile", "high") && ok;
}

bool WriteX264Preset(int fast)
{
    RegKey key = UserKey(kX264SettingsKey);
    const bool isFast = fast == 1;
    bool ok = key.SetText("preset", isFast ? kX264FastPreset : kX264NormalPreset);
    return key.SetText("extra_cmdline", isFast ? kX264FastCmdline : kX264NormalCmdline) && ok;
}

bool SetXvidDesiredQuant(DWORD value)
{
    return WriteOneDword(kXvidSettingsKey, "desired_quant", value);
}

bool SetX264RateFactor(DWORD value)
{
    return WriteOneDword(kX264SettingsKey, "ratefactor", value);
}

bool DisableXvidStatusWindow()
{
    return WriteOneDword(kXvidSettingsKey, "display_status", 0);
}

void SetQualityPreset(int choice)
{
    g_nQualityChoice = choice >= 0 && choice <= 2 ? choice : 0;
    if (g_nQualityChoice == 2) return;
    const bool standard = g_nQualityChoice == 0;
    if (g_nCodecType == kCodecTypeXvid)
        SetXvidDesiredQuant(standard ? 1000 : 600);
    else if (g_nCodecType == kCodecTypeX264)
        SetX264RateFactor(standard ? 180 : 150);
}
