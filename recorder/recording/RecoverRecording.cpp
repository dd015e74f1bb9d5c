#include "recorder/recording/RecoverRecording.h"

#include "core/AppPaths.h"
#include "core/EncoderProcess.h"
#include "core/ProgramFolder.h"
#include "recorder/recording/AviSegments.h"
#include "recorder/recording/AviWriter.h"
#include "recorder/recording/RecordingEvents.h"
#include "recorder/recording/RecordingHost.h"
#include "recorder/recording/RecordingState.h"

#include <cstdio>

namespace {

long long SizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return -1;
    return ((long long)d.nFileSizeHigh << 32) | d.nFileSizeLow;
}

// Named after the moment the recording began, as it would have been.
std::string StampOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    FILETIME local;
    SYSTEMTIME t;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d) ||
        !FileTimeToLocalFileTime(&d.ftCreationTime, &local) || !FileTimeToSystemTime(&local, &t))
        GetLocalTime(&t);
    return FormatTimeStamp(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

std::string FreeName(const std::string& base, const char* ext)
{
    for (int n = 1;; ++n) {
        std::string path = base + (n > 1 ? "_" + std::to_string(n) : std::string()) + ext;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    }
}

bool Rebuild(const RecoveryJob& job, const std::string& commandLine, const std::string& output)
{
    EncoderProcess run(commandLine,
                       job.programFolder.empty() ? GetProgramFolder() : job.programFolder);
    bool ok = run.Start();
    if (ok) {
        run.Wait(INFINITE);
        ok = run.result().Succeeded() && SizeOf(output) > 0;
    }
    // A broken output must not pass for a recording.
    if (!ok) DeleteFileA(output.c_str());
    return ok;
}

std::string Format(const char* fmt, const std::string& a, const std::string& b = std::string())
{
    char buf[2048];
    snprintf(buf, sizeof buf, fmt, a.c_str(), b.c_str());
    return buf;
}

}  // namespace

namespace {

std::string RecoveryFrom(const std::string& input, const std::string& sound,
                         const std::string& output)
{
    // Stream copy: the frames as they were written, with a new index.
    if (sound.empty()) return input + " -map 0:v:0 -c copy \"" + output + "\" ";
    return input + " -i \"" + sound + "\" -map 0:v:0 -map 1:a:0 -c copy \"" + output + "\" ";
}

}  // namespace

std::string RecoveryCommandLine(const std::string& video, const std::string& sound,
                                const std::string& output)
{
    return RecoveryFrom(" -i \"" + video + "\"", sound, output);
}

std::string RecoveryConcatCommandLine(const std::string& list, const std::string& sound,
                                      const std::string& output)
{
    return RecoveryFrom(" -f concat -safe 0 -i \"" + list + "\"", sound, output);
}

bool FindInterruptedRecording(RecoveryJob* job)
{
    job->tempVideo = GetTempVideoPath();
    if (SizeOf(job->tempVideo) <= 0) return false;
    job->segments.clear();
    for (int n = 0; SizeOf(SegmentPath(job->tempVideo, n)) >= 0; ++n)
        job->segments.push_back(SegmentPath(job->tempVideo, n));
    job->sounds.clear();
    for (const std::string& s : {GetTempSpeakerPath(), GetTempAudioPath()})
        if (SizeOf(s) > 0) job->sounds.push_back(s);
    job->saveFolder = GetVideoSaveFolder();
    return true;
}

