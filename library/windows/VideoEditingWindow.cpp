#include "library/windows/VideoEditingWindow.h"

#include "core/StringConv.h"
#include "core/SystemMessageBox.h"
#include "kit/Dialogs.h"
#include "kit/WindowMessages.h"
#include "kit/WindowTable.h"
#include "library/DShowPlayer.h"
#include "library/EditHistory.h"
#include "library/EditWorker.h"
#include "library/EditorFile.h"
#include "library/windows/VideoEditMenuWnd.h"
#include "platform/TestHooks.h"
#include "platform/ui/UIProbeProtocol.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

bool g_bVideoEditClosed = false;

namespace {

// WS_OVERLAPPEDWINDOW | WS_VISIBLE, and the preview child kept out of the
// library's painting.
const DWORD kStyle = 0x10CF0000 | WS_CLIPCHILDREN;
const DWORD kExStyle = 0x20000;

// The editor's own messages (besides WM_EDIT_RELOAD and WM_EDIT_PROGRESS).
const UINT WM_EDIT_DONE = 0x8413;   // the running step has ended
const UINT WM_PLAY_TICK = 0x8415;   // the play-time thread's 50 ms tick

const DWORD kTickMs = 50;
const int kHitSlop = 10;
const int kVideoBottom = 175;

const char kPreviewClass[] = "VideoEditPreview";
const char kProbeMessage[] = "OrbiskVideoEditorProbe";

const char* const kRangeControls[] = {"star_back_btn", "star_cut_time",  "star_forwoard_btn",
                                      "interval_btn",  "end_back_btn",   "end_cut_time",
                                      "end_forwoard_btn"};

const char* const kStageTexts[] = {
    "为了保证编辑的精度，整个过程可能需要几分钟时间，正在提取第一段视频 %s  %s",
    "为了保证编辑的精度，整个过程可能需要几分钟时间，正在提取第二段视频 %s  %s",
    "为了保证编辑的精度，整个过程可能需要几分钟时间，马上完成，最后的合并 %s  %s",
};
const char kCoverText[] = "正在剪切，请稍后...";
const char kSaveFailed[] = "保存失败，编辑后的视频仍在编辑器中：\n";

bool FileExistsA(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SetVisible(DuiLib::CControlUI* c, bool show)
{
    if (c) c->SetVisible(show);
}

void Put(std::string& out, const char* key, const std::string& value)
{
    out.append(key);
    out.push_back('\0');
    out.append(value);
    out.push_back('\0');
}

}  // namespace

VideoEditingWindow::VideoEditingWindow(HWND owner)
    : SkinWindow({"video_editing_wnd.xml"}), m_owner(owner)
{
    g_editHistory.Reset(g_strEditCurrentFile);
    Create(nullptr, "视频剪辑", kStyle, kExStyle, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600);
    ShowWindow(true, true);
}

VideoEditingWindow::~VideoEditingWindow() = default;

void VideoEditingWindow::InitWindow()
{
    SkinWindow::InitWindow();
    m_operationBar = Find("operation_bar");
    m_scale = Find("scale_ctl");
    m_cover = Find("cover");
    g_bVideoEditClosed = false;
    SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow();
    SetVisible(Find("resume_video_btn"), false);
    SetVisible(m_cover, false);

    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PreviewProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kPreviewClass;
        registered = RegisterClassA(&wc) != 0;
    }
    m_preview = CreateWindowExA(0, kPreviewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                                1, 1, m_hWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(m_preview, GWLP_USERDATA, (LONG_PTR)this);

    m_worker.reset(new EditWorker(m_hWnd, WM_EDIT_PROGRESS, WM_EDIT_DONE));
    m_playEvent.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_stopEvent.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_sel.Clear();
    m_playWhole = true;
    m_playSelection = false;
    m_paused = false;
    m_startStep = m_endStep = 0;
    m_playThread.Reset(CreateThread(nullptr, 0, PlayTimeThread, this, 0, nullptr));
    PlaceVideo();
}

void VideoEditingWindow::OnWindowInit()
{
    m_root = Find("root_layout");
    LoadEditFile();
}

// --- Player and timeline ------------------------------------------------------------------

void VideoEditingWindow::LoadEditFile()
{
    m_sel.Clear();
    m_startStep = m_endStep = 0;
    ResetEvent(m_playEvent.Get());
    if (m_player) {
        delete m_player;  // stops and releases its graph
        m_player = nullptr;
    }
    m_player = new CDShowPlayer(m_hWnd, m_preview);
    ShowRangeControls(false);
    SetRectEmpty(&m_marker);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    if (g_strEditCurrentFile.empty()) {
        SetVisible(Find("current_play_time"), false);
        m_timeline.Layout(rc.right, rc.bottom, 0);
        PaintTimeline();
        return;
    }
    const std::wstring wide = AnsiToWide(g_strEditCurrentFile);
    double duration = 0;
    if (SUCCEEDED(m_player->Open(wide.c_str()))) duration = (double)m_player->Duration();
    // A graph that cannot tell its length: the file's own header can.
    if (duration <= 0 && FileExistsA(g_strEditCurrentFile))
        duration = ReadAviVideoLengthMs(g_strEditCurrentFile);
    m_timeline.Layout(rc.right, rc.bottom, duration);
    SetEvent(m_playEvent.Get());
    SetVisible(Find("resume_video_btn"), false);
    SetVisible(Find("pause_video_btn"), true);
    m_player->Play();
    m_playWhole = true;
    m_playSelection = false;
    m_paused = false;
    PlaceVideo();
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void VideoEditingWindow::PlaceVideo()
{
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    m_timeline.Layout(rc.right, rc.bottom, m_timeline.DurationMs());
    if (m_preview) {
        MoveWindow(m_preview, rc.left + 1, rc.top + 25, std::max(0L, rc.right - 2),
                   std::max(0L, rc.bottom - kVideoBottom - 25), TRUE);
        if (m_player) m_player->SetVideoRect(nullptr);
    }
    if (!IsRectEmpty(&m_marker)) {
        m_marker.top = m_timeline.Track().top;
        m_marker.bottom = m_timeline.Track().bottom;
    }
}

LRESULT VideoEditingWindow::OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    LRESULT r = SkinWindow::OnSize(uMsg, wParam, lParam, bHandled);
    if (wParam != SIZE_MINIMIZED) PlaceVideo();
    return r;
}

LRESULT CALLBACK VideoEditingWindow::PreviewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<VideoEditingWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (self && self->m_player && self->m_player->HasVideo())
            self->m_player->Repaint(dc);
        else
            FillRect(dc, &ps.rcPaint, (HBRUSH)GetStockObject(BLACK_BRUSH));
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

double VideoEditingWindow::MsAtX(double x) const
{
    return m_timeline.MsAt(x);
}

void VideoEditingWindow::SetMarkerX(int x)
{
    const RECT& t = m_timeline.Track();
    m_marker = {x - 1, t.top, x + 1, t.bottom};
}

void VideoEditingWindow::PaintTimeline()
{
    if (!m_hWnd || !IsWindow(m_hWnd) || IsIconic(m_hWnd)) return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    m_timeline.Layout(client.right, client.bottom, m_timeline.DurationMs());
    const RECT ruler = m_timeline.Ruler();
    const RECT track = m_timeline.Track();
    const int bw = client.right - 10;
    const int bh = ruler.bottom - ruler.top;
    if (bw <= 0 || bh <= 0) return;

    HDC dc = GetDC(m_hWnd);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, bw, bh);
    HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
    SetViewportOrgEx(mem, -ruler.left, -ruler.top, nullptr);

