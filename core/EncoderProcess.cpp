#include "core/EncoderProcess.h"

#include "core/SystemMessageBox.h"

namespace {

const DWORD kPipeSize = 0x100000;  // the converter never blocks on a full pipe
const DWORD kChunkSize = 8191;
const DWORD kReaderIdleMs = 20;

#ifdef ORBISK_TEST_HOOKS
std::atomic<bool> g_failPipeForTest{false};
#endif

std::string ConverterPath(const std::string& folder)
{
    return folder + "\\vintx.exe";
}

// The converter's own path first, so that its arguments start at argv[1]
// however the caller's line begins.
std::string FullCommandLine(const std::string& program, const std::string& args)
{
    return "\"" + program + "\" " + args;
}

}  // namespace

EncoderProcess::EncoderProcess(const std::string& commandLine, const std::string& programFolder)
    : commandLine_(commandLine),
      programPath_(ConverterPath(programFolder)),
      cancelEvent_(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
}

EncoderProcess::~EncoderProcess()
{
    if (thread_ && !Wait(0)) {
        Cancel();
        Wait(INFINITE);
    }
}

bool EncoderProcess::Start()
{
    if (started_.exchange(true)) return false;
    finished_ = false;
    thread_.Reset(CreateThread(nullptr, 0, RunThread, this, 0, nullptr));
    if (!thread_) {
        End(kEncoderStartFailed, 0);
        return false;
    }
    return true;
}

void EncoderProcess::Cancel()
{
    SetEvent(cancelEvent_.Get());
}

bool EncoderProcess::Wait(DWORD timeoutMs) const
{
    return thread_ && WaitForSingleObject(thread_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

std::string EncoderProcess::durationText() const
{
    std::lock_guard<std::mutex> lock(textLock_);
    return progress_.durationText();
}

std::string EncoderProcess::timeText() const
{
    std::lock_guard<std::mutex> lock(textLock_);
    return progress_.timeText();
}

std::string EncoderProcess::bitrateText() const
{
    std::lock_guard<std::mutex> lock(textLock_);
    return progress_.bitrateText();
}

std::string EncoderProcess::percentText() const
{
    std::lock_guard<std::mutex> lock(textLock_);
    return progress_.percentText();
}

std::string EncoderProcess::lastMessageLine() const
{
    std::lock_guard<std::mutex> lock(textLock_);
    return lastMessage_.empty() ? progress_.lastMessageLine() : lastMessage_;
}

#ifdef ORBISK_TEST_HOOKS
void EncoderProcess::SetPipeFailureForTest(bool fail)
{
    g_failPipeForTest = fail;
}
#endif

DWORD WINAPI EncoderProcess::RunThread(void* self)
{
    static_cast<EncoderProcess*>(self)->Run();
    return 0;
}

DWORD WINAPI EncoderProcess::ReaderThread(void* self)
{
    static_cast<EncoderProcess*>(self)->ReadOutput();
    return 0;
}

void EncoderProcess::End(int status, DWORD exitCode)
{
    {
        std::lock_guard<std::mutex> lock(textLock_);
        lastMessage_ = progress_.lastMessageLine();
        progress_.Clear();
    }
    exitCode_ = exitCode;
    status_ = status;
    finished_ = true;
}

void EncoderProcess::Run()
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readRaw = nullptr, writeRaw = nullptr;
    bool capture = CreatePipe(&readRaw, &writeRaw, &inherit, kPipeSize) != FALSE;
#ifdef ORBISK_TEST_HOOKS
    if (capture && g_failPipeForTest) {
        CloseHandle(readRaw);
        CloseHandle(writeRaw);
        capture = false;
    }
#endif
    orbisk::UniqueHandle readEnd(capture ? readRaw : nullptr);
    orbisk::UniqueHandle writeEnd(capture ? writeRaw : nullptr);
    orbisk::UniqueHandle input;
    if (!capture) {
        // The run goes on without progress texts.
        ShowSystemMessageBox(nullptr, "CreatePipe failed", "Warning", MB_OK | MB_ICONEXCLAMATION);
    } else {
        // Only the write end goes to the child; it reads nothing, so its
        // input is the null device rather than one of our pipe ends.
        SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
        input.Reset(CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                OPEN_EXISTING, 0, nullptr));
    }

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    if (capture) {
        si.dwFlags |= STARTF_USESTDHANDLES;
        si.hStdInput = input.Get();
        si.hStdOutput = writeEnd.Get();
        si.hStdError = writeEnd.Get();
    }
    std::string cmd = FullCommandLine(programPath_, commandLine_);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(programPath_.c_str(), &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &si, &pi)) {
        ShowSystemMessageBox(nullptr, "保存失败，重新安装程序可能解决此问题。", "Note",
                             MB_OK | MB_ICONEXCLAMATION);
        End(kEncoderStartFailed, 0);
        return;
    }
    orbisk::UniqueHandle process(pi.hProcess);
    orbisk::UniqueHandle childThread(pi.hThread);
    processId_ = pi.dwProcessId;

    // With our copy of the write end closed, the pipe breaks as soon as the
    // converter has ended and its last output has been read.
    if (capture && !CloseHandle(writeEnd.Release()))
        ShowSystemMessageBox(nullptr, "Failed to close the write stdout pipe", "Warning",
                             MB_OK | MB_ICONEXCLAMATION);
    input.Reset();
    orbisk::UniqueHandle reader;
    if (capture) {
        readPipe_ = readEnd.Get();
        reader.Reset(CreateThread(nullptr, 0, ReaderThread, this, 0, nullptr));
        // Nobody would empty the pipe: closing it makes the converter's
        // writes fail instead of blocking once it is full.
        if (!reader) readEnd.Reset();
    }

    const HANDLE waits[2] = {cancelEvent_.Get(), process.Get()};
    int status = kEncoderEnded;
    switch (WaitForMultipleObjects(2, waits, FALSE, INFINITE)) {
        case WAIT_OBJECT_0 + 1:
            break;
        case WAIT_OBJECT_0:
            status = kEncoderCancelled;
            TerminateProcess(process.Get(), kEncoderCancelledExitCode);
            WaitForSingleObject(process.Get(), INFINITE);
            break;
        default:
            status = kEncoderWaitFailed;
            TerminateProcess(process.Get(), kEncoderCancelledExitCode);
            WaitForSingleObject(process.Get(), 5000);
            break;
    }
    processEnded_ = true;
    if (reader) WaitForSingleObject(reader.Get(), INFINITE);
    DWORD code = 0;
    if (!GetExitCodeProcess(process.Get(), &code)) code = 0;
    End(status, code);
}

