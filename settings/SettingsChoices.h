// What the settings window shows and what each of its choices does, without
// the window: every choice is written to the configuration store at once and
// applied to the running program, so the next recording or screenshot uses
// it. UI thread only (the store and the recording settings belong to it).
#pragma once

#include <string>

class CfgDocument;

// No item of a combo is selected.
const int kNoChoice = -1;

// The combos' item indexes (kNoChoice where the saved value has no item)
// and the hide option, as the configuration holds them.
struct ShownSettings {
    bool hideFloatWnd = false;
    int countdown = kNoChoice;
    int imageType = kNoChoice;
    int frameRate = kNoChoice;
    int codecType = kNoChoice;
    int quality = kNoChoice;
    int recMode = kNoChoice;
};
// Reads without writing anything, not even a missing element.
ShownSettings ReadShownSettings(CfgDocument& cfg);

// The frame rate of an item of the rate combo (10, 15, 25); 0 for no item.
int FrameRateOfChoice(int index);
// The item of a saved frame rate; kNoChoice when none has it.
int ChoiceOfFrameRate(int rate);

// Each writes its setting and applies it; an index outside the combo's
// items does nothing.
void ChooseCountdown(int index);   // 0 off, 1 3 s, 2 6 s, 3 9 s
void ChooseImageType(int index);   // 0 png, 1 bmp, 2 jpg
void ChooseFrameRate(int index);   // 10, 15, 25 frames a second
void ChooseQuality(int index);     // 0 standard, 1 high
void ChooseCodec(int index);       // 0 H.264, 1 MPEG-4: the compressor list is rebuilt
void ChooseRecMode(int index);     // 0 normal, 1 performance first
void ChooseHideFloatWnd(bool hide);

// Starting with Windows: the current user's "Run" entry naming this program.
bool IsStartingWithWindows();
// Adds or removes the entry; false when the registry refused.
bool SetStartingWithWindows(bool on);
// The entry's value: the running program's path, quoted.
std::string StartWithWindowsCommand();

// The texts of the about tab.
std::string AboutText();
std::string UserPromiseText();
