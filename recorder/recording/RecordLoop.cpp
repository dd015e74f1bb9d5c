#include "recorder/recording/RecordLoop.h"

#include "core/AppPaths.h"
#include "core/CfgDocument.h"
#include "core/SystemMessageBox.h"
#include "core/UiThread.h"
#include "recorder/Camera.h"
#include "recorder/OverlaySettings.h"
#include "recorder/audio/AudioRecording.h"
#include "recorder/audio/LoopbackRecorder.h"
#include "recorder/codecs/CodecPresets.h"
#include "recorder/codecs/CompressorList.h"
#include "recorder/codecs/VideoOptions.h"
#include "recorder/recording/AviSegments.h"
#include "recorder/recording/FramePacer.h"
#include "recorder/recording/FrameWriter.h"
#include "recorder/recording/RecordingEvents.h"
#include "recorder/recording/RecordingHost.h"
#include "recorder/recording/RecordingState.h"
#include "recorder/recording/SaveRecording.h"

#include <mmsystem.h>
#include <vfw.h>

#include <cstdlib>
#include <functional>

namespace {

#ifdef ORBISK_TEST_HOOKS
DWORD g_testFourcc = 0;
#endif

DWORD RecordingFourcc()
{
#ifdef ORBISK_TEST_HOOKS
    if (g_testFourcc) return g_testFourcc;
#endif
    return g_videoOpts.m_fccHandler;
}

// The temporary file must be ours alone: a save or a converter of the
// previous recording may still hold it. A few tries, then a fresh name.
bool ClaimTempVideoPath()
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (attempt == 10) BuildTempVideoPath();
        std::string path = GetTempVideoPath();
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            DeleteFileA(path.c_str());
            return true;
        }
        Sleep(50);
    }
    return false;
}

// Sound files of an earlier recording must never end up in this one.
void RemoveStaleSound()
{
    DeleteFileA(GetTempAudioPath().c_str());
    DeleteFileA(GetTempSpeakerPath().c_str());
    DeleteFileA(GetTempMergePath().c_str());
    SetRecordedSound(std::string());
}

class TimerResolution {
public:
    TimerResolution()
    {
        TIMECAPS caps = {};
        if (timeGetDevCaps(&caps, sizeof caps) == TIMERR_NOERROR) {
            m_period = caps.wPeriodMin > 1 ? caps.wPeriodMin : 1;
            if (m_period > caps.wPeriodMax) m_period = caps.wPeriodMax;
        }
        timeBeginPeriod(m_period);
    }
    ~TimerResolution() { timeEndPeriod(m_period); }

private:
    UINT m_period = 1;
};

const char kWriteFailedText[] = "录制失败：视频无法写入文件，录制已中断。";
// How long one wait for the compressor lasts before the flags are looked at.
const DWORD kBufferWaitMs = 50;

// The end of a recording that wrote nothing worth saving.
void Interrupted(const std::string& text)
{
    PublishRecordingFailed(text);
    AskRecordingHost([](RecordingHost& h) { h.HideCover(); });
    FinishRecordPhase();
}

}  // namespace

#ifdef ORBISK_TEST_HOOKS
void SetRecordingCompressorForTests(DWORD fourcc)
{
    g_testFourcc = fourcc;
}
#endif

