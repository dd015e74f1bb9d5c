// The settings module as the program's shell sees it (kit/ProgramModule.h):
// the settings window and the update log, and the update check that the
// main window starts.
#pragma once

#include "kit/ProgramModule.h"
#include "kit/WindowTable.h"

class ExpandToolWindow;

const ProgramModule& SettingsModule();

// The open settings window, null when none is.
const KeptWindow<ExpandToolWindow> g_pExpandToolWindow{WindowId::ExpandTool};
