// Texts and choices of the main window that need no window: the cover text,
// the tray tip while recording, the skin background file.
#pragma once

#include <string>

// The cover over the main window: the graffiti hot key, a hint on the
// recording mode (0: game mode; other modes: general mode) and the status.
std::string BuildCoverText(const std::string& graffitiKeyText, int recMode,
                           const std::string& status);

// "录制时长:" + time + size (the time text ends in a blank).
std::string BuildRecordingTrayTip(const std::string& time, const std::string& size);

// The skin background file from the configuration: a built-in skin by its
// name, a user skin by its path in "<program folder>\res\skin\".
std::string SkinBackgroundFromConfig(const std::string& selectSkin, bool isUserImg,
                                     const std::string& programFolder);
