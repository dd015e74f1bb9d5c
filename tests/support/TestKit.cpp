#include "TestKit.h"

#include "kit/DialogAnswerProtocol.h"

#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testkit {

namespace {

std::string DirOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ModulePath()
{
    char buf[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return buf;
}

}  // namespace

std::string ProgramDir()
{
    // Test programs live in <build>\tests-bin, the program in <build>\Orbisk.
    return DirOf(DirOf(ModulePath())) + "\\Orbisk";
}

std::string TestBinDir()
{
    return DirOf(ModulePath());
}

std::string SaveWindowScreenshot(HWND window, const std::string& name)
{
    RECT rc;
    if (!GetWindowRect(window, &rc)) return std::string();
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0) return std::string();
    std::string dir = DirOf(ProgramDir()) + "\\screenshots";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string path = dir + "\\" + name + ".png";

    GdiplusScope gdiplus;
    if (!gdiplus.ok()) return std::string();
    bool saved = false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(mem, old);
    {
        Gdiplus::Bitmap image(bmp, nullptr);
        CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
        std::wstring wpath(path.begin(), path.end());
        saved = image.Save(wpath.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return saved ? path : std::string();
}

GdiplusScope::GdiplusScope()
{
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

GdiplusScope::~GdiplusScope()
{
    if (token_) Gdiplus::GdiplusShutdown(token_);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, bool (*translate)(MSG*))
{
    const DWORD start = GetTickCount();
    bool held = false;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;  // a window's as it goes; no outer loop here
            if (!translate || !translate(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if ((held = done())) break;
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - waited < 10 ? timeoutMs - waited : 10,
                                  QS_ALLINPUT);
    }
    return held;
}

void Pump(DWORD ms, bool (*translate)(MSG*))
{
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000, translate);
}

std::string MakeTempDir(const std::string& tag)
{
    char tmp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tmp);
    static LONG counter = 0;
    for (;;) {
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%sorbisk-%s-%lu-%ld", tmp, tag.c_str(), GetCurrentProcessId(),
                 InterlockedIncrement(&counter));
        if (CreateDirectoryA(name, nullptr)) return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
    }
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return -1;
    return ((long long)d.nFileSizeHigh << 32) | d.nFileSizeLow;
}

bool WaitForFile(const std::string& path, DWORD timeoutMs, long long minSize)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (FileSize(path) >= minSize) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

Process::~Process()
{
    if (pi_.hProcess) {
        if (Running()) Kill();
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
}

bool Process::Start(const std::string& exe, const std::string& args, const std::string& workDir)
{
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    return CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                          workDir.empty() ? nullptr : workDir.c_str(), &si, &pi_) != FALSE;
}

long Process::Wait(DWORD timeoutMs)
{
    if (!pi_.hProcess || WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return (long)code;
}

bool Process::Running() const
{
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

void Process::Kill()
{
    TerminateProcess(pi_.hProcess, 255);
    WaitForSingleObject(pi_.hProcess, 5000);
}

namespace {

struct FindCtx {
    DWORD pid;
    std::vector<HWND>* out;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp)
{
    auto* ctx = reinterpret_cast<FindCtx*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == ctx->pid) ctx->out->push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> WindowsOfProcess(DWORD pid)
{
    std::vector<HWND> out;
    FindCtx ctx{pid, &out};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&ctx));
    return out;
}

HWND WaitForWindow(const char* cls, const char* title, DWORD timeoutMs, DWORD pid)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND h = nullptr;
        while ((h = FindWindowExA(nullptr, h, cls, title)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (!pid || owner == pid) return h;
        }
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(20);
    }
}

std::string UnixPath(const std::string& windowsPath)
{
    using Fn = char*(CDECL*)(LPCWSTR);
    static Fn fn = reinterpret_cast<Fn>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!fn) return std::string();
    int n = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, &w[0], n);
    char* unix = fn(w.c_str());
    if (!unix) return std::string();
    std::string r = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return r;
}

std::string ShellQuote(const std::string& s)
{
    std::string r = "'";
    for (char c : s) {
        if (c == '\'')
            r += "'\\''";
        else
            r += c;
    }
    return r + "'";
}

std::string WineLocaleVariables()
{
    // The harness runs every test in a Chinese locale; a test process
    // started some other way keeps its own.
    auto value = [](const char* name) {
        const char* v = getenv(name);
        return std::string(v && *v ? v : "zh_CN.UTF-8");
    };
    return "LANG=" + ShellQuote(value("LANG")) + " LC_ALL=" + ShellQuote(value("LC_ALL"));
}

