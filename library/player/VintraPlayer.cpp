// VintraPlayer.exe, the companion player the video list and the save notice
// start: one window that plays the file named on its command line, with a
// play/pause button, a position bar to seek with and the time played.
// It plays through the same DirectShow player as the editor's preview.
#include "library/DShowPlayer.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

const wchar_t kClass[] = L"VintraPlayerWnd";
const wchar_t kVideoClass[] = L"VintraPlayerVideo";
const int kPlayButton = 1;
const int kBar = 2;
const int kTime = 3;
const UINT_PTR kTickTimer = 1;
const int kBarHeight = 30;
// The position bar counts tenths of a second.
const int kBarUnitMs = 100;

struct Player {
    HWND window = nullptr;
    HWND video = nullptr;
    HWND button = nullptr;
    HWND bar = nullptr;
    HWND time = nullptr;
    CDShowPlayer* player = nullptr;
    bool ended = false;
    bool dragging = false;
};
Player g;

std::wstring Hms(long long ms)
{
    long long s = ms > 0 ? ms / 1000 : 0;
    wchar_t text[32];
    swprintf(text, 32, L"%02lld:%02lld:%02lld", s / 3600, (s / 60) % 60, s % 60);
    return text;
}

void ShowState()
{
    const bool running = g.player->GetState() == CDShowPlayer::kRunning && !g.ended;
    SetWindowTextW(g.button, running ? L"\u6682\u505c" : L"\u64ad\u653e");  // 暂停 / 播放
    const long long position = g.player->Position();
    if (!g.dragging) SendMessageW(g.bar, TBM_SETPOS, TRUE, (LPARAM)(position / kBarUnitMs));
    SetWindowTextW(g.time, (Hms(position) + L" / " + Hms(g.player->Duration())).c_str());
}

void Layout()
{
    RECT rc;
    GetClientRect(g.window, &rc);
    const int w = rc.right, h = rc.bottom;
    MoveWindow(g.video, 0, 0, w, h - kBarHeight, TRUE);
    MoveWindow(g.button, 4, h - kBarHeight + 3, 60, kBarHeight - 6, TRUE);
    MoveWindow(g.bar, 70, h - kBarHeight + 3, w - 70 - 150, kBarHeight - 6, TRUE);
    MoveWindow(g.time, w - 146, h - kBarHeight + 7, 142, kBarHeight - 10, TRUE);
    g.player->SetVideoRect(nullptr);
}

void TogglePlay()
{
    if (g.player->GetState() == CDShowPlayer::kRunning && !g.ended) {
        g.player->Pause();
    } else {
        if (g.ended) {
            g.player->Seek(0);
            g.ended = false;
        }
        if (g.player->GetState() == CDShowPlayer::kRunning) g.player->Pause();
        g.player->Play();
    }
    ShowState();
}

LRESULT CALLBACK VideoProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (g.player && g.player->HasVideo())
            g.player->Repaint(dc);
        else
            FillRect(dc, &ps.rcPaint, (HBRUSH)GetStockObject(BLACK_BRUSH));
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_LBUTTONUP) {
        TogglePlay();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_SIZE:
            if (g.player) Layout();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kPlayButton) TogglePlay();
            return 0;
        case WM_HSCROLL:
            if ((HWND)lp == g.bar) {
                const int code = LOWORD(wp);
                g.dragging = code == TB_THUMBTRACK;
                if (code != TB_ENDTRACK) {
                    const LRESULT pos = SendMessageW(g.bar, TBM_GETPOS, 0, 0);
                    g.player->Seek((int64_t)pos * kBarUnitMs);
                    g.ended = false;
                }
            }
            return 0;
        case WM_TIMER:
            if (wp == kTickTimer) ShowState();
            return 0;
        case WM_GRAPH_EVENT:
            if (g.player->DrainEvents()) {
                g.ended = true;
                g.player->Pause();
                ShowState();
            }
            return 0;
        case WM_DISPLAYCHANGE:
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd, kTickTimer);
            g.player->Release();
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring file = argc > 1 ? argv[1] : L"";
    LocalFree(argv);

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    WNDCLASSEXW wc = {sizeof wc};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    RegisterClassExW(&wc);
    WNDCLASSEXW vc = {sizeof vc};
    vc.lpfnWndProc = VideoProc;
    vc.hInstance = instance;
    vc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    vc.lpszClassName = kVideoClass;
    RegisterClassExW(&vc);

    const size_t slash = file.find_last_of(L"\\/");
    const std::wstring title =
        L"VintraPlayer - " + (slash == std::wstring::npos ? file : file.substr(slash + 1));
    g.window = CreateWindowExW(0, kClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               CW_USEDEFAULT, CW_USEDEFAULT, 800, 520, nullptr, nullptr, instance,
                               nullptr);
    g.video = CreateWindowExW(0, kVideoClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, g.window,
                              nullptr, instance, nullptr);
    g.button = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 10,
                               10, g.window, (HMENU)(INT_PTR)kPlayButton, instance, nullptr);
    g.bar = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_NOTICKS, 0, 0, 10,
                            10, g.window, (HMENU)(INT_PTR)kBar, instance, nullptr);
    g.time = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_RIGHT, 0, 0, 10, 10,
                             g.window, (HMENU)(INT_PTR)kTime, instance, nullptr);
    if (!g.window) return 1;
    CDShowPlayer player(g.window, g.video);
    g.player = &player;

    HRESULT hr = file.empty() ? E_INVALIDARG : player.Open(file.c_str());
    if (FAILED(hr)) {
        wchar_t text[MAX_PATH + 64];
        // 无法播放文件
        swprintf(text, MAX_PATH + 64, L"\u65e0\u6cd5\u64ad\u653e\u6587\u4ef6\n%ls", file.c_str());
        MessageBoxW(g.window, text, L"VintraPlayer", MB_OK | MB_ICONWARNING);
        DestroyWindow(g.window);
        CoUninitialize();
        return 2;
    }
    SendMessageW(g.bar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageW(g.bar, TBM_SETRANGEMAX, TRUE, (LPARAM)(player.Duration() / kBarUnitMs));
    Layout();
    ShowWindow(g.window, show == SW_HIDE ? SW_SHOWNORMAL : show);
    UpdateWindow(g.window);
    player.Play();
    SetTimer(g.window, kTickTimer, 200, nullptr);
    ShowState();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g.player = nullptr;
    CoUninitialize();
    return 0;
}
