// The recorder module as the program's shell sees it (kit/ProgramModule.h),
// and the windows it keeps under the names the program knows them by.
#pragma once

#include "kit/ProgramModule.h"
#include "kit/WindowTable.h"

class CFloatRecWnd;

const ProgramModule& RecorderModule();

const KeptWindow<CFloatRecWnd> g_pFloatRecWnd{WindowId::FloatRec};
