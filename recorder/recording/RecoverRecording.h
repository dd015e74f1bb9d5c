// A run of the program that ends in the middle of a recording (a crash, a
// kill, the power gone) leaves the recording's temporary video behind, and
// its sound beside it: written up to the last moment, but without the
// index a player needs. At the next start-up, before any recording can
// touch the temporary files, the converter rebuilds it into the save folder
// under a name of its own, and the user is told where it is.
#pragma once

#include "recorder/recording/SaveRecording.h"

#include <string>
#include <vector>

struct RecoveryJob {
    std::string tempVideo;            // the left-behind temporary AVI
    // Every file the video was written in, tempVideo first (a long
    // recording goes on in more files); empty: tempVideo alone.
    std::vector<std::string> segments;
    std::vector<std::string> sounds;  // its sound files, the one to join first
    std::string saveFolder;
    std::string programFolder;        // holds "vintx.exe"; empty: the program's
};

// The job for what the current temporary paths hold; false when there is no
// temporary video with anything in it.
bool FindInterruptedRecording(RecoveryJob* job);
// The rebuild, with its fallbacks; no threads, no windows. Recovered: a
// playable video in the save folder (with the sound when it could be
// joined), the temporary files gone. Otherwise the files are kept in the
// temporary folder under names no recording uses (KeptElsewhere). The
// outcome's message tells the user either way.
SaveOutcome RecoverRecordingFiles(const RecoveryJob& job);
// The converter's arguments for one rebuild; sound may be empty.
std::string RecoveryCommandLine(const std::string& video, const std::string& sound,
                                const std::string& output);
// The same for a video in several files, listed in `list`.
std::string RecoveryConcatCommandLine(const std::string& list, const std::string& sound,
                                      const std::string& output);

// Start-up, on the UI thread: when a recording was left behind, recordings
// wait (the save phase) while a thread of its own recovers it under the
// main window's cover; the outcome then goes to the windows as a save.
void RecoverInterruptedRecording();
