// The encoder settings the program keeps under HKCU "SoftWare\GNU\x264".
#pragma once

#include <windows.h>

#include <string>

namespace x264vfw {

// The defaults are what x264 itself would pick, for a key the program never
// wrote.
struct EncoderSettings {
    std::string preset = "medium";
    std::string profile = "high";
    std::string extraCmdline;  // x264 command-line options, e.g. "--me dia --ref 1"
    int ratefactorTenths = 230;
    int keyintMax = 250;
    int logLevel = 0;  // 0 silent, 1 errors, 2 warnings, 3 info, 4 debug
    bool zeroLatency = false;
    int fourccNum = 0;  // index into the output FOURCCs
};

extern const char kSettingsKey[];  // "SoftWare\GNU\x264"

// Reads the values present under root\subKey over the defaults; a missing
// key or value, or a value of the wrong type, keeps the default.
EncoderSettings ReadEncoderSettings(HKEY root, const char* subKey);
// The settings the compressor encodes with (HKCU, kSettingsKey).
EncoderSettings ReadEncoderSettings();

}  // namespace x264vfw
