// The test camera (see TestCamera.h): one filter with one capture pin that
// offers RGB32 at the sizes of kTestCameraSizes through IAMStreamConfig,
// negotiates an allocator with the pin it connects to, and while the graph
// runs pushes a frame every 40 ms from a thread of its own, stamped with
// the graph's clock as a capture device stamps them. No DirectShow base
// classes exist here, so the COM plumbing is written out.
#include "TestCamera.h"

#include <dshow.h>

#include <atomic>
#include <mutex>
#include <new>
#include <vector>

namespace {

HINSTANCE g_module = nullptr;
std::atomic<LONG> g_localObjects{0};  // this process's, for DllCanUnloadNow
std::atomic<LONG> g_locks{0};

void ObjectMade()
{
    ++g_localObjects;
    if (TestCameraStats* s = OpenTestCameraStats()) InterlockedIncrement(&s->liveObjects);
}

void ObjectGone()
{
    --g_localObjects;
    if (TestCameraStats* s = OpenTestCameraStats()) InterlockedDecrement(&s->liveObjects);
}

void FreeType(AM_MEDIA_TYPE& mt)
{
    if (mt.cbFormat) CoTaskMemFree(mt.pbFormat);
    mt.cbFormat = 0;
    mt.pbFormat = nullptr;
    if (mt.pUnk) mt.pUnk->Release();
    mt.pUnk = nullptr;
}

void DeleteType(AM_MEDIA_TYPE* mt)
{
    if (!mt) return;
    FreeType(*mt);
    CoTaskMemFree(mt);
}

HRESULT CopyType(AM_MEDIA_TYPE* to, const AM_MEDIA_TYPE& from)
{
    *to = from;
    if (from.cbFormat) {
        to->pbFormat = (BYTE*)CoTaskMemAlloc(from.cbFormat);
        if (!to->pbFormat) {
            to->cbFormat = 0;
            return E_OUTOFMEMORY;
        }
        memcpy(to->pbFormat, from.pbFormat, from.cbFormat);
    }
    if (to->pUnk) to->pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE* NewTypeCopy(const AM_MEDIA_TYPE& from)
{
    auto* mt = (AM_MEDIA_TYPE*)CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE));
    if (!mt) return nullptr;
    if (FAILED(CopyType(mt, from))) {
        CoTaskMemFree(mt);
        return nullptr;
    }
    return mt;
}

// RGB32 bottom-up at a size, 25 frames a second.
void MakeType(AM_MEDIA_TYPE* mt, int width, int height)
{
    ZeroMemory(mt, sizeof *mt);
    auto* vih = (VIDEOINFOHEADER*)CoTaskMemAlloc(sizeof(VIDEOINFOHEADER));
    ZeroMemory(vih, sizeof *vih);
    vih->AvgTimePerFrame = kTestCameraFrameMs * 10000LL;
    vih->dwBitRate = (DWORD)(width * height * 32 * (1000 / kTestCameraFrameMs));
    vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    vih->bmiHeader.biPlanes = 1;
    vih->bmiHeader.biBitCount = 32;
    vih->bmiHeader.biCompression = BI_RGB;
    vih->bmiHeader.biSizeImage = (DWORD)(width * height * 4);
    mt->majortype = MEDIATYPE_Video;
    mt->subtype = MEDIASUBTYPE_RGB32;
    mt->bFixedSizeSamples = TRUE;
    mt->lSampleSize = vih->bmiHeader.biSizeImage;
    mt->formattype = FORMAT_VideoInfo;
    mt->cbFormat = sizeof(VIDEOINFOHEADER);
    mt->pbFormat = (BYTE*)vih;
}

// The size of a type when it is one this camera delivers, else false.
bool OfferedSize(const AM_MEDIA_TYPE* mt, int* width, int* height)
{
    if (!mt || mt->majortype != MEDIATYPE_Video || mt->subtype != MEDIASUBTYPE_RGB32 ||
        mt->formattype != FORMAT_VideoInfo || mt->cbFormat < sizeof(VIDEOINFOHEADER) ||
        !mt->pbFormat)
        return false;
    const BITMAPINFOHEADER& bih = ((const VIDEOINFOHEADER*)mt->pbFormat)->bmiHeader;
    for (const TestCameraSize& s : kTestCameraSizes) {
        if (bih.biWidth == s.width && abs(bih.biHeight) == s.height) {
            *width = s.width;
            *height = s.height;
            return true;
        }
    }
    return false;
}

