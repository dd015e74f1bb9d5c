// A Video for Windows compressor of the test's own that stores frames as
// they come (24-bit, uncompressed) and fails on a chosen frame, installed
// for this process only.
#pragma once

#include <windows.h>

namespace rectest {

const DWORD kFailingHandler = mmioFOURCC('F', 'A', 'I', 'L');
// Installs it; frames from failAt on (counted from 0) are refused.
bool InstallFailingCompressor(int failAt);
void RemoveFailingCompressor();

}  // namespace rectest
