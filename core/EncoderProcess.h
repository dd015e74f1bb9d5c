// Runs the converter "vintx.exe" (ffmpeg) from the program folder as a
// hidden child process. EncoderProcess is one asynchronous run with its
// output on a pipe, parsed into progress texts while it runs, and a cancel
// event; RunEncoderProcessSync runs a command line and blocks until the
// converter ends.
//
// The command line holds the converter's arguments only (" -i "a.avi" ...");
// the program path is put in front of it.
#pragma once

#include "core/EncoderProgress.h"
#include "core/ProgramFolder.h"
#include "core/UniqueHandle.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>

enum EncoderStatus : int {
    kEncoderRunning = -1,     // not ended yet
    kEncoderEnded = 0,        // the converter ended by itself: see its exit code
    kEncoderCancelled = 1,    // cancelled and terminated
    kEncoderWaitFailed = 2,   // waiting for it failed; it was terminated
    kEncoderStartFailed = 3,  // it could not be started (missing "vintx.exe")
};

struct EncoderResult {
    int status = kEncoderRunning;
    // The converter's exit code; meaningful when it ran (ended or cancelled).
    DWORD exitCode = 0;

    // Ended by itself with exit code 0: the output is complete.
    bool Succeeded() const { return status == kEncoderEnded && exitCode == 0; }
};

// Exit code given to a converter that is cancelled.
const DWORD kEncoderCancelledExitCode = 1;

class EncoderProcess {
public:
    // programFolder holds "vintx.exe"; by default the running program's.
    explicit EncoderProcess(const std::string& commandLine,
                            const std::string& programFolder = GetProgramFolder());
    // Cancels a run that is still going and waits for it to end.
    ~EncoderProcess();
    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;

    // Starts the run thread; false when it cannot start or has run before.
    bool Start();
    // Signals cancelEvent(); the run thread terminates the converter.
    void Cancel();
    HANDLE cancelEvent() const { return cancelEvent_.Get(); }
    // The run thread, for callers that poll GetExitCodeThread; null before
    // Start. It ends after the status, exit code and texts are final.
    HANDLE thread() const { return thread_.Get(); }
    // Waits for the run thread; true when it has ended.
    bool Wait(DWORD timeoutMs) const;
    bool finished() const { return finished_; }

    int status() const { return status_; }
    DWORD exitCode() const { return exitCode_; }
    EncoderResult result() const { return EncoderResult{status_, exitCode_}; }
    // The converter's process id once it started, else 0.
    DWORD processId() const { return processId_; }

    // Progress texts (copies; empty again once the run has ended).
    std::string durationText() const;
    std::string timeText() const;
    std::string bitrateText() const;
    std::string percentText() const;
    // The converter's last message line (see EncoderProgressParser); kept
    // after the run has ended, for telling why it failed.
    std::string lastMessageLine() const;

    const std::string& commandLine() const { return commandLine_; }
    const std::string& programPath() const { return programPath_; }

#ifdef ORBISK_TEST_HOOKS
    // Makes the output pipe of the next runs fail to be created.
    static void SetPipeFailureForTest(bool fail);
#endif

private:
    static DWORD WINAPI RunThread(void* self);
    static DWORD WINAPI ReaderThread(void* self);
    void Run();
    void ReadOutput();
    void End(int status, DWORD exitCode);

    const std::string commandLine_;
    const std::string programPath_;
    orbisk::UniqueHandle cancelEvent_;
    orbisk::UniqueHandle thread_;
    HANDLE readPipe_ = nullptr;  // owned by Run()
    std::atomic<bool> started_{false};
    std::atomic<bool> processEnded_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> status_{kEncoderRunning};
    std::atomic<DWORD> exitCode_{0};
    std::atomic<DWORD> processId_{0};

    mutable std::mutex textLock_;
    EncoderProgressParser progress_;
    std::string lastMessage_;
};

// Runs the converter without capturing its output and returns when it has
// ended. Runs may overlap: there is no shared state.
EncoderResult RunEncoderProcessSync(const std::string& commandLine,
                                    const std::string& programFolder = GetProgramFolder());