// One frame of the pattern into a bottom-up 32-bit picture whose rows are
// `stride` pixels apart.
void DrawFrame(BYTE* bits, int width, int height, int stride, LONG frame)
{
    const int band = height * 3 / 4;
    const int block = width / 8;
    const int blockX = (int)((frame * 4L) % (width - block));
    for (int y = 0; y < height; ++y) {
        // Row 0 of the buffer is the bottom of the picture.
        unsigned* row = (unsigned*)(bits + (size_t)(height - 1 - y) * stride * 4);
        for (int x = 0; x < width; ++x) {
            unsigned c;
            if (y < band)
                c = kTestCameraColours[(y < band / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
            else
                c = (x >= blockX && x < blockX + block && y > band + 4 && y < height - 4)
                        ? 0xFFFFFF
                        : 0x000000;
            row[x] = c;
        }
    }
}

class Filter;

class Pin final : public IPin, public IAMStreamConfig {
public:
    explicit Pin(Filter* filter);
    ~Pin();

    // IUnknown: the pin lives and dies with its filter.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pPin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* pInfo) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* pPinDir) override
    {
        if (!pPinDir) return E_POINTER;
        *pPinDir = PINDIR_OUTPUT;
        return S_OK;
    }
    STDMETHODIMP QueryId(LPWSTR* Id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* pmt) override
    {
        int w, h;
        return OfferedSize(pmt, &w, &h) ? S_OK : S_FALSE;
    }
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** ppmt) override;
    STDMETHODIMP GetNumberOfCapabilities(int* piCount, int* piSize) override;
    STDMETHODIMP GetStreamCaps(int iIndex, AM_MEDIA_TYPE** ppmt, BYTE* pSCC) override;

    // For the filter.
    HRESULT Active();  // stopped -> paused
    void Inactive();   // -> stopped
    void StartStreaming(REFERENCE_TIME tStart, IReferenceClock* clock);
    // Running -> paused: no more frames, but the thread is not waited for,
    // since the paused renderer may hold it inside Receive until it runs
    // or stops.
    void PauseStreaming() { m_paused = true; }
    void StopStreaming();

private:
    HRESULT TryConnect(IPin* receiver, const AM_MEDIA_TYPE& mt);
    HRESULT DecideAllocator(IMemInputPin* input, int width, int height);
    void ReleaseConnection();
    static DWORD WINAPI StreamThread(void* self);
    void Stream();

    Filter* m_filter;
    std::mutex m_lock;
    int m_width = kTestCameraSizes[0].width;
    int m_height = kTestCameraSizes[0].height;
    IPin* m_peer = nullptr;
    IMemInputPin* m_input = nullptr;
    IMemAllocator* m_allocator = nullptr;
    AM_MEDIA_TYPE m_mt = {};
    HANDLE m_thread = nullptr;
    HANDLE m_stop = nullptr;
    REFERENCE_TIME m_tStart = 0;
    IReferenceClock* m_clock = nullptr;
    std::atomic<bool> m_paused{false};
    int m_stride = 0;
};

class Filter final : public IBaseFilter {
public:
    Filter() : m_pin(this)
    {
        ObjectMade();
        if (TestCameraStats* s = OpenTestCameraStats()) InterlockedIncrement(&s->filtersMade);
    }
    ~Filter()
    {
        if (m_clock) m_clock->Release();
        ObjectGone();
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter ||
            riid == IID_IBaseFilter) {
            *ppv = static_cast<IBaseFilter*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = --m_refs;
        if (n == 0) delete this;
        return n;
    }

    STDMETHODIMP GetClassID(CLSID* pClassID) override
    {
        if (!pClassID) return E_POINTER;
        *pClassID = CLSID_OrbiskTestCamera;
        return S_OK;
    }

    STDMETHODIMP Stop() override
    {
        std::lock_guard<std::mutex> hold(m_stateLock);
        m_pin.StopStreaming();
        m_pin.Inactive();
        m_state = State_Stopped;
        return S_OK;
    }
    STDMETHODIMP Pause() override
    {
        std::lock_guard<std::mutex> hold(m_stateLock);
        return PauseLocked();
    }
    STDMETHODIMP Run(REFERENCE_TIME tStart) override
    {
        std::lock_guard<std::mutex> hold(m_stateLock);
        if (m_state == State_Stopped) {
            HRESULT hr = PauseLocked();
            if (FAILED(hr)) return hr;
        }
        if (m_state != State_Running) m_pin.StartStreaming(tStart, m_clock);
        m_state = State_Running;
        return S_OK;
    }
    STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override
    {
        if (!state) return E_POINTER;
        std::lock_guard<std::mutex> hold(m_stateLock);
        *state = m_state;
        // A live source has nothing to show while paused.
        return m_state == State_Paused ? VFW_S_CANT_CUE : S_OK;
    }
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override
    {
        std::lock_guard<std::mutex> hold(m_stateLock);
        if (clock) clock->AddRef();
        if (m_clock) m_clock->Release();
        m_clock = clock;
        return S_OK;
    }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override
    {
        if (!clock) return E_POINTER;
        std::lock_guard<std::mutex> hold(m_stateLock);
        *clock = m_clock;
        if (m_clock) m_clock->AddRef();
        return S_OK;
    }

    STDMETHODIMP EnumPins(IEnumPins** ppEnum) override;
    STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override
    {
        if (!ppPin) return E_POINTER;
        *ppPin = nullptr;
        if (!Id || wcscmp(Id, L"Capture") != 0) return VFW_E_NOT_FOUND;
        *ppPin = &m_pin;
        m_pin.AddRef();
        return S_OK;
    }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* pInfo) override
    {
        if (!pInfo) return E_POINTER;
        lstrcpynW(pInfo->achName, m_name, MAX_FILTER_NAME);
        pInfo->pGraph = m_graph;
        if (m_graph) m_graph->AddRef();
        return S_OK;
    }
    STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override
    {
        // The graph holds the filter, not the other way round.
        m_graph = pGraph;
        lstrcpynW(m_name, pName ? pName : L"", MAX_FILTER_NAME);
        return S_OK;
    }
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    bool Stopped()
    {
        std::lock_guard<std::mutex> hold(m_stateLock);
        return m_state == State_Stopped;
    }
    IFilterGraph* Graph() const { return m_graph; }

private:
    HRESULT PauseLocked()
    {
        if (m_state == State_Stopped) {
            HRESULT hr = m_pin.Active();
            if (FAILED(hr)) return hr;
        } else if (m_state == State_Running) {
            m_pin.PauseStreaming();
        }
        m_state = State_Paused;
        return S_OK;
    }

    std::atomic<LONG> m_refs{1};
    std::mutex m_stateLock;
    FILTER_STATE m_state = State_Stopped;
    IReferenceClock* m_clock = nullptr;
    IFilterGraph* m_graph = nullptr;
    WCHAR m_name[MAX_FILTER_NAME] = {};
    Pin m_pin;

    friend class Pin;
};

