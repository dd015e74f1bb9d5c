// Helper of CfgDocument_test, run as a child process.
//   cfg_save_loop loop <config> <ready file>   saves large settings for ever
//       (the test kills it mid-write);
//   cfg_save_loop startup <app data> <result>   the start-up load, with the
//       user's application-data folder moved to <app data>; writes the
//       result and the path it used.
#include "core/CfgDocument.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void WriteText(const char* path, const std::string& text)
{
    if (FILE* f = fopen(path, "wb")) {
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && strcmp(argv[1], "loop") == 0) {
        CfgDocument doc;
        if (!doc.LoadOrCreate(argv[2])) return 2;
        std::string caption;
        doc.GetCfgCaptionText(&caption);
        WriteText(argv[3], "ready");
        for (int i = 0;; ++i) {
            // About 200 KB a save, so that a kill lands inside a write.
            doc.SetCfgCaptionText(std::string(200000 + (i % 7) * 1000, (char)('a' + i % 26)));
            doc.SetCfgFrameRate(i);
        }
    }
    if (argc == 4 && strcmp(argv[1], "startup") == 0) {
        // This process alone sees a user key of its own, whose shell folder
        // "AppData" is the test's folder.
        const std::string scratch =
            "Software\\OrbiskTest\\" + std::to_string(GetCurrentProcessId());
        HKEY user = nullptr, folders = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &user, nullptr) != ERROR_SUCCESS)
            return 3;
        RegCreateKeyExA(
            user, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", 0,
            nullptr, 0, KEY_ALL_ACCESS, nullptr, &folders, nullptr);
        RegSetValueExA(folders, "AppData", 0, REG_SZ, reinterpret_cast<const BYTE*>(argv[2]),
                       (DWORD)strlen(argv[2]) + 1);
        RegCloseKey(folders);
        RegOverridePredefKey(HKEY_CURRENT_USER, user);
        unsigned loaded = LoadConfigFile();
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(user);
        RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
        WriteText(argv[3], std::to_string(loaded) + "\n" + g_cfgDocument.path());
        return 0;
    }
    fprintf(stderr, "usage: cfg_save_loop loop <config> <ready> | startup <app data> <result>\n");
    return 1;
}
