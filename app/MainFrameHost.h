// The main window as the recording's host: what the recording asks of it,
// served on the UI thread (recorder/recording/RecordingHost.h).
#pragma once

#include "recorder/recording/RecordingHost.h"

RecordingHost& GetMainFrameRecordingHost();
