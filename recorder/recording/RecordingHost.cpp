#include "recorder/recording/RecordingHost.h"

#include "core/UiThread.h"

namespace {

// Until a main window takes over, a recording asks nobody.
RecordingHost g_noHost;
RecordingHost* g_host = &g_noHost;

}  // namespace

void SetRecordingHost(RecordingHost* host)
{
    g_host = host ? host : &g_noHost;
}

RecordingHost& GetRecordingHost()
{
    return *g_host;
}

void AskRecordingHost(std::function<void(RecordingHost&)> fn)
{
    if (IsUiThread() || !RunOnUiThread([fn] { fn(GetRecordingHost()); })) fn(GetRecordingHost());
}