// One enumerator of a fixed list of pins or media types.
class PinEnum final : public IEnumPins {
public:
    PinEnum(Filter* filter, IPin* pin, ULONG pos) : m_filter(filter), m_pin(pin), m_pos(pos)
    {
        m_filter->AddRef();
        ObjectMade();
    }
    ~PinEnum()
    {
        m_filter->Release();
        ObjectGone();
    }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IEnumPins) {
            *ppv = static_cast<IEnumPins*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = --m_refs;
        if (n == 0) delete this;
        return n;
    }
    STDMETHODIMP Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched) override
    {
        if (!ppPins) return E_POINTER;
        ULONG got = 0;
        if (cPins > 0 && m_pos == 0) {
            ppPins[0] = m_pin;
            m_pin->AddRef();
            got = 1;
            m_pos = 1;
        }
        if (pcFetched) *pcFetched = got;
        return got == cPins ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG cPins) override
    {
        m_pos += cPins;
        return m_pos <= 1 ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_pos = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumPins** ppEnum) override
    {
        if (!ppEnum) return E_POINTER;
        *ppEnum = new (std::nothrow) PinEnum(m_filter, m_pin, m_pos);
        return *ppEnum ? S_OK : E_OUTOFMEMORY;
    }

private:
    std::atomic<LONG> m_refs{1};
    Filter* m_filter;
    IPin* m_pin;
    ULONG m_pos;
};

