// One Orbisk at a time: the first instance holds the mutex
// "VintraCamMutexName" until it ends; a second one shows the first one's
// main window and leaves.
#pragma once

#include <windows.h>

extern const char kSingleInstanceMutexName[];
extern const char kMainFrameClassName[];  // "VintraCamMainFrameClsName"
extern const char kMainFrameTitle[];      // "Orbisk"

// True in the first instance (the mutex is kept open for the life of the
// process); false when another instance holds it.
bool AcquireSingleInstance();

// Shows the running instance's main window normally and brings it to the
// foreground. A window that is still being created gets a moment to appear;
// false when none came.
bool ActivateRunningInstance(DWORD waitMs = 3000);
