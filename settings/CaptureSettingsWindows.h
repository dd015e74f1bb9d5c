// The settings windows of what a recording paints and when it runs: caption,
// watermark, cursor, timed start and auto-stop.
#pragma once

class WindowTable;

void RegisterCaptureSettingsWindows(WindowTable& table);
