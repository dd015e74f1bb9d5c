#include "recorder/audio/AudioEndpoints.h"

#include <initguid.h>
#include <functiondiscoverykeys_devpkey.h>

#include <cwchar>

using Microsoft::WRL::ComPtr;

AudioEndpointList* g_pMicEndpoint = nullptr;
SpeakerEndpoint* g_pSpeakerEndpoint = nullptr;

namespace {

std::string ToAnsi(const std::wstring& w)
{
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

}  // namespace

std::wstring FormatEndpointName(const PROPVARIANT& friendlyName, const wchar_t* endpointId)
{
    wchar_t text[256];
    const wchar_t* name =
        friendlyName.vt == VT_LPWSTR && friendlyName.pwszVal ? friendlyName.pwszVal : L"Unknown";
    _snwprintf(text, 255, L"%ls (%ls)", name, endpointId ? endpointId : L"");
    text[255] = L'\0';
    return text;
}

int VolumePercent(float level)
{
    // Truncated, but a level stored as 0.35f (a hair below) still reads 35.
    return (int)(level * 100.0 + 1e-3);
}

EndpointCollection::EndpointCollection(EDataFlow flow) : m_flow(flow)
{
    Init();
}

int EndpointCollection::Init()
{
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&m_enumerator))))
        return 0;
    if (FAILED(m_enumerator->EnumAudioEndpoints(m_flow, DEVICE_STATE_ACTIVE, &m_collection)))
        return 0;
    if (FAILED(m_collection->GetCount(&m_deviceCount))) return 0;
    m_records.clear();
    for (UINT i = 0; i < m_deviceCount; ++i) {
        std::wstring name = GetEndpointDisplayName(i);
        if (name.empty()) return 0;
        m_records.push_back({(int)i, ToAnsi(name)});
    }
    if (m_deviceCount > 0) {
        m_selectedIndex = 0;
        if (FAILED(m_collection->Item(0, &m_selectedDevice))) return 0;
    }
    return 1;
}

std::wstring EndpointCollection::GetEndpointDisplayName(UINT i)
{
    if (!m_collection) return std::wstring();
    ComPtr<IMMDevice> device;
    if (FAILED(m_collection->Item(i, &device))) return std::wstring();
    LPWSTR id = nullptr;
    if (FAILED(device->GetId(&id))) return std::wstring();
    std::wstring text;
    ComPtr<IPropertyStore> store;
    if (SUCCEEDED(device->OpenPropertyStore(STGM_READ, &store))) {
        PROPVARIANT name;
        PropVariantInit(&name);
        if (SUCCEEDED(store->GetValue(PKEY_Device_FriendlyName, &name)))
            text = FormatEndpointName(name, id);
        PropVariantClear(&name);
    }
    CoTaskMemFree(id);
    return text;
}

std::wstring EndpointCollection::SelectedEndpointId()
{
    if (!m_collection || m_selectedIndex < 0 || (UINT)m_selectedIndex >= m_deviceCount)
        return std::wstring();
    ComPtr<IMMDevice> device;
    LPWSTR id = nullptr;
    if (FAILED(m_collection->Item(m_selectedIndex, &device)) || FAILED(device->GetId(&id)))
        return std::wstring();
    std::wstring result = id;
    CoTaskMemFree(id);
    return result;
}

ComPtr<IAudioEndpointVolume> EndpointCollection::SelectedVolume()
{
    ComPtr<IAudioEndpointVolume> volume;
    if (!m_collection || m_selectedIndex < 0) return volume;
    m_selectedDevice.Reset();
    if (FAILED(m_collection->Item(m_selectedIndex, &m_selectedDevice))) return volume;
    m_selectedDevice->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER, nullptr,
                               reinterpret_cast<void**>(volume.GetAddressOf()));
    return volume;
}

int EndpointCollection::SelectedVolumePercent()
{
    float level = 0;
    ComPtr<IAudioEndpointVolume> volume = SelectedVolume();
    if (!volume || FAILED(volume->GetMasterVolumeLevelScalar(&level))) return 0;
    return VolumePercent(level);
}

bool EndpointCollection::SetSelectedVolume(float percent)
{
    ComPtr<IAudioEndpointVolume> volume = SelectedVolume();
    if (!volume) return false;
    float current = 0;
    volume->GetMasterVolumeLevelScalar(&current);
    GUID context = {};
    return SUCCEEDED(volume->SetMasterVolumeLevelScalar((float)(percent / 100.0), &context));
}

bool EndpointCollection::SetSelectedMute(BOOL mute)
{
    ComPtr<IAudioEndpointVolume> volume = SelectedVolume();
    return volume && SUCCEEDED(volume->SetMute(mute, nullptr));
}

BOOL EndpointCollection::SelectedMute()
{
    BOOL mute = FALSE;
    ComPtr<IAudioEndpointVolume> volume = SelectedVolume();
    if (!volume || FAILED(volume->GetMute(&mute))) return FALSE;
    return mute;
}

namespace {

std::string SelectedName(EndpointCollection* endpoints)
{
    return endpoints ? ToAnsi(endpoints->GetEndpointDisplayName(endpoints->SelectedIndex()))
                     : std::string();
}

}  // namespace

std::string GetMicEndpointName()
{
    return SelectedName(g_pMicEndpoint);
}

bool SetMicVolume(float percent)
{
    return g_pMicEndpoint && g_pMicEndpoint->SetSelectedVolume(percent);
}

bool SetMicMute(BOOL mute)
{
    return g_pMicEndpoint && g_pMicEndpoint->SetSelectedMute(mute);
}

BOOL GetMicMute()
{
    return g_pMicEndpoint ? g_pMicEndpoint->SelectedMute() : FALSE;
}

std::string GetSpeakerEndpointName()
{
    return SelectedName(g_pSpeakerEndpoint);
}

bool SetSpeakerVolume(float percent)
{
    return g_pSpeakerEndpoint && g_pSpeakerEndpoint->SetSelectedVolume(percent);
}

int GetSpeakerVolume()
{
    return g_pSpeakerEndpoint ? g_pSpeakerEndpoint->SelectedVolumePercent() : 0;
}

bool UnmuteSpeaker()
{
    return g_pSpeakerEndpoint && g_pSpeakerEndpoint->SetSelectedMute(FALSE);
}

BOOL GetSpeakerMute()
{
    return g_pSpeakerEndpoint ? g_pSpeakerEndpoint->SelectedMute() : FALSE;
}
