#include "settings/VolumeWindows.h"

#include "core/CfgDocument.h"
#include "recorder/audio/AudioEndpoints.h"
#include "recorder/audio/AudioRecording.h"

#include <cstdio>

namespace {

const char kSlider[] = "MicSlider";
const char kDevices[] = "select_mic_device_combox";
const int kDeviceItemWidth = 170;
const int kDeviceItemHeight = 25;

int MicVolume()
{
    return g_pMicEndpoint ? g_pMicEndpoint->SelectedVolumePercent() : 0;
}

unsigned StoreMic(int rec) { return g_cfgDocument.SetCfgRecMicphone(rec); }
unsigned StoreSpeaker(int rec) { return g_cfgDocument.SetCfgRecSpeaker(rec); }

int LoadMic(int fallback)
{
    int rec = fallback;
    g_cfgDocument.GetCfgRecMicphone(&rec);
    return rec;
}

int LoadSpeaker(int fallback)
{
    int rec = fallback;
    g_cfgDocument.GetCfgRecSpeaker(&rec);
    return rec;
}

void FlagMic(bool recorded) { g_bRecordMic = recorded ? 1 : 0; }
void FlagSpeaker(bool recorded) { g_bRecordSpeaker = recorded ? 1 : 0; }

bool UnmuteMic() { return SetMicMute(FALSE); }

const VolumeWindow::Source kMicrophone = {
    "micphone_volume_wnd.xml", "IsRecMicChk", "microphoneVolume",
    "microphoneVolumeMute", "microphoneNormal", "microphoneMute", false, MicVolume,
    SetMicVolume, GetMicEndpointName, StoreMic, LoadMic, FlagMic, UnmuteMic,
};

const VolumeWindow::Source kSpeaker = {
    "speaker_volume_wnd.xml", "IsRecSpeakerChk", "speakerVolume",
    "speakerVolumeMute", "speakerNormal", "speakerMute", true, GetSpeakerVolume,
    SetSpeakerVolume, GetSpeakerEndpointName, StoreSpeaker, LoadSpeaker, FlagSpeaker,
    UnmuteSpeaker,
};

}  // namespace

VolumeWindow::VolumeWindow(const Source& source, int x, int y)
    : SkinWindow({source.layout}), m_source(source), m_at{x, y}
{
}

void VolumeWindow::InitWindow()
{
    SkinWindow::InitWindow();
    const SIZE size = m_PaintManager.GetInitSize();
    ::SetWindowPos(m_hWnd, nullptr, m_at.x, m_at.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void VolumeWindow::OnWindowInit()
{
    m_pSlider = Find<DuiLib::CSliderUI>(kSlider);
    m_pVolumeText = Find("volumeText");
    m_pCheck = Find<DuiLib::CCheckBoxUI>(m_source.check);
    if (m_pSlider) m_pSlider->OnNotify += DuiLib::MakeDelegate(this, &VolumeWindow::OnSliderNotify);
    ShowVolume(m_source.readVolume());
    ShowEndpointName();
    ShowRecorded(m_source.loadRecorded(m_source.recordedByDefault ? 1 : 0) != 0);
    m_ready = true;
}

void VolumeWindow::ShowVolume(int percent)
{
    if (m_pSlider) m_pSlider->SetValue(percent);
    char text[16];
    snprintf(text, sizeof text, "%d", percent);
    if (m_pVolumeText) m_pVolumeText->SetText(text);
}

void VolumeWindow::ShowEndpointName()
{
    const std::string name = m_source.endpointName();
    if (name.empty()) return;  // the layout's own title stays
    if (DuiLib::CControlUI* title = Find("titleMicName")) {
        title->SetText(name.c_str());
        title->SetToolTip(name.c_str());
    }
}

void VolumeWindow::ShowRecorded(bool recorded)
{
    if (DuiLib::CControlUI* icon = Find(m_source.volumeIcon)) icon->SetVisible(recorded);
    if (DuiLib::CControlUI* icon = Find(m_source.muteIcon)) icon->SetVisible(!recorded);
    // The box reports only a real change, so setting it from inside its own
    // handler ends there.
    if (m_pCheck) m_pCheck->Selected(recorded);
}

void VolumeWindow::SetRecorded(bool recorded)
{
    // Setting the box from an icon's click raises the box's own event,
    // which lands here again: the first call does the work.
    if (m_applying) return;
    m_applying = true;
    ShowRecorded(recorded);
    if (recorded) m_source.unmute();
    if (MainWindow* main = GetMainWindow()) {
        main->ShowControl(m_source.mainNormal, recorded);
        main->ShowControl(m_source.mainMute, !recorded);
    }
    m_source.storeRecorded(recorded ? 1 : 0);
    m_source.setFlag(recorded);
    m_applying = false;
}

bool VolumeWindow::OnSliderNotify(void* param)
{
    auto* msg = static_cast<DuiLib::TNotifyUI*>(param);
    if (!msg || msg->sType != DUI_MSGTYPE_VALUECHANGED || !m_pSlider) return true;
    const int value = m_pSlider->GetValue();
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    if (m_pVolumeText) m_pVolumeText->SetText(text);
    // Refused under Wine and without a device: the number stays the user's
    // choice and nothing else changes.
    m_source.setVolume((float)value);
    return true;
}

void VolumeWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (!msg.pSender) return;
    const DuiLib::CDuiString name = msg.pSender->GetName();
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (name == "closebtn")
            Close(IDOK);
        else if (name == m_source.volumeIcon)
            SetRecorded(false);
        else if (name == m_source.muteIcon)
            SetRecorded(true);
        return;
    }
    if (msg.sType == DUI_MSGTYPE_SELECTCHANGED && m_ready && name == m_source.check && m_pCheck)
        SetRecorded(m_pCheck->IsSelected());
}

