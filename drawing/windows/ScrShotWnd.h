// The region screenshot: the full-screen selector on the capture frame
// (the frozen desktop kept for cropping), the tool bar below the selection
// once it is made, and the editor laid over it as soon as a tool is chosen.
// Finishing saves a PNG in the save folder: the editor's picture (frozen
// desktop and shapes) when there is one, else the plain selection. A save
// that fails is told to the user and leaves everything open, so nothing
// made is lost.
//
// One selector at a time (GetScrShotWnd); the main window creates its
// native window. UI thread only.
#pragma once

#include "drawing/windows/ShotCanvasContainer.h"

#include <string>

class ShotScreenToolWnd;
class CaptureEditWnd;

class CScrShotWnd : public CCaptureFrameWnd {
public:
    CScrShotWnd();

    void ShowToolWindow();
    void CloseToolWindow();
    // The editor over the canvas; the selection no longer moves.
    void EnsureEditWindow();
    void CloseEditWindow();
    ShotScreenToolWnd* GetToolWindow() const { return m_pToolWnd; }
    CaptureEditWnd* GetEditWindow() const { return m_pEditWnd; }

    // The canvas of the frozen desktop as a new PNG of the save folder; the
    // file's name in *path. False when it could not be written.
    bool SaveSelectionAsPng(std::string* path);
    // Saves what the user made; on success the screenshot ends (the tool
    // bar, the editor and the selector close) and, when asked, the main
    // window shows the save notice. On failure the user reads why and
    // everything stays. Returns whether the file was written.
    bool FinishScreenshot(bool notice);
    // Tells the user that the picture could not be saved as `path`.
    void ReportSaveFailure(const std::string& path);

    // The tool bar and the editor tell the selector when they are gone.
    void ForgetToolWindow(ShotScreenToolWnd* tool);
    void ForgetEditWindow(CaptureEditWnd* edit);

protected:
    DuiLib::CDuiString GetSkinFile() const override { return "ScrShot.xml"; }
    DuiLib::IDialogBuilderCallback* GetBuilderCallback() override { return &m_callback; }
    void AppendMenuItems(HMENU menu) override;
    void OnConfirm() override;
    void OnSelectionMade() override { ShowToolWindow(); }
    void CloseCompanionWindows() override;
    bool KeepsDesktopBitmap() const override { return true; }
    void OnFrameDestroyed() override;

private:
    ~CScrShotWnd() override = default;  // deletes itself on its final message

    CDialogBuilderCallbackEx m_callback{this};
    ShotScreenToolWnd* m_pToolWnd = nullptr;
    CaptureEditWnd* m_pEditWnd = nullptr;
};

// The open selector, else a new object (without its window yet).
CScrShotWnd* GetScrShotWnd();

// The save notice's kind for a screenshot (WM_SHOW_SAVE_NOTICE's wParam).
const WPARAM kScreenshotNotice = 1;
