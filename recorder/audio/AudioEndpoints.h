// The Core Audio endpoints of one direction (microphones or speakers): the
// list of active devices with their names, and the volume and mute state of
// the selected one.
#pragma once

#include <windows.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>
#include <wrl/client.h>

#include <string>
#include <vector>

struct EndpointDeviceRecord {
    int index;
    std::string name;  // ANSI: "friendly name (endpoint id)"
};

// "%s (%s)" of a friendly name and an endpoint id, with "Unknown" for a
// missing name; at most 255 characters.
std::wstring FormatEndpointName(const PROPVARIANT& friendlyName, const wchar_t* endpointId);
// A master volume scalar as a whole percentage, truncated (0.499 gives 49,
// 0.35f gives 35).
int VolumePercent(float level);

class EndpointCollection {
public:
    // Lists the active endpoints; needs COM on the calling thread.
    explicit EndpointCollection(EDataFlow flow);
    virtual ~EndpointCollection() = default;
    EndpointCollection(const EndpointCollection&) = delete;
    EndpointCollection& operator=(const EndpointCollection&) = delete;

    // 1 when the endpoints were listed, 0 otherwise.
    int Init();

    int SelectedIndex() const { return m_selectedIndex; }
    void SetSelectedIndex(int index) { m_selectedIndex = index; }
    UINT DeviceCount() const { return m_deviceCount; }
    const std::vector<EndpointDeviceRecord>& Records() const { return m_records; }

    // "name (id)" of item i; empty on failure.
    std::wstring GetEndpointDisplayName(UINT i);
    std::wstring SelectedEndpointId();
    // The selected endpoint's volume control; null on failure.
    Microsoft::WRL::ComPtr<IAudioEndpointVolume> SelectedVolume();
    // The selected endpoint's volume in percent; 0 when it cannot be read.
    int SelectedVolumePercent();
    bool SetSelectedVolume(float percent);
    bool SetSelectedMute(BOOL mute);
    BOOL SelectedMute();

private:
    EDataFlow m_flow;
    int m_selectedIndex = 0;
    UINT m_deviceCount = 0;
    Microsoft::WRL::ComPtr<IMMDevice> m_selectedDevice;
    Microsoft::WRL::ComPtr<IMMDeviceEnumerator> m_enumerator;
    Microsoft::WRL::ComPtr<IMMDeviceCollection> m_collection;
    std::vector<EndpointDeviceRecord> m_records;
};

// Microphones (capture endpoints).
class AudioEndpointList : public EndpointCollection {
public:
    AudioEndpointList() : EndpointCollection(eCapture) {}
};

// Speakers (render endpoints).
class SpeakerEndpoint : public EndpointCollection {
public:
    SpeakerEndpoint() : EndpointCollection(eRender) {}
};

// Created at start-up, destroyed at exit.
extern AudioEndpointList* g_pMicEndpoint;
extern SpeakerEndpoint* g_pSpeakerEndpoint;

std::string GetMicEndpointName();
bool SetMicVolume(float percent);
bool SetMicMute(BOOL mute);
BOOL GetMicMute();
std::string GetSpeakerEndpointName();
bool SetSpeakerVolume(float percent);
int GetSpeakerVolume();
bool UnmuteSpeaker();
BOOL GetSpeakerMute();