// The offered types, the current one first, as capture pins list them.
class TypeEnum final : public IEnumMediaTypes {
public:
    TypeEnum(Filter* filter, std::vector<TestCameraSize> sizes, ULONG pos)
        : m_filter(filter), m_sizes(std::move(sizes)), m_pos(pos)
    {
        m_filter->AddRef();
        ObjectMade();
    }
    ~TypeEnum()
    {
        m_filter->Release();
        ObjectGone();
    }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IEnumMediaTypes) {
            *ppv = static_cast<IEnumMediaTypes*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = --m_refs;
        if (n == 0) delete this;
        return n;
    }
    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override
    {
        if (!types) return E_POINTER;
        ULONG got = 0;
        while (got < count && m_pos < m_sizes.size()) {
            auto* mt = (AM_MEDIA_TYPE*)CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE));
            if (!mt) break;
            MakeType(mt, m_sizes[m_pos].width, m_sizes[m_pos].height);
            types[got++] = mt;
            ++m_pos;
        }
        if (fetched) *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        m_pos += count;
        return m_pos <= m_sizes.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_pos = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMediaTypes** ppEnum) override
    {
        if (!ppEnum) return E_POINTER;
        *ppEnum = new (std::nothrow) TypeEnum(m_filter, m_sizes, m_pos);
        return *ppEnum ? S_OK : E_OUTOFMEMORY;
    }

private:
    std::atomic<LONG> m_refs{1};
    Filter* m_filter;
    std::vector<TestCameraSize> m_sizes;
    ULONG m_pos;
};

Pin::Pin(Filter* filter) : m_filter(filter)
{
    m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (TestCameraStats* s = OpenTestCameraStats()) {
        InterlockedExchange(&s->currentWidth, m_width);
        InterlockedExchange(&s->currentHeight, m_height);
    }
}

Pin::~Pin()
{
    StopStreaming();
    ReleaseConnection();
    if (m_stop) CloseHandle(m_stop);
}

STDMETHODIMP Pin::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPin) {
        *ppv = static_cast<IPin*>(this);
    } else if (riid == IID_IAMStreamConfig) {
        *ppv = static_cast<IAMStreamConfig*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) Pin::AddRef()
{
    return m_filter->AddRef();
}
STDMETHODIMP_(ULONG) Pin::Release()
{
    return m_filter->Release();
}

HRESULT Pin::TryConnect(IPin* receiver, const AM_MEDIA_TYPE& mt)
{
    int w, h;
    if (!OfferedSize(&mt, &w, &h)) return VFW_E_TYPE_NOT_ACCEPTED;
    HRESULT hr = receiver->ReceiveConnection(this, &mt);
    if (FAILED(hr)) return hr;
    IMemInputPin* input = nullptr;
    hr = receiver->QueryInterface(IID_IMemInputPin, (void**)&input);
    if (SUCCEEDED(hr)) {
        hr = DecideAllocator(input, w, h);
        if (FAILED(hr)) input->Release();
    }
    if (FAILED(hr)) {
        receiver->Disconnect();
        return hr;
    }
    std::lock_guard<std::mutex> hold(m_lock);
    m_peer = receiver;
    m_peer->AddRef();
    m_input = input;
    CopyType(&m_mt, mt);
    m_width = w;
    m_height = h;
    m_stride = w;
    if (TestCameraStats* s = OpenTestCameraStats()) {
        InterlockedExchange(&s->connected, 1);
        InterlockedExchange(&s->currentWidth, w);
        InterlockedExchange(&s->currentHeight, h);
    }
    return S_OK;
}