    HBRUSH grey = CreateSolidBrush(0xAFAFAF);
    FillRect(mem, &ruler, grey);
    DeleteObject(grey);
    FillRect(mem, &track, (HBRUSH)GetStockObject(BLACK_BRUSH));

    HPEN tickPen = CreatePen(PS_SOLID, 1, 0xA0A0A0);
    HGDIOBJ oldPen = SelectObject(mem, tickPen);
    HFONT font = CreateFontA(10, 0, 0, 0, 500, FALSE, FALSE, FALSE, 0, 1, 2, 0, 0x22, "宋体");
    HGDIOBJ oldFont = SelectObject(mem, font);
    SetTextColor(mem, RGB(255, 255, 255));
    SetBkMode(mem, TRANSPARENT);

    const double stepMs = m_timeline.TickStepMs();
    const double painted = m_timeline.DurationMs() > 0 ? m_timeline.DurationMs() : 10000.0;
    const int usable = m_timeline.Usable();
    const double s = usable > 0 ? stepMs / (painted / usable) : usable + 1.0;
    int n = 0;
    for (double p = 0; usable > 0 && p <= usable; p += s, ++n) {
        const int x = (int)std::floor(p + 0.5);
        const int X = m_timeline.Left() + x;
        MoveToEx(mem, X, track.top, nullptr);
        LineTo(mem, X, track.top + 20);
        MoveToEx(mem, X, track.bottom, nullptr);
        LineTo(mem, X, track.bottom - 20);
        const std::string label = EditTimeline::TickLabel(n, stepMs);
        TextOutA(mem, x - 4 + track.left, track.top + 20, label.c_str(), (int)label.size());
        for (int k = 1; k <= 3; ++k) {
            const double mx = p + k * s / 4;
            if (mx > usable) break;
            const int MX = m_timeline.Left() + (int)std::floor(mx + 0.5);
            MoveToEx(mem, MX, track.top, nullptr);
            LineTo(mem, MX, track.top + 10);
            MoveToEx(mem, MX, track.bottom, nullptr);
            LineTo(mem, MX, track.bottom - 10);
        }
    }
    const int middle = (track.top + track.bottom) / 2;
    RECT bar = {m_timeline.Left(), middle - 3, m_timeline.Left() + usable, middle + 3};
    HBRUSH barBrush = CreateSolidBrush(0x525252);
    FillRect(mem, &bar, barBrush);
    DeleteObject(barBrush);

