// Hands work from any thread to the UI thread. The windows, the
// configuration store and everything they touch belong to the UI thread;
// a worker that needs one of them queues a function here instead.
//
//   BindUiThread();                            // once, on the UI thread
//   RunOnUiThread([=] { g_cfgDocument.SetCfgVideoSavePath(folder); });
//
// Functions run in the order they were queued, from the UI thread's message
// loop (modal loops included, since they dispatch to the queue's window).
#pragma once

#include <functional>

// Makes the calling thread the UI thread. A second call from another thread
// moves the queue there; functions queued but not run are dropped.
void BindUiThread();
// Ends the queue: functions still queued are dropped, later ones refused.
void UnbindUiThread();
bool IsUiThread();

// Queues fn for the UI thread; false (fn is dropped) when no thread is
// bound. Never runs fn before returning, not even on the UI thread, so the
// caller's state is consistent when it runs.
bool RunOnUiThread(std::function<void()> fn);
