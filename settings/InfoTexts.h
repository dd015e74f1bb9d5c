// The texts of the information windows, without a window: the recording
// details, the hot keys as the user has set them, the tips and the about
// text.
#pragma once

#include "core/HotKeyTable.h"
#include "recorder/recording/RecordStatus.h"

#include <string>
#include <vector>

// The recording-detail popup's lines, one a label.
struct RecDetailLines {
    std::string time;
    std::string size;
    std::string frameRate;
    std::string audio;
    std::string diskSpace;
};

// The lines for the status texts of this moment and the mute states of the
// microphone and the speakers (a failed query counts as not muted).
RecDetailLines MakeRecDetailLines(const RecordStatusTexts& status, bool micMuted,
                                  bool speakerMuted);

// One line of the hot-key popup: the label it goes to and its text.
struct HotKeyLine {
    const char* label;
    std::string text;
};

// The hot-key popup's lines for the keys the table holds.
std::vector<HotKeyLine> HotKeyStateLines(const HotKeyTable& keys);

// The usage tips, naming the keys the table holds.
std::string SmallTipText(const HotKeyTable& keys);

// What the about window says of the program.
std::string AboutSoftText();
