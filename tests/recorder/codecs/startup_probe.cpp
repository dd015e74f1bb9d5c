// Child process of the start-up tests: runs the recording engine's start-up
// step from wherever it was copied to (its folder stands for the program
// folder), on registry roots of the test's own, and writes what came out.
//   startup_probe <user key> <machine key> <configuration file> <result file>
// The two keys are sub-keys of HKCU that stand for HKCU and HKLM.
#include "core/CfgDocument.h"
#include "core/SystemMessageBox.h"
#include "recorder/codecs/CodecPresets.h"
#include "recorder/codecs/CodecStartup.h"
#include "recorder/codecs/CompressorList.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/codecs/VideoOptions.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HKEY OpenScratch(const char* path)
{
    HKEY k = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &k);
    return k;
}

std::string Utf8(const WCHAR* text)
{
    char buf[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

// "0" for no compressor.
std::string Fourcc(DWORD code)
{
    return code ? std::string(reinterpret_cast<const char*>(&code), 4) : std::string("0");
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) return 2;
    HKEY user = OpenScratch(argv[1]), machine = OpenScratch(argv[2]);
    if (!user || !machine || RegOverridePredefKey(HKEY_CURRENT_USER, user) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine) != ERROR_SUCCESS)
        return 3;

    std::string boxes;
    int boxCount = 0;
    SetSystemMessageBoxHook([&](HWND, const std::string& text, const std::string& caption, UINT) {
        ++boxCount;
        boxes += "box=" + Escaped(text) + "|" + caption + "\n";
        return IDOK;
    });

    if (!g_cfgDocument.LoadCfgFile(argv[3])) return 4;
    WriteXvidDefaults();
    WriteX264Defaults();
    LoadSettingsAndInstallCodecs();

    FILE* f = fopen(argv[4], "wb");
    if (!f) return 5;
    fprintf(f, "count=%d\nselected=%u\nfourcc=%s\nx264=%d\nxvid=%d\nrate=%u\ncountdown=%u\n",
            CompressorCount(), g_videoOpts.m_uSelectedCompressor,
            Fourcc(g_videoOpts.m_fccHandler).c_str(), g_videoOpts.m_nX264Index,
            g_videoOpts.m_nXvidIndex, g_videoOpts.m_uFrameRate, g_nCountdownSeconds);
    for (int i = 0; i < CompressorCount(); ++i)
        fprintf(f, "entry%d=%s|%s\n", i, Fourcc(g_pCodecInfos->infos[i].fccHandler).c_str(),
                Utf8(g_pCodecInfos->infos[i].szDescription).c_str());
    fprintf(f, "boxes=%d\n%s", boxCount, boxes.c_str());
    fclose(f);
    return 0;
}
