// The settings module as the program's shell sees it (kit/ProgramModule.h).
#pragma once

#include "kit/ProgramModule.h"

const ProgramModule& SettingsModule();