    if (IsRectEmpty(&m_marker)) {
        SetMarkerX(m_timeline.Left() + 1);
        m_marker.left = m_timeline.Left();
        m_marker.right = m_marker.left + 2;
    }
    if (m_marker.right > m_timeline.Right()) {
        m_marker.right = m_timeline.Right();
        m_marker.left = m_marker.right - 2;
    }
    if (m_marker.left < m_timeline.Left()) {
        m_marker.left = m_timeline.Left();
        m_marker.right = m_marker.left + 2;
    }
    HBRUSH red = CreateSolidBrush(0x0000FF);
    FillRect(mem, &m_marker, red);
    DeleteObject(red);

    if (!m_sel.Empty()) {
        HPEN green = CreatePen(PS_SOLID, 2, 0x64C800);
        SelectObject(mem, green);
        HGDIOBJ oldBrush = SelectObject(mem, GetStockObject(NULL_BRUSH));
        Rectangle(mem, std::min(m_sel.left, m_sel.right), track.top, std::max(m_sel.left, m_sel.right),
                  track.bottom);
        SelectObject(mem, oldBrush);
        SelectObject(mem, tickPen);
        DeleteObject(green);
    }
    SelectObject(mem, oldFont);
    SelectObject(mem, oldPen);
    DeleteObject(font);
    DeleteObject(tickPen);

