#include "CodecsTestKit.h"

#include "TestKit.h"
#include "recorder/CamCursor.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/codecs/SettingsHandOver.h"
#include "recorder/codecs/VideoOptions.h"

#include <cstdio>
#include <vector>

namespace codecstest {

namespace {

HKEY CreateKey(const std::string& path)
{
    HKEY k = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                    nullptr);
    return k;
}

}  // namespace

ScratchRoots::ScratchRoots()
{
    static LONG counter = 0;
    char path[128];
    snprintf(path, sizeof path, "Software\\OrbiskTests\\codecs-%lu-%ld", GetCurrentProcessId(),
             InterlockedIncrement(&counter));
    base_ = path;
    userPath_ = base_ + "\\user";
    machinePath_ = base_ + "\\machine";
    RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    user_ = CreateKey(userPath_);
    machine_ = CreateKey(machinePath_);
}

ScratchRoots::~ScratchRoots()
{
    if (overridden_) {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    }
    if (user_) RegCloseKey(user_);
    if (machine_) RegCloseKey(machine_);
    RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
}

void ScratchRoots::OverrideThisProcess()
{
    overridden_ = RegOverridePredefKey(HKEY_CURRENT_USER, user_) == ERROR_SUCCESS &&
                  RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_) == ERROR_SUCCESS;
}

std::string Text(HKEY root, const std::string& key, const std::string& name)
{
    char buf[4096] = {};
    DWORD size = sizeof buf;
    if (RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buf, &size) !=
        ERROR_SUCCESS)
        return std::string();
    return buf;
}

bool Dword(HKEY root, const std::string& key, const std::string& name, DWORD* value)
{
    DWORD size = sizeof *value;
    return RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, value, &size) ==
           ERROR_SUCCESS;
}

bool HasValue(HKEY root, const std::string& key, const std::string& name)
{
    return RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool HasKey(HKEY root, const std::string& key)
{
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

size_t BinarySize(HKEY root, const std::string& key, const std::string& name)
{
    DWORD size = 0;
    if (RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_BINARY, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return 0;
    return size;
}

void SetText(HKEY root, const std::string& key, const std::string& name, const std::string& text)
{
    RegSetKeyValueA(root, key.c_str(), name.c_str(), REG_SZ, text.c_str(),
                    static_cast<DWORD>(text.size() + 1));
}

std::string WriteConfig(const std::string& body)
{
    std::string path = testkit::MakeTempDir("codeccfg") + "\\vintra_cfg.xml";
    testkit::WriteFile(
        path, "<?xml version=\"1.0\"  encoding=\"UTF-8\"?>\n<vintracfg>" + body + "</vintracfg>");
    return path;
}

void ResetRecordingGlobals()
{
    g_nCountdownSeconds = 0;
    g_nSaveImgType = 0;
    g_nCodecType = kCodecTypeX264;
    g_nQualityChoice = 0;
    g_nRecMode = 0;
    g_bAutoPlayOnComplete = 1;
    g_videoOpts = sVideoOpts();
    g_videoOpts.m_nX264Index = g_videoOpts.m_nXvidIndex = -1;
    HandOverAudioSources(AudioSourceSettings());
    g_cursorSettings = CCamCursor();
}

}  // namespace codecstest
