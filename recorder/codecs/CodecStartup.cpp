#include "recorder/codecs/CodecStartup.h"

#include "core/SystemHelpers.h"
#include "core/SystemMessageBox.h"
#include "recorder/codecs/CMyRegistry.h"
#include "recorder/codecs/CompressorList.h"
#include "recorder/codecs/PluginCodecs.h"
#include "recorder/codecs/RecordingSettings.h"

const char kNoCompressorText[] =
    "没有找到可用的视频编码器，无法录制视频。\n请重新安装本软件后再试。";
const char kNoCompressorCaption[] = "提示";

void ReportNoUsableCompressor()
{
    ShowSystemMessageBox(nullptr, kNoCompressorText, kNoCompressorCaption, MB_OK | MB_ICONWARNING);
}

void LoadSettingsAndInstallCodecs()
{
    LoadRecordingChoices();

    EnablePrivilege("SeBackupPrivilege");
    EnablePrivilege("SeRestorePrivilege");

    {
        CMyRegistry registry;
        registry.RegisterPluginCodecs();
        registry.EnsureXvidInstalled();
    }

    InstallPluginCodecs();

    EnumVideoCompressors();
    // Without a compressor every recording would fail at its start; say so
    // now, while nothing is lost.
    if (CompressorCount() == 0) ReportNoUsableCompressor();

    LoadCursorAndPlaybackSettings();
}