    SetViewportOrgEx(mem, 0, 0, nullptr);
    BitBlt(dc, ruler.left, ruler.top, bw, bh, mem, 0, 0, SRCCOPY);
    SelectObject(mem, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(m_hWnd, dc);
}

// --- Play-time thread ------------------------------------------------------------------

DWORD WINAPI VideoEditingWindow::PlayTimeThread(void* param)
{
    auto* self = static_cast<VideoEditingWindow*>(param);
    HANDLE waits[2] = {self->m_stopEvent.Get(), self->m_playEvent.Get()};
    for (;;) {
        DWORD w = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (w != WAIT_OBJECT_0 + 1) return 0;
        // One tick at a time: a busy window does not get a queue of them.
        if (InterlockedCompareExchange(&self->m_tickQueued, 1, 0) == 0)
            ::PostMessageA(self->m_hWnd, WM_PLAY_TICK, 0, 0);
        if (WaitForSingleObject(self->m_stopEvent.Get(), kTickMs) == WAIT_OBJECT_0) return 0;
    }
}

void VideoEditingWindow::OnPlayTick()
{
    InterlockedExchange(&m_tickQueued, 0);
    if (!m_player || m_player->GetState() == CDShowPlayer::kNoGraph) return;
    if (WaitForSingleObject(m_playEvent.Get(), 0) != WAIT_OBJECT_0) return;
    SetVisible(Find("current_play_time"), true);
    int64_t position = m_player->Position();
    const double mpp = m_timeline.MsPerPixel();
    const int x = mpp > 0 ? m_timeline.Left() + (int)(position / mpp) : m_timeline.Left();
    if (m_playSelection && !m_sel.Empty()) {
        if (m_sel.right < m_marker.right + 2 && m_marker.right != 0) {
            SetMarkerX(m_sel.left + 1);
            m_marker.left = m_sel.left;
            m_marker.right = m_sel.left + 2;
            position = (int64_t)MsAtX(m_sel.left);
            m_player->Seek(position);
            ResetEvent(m_playEvent.Get());
            if (m_player->GetState() == CDShowPlayer::kRunning) m_player->Pause();
            m_paused = true;
            SetVisible(Find("resume_video_btn"), true);
            SetVisible(Find("pause_video_btn"), false);
        } else {
            m_marker = {x, m_timeline.Track().top, x + 2, m_timeline.Track().bottom};
        }
    } else if (m_playWhole) {
        m_marker = {x, m_timeline.Track().top, x + 2, m_timeline.Track().bottom};
    }
    if (auto* label = Find("current_play_time")) label->SetText(FormatMsAsHms((double)position).c_str());
    PaintTimeline();
}

// --- Mouse on the timeline ------------------------------------------------------------------

LRESULT VideoEditingWindow::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!m_tornDown) {
        BOOL handled = FALSE;
        switch (uMsg) {
            case WM_LBUTTONDOWN:
                OnMouseDown({(short)LOWORD(lParam), (short)HIWORD(lParam)});
                break;
            case WM_MOUSEMOVE:
                OnMouseMove({(short)LOWORD(lParam), (short)HIWORD(lParam)});
                break;
            case WM_LBUTTONUP:
                OnMouseUp({(short)LOWORD(lParam), (short)HIWORD(lParam)});
                break;
            case WM_SETCURSOR:
                if (LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE;
                break;
            case WM_CLOSE:
                if (!m_closeAsked && !MayClose()) return 0;
                Teardown();
                break;
            default:
                break;
        }
        (void)handled;
    }
    LRESULT r = SkinWindow::HandleMessage(uMsg, wParam, lParam);
    if (uMsg == WM_PAINT && !m_tornDown) PaintTimeline();
    return r;
}

bool VideoEditingWindow::Busy() const
{
    return m_worker && m_worker->Running();
}

void VideoEditingWindow::OnMouseDown(POINT pt)
{
    if (Busy()) return;
    m_buttonDown = true;
    m_dragMarker = m_dragNew = m_dragLeft = m_dragRight = false;
    RECT markerHit = m_marker;
    InflateRect(&markerHit, kHitSlop, 0);
    if (!IsRectEmpty(&m_marker) && PtInRect(&markerHit, pt) && m_timeline.InTrack(pt)) {
        m_dragMarker = true;
        ResetEvent(m_playEvent.Get());
        if (m_player && m_player->GetState() == CDShowPlayer::kRunning) m_player->Pause();
    } else if (!m_sel.Empty() && m_timeline.InTrack(pt) && std::abs(pt.x - m_sel.left) <= kHitSlop) {
        m_dragLeft = true;
    } else if (!m_sel.Empty() && m_timeline.InTrack(pt) && std::abs(pt.x - m_sel.right) <= kHitSlop) {
        m_dragRight = true;
    } else if (m_timeline.InTrack(pt)) {
        m_dragNew = true;
        m_anchor = {m_timeline.ClampX(pt.x), pt.y};
    } else {
        m_buttonDown = false;
        return;
    }
    SetCapture(m_hWnd);
}

bool VideoEditingWindow::OnSetCursor()
{
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(m_hWnd, &pt);
    if (!m_timeline.InTrack(pt) && !m_buttonDown) return false;
    RECT markerHit = m_marker;
    InflateRect(&markerHit, kHitSlop, 0);
    if (m_dragMarker || (!IsRectEmpty(&m_marker) && PtInRect(&markerHit, pt))) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return true;
    }
    if (m_dragLeft || m_dragRight ||
        (!m_sel.Empty() && (std::abs(pt.x - m_sel.left) <= kHitSlop || std::abs(pt.x - m_sel.right) <= kHitSlop))) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return true;
    }
    return false;
}

