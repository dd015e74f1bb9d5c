// The crop window that makes a user skin from a picture (g_strUserSkinImage):
// the picture fills a window fitted to the screen, a fixed 550 x 150 box
// is moved over it, Ctrl+wheel zooms, and a double click (or "保存") saves
// what the box holds as a new user skin, which becomes current at once.
// A member of the capture frame (drawing/windows/CaptureFrameWnd.h).
#pragma once

#include "drawing/windows/CaptureFrameWnd.h"

#include <string>

// The crop window's box: moved from anywhere on it, never resized.
class CSelectSkinContainerUI : public CCanvasContainerUI {
public:
    explicit CSelectSkinContainerUI(CanvasSelectionHost* host = nullptr)
        : CCanvasContainerUI(host)
    {
    }
    LPCSTR GetClass() const override { return "CSelectSkinContainerUI"; }
    LPVOID GetInterface(LPCSTR pstrName) override;
    void DoEvent(DuiLib::TEventUI& event) override;
};

class CDialogBuilderCallbackSelectUserSkin
    : public CaptureFrameBuilderCallback<CSelectSkinContainerUI> {
public:
    explicit CDialogBuilderCallbackSelectUserSkin(CanvasSelectionHost* host)
        : CaptureFrameBuilderCallback<CSelectSkinContainerUI>("SelectSkinContainer", host)
    {
    }
};

class CSelectUserSkinWnd : public CCaptureFrameWnd {
public:
    static const UINT kCmdSave = 158;

    CSelectUserSkinWnd();
    ~CSelectUserSkinWnd() override;

    SIZE ShownSize() const { return m_shown; }

protected:
    LPCSTR GetWindowClassName() const override { return "CSelectUserSkinWnd"; }
    DuiLib::CDuiString GetSkinFile() const override { return "select_user_skin_wnd.xml"; }
    DuiLib::IDialogBuilderCallback* GetBuilderCallback() override { return &m_callback; }
    void AppendMenuItems(HMENU menu) override;
    void OnConfirm() override;
    void OnMenuCommand(UINT id) override;
    bool PicksByCursor() const override { return false; }
    RECT ChooseFrameRect(const RECT& desktop) override;
    bool OnFrameCreated() override;
    LRESULT HandleFrameMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnFrameDestroyed() override;

private:
    void ShowPicture();
    void Zoom(bool wheelDown);
    void OnSaved(bool ok, const std::string& path);

    CDialogBuilderCallbackSelectUserSkin m_callback{this};
    SIZE m_shown = {0, 0};
    SIZE m_largest = {0, 0};
    DuiLib::CControlUI* m_pCover = nullptr;
    bool m_saving = false;
};

// The open crop window, or a new one (without its native window yet).
CSelectUserSkinWnd* GetSelectUserSkinWnd();
// Opens the crop window for g_strUserSkinImage, or brings the open one
// forward.
void OpenSelectUserSkinWnd();
