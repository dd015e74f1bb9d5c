// A Video for Windows compressor of the test's own that stores frames as
// they come (24-bit, uncompressed), takes its time if asked and fails on a
// chosen frame, installed for this process only.
#pragma once

#include <windows.h>

namespace rectest {

const DWORD kFailingHandler = mmioFOURCC('F', 'A', 'I', 'L');
// Installs it; frames from failAt on (counted from 0) are refused (-1:
// none), each frame takes delayMs, and with failOnceStopped every frame it
// gets after the recording flag dropped is refused.
bool InstallFailingCompressor(int failAt, DWORD delayMs = 0, bool failOnceStopped = false);
void RemoveFailingCompressor();

}  // namespace rectest
