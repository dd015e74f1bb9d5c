// From a start command to a closed AVI file: the capture rectangle of the
// record mode, the recording thread with its paced loop, and the hand-over
// to the save thread. Also the start-up loading of the overlay settings.
#pragma once

#include <windows.h>

#include <string>

// Fixes the output name and the capture rectangle for the record mode and
// starts the recording thread (modes 1, 3 and 4; other modes record
// nothing).
void PrepareRecording();
// Freezes the overlay settings into the capture engine, sets g_bRecording
// and starts the recording thread.
void StartRecordThread();
DWORD WINAPI RecordThreadProc(LPVOID);
void RecordThreadMain();
// The recording itself into aviPath; false only when Video for Windows is
// too old to record.
bool RecordLoop(unsigned frameRate, const std::string& aviPath);

// Keeps the main window (receiver of the failure message) and the virtual
// screen's rectangle.
void InitRecordDefaults(HWND mainWindow);

// Stops the window follow of the window record mode.
void EndWindowFollow();

// Start-up: the save folder, the watermark and caption settings from the
// configuration.
void LoadOverlaySettings();
void LoadWatermarkPosition();
void LoadCaptionPosition();
// A configured grid position: empty gives `empty`, above 8 gives 8, a
// negative number keeps `current`, otherwise the leading decimal number.
int ParseGridPosition(const std::string& text, int current, int empty);

// The compressor a recording uses and the frame format it must accept
// (ORBISK_TEST_HOOKS builds let tests pick another compressor).
#ifdef ORBISK_TEST_HOOKS
void SetRecordingCompressorForTests(DWORD fourcc);
#endif
