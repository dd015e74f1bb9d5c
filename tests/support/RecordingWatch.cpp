#include "RecordingWatch.h"

#include "TestKit.h"
#include "core/UiThread.h"
#include "recorder/recording/SaveRecording.h"

namespace testkit {

RecordingWatch::RecordingWatch()
{
    BindUiThread();
    SubscribeRecordingEvents(this);
    SetRecordingHost(this);
}

RecordingWatch::~RecordingWatch()
{
    SetRecordingHost(nullptr);
    UnsubscribeRecordingEvents(this);
    UnbindUiThread();
}

void RecordingWatch::OnRecordingSaved(const SaveOutcome& outcome)
{
    m_saves.push_back(outcome);
    Note("saved", (long)outcome.result, outcome.video);
}

std::vector<std::string> RecordingWatch::Sequence(const std::vector<std::string>& kinds) const
{
    std::vector<std::string> out;
    for (const Noted& n : m_notes)
        for (const std::string& k : kinds)
            if (n.what == k && (out.empty() || out.back() != k)) out.push_back(k);
    return out;
}

void RecordingWatch::Note(const char* what, long value, const std::string& text)
{
    m_notes.push_back({GetTickCount(), what, value, text, GetCurrentThreadId()});
}

std::vector<Noted> RecordingWatch::Seen(const std::string& what) const
{
    std::vector<Noted> out;
    for (const Noted& n : m_notes)
        if (n.what == what) out.push_back(n);
    return out;
}

bool RecordingWatch::Saw(const std::string& what, const std::string& prefix) const
{
    for (const Noted& n : m_notes)
        if (n.what == what && n.text.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
}

void RecordingWatch::Pump(DWORD ms)
{
    testkit::Pump(ms);
}

bool RecordingWatch::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    return testkit::PumpUntil(done, timeoutMs);
}

}  // namespace testkit
