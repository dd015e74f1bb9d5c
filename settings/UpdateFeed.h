// The update feed as the program reads it, without the network: where it
// lives, the reply collected block by block, the JSON object with the
// offered version and its change log, and the comparison of that version
// with the program's own.
#pragma once

#include <cstddef>
#include <string>

// The program's web site, where the feed and the home page live.
extern const char kProgramWebSite[];
// The feed's path below a site.
extern const char kUpdateFeedPath[];  // "/vintracam/vintrafile/update.json"

// What the feed offers.
struct UpdateInfo {
    std::string log;      // the change log, in the program's code page (GBK)
    std::string version;  // "a.b.c.d"
};

// The last offer read (UI thread): what the update log window shows.
extern UpdateInfo g_updateInfo;

// The feed's address on a site given as "scheme://host[:port]" (a
// trailing '/' is dropped).
std::string UpdateFeedUrl(const std::string& site);

// A reply as the HTTP client hands it over, in blocks. A reply that grows
// past the limit is refused as a whole: the feed is a few lines, so anything
// that large is not the feed.
class FeedReply {
public:
    static constexpr size_t kMaxBytes = 64 * 1024;

    // Adds a block; false (and the reply is marked too large) when the
    // whole would pass the limit.
    bool Append(const char* data, size_t size);
    bool tooLarge() const { return m_tooLarge; }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
    bool m_tooLarge = false;
};

// The HTTP client's write callback: user is the FeedReply. Returns
// size x count, or 0 to make the client give up once the reply is too large.
size_t OnUpdateFeedData(char* data, size_t size, size_t count, void* user);

// Reads the whole reply: a JSON object whose "version" is a string and
// whose "log", when present, is one too. The log arrives in UTF-8 and is
// kept in the program's code page. False, and info untouched, otherwise.
bool ParseUpdateFeed(const std::string& reply, UpdateInfo* info);

// Versions "a.b.c.d" valued a x 1000 + b x 100 + c x 10 + d, the feed's own
// weighting (so 1.2.0.15 and 1.2.1.5 are equal). Each field is 1 to 15
// decimal digits; anything else cannot be compared. Returns 1 when remote
// is newer than local, 2 when older, 0 when equal or not comparable.
int CompareVersionWith(const std::string& remote, const std::string& local);
// remote against the version resource of the running program; 0 when it
// has none.
int CompareVersion(const std::string& remote);
// "a.b.c.d" of the running program's version resource; empty when it has none.
std::string RunningProgramVersion();
