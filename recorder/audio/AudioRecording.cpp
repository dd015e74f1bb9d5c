#include "recorder/audio/AudioRecording.h"

#include "recorder/audio/AudioEndpoints.h"
#include "recorder/audio/MicRecorder.h"
#include "recorder/audio/SoundAligner.h"
#include "recorder/audio/SoundTimeline.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>

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
// How long the stop waits for a microphone write in progress.
const DWORD kGateMs = 2000;

// The microphone's way to its writer. Its capture thread may outlive the
// recording (left behind by a stop); once the gate is shut it writes
// nowhere, so the writers can go.
struct MicGate {
    std::timed_mutex lock;
    bool open = true;
    std::unique_ptr<SoundAligner> aligner;
};

bool g_active = false;
AudioRecordingSetup g_setup;
// A stop holds the system sound at once, while the microphone's late sound
// still comes in up to the end.
std::atomic<bool> g_speakerPaused{false};
std::atomic<UINT64> g_speakerFrames{0};  // of the system-sound writer, once closed
WAVEFORMATEX g_micFormat;
AudioClientSource g_loopbackSource;
SoundTimeline g_timeline;
std::shared_ptr<MicGate> g_micGate;

void Report(const char* text)
{
    printf("%s\n", text);
    fflush(stdout);
}

void CloseSpeakerWriter()
{
    if (!g_pSpeakerMp3Writer) return;
    g_pSpeakerMp3Writer->Finish();
    g_speakerFrames = g_pSpeakerMp3Writer->FramesWritten();
    delete g_pSpeakerMp3Writer;
    g_pSpeakerMp3Writer = nullptr;
}

LoopbackSink SystemSoundSink(bool mixWithMic)
{
    LoopbackSink sink;
    sink.open = [mixWithMic](UINT32 rate) -> const char* {
        try {
            if (mixWithMic)
                g_pMergeMp3Writer = new CMp3WriteMerge(kBitrate, rate, g_setup.speakerMp3,
                                                       g_setup.tempFolder, Mp3For::Video);
            else
                g_pSpeakerMp3Writer =
                    new CMp3Writer(kBitrate, rate, g_setup.speakerMp3, Mp3For::Video);
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
        if (!mixWithMic) CloseSpeakerWriter();
    };
    return sink;
}

// The waveIn device of the microphone chosen in the endpoint list.
UINT MicDevice()
{
    if (!g_pMicEndpoint || g_pMicEndpoint->DeviceCount() == 0) return WAVE_MAPPER;
    return WaveInDeviceForEndpoint(g_pMicEndpoint->SelectedEndpointId());
}

void ForgetMicRecorder()
{
    // A capture thread that would not end may still use its recorder.
    if (!g_pMicRecorder->ThreadLeftBehind()) delete g_pMicRecorder;
    g_pMicRecorder = nullptr;
}

bool StartMicrophone(UINT device, bool intoMix)
{
    SoundAligner::Sink sink;
    const WAVEFORMATEX* shared = nullptr;
    if (intoMix) {
        g_micFormat = g_wfxLoopback;
        shared = &g_micFormat;
        sink = [](const BYTE* data, UINT32 bytes) { g_pMergeMp3Writer->WriteMic(data, bytes); };
    } else {
        try {
            g_pMicMp3Writer =
                new CMp3Writer(kBitrate, kMicAloneRate, g_setup.micMp3, Mp3For::Video);
        } catch (const char* error) {
            Report(error);
            return false;
        }
        sink = [](const BYTE* data, UINT32 bytes) { g_pMicMp3Writer->Write(data, bytes); };
    }
    auto gate = std::make_shared<MicGate>();
    g_pMicRecorder = new CMicRecorder(
        device, shared,
        [gate](const BYTE* data, UINT32 bytes) {
            const DWORD arrival = timeGetTime();
            std::lock_guard<std::timed_mutex> lock(gate->lock);
            if (gate->open) gate->aligner->Add(data, bytes, arrival);
        },
        nullptr);
    const WAVEFORMATEX& format = g_pMicRecorder->Format();
    gate->aligner.reset(
        new SoundAligner(g_timeline, format.nSamplesPerSec, format.nBlockAlign, std::move(sink)));
    g_micGate = gate;
    if (StartMicRecorder()) return true;
    // Nothing half-made stays behind: no recorder, no empty MP3.
    g_micGate.reset();
    ForgetMicRecorder();
    if (g_pMicMp3Writer) {
        delete g_pMicMp3Writer;
        g_pMicMp3Writer = nullptr;
        DeleteFileA(g_setup.micMp3.c_str());
    }
    return false;
}

// Stops the microphone; false when its thread may still reach the writers.
bool StopMicrophone()
{
    if (!g_pMicRecorder) return true;
    EnterCriticalSection(g_pMicRecorder->CriticalSection());
    g_pMicRecorder->Stop();
    LeaveCriticalSection(g_pMicRecorder->CriticalSection());
    ForgetMicRecorder();
    std::shared_ptr<MicGate> gate = std::move(g_micGate);
    if (!gate) return true;
    std::unique_lock<std::timed_mutex> lock(gate->lock, std::defer_lock);
    if (!lock.try_lock_for(std::chrono::milliseconds(kGateMs))) return false;
    // A stream whose clock never settled (a very short recording) still
    // hands on what it has.
    gate->aligner->Flush();
    gate->open = false;
    return true;
}

}  // namespace

