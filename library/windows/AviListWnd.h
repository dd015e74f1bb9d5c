// AviListWnd: the list of the recordings and screenshots in the save
// folder (the main window's "video_file_btn"). Its rows come from the
// model (library/AviFileList.h) through its filler; each row keeps the full
// path of its file, and every action looks the file up by that path, so a
// rescan under an open question never makes it act on another file.
// Closing only hides it; the main window shows it again.
#pragma once

#include "kit/SkinWindow.h"

#include <deque>
#include <string>

struct AviFileItem;

// A delete is under way (asked, or its thread running): another one waits
// until it has ended.
extern bool g_bDeletingVideo;

class AviListWnd : public SkinWindow {
public:
    // Creates and shows the window with its top-left corner at (x, y).
    AviListWnd(HWND owner, int x, int y);

    // The paths of the rows in the order shown (tests).
    std::vector<std::string> RowPaths() const;

protected:
    LPCSTR GetWindowClassName() const override { return "AviListWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;

private:
    // The filler: a thread that hands the model's records to the window one
    // by one; another reload while it runs fills again after it.
    void StartFiller();
    void BeginFill();
    void AddRow(const AviFileItem& item);

    void OnHeaderClick(const DuiLib::CDuiString& title);
    // The file of the selected row; false without a selection, or when its
    // file has left the model meanwhile.
    bool SelectedFile(AviFileItem* item) const;
    bool RowFile(DuiLib::CControlUI* row, AviFileItem* item) const;
    void OpenMenu(POINT clientPoint);
    void DeleteSelectedVideo();
    void OnFileRemoved(DWORD error, const std::string& path);
    void EditSelectedVideo();
    void ChangeSaveFolder();

    int m_x;
    int m_y;
    HWND m_owner;
    DuiLib::CListUI* m_list = nullptr;
    DuiLib::CControlUI* m_root = nullptr;
    DuiLib::CButtonUI* m_pathButton = nullptr;
    DuiLib::CDialogBuilder m_rowBuilder;
    bool m_rowLayoutLoaded = false;

    bool m_refillPending = false;
    // The selected file, selected again when the rows are made anew.
    std::string m_keptSelection;
    std::deque<std::string> m_deleteFailures;
};
