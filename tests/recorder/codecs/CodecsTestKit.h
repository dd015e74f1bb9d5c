// What the codec tests share: registry roots of their own, so that nothing
// they write reaches the keys every other test and program in the prefix
// reads, and a configuration file of their own.
#pragma once

#include <windows.h>

#include <string>

namespace codecstest {

// Two empty keys under HKCU\Software\OrbiskTests that stand for the current
// user's and the machine's keys; removed with everything below them.
class ScratchRoots {
public:
    ScratchRoots();
    ~ScratchRoots();
    ScratchRoots(const ScratchRoots&) = delete;
    ScratchRoots& operator=(const ScratchRoots&) = delete;

    // Sub-keys of the real HKCU, for a child process to override with.
    const std::string& userPath() const { return userPath_; }
    const std::string& machinePath() const { return machinePath_; }
    HKEY user() const { return user_; }
    HKEY machine() const { return machine_; }

    // From now until the object goes, HKEY_CURRENT_USER and
    // HKEY_LOCAL_MACHINE of this process are the scratch keys.
    void OverrideThisProcess();

private:
    std::string base_, userPath_, machinePath_;
    HKEY user_ = nullptr, machine_ = nullptr;
    bool overridden_ = false;
};

// Reads below a scratch root; empty / false when absent.
std::string Text(HKEY root, const std::string& key, const std::string& name);
bool Dword(HKEY root, const std::string& key, const std::string& name, DWORD* value);
bool HasValue(HKEY root, const std::string& key, const std::string& name);
bool HasKey(HKEY root, const std::string& key);
size_t BinarySize(HKEY root, const std::string& key, const std::string& name);
void SetText(HKEY root, const std::string& key, const std::string& name, const std::string& text);

// A configuration file "<vintracfg>" + body + "</vintracfg>" in a fresh
// folder; returns its path.
std::string WriteConfig(const std::string& body);

// The recording globals back at their start values.
void ResetRecordingGlobals();

}  // namespace codecstest
