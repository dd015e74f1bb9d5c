#include "library/ConvertRun.h"

#include "core/EncoderProcess.h"
#include "library/VideoListThreads.h"

#include <atomic>
#include <memory>
#include <mutex>

std::string g_strFfmpegCmd;

namespace {

const DWORD kPollMs = 500;

std::mutex g_runnerLock;
EncoderProcess* g_pConvertProcess = nullptr;  // under g_runnerLock
bool g_cancelAsked = false;                   // under g_runnerLock
std::atomic<bool> g_running{false};
std::atomic<HWND> g_window{nullptr};  // told of the progress and the end

struct ConvertJob {
    std::string commandLine;
    std::string output;
    std::string programFolder;
};

// The converter has ended, but its file may stay open a moment longer while
// the system tears the process down.
void RemoveOutput(const std::string& path)
{
    for (int i = 0; i < 40; ++i) {
        if (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return;
        Sleep(50);
    }
}

DWORD WINAPI ConvertWorkerThread(LPVOID parameter)
{
    std::unique_ptr<ConvertJob> job(static_cast<ConvertJob*>(parameter));
    const FileStamp before = StampOf(job->output);
    auto* runner = new EncoderProcess(job->commandLine, job->programFolder);
    bool cancel = false;
    {
        std::lock_guard<std::mutex> lock(g_runnerLock);
        g_pConvertProcess = runner;
        cancel = g_cancelAsked;
    }
    if (runner->Start()) {
        if (cancel) runner->Cancel();
        while (!runner->Wait(kPollMs)) {
            // The program is ending: the converter goes with it.
            if (VideoListWorkersStopping()) runner->Cancel();
            HWND window = g_window.load();
            if (IsWindow(window)) SendMessageA(window, WM_CONVERT_PROGRESS, 0, 0);
        }
    }
    {
        // Nobody reaches the runner once it is freed.
        std::lock_guard<std::mutex> lock(g_runnerLock);
        g_pConvertProcess = nullptr;
    }
    const int status = runner->status();
    const DWORD exitCode = runner->exitCode();
    const std::string lastLine = runner->lastMessageLine();
    delete runner;

    ConvertOutcome outcome =
        JudgeConversion(status == kEncoderCancelled, status == kEncoderEnded, exitCode, lastLine,
                        before, StampOf(job->output));
    outcome.output = job->output;
    if (outcome.removeOutput) RemoveOutput(job->output);
    if (outcome.succeeded) RequestVideoListReload();
    HWND window = g_window.load();
    g_running = false;
    if (IsWindow(window)) SendMessageA(window, WM_CONVERT_DONE, 0, (LPARAM)&outcome);
    return 0;
}

}  // namespace

bool StartConversion(HWND window, const std::string& output, const std::string& programFolder)
{
    if (g_running.exchange(true)) return false;
    {
        std::lock_guard<std::mutex> lock(g_runnerLock);
        g_cancelAsked = false;
    }
    g_window = window;
    auto* job = new ConvertJob{g_strFfmpegCmd, output, programFolder};
    if (!StartVideoListWorker(ConvertWorkerThread, job)) {
        delete job;
        g_running = false;
        return false;
    }
    return true;
}

bool ConversionRunning()
{
    return g_running.load();
}

void AttachConversionWindow(HWND window)
{
    g_window = window;
}

void CancelConversion()
{
    std::lock_guard<std::mutex> lock(g_runnerLock);
    g_cancelAsked = true;
    if (g_pConvertProcess) g_pConvertProcess->Cancel();
}

bool CurrentConversionProgress(ConvertProgressTexts* texts)
{
    std::lock_guard<std::mutex> lock(g_runnerLock);
    if (!g_pConvertProcess) return false;
    *texts = MakeConvertProgressTexts(g_pConvertProcess->durationText(),
                                      g_pConvertProcess->timeText(),
                                      g_pConvertProcess->bitrateText(),
                                      g_pConvertProcess->percentText());
    return true;
}
