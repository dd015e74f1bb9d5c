// Entry point of Orbisk.exe: brings the program up in a fixed order, runs
// the main window's message loop and takes everything down in reverse.
#include "app/CrashDump.h"
#include "app/LedFont.h"
#include "app/MainFrame.h"
#include "app/MessageBoxWindow.h"
#include "app/ProgramModules.h"
#include "app/ResourceIds.h"
#include "app/SingleInstance.h"
#include "app/StaticStartup.h"
#include "core/CfgDocument.h"
#include "core/UiThread.h"
#include "kit/Dialogs.h"
#include "platform/ui/UIlib.h"
#include "recorder/OverlaySettings.h"
#include "recorder/audio/AudioEndpoints.h"
#include "recorder/codecs/CodecPresets.h"
#include "recorder/codecs/CodecStartup.h"
#include "recorder/codecs/CompressorList.h"
#include "recorder/recording/RecordLoop.h"
#include "recorder/recording/RecordingState.h"
#include "recorder/recording/RecoverRecording.h"

#include <objbase.h>
#include <memory>
#include <ole2.h>

namespace {

// Closing saved any recording already; this only covers the window going
// away another way.
const DWORD kRecordingEndWaitMs = 60 * 1000;

// Keeps the rich-edit control library loaded while the windows run.
class RichEditLibrary {
public:
    RichEditLibrary() : module_(LoadLibraryA("Riched20.dll")) {}
    ~RichEditLibrary()
    {
        if (module_) FreeLibrary(module_);
    }
    RichEditLibrary(const RichEditLibrary&) = delete;
    RichEditLibrary& operator=(const RichEditLibrary&) = delete;

private:
    HMODULE module_;
};

// COM and OLE for the UI thread, in the order they came up.
class ComApartment {
public:
    ComApartment()
    {
        firstCom_ = SUCCEEDED(CoInitialize(nullptr));
        ole_ = SUCCEEDED(OleInitialize(nullptr));
        // The second initialisation is the one start-up depends on.
        HRESULT hr = CoInitialize(nullptr);
        secondCom_ = SUCCEEDED(hr);
    }
    ~ComApartment()
    {
        if (secondCom_) CoUninitialize();
        if (ole_) OleUninitialize();
        if (firstCom_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool Ready() const { return secondCom_; }

private:
    bool firstCom_ = false;
    bool ole_ = false;
    bool secondCom_ = false;
};

// The microphone and speaker endpoint objects, for the life of the windows.
// One that cannot be made stays null; the program goes on without it.
class AudioEndpoints {
public:
    AudioEndpoints()
    {
        g_pMicEndpoint = new (std::nothrow) AudioEndpointList();
        if (g_pMicEndpoint) g_pMicEndpoint->Init();
        g_pSpeakerEndpoint = new (std::nothrow) SpeakerEndpoint();
        if (g_pSpeakerEndpoint) g_pSpeakerEndpoint->Init();
    }
    ~AudioEndpoints()
    {
        delete g_pMicEndpoint;
        g_pMicEndpoint = nullptr;
        delete g_pSpeakerEndpoint;
        g_pSpeakerEndpoint = nullptr;
    }
    AudioEndpoints(const AudioEndpoints&) = delete;
    AudioEndpoints& operator=(const AudioEndpoints&) = delete;
};

void ApplyStartupOverlayFlags()
{
    // The watermark's own settings decide whether a picture is drawn; the
    // caption is on as soon as it has a text.
    g_bWatermarkEnabled = 1;
    g_captionSettings.enabled = g_captionSettings.text.empty() ? 0 : 1;
}

bool CreateMainWindow(MainFrame* frame)
{
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION |
                        WS_SYSMENU | WS_MINIMIZEBOX;  // 0x96CA0000
    if (!frame->Create(nullptr, kMainFrameTitle, style, WS_EX_APPWINDOW, 0, 0, 600, 800))
        return false;
    frame->SetIcon(kAppIconResource);
    frame->CenterWindow();
    frame->ShowWindow(true);
    return true;
}

int RunProgram()
{
    // The UI library takes its resources from the program folder.
    DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleA(nullptr));
    DuiLib::CPaintManagerUI::SetResourcePath(DuiLib::CPaintManagerUI::GetInstancePath());
    DuiLib::WindowImplBase::SetSkinBackgroundHook(GetSkinBackgroundFile);
    // Workers hand their work for the windows and the configuration to this
    // thread.
    BindUiThread();
    // The windows of every module ask their questions in the program's box.
    SetQuestionBox(MessageBoxWindow::Ask);

    LedFontScope ledFont;
    RichEditLibrary richEdit;
    ComApartment com;
    if (!com.Ready()) return 0;

    LoadConfigFile();
    LoadOverlaySettings();
    WriteXvidDefaults();
    WriteX264Defaults();
    RegisterModuleWindows();
    RunModulesBeforeMainWindow();
    ApplyStartupOverlayFlags();
    auto endpoints = std::make_unique<AudioEndpoints>();
    LoadSettingsAndInstallCodecs();

    g_pMainFrame = new (std::nothrow) MainFrame();
    if (!g_pMainFrame) return 0;
    if (!CreateMainWindow(g_pMainFrame)) {
        delete g_pMainFrame;
        g_pMainFrame = nullptr;
        return 0;
    }

    RunModulesAfterMainWindow();
    // A recording cut short by the end of an earlier run is saved before a
    // new one can reuse its temporary files (none starts before the message
    // loop runs), under the main window's cover and with its word after.
    RecoverInterruptedRecording();

    DuiLib::CPaintManagerUI::MessageLoop();
    StopModules();
    DuiLib::CPaintManagerUI::Term();

    // The window saved any recording before it closed; whatever of the
    // recording's threads still runs ends before what it uses goes.
    WaitForRecordIdle(kRecordingEndWaitMs);
    UnbindUiThread();
    endpoints.reset();
    g_pCodecInfos.reset();
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    InstallCrashFilter();
#ifdef ORBISK_TEST_HOOKS
    CrashIfAsked(commandLine);
#endif
    if (!AcquireSingleInstance()) {
        ActivateRunningInstance();
        ExitProcess(0);
    }
    return RunProgram();
}
