// Handing a recording to the video editor (the list's "编辑视频", the save
// notice's "视频剪辑"). An editor that is open works on its own file with
// its own history: it is asked to close first (its entry's mayClose, which
// asks about unsaved work), and only when it agrees does a new editor open
// on the new file; otherwise it keeps its file and is brought forward.
//
// UI thread only.
#pragma once

#include <windows.h>

#include <string>

// True when an editor now works on the file.
bool HandFileToVideoEditor(const std::string& path);