// --- Microphone ------------------------------------------------------------------

MichoneVolumeWindow::MichoneVolumeWindow(HWND, int x, int y) : VolumeWindow(kMicrophone, x, y)
{
    Create(nullptr, "麦克风音量设置", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0);
    ShowWindow(true);
}

void MichoneVolumeWindow::OnWindowInit()
{
    m_pDevices = Find<DuiLib::CComboUI>(kDevices);
    FillDevices();
    VolumeWindow::OnWindowInit();
    // Whether the microphone is heard follows whether it is recorded.
    SetMicMute(m_pCheck && !m_pCheck->IsSelected());
}

void MichoneVolumeWindow::FillDevices()
{
    if (!m_pDevices || !g_pMicEndpoint) return;
    for (const EndpointDeviceRecord& device : g_pMicEndpoint->Records()) {
        auto* item = new DuiLib::CListLabelElementUI;
        item->SetText(device.name.c_str());
        item->SetToolTip(device.name.c_str());
        item->SetFixedHeight(kDeviceItemHeight);
        item->SetFixedWidth(kDeviceItemWidth);
        m_pDevices->Add(item);
    }
    // The device the recording will use; the first one until the user
    // chooses another.
    const int selected = g_pMicEndpoint->SelectedIndex();
    if (m_pDevices->GetCount() > 0)
        m_pDevices->SelectItem(selected >= 0 && selected < m_pDevices->GetCount() ? selected : 0);
}

void MichoneVolumeWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_ITEMSELECT && m_ready && msg.pSender == m_pDevices &&
        g_pMicEndpoint) {
        // The chosen microphone is the one the next recording captures; the
        // window shows its volume and name.
        g_pMicEndpoint->SetSelectedIndex(m_pDevices->GetCurSel());
        ShowVolume(g_pMicEndpoint->SelectedVolumePercent());
        ShowEndpointName();
        SetMicMute(m_pCheck && !m_pCheck->IsSelected());
        return;
    }
    VolumeWindow::OnNotify(msg);
}

// --- Speaker ---------------------------------------------------------------------

SpeakerVolumeWindow::SpeakerVolumeWindow(HWND, int x, int y) : VolumeWindow(kSpeaker, x, y)
{
    Create(nullptr, "扬声器音量设置", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0);
    ShowWindow(true);
}
