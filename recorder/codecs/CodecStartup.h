// The start-up step of the recording engine: the recording settings from the
// configuration store, the codec plug-ins made usable, and the compressor
// list built. Runs once on the UI thread before the main window exists,
// after the configuration file is loaded and the encoder defaults are
// written (WriteXvidDefaults, WriteX264Defaults).
#pragma once

#include <string>

// In this order: the recording choices (with the quality and speed presets),
// the backup and restore privileges, the system-wide codec registration,
// both plug-ins installed for the process, the compressor list (an empty
// one is reported to the user), then the cursor effects and play-when-done.
void LoadSettingsAndInstallCodecs();

// Tells the user that no compressor can record video. The one place the
// message is shown from, so that the main window's own message box can take
// it over.
void ReportNoUsableCompressor();

extern const char kNoCompressorText[];
extern const char kNoCompressorCaption[];
