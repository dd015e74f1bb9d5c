// Recordings whose sound cannot be captured, or stops being captured, still
// give a video as long as the recording.
#include <gtest/gtest.h>

#include "FakeAudioClient.h"
#include "RecordingTestKit.h"
#include "TestKit.h"
#include "recorder/audio/AudioRecording.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordStatus.h"
#include "recorder/recording/RecordingState.h"

#include <algorithm>
#include <cmath>
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

// The seconds the probe's recording counted ("RECORDED <ms>"), -1 if none.
double RecordedSeconds(const std::string& output)
{
    size_t at = output.find("RECORDED ");
    return at == std::string::npos ? -1.0 : atol(output.c_str() + at + 9) / 1000.0;
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
    EXPECT_GE(RecordedSeconds(r.output), 3.0) << r.output;
    EXPECT_NEAR(RecordedSeconds(r.output), v.duration, 0.3);
}

TEST(RecordingSound, WithoutASoundServerBothSourcesOnStillSaveTheVideo)
{
    ProbeRun r = RunProbe("3 1 1", "PULSE_SERVER=unix:/nonexistent/orbisk-no-sound");
    ASSERT_EQ(0, r.exitCode) << r.output;
    std::string saved = SavedPath(r.output);
    ASSERT_FALSE(saved.empty()) << r.output;
    EXPECT_GE(RecordedSeconds(r.output), 3.0) << r.output;
    EXPECT_NEAR(RecordedSeconds(r.output), rectest::ProbeVideo(saved).duration, 0.3);
}

float Tone(UINT64 frame, int)
{
    return 0.3f * (float)sin(2 * 3.14159265358979 * 440.0 * frame / 48000);
}

// A system sound that stops being captured 5 s into a 12 s recording (a
// headset unplugged): the video keeps its length, the time keeps counting.
TEST(RecordingSound, ASystemSoundThatDiesMidwayLeavesTheVideoItsLengthAndTheTimeCounting)
{
    audiotest::FakeAudioClient::Options o;
    o.failAfterMs = 5000;
    audiotest::FakeAudioClient client(o, Tone);
    rectest::Recorder rec(25);
    g_bRecordSpeaker = 1;
    SetLoopbackClientSourceForTests(client.Source());
    StartRecording(false);
    const bool reached = rec.Host().PumpUntil(
        [] { return GetRecordStatusTexts().time == "00:00:12 "; }, 40000);
    const DWORD recorded = g_recordStats.elapsedMs;
    StopRecording();
    ASSERT_TRUE(rec.WaitIdle());
    SetLoopbackClientSourceForTests(nullptr);
    EXPECT_TRUE(reached) << "the status time stood at " << GetRecordStatusTexts().time;
    EXPECT_GE(recorded, 12000u);
    EXPECT_LE(recorded, 12700u);
    std::vector<std::string> files = rec.SavedFiles();
    ASSERT_EQ(1u, files.size());
    // (To its last frame: a stop takes effect at the next grab.)
    EXPECT_NEAR(g_recordStats.elapsedMs / 1000.0, rectest::ProbeVideo(files[0]).duration, 0.3);
    // The sound captured before the device went is in it.
    rectest::SoundFacts sound = rectest::ProbeSound(files[0]);
    EXPECT_NEAR(5.0, sound.duration, 0.4);
    EXPECT_NEAR(440.0, sound.frequency, 15.0);
}

// A capture thread that never returns from the device's start (a driver that
// hangs): the recording goes on without the system sound, a stop ends and
// saves it within the bounds of the waits, and the windows' thread is never
// held up.
TEST(RecordingSound, ACaptureStuckInTheDevicesStartHoldsUpNeitherTheRecordingNorItsStop)
{
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    audiotest::FakeAudioClient::Options o;
    o.startWaitsFor = release;
    // The stuck thread keeps using it, whatever becomes of the recording.
    auto* client = new audiotest::FakeAudioClient(o, Tone);
    rectest::Recorder rec(25);
    g_bRecordSpeaker = 1;
    SetLoopbackClientSourceForTests(client->Source());
    // The windows' (this) thread handles its messages between looks at
    // the recording: the longest time between two looks is how long it was
    // held up.
    DWORD last = GetTickCount(), longestAnswer = 0;
    auto look = [&](bool done) {
        const DWORD now = GetTickCount();
        longestAnswer = std::max(longestAnswer, now - last);
        last = now;
        return done;
    };
    StartRecording(false);
    // The start gives up on the system sound after 3 s; then the picture runs.
    rec.Host().PumpUntil([&] { return look(g_recordStats.elapsedMs.load() >= 1000); }, 20000);
    const DWORD stoppedAt = GetTickCount();
    const DWORD recorded = g_recordStats.elapsedMs;
    StopRecording();
    const bool idle = rec.Host().PumpUntil(
        [&] { return look(GetRecordPhase() == RecordPhase::Idle); }, 20000);
    const DWORD stopTook = GetTickCount() - stoppedAt;
    SetLoopbackClientSourceForTests(nullptr);
    SetEvent(release);
    ASSERT_TRUE(idle) << "the stop never ended the recording";
    // The start gave up on the system sound after 3 s; the stop waits for
    // nothing that hangs.
    EXPECT_LT(stopTook, 3000u);
    // (Held up by the stuck device it would wait for ever: 3 s and more.)
    EXPECT_LT(longestAnswer, 2500u);
    std::vector<std::string> files = rec.SavedFiles();
    ASSERT_EQ(1u, files.size());
    rectest::VideoFacts v = rectest::ProbeVideo(files[0]);
    EXPECT_EQ("h264", v.codec);
    EXPECT_GT(recorded, 0u);
    EXPECT_NEAR(recorded / 1000.0, v.duration, 0.3);
}

}  // namespace
