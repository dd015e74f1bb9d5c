// The camera preview: a small, resizable, always-on-top window showing the
// first camera's picture, so that a recording of the screen holds it too.
// While the mouse moves over it a caption bar (minimise, close) shows for
// at least two seconds and the picture moves below it. Without a camera,
// or with one that cannot be opened, the window says so.
//
// UI thread only.
#pragma once

#include "kit/SkinWindow.h"
#include "recorder/windows/CameraPreview.h"
#include "recorder/windows/VmrCapture.h"

class CameraWnd : public SkinWindow {
public:
    // Creates and shows the window with its top-left corner at `at`. The
    // main window opens it, but it is nobody's owned window: it stays on
    // the screen (and in the recording) while the main window is minimised.
    CameraWnd(HWND mainWindow, POINT at);

    const CVMR_Capture& Capture() const { return m_capture; }
    bool CaptionShown() const { return m_caption.Shown(); }

    // The texts shown instead of a picture.
    static const char* const kNoCameraText;
    static const char* const kCameraFailedText;

protected:
    LPCSTR GetWindowClassName() const override { return "CameraWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    ~CameraWnd() override = default;  // deletes itself on its final message
    void OnCaptionTimer();
    // Puts the picture where the caption bar leaves it room, and keeps the
    // UI library from painting over it.
    void PlacePicture();

    HWND m_hMainWnd;
    int m_x;
    int m_y;
    CVMR_Capture m_capture;
    DuiLib::CControlUI* m_pRoot = nullptr;
    DuiLib::CControlUI* m_pCaptionBar = nullptr;
    CameraCaption m_caption;
};
