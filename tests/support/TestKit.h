// Helpers shared by the tests that run the real binaries under Wine: start
// the program, find its windows, wait for what it writes, and ask Linux tools
// (ffprobe, ffmpeg, pactl) about the results.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testkit {

// Handles the calling thread's messages until done() holds; false when
// timeoutMs passed first. A translator (the UI library's) may take a message
// before it is dispatched. Quit messages are dropped: a test has no outer
// loop for them (the main window posts one as it goes).
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000,
               bool (*translate)(MSG*) = nullptr);
// Handles the calling thread's messages for ms.
void Pump(DWORD ms, bool (*translate)(MSG*) = nullptr);

// GDI+ for as long as the object lives.
class GdiplusScope {
public:
    GdiplusScope();
    ~GdiplusScope();
    GdiplusScope(const GdiplusScope&) = delete;
    GdiplusScope& operator=(const GdiplusScope&) = delete;
    bool ok() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

// Folder of the shipped program (Orbisk.exe, vintx.exe, lame_enc.dll, ...).
std::string ProgramDir();
// Folder of the test programs and their helper programs.
std::string TestBinDir();
// A fresh, empty folder for one test, under the prefix's temporary folder.
std::string MakeTempDir(const std::string& tag);
bool FileExists(const std::string& path);
long long FileSize(const std::string& path);  // -1 when missing
bool WaitForFile(const std::string& path, DWORD timeoutMs, long long minSize = 1);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// One child process, ended (TerminateProcess) when the object goes away
// unless it has already finished.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // exe is a full path; args is appended after the quoted exe path.
    bool Start(const std::string& exe, const std::string& args = "",
               const std::string& workDir = "");
    // Returns the exit code, or -1 on timeout.
    long Wait(DWORD timeoutMs);
    bool Running() const;
    void Kill();
    DWORD Id() const { return pi_.dwProcessId; }
    HANDLE Handle() const { return pi_.hProcess; }

private:
    PROCESS_INFORMATION pi_ = {};
};

// Waits for a top-level window of the class (and title, when given).
HWND WaitForWindow(const char* cls, const char* title, DWORD timeoutMs, DWORD pid = 0);
// Every top-level window of a process.
std::vector<HWND> WindowsOfProcess(DWORD pid);

// Saves what the screen shows of a window as <build>\screenshots\<name>.png
// (kept as CI artefacts); the path, or empty when it could not be written.
std::string SaveWindowScreenshot(HWND window, const std::string& name);

// Linux side. Wine starts Unix programs but cannot wait for them or read
// their output, so the command runs in /bin/sh with its output and exit
// status written to files that are polled.
struct LinuxResult {
    int exitCode = -1;  // -1: timed out
    std::string out;
    std::string err;
};
std::string UnixPath(const std::string& windowsPath);
LinuxResult RunLinux(const std::string& shellCommand, DWORD timeoutMs = 60000);
// Starts a command and returns at once (a tone to play while recording).
void StartLinux(const std::string& shellCommand);
std::string ShellQuote(const std::string& s);
// Variable settings that give a Windows program started from RunLinux's
// shell ("LANG=... LC_ALL=... wine ...") this process's locale. The shell
// speaks the C locale to the Linux tools, and Wine derives the code page
// from the locale: under C it is the Western one, where every Chinese text
// of the program turns into "?".
std::string WineLocaleVariables();

// ffprobe -show_entries on one stream ("v:0", "a:0") or on the format
// (stream empty); keys as ffprobe prints them ("codec_name", "duration").
std::map<std::string, std::string> Probe(const std::string& windowsPath,
                                         const std::string& stream,
                                         const std::string& entries,
                                         bool countFrames = false);
// A picture decoded by Linux's ffmpeg, a decoder independent of Wine's:
// pixels as 0x00RRGGBB, rows from the top. Empty (width 0) on failure.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned> rgb;
    unsigned At(int x, int y) const { return rgb[(size_t)y * width + x]; }
};
DecodedImage DecodeImage(const std::string& windowsPath);
// One frame of a video, `seconds` in, decoded the same way.
DecodedImage VideoFrame(const std::string& video, double seconds);

// Gives the running program (its main window) the answer of its next system
// dialog of that kind ("color", "font", "open", "save", "folder"); ok false
// answers as a cancel. True when the program took it.
bool AnswerNextDialog(HWND mainWindow, const std::string& kind, bool ok,
                      const std::string& path = std::string(), COLORREF color = 0,
                      const LOGFONTA* font = nullptr);

// Plays a sine tone into the null sink (the default source records it).
void PlayTone(int frequencyHz, double seconds);

}  // namespace testkit
