#include "settings/UserSkinStore.h"

#include "core/ProgramFolder.h"
#include "kit/MainWindow.h"

#include <cstdio>

UserSkinStore g_userSkinStore;
std::string g_strUserSkinImage;
int g_nUserSkinImageWidth = 0;
int g_nUserSkinImageHeight = 0;

namespace {

bool IsFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void UserSkinStore::EnsureDirectories(const std::string& programFolder)
{
    const std::string root = programFolder.empty() ? GetProgramFolder() : programFolder;
    const std::string res = root + "\\res";
    ::CreateDirectoryA(res.c_str(), nullptr);
    m_directory = res + "\\skin";
    ::CreateDirectoryA(m_directory.c_str(), nullptr);
}

std::string UserSkinStore::GetSkinFilePath(const std::string& name) const
{
    return m_directory + "\\" + name;
}

bool UserSkinStore::LoadCurrent(CfgDocument& doc)
{
    if (doc.GetCfgSelectSkinIsUserImg()) {
        std::string name;
        doc.GetCfgSelectSkin(&name);
        m_currentName = name;
        m_currentPath = GetSkinFilePath(name);
        if (!name.empty() && IsFile(m_currentPath)) return true;
    }
    m_currentName.clear();
    m_currentPath.clear();
    return false;
}

bool UserSkinStore::CompareSkinFileTime(const Record& a, const Record& b)
{
    const LONG order = ::CompareFileTime(&a.created, &b.created);
    if (order != 0) return order == 1;
    return a.name > b.name;
}

void UserSkinStore::Refresh(CfgDocument& doc)
{
    const bool userSkin = LoadCurrent(doc);
    m_skins.clear();
    const std::string pattern = m_directory + "\\*.*";
    if (pattern.size() >= MAX_PATH) return;
    Record current{};
    bool currentFound = false;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            Record record{found.cFileName, found.ftCreationTime, std::string()};
            if (userSkin && lstrcmpiA(found.cFileName, m_currentName.c_str()) == 0) {
                current = record;
                currentFound = true;
                continue;
            }
            m_skins.push_back(record);
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    m_skins.sort(CompareSkinFileTime);
    if (currentFound) m_skins.push_front(current);
}

std::string UserSkinStore::NameAt(size_t index) const
{
    for (const Record& record : m_skins)
        if (index-- == 0) return record.name;
    return std::string();
}

std::string UserSkinStore::PathAt(size_t index) const
{
    const std::string name = NameAt(index);
    return name.empty() ? std::string() : GetSkinFilePath(name);
}

std::string UserSkinStore::MakeNewSkinPath(const SYSTEMTIME& at) const
{
    char name[32];
    snprintf(name, sizeof name, "%04d%02d%02d_%02d%02d_%02d.png", at.wYear, at.wMonth, at.wDay,
             at.wHour, at.wMinute, at.wSecond);
    return GetSkinFilePath(name);
}

std::string UserSkinStore::MakeNewSkinPath() const
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return MakeNewSkinPath(now);
}

void UserSkinStore::ApplySkin(const std::string& path, CfgDocument& doc)
{
    if (!IsFile(path)) return;
    const size_t slash = path.find_last_of('\\');
    doc.SetCfgSelectSkin(slash == std::string::npos ? path : path.substr(slash + 1), true);
    if (MainWindow* main = GetMainWindow()) {
        // Current as well as shown: windows opened later ask for it.
        main->SetSkinBackgroundFile(path.c_str());
        main->ApplySkinToWindows(path.c_str());
    }
}

const char kUnsafePictureName[] = "图片路径中含有单引号(')，且无法复制到临时文件夹，请换一张图片。";

bool UsableSkinPicture(const std::string& path, std::string* usable)
{
    if (path.find('\'') == std::string::npos) {
        *usable = path;
        return true;
    }
    char temp[MAX_PATH] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return false;
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('\\');
    const std::string extension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash) ? path.substr(dot)
                                                                                : std::string();
    const std::string copy = std::string(temp) + "orbisk_user_skin_source" + extension;
    // The temporary folder itself may hold the quote.
    if (copy.find('\'') != std::string::npos) return false;
    if (!::CopyFileA(path.c_str(), copy.c_str(), FALSE)) return false;
    *usable = copy;
    return true;
}