void EncoderProcess::ReadOutput()
{
    char chunk[kChunkSize];
    for (;;) {
        DWORD available = 0;
        // Fails once the converter has ended and everything was read.
        if (!PeekNamedPipe(readPipe_, nullptr, 0, nullptr, &available, nullptr)) break;
        if (available == 0) {
            // Something the converter started may still hold the pipe open;
            // its output is not the converter's progress.
            if (processEnded_) break;
            Sleep(kReaderIdleMs);
            continue;
        }
        DWORD got = 0;
        if (!ReadFile(readPipe_, chunk, available < kChunkSize ? available : kChunkSize, &got,
                      nullptr) ||
            got == 0)
            break;
        std::lock_guard<std::mutex> lock(textLock_);
        progress_.Feed(chunk, got);
    }
    std::lock_guard<std::mutex> lock(textLock_);
    progress_.Finish();
}

EncoderResult RunEncoderProcessSync(const std::string& commandLine,
                                    const std::string& programFolder)
{
    const std::string program = ConverterPath(programFolder);
    // Standard handles given but null: the output goes nowhere. Nothing is
    // inherited, so this converter cannot keep another run's pipe open.
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    std::string cmd = FullCommandLine(program, commandLine);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(program.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return EncoderResult{kEncoderStartFailed, 0};
    orbisk::UniqueHandle process(pi.hProcess);
    orbisk::UniqueHandle childThread(pi.hThread);
    EncoderResult result;
    if (WaitForSingleObject(process.Get(), INFINITE) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), kEncoderCancelledExitCode);
        result.status = kEncoderWaitFailed;
    } else {
        result.status = kEncoderEnded;
    }
    GetExitCodeProcess(process.Get(), &result.exitCode);
    return result;
}
