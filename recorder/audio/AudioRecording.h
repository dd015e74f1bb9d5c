// The sound of one recording: what the recording thread calls to start the
// microphone and system-sound recorders, to pause and resume them, and to
// stop them and learn which MP3 holds the recording's sound.
#pragma once

#include "recorder/audio/LoopbackRecorder.h"
#include "recorder/audio/Mp3WriteMerge.h"
#include "recorder/audio/Mp3Writer.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <string>

// The sources chosen in the settings (rec_speaker, rec_micphone); a recording
// reads them once, when it starts.
extern std::atomic<BOOL> g_bRecordSpeaker;  // 1 at start-up
extern std::atomic<BOOL> g_bRecordMic;      // 0 at start-up

// The writers of the running recording (null when not in use): the system
// sound alone, the microphone alone, or both mixed.
extern CMp3Writer* g_pSpeakerMp3Writer;
extern CMp3Writer* g_pMicMp3Writer;
extern CMp3WriteMerge* g_pMergeMp3Writer;

struct AudioRecordingSetup {
    bool systemSound = false;  // g_bRecordSpeaker when the recording starts
    bool microphone = false;   // g_bRecordMic
    std::string tempFolder;    // ends in a backslash: the PCM chunk files
    std::string speakerMp3;    // the system sound, or the mix of both
    std::string micMp3;        // the microphone alone
};

struct AudioStartResult {
    bool systemSound = false;  // capturing; g_fAudioClock runs
    bool microphone = false;   // recording
    DWORD origin = 0;          // when the start ended (timeGetTime)
};

// Starts the recorders, in this order: the system sound, with a wait of at
// most 3 s for its capture to run (with the microphone also on, the
// microphone then takes its format and both go into one mixed MP3); then the
// microphone. A source that fails is left out and reported on standard
// output; the microphone then records alone into setup.micMp3.
//
// The microphone's sound is placed against the recording's origin, the
// moment the video's first sample shows: when the start ends, until
// SetRecordingSoundOrigin says otherwise. Its sound from before the origin
// is left out, and silence stands for what it had not yet captured.
AudioStartResult StartRecordingAudio(const AudioRecordingSetup& setup);
// The origin, once the video knows it (with the system sound: the moment of
// the system sound's first sample).
void SetRecordingSoundOrigin(DWORD tick);

// While paused neither recorder writes and the audio clock stands still;
// `at` is the moment the pause began or ended.
void PauseRecordingAudio(DWORD at = timeGetTime());
void ResumeRecordingAudio(DWORD at = timeGetTime());

// The system sound was captured and its capture has died since (a device
// unplugged, the default device changed).
bool SystemSoundFailed();

// Stops the recorders, in this order: the microphone (once the sound it
// recorded up to `endAt`, the end of the video, has come in), the system
// sound, then the mix. Every wait on a recorder's thread is bounded: a
// thread that does not end in time is left behind with what it uses, and its
// sound is not used. Returns the MP3 that holds the recording's sound
// (setup.speakerMp3 when the system sound was captured, else setup.micMp3),
// or "" when no sound was captured; an MP3 without sound is deleted.
std::string StopRecordingAudio(DWORD endAt = timeGetTime());

#if ORBISK_TEST_HOOKS
// Tests capture the system sound from audio clients of their own; an empty
// source restores the default render endpoint.
void SetLoopbackClientSourceForTests(AudioClientSource source);
#endif
