// The microphone window ("麦克风音量设置") and the speaker window
// ("扬声器音量设置"), opened from the main window's microphone and speaker
// icons: the volume of the endpoint, whether that source is recorded (the
// check box and the icon), and for the microphone which device is used.
// Whether a source is recorded is kept in the configuration and in the flag
// the next recording reads; the main window's icon follows it.
//
// A missing endpoint, or one whose volume cannot be set (Wine), leaves the
// window usable: the slider shows 0, moving it changes only its own text.
#pragma once

#include "kit/SkinWindow.h"

#include <string>

class VolumeWindow : public SkinWindow {
public:
    // What differs between the two windows.
    struct Source {
        const char* layout;
        const char* check;        // the record check box
        const char* volumeIcon;   // shown while recorded; a click turns it off
        const char* muteIcon;     // shown while not recorded; a click turns it on
        const char* mainNormal;   // the main window's icons
        const char* mainMute;
        bool recordedByDefault;   // when the configuration has no value
        int (*readVolume)();      // percent, 0 when it cannot be read
        bool (*setVolume)(float percent);
        std::string (*endpointName)();
        unsigned (*storeRecorded)(int rec);
        int (*loadRecorded)(int fallback);
        void (*setFlag)(bool recorded);
        bool (*unmute)();
    };

protected:
    VolumeWindow(const Source& source, int x, int y);

    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;

    // Shows the recorded state in the window without telling anyone.
    void ShowRecorded(bool recorded);
    void ShowVolume(int percent);
    void ShowEndpointName();

    const Source& m_source;
    POINT m_at;
    DuiLib::CSliderUI* m_pSlider = nullptr;
    DuiLib::CControlUI* m_pVolumeText = nullptr;
    DuiLib::CCheckBoxUI* m_pCheck = nullptr;
    // The check box and the combo raise their selection events while the
    // window fills them: those are not the user's.
    bool m_ready = false;
    bool m_applying = false;

private:
    bool OnSliderNotify(void* param);
    void SetRecorded(bool recorded);
};

class MichoneVolumeWindow : public VolumeWindow {
public:
    // A tool window with its top-left corner at the screen point (x, y).
    MichoneVolumeWindow(HWND ignored, int x, int y);

protected:
    LPCSTR GetWindowClassName() const override { return "MichoneVolumeWindow"; }
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;

private:
    void FillDevices();
    DuiLib::CComboUI* m_pDevices = nullptr;
};

class SpeakerVolumeWindow : public VolumeWindow {
public:
    SpeakerVolumeWindow(HWND ignored, int x, int y);

protected:
    LPCSTR GetWindowClassName() const override { return "SpeakerVolumeWindow"; }
};
