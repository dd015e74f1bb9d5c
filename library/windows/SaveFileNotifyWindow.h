// SaveFileNotifyWindow: the notice in the bottom-right corner of the screen
// after a recording or a screenshot was saved. It names the file and offers
// to show it in Explorer, open it, open it with the system's default
// program, convert it or edit it, and holds the setting that plays a
// recording once it is saved. Its life on the screen (fade in, hold, fade
// out, held under the mouse) is library/NoticeFade.h.
#pragma once

#include "kit/SkinWindow.h"
#include "library/NoticeFade.h"

#include <string>

class SaveFileNotifyWindow : public SkinWindow, private NoticeFadeHost {
public:
    enum Kind { kVideo = 0, kPicture = 1 };

    // (x, y): the screen position of its top-left corner. The file is the
    // current video (kind 0) or screenshot (kind 1) as the notice opens.
    SaveFileNotifyWindow(HWND parent, int x, int y, int kind);

    const std::string& file() const { return m_file; }

protected:
    LPCSTR GetWindowClassName() const override { return "SaveFileNotifyWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    void StartTimer(int id, unsigned periodMs) override;
    void StopTimer(int id) override;
    void ApplyOpacity(int opacity) override;
    void CloseNotice() override;
    bool IsMouseOver() const override;
    unsigned long NowMs() const override { return GetTickCount(); }

    POINT TopLeft() const;

    int m_x;
    int m_y;
    int m_kind;
    std::string m_file;
    bool m_initialised = false;
    NoticeFade m_fade;
    DuiLib::CCheckBoxUI* m_autoOpen = nullptr;
};