void VideoEditingWindow::OnMouseMove(POINT pt)
{
    if (!m_buttonDown) return;
    const int x = m_timeline.ClampX(pt.x);
    if (m_dragMarker) {
        SetMarkerX(x);
        SetVisible(Find("current_play_time"), true);
        if (auto* label = Find("current_play_time")) label->SetText(FormatMsAsHms(MsAtX(x)).c_str());
    } else if (m_dragLeft) {
        m_sel.left = x;
        m_startStep = x;
    } else if (m_dragRight) {
        m_sel.right = x;
        m_endStep = x;
    } else if (m_dragNew) {
        if (m_menuFlag) {
            m_menuFlag = false;
        } else {
            m_sel.left = m_anchor.x;
            m_sel.right = x;
        }
    }
    if ((m_dragLeft || m_dragRight || m_dragNew) && !m_sel.Empty() && m_timeline.DurationMs() > 0) {
        m_startStep = std::min(m_sel.left, m_sel.right);
        m_endStep = std::max(m_sel.left, m_sel.right);
        ShowRangeTimes();
        ShowRangeControls(true);
    }
    m_moved = true;
    PaintTimeline();
}

void VideoEditingWindow::OnMouseUp(POINT pt)
{
    if (!m_buttonDown) return;
    ReleaseCapture();
    if (m_dragMarker && m_player) {
        // The marker stays on the track: a release beyond either end plays
        // from that end.
        const int x = m_timeline.ClampX(pt.x);
        SetMarkerX(x);
        const int64_t at = (int64_t)MsAtX(x);
        m_player->Seek(at);
        const bool inSelection = !m_sel.Empty() && x >= m_sel.left && x <= m_sel.right;
        if (pt.x > m_timeline.Right()) {
            if (m_player->GetState() == CDShowPlayer::kRunning) m_player->Pause();
        } else if (!m_playSelection) {
            if (m_paused) {
                if (m_player->GetState() == CDShowPlayer::kRunning) m_player->Pause();
            } else {
                m_player->Play();
                SetEvent(m_playEvent.Get());
            }
        } else if (!inSelection) {
            if (m_player->GetState() == CDShowPlayer::kRunning) m_player->Pause();
        } else if (!m_paused) {
            m_player->Play();
            SetEvent(m_playEvent.Get());
        }
    }
    m_sel.Normalize();
    if (m_sel.Empty()) {
        m_startStep = m_endStep = 0;
    } else {
        m_startStep = m_sel.left;
        m_endStep = m_sel.right;
    }
    m_dragMarker = m_dragNew = m_dragLeft = m_dragRight = false;
    m_moved = false;
    m_buttonDown = false;
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    PaintTimeline();
    if (!m_sel.Empty() && m_timeline.DurationMs() > 0) {
        ShowRangeTimes();
        ShowRangeControls(true);
    } else {
        ShowRangeControls(false);
    }
}

void VideoEditingWindow::ShowRangeControls(bool show)
{
    for (const char* name : kRangeControls) SetVisible(Find(name), show);
}

void VideoEditingWindow::ShowRangeTimes()
{
    if (auto* start = Find("star_cut_time")) start->SetText(FormatMsAsHms(MsAtX(m_startStep)).c_str());
    if (auto* end = Find("end_cut_time")) end->SetText(FormatMsAsHms(MsAtX(m_endStep)).c_str());
}

// --- Commands ------------------------------------------------------------------

void VideoEditingWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    const DuiLib::CDuiString& type = msg.sType;
    const std::string name = msg.pSender ? msg.pSender->GetName().Str() : "";
    if (type == "menu" && name == "scale_ctl") {
        POINT client = msg.ptMouse;
        if (!Busy() && !m_sel.Empty() && m_timeline.InTrack(client) && client.x >= m_sel.left &&
            client.x <= m_sel.right) {
            POINT screen = client;
            ClientToScreen(m_hWnd, &screen);
            if (CVideoEditMenuWnd::Init(m_scale, screen)) m_menuFlag = true;
        }
        return;
    }
    if (type == "play_select") return PlaySelection();
    if (type == "remove_select") return StartEdit(EditKind::Cut);
    if (type == "save_select") return StartEdit(EditKind::Keep);
    if (type == "cancle_select") {
        m_sel.Clear();
        m_startStep = m_endStep = 0;
        ShowRangeControls(false);
        PaintTimeline();
        return;
    }
    if (type != DUI_MSGTYPE_CLICK) return;
    if (name == "closebtn") {
        // This window's own flag: an editor that replaced another one must
        // not read the other's closing.
        if (!m_tornDown && MayClose()) Close(IDOK);
        return;
    }
    if (name == "minbtn") {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    }
    if (Busy()) return;
    if (name == "play_btn") PlayAll();
    else if (name == "select_play_btn") PlaySelection();
    else if (name == "pause_video_btn") PauseVideo();
    else if (name == "resume_video_btn") ResumeVideo();
    else if (name == "cut_video_btn") StartEdit(EditKind::Cut);
    else if (name == "retain_video_btn") StartEdit(EditKind::Keep);
    else if (name == "undo_btn") Undo();
    else if (name == "do_btn") Redo();
    else if (name == "save_btn") SaveEdited(true);
    else if (name == "open_file_btn") OpenFile();
    else if (name == "star_back_btn") StepStart(-1);
    else if (name == "star_forwoard_btn") StepStart(+1);
    else if (name == "end_back_btn") StepEnd(-1);
    else if (name == "end_forwoard_btn") StepEnd(+1);
}

