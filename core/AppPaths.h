// Names of every file the recorder writes: the temporary files of a
// recording, the video save folder and the time-stamped names of new videos
// and screenshots. The stored paths are shared by the UI, recording and save
// threads; every getter returns a copy taken under the module's lock.
#pragma once

#include <string>
#include <vector>

// --- Temporary files, in the system's temporary folder ("~vintratemp-...").
// Builds the three stored temporary paths; runs before the entry function.
void InitTempPaths();
bool BuildTempVideoPath();       // "~vintratemp-Video.avi"; rebuilt before each recording
void BuildTempAudioPath();       // "~vintratemp-Audio.mp3" (microphone)
void BuildTempSpeakerPath();     // "~vintratemp-Speaker.mp3" (system sound, or the mix)
std::string GetTempMergePath();  // "~vintratemp-Merge.mp3", built on every call
std::string GetTempFolder();     // with its trailing backslash
std::string GetTempVideoPath();
std::string GetTempAudioPath();
std::string GetTempSpeakerPath();

// --- New files in the save folder, named by the local time
// ("20240203_0905_07.avi"). A name that is taken, or was already given out
// in the same second, gets a suffix: "20240203_0905_07_2.avi".
bool MakeNewVideoFileName();              // stores the current video file
std::string MakeNewScreenshotFileName();  // stores and returns it
std::string GetCurrentVideoFile();
std::string GetCurrentScreenshotFile();
// "%04d%02d%02d_%02d%02d_%02d" of year, month, day, hour, minute, second.
std::string FormatTimeStamp(int year, int month, int day, int hour, int minute, int second);

// --- The save folder.
// folder when it exists, else GetDefaultVideoFolder(); created (one level)
// when missing. Always true: a folder that cannot be created fails later,
// when the recorder writes into it.
bool SetVideoSaveFolder(const std::string& folder);
std::string GetVideoSaveFolder();

struct DriveInfo {
    std::string letter;
    int freeMB = 0;
};

// The fixed drives seen by ScanFixedDrives and the one with the most free
// space (the earlier letter on a tie).
struct DriveScan {
    std::vector<DriveInfo> drives;
    std::string bestLetter;
    int bestMB = 0;

    void Add(const std::string& letter, int freeMB);
    // bestLetter + ":\VintraAVI", with "C" when no drive had free space.
    std::string DefaultVideoFolder() const;
};

void ScanFixedDrives(DriveScan& scan);
std::string GetDefaultVideoFolder();
