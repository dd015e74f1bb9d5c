// The video list over a save folder of 2,000 files (1,000 AVIs made by
// Linux's ffmpeg, 1,000 PNGs): the scan (first, and again with the headers
// already read), the watcher's full look at the folder, the time until the
// real program's list shows every row, and the program's CPU while it sits
// idle with the list open (the watcher) and hidden. Wine does not report
// another process's CPU time, so that is read from Linux (/proc).
//   video_list_bench [files of each kind]
#include "BenchClock.h"
#include "TestKit.h"
#include "UiProbe.h"
#include "library/AviFileList.h"
#include "library/VideoListTexts.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string ConfigPath()
{
    char appdata[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appdata);
    return std::string(appdata) + "\\vintra_cfg.xml";
}

// CPU time of another Wine process, from Linux (Wine does not report it):
// the process whose command line holds the path, found with ps.
double LinuxCpuMs(const std::string& exePath)
{
    testkit::LinuxResult r = testkit::RunLinux("ps -eo pid,args", 10000);
    std::string lowerPath = exePath;
    for (char& c : lowerPath) c = (char)tolower((unsigned char)c);
    size_t start = 0;
    while (start < r.out.size()) {
        size_t end = r.out.find('\n', start);
        std::string line = r.out.substr(start, end - start);
        start = end == std::string::npos ? r.out.size() : end + 1;
        std::string lower = line;
        for (char& c : lower) c = (char)tolower((unsigned char)c);
        if (lower.find(lowerPath) == std::string::npos) continue;
        const int pid = atoi(line.c_str());
        testkit::LinuxResult stat = testkit::RunLinux("cat /proc/" + std::to_string(pid) + "/stat", 10000);
        // Fields 14 and 15 (user and system time in ticks) follow the ")" of the name.
        size_t close = stat.out.rfind(')');
        if (close == std::string::npos) return -1;
        unsigned long long v[13] = {};
        const char* p = stat.out.c_str() + close + 2;
        for (int i = 0; i < 13 && *p; ++i) v[i] = strtoull(p, const_cast<char**>(&p), 10), ++p;
        // After the name: state(0) ppid(1) ... utime is the 12th, stime the 13th.
        return (double)(v[11] + v[12]) * 10.0;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    const int each = argc > 1 ? atoi(argv[1]) : 1000;
    const std::string folder = testkit::MakeTempDir("listbench");
    const std::string u = testkit::UnixPath(folder);
    // One of each kind made by ffmpeg, copied: 2 s of 320x240 at 25 frames.
    testkit::LinuxResult made = testkit::RunLinux(
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=320x240:rate=25 -t 2 -c:v mjpeg "
        "-q:v 10 " + testkit::ShellQuote(u + "/v.avi") +
            " && ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=320x240 -frames:v 1 " +
            testkit::ShellQuote(u + "/p.png"),
        120000);
    if (made.exitCode != 0) {
        printf("ffmpeg failed: %s\n", made.err.c_str());
        return 1;
    }
    for (int i = 0; i < each; ++i) {
        char name[64];
        snprintf(name, sizeof name, "\\rec_%04d.avi", i);
        CopyFileA((folder + "\\v.avi").c_str(), (folder + name).c_str(), FALSE);
        snprintf(name, sizeof name, "\\shot_%04d.png", i);
        CopyFileA((folder + "\\p.png").c_str(), (folder + name).c_str(), FALSE);
    }
    DeleteFileA((folder + "\\v.avi").c_str());
    DeleteFileA((folder + "\\p.png").c_str());
    const int files = 2 * each;
    printf("save folder: %d files (%d AVIs, %d PNGs)\n", files, each, each);

    double t = NowMs();
    ScanVideoFolder(folder);
    printf("scan, first:                 %8.1f ms (%u records)\n", NowMs() - t,
           (unsigned)g_aviFileList.Count());
    t = NowMs();
    ScanVideoFolder(folder);
    printf("scan, headers already read:  %8.1f ms\n", NowMs() - t);
    t = NowMs();
    for (int i = 0; i < 10; ++i) ReadFolderState(folder);
    printf("the watcher's look:          %8.1f ms\n", (NowMs() - t) / 10);
    {
        std::vector<AviFileItem> items = g_aviFileList.Items();
        t = NowMs();
        size_t n = 0;
        for (const AviFileItem& i : items) n += MakeRowTexts(i).date.size();
        printf("row texts of every record:   %8.1f ms (%u)\n", NowMs() - t, (unsigned)n);
    }
    ClearAviFileList();

    // The real program: start, open the list, wait for every row.
    const std::string config = ConfigPath(), kept = config + ".bench";
    const bool hadConfig = MoveFileExA(config.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING);
    testkit::WriteFile(config, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vintracfg>\n"
                               "<videoSavePath path=\"" + folder + "\" />\n</vintracfg>\n");
    int status = 0;
    const std::string exe = testkit::ProgramDir() + "\\Orbisk.exe";
    // Opened the moment the main window shows (the start-up load still
    // reading the folder), then once that load has long ended.
    for (DWORD wait : {0u, 3000u}) {
        testkit::Process program;
        if (!program.Start(exe, "", folder)) {
            printf("the program did not start\n");
            status = 1;
            break;
        }
        testkit::UiProbe probe;
        HWND main = testkit::WaitForWindow("VintraCamMainFrameClsName", "Orbisk", 30000, program.Id());
        probe.WaitFor(main, "video_file_btn", [](const testkit::UiControl& c) { return c.shown; });
        Sleep(wait);
        t = NowMs();
        probe.Click(main, "video_file_btn");
        HWND list = testkit::WaitForWindow("AviListWnd", nullptr, 10000, program.Id());
        // Asked seldom: every answer lists every row, on the program's UI thread.
        int shown = 0;
        while (shown != files && NowMs() - t < 60000) {
            Sleep(100);
            shown = atoi(probe.Query(list, "playlist").fields["count"].c_str());
        }
        printf("list shows every row after:  %8.1f ms (%d rows; opened %s)\n", NowMs() - t, shown,
               wait ? "3 s after start" : "at start");
        if (wait) {
            Sleep(2000);
            const double cpu0 = LinuxCpuMs(exe), w0 = NowMs();
            Sleep(20000);
            printf("program idle, list open:     %8.2f %% of a core\n",
                   (LinuxCpuMs(exe) - cpu0) * 100.0 / (NowMs() - w0));
            ShowWindow(list, SW_HIDE);
            Sleep(1000);
            const double cpu1 = LinuxCpuMs(exe), w1 = NowMs();
            Sleep(20000);
            printf("program idle, list hidden:   %8.2f %% of a core\n",
                   (LinuxCpuMs(exe) - cpu1) * 100.0 / (NowMs() - w1));
        }
        PostMessageA(main, 0x42C, 0, 0);
        if (program.Wait(20000) == -1) program.Kill();
    }
    DeleteFileA(config.c_str());
    if (hadConfig) MoveFileExA(kept.c_str(), config.c_str(), MOVEFILE_REPLACE_EXISTING);
    return status;
}
