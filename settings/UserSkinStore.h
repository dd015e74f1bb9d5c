// The user's own skins: PNG files in the program folder's "res\skin", the
// current one first and the others newest first, and the current skin the
// configuration names. Built and refreshed at start-up and after every
// change. UI thread only (it reads and writes the configuration).
#pragma once

#include "core/CfgDocument.h"

#include <windows.h>

#include <list>
#include <string>

class UserSkinStore {
public:
    struct Record {
        std::string name;
        FILETIME created;
        std::string spare;  // unused, kept empty
    };

    // Creates "res" and "res\skin" below the folder (the program folder by
    // default) when missing; the skin directory is the latter.
    void EnsureDirectories(const std::string& programFolder = std::string());
    const std::string& Directory() const { return m_directory; }
    std::string GetSkinFilePath(const std::string& name) const;

    // The current skin from the configuration, then every file of the skin
    // directory: the current user skin first, the others newest first.
    void Refresh(CfgDocument& doc = g_cfgDocument);
    // True when the configuration names a user skin whose file exists; the
    // current name is emptied otherwise.
    bool LoadCurrent(CfgDocument& doc = g_cfgDocument);

    const std::list<Record>& Skins() const { return m_skins; }
    const std::string& CurrentName() const { return m_currentName; }
    const std::string& CurrentPath() const { return m_currentPath; }
    // The record at a place of the list (0 the front); "" past the end.
    std::string NameAt(size_t index) const;
    std::string PathAt(size_t index) const;

    // "<skin directory>\YYYYMMDD_HHMM_SS.png" of the local time (or the
    // time given).
    std::string MakeNewSkinPath() const;
    std::string MakeNewSkinPath(const SYSTEMTIME& at) const;

    // A user skin file becomes the current skin: stored in the
    // configuration and worn by the main window and every window that
    // follows it, the open ones now and the ones opened later. Nothing
    // happens when the file does not exist.
    void ApplySkin(const std::string& path, CfgDocument& doc = g_cfgDocument);

    // a goes before b: it was created later (names decide between equal
    // times, later names first, so the order is the same on every run).
    static bool CompareSkinFileTime(const Record& a, const Record& b);

private:
    std::string m_directory;
    std::list<Record> m_skins;
    std::string m_currentName;
    std::string m_currentPath;
};

extern UserSkinStore g_userSkinStore;

// The skin image the user chose for a new user skin, and its size in
// pixels (set when the file is chosen).
extern std::string g_strUserSkinImage;
extern int g_nUserSkinImageWidth;
extern int g_nUserSkinImageHeight;

// The skin's image strings quote their file with ' : a picture whose path
// holds one is copied to the temporary folder under a name without it, and
// the copy is used. *usable gets the path to use; false when the copy could
// not be made (then kUnsafePictureName tells the user).
bool UsableSkinPicture(const std::string& path, std::string* usable);
extern const char kUnsafePictureName[];
