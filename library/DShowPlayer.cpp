#include "library/DShowPlayer.h"

namespace {

// The LAV filters, used when a machine has them.
const CLSID kLavSplitterSource = {0xB98D13E7, 0x55DB, 0x4385, {0xA3, 0x3D, 0x09, 0xFD, 0x1B, 0xA2, 0x63, 0x38}};
const CLSID kLavVideoDecoder = {0xEE30215D, 0x164F, 0x4A92, {0xA4, 0xEB, 0x9D, 0x4C, 0x13, 0x39, 0x0F, 0x9F}};
const CLSID kLavAudioDecoder = {0xE8E73B6B, 0x4CB3, 0x44A4, {0xBE, 0x99, 0x4F, 0x7B, 0xCB, 0x96, 0xE4, 0x91}};

template <class T>
void SafeRelease(T*& p)
{
    if (p) p->Release();
    p = nullptr;
}

HRESULT ConnectFreeOutput(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to)
{
    if (!from || !to) return E_POINTER;
    IPin* out = nullptr;
    HRESULT hr = FindPinByDirection(from, PINDIR_OUTPUT, &out);
    if (FAILED(hr)) return hr;
    hr = ConnectPinToFilter(graph, out, to);
    out->Release();
    return hr;
}

}  // namespace

// --- The renderer ------------------------------------------------------------------

CVMR9::~CVMR9()
{
    SafeRelease(m_control);
}

HRESULT CVMR9::AddToGraph(IGraphBuilder* graph, HWND window)
{
    IBaseFilter* filter = nullptr;
    HRESULT hr = AddToGraphWithFilter(graph, window, &filter);
    SafeRelease(filter);
    return hr;
}

HRESULT CVMR9::AddToGraphWithFilter(IGraphBuilder* graph, HWND window, IBaseFilter** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    IBaseFilter* vmr = nullptr;
    HRESULT hr = AddFilterByClsid(graph, CLSID_VideoMixingRenderer9, L"VMR-9", &vmr);
    if (FAILED(hr)) return hr;
    IVMRFilterConfig9* config = nullptr;
    hr = vmr->QueryInterface(IID_IVMRFilterConfig9, reinterpret_cast<void**>(&config));
    if (SUCCEEDED(hr)) {
        hr = config->SetRenderingMode(VMR9Mode_Windowless);
        config->Release();
    }
    IVMRWindowlessControl9* control = nullptr;
    if (SUCCEEDED(hr))
        hr = vmr->QueryInterface(IID_IVMRWindowlessControl9, reinterpret_cast<void**>(&control));
    if (SUCCEEDED(hr)) hr = control->SetVideoClippingWindow(window);
    if (SUCCEEDED(hr)) hr = control->SetAspectRatioMode(VMR9ARMode_LetterBox);
    if (FAILED(hr)) {
        SafeRelease(control);
        graph->RemoveFilter(vmr);
        vmr->Release();
        return hr;
    }
    SafeRelease(m_control);
    m_control = control;
    *out = vmr;
    return S_OK;
}

HRESULT CVMR9::DropIfUnconnected(IGraphBuilder* graph)
{
    if (!m_control) return S_OK;
    IBaseFilter* filter = nullptr;
    HRESULT hr = m_control->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    if (FAILED(hr)) return hr;
    bool connected = false;
    IEnumPins* pins = nullptr;
    if (SUCCEEDED(filter->EnumPins(&pins))) {
        IPin* pin = nullptr;
        while (!connected && pins->Next(1, &pin, nullptr) == S_OK) {
            PIN_DIRECTION direction;
            IPin* to = nullptr;
            if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT &&
                SUCCEEDED(pin->ConnectedTo(&to))) {
                connected = true;
                to->Release();
            }
            pin->Release();
        }
        pins->Release();
    }
    if (!connected) {
        graph->RemoveFilter(filter);
        SafeRelease(m_control);
    }
    filter->Release();
    return connected ? S_OK : VFW_E_NOT_FOUND;
}

HRESULT CVMR9::SetVideoRect(HWND window, const RECT* rect)
{
    if (!m_control) return S_OK;
    RECT r;
    if (rect)
        r = *rect;
    else
        GetClientRect(window, &r);
    return m_control->SetVideoPosition(nullptr, &r);
}

HRESULT CVMR9::Repaint(HWND window, HDC dc)
{
    return m_control ? m_control->RepaintVideo(window, dc) : S_OK;
}

