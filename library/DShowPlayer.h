// The preview player: a DirectShow filter graph that plays one video file
// into a window with the Video Mixing Renderer 9, windowless and
// letterboxed, with open, play, pause, seek and position in milliseconds.
//
// The graph is built from the LAV splitter and decoders when they are
// installed; most machines have none, and then the system builds it
// (RenderFile, with the windowless renderer already in the graph so the
// video goes there). Graph events reach the owner window as 0x8001.
//
//   CDShowPlayer player(editorWindow, videoChild);
//   if (SUCCEEDED(player.Open(L"C:\\v\\a.avi"))) player.Play();
//
// States: 0 no graph, 3 opened (stopped at the start), 1 running, 2 paused.
// UI thread only: the graph lives in the UI thread's apartment.
#pragma once

#include <windows.h>

#include <d3d9.h>
#include <dshow.h>
#include <vmr9.h>

#include <cstdint>
#include <string>

const UINT WM_GRAPH_EVENT = 0x8001;

class CVideoRenderer {
public:
    virtual ~CVideoRenderer() = default;
    virtual bool HasVideo() const = 0;
    virtual HRESULT AddToGraph(IGraphBuilder* graph, HWND window) = 0;
    virtual HRESULT AddToGraphWithFilter(IGraphBuilder* graph, HWND window, IBaseFilter** out) = 0;
    virtual HRESULT DropIfUnconnected(IGraphBuilder* graph) = 0;
    virtual HRESULT SetVideoRect(HWND window, const RECT* rect) = 0;
    virtual HRESULT Repaint(HWND window, HDC dc) = 0;
    virtual HRESULT DisplayModeChanged() = 0;
};

class CVMR9 : public CVideoRenderer {
public:
    CVMR9() = default;
    ~CVMR9() override;
    CVMR9(const CVMR9&) = delete;
    CVMR9& operator=(const CVMR9&) = delete;

    bool HasVideo() const override { return m_control != nullptr; }
    HRESULT AddToGraph(IGraphBuilder* graph, HWND window) override;
    HRESULT AddToGraphWithFilter(IGraphBuilder* graph, HWND window, IBaseFilter** out) override;
    HRESULT DropIfUnconnected(IGraphBuilder* graph) override;
    HRESULT SetVideoRect(HWND window, const RECT* rect) override;
    HRESULT Repaint(HWND window, HDC dc) override;
    HRESULT DisplayModeChanged() override;

private:
    IVMRWindowlessControl9* m_control = nullptr;
};

// Creates a filter by class id and adds it to the graph under the name.
HRESULT AddFilterByClsid(IGraphBuilder* graph, REFCLSID clsid, LPCWSTR name, IBaseFilter** out);
// The first pin of that direction that is not connected yet.
HRESULT FindPinByDirection(IBaseFilter* filter, PIN_DIRECTION direction, IPin** out);
// Connects an output pin to the target's first free input pin (the graph
// may put filters between them).
HRESULT ConnectPinToFilter(IGraphBuilder* graph, IPin* out, IBaseFilter* to);

class CDShowPlayer {
public:
    enum State { kNoGraph = 0, kRunning = 1, kPaused = 2, kReady = 3 };

    // owner receives the graph events; the picture goes into videoWindow
    // (the owner itself when null).
    explicit CDShowPlayer(HWND owner, HWND videoWindow = nullptr);
    ~CDShowPlayer();
    CDShowPlayer(const CDShowPlayer&) = delete;
    CDShowPlayer& operator=(const CDShowPlayer&) = delete;

    // The splitter's and the file's load errors come back as they are (an
    // unreadable file is no success); the graph is released on failure.
    HRESULT Open(const wchar_t* file);
    // From 2 or 3, else VFW_E_WRONG_STATE.
    HRESULT Play();
    // From 1, else VFW_E_WRONG_STATE.
    HRESULT Pause();
    void Seek(int64_t ms);
    int64_t Position() const;
    // The file's length in ms; 0 without a graph.
    int64_t Duration() const;
    void Release();

    int GetState() const { return m_state; }
    bool HasVideo() const { return m_renderer && m_renderer->HasVideo(); }
    const std::wstring& FileName() const { return m_fileName; }
    // The picture's rectangle in the video window (its client area when null).
    void SetVideoRect(const RECT* rect);
    void Repaint(HDC dc);
    // Takes the queued graph events; true when one said the end was reached.
    bool DrainEvents();

private:
    HRESULT CreateGraph();
    HRESULT BuildGraph();
    HRESULT BuildLavGraph();
    HRESULT BuildSystemGraph();

    int m_state = kNoGraph;
    HWND m_owner;
    HWND m_videoWindow;
    IGraphBuilder* m_graph = nullptr;
    IMediaControl* m_control = nullptr;
    IMediaEventEx* m_events = nullptr;
    CVideoRenderer* m_renderer = nullptr;
    IMediaSeeking* m_seeking = nullptr;
    IBaseFilter* m_source = nullptr;
    IBaseFilter* m_videoDecoder = nullptr;
    IBaseFilter* m_audioDecoder = nullptr;
    IBaseFilter* m_audioRenderer = nullptr;
    IFileSourceFilter* m_fileSource = nullptr;
    std::wstring m_fileName;
};
