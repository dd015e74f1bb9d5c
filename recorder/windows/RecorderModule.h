// The recorder module as the program's shell sees it (kit/ProgramModule.h),
// and the windows it keeps under the names the program knows them by.
#pragma once

#include "kit/ProgramModule.h"
#include "kit/WindowTable.h"

class CScrCaptureWnd;
class FlashWnd;
class CountDownWnd;
class CFloatRecWnd;

const ProgramModule& RecorderModule();

const KeptWindow<CScrCaptureWnd> g_pScrCaptureWnd{WindowId::RegionPicker};
const KeptWindow<FlashWnd> g_pFlashWnd{WindowId::Flash};
const KeptWindow<CountDownWnd> g_pCountDownWnd{WindowId::CountDown};
const KeptWindow<CFloatRecWnd> g_pFloatRecWnd{WindowId::FloatRec};
