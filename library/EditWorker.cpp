#include "library/EditWorker.h"

#include "core/ConcatList.h"
#include "core/FileHelpers.h"
#include "library/AviFileList.h"

#include <objbase.h>
#include <vfw.h>

#include <cmath>
#include <cstdio>
#include <thread>

namespace {

const DWORD kPollMs = 50;
const char kFailed[] = "视频剪辑失败，视频没有改变。";

// How far the result may be off the whole seconds the converter was given:
// a stream copy starts at a key frame, and the program's recordings have
// one every two seconds.
bool LengthMatches(double actual, double expected)
{
    return actual > 0 && std::fabs(actual - expected) <= 2500 + expected * 0.05;
}

}  // namespace

EditWorker::EditWorker(HWND window, UINT progressMessage, UINT doneMessage,
                       const std::string& programFolder)
    : m_window(window),
      m_progressMessage(progressMessage),
      m_doneMessage(doneMessage),
      m_programFolder(programFolder),
      m_cancel(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
}

EditWorker::~EditWorker()
{
    Cancel();
    Wait(INFINITE);
}

bool EditWorker::Start(const EditPlan& plan)
{
    if (m_running) return false;
    Wait(INFINITE);
    m_plan = plan;
    ResetEvent(m_cancel.Get());
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_outcome = EditOutcome();
    }
    m_running = true;
    m_thread.Reset(CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr));
    if (!m_thread) m_running = false;
    return (bool)m_thread;
}

void EditWorker::Cancel()
{
    SetEvent(m_cancel.Get());
}

bool EditWorker::Wait(DWORD timeoutMs)
{
    return !m_thread || WaitForSingleObject(m_thread.Get(), timeoutMs) == WAIT_OBJECT_0;
}

EditOutcome EditWorker::Outcome() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_outcome;
}

EditOutcome EditWorker::TakeOutcome()
{
    std::lock_guard<std::mutex> lock(m_lock);
    EditOutcome taken = m_outcome;
    m_outcome.fresh = false;
    return taken;
}

void EditWorker::ProgressTexts(std::string* bitrate, std::string* percent) const
{
    std::shared_ptr<EncoderProcess> current;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        current = m_current;
    }
    *bitrate = current ? current->bitrateText() : std::string();
    *percent = current ? current->percentText() : std::string();
}

DWORD WINAPI EditWorker::ThreadProc(void* self)
{
    auto* worker = static_cast<EditWorker*>(self);
    // The length check opens the result through Video for Windows (COM).
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EditOutcome outcome = worker->Run();
    if (SUCCEEDED(com)) CoUninitialize();
    {
        std::lock_guard<std::mutex> lock(worker->m_lock);
        worker->m_outcome = outcome;
        worker->m_outcome.fresh = true;
        worker->m_current.reset();
    }
    worker->m_running = false;
    PostMessageA(worker->m_window, worker->m_doneMessage, 0, 0);
    return 0;
}

bool EditWorker::RunOne(const EditRun& run)
{
    auto process = std::make_shared<EncoderProcess>(run.arguments, m_programFolder);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_current = process;
    }
    if (!process->Start()) return false;
    while (!process->Wait(kPollMs)) {
        if (WaitForSingleObject(m_cancel.Get(), 0) == WAIT_OBJECT_0) process->Cancel();
        if (run.stage > 0) PostMessageA(m_window, m_progressMessage, run.stage, 0);
    }
    return process->result().Succeeded();
}

EditOutcome EditWorker::Run()
{
    EditOutcome outcome;
    CreateDirectoryA(m_plan.output.substr(0, m_plan.output.find_last_of('\\')).c_str(), nullptr);
    bool ok = m_plan.output != m_plan.input;
    for (const EditRun& run : m_plan.runs) {
        if (!ok) break;
        if (run.stage == 3 && !m_plan.joinListPath.empty())
            ok = WriteJoinList(m_plan.joinListPath, m_plan.joinList);
        ok = ok && RunOne(run);
        if (WaitForSingleObject(m_cancel.Get(), 0) == WAIT_OBJECT_0) {
            outcome.cancelled = true;
            ok = false;
        }
    }
    for (const std::string& part : m_plan.parts) DeleteFileA(part.c_str());
    if (!m_plan.joinListPath.empty()) DeleteFileA(m_plan.joinListPath.c_str());
    if (ok) {
        outcome.lengthMs = ReadAviVideoLengthMs(m_plan.output);
        ok = LengthMatches(outcome.lengthMs, m_plan.expectedMs);
    }
    if (ok) {
        outcome.ok = true;
        outcome.output = m_plan.output;
    } else {
        if (m_plan.output != m_plan.input) DeleteFileA(m_plan.output.c_str());
        if (!outcome.cancelled) outcome.error = kFailed;
    }
    return outcome;
}

double ReadAviVideoLengthMs(const std::string& path)
{
    double ms = 0;
    AVIFileInit();
    PAVIFILE file = nullptr;
    if (AVIFileOpenA(&file, path.c_str(), OF_READ | OF_SHARE_DENY_NONE, nullptr) == 0 && file) {
        PAVISTREAM stream = nullptr;
        if (AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == 0 && stream) {
            AVISTREAMINFOA info = {};
            if (AVIStreamInfoA(stream, &info, sizeof info) == 0)
                ms = (double)AviDurationMs(info.dwLength, info.dwScale, info.dwRate);
            AVIStreamRelease(stream);
        }
        AVIFileRelease(file);
    }
    AVIFileExit();
    return ms;
}

int CleanupEditWorkFolders(const std::string& root)
{
    int removed = 0;
    // The root itself must be what the editor makes, not some other folder
    // a caller derived.
    const size_t slash = root.find_last_of('\\');
    if (slash == std::string::npos || root.substr(slash + 1) != "VintraCamTemp") return 0;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((root + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return 0;
    std::vector<std::string> folders;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        folders.push_back(root + "\\" + name);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    for (const std::string& folder : folders) {
        if (!IsInsideEditTempRoot(folder, root)) continue;
        // A link is removed, never followed (DeleteFolderTree's rule).
        if (DeleteFolderTree(folder.c_str())) ++removed;
    }
    return removed;
}

namespace {

std::mutex g_cleanupLock;
std::thread g_cleanup;

}  // namespace

void StartEditCleanup()
{
    char temp[MAX_PATH + 1] = {};
    if (!GetTempPathA(sizeof temp, temp)) return;
    const std::string root = EditTempRoot(temp);
    std::lock_guard<std::mutex> lock(g_cleanupLock);
    if (g_cleanup.joinable()) g_cleanup.join();
    g_cleanup = std::thread([root] { CleanupEditWorkFolders(root); });
}

void WaitForEditCleanup()
{
    std::lock_guard<std::mutex> lock(g_cleanupLock);
    if (g_cleanup.joinable()) g_cleanup.join();
}
