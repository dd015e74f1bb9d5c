// VideoEditingWindow: the video editor. It previews one AVI file
// (library/DShowPlayer.h, into a child window over its top area), shows a
// painted timeline with a play marker and a selection the user drags, and
// cuts the selection out or keeps only it, one step at a time, with undo,
// redo and saving the result next to the first file
// (library/EditHistory.h, EditPlan.h, EditWorker.h hold that logic).
//
// A play-time thread ticks while the preview plays; it only posts to the
// window, which moves the marker. It is stopped and waited for before the
// player goes. A running step is cancelled and waited for when the window
// closes.
//
// UI thread only.
#pragma once

#include "kit/SkinWindow.h"
#include "core/UniqueHandle.h"
#include "library/EditPlan.h"
#include "library/EditTimeline.h"

#include <memory>

class CDShowPlayer;
class EditWorker;

// 1 once the editor's window has closed (0 while one is open).
extern bool g_bVideoEditClosed;

class VideoEditingWindow : public SkinWindow {
public:
    // Opens on g_strEditCurrentFile (nothing plays when it is empty).
    explicit VideoEditingWindow(HWND owner);

    // (Re)opens the current step in a new player and plays it.
    void LoadEditFile();
    void PaintTimeline();
    // Asks whether to save unsaved steps: 2 nothing to save, 0 saved,
    // 1 not saved (the steps are dropped), -1 cancelled (or the save failed).
    int PromptSaveEditedVideo();
    // Whether the window may close now (asks about unsaved steps once).
    bool MayClose();

protected:
    ~VideoEditingWindow() override;
    LPCSTR GetWindowClassName() const override { return "VideoEditingWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void OnEnded() override;

private:
    static DWORD WINAPI PlayTimeThread(void* self);
    static LRESULT CALLBACK PreviewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    void OnPlayTick();
    void OnMouseDown(POINT pt);
    void OnMouseMove(POINT pt);
    void OnMouseUp(POINT pt);
    bool OnSetCursor();
    void ShowRangeControls(bool show);
    void ShowRangeTimes();
    void PlaceVideo();
    void SetMarkerX(int x);
    double MsAtX(double x) const;

    void PlayAll();
    void PlaySelection();
    void PauseVideo();
    void ResumeVideo();
    void StepStart(int direction);
    void StepEnd(int direction);
    void StartEdit(EditKind kind);
    void OnEditDone();
    void OnEditProgress(int stage);
    void Undo();
    void Redo();
    // Copies the current step next to the first file; false when it failed
    // (the user was told, the steps are kept).
    bool SaveEdited(bool reload);
    void OpenFile();
    void Teardown();
    bool Busy() const;
    void Tell(const std::string& text);
    bool AnswerProbe(UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_owner;
    HWND m_preview = nullptr;
    EditTimeline m_timeline;
    TimelineSelection m_sel;
    RECT m_marker = {0, 0, 0, 0};
    bool m_menuFlag = false;
    POINT m_anchor = {0, 0};
    CDShowPlayer* m_player = nullptr;
    bool m_dragMarker = false;
    bool m_dragNew = false;
    bool m_dragLeft = false;
    bool m_dragRight = false;
    bool m_moved = false;
    bool m_buttonDown = false;
    bool m_playWhole = true;
    bool m_playSelection = false;
    bool m_paused = false;
    double m_startStep = 0;
    double m_endStep = 0;
    bool m_closeAsked = false;
    bool m_cleanupOnClose = false;
    bool m_tornDown = false;

    DuiLib::CControlUI* m_root = nullptr;
    DuiLib::CControlUI* m_operationBar = nullptr;
    DuiLib::CControlUI* m_scale = nullptr;
    DuiLib::CControlUI* m_cover = nullptr;

    orbisk::UniqueHandle m_playEvent;
    orbisk::UniqueHandle m_stopEvent;
    orbisk::UniqueHandle m_playThread;
    LONG m_tickQueued = 0;
    std::unique_ptr<EditWorker> m_worker;
};
