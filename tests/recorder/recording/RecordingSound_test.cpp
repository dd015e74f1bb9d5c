// Recordings whose sound cannot be captured still give a video.
#include <gtest/gtest.h>

#include "RecordingTestKit.h"
#include "TestKit.h"

#include <string>

namespace {

struct ProbeRun {
    long exitCode = -1;
    std::string output;
};

// record_probe with its output on a pipe; extraEnv is added to our own
// environment ("NAME=value").
ProbeRun RunProbe(const std::string& args, const char* extraEnv = nullptr)
{
    ProbeRun run;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 1 << 16))
        return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::string env;
    if (extraEnv) {
        char* block = GetEnvironmentStringsA();
        for (const char* p = block; *p; p += strlen(p) + 1)
            env.append(p).push_back('\0');
        FreeEnvironmentStringsA(block);
        env.append(extraEnv).push_back('\0');
        env.push_back('\0');
    }
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    std::string exe = testkit::TestBinDir() + "\\record_probe.exe";
    std::string cmd = "\"" + exe + "\" " + args;
    PROCESS_INFORMATION pi = {};
    BOOL ok = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, TRUE, 0,
                             extraEnv ? &env[0] : nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (ok) {
        char buf[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got)
            run.output.append(buf, got);
        WaitForSingleObject(pi.hProcess, 120000);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        run.exitCode = (long)code;
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(readEnd);
    return run;
}

std::string SavedPath(const std::string& output)
{
    size_t at = output.find("SAVED ");
    if (at == std::string::npos)
        return std::string();
    size_t end = output.find_first_of("\r\n", at);
    return output.substr(at + 6, end - at - 6);
}

TEST(RecordingSound, SystemSoundThatCannotBeCapturedIsReportedAndTheVideoSaved)
{
    ProbeRun r = RunProbe("3 1 0");
    ASSERT_EQ(0, r.exitCode) << r.output;
    EXPECT_NE(std::string::npos, r.output.find("Faild to")) << r.output;
    std::string saved = SavedPath(r.output);
    ASSERT_FALSE(saved.empty()) << r.output;
    rectest::VideoFacts v = rectest::ProbeVideo(saved);
    EXPECT_EQ("h264", v.codec);
    EXPECT_NEAR(3.0, v.duration, 0.3);
}

TEST(RecordingSound, WithoutASoundServerBothSourcesOnStillSaveTheVideo)
{
    ProbeRun r = RunProbe("3 1 1", "PULSE_SERVER=unix:/nonexistent/orbisk-no-sound");
    ASSERT_EQ(0, r.exitCode) << r.output;
    std::string saved = SavedPath(r.output);
    ASSERT_FALSE(saved.empty()) << r.output;
    EXPECT_NEAR(3.0, rectest::ProbeVideo(saved).duration, 0.3);
}

}  // namespace
