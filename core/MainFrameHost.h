// The recording's way to the windows around it (RecordingHost), served by
// the main window. The recording calls it from worker threads: every
// request is posted to the UI thread, and the window handles it answers with
// are published copies, so nothing here touches a window object or outlives
// one. Lives for the whole process.
#pragma once

#include "recorder/recording/RecordingHost.h"

RecordingHost& GetMainFrameRecordingHost();
