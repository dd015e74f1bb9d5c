// The shell's folder-browse dialog: opens at a folder, shows the shortened
// path of the current choice in its status line while the user browses,
// and gives back the chosen folder. Windows ask through AskFolder
// (kit/Dialogs.h), which tests can answer.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <string>

class CFolderDialog {
public:
    // Null or empty: no folder to open at.
    explicit CFolderDialog(const char* initialFolder, const char* unused1 = nullptr,
                           void* unused2 = nullptr);
    virtual ~CFolderDialog() = default;

    // IDOK (1) when a folder with a path was chosen, else IDCANCEL (2).
    virtual int DoModal();
    std::string GetFolderPath() const { return m_chosenFolder; }

    // A path longer than 35 characters (bytes): its first 35 and "...",
    // never half of a double-byte character.
    static std::string ShortenPath(const std::string& path);

protected:
    virtual void OnInitialized();
    virtual void OnSelChanged(LPITEMIDLIST item);
    virtual int OnBrowseMessage(HWND dialog, UINT message, LPARAM parameter);

private:
    static int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM parameter, LPARAM self);

    BROWSEINFOA m_browseInfo = {};
    std::string m_initialFolder;
    std::string m_chosenFolder;
    char m_displayName[MAX_PATH] = {};
    char m_path[MAX_PATH] = {};
    HWND m_dialog = nullptr;
};