HRESULT Pin::DecideAllocator(IMemInputPin* input, int width, int height)
{
    ALLOCATOR_PROPERTIES want = {}, got = {};
    input->GetAllocatorRequirements(&want);
    want.cBuffers = want.cBuffers > 2 ? want.cBuffers : 2;
    want.cbBuffer = width * height * 4;
    if (want.cbAlign < 1) want.cbAlign = 1;
    IMemAllocator* allocator = nullptr;
    // The downstream pin's own allocator first, then a plain one.
    for (int attempt = 0; attempt < 2; ++attempt) {
        HRESULT hr = attempt == 0
                         ? input->GetAllocator(&allocator)
                         : CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IMemAllocator, (void**)&allocator);
        if (FAILED(hr) || !allocator) {
            allocator = nullptr;
            continue;
        }
        if (SUCCEEDED(allocator->SetProperties(&want, &got)) && got.cbBuffer >= want.cbBuffer &&
            SUCCEEDED(input->NotifyAllocator(allocator, FALSE))) {
            std::lock_guard<std::mutex> hold(m_lock);
            m_allocator = allocator;
            return S_OK;
        }
        allocator->Release();
        allocator = nullptr;
    }
    return VFW_E_NO_ALLOCATOR;
}

STDMETHODIMP Pin::Connect(IPin* receiver, const AM_MEDIA_TYPE* pmt)
{
    if (!receiver) return E_POINTER;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_peer) return VFW_E_ALREADY_CONNECTED;
    }
    if (!m_filter->Stopped()) return VFW_E_NOT_STOPPED;
    TestCameraStats* s = OpenTestCameraStats();
    if (s && s->refuseConnection) return VFW_E_NO_ACCEPTABLE_TYPES;

    // The current format first, then the others, each only when it fits a
    // partial type the caller gave.
    std::vector<TestCameraSize> order = {{m_width, m_height}};
    for (const TestCameraSize& z : kTestCameraSizes)
        if (z.width != m_width || z.height != m_height) order.push_back(z);
    HRESULT last = VFW_E_NO_ACCEPTABLE_TYPES;
    for (const TestCameraSize& z : order) {
        AM_MEDIA_TYPE mt;
        MakeType(&mt, z.width, z.height);
        bool fits = true;
        if (pmt) {
            if (pmt->majortype != GUID_NULL && pmt->majortype != mt.majortype) fits = false;
            if (pmt->subtype != GUID_NULL && pmt->subtype != mt.subtype) fits = false;
            if (pmt->formattype != GUID_NULL) {
                int w, h;
                fits = fits && OfferedSize(pmt, &w, &h) && w == z.width && h == z.height;
            }
        }
        HRESULT hr = fits ? TryConnect(receiver, mt) : VFW_E_TYPE_NOT_ACCEPTED;
        FreeType(mt);
        if (SUCCEEDED(hr)) return S_OK;
        last = hr;
    }
    return last;
}

void Pin::ReleaseConnection()
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_allocator) m_allocator->Release();
    if (m_input) m_input->Release();
    if (m_peer) m_peer->Release();
    m_allocator = nullptr;
    m_input = nullptr;
    m_peer = nullptr;
    FreeType(m_mt);
    m_mt = AM_MEDIA_TYPE();
    if (TestCameraStats* s = OpenTestCameraStats()) InterlockedExchange(&s->connected, 0);
}

STDMETHODIMP Pin::Disconnect()
{
    if (!m_filter->Stopped()) return VFW_E_NOT_STOPPED;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (!m_peer) return S_FALSE;
    }
    ReleaseConnection();
    return S_OK;
}

STDMETHODIMP Pin::ConnectedTo(IPin** pPin)
{
    if (!pPin) return E_POINTER;
    std::lock_guard<std::mutex> hold(m_lock);
    *pPin = m_peer;
    if (!m_peer) return VFW_E_NOT_CONNECTED;
    m_peer->AddRef();
    return S_OK;
}