void VideoEditingWindow::PlayAll()
{
    if (!m_player || m_player->GetState() == CDShowPlayer::kNoGraph) return;
    SetMarkerX(m_timeline.Left() + 1);
    m_player->Seek(0);
    if (m_player->GetState() != CDShowPlayer::kRunning) m_player->Play();
    m_playWhole = true;
    m_playSelection = false;
    m_paused = false;
    SetEvent(m_playEvent.Get());
    SetVisible(Find("resume_video_btn"), false);
    SetVisible(Find("pause_video_btn"), true);
}

void VideoEditingWindow::PlaySelection()
{
    if (m_sel.Empty() || !m_player || m_player->GetState() == CDShowPlayer::kNoGraph) return;
    ResetEvent(m_playEvent.Get());
    m_marker = {m_sel.left, m_timeline.Track().top, m_sel.left + 2, m_timeline.Track().bottom};
    m_player->Seek((int64_t)MsAtX(m_sel.left));
    if (m_player->GetState() != CDShowPlayer::kRunning) m_player->Play();
    m_playWhole = false;
    m_playSelection = true;
    m_paused = false;
    SetEvent(m_playEvent.Get());
    SetVisible(Find("resume_video_btn"), false);
    SetVisible(Find("pause_video_btn"), true);
}

void VideoEditingWindow::PauseVideo()
{
    ResetEvent(m_playEvent.Get());
    if (m_player) m_player->Pause();
    m_paused = true;
    SetVisible(Find("resume_video_btn"), true);
    SetVisible(Find("pause_video_btn"), false);
}

void VideoEditingWindow::ResumeVideo()
{
    if (!m_player || m_player->GetState() == CDShowPlayer::kNoGraph) return;
    int64_t position = m_player->Position();
    if (m_playSelection && !m_sel.Empty() && (m_marker.left < m_sel.left || m_marker.right > m_sel.right)) {
        m_marker = {m_sel.left, m_timeline.Track().top, m_sel.left + 2, m_timeline.Track().bottom};
        position = (int64_t)MsAtX(m_sel.left);
    }
    m_player->Seek(position);
    m_player->Play();
    SetEvent(m_playEvent.Get());
    m_paused = false;
    SetVisible(Find("resume_video_btn"), false);
    SetVisible(Find("pause_video_btn"), true);
}

// One click moves an edge by one second of the video, whatever the track's
// scale, and the label shows where it went.
void VideoEditingWindow::StepStart(int direction)
{
    const double mpp = m_timeline.MsPerPixel();
    if (m_sel.Empty() || mpp <= 0) return;
    if (m_startStep == 0) m_startStep = m_sel.left;
    double next = m_startStep + direction * 1000.0 / mpp;
    next = std::max<double>(next, m_timeline.Left());
    const double limit = (m_endStep ? m_endStep : m_sel.right) - 1000.0 / mpp;
    if (direction > 0 && next > limit) next = std::max(m_startStep, limit);
    m_startStep = next;
    m_sel.left = (int)std::floor(next + 0.5);
    ShowRangeTimes();
    PaintTimeline();
}

void VideoEditingWindow::StepEnd(int direction)
{
    const double mpp = m_timeline.MsPerPixel();
    if (m_sel.Empty() || mpp <= 0) return;
    if (m_endStep == 0) m_endStep = m_sel.right;
    double next = m_endStep + direction * 1000.0 / mpp;
    next = std::min<double>(next, m_timeline.Right());
    const double limit = (m_startStep ? m_startStep : m_sel.left) + 1000.0 / mpp;
    if (direction < 0 && next < limit) next = std::min(m_endStep, limit);
    m_endStep = next;
    m_sel.right = (int)std::floor(next + 0.5);
    ShowRangeTimes();
    PaintTimeline();
}

