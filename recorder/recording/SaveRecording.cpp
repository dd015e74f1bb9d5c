#include "recorder/recording/SaveRecording.h"

#include "core/AppPaths.h"
#include "core/EncoderProcess.h"
#include "core/ProgramFolder.h"
#include "core/SystemHelpers.h"
#include "core/UiThread.h"
#include "recorder/recording/RecordingEvents.h"
#include "recorder/recording/RecordingHost.h"
#include "recorder/recording/RecordingState.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_soundLock;
std::string g_recordedSound;
std::string g_interruption;

long long SizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d))
        return -1;
    return ((long long)d.nFileSizeHigh << 32) | d.nFileSizeLow;
}

std::string WithExtension(const std::string& path, const char* ext)
{
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of('\\');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + ext;
    return path.substr(0, dot) + ext;
}

// Moves a file to `to`, copying across drives; false when `to` exists. A
// copy that fails on the way (a full disk) leaves nothing at `to`.
bool MoveOrCopy(const std::string& from, const std::string& to)
{
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
        return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS &&
        SizeOf(from) >= 0)
        DeleteFileA(to.c_str());
    return false;
}

void DeleteAll(const std::vector<std::string>& files)
{
    for (const std::string& f : files)
        if (!f.empty())
            DeleteFileA(f.c_str());
}

std::string Format(const char* fmt, const std::string& a, const std::string& b = std::string())
{
    char buf[2048];
    snprintf(buf, sizeof buf, fmt, a.c_str(), b.c_str());
    return buf;
}

// Where a recording goes that the save folder would not take: names of its
// own beside the temporary files, which no later recording removes; its
// sound, when it has one, beside it.
SaveOutcome KeepInTempFolder(const SaveJob& job)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    const std::string kept = GetTempFolder() + "Orbisk-" +
                             FormatTimeStamp(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    SaveOutcome out;
    out.result = SaveResult::KeptElsewhere;
    out.video = MoveOrCopy(job.tempVideo, kept + ".avi") ? kept + ".avi" : job.tempVideo;
    if (SizeOf(job.audio) > 0) out.sound = MoveOrCopy(job.audio, kept + ".mp3") ? kept + ".mp3" : job.audio;
    out.message = out.sound.empty()
                      ? Format("视频无法保存到视频文件夹，录制的视频保留在：\n%s", out.video)
                      : Format("视频无法保存到视频文件夹，录制的视频保留在：\n%s\n声音保留在：\n%s",
                               out.video, out.sound);
    return out;
}

// The video could not be joined with its sound: both go into the save
// folder as they are, so nothing the user recorded is lost.
SaveOutcome SaveApart(const SaveJob& job)
{
    SaveOutcome out;
    DeleteFileA(job.output.c_str());  // a partial join result
    if (MoveOrCopy(job.tempVideo, job.output)) {
        out.result = SaveResult::SavedApart;
        out.video = job.output;
        std::string sound = WithExtension(job.output, ".mp3");
        if (SizeOf(job.audio) > 0 && MoveOrCopy(job.audio, sound))
            out.sound = sound;
        out.message = out.sound.empty()
                          ? Format("视频与声音合成失败，视频（无声）已保存为：\n%s", out.video)
                          : Format("视频与声音合成失败，视频（无声）已保存为：\n%s\n声音另存为：\n%s",
                                   out.video, out.sound);
        return out;
    }
    return KeepInTempFolder(job);
}

}  // namespace

std::string JoinCommandLine(const std::string& video, const std::string& audio,
                            const std::string& output)
{
    return " -i \"" + video + "\" -i \"" + audio + "\" -vcodec copy -acodec copy \"" + output + "\" ";
}

SaveOutcome SaveRecordingFiles(const SaveJob& job,
                               const std::function<void(const std::string&)>& showStatus)
{
    if (!job.audio.empty()) {
        EncoderProcess join(JoinCommandLine(job.tempVideo, job.audio, job.output),
                            job.programFolder.empty() ? GetProgramFolder() : job.programFolder);
        bool started = join.Start();
        if (started)
            join.Wait(INFINITE);
        // Only a complete file may replace the temporary ones.
        if (!started || !join.result().Succeeded() || SizeOf(job.output) <= 0)
            return SaveApart(job);
    } else {
        if (showStatus) showStatus("压缩优化处理...");
        if (!CopyFileA(job.tempVideo.c_str(), job.output.c_str(), TRUE)) {
            // Only a name that was free is ours to clean up.
            DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
                DeleteFileA(job.output.c_str());
            return KeepInTempFolder(job);
        }
    }
    DeleteFileA(job.tempVideo.c_str());
    DeleteAll(job.tempAudio);
    SaveOutcome out;
    out.video = job.output;
    return out;
}

void DiscardRecordingFiles(const SaveJob& job)
{
    DeleteFileA(job.tempVideo.c_str());
    DeleteAll(job.tempAudio);
}

void SetRecordingInterruption(const std::string& text)
{
    std::lock_guard<std::mutex> lock(g_soundLock);
    g_interruption = text;
}

void SetRecordedSound(const std::string& mp3)
{
    std::lock_guard<std::mutex> lock(g_soundLock);
    g_recordedSound = mp3;
}

SaveJob CurrentSaveJob()
{
    SaveJob job;
    job.tempVideo = GetTempVideoPath();
    {
        std::lock_guard<std::mutex> lock(g_soundLock);
        job.audio = g_recordedSound;
    }
    job.tempAudio = {GetTempAudioPath(), GetTempSpeakerPath(), GetTempMergePath()};
    job.output = GetCurrentVideoFile();
    return job;
}

DWORD WINAPI SaveRecordingThread(LPVOID)
{
    SaveJob job = CurrentSaveJob();
    std::string interruption;
    {
        std::lock_guard<std::mutex> lock(g_soundLock);
        interruption.swap(g_interruption);
    }
    bool saved = false;
    if (g_bSaveAfterStop) {
        SaveOutcome out = SaveRecordingFiles(job, [](const std::string& status) {
            AskRecordingHost([status](RecordingHost& h) { h.ShowCover(status); });
        });
        saved = out.result == SaveResult::Saved && interruption.empty();
        if (!interruption.empty()) {
            out.interrupted = true;
            out.message = out.result == SaveResult::Saved
                              ? interruption + "\n已录制的部分已保存为：\n" + out.video
                              : interruption + "\n" + out.message;
        }
        AskRecordingHost([](RecordingHost& h) { h.HideCover(); });
        // The main window tells the user, once the save is over: the tip and
        // the save notice, or what went wrong and where the recording is.
        PublishRecordingSaved(out);
    } else {
        // A cancel stays a cancel, whatever broke off meanwhile.
        DiscardRecordingFiles(job);
        AskRecordingHost([](RecordingHost& h) { h.HideCover(); });
    }
    SetRecordedSound(std::string());
    // The saved file opens a second later; the recording is over only then,
    // so that nobody closing the program in between is called back.
    if (saved) {
        Sleep(1000);
        std::string output = job.output;
        if (!RunOnUiThread([output] { OpenUrl(output); })) OpenUrl(output);
    }
    FinishRecordPhase();
    return 0;
}
