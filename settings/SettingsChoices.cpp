#include "settings/SettingsChoices.h"

#include "core/CfgDocument.h"
#include "recorder/codecs/CodecPresets.h"
#include "recorder/codecs/CompressorList.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/codecs/VideoOptions.h"
#include "settings/UpdateFeed.h"

#include <windows.h>

namespace {

const int kFrameRates[] = {10, 15, 25};
const int kFrameRateCount = 3;
const int kCountdownItems = 4;
const int kImageTypeItems = 3;
const int kQualityItems = 2;
const int kCodecItems = 2;
const int kRecModeItems = 2;

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Orbisk";

bool InRange(int index, int count)
{
    return index >= 0 && index < count;
}

int ZeroOutside(int value, int last)
{
    return value >= 0 && value <= last ? value : 0;
}

}  // namespace

ShownSettings ReadShownSettings(CfgDocument& cfg)
{
    ShownSettings shown;
    int hide = 0;
    cfg.GetCfgHideFloatWnd(&hide);
    shown.hideFloatWnd = hide != 0;

    // The countdown's own default: 3 seconds.
    int countdown = -1;
    cfg.GetCfgStartCountdown(&countdown);
    shown.countdown = countdown == -1 ? 1 : countdown;

    int imageType = 0;
    cfg.GetCfgSaveImgType(&imageType);
    shown.imageType = imageType;

    int rate = 25;
    cfg.GetCfgFrameRate(&rate);
    shown.frameRate = ChoiceOfFrameRate(rate);

    // Without a loaded file these stay unselected rather than show defaults
    // nothing has stored.
    if (cfg.loaded()) {
        int codec = 0, quality = -1, mode = 0;
        cfg.GetCfgCodecType(&codec);
        cfg.GetCfgVideoQuality(&quality);
        cfg.GetCfgRecMode(&mode);
        shown.codecType = codec;
        shown.quality = ZeroOutside(quality, 2);
        shown.recMode = ZeroOutside(mode, 2);
    }
    return shown;
}

int FrameRateOfChoice(int index)
{
    return InRange(index, kFrameRateCount) ? kFrameRates[index] : 0;
}

int ChoiceOfFrameRate(int rate)
{
    for (int i = 0; i < kFrameRateCount; ++i)
        if (kFrameRates[i] == rate) return i;
    return kNoChoice;
}

void ChooseCountdown(int index)
{
    if (!InRange(index, kCountdownItems)) return;
    g_cfgDocument.SetCfgStartCountdown(index);
    SetCountdownSeconds(index);
}

void ChooseImageType(int index)
{
    if (!InRange(index, kImageTypeItems)) return;
    g_cfgDocument.SetCfgSaveImgType(index);
    g_nSaveImgType = index;
}

void ChooseFrameRate(int index)
{
    int rate = FrameRateOfChoice(index);
    if (rate == 0) return;
    g_cfgDocument.SetCfgFrameRate(rate);
    g_videoOpts.SetFrameRate(rate);
}

void ChooseQuality(int index)
{
    if (!InRange(index, kQualityItems)) return;
    g_cfgDocument.SetCfgVideoQuality(index);
    SetQualityPreset(index);
}

void ChooseCodec(int index)
{
    if (!InRange(index, kCodecItems)) return;
    g_cfgDocument.SetCfgCodecType(index);
    g_nCodecType = index;
    EnumVideoCompressors();
    // The quality was written for the compressor chosen before; the new one
    // gets the same choice.
    SetQualityPreset(g_nQualityChoice);
}

void ChooseRecMode(int index)
{
    if (!InRange(index, kRecModeItems)) return;
    g_cfgDocument.SetCfgRecMode(index);
    g_nRecMode = index;
    WriteX264Preset(index);
}

void ChooseHideFloatWnd(bool hide)
{
    g_cfgDocument.SetCfgHideFloatWnd(hide ? 1 : 0);
}

std::string StartWithWindowsCommand()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    return "\"" + std::string(path, n) + "\"";
}

bool IsStartingWithWindows()
{
    char value[MAX_PATH + 8] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, &type, value, &size) !=
        ERROR_SUCCESS)
        return false;
    // An entry of a copy elsewhere is not this program starting.
    return lstrcmpiA(value, StartWithWindowsCommand().c_str()) == 0;
}

bool SetStartingWithWindows(bool on)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG result;
    if (on) {
        std::string command = StartWithWindowsCommand();
        result = command.empty() ? ERROR_INVALID_DATA
                                 : RegSetValueExA(key, kRunValue, 0, REG_SZ,
                                                  reinterpret_cast<const BYTE*>(command.c_str()),
                                                  (DWORD)command.size() + 1);
    } else {
        result = RegDeleteValueA(key, kRunValue);
        if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::string AboutText()
{
    std::string version = RunningProgramVersion();
    return "Orbisk 屏幕录像" + (version.empty() ? std::string() : " V" + version) +
           "\r\n录制全屏、区域或窗口和声音，加水印、标题和鼠标效果，剪辑和转换视频。";
}

std::string UserPromiseText()
{
    return "Orbisk 只在启动时联网检查有没有新版本，不收集、不上传您的任何信息；"
           "录制的视频和截图只保存在您自己的电脑上。";
}
