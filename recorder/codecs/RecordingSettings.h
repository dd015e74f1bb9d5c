// The recording settings the start-up step reads from the configuration
// store into the program's globals, with the conversions they go through.
// UI thread only: start-up and the settings window write them; a recording
// reads them after it has started.
#pragma once

#include <windows.h>

// Compressor types of codec_type/type.
const int kCodecTypeX264 = 0;
const int kCodecTypeXvid = 1;

extern UINT g_nCountdownSeconds;   // 0, 3, 6 or 9 before a recording starts
extern int g_nSaveImgType;         // screenshot type: 0 png, 1 bmp, 2 jpg
extern int g_nCodecType;           // kCodecTypeX264 or kCodecTypeXvid
extern int g_nQualityChoice;       // 0 standard, 1 high, 2 left to the compressor
extern int g_nRecMode;             // speed mode: 1 performance first, else normal
extern int g_bAutoPlayOnComplete;  // open the saved video when it is done

// Countdown choice 0, 1, 2, 3 -> 0, 3, 6, 9 seconds; any other choice keeps
// the current seconds.
void SetCountdownSeconds(int choice);
// Highlight size index 0, 1, 2 -> 64, 48, 32 pixels; otherwise current.
DWORD HighlightSizeForIndex(int index, DWORD current);
// A COLORREF of the configuration (0x00BBGGRR) as the capture engine's
// colour: 0xA0RRGGBB.
DWORD CfgColorToArgb(int colorRef);

// The sources a recording records.
struct AudioSourceSettings {
    BOOL recordMic = 0;
    BOOL recordSpeaker = 1;
};

// The first half of the start-up read: audio sources, countdown, screenshot
// type, frame rate, compressor type, quality and speed mode, then the
// quality and speed presets are written.
void LoadRecordingChoices();
// The second half: cursor, highlight, click and wheel effects, and
// play-when-done.
void LoadCursorAndPlaybackSettings();
