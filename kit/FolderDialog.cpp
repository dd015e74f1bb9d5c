#include "kit/FolderDialog.h"

namespace {

const size_t kStatusChars = 35;

}  // namespace

CFolderDialog::CFolderDialog(const char* initialFolder, const char*, void*)
    : m_initialFolder(initialFolder ? initialFolder : "")
{
    m_browseInfo.hwndOwner = nullptr;
    m_browseInfo.pidlRoot = nullptr;
    m_browseInfo.pszDisplayName = m_displayName;
    m_browseInfo.lpszTitle = "修改保存视频路径";
    m_browseInfo.ulFlags = BIF_STATUSTEXT;
    m_browseInfo.lpfn = BrowseCallback;
    m_browseInfo.lParam = reinterpret_cast<LPARAM>(this);
    m_browseInfo.iImage = 0;
}

std::string CFolderDialog::ShortenPath(const std::string& path)
{
    if (path.size() <= kStatusChars) return path;
    // Cut between characters: a double-byte character the 35th byte would
    // split is left out whole.
    size_t keep = 0;
    while (keep < kStatusChars) {
        size_t step = IsDBCSLeadByte((BYTE)path[keep]) && keep + 1 < path.size() ? 2 : 1;
        if (keep + step > kStatusChars) break;
        keep += step;
    }
    return path.substr(0, keep) + "...";
}

int CFolderDialog::DoModal()
{
    m_chosenFolder = m_initialFolder;
    LPITEMIDLIST item = ::SHBrowseForFolderA(&m_browseInfo);
    if (!item) return IDCANCEL;
    int result = IDCANCEL;
    if (::SHGetPathFromIDListA(item, m_path)) {
        m_chosenFolder = m_path;
        result = IDOK;
    }
    ::CoTaskMemFree(item);
    return result;
}

int CALLBACK CFolderDialog::BrowseCallback(HWND dialog, UINT message, LPARAM parameter,
                                           LPARAM self)
{
    auto* me = reinterpret_cast<CFolderDialog*>(self);
    return me ? me->OnBrowseMessage(dialog, message, parameter) : 0;
}

int CFolderDialog::OnBrowseMessage(HWND dialog, UINT message, LPARAM parameter)
{
    m_dialog = dialog;
    if (message == BFFM_INITIALIZED)
        OnInitialized();
    else if (message == BFFM_SELCHANGED)
        OnSelChanged(reinterpret_cast<LPITEMIDLIST>(parameter));
    return 0;
}

void CFolderDialog::OnInitialized()
{
    if (!m_initialFolder.empty())
        ::SendMessageA(m_dialog, BFFM_SETSELECTIONA, TRUE, (LPARAM)m_initialFolder.c_str());
    std::string status = ShortenPath(m_initialFolder);
    ::SendMessageA(m_dialog, BFFM_SETSTATUSTEXTA, 0, (LPARAM)status.c_str());
}

void CFolderDialog::OnSelChanged(LPITEMIDLIST item)
{
    // A virtual item (the computer itself) has no path: the status shows
    // the last folder that had one.
    if (item && ::SHGetPathFromIDListA(item, m_path)) m_chosenFolder = m_path;
    std::string status = ShortenPath(m_chosenFolder);
    ::SendMessageA(m_dialog, BFFM_SETSTATUSTEXTA, 0, (LPARAM)status.c_str());
}
