// Runs one step of the video editor (library/EditPlan.h) on a thread of
// its own: the converter's runs one after the other, the middle cut's join
// list written before its last run, and then the check that makes a step
// count: every run ended with exit code 0 and the output is an AVI whose
// video has the length the plan expects. Only then is the step a success;
// otherwise its output is deleted and the outcome says why.
//
// The worker tells its window by posted messages (progress: the stage in
// wParam, for the middle cut's runs; done: once the outcome is final) and
// never touches the window otherwise. Destroying the worker cancels a run
// still going and waits for the thread.
#pragma once

#include "core/EncoderProcess.h"
#include "core/UniqueHandle.h"
#include "library/EditPlan.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

struct EditOutcome {
    bool ok = false;
    bool cancelled = false;
    std::string output;  // the step's file when ok
    std::string error;   // the program's text for the user when not ok
    double lengthMs = 0;  // the output's video length when it could be read
    bool fresh = false;   // not taken yet (TakeOutcome)
};

class EditWorker {
public:
    EditWorker(HWND window, UINT progressMessage, UINT doneMessage,
               const std::string& programFolder = GetProgramFolder());
    ~EditWorker();
    EditWorker(const EditWorker&) = delete;
    EditWorker& operator=(const EditWorker&) = delete;

    // False when a step is already running or the thread cannot start.
    bool Start(const EditPlan& plan);
    bool Running() const { return m_running; }
    void Cancel();
    // Waits for the thread; true when it has ended.
    bool Wait(DWORD timeoutMs);

    // The outcome of the last step (final once the done message is posted).
    EditOutcome Outcome() const;
    // The same, once: a second call (a second done message) finds it taken.
    EditOutcome TakeOutcome();
    // The running converter's progress texts.
    void ProgressTexts(std::string* bitrate, std::string* percent) const;

private:
    static DWORD WINAPI ThreadProc(void* self);
    EditOutcome Run();
    bool RunOne(const EditRun& run);

    HWND m_window;
    UINT m_progressMessage;
    UINT m_doneMessage;
    std::string m_programFolder;
    EditPlan m_plan;
    orbisk::UniqueHandle m_thread;
    orbisk::UniqueHandle m_cancel;
    std::atomic<bool> m_running{false};
    mutable std::mutex m_lock;
    EditOutcome m_outcome;
    std::shared_ptr<EncoderProcess> m_current;
};

// The length of the first video stream of an AVI in ms; 0 when the file
// has none or cannot be read.
double ReadAviVideoLengthMs(const std::string& path);

// Removes every working folder below "%TEMP%\VintraCamTemp" (root as
// EditTempRoot gives it for the temporary folder); nothing outside the
// root is touched, whatever a folder's name. Returns how many folders went.
int CleanupEditWorkFolders(const std::string& root);
// The same for this process's temporary folder, on a thread of its own.
void StartEditCleanup();
// Waits for a clean-up that is still running (at the end of the program).
void WaitForEditCleanup();
