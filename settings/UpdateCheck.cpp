// libcurl brings in Winsock 2, which must come before windows.h.
#include <winsock2.h>

#include "settings/UpdateCheck.h"

#include "platform/TestHooks.h"
#include "settings/UpdateFeed.h"

#include <curl/curl.h>

#include <atomic>
#include <memory>
#include <mutex>

namespace {

// The feed's address fits the buffer the site's own updater reads it into.
const size_t kMaxUrlBytes = 1000;
const long kMaxRedirects = 3;

// One check, shared by the worker and whoever stops it: whichever lets go
// last frees it, so a worker that outlives the program's windows never
// touches a freed one.
struct UpdateJob {
    std::string url;
    HWND notify = nullptr;
    std::atomic<bool> stop{false};
    std::atomic<UpdateCheckState> state{UpdateCheckState::Running};
    std::mutex lock;
    CURLM* multi = nullptr;  // while the transfer runs, so a stop can wake it
    UpdateInfo found;        // what the feed offered
};

std::mutex g_lock;
std::shared_ptr<UpdateJob> g_job;
HANDLE g_thread = nullptr;

// The transfer, driven here rather than by curl_easy_perform so that a stop
// wakes it at once instead of at its next timeout.
UpdateCheckState Fetch(UpdateJob& job, UpdateInfo* info)
{
    CURL* easy = curl_easy_init();
    CURLM* multi = curl_multi_init();
    curl_slist* headers = curl_slist_append(nullptr, "cache-control: no-cache");
    if (headers) {
        if (curl_slist* more = curl_slist_append(headers, "Content-Type: application/json"))
            headers = more;
    }
    if (!easy || !multi) {
        if (easy) curl_easy_cleanup(easy);
        if (multi) curl_multi_cleanup(multi);
        curl_slist_free_all(headers);
        return UpdateCheckState::NoConnection;
    }

    FeedReply reply;
    const std::string agent = "Orbisk/" + RunningProgramVersion();
    curl_easy_setopt(easy, CURLOPT_URL, job.url.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnUpdateFeedData);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kUpdateConnectTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, kUpdateTransferTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_multi_add_handle(multi, easy);
    {
        std::lock_guard<std::mutex> hold(job.lock);
        job.multi = multi;
    }

    int running = 1;
    while (running && !job.stop) {
        if (curl_multi_perform(multi, &running) != CURLM_OK || !running) break;
        if (curl_multi_poll(multi, nullptr, 0, 1000, nullptr) != CURLM_OK) break;
    }
    {
        std::lock_guard<std::mutex> hold(job.lock);
        job.multi = nullptr;
    }

    CURLcode result = CURLE_RECV_ERROR;
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &left))
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) result = msg->data.result;
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);
    curl_multi_cleanup(multi);
    curl_slist_free_all(headers);

    if (job.stop) return UpdateCheckState::Stopped;
    // The refusal shows as a write error; it is told apart first.
    if (reply.tooLarge()) return UpdateCheckState::TooLarge;
    if (result != CURLE_OK) return UpdateCheckState::NoConnection;
    if (status != 200) return UpdateCheckState::HttpError;
    if (!ParseUpdateFeed(reply.text(), info)) return UpdateCheckState::Unreadable;
    return CompareVersion(info->version) == 1 ? UpdateCheckState::Offered
                                              : UpdateCheckState::UpToDate;
}

}  // namespace

const char* UpdateCheckStateName(UpdateCheckState state)
{
    switch (state) {
        case UpdateCheckState::Off: return "off";
        case UpdateCheckState::Running: return "running";
        case UpdateCheckState::Offered: return "offered";
        case UpdateCheckState::UpToDate: return "up-to-date";
        case UpdateCheckState::Unreadable: return "unreadable";
        case UpdateCheckState::TooLarge: return "too-large";
        case UpdateCheckState::HttpError: return "http-error";
        case UpdateCheckState::NoConnection: return "no-connection";
        case UpdateCheckState::Stopped: return "stopped";
    }
    return "?";
}

std::string UpdateSite()
{
    if (!TestHooksOn()) return kProgramWebSite;
    char site[kMaxUrlBytes] = {};
    DWORD n = GetEnvironmentVariableA("ORBISK_UPDATE_SITE", site, sizeof site);
    return n > 0 && n < sizeof site ? std::string(site, n) : std::string();
}

DWORD WINAPI UpdateCheckThread(LPVOID parameter)
{
    std::unique_ptr<std::shared_ptr<UpdateJob>> held(
        static_cast<std::shared_ptr<UpdateJob>*>(parameter));
    std::shared_ptr<UpdateJob> job = *held;
    UpdateInfo info;
    UpdateCheckState state = UpdateCheckState::NoConnection;
    try {
        state = Fetch(*job, &info);
    } catch (const std::exception&) {
        // Nothing may leave a thread's entry; the check simply found nothing.
    }
    if (state == UpdateCheckState::Offered) {
        std::lock_guard<std::mutex> hold(job->lock);
        job->found = info;
    }
    job->state = job->stop ? UpdateCheckState::Stopped : state;
    if (!job->stop) PostMessageA(job->notify, WM_UPDATE_CHECKED, 0, 0);
    return 0;
}

void StartUpdateCheck(HWND notify, const std::string& url)
{
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_job || url.empty() || url.size() >= kMaxUrlBytes) return;
    // Not thread-safe, so here, before any worker exists.
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return;
    auto job = std::make_shared<UpdateJob>();
    job->url = url;
    job->notify = notify;
    auto* parameter = new std::shared_ptr<UpdateJob>(job);
    HANDLE thread = CreateThread(nullptr, 0, UpdateCheckThread, parameter, 0, nullptr);
    if (!thread) {
        delete parameter;
        return;
    }
    g_job = job;
    g_thread = thread;
}

void StartUpdateCheck(HWND notify)
{
    std::string site = UpdateSite();
    if (!site.empty()) StartUpdateCheck(notify, UpdateFeedUrl(site));
}

void StopUpdateCheck()
{
    std::shared_ptr<UpdateJob> job;
    HANDLE thread = nullptr;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        job = g_job;
        thread = g_thread;
        g_thread = nullptr;
    }
    if (!job) return;
    job->stop = true;
    {
        std::lock_guard<std::mutex> hold(job->lock);
        if (job->multi) curl_multi_wakeup(job->multi);
    }
    if (thread) {
        // A worker that does not let go in time finishes on its own: it
        // holds its own share of the job and posts nothing once stopped.
        WaitForSingleObject(thread, kUpdateStopWaitMs);
        CloseHandle(thread);
    }
}

UpdateCheckState GetUpdateCheckState()
{
    std::lock_guard<std::mutex> hold(g_lock);
    return g_job ? g_job->state.load() : UpdateCheckState::Off;
}

bool TakeUpdateOffer()
{
    std::shared_ptr<UpdateJob> job;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        job = g_job;
    }
    if (!job || job->state != UpdateCheckState::Offered) return false;
    std::lock_guard<std::mutex> hold(job->lock);
    g_updateInfo = job->found;
    return true;
}