SaveOutcome RecoverRecordingFiles(const RecoveryJob& job)
{
    const std::string stamp = StampOf(job.tempVideo);
    const std::string output = FreeName(job.saveFolder + "\\" + stamp, ".avi");
    const std::vector<std::string> files =
        job.segments.empty() ? std::vector<std::string>{job.tempVideo} : job.segments;
    SaveOutcome out;
    // A file cut off while recording gets its headers and index back from
    // its journal; one that was closed (filled up, or the run ended while
    // saving) is whole. A file begun ahead that never got a frame is none.
    std::vector<std::string> inputs, rebuilt;
    const std::vector<double> spans = RecordedSegmentSpans(job.tempVideo);
    std::vector<double> inputSpans;
    for (size_t i = 0; i < files.size(); ++i) {
        const size_t before = inputs.size();
        const std::string whole =
            GetTempFolder() + "~vintratemp-Recovered" + (i ? "-" + std::to_string(i + 1) : "") + ".avi";
        DeleteFileA(whole.c_str());
        if (RebuildAvi(files[i], whole)) {
            inputs.push_back(whole);
            rebuilt.push_back(whole);
        } else if (i == 0 || AviJournalFrames(files[i]) != 0) {
            inputs.push_back(files[i]);
        }
        if (inputs.size() > before) inputSpans.push_back(i < spans.size() ? spans[i] : 0);
    }
    const std::string list = GetTempFolder() + "~vintratemp-Recovered.txt";
    const bool joined = inputs.size() > 1;
    bool listed = !joined || WriteConcatList(inputs, list, inputSpans);
    auto rebuild = [&](const std::string& sound) {
        return Rebuild(job,
                       joined ? RecoveryConcatCommandLine(list, sound, output)
                              : RecoveryCommandLine(inputs[0], sound, output),
                       output);
    };
    bool done = false;
    if (listed) {
        // With its sound if that can be read, else the picture alone.
        for (const std::string& sound : job.sounds)
            if ((done = rebuild(sound))) break;
        if (!done) done = rebuild(std::string());
    }
    DeleteFileA(list.c_str());
    for (const std::string& r : rebuilt) DeleteFileA(r.c_str());
    if (done) {
        for (const std::string& f : files) {
            DeleteFileA(f.c_str());
            DeleteFileA(AviJournalPath(f).c_str());
        }
        for (const std::string& s : job.sounds) DeleteFileA(s.c_str());
        DeleteLaterSegments(job.tempVideo);
        out.result = SaveResult::Recovered;
        out.video = output;
        out.message = Format("上次的录制没有正常结束，已恢复的视频保存为：\n%s", output);
        return out;
    }
    // Kept as they are where no recording overwrites them.
    const std::string kept = GetTempFolder() + "Orbisk-" + stamp;
    out.result = SaveResult::KeptElsewhere;
    std::string where;
    for (size_t i = 0; i < files.size(); ++i) {
        std::string to = FreeName(kept + (i ? "-" + std::to_string(i + 1) : ""), ".avi");
        if (MoveFileExA(files[i].c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED))
            MoveFileExA(AviJournalPath(files[i]).c_str(), AviJournalPath(to).c_str(),
                        MOVEFILE_COPY_ALLOWED);
        else
            to = files[i];
        if (i == 0) out.video = to;
        where += (i ? "\n" : "") + to;
    }
    if (!job.sounds.empty()) {
        out.sound = FreeName(kept, ".mp3");
        if (!MoveFileExA(job.sounds[0].c_str(), out.sound.c_str(), MOVEFILE_COPY_ALLOWED))
            out.sound = job.sounds[0];
    }
    out.message = Format("上次的录制没有正常结束，视频无法恢复，原文件保留在：\n%s", where);
    return out;
}

namespace {

RecoveryJob g_job;

DWORD WINAPI RecoveryThread(LPVOID)
{
    SaveOutcome out = RecoverRecordingFiles(g_job);
    AskRecordingHost([](RecordingHost& h) { h.HideCover(); });
    PublishRecordingSaved(out);
    FinishRecordPhase();
    return 0;
}

}  // namespace

void RecoverInterruptedRecording()
{
    if (!FindInterruptedRecording(&g_job)) return;
    if (!MoveRecordPhase(RecordPhase::Idle, RecordPhase::Saving)) return;
    g_bSaveDone = 0;
    AskRecordingHost([](RecordingHost& h) { h.ShowCover("正在恢复上次中断的录制..."); });
    HANDLE thread = CreateThread(nullptr, 0, RecoveryThread, nullptr, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    else
        RecoveryThread(nullptr);
}
