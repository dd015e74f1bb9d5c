// Where the program's own files are: the folder of the running executable
// and the codec plug-ins below it.
#pragma once

#include <string>

// Folder of the running executable, without a trailing backslash.
std::string GetProgramFolder();
std::string GetX264VfwDllPath();
std::string GetXvidVfwDllPath();

#ifdef ORBISK_TEST_HOOKS
// Test programs live apart from the program folder: this makes
// GetProgramFolder() answer `folder` (an empty one restores the default).
void SetProgramFolderForTests(const std::string& folder);
#endif
