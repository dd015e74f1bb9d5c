// Handling the UI thread's messages while it waits for something, so that
// worker threads that send (not post) to its windows are never stuck.
#pragma once

#include <windows.h>

#include <functional>

// Handles messages until done() holds or timeoutMs has passed; true when
// done() held. A quit message that arrives meanwhile is posted again for the
// outer loop.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);
