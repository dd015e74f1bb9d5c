// What a recording tells the windows that follow it: started, stopped,
// paused or resumed, the status tick, the saved result and a failure.
// Subscribers are called on the UI thread (core/UiThread.h), in the order
// the events happened, whatever thread the recording was on; each one
// overrides only what it needs.
//
//   class Bar : public RecordingSubscriber {
//       void OnRecordingStarted() override { ... }
//   } bar;
//   SubscribeRecordingEvents(&bar);    // UI thread
//   ...
//   UnsubscribeRecordingEvents(&bar);  // before bar goes
#pragma once

#include <windows.h>

#include <string>

struct SaveOutcome;

class RecordingSubscriber {
public:
    virtual void OnRecordingStarted() {}
    // The stop or cancel command was taken; the file is still being closed
    // and saved.
    virtual void OnRecordingStopped() {}
    // The pause flag flipped.
    virtual void OnRecordingPaused(bool paused) {}
    // While paused, every 500 ms with phase 1 and 0 in turn, and 0 once more
    // after the pause: the pause buttons blink with it.
    virtual void OnPauseBlink(WPARAM phase) {}
    // Every 500 ms while recording: the status texts (RecordStatus.h) are new.
    virtual void OnRecordingStatus() {}
    // A stopped recording's save has ended, well or not (outcome.result).
    virtual void OnRecordingSaved(const SaveOutcome& outcome) {}
    // The recording could not start or broke off; text tells the user why.
    virtual void OnRecordingFailed(const std::string& text) {}

protected:
    ~RecordingSubscriber() = default;
};

// UI thread only. A subscriber removed while an event is being delivered
// gets no more calls, not even that event's.
void SubscribeRecordingEvents(RecordingSubscriber* subscriber);
void UnsubscribeRecordingEvents(RecordingSubscriber* subscriber);

// The recording's side: any thread. Each call is one event, delivered to the
// subscribers of the moment it runs on the UI thread.
void PublishRecordingStarted();
void PublishRecordingStopped();
void PublishRecordingPaused(bool paused);
void PublishPauseBlink(WPARAM phase);
void PublishRecordingStatus();
void PublishRecordingSaved(const SaveOutcome& outcome);
void PublishRecordingFailed(const std::string& text);
