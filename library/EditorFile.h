// The file the video editor works on. Whoever hands the editor a file sets
// it just before the editor's window opens, and the editor reads it as it
// opens (library/windows/VideoEditorHandOver.h hands files over).
//
// UI thread only.
#pragma once

#include <string>

extern std::string g_strEditCurrentFile;
