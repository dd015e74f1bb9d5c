#include "settings/UpdateFeed.h"

#include "core/FileHelpers.h"
#include "core/StringConv.h"

#include <json/json.h>
#include <windows.h>

#include <memory>
#include <vector>

// The program has no web site of its own yet: the feed's host is a name of
// ours that resolves nowhere, so a check fails at once and offers nothing.
const char kProgramWebSite[] = "https://update.orbisk.invalid";
const char kUpdateFeedPath[] = "/vintracam/vintrafile/update.json";

UpdateInfo g_updateInfo;

namespace {

// The longest field a version may have.
const size_t kMaxFieldDigits = 15;

// The four fields of "a.b.c.d" as one value; false when the text is not
// such a version.
bool VersionValue(const std::string& text, unsigned long long* value)
{
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == '.')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    if (fields.size() != 4) return false;
    static const unsigned long long kWeights[4] = {1000, 100, 10, 1};
    unsigned long long sum = 0;
    for (size_t i = 0; i < 4; ++i) {
        const std::string& f = fields[i];
        if (f.empty() || f.size() > kMaxFieldDigits) return false;
        unsigned long long n = 0;
        for (char c : f) {
            if (c < '0' || c > '9') return false;
            n = n * 10 + (unsigned)(c - '0');
        }
        // Fifteen digits times a thousand still fit: no field can wrap
        // another into an older version.
        sum += n * kWeights[i];
    }
    *value = sum;
    return true;
}

}  // namespace

std::string UpdateFeedUrl(const std::string& site)
{
    std::string base = site;
    if (!base.empty() && base.back() == '/') base.pop_back();
    return base + kUpdateFeedPath;
}

bool FeedReply::Append(const char* data, size_t size)
{
    if (m_tooLarge) return false;
    if (size > kMaxBytes - m_text.size()) {
        m_tooLarge = true;
        m_text.clear();
        return false;
    }
    m_text.append(data, size);
    return true;
}

size_t OnUpdateFeedData(char* data, size_t size, size_t count, void* user)
{
    auto* reply = static_cast<FeedReply*>(user);
    // The client hands over at most its own buffer: no overflow.
    size_t bytes = size * count;
    if (!reply || !reply->Append(data, bytes)) return 0;
    return bytes;
}

bool ParseUpdateFeed(const std::string& reply, UpdateInfo* info)
{
    std::string text = reply;
    // A UTF-8 byte-order mark is not JSON, but editors like to write one.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);

    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["failIfExtra"] = true;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) return false;
    } catch (const std::exception&) {
        // Nested deeper than the reader allows.
        return false;
    }
    if (!root.isObject()) return false;
    const Json::Value& version = root["version"];
    const Json::Value& log = root["log"];
    if (!version.isString() || !(log.isString() || log.isNull())) return false;
    info->version = version.asString();
    info->log = log.isString() ? Utf8ToAnsiString(log.asString()) : std::string();
    return true;
}

int CompareVersionWith(const std::string& remote, const std::string& local)
{
    unsigned long long r = 0, l = 0;
    if (!VersionValue(remote, &r) || !VersionValue(local, &l)) return 0;
    if (r > l) return 1;
    if (r < l) return 2;
    return 0;
}

std::string RunningProgramVersion()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    int a = 0, b = 0, c = 0, d = 0;
    return GetFileVersionString(path, &a, &b, &c, &d);
}

int CompareVersion(const std::string& remote)
{
    std::string local = RunningProgramVersion();
    return local.empty() ? 0 : CompareVersionWith(remote, local);
}
