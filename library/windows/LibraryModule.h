// The library module as the program's shell sees it (kit/ProgramModule.h),
// and its windows under the names the program knows them by.
#pragma once

#include "kit/ProgramModule.h"
#include "kit/WindowTable.h"

class AviListWnd;

const ProgramModule& LibraryModule();

// The one video list window, null while none is open.
const KeptWindow<AviListWnd> g_pAviListWnd{WindowId::VideoList};
