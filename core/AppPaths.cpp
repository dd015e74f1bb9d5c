#include "core/AppPaths.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <mutex>

namespace {

const char kTempPrefix[] = "~vintratemp";

struct PathState {
    std::mutex lock;
    std::string tempVideo;
    std::string tempSpeaker;
    std::string tempAudio;
    std::string currentVideo;
    std::string currentScreenshot;
    std::string saveFolder;
    // The last time stamp given out per kind and how many names it gave.
    std::string lastVideoStamp, lastShotStamp;
    int lastVideoCount = 0, lastShotCount = 0;
};

PathState& State()
{
    static PathState state;
    return state;
}

std::string Copy(const std::string& s)
{
    std::lock_guard<std::mutex> lock(State().lock);
    return s;
}

std::string TempFile(const char* suffix)
{
    return GetTempFolder() + kTempPrefix + suffix;
}

std::string LocalTimeStamp()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return FormatTimeStamp(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The first free name for stamp: "<stamp><ext>", then "<stamp>_2<ext>", ...
// Names given out earlier in the same second count as taken even before
// their file exists.
std::string NewStampedPath(const std::string& folder, const char* ext, std::string& lastStamp,
                           int& lastCount)
{
    const std::string stamp = LocalTimeStamp();
    int n = stamp == lastStamp ? lastCount + 1 : 1;
    for (;; ++n) {
        std::string path = folder + "\\" + stamp;
        if (n > 1) path += "_" + std::to_string(n);
        path += ext;
        if (!Exists(path)) {
            lastStamp = stamp;
            lastCount = n;
            return path;
        }
    }
}

// Static construction: the temporary paths exist from process start.
struct TempPathsAtStart {
    TempPathsAtStart() { InitTempPaths(); }
} g_tempPathsAtStart;

}  // namespace

void InitTempPaths()
{
    {
        PathState& s = State();
        std::lock_guard<std::mutex> lock(s.lock);
        s.tempVideo.clear();
        s.tempSpeaker.clear();
        s.tempAudio.clear();
        s.currentVideo.clear();
        s.currentScreenshot.clear();
        s.saveFolder.clear();
    }
    BuildTempVideoPath();
    BuildTempAudioPath();
    BuildTempSpeakerPath();
}

std::string GetTempFolder()
{
    char buf[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(MAX_PATH, buf);
    return n > 0 && n <= MAX_PATH ? std::string(buf, n) : std::string();
}

bool BuildTempVideoPath()
{
    std::string path = TempFile("-Video.avi");
    std::lock_guard<std::mutex> lock(State().lock);
    State().tempVideo = path;
    return true;
}

void BuildTempAudioPath()
{
    std::string path = TempFile("-Audio.mp3");
    std::lock_guard<std::mutex> lock(State().lock);
    State().tempAudio = path;
}

void BuildTempSpeakerPath()
{
    std::string path = TempFile("-Speaker.mp3");
    std::lock_guard<std::mutex> lock(State().lock);
    State().tempSpeaker = path;
}

std::string GetTempMergePath()
{
    return TempFile("-Merge.mp3");
}

std::string GetTempVideoPath()
{
    return Copy(State().tempVideo);
}
std::string GetTempAudioPath()
{
    return Copy(State().tempAudio);
}
std::string GetTempSpeakerPath()
{
    return Copy(State().tempSpeaker);
}
std::string GetCurrentVideoFile()
{
    return Copy(State().currentVideo);
}
std::string GetCurrentScreenshotFile()
{
    return Copy(State().currentScreenshot);
}
std::string GetVideoSaveFolder()
{
    return Copy(State().saveFolder);
}

std::string FormatTimeStamp(int year, int month, int day, int hour, int minute, int second)
{
    char text[64];
    snprintf(text, sizeof text, "%04d%02d%02d_%02d%02d_%02d", year, month, day, hour, minute,
             second);
    return text;
}

bool MakeNewVideoFileName()
{
    PathState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    s.currentVideo = NewStampedPath(s.saveFolder, ".avi", s.lastVideoStamp, s.lastVideoCount);
    return true;
}

std::string MakeNewScreenshotFileName()
{
    PathState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    s.currentScreenshot = NewStampedPath(s.saveFolder, ".png", s.lastShotStamp, s.lastShotCount);
    return s.currentScreenshot;
}

bool SetVideoSaveFolder(const std::string& folder)
{
    std::string chosen =
        !folder.empty() && PathFileExistsA(folder.c_str()) ? folder : GetDefaultVideoFolder();
    if (!PathFileExistsA(chosen.c_str())) CreateDirectoryA(chosen.c_str(), nullptr);
    std::lock_guard<std::mutex> lock(State().lock);
    State().saveFolder = chosen;
    return true;
}

void DriveScan::Add(const std::string& letter, int freeMB)
{
    if (freeMB > bestMB) {
        bestMB = freeMB;
        bestLetter = letter;
    }
    drives.push_back(DriveInfo{letter, freeMB});
}

std::string DriveScan::DefaultVideoFolder() const
{
    return (bestMB == 0 ? std::string("C") : bestLetter) + ":\\VintraAVI";
}

void ScanFixedDrives(DriveScan& scan)
{
    if (GetLogicalDrives() == 0) return;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        char root[8];
        snprintf(root, sizeof root, "%c:\\", letter);
        if (GetDriveTypeA(root) != DRIVE_FIXED) continue;
        printf("\n%s\n", root);
        char volumeName[24] = {};
        char fsName[12] = {};
        if (!GetVolumeInformationA(root, volumeName, sizeof volumeName, nullptr, nullptr, nullptr,
                                   fsName, sizeof fsName))
            printf("Failed to retrieve drive information\n");
        ULARGE_INTEGER available = {};
        int megabytes = 0;
        if (GetDiskFreeSpaceExA(root, &available, nullptr, nullptr))
            megabytes = (int)(available.QuadPart >> 20);
        scan.Add(std::string(1, letter), megabytes);
    }
    printf("\n\n\n%s\n\n", "");
}

std::string GetDefaultVideoFolder()
{
    DriveScan scan;
    ScanFixedDrives(scan);
    return scan.DefaultVideoFolder();
}
