#include "recorder/recording/SaveRecording.h"

#include "core/AppPaths.h"
#include "core/ConcatList.h"
#include "core/EncoderProcess.h"
#include "core/ProgramFolder.h"
#include "core/SystemHelpers.h"
#include "core/UiThread.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/recording/RecordingEvents.h"
#include "recorder/recording/RecordingHost.h"
#include "recorder/recording/RecordingState.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace {

std::mutex g_soundLock;
std::string g_recordedSound;
std::vector<std::string> g_recordedVideo;
std::vector<double> g_recordedSeconds;
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

// What a join of several files must at least hold: their frames, whatever
// their headers and indexes weigh. A converter that gave up on a file on
// the way and still ended well is caught here.
long long JoinedSizeFloor(const std::vector<std::string>& files)
{
    long long frames = 0;
    for (const std::string& f : files) frames += std::max(0LL, SizeOf(f) - 64 * 1024);
    return frames / 10 * 9;
}

// The files of a video that could not be joined go into the save folder
// one by one, numbered in their order, each of them playable; the sound
// beside them. What the save folder would not take is kept where no
// recording overwrites it.
SaveOutcome SaveSegmentsApart(const SaveJob& job, bool outputWasThere)
{
    if (!outputWasThere) DeleteFileA(job.output.c_str());  // a partial join result
    SYSTEMTIME t;
    GetLocalTime(&t);
    const std::string kept = GetTempFolder() + "Orbisk-" +
                             FormatTimeStamp(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    const std::string stem = WithExtension(job.output, "");
    SaveOutcome out;
    std::string placed;
    bool anyInSaveFolder = false;
    for (size_t i = 0; i < job.segments.size(); ++i) {
        const std::string number = "-" + std::to_string(i + 1);
        std::string to = stem + number + ".avi";
        if (MoveOrCopy(job.segments[i], to))
            anyInSaveFolder = true;
        else if (!MoveOrCopy(job.segments[i], to = kept + number + ".avi"))
            to = job.segments[i];
        if (i == 0) out.video = to;
        placed += "\n" + to;
    }
    placed.erase(0, 1);
    if (SizeOf(job.audio) > 0) {
        out.sound = stem + ".mp3";
        if (!MoveOrCopy(job.audio, out.sound) && !MoveOrCopy(job.audio, out.sound = kept + ".mp3"))
            out.sound = job.audio;
    }
    const std::string parts = std::to_string(job.segments.size());
    out.result = anyInSaveFolder ? SaveResult::SavedApart : SaveResult::KeptElsewhere;
    if (!anyInSaveFolder)
        out.message = "视频无法保存到视频文件夹，录制的视频分为 " + parts + " 段，保留在：\n" + placed;
    else if (!job.audio.empty())
        out.message = "视频与声音合成失败，视频（无声）分为 " + parts + " 段，已保存为：\n" + placed;
    else
        out.message = "视频合成失败，视频分为 " + parts + " 段，已保存为：\n" + placed;
    if (!out.sound.empty())
        out.message += (anyInSaveFolder ? "\n声音另存为：\n" : "\n声音保留在：\n") + out.sound;
    return out;
}

// A video in several files: joined into the one output, with the sound
// when there is one.
SaveOutcome SaveSegments(const SaveJob& job,
                         const std::function<void(const std::string&)>& showStatus)
{
    if (job.audio.empty() && showStatus) showStatus("压缩优化处理...");
    const bool outputWasThere = SizeOf(job.output) >= 0;
    const std::string list = WithExtension(job.tempVideo, ".txt");
    bool ok = !outputWasThere && WriteConcatList(job.segments, list, job.segmentSeconds);
    if (ok) {
        EncoderProcess join(ConcatJoinCommandLine(list, job.audio, job.output),
                            job.programFolder.empty() ? GetProgramFolder() : job.programFolder);
        ok = join.Start();
        if (ok) {
            join.Wait(INFINITE);
            ok = join.result().Succeeded() && SizeOf(job.output) >= JoinedSizeFloor(job.segments);
        }
    }
    DeleteFileA(list.c_str());
    if (!ok) return SaveSegmentsApart(job, outputWasThere);
    DeleteAll(job.segments);
    DeleteAll(job.tempAudio);
    SaveOutcome out;
    out.video = job.output;
    return out;
}

}  // namespace

bool WriteConcatList(const std::vector<std::string>& files, const std::string& list,
                     const std::vector<double>& seconds)
{
    std::string text = "ffconcat version 1.0\n";
    for (size_t i = 0; i < files.size(); ++i) {
        text += JoinListLine(files[i]);
        if (i < seconds.size() && seconds[i] > 0) {
            // In microseconds, whatever the decimal point of the locale.
            const long long us = (long long)(seconds[i] * 1e6 + 0.5);
            char line[64];
            snprintf(line, sizeof line, "duration %lld.%06lld\n", us / 1000000, us % 1000000);
            text += line;
        }
    }
    return WriteJoinList(list, text);
}

std::string ConcatJoinCommandLine(const std::string& list, const std::string& audio,
                                  const std::string& output)
{
    const std::string input = " -f concat -safe 0 -i \"" + list + "\"";
    if (audio.empty()) return input + " -c copy \"" + output + "\" ";
    return input + " -i \"" + audio + "\" -vcodec copy -acodec copy \"" + output + "\" ";
}

std::string JoinCommandLine(const std::string& video, const std::string& audio,
                            const std::string& output)
{
    return " -i \"" + video + "\" -i \"" + audio + "\" -vcodec copy -acodec copy \"" + output + "\" ";
}

SaveOutcome SaveRecordingFiles(const SaveJob& job,
                               const std::function<void(const std::string&)>& showStatus)
{
    if (job.segments.size() > 1) return SaveSegments(job, showStatus);
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
    DeleteAll(job.segments);
    DeleteAll(job.tempAudio);
}

void SetRecordingInterruption(const std::string& text)
{
    std::lock_guard<std::mutex> lock(g_soundLock);
    g_interruption = text;
}

void SetRecordedVideo(const std::vector<std::string>& files, const std::vector<double>& seconds)
{
    std::lock_guard<std::mutex> lock(g_soundLock);
    g_recordedVideo = files;
    g_recordedSeconds = seconds;
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
        if (g_recordedVideo.size() > 1) {
            job.segments = g_recordedVideo;
            job.segmentSeconds = g_recordedSeconds;
        }
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
    SetRecordedVideo({}, {});
    // The saved file opens a second later, unless the user turned that off
    // (the save notice's check box); the recording is over only then, so
    // that nobody closing the program in between is called back.
    if (saved && g_bAutoPlayOnComplete) {
        Sleep(1000);
        std::string output = job.output;
        if (!RunOnUiThread([output] { OpenUrl(output); })) OpenUrl(output);
    }
    FinishRecordPhase();
    return 0;
}