STDMETHODIMP Pin::ConnectionMediaType(AM_MEDIA_TYPE* pmt)
{
    if (!pmt) return E_POINTER;
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_peer) {
        ZeroMemory(pmt, sizeof *pmt);
        return VFW_E_NOT_CONNECTED;
    }
    return CopyType(pmt, m_mt);
}

STDMETHODIMP Pin::QueryPinInfo(PIN_INFO* pInfo)
{
    if (!pInfo) return E_POINTER;
    pInfo->pFilter = m_filter;
    m_filter->AddRef();
    pInfo->dir = PINDIR_OUTPUT;
    lstrcpynW(pInfo->achName, L"Capture", MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP Pin::QueryId(LPWSTR* Id)
{
    if (!Id) return E_POINTER;
    *Id = (LPWSTR)CoTaskMemAlloc(sizeof L"Capture");
    if (!*Id) return E_OUTOFMEMORY;
    memcpy(*Id, L"Capture", sizeof L"Capture");
    return S_OK;
}

STDMETHODIMP Pin::EnumMediaTypes(IEnumMediaTypes** ppEnum)
{
    if (!ppEnum) return E_POINTER;
    std::vector<TestCameraSize> order = {{m_width, m_height}};
    for (const TestCameraSize& z : kTestCameraSizes)
        if (z.width != m_width || z.height != m_height) order.push_back(z);
    *ppEnum = new (std::nothrow) TypeEnum(m_filter, order, 0);
    return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP Pin::SetFormat(AM_MEDIA_TYPE* pmt)
{
    TestCameraStats* s = OpenTestCameraStats();
    int w = 0, h = 0;
    if (pmt && s) {
        InterlockedIncrement(&s->formatRequests);
        if (pmt->formattype == FORMAT_VideoInfo && pmt->cbFormat >= sizeof(VIDEOINFOHEADER)) {
            const BITMAPINFOHEADER& bih = ((const VIDEOINFOHEADER*)pmt->pbFormat)->bmiHeader;
            InterlockedExchange(&s->requestedWidth, bih.biWidth);
            InterlockedExchange(&s->requestedHeight, abs(bih.biHeight));
        }
    }
    if (!pmt) {
        w = kTestCameraSizes[0].width;
        h = kTestCameraSizes[0].height;
    } else if (!OfferedSize(pmt, &w, &h)) {
        return VFW_E_INVALIDMEDIATYPE;
    }
    // Like a device behind a real driver: the format changes only while
    // the graph is stopped and before the pin connects.
    if (!m_filter->Stopped()) return VFW_E_NOT_STOPPED;
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_peer) return VFW_E_ALREADY_CONNECTED;
    m_width = w;
    m_height = h;
    if (s) {
        InterlockedExchange(&s->currentWidth, w);
        InterlockedExchange(&s->currentHeight, h);
    }
    return S_OK;
}

STDMETHODIMP Pin::GetFormat(AM_MEDIA_TYPE** ppmt)
{
    if (!ppmt) return E_POINTER;
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_peer) {
        *ppmt = NewTypeCopy(m_mt);
    } else {
        AM_MEDIA_TYPE mt;
        MakeType(&mt, m_width, m_height);
        *ppmt = NewTypeCopy(mt);
        FreeType(mt);
    }
    return *ppmt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP Pin::GetNumberOfCapabilities(int* piCount, int* piSize)
{
    if (!piCount || !piSize) return E_POINTER;
    *piCount = (int)(sizeof kTestCameraSizes / sizeof kTestCameraSizes[0]);
    *piSize = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP Pin::GetStreamCaps(int iIndex, AM_MEDIA_TYPE** ppmt, BYTE* pSCC)
{
    if (!ppmt || !pSCC) return E_POINTER;
    if (iIndex < 0 || iIndex >= (int)(sizeof kTestCameraSizes / sizeof kTestCameraSizes[0]))
        return S_FALSE;
    const TestCameraSize& z = kTestCameraSizes[iIndex];
    AM_MEDIA_TYPE mt;
    MakeType(&mt, z.width, z.height);
    *ppmt = NewTypeCopy(mt);
    FreeType(mt);
    if (!*ppmt) return E_OUTOFMEMORY;
    auto* caps = (VIDEO_STREAM_CONFIG_CAPS*)pSCC;
    ZeroMemory(caps, sizeof *caps);
    caps->guid = FORMAT_VideoInfo;
    caps->InputSize = caps->MinCroppingSize = caps->MaxCroppingSize = {z.width, z.height};
    caps->MinOutputSize = caps->MaxOutputSize = {z.width, z.height};
    caps->MinFrameInterval = caps->MaxFrameInterval = kTestCameraFrameMs * 10000LL;
    caps->MinBitsPerSecond = caps->MaxBitsPerSecond = z.width * z.height * 32 * 25;
    return S_OK;
}

HRESULT Pin::Active()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_allocator ? m_allocator->Commit() : S_OK;
}

void Pin::Inactive()
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_allocator) m_allocator->Decommit();
}