void InitRecordDefaults(HWND mainWindow)
{
    g_hRecordOwnerWnd = mainWindow;
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    SetRect(&g_rcVirtualScreen, x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            y + GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

void EndWindowFollow()
{
    g_bFollowWindow = 0;
}

void PrepareRecording()
{
    g_bSaveDone = 0;
    MakeNewVideoFileName();
    const ICINFO* codec = SelectedCompressorInfo();
    if (codec && wcscmp(codec->szDescription, kXvidCompressorDescription) == 0)
        DisableXvidStatusWindow();
    g_recordStats.Reset();
    switch (g_nRecordMode) {
        case 4:
            if (IsRectEmpty(&g_rcVirtualScreen)) InitRecordDefaults(g_hRecordOwnerWnd);
            SetCaptureRect(g_rcVirtualScreen);
            StartRecordThread();
            break;
        case 1:
        case 3:
            StartRecordThread();
            break;
        default:
            break;
    }
}

void StartRecordThread()
{
    g_camera.CopyOverlaySettings();
    g_bPaused = 0;
    // Saved unless a cancel says otherwise, also when it ends by itself.
    g_bSaveAfterStop = 1;
    g_bRecording = 1;
    HANDLE thread = CreateThread(nullptr, 0, RecordThreadProc, nullptr, 0, nullptr);
    if (!thread) {
        g_bRecording = 0;
        Interrupted(kWriteFailedText);
        return;
    }
    SetThreadPriority(thread, THREAD_PRIORITY_ABOVE_NORMAL);
    CloseHandle(thread);
}

DWORD WINAPI RecordThreadProc(LPVOID)
{
    RecordThreadMain();
    return 0;
}

void RecordThreadMain()
{
    if (!ClaimTempVideoPath()) {
        g_bRecording = 0;
        Interrupted("无法创建临时文件，录制没有开始。");
        return;
    }
    RecordLoop(g_videoOpts.m_uFrameRate, GetTempVideoPath());
}

bool RecordLoop(unsigned frameRate, const std::string& aviPath)
{
    RECT rc = MakeEvenRect(GetCaptureRect());
    SetCaptureRect(rc);
    if (HIWORD(VideoForWindowsVersion()) < 0x010A) {
        ShowSystemMessageBox(nullptr, "不支持当前的系统！", "提示", MB_OK);
        // Nothing runs: the windows must not stay in the recording display.
        g_bRecording = 0;
        PublishRecordingStopped();
        FinishRecordPhase();
        return false;
    }

    LONG framesWritten = 0;
    bool failed = !g_camera.CaptureFrame(rc, true);
    AVIFileInit();
    // The files a recording before this one went on in are not this one's.
    DeleteLaterSegments(aviPath);
    AviSegments avi(aviPath, RecordingFourcc(), frameRate, *g_camera.FrameHeader(),
                    RecordingKeyFrameEvery(frameRate));
    if (!failed) failed = FAILED(avi.Open());
    std::string sound;
    if (!failed) {
        TimerResolution resolution;
        FrameWriter writer(avi, g_camera.FrameImageSize());
        RemoveStaleSound();
        AudioRecordingSetup setup;
        setup.systemSound = g_bRecordSpeaker != 0;
        setup.microphone = g_bRecordMic != 0;
        setup.tempFolder = GetTempFolder();
        setup.speakerMp3 = GetTempSpeakerPath();
        setup.micMp3 = GetTempAudioPath();
        // The picture starts when the sound does: the system sound may take
        // seconds to start, and the origin taken before would become an
        // offset between the two.
        AudioStartResult audio = StartRecordingAudio(setup);
        FramePacer pacer(frameRate, g_videoOpts.m_dFrameInterval, audio.systemSound);
        pacer.Start(audio.origin);
        g_recordStats.startTick = audio.origin;
        // With the system sound the origin is its first sample, which the
        // microphone's sound is placed against too.
        bool originTold = !audio.systemSound;

        while (g_bRecording && !writer.Failed()) {
            if (!writer.WaitForFreeBuffer(kBufferWaitMs)) continue;
            // A frame's time is when its grab begins: that is the moment the
            // picture shows. Timed at the grab's end, a grab longer than one
            // interval makes the loop wait for the next slot and halves the rate.
            DWORD now = timeGetTime();
            g_camera.CaptureFrame(GetCaptureRect(), false);
            ++g_recordStats.framesGrabbed;
            if (pacer.FollowsAudio() && SystemSoundFailed()) pacer.StopFollowingAudio(now);
            FramePacer::Decision d = pacer.OnFrame(now, g_fAudioClock.load());
            if (!originTold && pacer.HasOrigin()) {
                SetRecordingSoundOrigin(pacer.StartTick());
                originTold = true;
            }
            g_recordStats.startTick = pacer.StartTick();
            g_recordStats.elapsedMs = d.elapsed;
            g_recordStats.elapsedSec = d.elapsed / 1000.f;
            if (d.write && writer.Queue(d.index, g_camera.FrameBits())) {
                pacer.Written(d.index, now);
                g_recordStats.bytesWritten = writer.BytesWritten();
                g_recordStats.framesWritten = writer.FramesWritten();
                if (d.elapsed) g_recordStats.indexRate = d.index / (d.elapsed / 1000.f);
            }
            if (g_bPaused) {
                DWORD pausedAt = timeGetTime();
                PauseRecordingAudio(pausedAt);
                while (g_bPaused && g_bRecording) Sleep(50);
                DWORD resumedAt = timeGetTime();
                if (g_audioFormat.m_bPauseCompensation) pacer.AddPause(resumedAt - pausedAt);
                ResumeRecordingAudio(resumedAt);
                continue;
            }
            if (!g_bRecording) break;
            const DWORD due = timeGetTime() + pacer.MsUntilNextFrame(timeGetTime());
            while (g_bRecording && !g_bPaused && (LONG)(due - timeGetTime()) > 0) Sleep(1);
        }
        // A recording stopped before its first frame (the sound was slow to
        // start) still leaves a picture rather than an empty file.
        if (pacer.LastWritten() < 0 && !writer.Failed() && writer.Queue(0, g_camera.FrameBits()))
            pacer.Written(0, timeGetTime());
        // The sound ends where the picture does.
        const DWORD endAt = timeGetTime();
        if (writer.Failed() && g_bRecording) {
            // The recording broke off by itself: the windows learn that it
            // stopped, as from a stop command, before it is closed and saved.
            g_bRecording = 0;
            g_bPaused = 0;
            g_nRecordMode = 4;
            EndWindowFollow();
            PublishRecordingStopped();
            AskRecordingHost([](RecordingHost& h) { h.ShowMainWindowNormal(); });
        }
        writer.Drain();
        failed = writer.Failed();
        framesWritten = (LONG)writer.FramesWritten();
        g_recordStats.bytesWritten = writer.BytesWritten();
        g_recordStats.framesWritten = writer.FramesWritten();
        AskRecordingHost([](RecordingHost& h) { h.ShowCover("正在保存，请稍后..."); });
        sound = StopRecordingAudio(endAt);
    }
    FILETIME created, exited, kernel, user;
    if (GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) {
        ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
        ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
        g_recordStats.threadCpuMs = (DWORD)((k.QuadPart + u.QuadPart) / 10000);
    }
    avi.Close();
    AVIFileExit();
    g_camera.EndRecording();
    g_bRecording = 0;

    if (failed && framesWritten == 0) {
        Interrupted(kWriteFailedText);
        return true;
    }
    // What was written before a failure is a valid recording: it is saved
    // (unless the recording was cancelled), and the failure is told with
    // where it went, once the save has ended.
    SetRecordingInterruption(failed ? kWriteFailedText : "");
    SetRecordedSound(sound);
    SetRecordedVideo(avi.Files(), avi.Spans());
    MoveRecordPhase(RecordPhase::Recording, RecordPhase::Saving);
    HANDLE save = CreateThread(nullptr, 0, SaveRecordingThread, nullptr, 0, nullptr);
    if (save)
        CloseHandle(save);
    else
        SaveRecordingThread(nullptr);
    return true;
}

int ParseGridPosition(const std::string& text, int current, int empty)
{
    if (text.empty()) return empty;
    int v = atoi(text.c_str());
    if (v > 8) return 8;
    if (v < 0) return current;
    return v;
}

void LoadWatermarkPosition()
{
    g_watermarkSettings.position = (DWORD)ParseGridPosition(g_cfgDocument.GetCfgWaterMarkPosition(),
                                                            (int)g_watermarkSettings.position, 8);
}

void LoadCaptionPosition()
{
    g_captionSettings.position = (DWORD)ParseGridPosition(g_cfgDocument.GetCfgCaptionPosition(),
                                                          (int)g_captionSettings.position, 0);
}

void LoadOverlaySettings()
{
    std::string folder;
    g_cfgDocument.GetCfgVideoSavePath(&folder);
    SetVideoSaveFolder(folder);
    std::string path;
    g_cfgDocument.GetCfgWaterMarkPath(&path);
    g_watermarkSettings.imagePath = path;
    std::string caption;
    g_cfgDocument.GetCfgCaptionText(&caption);
    g_captionSettings.text = caption;
    LoadWatermarkPosition();
    LoadCaptionPosition();
    g_captionSettings.crBackground = g_cfgDocument.GetCfgCaptionBackgroundColor();
    g_captionSettings.crText = g_cfgDocument.GetCfgCaptionTextColor();
    g_cfgDocument.GetCfgTextFont(&g_captionSettings.font);
}
