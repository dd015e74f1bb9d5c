// The sound of one recording: what the recording thread calls to start the
// microphone and system-sound recorders, to pause and resume them, and to
// stop them and learn which MP3 holds the recording's sound.
#pragma once

#include "recorder/audio/LoopbackRecorder.h"
#include "recorder/audio/Mp3WriteMerge.h"
#include "recorder/audio/Mp3Writer.h"

#include <windows.h>

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
};

// Starts the recorders, in this order: the system sound, with a wait of at
// most 3 s for its capture to run (with the microphone also on, the
// microphone then takes its format and both go into one mixed MP3); then the
// microphone. A source that fails is left out and reported on standard
// output; the microphone then records alone into setup.micMp3.
AudioStartResult StartRecordingAudio(const AudioRecordingSetup& setup);

// While paused neither recorder writes and the audio clock stands still.
void PauseRecordingAudio();
void ResumeRecordingAudio();

// Stops the recorders, in this order: the microphone (once the sound it
// recorded up to the call has come in), the system sound, then the mix.
// Returns the MP3 that holds the recording's sound (setup.speakerMp3 when the
// system sound was captured, else setup.micMp3), or "" when no sound was
// captured; an MP3 without sound is deleted.
std::string StopRecordingAudio();

#if ORBISK_TEST_HOOKS
// Tests capture the system sound from audio clients of their own; an empty
// source restores the default render endpoint.
void SetLoopbackClientSourceForTests(AudioClientSource source);
#endif
