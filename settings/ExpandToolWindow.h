// ExpandToolWindow: the settings window of the main window's "expand_btn".
// It shows the settings as the configuration holds them and writes nothing
// until the user changes one; each change is kept and applied at once
// (settings/SettingsChoices.h). The recording settings cannot change under a
// running recording: their combos follow the recording events.
#pragma once

#include "kit/SkinWindow.h"

class ExpandToolWindow : public SkinWindow {
public:
    // Creates and shows the window with its top-left corner at (x, y).
    ExpandToolWindow(HWND parent, int x, int y);

protected:
    LPCSTR GetWindowClassName() const override { return "ExpandToolWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void OnRecordingFailed(const std::string& text) override;

private:
    void OnItemSelect(DuiLib::CControlUI& sender, int index);
    void OnSelectChanged(DuiLib::CControlUI& sender);
    // Enabled exactly while no recording runs.
    void FollowRecording();
    void Select(DuiLib::CComboUI* combo, int index);

    int m_x;
    int m_y;
    // Set once the controls show the settings: their own selection events
    // until then are not the user's.
    bool m_initialised = false;

    DuiLib::CTabLayoutUI* m_pTabs = nullptr;
    DuiLib::CComboUI* m_pCountdown = nullptr;
    DuiLib::CComboUI* m_pImageType = nullptr;
    DuiLib::CComboUI* m_pFrameRate = nullptr;
    DuiLib::CComboUI* m_pCodec = nullptr;
    DuiLib::CComboUI* m_pQuality = nullptr;
    DuiLib::CComboUI* m_pRecMode = nullptr;
    DuiLib::CCheckBoxUI* m_pHideFloatWnd = nullptr;
    DuiLib::CCheckBoxUI* m_pAutoStart = nullptr;
    DuiLib::CCheckBoxUI* m_pMainTopmost = nullptr;
    DuiLib::CControlUI* m_pRecordingNote = nullptr;
};
