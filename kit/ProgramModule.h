// What the program's shell does with each module of windows: registers its
// windows in the window table, starts what the module runs beside the
// windows, and stops it again. Each module describes itself once (its
// <Name>Module.cpp); the shell (app/ProgramModules.cpp) runs every module's
// steps at the points of the start-up that the program's order gives, so a
// new window or worker of a module touches only its own module's file.
#pragma once

class WindowTable;

struct ProgramModule {
    const char* name;
    // Before the main window exists: the module's windows into the table.
    void (*registerWindows)(WindowTable& table) = nullptr;
    // Before the main window is created (after the settings are loaded).
    void (*beforeMainWindow)() = nullptr;
    // After the main window is shown, before the message loop.
    void (*afterMainWindow)() = nullptr;
    // After the message loop, before anything is freed: every worker of the
    // module is stopped and waited for.
    void (*stop)() = nullptr;
};
