// The update check: once per start a worker asks the program's web site for
// the feed (settings/UpdateFeed.h). When it offers a newer version the
// worker posts WM_UPDATE_CHECKED to the main window, which takes the offer
// on its own thread and shows its "update_btn".
//
// The check never holds anything up: connecting and the whole transfer are
// bounded, and a program that closes while the check runs stops it without
// waiting for the network.
//
// A test build run by the test harness checks only when ORBISK_UPDATE_SITE
// names a site ("http://127.0.0.1:8080"): the test's own server, never the
// real one. A program started any other way always asks its own site.
#pragma once

#include "kit/WindowMessages.h"

#include <windows.h>

#include <string>

// Bounds of one check.
const long kUpdateConnectTimeoutMs = 10 * 1000;
const long kUpdateTransferTimeoutMs = 20 * 1000;
// How long stopping waits for the worker to let go of the network.
const DWORD kUpdateStopWaitMs = 1000;

enum class UpdateCheckState {
    Off,           // not started (or not to be made in this run)
    Running,
    Offered,       // a newer version: the main window shows its button
    UpToDate,      // the same version or an older one, or one that cannot be compared
    Unreadable,    // the reply is not the feed
    TooLarge,      // the reply passed FeedReply::kMaxBytes
    HttpError,     // the site answered with an error status
    NoConnection,  // no connection, or no reply within the bounds
    Stopped,       // the program closed first
};
const char* UpdateCheckStateName(UpdateCheckState state);

// The site the check asks: the program's own, or the test's.
std::string UpdateSite();

// Starts the check against the feed at `url` on a thread of its own; the
// end is posted to `notify`. UI thread; a second call while one has started
// does nothing.
void StartUpdateCheck(HWND notify, const std::string& url);
// The check of the program's start, against UpdateSite() (none when the
// site is empty).
void StartUpdateCheck(HWND notify);
// Tells a running check to stop and waits at most kUpdateStopWaitMs for its
// worker. UI thread, before the program ends.
void StopUpdateCheck();
UpdateCheckState GetUpdateCheckState();
// On WM_UPDATE_CHECKED (UI thread): moves what the feed offered into
// g_updateInfo; true when it offers a newer version.
bool TakeUpdateOffer();

// The worker; parameter is the check it runs (owned by the thread).
DWORD WINAPI UpdateCheckThread(LPVOID parameter);
