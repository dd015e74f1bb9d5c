#include "library/VideoFileActions.h"

#include "core/AppPaths.h"
#include "core/ProgramFolder.h"
#include "core/SystemMessageBox.h"
#include "library/AviFileList.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace {

const char kPlayerMissing[] = "播放器不存在 ";

std::string Quoted(const std::string& s)
{
    return "\"" + s + "\"";
}

bool IsPictureType(const std::string& type)
{
    return type == "png" || type == "bmp" || type == "jpg" || type == "jpeg";
}

}  // namespace

std::string CompanionPlayerPath()
{
    return GetProgramFolder() + "\\VintraPlayer.exe";
}

std::string PlayerCommandLine(const std::string& player, const std::string& file)
{
    // The player reads its own path as argv[0]; a file path with blanks
    // stays one argument.
    return Quoted(player) + " " + Quoted(file);
}

bool PlayVideoFile(const std::string& path)
{
    const std::string player = CompanionPlayerPath();
    std::string commandLine = PlayerCommandLine(player, path);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(player.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
        ShowSystemMessageBox(nullptr, kPlayerMissing, "提示", MB_OK | MB_ICONWARNING);
        return false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

void OpenImageFile(const AviFileItem& item)
{
    if (!IsPictureType(item.type)) {
        PlayVideoFile(item.path);
        return;
    }
    OpenPictureFile(item.path);
}

void OpenPictureFile(const std::string& path)
{
    HINSTANCE r = ShellExecuteA(nullptr, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if ((INT_PTR)r <= 32)
        ShellExecuteA(nullptr, "open", "mspaint.exe", Quoted(path).c_str(), nullptr, SW_SHOWNORMAL);
}

std::string ExplorerSelectParameters(const std::string& path)
{
    return "/select," + Quoted(path);
}

void ShowFileInExplorer(const std::string& path)
{
    const std::string parameters = ExplorerSelectParameters(path);
    SHELLEXECUTEINFOA sei = {};
    sei.cbSize = sizeof sei;
    sei.lpVerb = "open";
    sei.lpFile = "explorer";
    sei.lpParameters = parameters.c_str();
    sei.nShow = SW_SHOWDEFAULT;
    ShellExecuteExA(&sei);
}

std::vector<unsigned char> BuildDropFiles(const std::vector<std::string>& paths)
{
    size_t sum = 0;
    for (const std::string& p : paths) sum += p.size() + 1;
    std::vector<unsigned char> block(((sum + 22) / 32 + 1) * 32, 0);
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = FALSE;
    memcpy(block.data(), &header, sizeof header);
    size_t at = sizeof(DROPFILES);
    for (const std::string& p : paths) {
        memcpy(&block[at], p.c_str(), p.size() + 1);
        at += p.size() + 1;
    }
    // The list's closing NUL is already there: the block starts zeroed.
    return block;
}

bool CopyVideoFilesToClipboard(HWND owner, const std::string& path)
{
    const std::vector<unsigned char> block = BuildDropFiles({path});
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    bool copied = false;
    if (HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, block.size())) {
        if (void* p = GlobalLock(h)) {
            memcpy(p, block.data(), block.size());
            GlobalUnlock(h);
            copied = SetClipboardData(CF_HDROP, h) != nullptr;
        }
        if (!copied) GlobalFree(h);  // the clipboard owns it only once it took it
    }
    CloseClipboard();
    return copied;
}

void OpenVideoFolder()
{
    std::string folder = GetVideoSaveFolder();
    if (folder.empty()) {
        folder = GetDefaultVideoFolder();
        SetVideoSaveFolder(folder);
    }
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryA(folder.c_str(), nullptr);
    ShellExecuteA(nullptr, "explore", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
