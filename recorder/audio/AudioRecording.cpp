#include "recorder/audio/AudioRecording.h"

#include "recorder/audio/AudioEndpoints.h"
#include "recorder/audio/MicRecorder.h"

#include <cstdio>

std::atomic<BOOL> g_bRecordSpeaker{1};
std::atomic<BOOL> g_bRecordMic{0};

CMp3Writer* g_pSpeakerMp3Writer = nullptr;
CMp3Writer* g_pMicMp3Writer = nullptr;
CMp3WriteMerge* g_pMergeMp3Writer = nullptr;

namespace {

const UINT32 kBitrate = 128;
const UINT32 kMicAloneRate = 44100;
// The capture is usually running within a few hundred milliseconds.
const DWORD kLoopbackStartMs = 3000;

bool g_active = false;
AudioRecordingSetup g_setup;
// Pausing holds both; a stop holds the system sound at once, while the
// microphone's late sound still comes in.
std::atomic<bool> g_micPaused{false};
std::atomic<bool> g_speakerPaused{false};
std::atomic<UINT64> g_speakerFrames{0};  // of the system-sound writer, once closed
WAVEFORMATEX g_micFormat;
AudioClientSource g_loopbackSource;

void Report(const char* text)
{
    printf("%s\n", text);
    fflush(stdout);
}

LoopbackSink SystemSoundSink(bool mixWithMic)
{
    LoopbackSink sink;
    sink.open = [mixWithMic](UINT32 rate) -> const char* {
        try {
            if (mixWithMic)
                g_pMergeMp3Writer =
                    new CMp3WriteMerge(kBitrate, rate, g_setup.speakerMp3, g_setup.tempFolder);
            else
                g_pSpeakerMp3Writer = new CMp3Writer(kBitrate, rate, g_setup.speakerMp3);
        } catch (const char* error) {
            return error;
        }
        return nullptr;
    };
    sink.write = [mixWithMic](const short* stereo, UINT32 frames) {
        if (mixWithMic)
            g_pMergeMp3Writer->WriteSpeaker(stereo, frames * 4);
        else
            g_pSpeakerMp3Writer->Write(stereo, frames * 4);
    };
    sink.close = [mixWithMic] {
        // The mix stays open for the microphone until the recording stops.
        if (mixWithMic) return;
        g_pSpeakerMp3Writer->Finish();
        g_speakerFrames = g_pSpeakerMp3Writer->FramesWritten();
        delete g_pSpeakerMp3Writer;
        g_pSpeakerMp3Writer = nullptr;
    };
    return sink;
}

// The waveIn device of the microphone chosen in the endpoint list.
UINT MicDevice()
{
    if (!g_pMicEndpoint || g_pMicEndpoint->DeviceCount() == 0) return WAVE_MAPPER;
    return WaveInDeviceForEndpoint(g_pMicEndpoint->SelectedEndpointId());
}

bool StartMicrophone(UINT device, bool intoMix)
{
    MicWriter writer;
    const WAVEFORMATEX* shared = nullptr;
    if (intoMix) {
        g_micFormat = g_wfxLoopback;
        shared = &g_micFormat;
        writer = [](const BYTE* data, UINT32 bytes) { g_pMergeMp3Writer->WriteMic(data, bytes); };
    } else {
        try {
            g_pMicMp3Writer = new CMp3Writer(kBitrate, kMicAloneRate, g_setup.micMp3);
        } catch (const char* error) {
            Report(error);
            return false;
        }
        writer = [](const BYTE* data, UINT32 bytes) { g_pMicMp3Writer->Write(data, bytes); };
    }
    g_pMicRecorder = new CMicRecorder(device, shared, writer, &g_micPaused);
    if (StartMicRecorder()) return true;
    // Nothing half-made stays behind: no recorder, no empty MP3.
    delete g_pMicRecorder;
    g_pMicRecorder = nullptr;
    if (g_pMicMp3Writer) {
        delete g_pMicMp3Writer;
        g_pMicMp3Writer = nullptr;
        DeleteFileA(g_setup.micMp3.c_str());
    }
    return false;
}

}  // namespace

AudioStartResult StartRecordingAudio(const AudioRecordingSetup& setup)
{
    if (g_active) StopRecordingAudio();
    g_active = true;
    g_setup = setup;
    g_micPaused = g_speakerPaused = false;
    g_speakerFrames = 0;
    // A file left from an earlier recording must not pass for this one's.
    DeleteFileA(setup.speakerMp3.c_str());
    DeleteFileA(setup.micMp3.c_str());

    const UINT micDevice = setup.microphone ? MicDevice() : WAVE_MAPPER;
    AudioStartResult result;
    if (setup.systemSound) {
        StartSystemSoundCapture(g_loopbackSource ? g_loopbackSource : DefaultRenderClient,
                                SystemSoundSink(setup.microphone), &g_speakerPaused);
        result.systemSound = WaitForLoopbackFormat(kLoopbackStartMs);
        if (!result.systemSound) {
            // Failed, or still not running: give up on it for this recording,
            // so that the microphone knows where its sound goes.
            ReleaseLoopbackRecorder();
            delete g_pMergeMp3Writer;
            g_pMergeMp3Writer = nullptr;
            DeleteFileA(setup.speakerMp3.c_str());
        }
    }
    if (setup.microphone) result.microphone = StartMicrophone(micDevice, result.systemSound);
    return result;
}

void PauseRecordingAudio()
{
    g_micPaused = g_speakerPaused = true;
}

void ResumeRecordingAudio()
{
    g_micPaused = g_speakerPaused = false;
}

std::string StopRecordingAudio()
{
    if (!g_active) return std::string();
    g_active = false;
    g_speakerPaused = true;
    if (g_pMicRecorder) {
        EnterCriticalSection(g_pMicRecorder->CriticalSection());
        g_pMicRecorder->Stop();
        LeaveCriticalSection(g_pMicRecorder->CriticalSection());
        delete g_pMicRecorder;
        g_pMicRecorder = nullptr;
    }
    if (g_setup.systemSound) StopSystemSoundCapture();

    UINT64 speakerFrames = g_speakerFrames, micFrames = 0;
    if (g_pMergeMp3Writer) {
        g_pMergeMp3Writer->Close();
        speakerFrames = g_pMergeMp3Writer->FramesWritten();
        delete g_pMergeMp3Writer;
        g_pMergeMp3Writer = nullptr;
    }
    if (g_pMicMp3Writer) {
        g_pMicMp3Writer->Finish();
        micFrames = g_pMicMp3Writer->FramesWritten();
        delete g_pMicMp3Writer;
        g_pMicMp3Writer = nullptr;
    }
    if (speakerFrames == 0) DeleteFileA(g_setup.speakerMp3.c_str());
    if (micFrames == 0) DeleteFileA(g_setup.micMp3.c_str());
    g_micPaused = g_speakerPaused = false;
    if (speakerFrames > 0) return g_setup.speakerMp3;
    if (micFrames > 0) return g_setup.micMp3;
    return std::string();
}

#if ORBISK_TEST_HOOKS
void SetLoopbackClientSourceForTests(AudioClientSource source)
{
    g_loopbackSource = std::move(source);
}
#endif