AudioStartResult StartRecordingAudio(const AudioRecordingSetup& setup)
{
    if (g_active) StopRecordingAudio();
    g_active = true;
    g_setup = setup;
    g_speakerPaused = false;
    g_speakerFrames = 0;
    g_timeline.Reset();
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
            // so that the microphone knows where its sound goes. One that
            // failed is ending; one still starting is stuck in the device and
            // is left behind at once.
            const bool ending = GetLoopbackState() == LoopbackState::Failed;
            if (ReleaseLoopbackRecorder(ending ? CLoopbackRecorder::kStopMs : 0)) {
                if (g_pMergeMp3Writer && g_pMergeMp3Writer->Close(CMp3WriteMerge::kCloseMs))
                    delete g_pMergeMp3Writer;
                CloseSpeakerWriter();
            }
            g_pMergeMp3Writer = nullptr;
            g_pSpeakerMp3Writer = nullptr;
            DeleteFileA(setup.speakerMp3.c_str());
        }
    }
    if (setup.microphone) result.microphone = StartMicrophone(micDevice, result.systemSound);
    result.origin = timeGetTime();
    g_timeline.SetOrigin(result.origin);
    return result;
}

void SetRecordingSoundOrigin(DWORD tick)
{
    g_timeline.SetOrigin(tick);
}

void PauseRecordingAudio(DWORD at)
{
    g_speakerPaused = true;
    g_timeline.Pause(at);
}

void ResumeRecordingAudio(DWORD at)
{
    g_timeline.Resume(at);
    g_speakerPaused = false;
}

bool SystemSoundFailed()
{
    return g_active && g_setup.systemSound && GetLoopbackState() == LoopbackState::Failed;
}

std::string StopRecordingAudio(DWORD endAt)
{
    if (!g_active) return std::string();
    g_active = false;
    g_speakerPaused = true;
    g_timeline.End(endAt);
    const bool micReleased = StopMicrophone();
    const bool speakerReleased = !g_setup.systemSound || StopSystemSoundCapture();

    UINT64 speakerFrames = g_speakerFrames, micFrames = 0;
    if (g_pMergeMp3Writer) {
        // Both recorders reach the mix; a merge that does not end in time
        // keeps the writer.
        if (micReleased && speakerReleased && g_pMergeMp3Writer->Close(CMp3WriteMerge::kCloseMs)) {
            speakerFrames = g_pMergeMp3Writer->FramesWritten();
            delete g_pMergeMp3Writer;
        } else {
            speakerFrames = 0;
        }
        g_pMergeMp3Writer = nullptr;
    }
    if (g_pSpeakerMp3Writer) {
        // Its capture was left behind before it could close it.
        if (speakerReleased) CloseSpeakerWriter();
        speakerFrames = speakerReleased ? (UINT64)g_speakerFrames : 0;
        g_pSpeakerMp3Writer = nullptr;
    }
    if (g_pMicMp3Writer) {
        if (micReleased) {
            g_pMicMp3Writer->Finish();
            micFrames = g_pMicMp3Writer->FramesWritten();
            delete g_pMicMp3Writer;
        }
        g_pMicMp3Writer = nullptr;
    }
    if (speakerFrames == 0) DeleteFileA(g_setup.speakerMp3.c_str());
    if (micFrames == 0) DeleteFileA(g_setup.micMp3.c_str());
    g_speakerPaused = false;
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