void Pin::StartStreaming(REFERENCE_TIME tStart, IReferenceClock* clock)
{
    if (m_thread) {
        // Paused and run again.
        std::lock_guard<std::mutex> hold(m_lock);
        m_tStart = tStart;
        m_paused = false;
        return;
    }
    m_paused = false;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (!m_input || !m_allocator) return;
        m_tStart = tStart;
        m_clock = clock;
        if (m_clock) m_clock->AddRef();
    }
    ResetEvent(m_stop);
    m_thread = CreateThread(nullptr, 0, StreamThread, this, 0, nullptr);
    if (TestCameraStats* s = OpenTestCameraStats())
        if (m_thread) InterlockedIncrement(&s->runs);
}

void Pin::StopStreaming()
{
    if (!m_thread) return;
    SetEvent(m_stop);
    {
        // A thread waiting for a free buffer wakes up to a failure.
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_allocator) m_allocator->Decommit();
    }
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
    m_paused = false;
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_clock) m_clock->Release();
    m_clock = nullptr;
}

DWORD WINAPI Pin::StreamThread(void* self)
{
    TestCameraStats* s = OpenTestCameraStats();
    if (s) InterlockedIncrement(&s->streamingThreads);
    static_cast<Pin*>(self)->Stream();
    if (s) InterlockedDecrement(&s->streamingThreads);
    return 0;
}

void Pin::Stream()
{
    TestCameraStats* stats = OpenTestCameraStats();
    IMemAllocator* allocator;
    IMemInputPin* input;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        allocator = m_allocator;
        input = m_input;
    }
    LONG frame = 0;
    DWORD next = GetTickCount();
    for (;;) {
        DWORD now = GetTickCount();
        DWORD wait = (LONG)(next - now) > 0 ? next - now : 0;
        if (WaitForSingleObject(m_stop, wait) == WAIT_OBJECT_0) break;
        next += kTestCameraFrameMs;

        if (m_paused) continue;
        IMediaSample* sample = nullptr;
        if (FAILED(allocator->GetBuffer(&sample, nullptr, nullptr, 0)) || !sample) {
            if (WaitForSingleObject(m_stop, 0) == WAIT_OBJECT_0) break;
            continue;
        }
        // The renderer may ask for another row pitch on a sample.
        AM_MEDIA_TYPE* changed = nullptr;
        if (sample->GetMediaType(&changed) == S_OK && changed) {
            if (changed->formattype == FORMAT_VideoInfo &&
                changed->cbFormat >= sizeof(VIDEOINFOHEADER))
                m_stride = ((VIDEOINFOHEADER*)changed->pbFormat)->bmiHeader.biWidth;
            DeleteType(changed);
        }
        BYTE* bits = nullptr;
        long size = m_stride * m_height * 4;
        if (SUCCEEDED(sample->GetPointer(&bits)) && sample->GetSize() >= size) {
            DrawFrame(bits, m_width, m_height, m_stride, frame);
            sample->SetActualDataLength(size);
            sample->SetSyncPoint(TRUE);
            REFERENCE_TIME clockNow, tStart;
            {
                std::lock_guard<std::mutex> hold(m_lock);
                tStart = m_tStart;
            }
            if (m_clock && SUCCEEDED(m_clock->GetTime(&clockNow))) {
                REFERENCE_TIME start = clockNow - tStart;
                REFERENCE_TIME end = start + kTestCameraFrameMs * 10000LL;
                sample->SetTime(&start, &end);
            }
            if (input->Receive(sample) == S_OK && stats)
                InterlockedIncrement(&stats->samplesDelivered);
            ++frame;
        }
        sample->Release();
    }
}

