// The program's modules of windows, in the order the shell runs their steps
// (kit/ProgramModule.h).
#pragma once

#include "kit/ProgramModule.h"

#include <vector>

const std::vector<const ProgramModule*>& ProgramModules();

// Each runs that step of every module, in order (stops in reverse).
void RegisterModuleWindows();
void RunModulesBeforeMainWindow();
void RunModulesAfterMainWindow();
void StopModules();