HRESULT CVMR9::DisplayModeChanged()
{
    return m_control ? m_control->DisplayModeChanged() : S_OK;
}

// --- Graph utilities ------------------------------------------------------------------

HRESULT AddFilterByClsid(IGraphBuilder* graph, REFCLSID clsid, LPCWSTR name, IBaseFilter** out)
{
    if (!graph || !out) return E_POINTER;
    *out = nullptr;
    IBaseFilter* filter = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(&filter));
    if (FAILED(hr)) return hr;
    hr = graph->AddFilter(filter, name);
    if (FAILED(hr)) {
        filter->Release();
        return hr;
    }
    *out = filter;
    return S_OK;
}

HRESULT FindPinByDirection(IBaseFilter* filter, PIN_DIRECTION direction, IPin** out)
{
    if (!filter || !out) return E_POINTER;
    *out = nullptr;
    IEnumPins* pins = nullptr;
    HRESULT hr = filter->EnumPins(&pins);
    if (FAILED(hr)) return hr;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION d;
        IPin* to = nullptr;
        if (SUCCEEDED(pin->QueryDirection(&d)) && d == direction) {
            if (pin->ConnectedTo(&to) == VFW_E_NOT_CONNECTED) {
                *out = pin;
                pins->Release();
                return S_OK;
            }
            SafeRelease(to);
        }
        pin->Release();
    }
    pins->Release();
    return E_FAIL;
}

HRESULT ConnectPinToFilter(IGraphBuilder* graph, IPin* out, IBaseFilter* to)
{
    if (!graph || !out || !to) return E_POINTER;
    IPin* in = nullptr;
    HRESULT hr = FindPinByDirection(to, PINDIR_INPUT, &in);
    if (FAILED(hr)) return hr;
    hr = graph->Connect(out, in);
    in->Release();
    return hr;
}

// --- The player ------------------------------------------------------------------

CDShowPlayer::CDShowPlayer(HWND owner, HWND videoWindow)
    : m_owner(owner), m_videoWindow(videoWindow ? videoWindow : owner)
{
}

CDShowPlayer::~CDShowPlayer()
{
    Release();
}

HRESULT CDShowPlayer::Open(const wchar_t* file)
{
    m_fileName = file ? file : L"";
    HRESULT hr = CreateGraph();
    if (SUCCEEDED(hr)) hr = BuildGraph();
    if (FAILED(hr)) {
        Release();
        return hr;
    }
    m_state = kReady;
    return S_OK;
}

HRESULT CDShowPlayer::CreateGraph()
{
    Release();
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IGraphBuilder, reinterpret_cast<void**>(&m_graph));
    if (SUCCEEDED(hr))
        hr = m_graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_control));
    if (SUCCEEDED(hr))
        hr = m_graph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_events));
    if (SUCCEEDED(hr)) hr = m_events->SetNotifyWindow((OAHWND)m_owner, WM_GRAPH_EVENT, 0);
    if (SUCCEEDED(hr))
        hr = m_graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m_seeking));
    return hr;
}

HRESULT CDShowPlayer::BuildGraph()
{
    HRESULT hr = AddFilterByClsid(m_graph, kLavSplitterSource, L"Lav Splitter Source", &m_source);
    // Without the LAV splitter (most machines) the system builds the graph.
    if (FAILED(hr)) return BuildSystemGraph();
    return BuildLavGraph();
}

HRESULT CDShowPlayer::BuildLavGraph()
{
    HRESULT hr = m_source->QueryInterface(IID_IFileSourceFilter, reinterpret_cast<void**>(&m_fileSource));
    if (SUCCEEDED(hr)) hr = m_fileSource->Load(m_fileName.c_str(), nullptr);
    if (FAILED(hr)) return hr;
    // A decoder or renderer that is missing leaves the picture black or the
    // sound silent; the file itself opened.
    if (SUCCEEDED(AddFilterByClsid(m_graph, kLavVideoDecoder, L"Lav Video Decoder", &m_videoDecoder)))
        ConnectFreeOutput(m_graph, m_source, m_videoDecoder);
    if (SUCCEEDED(AddFilterByClsid(m_graph, kLavAudioDecoder, L"Lav Audio Decoder", &m_audioDecoder)))
        ConnectFreeOutput(m_graph, m_source, m_audioDecoder);
    auto* vmr = new CVMR9;
    m_renderer = vmr;
    IBaseFilter* vmrFilter = nullptr;
    if (SUCCEEDED(vmr->AddToGraphWithFilter(m_graph, m_videoWindow, &vmrFilter))) {
        ConnectFreeOutput(m_graph, m_videoDecoder, vmrFilter);
        vmrFilter->Release();
    }
    if (SUCCEEDED(AddFilterByClsid(m_graph, CLSID_DSoundRender, L"Audio render", &m_audioRenderer)))
        ConnectFreeOutput(m_graph, m_audioDecoder, m_audioRenderer);
    return S_OK;
}