void VideoEditingWindow::Tell(const std::string& text)
{
    ShowSystemMessageBox(m_hWnd, text, "提示", MB_OK | MB_ICONINFORMATION);
}

void VideoEditingWindow::StartEdit(EditKind kind)
{
    if (m_sel.Empty() || Busy() || g_editHistory.Current().empty()) return;
    EditRange range;
    range.startMs = MsAtX(m_startStep ? m_startStep : m_sel.left);
    range.endMs = MsAtX(m_endStep ? m_endStep : m_sel.right);
    range.durationMs = m_timeline.DurationMs();
    const std::string why = CheckEditRange(kind, range);
    if (!why.empty()) {
        Tell(why);
        return;
    }
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    CreateDirectoryA(EditTempRoot(temp).c_str(), nullptr);
    const std::string folder = EditWorkFolder(temp, g_editHistory.First());
    CreateDirectoryA(folder.c_str(), nullptr);
    const EditPlan plan =
        PlanEdit(kind, g_editHistory.Current(), folder, g_editHistory.NextStepNumber(), range);

    ResetEvent(m_playEvent.Get());
    if (m_player && m_player->GetState() == CDShowPlayer::kRunning) m_player->Pause();
    if (m_cover) {
        m_cover->SetText(kCoverText);
        m_cover->SetVisible(true);
    }
    ::ShowWindow(m_preview, SW_HIDE);
    if (!m_worker->Start(plan)) {
        SetVisible(m_cover, false);
        ::ShowWindow(m_preview, SW_SHOW);
        Tell("视频剪辑失败，视频没有改变。");
    }
}

void VideoEditingWindow::OnEditProgress(int stage)
{
    if (!m_cover || stage < 1 || stage > 3 || !Busy()) return;
    std::string bitrate, percent;
    m_worker->ProgressTexts(&bitrate, &percent);
    char text[260];
    snprintf(text, sizeof text, kStageTexts[stage - 1], bitrate.c_str(), percent.c_str());
    m_cover->SetText(text);
}

void VideoEditingWindow::OnEditDone()
{
    // A later step already running owns the worker's outcome now.
    if (m_worker->Running()) return;
    m_worker->Wait(INFINITE);
    const EditOutcome outcome = m_worker->TakeOutcome();
    if (!outcome.fresh) return;
    SetVisible(m_cover, false);
    ::ShowWindow(m_preview, SW_SHOW);
    if (outcome.ok) {
        g_editHistory.Append(outcome.output);
        g_strEditCurrentFile = g_editHistory.Current();
        LoadEditFile();
        return;
    }
    if (!outcome.cancelled && !outcome.error.empty()) Tell(outcome.error);
    PaintTimeline();
}

void VideoEditingWindow::Undo()
{
    if (!g_editHistory.Undo()) return;
    g_strEditCurrentFile = g_editHistory.Current();
    PostMessage(WM_EDIT_RELOAD);
}

void VideoEditingWindow::Redo()
{
    if (!g_editHistory.Redo()) return;
    g_strEditCurrentFile = g_editHistory.Current();
    PostMessage(WM_EDIT_RELOAD);
}

bool VideoEditingWindow::SaveEdited(bool reload)
{
    if (g_editHistory.Count() <= 1 || g_editHistory.Index() < 1) return true;
    const std::string output = SavedEditPath(g_editHistory.First(), FileExistsA);
    // Never over another file: the name was free a moment ago, and a file
    // that turned up since stays as it is.
    if (!CopyFileA(g_editHistory.Current().c_str(), output.c_str(), TRUE)) {
        Tell(kSaveFailed + output);
        return false;
    }
    g_strEditCurrentFile = output;
    g_editHistory.Reset(output);
    if (reload) {
        // The steps' files are let go of before their folders are removed.
        LoadEditFile();
        StartEditCleanup();
    } else {
        m_cleanupOnClose = true;
    }
    return true;
}

int VideoEditingWindow::PromptSaveEditedVideo()
{
    if (!g_editHistory.HasEdits()) return 2;
    const int answer =
        AskQuestion(m_hWnd, "提示", "您要保存编辑后的视频文件吗？", "是", "否", "取消");
    if (answer == 0) return SaveEdited(false) ? 0 : -1;
    if (answer == 1) {
        g_editHistory.Clear();
        m_cleanupOnClose = true;
        return 1;
    }
    return -1;
}

bool VideoEditingWindow::MayClose()
{
    if (m_closeAsked) return true;
    if (PromptSaveEditedVideo() == -1) return false;
    m_closeAsked = true;
    return true;
}

