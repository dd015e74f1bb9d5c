// The small window of the whiteboard's presentation button: converts a new
// presentation (on a thread of its own) or picks one converted earlier.
// It closes when it loses the focus, unless its file dialog is open.
//
// UI thread only; the object deletes itself with its window.
#pragma once

#include "kit/SkinWindow.h"

#include <string>

class CWhiteboardWnd;

class OpenPPTWindow : public SkinWindow {
public:
    // Opens it top-most at (x, y) for the whiteboard and keeps it in
    // g_pOpenPptWnd.
    static OpenPPTWindow* Open(CWhiteboardWnd* owner, int x, int y);

protected:
    LPCSTR GetWindowClassName() const override { return "OpenPPTWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    void OnEnded() override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    OpenPPTWindow(CWhiteboardWnd* owner, int x, int y);
    ~OpenPPTWindow() override = default;

    void ChooseFile();

    CWhiteboardWnd* m_pOwner;
    POINT m_ptOpen;
    DuiLib::CListUI* m_pList = nullptr;
    bool m_bDialogOpen = false;
};

extern OpenPPTWindow* g_pOpenPptWnd;

// Converts the presentation file on a thread of its own; the whiteboard is
// told when it ends (WM_PPT_LOADED).
void StartPptConversion(const std::string& file);
// Waits for the conversions still running (the program is ending).
void WaitForPptConversions(DWORD timeoutMs);