STDMETHODIMP Filter::EnumPins(IEnumPins** ppEnum)
{
    if (!ppEnum) return E_POINTER;
    *ppEnum = new (std::nothrow) PinEnum(this, &m_pin, 0);
    return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

class Factory final : public IClassFactory {
public:
    Factory() { ObjectMade(); }
    ~Factory() { ObjectGone(); }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = --m_refs;
        if (n == 0) delete this;
        return n;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        Filter* f = new (std::nothrow) Filter();
        if (!f) return E_OUTOFMEMORY;
        HRESULT hr = f->QueryInterface(riid, ppv);
        f->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock)
            ++g_locks;
        else
            --g_locks;
        return S_OK;
    }

private:
    std::atomic<LONG> m_refs{1};
};

const wchar_t kClsidKey[] = L"CLSID\\{6F0A3C2E-5B1D-4E8A-9C47-2D3B1E0F9A11}";

bool SetString(HKEY key, const wchar_t* name, const wchar_t* value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, (const BYTE*)value,
                          (DWORD)((wcslen(value) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// COM may already be set up on the caller's thread, in either model.
struct ComScope {
    ComScope() : ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope()
    {
        if (ok) CoUninitialize();
    }
    bool ok;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_OrbiskTestCamera) return CLASS_E_CLASSNOTAVAILABLE;
    Factory* f = new (std::nothrow) Factory();
    if (!f) return E_OUTOFMEMORY;
    HRESULT hr = f->QueryInterface(riid, ppv);
    f->Release();
    return hr;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return g_localObjects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    HKEY clsid = nullptr, server = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kClsidKey, 0, nullptr, 0, KEY_WRITE, nullptr, &clsid,
                        nullptr) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    bool ok = SetString(clsid, nullptr, TEST_CAMERA_NAME) &&
              RegCreateKeyExW(clsid, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &server,
                              nullptr) == ERROR_SUCCESS &&
              SetString(server, nullptr, path) && SetString(server, L"ThreadingModel", L"Both");
    if (server) RegCloseKey(server);
    RegCloseKey(clsid);
    if (!ok) return SELFREG_E_CLASS;

    // Listed among the video input devices, where the system device
    // enumerator finds cameras.
    ComScope com;
    IFilterMapper2* mapper = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFilterMapper2, (void**)&mapper);
    if (FAILED(hr)) return hr;
    REGPINTYPES type = {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32};
    REGFILTERPINS pin = {};
    pin.strName = const_cast<LPWSTR>(L"Capture");
    pin.bOutput = TRUE;
    pin.nMediaTypes = 1;
    pin.lpMediaType = &type;
    REGFILTER2 filter = {};
    filter.dwVersion = 1;
    filter.dwMerit = MERIT_DO_NOT_USE;
    filter.cPins = 1;
    filter.rgPins = &pin;
    hr = mapper->RegisterFilter(CLSID_OrbiskTestCamera, TEST_CAMERA_NAME, nullptr,
                                &CLSID_VideoInputDeviceCategory, TEST_CAMERA_NAME, &filter);
    mapper->Release();
    return hr;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    ComScope com;
    IFilterMapper2* mapper = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFilterMapper2, (void**)&mapper);
    if (SUCCEEDED(hr)) {
        mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, TEST_CAMERA_NAME,
                                 CLSID_OrbiskTestCamera);
        mapper->Release();
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClsidKey);
    return S_OK;
}