void VideoEditingWindow::OpenFile()
{
    std::string path;
    if (!AskOpenFile(m_hWnd, "AVI Files(*.avi)\0*.avi;\0\0", &path)) return;
    // Unsaved steps of the file open now are not dropped unasked.
    if (PromptSaveEditedVideo() == -1) return;
    g_editHistory.Reset(path);
    g_strEditCurrentFile = path;
    LoadEditFile();
    if (m_cleanupOnClose) {
        m_cleanupOnClose = false;
        StartEditCleanup();
    }
    PaintTimeline();
}

// --- Messages ------------------------------------------------------------------

LRESULT VideoEditingWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                BOOL& bHandled)
{
    bHandled = TRUE;
    switch (uMsg) {
        case WM_EDIT_RELOAD:
            if (!m_tornDown) {
                LoadEditFile();
                PaintTimeline();
            }
            return 0;
        case WM_EDIT_PROGRESS:
            OnEditProgress((int)wParam);
            return 0;
        case WM_EDIT_DONE:
            if (!m_tornDown) OnEditDone();
            return 0;
        case WM_PLAY_TICK:
            if (!m_tornDown) OnPlayTick();
            return 0;
        case WM_GRAPH_EVENT:
            if (m_player && m_player->DrainEvents() && m_player->GetState() == CDShowPlayer::kRunning) {
                // At the end the preview rests on the last picture.
                ResetEvent(m_playEvent.Get());
                m_player->Pause();
                m_paused = true;
                SetVisible(Find("resume_video_btn"), true);
                SetVisible(Find("pause_video_btn"), false);
            }
            return 0;
        default:
            break;
    }
    if (TestHooksOn() && AnswerProbe(uMsg, wParam, lParam)) return 1;
    bHandled = FALSE;
    return 0;
}

bool VideoEditingWindow::AnswerProbe(UINT uMsg, WPARAM wParam, LPARAM)
{
    static const UINT probe = RegisterWindowMessageA(kProbeMessage);
    if (uMsg != probe) return false;
    std::string out;
    char number[64];
    snprintf(number, sizeof number, "%.0f", m_timeline.DurationMs());
    Put(out, "duration", number);
    Put(out, "position", std::to_string(m_player ? m_player->Position() : 0));
    Put(out, "state", std::to_string(m_player ? m_player->GetState() : 0));
    Put(out, "video", m_player && m_player->HasVideo() ? "1" : "0");
    Put(out, "busy", Busy() ? "1" : "0");
    Put(out, "current", g_strEditCurrentFile);
    Put(out, "index", std::to_string(g_editHistory.Index()));
    Put(out, "count", std::to_string(g_editHistory.Count()));
    std::string entries;
    for (const std::string& e : g_editHistory.Entries()) entries += e + "|";
    Put(out, "entries", entries);
    const RECT& t = m_timeline.Track();
    Put(out, "track", std::to_string(t.left) + "," + std::to_string(t.top) + "," +
                          std::to_string(t.right) + "," + std::to_string(t.bottom));
    snprintf(number, sizeof number, "%.4f", m_timeline.MsPerPixel());
    Put(out, "mpp", number);
    Put(out, "selection", std::to_string(m_sel.left) + "," + std::to_string(m_sel.right));
    Put(out, "marker", std::to_string(m_marker.left));
    HWND reply = reinterpret_cast<HWND>(wParam);
    if (IsWindow(reply)) {
        COPYDATASTRUCT cds = {};
        cds.dwData = orbisk_ui_probe::kUiProbeReplyTag;
        cds.cbData = (DWORD)out.size();
        cds.lpData = &out[0];
        ::SendMessageA(reply, WM_COPYDATA, (WPARAM)m_hWnd, (LPARAM)&cds);
    }
    return true;
}

// The thread goes before the player it reads, and a running step before
// the window it reports to.
void VideoEditingWindow::Teardown()
{
    if (m_tornDown) return;
    m_tornDown = true;
    g_bVideoEditClosed = true;
    SetEvent(m_stopEvent.Get());
    if (m_playThread) WaitForSingleObject(m_playThread.Get(), INFINITE);
    m_playThread.Reset();
    m_worker.reset();
    delete m_player;
    m_player = nullptr;
    if (m_cleanupOnClose) StartEditCleanup();
}

void VideoEditingWindow::OnEnded()
{
    Teardown();
}
