// Records a few seconds of the screen with the sources asked for and prints
// where the video went: "SAVED <path>" (or "NOTHING SAVED"). Runs as a
// child of the tests, so they can read what a recording prints and run it
// in an environment of its own (no sound server).
//   record_probe <seconds> <system sound 0|1> <microphone 0|1>
#include "RecordingTestKit.h"
#include "recorder/audio/AudioRecording.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordingState.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    int seconds = atoi(argv[1]);
    rectest::Recorder rec(25);
    g_bRecordSpeaker = atoi(argv[2]) != 0;
    g_bRecordMic = atoi(argv[3]) != 0;
    StartRecording(false);
    rec.PumpRecorded(seconds * 1000);
    StopRecording();
    if (!rec.WaitIdle(60000)) {
        printf("NOT IDLE\n");
        return 1;
    }
    // The time the recording counted, up to its last frame: the video's length.
    printf("RECORDED %lu\n", (unsigned long)g_recordStats.elapsedMs.load());
    std::vector<std::string> files = rec.SavedFiles();
    if (files.empty())
        printf("NOTHING SAVED\n");
    for (const std::string& f : files)
        printf("SAVED %s\n", f.c_str());
    fflush(stdout);
    return 0;
}
