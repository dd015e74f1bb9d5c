// Stands in for the companion player "VintraPlayer.exe": writes the command
// line it was started with to player_args.txt beside itself, then ends.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    char* slash = strrchr(path, '\\');
    if (!slash) return 1;
    slash[1] = '\0';
    const std::string out = std::string(path) + "player_args.txt";
    const std::string tmp = out + ".tmp";
    FILE* f = fopen(tmp.c_str(), "wb");
    if (!f) return 1;
    fputs(GetCommandLineA(), f);
    fclose(f);
    // Whole or not at all, for the test that polls for it.
    return MoveFileExA(tmp.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
