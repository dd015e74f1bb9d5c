#include "recorder/recording/RecordingEvents.h"

#include "core/UiThread.h"
#include "recorder/recording/SaveRecording.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// UI thread only: subscribers come and go there, and events run there.
std::vector<RecordingSubscriber*> g_subscribers;

void Publish(std::function<void(RecordingSubscriber&)> call)
{
    RunOnUiThread([call] {
        // A subscriber may subscribe or unsubscribe others (a window that
        // closes another); each one still subscribed when its turn comes is
        // called once.
        std::vector<RecordingSubscriber*> now = g_subscribers;
        for (RecordingSubscriber* s : now)
            if (std::find(g_subscribers.begin(), g_subscribers.end(), s) != g_subscribers.end())
                call(*s);
    });
}

}  // namespace

void SubscribeRecordingEvents(RecordingSubscriber* subscriber)
{
    if (subscriber &&
        std::find(g_subscribers.begin(), g_subscribers.end(), subscriber) == g_subscribers.end())
        g_subscribers.push_back(subscriber);
}

void UnsubscribeRecordingEvents(RecordingSubscriber* subscriber)
{
    g_subscribers.erase(std::remove(g_subscribers.begin(), g_subscribers.end(), subscriber),
                        g_subscribers.end());
}

void PublishRecordingStarted()
{
    Publish([](RecordingSubscriber& s) { s.OnRecordingStarted(); });
}

void PublishRecordingStopped()
{
    Publish([](RecordingSubscriber& s) { s.OnRecordingStopped(); });
}

void PublishRecordingPaused(bool paused)
{
    Publish([paused](RecordingSubscriber& s) { s.OnRecordingPaused(paused); });
}

void PublishPauseBlink(WPARAM phase)
{
    Publish([phase](RecordingSubscriber& s) { s.OnPauseBlink(phase); });
}

void PublishRecordingStatus()
{
    Publish([](RecordingSubscriber& s) { s.OnRecordingStatus(); });
}

void PublishRecordingSaved(const SaveOutcome& outcome)
{
    Publish([outcome](RecordingSubscriber& s) { s.OnRecordingSaved(outcome); });
}

void PublishRecordingFailed(const std::string& text)
{
    Publish([text](RecordingSubscriber& s) { s.OnRecordingFailed(text); });
}
