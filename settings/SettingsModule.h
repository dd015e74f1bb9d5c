// The settings module as the program's shell sees it (kit/ProgramModule.h):
// the settings window and the update log, the information windows (about,
// tips, their menu, the guide and the floating bar's two detail popups),
// and the update check that the main window starts.
#pragma once

#include "kit/ProgramModule.h"
#include "kit/WindowTable.h"

class ExpandToolWindow;
class RecDetailWnd;
class StateDetailWnd;

const ProgramModule& SettingsModule();

// The open settings window, null when none is.
const KeptWindow<ExpandToolWindow> g_pExpandToolWindow{WindowId::ExpandTool};
// The floating bar's open detail popups, null when none is.
const KeptWindow<RecDetailWnd> g_pRecDetailWnd{WindowId::RecDetail};
const KeptWindow<StateDetailWnd> g_pStateDetailWnd{WindowId::StateDetail};
