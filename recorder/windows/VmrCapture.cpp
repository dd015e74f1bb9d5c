#include "recorder/windows/VmrCapture.h"

#include "recorder/windows/CameraPreview.h"

#include <cstdlib>

using Microsoft::WRL::ComPtr;

namespace {

void FreeMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt) return;
    if (mt->cbFormat) CoTaskMemFree(mt->pbFormat);
    if (mt->pUnk) mt->pUnk->Release();
    CoTaskMemFree(mt);
}

bool HasSize(const AM_MEDIA_TYPE* mt, int width, int height)
{
    if (mt->formattype != FORMAT_VideoInfo || mt->cbFormat < sizeof(VIDEOINFOHEADER) ||
        !mt->pbFormat)
        return false;
    const BITMAPINFOHEADER& bih = reinterpret_cast<const VIDEOINFOHEADER*>(mt->pbFormat)->bmiHeader;
    // Top-down formats give their height negative.
    return bih.biWidth == width && std::abs(bih.biHeight) == height;
}

}  // namespace

CVMR_Capture::~CVMR_Capture()
{
    CloseInterfaces();
}

HRESULT CVMR_Capture::InitVideoWindow(HWND hwnd)
{
    ComPtr<IBaseFilter> vmr;
    HRESULT hr = CoCreateInstance(CLSID_VideoMixingRenderer, nullptr,
                                  CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(vmr.GetAddressOf()));
    if (FAILED(hr)) return hr;
    hr = m_pGB->AddFilter(vmr.Get(), L"Video Mixing Renderer");
    if (FAILED(hr)) return hr;
    ComPtr<IVMRFilterConfig> config;
    // MinGW declares no __uuidof for the VMR-7 interfaces: their IIDs by name.
    hr = vmr->QueryInterface(IID_IVMRFilterConfig, reinterpret_cast<void**>(config.GetAddressOf()));
    if (FAILED(hr)) return hr;
    // Windowless: the renderer draws into our window, no window of its own.
    hr = config->SetRenderingMode(VMRMode_Windowless);
    if (FAILED(hr)) return hr;
    hr = vmr->QueryInterface(IID_IVMRWindowlessControl,
                             reinterpret_cast<void**>(m_pWC.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) return hr;
    return m_pWC->SetVideoClippingWindow(hwnd);
}

bool CVMR_Capture::BindDeviceByIndex(int index, IBaseFilter** filter)
{
    *filter = nullptr;
    ComPtr<ICreateDevEnum> devices;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICreateDevEnum,
                                reinterpret_cast<void**>(devices.GetAddressOf()))))
        return false;
    ComPtr<IEnumMoniker> monikers;
    // S_FALSE: the category is empty.
    if (devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers.GetAddressOf(),
                                       0) != S_OK)
        return false;
    ComPtr<IMoniker> moniker;
    for (int i = 0; monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK; ++i) {
        if (i != index) continue;
        ComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                          reinterpret_cast<void**>(bag.GetAddressOf()))))
            return false;
        VARIANT name;
        VariantInit(&name);
        bool named = SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr));
        VariantClear(&name);
        if (!named) return false;
        return SUCCEEDED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                               reinterpret_cast<void**>(filter))) &&
               *filter;
    }
    return false;
}

ComPtr<IPin> CVMR_Capture::FindPin(IBaseFilter* filter, PIN_DIRECTION direction)
{
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.GetAddressOf()))) return nullptr;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_DIRECTION dir;
        if (SUCCEEDED(pin->QueryDirection(&dir)) && dir == direction) return pin;
    }
    return nullptr;
}

HRESULT CVMR_Capture::Init(int deviceIndex, HWND hwnd)
{
    CloseInterfaces();
    m_nDevice = deviceIndex;
    HRESULT hr = BuildGraph(deviceIndex, hwnd);
    // kNoDevice has the value of S_FALSE: the state tells them apart.
    if (m_nState != kRunning) CloseInterfaces();
    return hr;
}

