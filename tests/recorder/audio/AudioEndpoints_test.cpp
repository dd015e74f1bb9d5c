// The Core Audio endpoint lists, their names, volume and mute, and the waveIn
// device of each microphone.
#include <gtest/gtest.h>

#include "recorder/audio/AudioEndpoints.h"
#include "recorder/audio/MicRecorder.h"

#include <mmsystem.h>

namespace {

struct Com {
    Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Com() { CoUninitialize(); }
};

TEST(EndpointName, IsTheFriendlyNameAndTheId)
{
    PROPVARIANT name;
    PropVariantInit(&name);
    EXPECT_EQ(L"Unknown ({0.0.1}.{x})", FormatEndpointName(name, L"{0.0.1}.{x}"));
    name.vt = VT_LPWSTR;
    name.pwszVal = const_cast<wchar_t*>(L"麦克风");
    EXPECT_EQ(L"麦克风 ({0.0.1}.{x})", FormatEndpointName(name, L"{0.0.1}.{x}"));
    std::wstring longName(400, L'a');
    name.pwszVal = &longName[0];
    EXPECT_EQ(255u, FormatEndpointName(name, L"{id}").size());
}

TEST(EndpointVolume, IsTruncatedToWholePercent)
{
    EXPECT_EQ(49, VolumePercent(0.499f));
    EXPECT_EQ(35, VolumePercent(0.35f));  // 0.35f is a hair below 0.35
    EXPECT_EQ(100, VolumePercent(1.0f));
    EXPECT_EQ(0, VolumePercent(0.0f));
}

TEST(Endpoints, ListTheSoundServersDevices)
{
    Com com;
    AudioEndpointList mics;
    SpeakerEndpoint speakers;
    // The null sink and its monitor, each beside PulseAudio's default device.
    ASSERT_EQ(2u, mics.DeviceCount());
    ASSERT_EQ(2u, speakers.DeviceCount());
    ASSERT_EQ(2u, mics.Records().size());
    for (const auto* list :
         {static_cast<EndpointCollection*>(&mics), static_cast<EndpointCollection*>(&speakers)}) {
        for (size_t i = 0; i < list->Records().size(); ++i) {
            const EndpointDeviceRecord& r = list->Records()[i];
            EXPECT_EQ((int)i, r.index);
            EXPECT_NE(std::string::npos, r.name.find(" ({0.0.")) << r.name;
            EXPECT_EQ(')', r.name.back());
        }
    }
    EXPECT_NE(std::string::npos, mics.Records()[0].name.find("{0.0.1."));
    EXPECT_NE(std::string::npos, speakers.Records()[0].name.find("{0.0.0."));

    g_pMicEndpoint = &mics;
    g_pSpeakerEndpoint = &speakers;
    EXPECT_EQ(mics.Records()[0].name, GetMicEndpointName());
    EXPECT_EQ(speakers.Records()[0].name, GetSpeakerEndpointName());
    // Mute is taken (Wine keeps it per volume object only, so it does not
    // read back); the volume may be refused (Wine). Nothing fails harder.
    EXPECT_TRUE(SetMicMute(TRUE));
    EXPECT_TRUE(SetMicMute(FALSE));
    EXPECT_FALSE(GetMicMute());
    EXPECT_TRUE(UnmuteSpeaker());
    EXPECT_FALSE(GetSpeakerMute());
    // The volume read back is the device's: the one set, or, where the
    // device refuses to change it (Wine), the one it had.
    const int before = GetSpeakerVolume();
    EXPECT_GE(before, 0);
    EXPECT_LE(before, 100);
    const int wanted = before == 35 ? 60 : 35;
    if (SetSpeakerVolume((float)wanted))
        EXPECT_EQ(wanted, GetSpeakerVolume());
    else
        EXPECT_EQ(before, GetSpeakerVolume());
    g_pMicEndpoint = nullptr;
    g_pSpeakerEndpoint = nullptr;
    // Without endpoint objects every operation fails softly.
    EXPECT_EQ("", GetMicEndpointName());
    EXPECT_FALSE(SetMicVolume(50));
    EXPECT_FALSE(GetMicMute());
    EXPECT_EQ(0, GetSpeakerVolume());
}

TEST(Endpoints, EachMicrophoneHasItsOwnWaveInDevice)
{
    Com com;
    AudioEndpointList mics;
    ASSERT_GT(mics.DeviceCount(), 1u);
    std::vector<UINT> devices;
    for (UINT i = 0; i < mics.DeviceCount(); ++i) {
        mics.SetSelectedIndex((int)i);
        UINT device = WaveInDeviceForEndpoint(mics.SelectedEndpointId());
        ASSERT_NE(WAVE_MAPPER, device) << mics.Records()[i].name;
        WAVEINCAPSA caps = {};
        ASSERT_EQ(MMSYSERR_NOERROR, waveInGetDevCapsA(device, &caps, sizeof caps));
        // waveIn names are the endpoint's friendly name, cut to 31 characters.
        EXPECT_EQ(0u, mics.Records()[i].name.find(caps.szPname))
            << caps.szPname << " / " << mics.Records()[i].name;
        devices.push_back(device);
    }
    EXPECT_NE(devices[0], devices[1]);
    EXPECT_EQ(WAVE_MAPPER, WaveInDeviceForEndpoint(L"{0.0.1.00000000}.{no-such-device}"));
}

}  // namespace