HRESULT CDShowPlayer::BuildSystemGraph()
{
    // The renderer goes in first, set up windowless: the graph then renders
    // the video into it rather than into a window of its own.
    auto* vmr = new CVMR9;
    m_renderer = vmr;
    vmr->AddToGraph(m_graph, m_videoWindow);
    HRESULT hr = m_graph->RenderFile(m_fileName.c_str(), nullptr);
    if (FAILED(hr)) return hr;
    vmr->DropIfUnconnected(m_graph);
    return S_OK;
}

HRESULT CDShowPlayer::Play()
{
    if (m_state != kPaused && m_state != kReady) return VFW_E_WRONG_STATE;
    HRESULT hr = m_control->Run();
    if (SUCCEEDED(hr)) m_state = kRunning;
    return hr;
}

HRESULT CDShowPlayer::Pause()
{
    if (m_state != kRunning) return VFW_E_WRONG_STATE;
    HRESULT hr = m_control->Pause();
    if (SUCCEEDED(hr)) m_state = kPaused;
    return hr;
}

void CDShowPlayer::Seek(int64_t ms)
{
    if (m_state == kNoGraph || !m_seeking) return;
    LONGLONG position = ms * 10000;
    m_seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                            AM_SEEKING_NoPositioning);
}

int64_t CDShowPlayer::Position() const
{
    if (m_state == kNoGraph || !m_seeking) return 0;
    LONGLONG position = 0;
    if (FAILED(m_seeking->GetCurrentPosition(&position))) return 0;
    return position / 10000;
}

int64_t CDShowPlayer::Duration() const
{
    if (!m_seeking) return 0;
    LONGLONG duration = 0;
    if (FAILED(m_seeking->GetDuration(&duration))) return 0;
    return duration / 10000;
}

namespace {

// A graph to stop and let go of, on a thread of its own.
struct GraphParts {
    IMediaControl* control;
    IUnknown* parts[8];
};

DWORD WINAPI StopAndRelease(LPVOID param)
{
    GraphParts* g = static_cast<GraphParts*>(param);
    // Stopped before it is taken apart: its streaming threads must not run
    // into filters that are going.
    if (g->control) g->control->Stop();
    for (IUnknown* part : g->parts)
        if (part) part->Release();
    if (g->control) g->control->Release();
    delete g;
    return 0;
}

}  // namespace

void CDShowPlayer::Release()
{
    if (m_events) m_events->SetNotifyWindow((OAHWND) nullptr, 0, 0);
    GraphParts* g = new GraphParts{m_control,
                                   {m_fileSource, m_audioRenderer, m_audioDecoder, m_videoDecoder,
                                    m_source, m_seeking, m_events, m_graph}};
    m_control = nullptr;
    m_fileSource = nullptr;
    m_audioRenderer = m_audioDecoder = m_videoDecoder = m_source = nullptr;
    m_seeking = nullptr;
    m_events = nullptr;
    m_graph = nullptr;
    // Wine's GStreamer splitter may never finish stopping once a file with
    // sound was sought: the window waits a moment for the stop, never more.
    HANDLE stopping = CreateThread(nullptr, 0, StopAndRelease, g, 0, nullptr);
    if (stopping) {
        WaitForSingleObject(stopping, 3000);
        CloseHandle(stopping);
    } else {
        StopAndRelease(g);
    }
    delete m_renderer;
    m_renderer = nullptr;
    m_state = kNoGraph;
}

void CDShowPlayer::SetVideoRect(const RECT* rect)
{
    if (m_renderer) m_renderer->SetVideoRect(m_videoWindow, rect);
}

void CDShowPlayer::Repaint(HDC dc)
{
    if (m_renderer) m_renderer->Repaint(m_videoWindow, dc);
}

bool CDShowPlayer::DrainEvents()
{
    bool ended = false;
    if (!m_events) return false;
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    while (m_events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
        if (code == EC_COMPLETE) ended = true;
        m_events->FreeEventParams(code, p1, p2);
    }
    return ended;
}
