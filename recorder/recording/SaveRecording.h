// After the recording loop has closed the temporary AVI: joins it with the
// recorded sound through the converter (or copies it when there is no
// sound) into the save folder. The recording is never lost: the temporary
// files are deleted only once the saved file is complete; otherwise the
// video (and the sound beside it) go into the save folder as they are and
// the user is told.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SaveJob {
    std::string tempVideo;               // the closed temporary AVI
    // When the video went on in more files (a long recording), all of them
    // in order, tempVideo first; otherwise empty.
    std::vector<std::string> segments;
    // How long each of them lasts (s): a file may end with positions left
    // out, which its own length does not count. Empty: their own lengths.
    std::vector<double> segmentSeconds;
    std::string audio;                   // the MP3 to join with it; empty: copy the video
    std::vector<std::string> tempAudio;  // every temporary sound file of the recording
    std::string output;                  // the new file in the save folder
    std::string programFolder;           // holds "vintx.exe"
};

enum class SaveResult {
    Saved,          // output complete; temporary files removed
    SavedApart,     // the join failed: video and sound saved side by side
    KeptElsewhere,  // the save folder could not take it: kept where `video` says
    Recovered,      // the recording of a run that ended abruptly, saved at start-up
};

struct SaveOutcome {
    SaveResult result = SaveResult::Saved;
    std::string video;    // where the recording's video now is
    std::string sound;    // where its sound is, when saved apart
    // The recording broke off (a write failed): what was written up to then
    // is what was saved.
    bool interrupted = false;
    std::string message;  // what to tell the user when not Saved, or interrupted
};

// The joining or copying, with the fallbacks; no threads, no windows. What
// a failed join or copy had written of the output is removed, so the save
// folder never holds a broken file under the recording's name.
// showStatus gets the status line of a long step (the copy).
SaveOutcome SaveRecordingFiles(const SaveJob& job,
                               const std::function<void(const std::string&)>& showStatus);
// A cancelled recording: its temporary files go.
void DiscardRecordingFiles(const SaveJob& job);

// The sound file this recording wrote and that goes into the video (the
// system sound, which holds the mix when the microphone is on too, or the
// microphone's); empty when none was written. Set by the recording loop.
void SetRecordedSound(const std::string& mp3);
// The files the recording's video was written in, in order, and how long
// each lasts. Set by the recording loop.
void SetRecordedVideo(const std::vector<std::string>& files, const std::vector<double>& seconds);
// Why the recording that has just ended broke off ("" when it did not): told
// to the user with where it was saved. Set by the recording loop.
void SetRecordingInterruption(const std::string& text);
// The job of the recording that has just ended, from the current paths and
// the recorded sound.
SaveJob CurrentSaveJob();

// Started by the recording loop after the file is closed.
DWORD WINAPI SaveRecordingThread(LPVOID);

// The join's command line (converter arguments only).
std::string JoinCommandLine(const std::string& video, const std::string& audio,
                            const std::string& output);
// The same for a video in several files, listed in `list` (see
// WriteConcatList); without audio the files are only joined.
std::string ConcatJoinCommandLine(const std::string& list, const std::string& audio,
                                  const std::string& output);
// Writes the converter's list of files to join, in order, each lasting
// seconds[i] when given; false when it cannot be written.
bool WriteConcatList(const std::vector<std::string>& files, const std::string& list,
                     const std::vector<double>& seconds = {});
