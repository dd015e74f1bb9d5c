// The texts the main window, the floating bar and the detail window show
// while a recording runs, refreshed twice a second by the status thread.
#pragma once

#include <windows.h>

#include <string>

struct RecordStatusTexts {
    std::string time;       // "%.2d:%.2d:%.2d " (a trailing blank)
    std::string timeLed;    // "%.2d : %.2d : %.2d" for the LED label
    std::string size;       // "大小: %.2f Mb"
    std::string diskSpace;  // "硬盘空间:%.2f/%.2f GB" (used after this recording / total)
    std::string indexRate;  // "%.2f"
};

// The texts for a recording elapsedMs long that has written bytesWritten
// bytes of video on a disk of totalMB with freeMB free when it started.
RecordStatusTexts FormatRecordStatus(DWORD elapsedMs, DWORD bytesWritten, float indexRate,
                                     double totalMB, double freeMB);
// Estimated size of the saved file in MB: the video written so far, plus
// an allowance for the sound.
double EstimateRecordSizeMB(DWORD elapsedMs, DWORD bytesWritten);

// A copy of the current texts (the status thread writes them).
RecordStatusTexts GetRecordStatusTexts();
void SetRecordStatusTexts(const RecordStatusTexts& texts);
std::string GetRecordSizeText();

// Refreshes the texts from the recording statistics every 500 ms and tells
// the windows (the status event) while g_bRecording is set.
DWORD WINAPI RecordStatusThread(LPVOID);
