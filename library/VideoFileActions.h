// What the video library does with one of its files outside its windows:
// play it in the companion player, open a picture, show it selected in
// Explorer, put it on the clipboard as a file drop, open the save folder.
// The list window, the save notice and the floating bar's menu share them.
//
// UI thread (they may show a message box).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct AviFileItem;

// The companion player, "VintraPlayer.exe" in the program folder.
std::string CompanionPlayerPath();
// The player's command line: its own path quoted, then the file quoted.
std::string PlayerCommandLine(const std::string& player, const std::string& file);
// Starts the companion player on the file; when there is none, says so
// ("播放器不存在 ") and returns false.
bool PlayVideoFile(const std::string& path);
// Pictures ("png", "bmp", "jpg", "jpeg") in the shell's viewer (Paint when
// nothing opens them), everything else in the companion player.
void OpenImageFile(const AviFileItem& item);
// A picture in the shell's viewer, or in Paint when nothing opens it.
void OpenPictureFile(const std::string& path);

// Explorer's parameters that open the file's folder with the file selected.
std::string ExplorerSelectParameters(const std::string& path);
void ShowFileInExplorer(const std::string& path);

// The CF_HDROP block of the paths (ANSI): a DROPFILES header, each path
// with its NUL, one more NUL, zeros up to the next multiple of 32 above.
std::vector<unsigned char> BuildDropFiles(const std::vector<std::string>& paths);
// Puts the file on the clipboard as a file drop; false when the clipboard
// could not be opened (another program holds it) or nothing was copied.
bool CopyVideoFilesToClipboard(HWND owner, const std::string& path);

// Opens the save folder in the shell (made first when it is missing; the
// default folder when none is set).
void OpenVideoFolder();
