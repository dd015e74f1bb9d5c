// A save folder as a user's looks: two 10 s recordings (25 and 30 frames a
// second, made by Linux's ffmpeg), a screenshot, files whose names fool a
// careless extension rule, and a text file. The files get last-write times
// a minute apart, so "newest first" has one answer: the order of kFiles.
#pragma once

#include "TestKit.h"

#include <string>
#include <vector>

namespace sample {

struct File {
    const char* name;
    const char* made;  // what it is a copy of ("" for the text file)
};

// Newest first.
const File kFiles[] = {
    {"clip30.avi", "30fps"}, {"shot.png", "png"},      {"a.b.avi", "25fps"},
    {"clip.AVI", "25fps"},   {"readme.txt", ""},       {"clip25.avi", "25fps"},
};
const int kFileCount = sizeof kFiles / sizeof kFiles[0];

// The made files, once per test program.
inline std::string Originals()
{
    static std::string dir;
    if (!dir.empty()) return dir;
    dir = testkit::MakeTempDir("samples");
    const std::string u = testkit::UnixPath(dir);
    const std::string ff = "ffmpeg -nostdin -v error -y ";
    testkit::LinuxResult r = testkit::RunLinux(
        ff + "-f lavfi -i testsrc=size=320x240:rate=25 -t 10 -c:v mjpeg -q:v 8 " +
            testkit::ShellQuote(u + "/25fps.avi") + " && " + ff +
            "-f lavfi -i testsrc=size=640x480:rate=30 -t 10 -c:v mjpeg -q:v 8 " +
            testkit::ShellQuote(u + "/30fps.avi") + " && " + ff +
            "-f lavfi -i color=c=red:size=64x48 -frames:v 1 " + testkit::ShellQuote(u + "/png.png"),
        120000);
    if (r.exitCode != 0) dir.clear();
    return dir;
}

inline FILETIME MinutesAgo(int minutes)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= (ULONGLONG)minutes * 60 * 10000000;
    FILETIME out;
    out.dwLowDateTime = t.LowPart;
    out.dwHighDateTime = t.HighPart;
    return out;
}

inline bool SetWriteTime(const std::string& path, const FILETIME& when)
{
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = SetFileTime(h, nullptr, nullptr, &when) != FALSE;
    CloseHandle(h);
    return ok;
}

// Fills folder with the sample files; false when they could not be made.
inline bool Fill(const std::string& folder)
{
    const std::string originals = Originals();
    if (originals.empty()) return false;
    for (int i = 0; i < kFileCount; ++i) {
        const std::string path = folder + "\\" + kFiles[i].name;
        const std::string made = kFiles[i].made;
        if (made.empty())
            testkit::WriteFile(path, "not a video\r\n");
        else if (!CopyFileA((originals + "\\" + made + (made == "png" ? ".png" : ".avi")).c_str(),
                            path.c_str(), FALSE))
            return false;
        if (!SetWriteTime(path, MinutesAgo(10 + i))) return false;
    }
    return true;
}

inline std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

}  // namespace sample
