#include "library/windows/AviListWnd.h"

#include "core/AppPaths.h"
#include "core/CfgDocument.h"
#include "kit/Dialogs.h"
#include "kit/MainWindow.h"
#include "kit/WindowMessages.h"
#include "library/AviFileList.h"
#include "library/VideoFileActions.h"
#include "library/VideoListTexts.h"
#include "library/VideoListThreads.h"
#include "library/windows/MenuVideoList.h"
#include "library/windows/VideoEditorHandOver.h"

#include <shellapi.h>

bool g_bDeletingVideo = false;

namespace {

// WS_OVERLAPPEDWINDOW | WS_VISIBLE; a tool window that takes dropped files.
const DWORD kStyle = 0x10CF0000;
const DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES;

// Sent by the filler with the records (lParam a std::vector<AviFileItem>*,
// its copy): the window makes its rows anew, one WM_LIST_ADD_ITEM each.
const UINT WM_LIST_FILL = 0x8414;
// Posted by the filler once it has ended.
const UINT WM_LIST_FILL_DONE = 0x8416;
// Posted to tell of a file the delete could not remove.
const UINT WM_LIST_DELETE_FAILED = 0x8417;

const int kAnswerYes = 2;

const char* const kRowLabels[] = {"nameLab", "sizeLab", "HwLab", "DuratonLab", "CreateTimeLab",
                                  "TypeLab"};

DWORD WINAPI FillVideoListThread(LPVOID parameter)
{
    HWND window = static_cast<HWND>(parameter);
    while (!g_aviFileList.loaded && !VideoListWorkersStopping() && IsWindow(window)) Sleep(1);
    if (!VideoListWorkersStopping() && IsWindow(window)) {
        // Sent, not posted: the copy lives while the window makes its rows,
        // and it makes them all at once, without a repaint (a relayout of
        // every row made so far) between two of them.
        const std::vector<AviFileItem> items = g_aviFileList.Items();
        SendMessageA(window, WM_LIST_FILL, 0, (LPARAM)&items);
    }
    g_aviFileList.fillIdle = 1;
    PostMessageA(window, WM_LIST_FILL_DONE, 0, 0);
    return 0;
}

bool FolderExists(const std::string& folder)
{
    DWORD a = GetFileAttributesA(folder.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

AviListWnd::AviListWnd(HWND owner, int x, int y)
    : SkinWindow({"avi_list_wnd.xml"}), m_x(x), m_y(y), m_owner(owner)
{
    Create(nullptr, "AviListWnd", kStyle, kExStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
           CW_USEDEFAULT);
    ShowWindow(true, true);
}

void AviListWnd::InitWindow()
{
    SkinWindow::InitWindow();
    SIZE size = m_PaintManager.GetInitSize();
    ::MoveWindow(m_hWnd, m_x, m_y, size.cx, size.cy, FALSE);
    m_pathButton = Find<DuiLib::CButtonUI>("show_path_edit_btn");
    if (m_pathButton) {
        m_pathButton->SetText(GetVideoSaveFolder().c_str());
        m_pathButton->SetToolTip(GetVideoSaveFolder().c_str());
    }
    m_root = Find("root_layout");
}

void AviListWnd::OnWindowInit()
{
    m_list = Find<DuiLib::CListUI>("playlist");
    // A program of lower privilege may drop files on the window.
    for (UINT message : {(UINT)WM_DROPFILES, (UINT)WM_COPYDATA, 0x49u})
        ChangeWindowMessageFilter(message, MSGFLT_ADD);
    g_bDeletingVideo = false;
    SetVideoListWindow(m_hWnd);
    StartVideoFolderWatcher();
    StartFiller();
}

LRESULT AviListWnd::OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    // The workers stop reporting here before the window goes.
    if (GetVideoListWindow() == m_hWnd) SetVideoListWindow(nullptr);
    g_bDeletingVideo = false;
    return SkinWindow::OnDestroy(uMsg, wParam, lParam, bHandled);
}

LRESULT AviListWnd::ResponseDefaultKeyEvent(WPARAM wParam)
{
    // Escape puts the list away as its close button does; it stays alive.
    if (wParam == VK_ESCAPE) {
        ShowWindow(false, false);
        return TRUE;
    }
    return FALSE;
}

LRESULT AviListWnd::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (wParam == VK_DELETE) DeleteSelectedVideo();
    bHandled = FALSE;
    return 0;
}

std::vector<std::string> AviListWnd::RowPaths() const
{
    std::vector<std::string> paths;
    if (!m_list) return paths;
    for (int i = 0; i < m_list->GetCount(); ++i)
        paths.push_back(m_list->GetItemAt(i)->GetUserData().Str());
    return paths;
}

// --- Filling -------------------------------------------------------------------------

void AviListWnd::StartFiller()
{
    int idle = 1;
    if (!g_aviFileList.fillIdle.compare_exchange_strong(idle, 0)) {
        m_refillPending = true;
        return;
    }
    m_refillPending = false;
    if (!StartVideoListWorker(FillVideoListThread, m_hWnd)) g_aviFileList.fillIdle = 1;
}

void AviListWnd::BeginFill()
{
    if (!m_list) return;
    m_keptSelection.clear();
    if (DuiLib::CControlUI* row = m_list->GetItemAt(m_list->GetCurSel()))
        m_keptSelection = row->GetUserData().Str();
    m_list->RemoveAll();
}

void AviListWnd::AddRow(const AviFileItem& item)
{
    if (!m_list) return;
    DuiLib::CControlUI* row =
        m_rowLayoutLoaded ? m_rowBuilder.Create(nullptr, &m_PaintManager)
                          : m_rowBuilder.Create("avi_list_item.xml", nullptr, nullptr, &m_PaintManager);
    m_rowLayoutLoaded = m_rowLayoutLoaded || row != nullptr;
    if (!row) return;
    const VideoListRowTexts t = MakeRowTexts(item);
    const std::string* texts[] = {&t.name, &t.size, &t.resolution, &t.duration, &t.date, &t.type};
    for (size_t i = 0; i < 6; ++i)
        if (DuiLib::CControlUI* label = m_PaintManager.FindSubControlByName(row, kRowLabels[i]))
            label->SetText(texts[i]->c_str());
    if (DuiLib::CControlUI* name = m_PaintManager.FindSubControlByName(row, "nameLab"))
        name->SetToolTip(t.name.c_str());
    // The row knows its file by path, never by a record a rescan replaces.
    row->SetUserData(item.path.c_str());
    m_list->Add(row);
    if (!m_keptSelection.empty() && item.path == m_keptSelection)
        m_list->SelectItem(m_list->GetCount() - 1);
}

// --- Notifications -------------------------------------------------------------------

void AviListWnd::OnNotify(DuiLib::TNotifyUI& msg)
{
    const DuiLib::CDuiString& type = msg.sType;
    const DuiLib::CDuiString name = msg.pSender ? msg.pSender->GetName() : DuiLib::CDuiString();
    AviFileItem item;
    if (type == DUI_MSGTYPE_HEADERCLICK && msg.pSender) {
        OnHeaderClick(msg.pSender->GetText());
    } else if (type == DUI_MSGTYPE_ITEMACTIVATE) {
        if (RowFile(msg.pSender, &item)) OpenImageFile(item);
    } else if (type == DUI_MSGTYPE_MENU && name == "playlist") {
        OpenMenu(msg.ptMouse);
    } else if (type == "menu_Delete") {
        DeleteSelectedVideo();
    } else if (type == "menu_Open" || type == "menu_Open_system") {
        if (SelectedFile(&item))
            ShellExecuteA(nullptr, "open", item.path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    } else if (type == "menu_Copy" || type == "menu_Cut") {
        if (SelectedFile(&item)) CopyVideoFilesToClipboard(m_hWnd, item.path);
    } else if (type == "edit_video") {
        EditSelectedVideo();
    } else if (type == "convert_video") {
        if (SelectedFile(&item)) {
            POINT origin = {0, 0};
            ::ClientToScreen(m_hWnd, &origin);
            if (MainWindow* main = GetMainWindow()) main->OpenFormatConvertWindow(&origin, item.path);
        }
    } else if (type == "menu_file_path") {
        if (SelectedFile(&item)) ShowFileInExplorer(item.path);
    } else if (type == DUI_MSGTYPE_CLICK) {
        if (name == "closebtn") {
            ShowWindow(false, false);
        } else if (name == "minbtn") {
            SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        } else if (name == "open_file_btn") {
            OpenVideoFolder();
        } else if (name == "show_path_edit_btn") {
            ChangeSaveFolder();
        } else if (name == "play_video_btn") {
            if (SelectedFile(&item)) OpenImageFile(item);
        } else if (name == "delete_video_btn") {
            DeleteSelectedVideo();
        }
    }
}

void AviListWnd::OnHeaderClick(const DuiLib::CDuiString& title)
{
    // The rows are being made from the model: a new order waits for them.
    if (!g_aviFileList.fillIdle) return;
    if (title == "大小")
        g_aviFileList.ToggleSort(AviSortKey::Size);
    else if (title == "日期")
        g_aviFileList.ToggleSort(AviSortKey::Time);
    else if (title == "时长" || title == "类型")
        g_aviFileList.ToggleSort(AviSortKey::Duration);
    else
        return;
    StartFiller();
}

bool AviListWnd::RowFile(DuiLib::CControlUI* row, AviFileItem* item) const
{
    if (!row) return false;
    const std::string path = row->GetUserData().Str();
    return !path.empty() && g_aviFileList.Find(path, item);
}

bool AviListWnd::SelectedFile(AviFileItem* item) const
{
    if (!m_list || m_list->GetCurSel() < 0) return false;
    return RowFile(m_list->GetItemAt(m_list->GetCurSel()), item);
}

void AviListWnd::OpenMenu(POINT clientPoint)
{
    if (!m_list) return;
    ::ClientToScreen(m_hWnd, &clientPoint);
    CMenuVideoList::Init(m_list, clientPoint.x, clientPoint.y);
}

// --- Delete --------------------------------------------------------------------------

void AviListWnd::DeleteSelectedVideo()
{
    if (g_bDeletingVideo) return;
    AviFileItem item;
    if (!SelectedFile(&item)) return;
    g_bDeletingVideo = true;
    // The path is taken before asking: whatever the list shows meanwhile
    // (a recording saved while the question is open moves every row), the
    // file deleted is the one the user chose.
    const std::string path = item.path;
    const std::string question = "确定要删除“" + item.name + "”吗？\n文件将从磁盘上删除，无法恢复。";
    const HWND window = m_hWnd;
    int answer = AskQuestion(window, "提示", question, "", "否", "是");
    // A window closed while it asked (the program ending) deletes nothing.
    if (answer != kAnswerYes || !::IsWindow(window) || !StartVideoFileDelete(path))
        g_bDeletingVideo = false;
}

void AviListWnd::OnFileRemoved(DWORD error, const std::string& path)
{
    g_bDeletingVideo = false;
    if (error != 0) {
        // The file stays, and so does its row; the user hears why, after the
        // delete thread has gone on.
        m_deleteFailures.push_back(path);
        PostMessage(WM_LIST_DELETE_FAILED);
        return;
    }
    if (!m_list) return;
    for (int i = 0; i < m_list->GetCount(); ++i) {
        if (path == m_list->GetItemAt(i)->GetUserData().Str()) {
            m_list->RemoveAt(i);
            break;
        }
    }
}

// --- The other actions ---------------------------------------------------------------

void AviListWnd::EditSelectedVideo()
{
    AviFileItem item;
    if (!SelectedFile(&item) || item.kind != kAviKindAvi) return;
    if (HandFileToVideoEditor(item.path)) ShowWindow(false, false);
}

void AviListWnd::ChangeSaveFolder()
{
    const std::string current = GetVideoSaveFolder();
    std::string chosen = current;
    const HWND window = m_hWnd;
    const bool ok = AskFolder(window, current, &chosen);
    if (!::IsWindow(window)) return;  // closed while the dialog was open
    if (ok)
        SetVideoSaveFolder(chosen);
    else if (!FolderExists(current))
        SetVideoSaveFolder(GetDefaultVideoFolder());
    const std::string folder = GetVideoSaveFolder();
    g_cfgDocument.SetCfgVideoSavePath(folder);
    if (m_pathButton) {
        m_pathButton->SetText(folder.c_str());
        m_pathButton->SetToolTip(folder.c_str());
    }
    if (folder != current) RequestVideoListReload();
}

LRESULT AviListWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    bHandled = TRUE;
    switch (uMsg) {
        case WM_LIST_FILL:
            BeginFill();
            for (const AviFileItem& item : *reinterpret_cast<const std::vector<AviFileItem>*>(lParam))
                SendMessage(WM_LIST_ADD_ITEM, 0, (LPARAM)&item);
            return 0;
        case WM_LIST_ADD_ITEM:
            if (lParam) AddRow(*reinterpret_cast<const AviFileItem*>(lParam));
            return 0;
        case WM_LIST_FILL_DONE:
        case WM_VIDEO_LIST_RELOADED:
            if (uMsg == WM_VIDEO_LIST_RELOADED || m_refillPending) StartFiller();
            return 0;
        case WM_LIST_ITEM_REMOVED:
            OnFileRemoved((DWORD)wParam, lParam ? reinterpret_cast<const char*>(lParam) : "");
            return 0;
        case WM_LIST_DELETE_FAILED:
            while (!m_deleteFailures.empty()) {
                const std::string path = m_deleteFailures.front();
                m_deleteFailures.pop_front();
                AskQuestion(m_hWnd, "提示",
                            "无法删除文件：\n" + path + "\n它可能正被其他程序使用，文件仍在原处。",
                            "确定", "", "");
            }
            return 0;
        case WM_DROPFILES: {
            // Dropped files are taken and let go: the list shows the save
            // folder, nothing else.
            HDROP drop = reinterpret_cast<HDROP>(wParam);
            UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
            char name[MAX_PATH];
            for (UINT i = 0; i < count; ++i) DragQueryFileA(drop, i, name, MAX_PATH);
            DragFinish(drop);
            return 0;
        }
        default:
            break;
    }
    bHandled = FALSE;
    return SkinWindow::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}
