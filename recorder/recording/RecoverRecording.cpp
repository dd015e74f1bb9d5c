#include "recorder/recording/RecoverRecording.h"

#include "core/AppPaths.h"
#include "core/EncoderProcess.h"
#include "core/ProgramFolder.h"
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

bool Rebuild(const RecoveryJob& job, const std::string& video, const std::string& sound,
             const std::string& output)
{
    EncoderProcess run(RecoveryCommandLine(video, sound, output),
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

std::string RecoveryCommandLine(const std::string& video, const std::string& sound,
                                const std::string& output)
{
    // Stream copy: the frames as they were written, with a new index.
    if (sound.empty())
        return " -i \"" + video + "\" -map 0:v:0 -c copy \"" + output + "\" ";
    return " -i \"" + video + "\" -i \"" + sound + "\" -map 0:v:0 -map 1:a:0 -c copy \"" + output +
           "\" ";
}

bool FindInterruptedRecording(RecoveryJob* job)
{
    job->tempVideo = GetTempVideoPath();
    if (SizeOf(job->tempVideo) <= 0) return false;
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
    SaveOutcome out;
    // A file cut off while recording gets its headers and index back from
    // its journal; one that was closed (the run ended while saving) is whole.
    const std::string whole = GetTempFolder() + "~vintratemp-Recovered.avi";
    DeleteFileA(whole.c_str());
    const std::string video = RebuildAvi(job.tempVideo, whole) ? whole : job.tempVideo;
    bool rebuilt = false;
    // With its sound if that can be read, else the picture alone.
    for (const std::string& sound : job.sounds)
        if ((rebuilt = Rebuild(job, video, sound, output))) break;
    if (!rebuilt) rebuilt = Rebuild(job, video, std::string(), output);
    DeleteFileA(whole.c_str());
    if (rebuilt) {
        DeleteFileA(job.tempVideo.c_str());
        DeleteFileA(AviJournalPath(job.tempVideo).c_str());
        for (const std::string& s : job.sounds) DeleteFileA(s.c_str());
        out.result = SaveResult::Recovered;
        out.video = output;
        out.message = Format("上次的录制没有正常结束，已恢复的视频保存为：\n%s", output);
        return out;
    }
    // Kept as they are where no recording overwrites them.
    const std::string kept = GetTempFolder() + "Orbisk-" + stamp;
    out.result = SaveResult::KeptElsewhere;
    out.video = FreeName(kept, ".avi");
    if (MoveFileExA(job.tempVideo.c_str(), out.video.c_str(), MOVEFILE_COPY_ALLOWED))
        MoveFileExA(AviJournalPath(job.tempVideo).c_str(), AviJournalPath(out.video).c_str(),
                    MOVEFILE_COPY_ALLOWED);
    else
        out.video = job.tempVideo;
    if (!job.sounds.empty()) {
        out.sound = FreeName(kept, ".mp3");
        if (!MoveFileExA(job.sounds[0].c_str(), out.sound.c_str(), MOVEFILE_COPY_ALLOWED))
            out.sound = job.sounds[0];
    }
    out.message = Format("上次的录制没有正常结束，视频无法恢复，原文件保留在：\n%s", out.video);
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