namespace {

// Writes the wrapper script and starts it; returns the job folder.
std::string LaunchLinux(const std::string& shellCommand)
{
    std::string dir = MakeTempDir("linux");
    std::string udir = UnixPath(dir);
    // The program's code page is GBK; Linux tools must print plain ASCII.
    std::string script = "export LC_ALL=C LANG=C\n(" + shellCommand + "\n) >" +
                         ShellQuote(udir + "/out") + " 2>" + ShellQuote(udir + "/err") +
                         " </dev/null\necho $? >" + ShellQuote(udir + "/rc.tmp") + "\nmv " +
                         ShellQuote(udir + "/rc.tmp") + " " + ShellQuote(udir + "/rc") + "\n";
    WriteFile(dir + "\\job.sh", script);
    std::string cmd = "/bin/sh " + udir + "/job.sh";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    return dir;
}

}  // namespace

LinuxResult RunLinux(const std::string& shellCommand, DWORD timeoutMs)
{
    std::string dir = LaunchLinux(shellCommand);
    LinuxResult r;
    if (!WaitForFile(dir + "\\rc", timeoutMs)) return r;
    r.exitCode = atoi(ReadFile(dir + "\\rc").c_str());
    r.out = ReadFile(dir + "\\out");
    r.err = ReadFile(dir + "\\err");
    return r;
}

void StartLinux(const std::string& shellCommand)
{
    LaunchLinux(shellCommand);
}

std::map<std::string, std::string> Probe(const std::string& windowsPath, const std::string& stream,
                                         const std::string& entries, bool countFrames)
{
    std::string cmd = "ffprobe -v error";
    if (countFrames) cmd += " -count_frames";
    if (!stream.empty())
        cmd += " -select_streams " + stream + " -show_entries stream=" + entries;
    else
        cmd += " -show_entries format=" + entries;
    cmd += " -of default=noprint_wrappers=1 " + ShellQuote(UnixPath(windowsPath));
    LinuxResult r = RunLinux(cmd, 120000);
    std::map<std::string, std::string> fields;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return fields;
}

DecodedImage DecodeImage(const std::string& windowsPath)
{
    DecodedImage image;
    auto size = Probe(windowsPath, "v:0", "width,height");
    int w = atoi(size["width"].c_str()), h = atoi(size["height"].c_str());
    if (w <= 0 || h <= 0)
        return image;
    std::string raw = MakeTempDir("decode") + "\\pixels.rgb";
    LinuxResult r = RunLinux("ffmpeg -nostdin -v error -i " + ShellQuote(UnixPath(windowsPath)) +
                                 " -f rawvideo -pix_fmt rgb24 -y " + ShellQuote(UnixPath(raw)),
                             120000);
    std::string bytes = ReadFile(raw);
    if (r.exitCode != 0 || bytes.size() != (size_t)w * h * 3)
        return image;
    image.width = w;
    image.height = h;
    image.rgb.resize((size_t)w * h);
    for (size_t i = 0; i < image.rgb.size(); ++i) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(&bytes[i * 3]);
        image.rgb[i] = (p[0] << 16) | (p[1] << 8) | p[2];
    }
    return image;
}

void PlayTone(int frequencyHz, double seconds)
{
    char cmd[256];
    snprintf(cmd, sizeof cmd,
             "ffmpeg -nostdin -v error -re -f lavfi -i sine=frequency=%d:duration=%.2f "
             "-ac 2 -ar 44100 -f pulse -device nullsink orbisk-tone",
             frequencyHz, seconds);
    StartLinux(cmd);
}

DecodedImage VideoFrame(const std::string& video, double seconds)
{
    std::string png = MakeTempDir("frame") + "\\frame.png";
    char at[32];
    snprintf(at, sizeof at, "%.2f", seconds);
    RunLinux("ffmpeg -nostdin -v error -ss " + std::string(at) + " -i " +
             ShellQuote(UnixPath(video)) + " -frames:v 1 -y " + ShellQuote(UnixPath(png)));
    return DecodeImage(png);
}

}  // namespace testkit

namespace testkit {

bool AnswerNextDialog(HWND mainWindow, const std::string& kind, bool ok, const std::string& path,
                      COLORREF color, const LOGFONTA* font)
{
    std::string payload;
    PutDialogAnswerField(payload, "kind", kind);
    PutDialogAnswerField(payload, "ok", ok ? "1" : "0");
    PutDialogAnswerField(payload, "color", std::to_string(color));
    PutDialogAnswerField(payload, "path", path);
    if (font) {
        PutDialogAnswerField(payload, "face", font->lfFaceName);
        PutDialogAnswerField(payload, "height", std::to_string(font->lfHeight));
        PutDialogAnswerField(payload, "weight", std::to_string(font->lfWeight));
        PutDialogAnswerField(payload, "italic", font->lfItalic ? "1" : "0");
    }
    COPYDATASTRUCT cds = {};
    cds.dwData = kDialogAnswerTag;
    cds.cbData = (DWORD)payload.size();
    cds.lpData = &payload[0];
    DWORD_PTR taken = 0;
    return SendMessageTimeoutA(mainWindow, WM_COPYDATA, 0, (LPARAM)&cds, SMTO_NORMAL, 5000,
                               &taken) &&
           taken;
}

}  // namespace testkit