HRESULT CVMR_Capture::BuildGraph(int deviceIndex, HWND hwnd)
{
    HRESULT hr =
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                         reinterpret_cast<void**>(m_pGB.GetAddressOf()));
    if (FAILED(hr)) return hr;
    hr = InitVideoWindow(hwnd);
    if (FAILED(hr)) return hr;
    if (deviceIndex < 0 || !BindDeviceByIndex(deviceIndex, m_pDF.GetAddressOf())) return kNoDevice;
    hr = m_pGB->AddFilter(m_pDF.Get(), L"Video Capture");
    if (FAILED(hr)) return hr;
    m_pCamOutPin = FindPin(m_pDF.Get(), PINDIR_OUTPUT);
    if (!m_pCamOutPin) return VFW_E_NOT_FOUND;
    hr = m_pGB.As(&m_pMC);
    if (FAILED(hr)) return hr;
    // A camera that happens to offer a tiny format starts with it; any
    // other keeps its own.
    SelectCaptureFormat(hwnd, 50, 50);
    hr = m_pGB->Render(m_pCamOutPin.Get());
    if (FAILED(hr)) return hr;
    // The renderer knows the picture's size only once connected.
    RECT client = {};
    ::GetClientRect(hwnd, &client);
    SetVideoPosition(CameraPictureRect(client.right, client.bottom, false));
    hr = m_pMC->Run();
    if (SUCCEEDED(hr)) m_nState = kRunning;
    return hr;
}

HRESULT CVMR_Capture::SelectCaptureFormat(HWND hwnd, int width, int height)
{
    if (!m_pCamOutPin) return S_OK;

    AM_MEDIA_TYPE* wanted = nullptr;
    ComPtr<IEnumMediaTypes> types;
    if (SUCCEEDED(m_pCamOutPin->EnumMediaTypes(types.GetAddressOf()))) {
        AM_MEDIA_TYPE* mt = nullptr;
        while (!wanted && types->Next(1, &mt, nullptr) == S_OK) {
            if (HasSize(mt, width, height))
                wanted = mt;
            else
                FreeMediaType(mt);
        }
    }
    ComPtr<IAMStreamConfig> config;
    if (SUCCEEDED(m_pCamOutPin.As(&config))) {
        // Asked again only when the size differs from what the device
        // delivers: a camera that changes formats on the fly would
        // otherwise restart its stream at every request.
        if (wanted && (width != m_nWidth || height != m_nHeight)) config->SetFormat(wanted);
        AM_MEDIA_TYPE* current = nullptr;
        if (SUCCEEDED(config->GetFormat(&current)) && current) {
            if (current->formattype == FORMAT_VideoInfo &&
                current->cbFormat >= sizeof(VIDEOINFOHEADER) && current->pbFormat) {
                const BITMAPINFOHEADER& bih =
                    reinterpret_cast<const VIDEOINFOHEADER*>(current->pbFormat)->bmiHeader;
                m_nWidth = bih.biWidth;
                m_nHeight = std::abs(bih.biHeight);
            }
            FreeMediaType(current);
        }
    }
    FreeMediaType(wanted);

    RECT client = {};
    ::GetClientRect(hwnd, &client);
    return SetVideoPosition(CameraPictureRect(client.right, client.bottom, false));
}

HRESULT CVMR_Capture::SetVideoPosition(const RECT& dest)
{
    if (!m_pWC) return S_OK;
    m_rcVideo = dest;
    return m_pWC->SetVideoPosition(nullptr, &m_rcVideo);
}

void CVMR_Capture::CloseInterfaces()
{
    if (m_pMC) m_pMC->Stop();
    m_nState = kStopped;
    // The pins hold each other; disconnected, nothing keeps the filters
    // alive once the graph goes.
    if (m_pCamOutPin && m_pGB) {
        ComPtr<IPin> peer;
        if (SUCCEEDED(m_pCamOutPin->ConnectedTo(peer.GetAddressOf())))
            m_pGB->Disconnect(peer.Get());
        m_pGB->Disconnect(m_pCamOutPin.Get());
    }
    m_pCamOutPin.Reset();
    m_pMC.Reset();
    m_pWC.Reset();
    m_pGB.Reset();
    m_pDF.Reset();
    m_rcVideo = {0, 0, 0, 0};
}
