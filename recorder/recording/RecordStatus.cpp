#include "recorder/recording/RecordStatus.h"

#include "core/AppPaths.h"
#include "recorder/recording/RecordingEvents.h"
#include "recorder/recording/RecordingState.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_textsLock;
RecordStatusTexts g_texts;

std::string Format(const char* fmt, ...)
{
    char buf[128];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return buf;
}

}  // namespace

double EstimateRecordSizeMB(DWORD elapsedMs, DWORD bytesWritten)
{
    unsigned t = elapsedMs / 1000;
    unsigned seconds = t % 60;
    return ((double)bytesWritten + seconds * 65536.0) / 1048576.0 + t * 0.012;
}

RecordStatusTexts FormatRecordStatus(DWORD elapsedMs, DWORD bytesWritten, float indexRate,
                                     double totalMB, double freeMB)
{
    unsigned t = elapsedMs / 1000;
    int seconds = (int)(t % 60), minutes = (int)((t / 60) % 60), hours = (int)((t / 3600) % 60);
    double sizeMB = EstimateRecordSizeMB(elapsedMs, bytesWritten);
    RecordStatusTexts texts;
    texts.time = Format("%.2d:%.2d:%.2d ", hours, minutes, seconds);
    texts.timeLed = Format("%.2d : %.2d : %.2d", hours, minutes, seconds);
    texts.size = Format("大小: %.2f Mb", sizeMB);
    // Space in use on the disk once this recording is added, of the total.
    double usedGB = (totalMB - freeMB + sizeMB) / 1024.0;
    texts.diskSpace = Format("硬盘空间:%.2f/%.2f GB", usedGB, totalMB / 1024.0);
    texts.indexRate = Format("%.2f", indexRate);
    return texts;
}

RecordStatusTexts GetRecordStatusTexts()
{
    std::lock_guard<std::mutex> lock(g_textsLock);
    return g_texts;
}

void SetRecordStatusTexts(const RecordStatusTexts& texts)
{
    std::lock_guard<std::mutex> lock(g_textsLock);
    g_texts = texts;
}

std::string GetRecordSizeText()
{
    return GetRecordStatusTexts().size;
}

DWORD WINAPI RecordStatusThread(LPVOID)
{
    // The disk of the output file is read once: the recording's own growth
    // is added to it from the statistics.
    std::string output = GetCurrentVideoFile();
    size_t root = output.find('\\');
    std::string drive = root == std::string::npos ? output : output.substr(0, root + 1);
    ULARGE_INTEGER avail = {}, total = {}, free = {};
    double totalMB = 0, freeMB = 0;
    if (GetDiskFreeSpaceExA(drive.c_str(), &avail, &total, &free)) {
        totalMB = (double)(total.QuadPart / 1048576);
        freeMB = (double)(avail.QuadPart / 1048576);
    }
    // A new recording starts from zero, not from the last one's texts.
    SetRecordStatusTexts(FormatRecordStatus(0, 0, 0.f, totalMB, freeMB));
    while (g_bRecording) {
        Sleep(500);
        // No tick after the stop: the windows are idle again by then.
        if (!g_bRecording) break;
        SetRecordStatusTexts(FormatRecordStatus(g_recordStats.elapsedMs, g_recordStats.bytesWritten,
                                                g_recordStats.indexRate, totalMB, freeMB));
        PublishRecordingStatus();
    }
    return 0;
}
