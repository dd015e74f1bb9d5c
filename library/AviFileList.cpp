#include "library/AviFileList.h"

#include "core/FileHelpers.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>

AviFileList g_aviFileList;

namespace {

const double kBytesPerMegabyte = 1048576.0;

std::string WithBackslash(const std::string& folder)
{
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

// The scan lists every entry that is not a directory; the watcher counts
// with the same rule, or a folder holding something the list leaves out
// would look changed at every look.
bool Listed(const WIN32_FIND_DATAA& fd)
{
    return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

uint64_t Bytes(const WIN32_FIND_DATAA& fd)
{
    return (uint64_t)fd.nFileSizeHigh << 32 | fd.nFileSizeLow;
}

uint64_t EntryDigest(const WIN32_FIND_DATAA& fd)
{
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    auto mix = [&h](const void* data, size_t n) {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    };
    mix(fd.cFileName, strlen(fd.cFileName));
    uint64_t bytes = Bytes(fd);
    mix(&bytes, sizeof bytes);
    mix(&fd.ftLastWriteTime, sizeof fd.ftLastWriteTime);
    return h;
}

// The kind goes by the name's last extension, in any case, as Windows
// itself names a file's type: "a.b.avi" and "clip.AVI" are videos.
std::string KindExtension(const std::string& name)
{
    size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return ext;
}

std::string TypeExtension(const std::string& name)
{
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(dot + 1);
}

std::string Resolution(unsigned width, unsigned height)
{
    char text[32];
    snprintf(text, sizeof text, "%uX%u", width, height);
    return text;
}

bool SameFile(const AviFileItem& a, const AviFileItem& b)
{
    return a.kind == b.kind && a.size == b.size &&
           CompareFileTime(&a.modified, &b.modified) == 0;
}

// One entry as a record; `known` holds the previous scan's record of the
// same path, whose header is taken when the file has not changed.
AviFileItem MakeItem(const std::string& dir, const WIN32_FIND_DATAA& fd, const AviFileItem* known)
{
    AviFileItem item;
    item.name = fd.cFileName;
    item.path = dir + item.name;
    item.size = (double)Bytes(fd) * (1.0 / kBytesPerMegabyte);
    item.modified = fd.ftLastWriteTime;
    const std::string kind = KindExtension(item.name);
    if (kind == "png") {
        item.kind = kAviKindPng;
        item.type = "png";
    } else if (kind == "avi") {
        item.kind = kAviKindAvi;
        item.type = "avi";
    } else {
        item.kind = kAviKindOther;
        item.type = TypeExtension(item.name);
        return item;
    }
    if (known && SameFile(*known, item)) {
        item.duration = known->duration;
        item.resolution = known->resolution;
        return item;
    }
    if (item.kind == kAviKindPng) {
        unsigned w = 0, h = 0;
        GetPNGWidthHeight(item.path.c_str(), &w, &h);
        item.resolution = Resolution(w, h);
    } else {
        // A file Video for Windows cannot read (still being written,
        // damaged) keeps its path, size and time, so it can still be
        // played, converted or deleted.
        AVIFILEINFOA info;
        if (ReadAviFileInfo(&info, item.path)) {
            item.resolution = Resolution(info.dwWidth, info.dwHeight);
            item.duration = (double)AviDurationMs(info.dwLength, info.dwScale, info.dwRate);
        }
    }
    return item;
}

// One Video for Windows session for a whole scan, so each file's own
// AVIFileInit is only a count.
class AviLibrarySession {
public:
    AviLibrarySession() { AVIFileInit(); }
    ~AviLibrarySession() { AVIFileExit(); }
    AviLibrarySession(const AviLibrarySession&) = delete;
    AviLibrarySession& operator=(const AviLibrarySession&) = delete;
};

}  // namespace

// --- The records ------------------------------------------------------------------

std::vector<AviFileItem> AviFileList::Items() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return std::vector<AviFileItem>(m_items.begin(), m_items.end());
}

bool AviFileList::Find(const std::string& path, AviFileItem* item) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (const AviFileItem& i : m_items) {
        if (i.path != path) continue;
        if (item) *item = i;
        return true;
    }
    return false;
}

size_t AviFileList::Count() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_items.size();
}

int AviFileList::FolderCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_folderCount;
}

FolderState AviFileList::State() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_state;
}

void AviFileList::Assign(std::list<AviFileItem> items, const FolderState& state)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_items = std::move(items);
    m_folderCount = (int)m_items.size();
    m_state = state;
    SortLocked(m_sortKey);
}

bool AviFileList::Remove(const std::string& path)
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (it->path != path) continue;
        m_items.erase(it);
        m_folderCount = (int)m_items.size();
        // What the folder holds now is read again at the watcher's next look.
        m_state = FolderState();
        return true;
    }
    return false;
}

void AviFileList::Clear()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_items.clear();
    m_folderCount = -1;
    m_state = FolderState();
}

// --- The orders -------------------------------------------------------------------

void AviFileList::SortLocked(AviSortKey key)
{
    m_sortKey = key;
    switch (key) {
        case AviSortKey::Time: {
            const bool ascending = m_timeAscending;
            m_items.sort([ascending](const AviFileItem& a, const AviFileItem& b) {
                LONG order = CompareFileTime(&a.modified, &b.modified);
                return ascending ? order < 0 : order > 0;
            });
            break;
        }
        case AviSortKey::Size: {
            const bool ascending = m_sizeAscending;
            m_items.sort([ascending](const AviFileItem& a, const AviFileItem& b) {
                return ascending ? a.size < b.size : a.size > b.size;
            });
            break;
        }
        case AviSortKey::Duration: {
            for (AviFileItem& i : m_items)
                if (i.kind == kAviKindPng) i.duration = 0.0;
            const bool ascending = m_durationAscending;
            m_items.sort([ascending](const AviFileItem& a, const AviFileItem& b) {
                return ascending ? a.duration < b.duration : a.duration > b.duration;
            });
            break;
        }
    }
}

void AviFileList::SortByTime()
{
    std::lock_guard<std::mutex> lock(m_lock);
    SortLocked(AviSortKey::Time);
}

void AviFileList::SortBySize()
{
    std::lock_guard<std::mutex> lock(m_lock);
    SortLocked(AviSortKey::Size);
}

void AviFileList::SortByDuration()
{
    std::lock_guard<std::mutex> lock(m_lock);
    SortLocked(AviSortKey::Duration);
}

void AviFileList::ToggleSort(AviSortKey key)
{
    std::lock_guard<std::mutex> lock(m_lock);
    bool& ascending = key == AviSortKey::Time   ? m_timeAscending
                      : key == AviSortKey::Size ? m_sizeAscending
                                                : m_durationAscending;
    ascending = !ascending;
    SortLocked(key);
}

AviSortKey AviFileList::SortKey() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_sortKey;
}

bool AviFileList::TimeAscending() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_timeAscending;
}

bool AviFileList::SizeAscending() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_sizeAscending;
}

bool AviFileList::DurationAscending() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_durationAscending;
}

// --- The folder -------------------------------------------------------------------

uint64_t AviDurationMs(DWORD length, DWORD scale, DWORD rate)
{
    if (rate == 0) return 0;
    // length x scale fits in 64 bits; the thousandfold is taken apart so
    // that it cannot overflow.
    const uint64_t units = (uint64_t)length * scale;
    return units / rate * 1000 + units % rate * 1000 / rate;
}

bool ReadAviFileInfo(AVIFILEINFOA* info, const std::string& path)
{
    memset(info, 0, sizeof *info);
    AVIFileInit();
    PAVIFILE file = nullptr;
    bool ok = false;
    if (AVIFileOpenA(&file, path.c_str(), OF_READ | OF_SHARE_DENY_NONE, nullptr) == 0 && file) {
        ok = AVIFileInfoA(file, info, sizeof *info) == 0;
        AVIFileRelease(file);
    }
    AVIFileExit();
    return ok;
}

std::list<AviFileItem> ReadVideoFolder(const std::string& folder,
                                       const std::vector<AviFileItem>& previous,
                                       FolderState* state)
{
    const std::string dir = WithBackslash(folder);
    *state = FolderState();
    state->folder = folder;
    state->count = 0;
    std::list<AviFileItem> items;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir + "*.*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return items;
    std::unordered_map<std::string, const AviFileItem*> known;
    for (const AviFileItem& p : previous) known[p.path] = &p;
    AviLibrarySession avi;
    do {
        if (!Listed(fd)) continue;
        ++state->count;
        state->digest += EntryDigest(fd);  // a sum: the order of the entries does not matter
        auto k = known.find(dir + fd.cFileName);
        items.push_back(MakeItem(dir, fd, k == known.end() ? nullptr : k->second));
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return items;
}

void ScanVideoFolder(const std::string& folder)
{
    FolderState state;
    std::list<AviFileItem> items = ReadVideoFolder(folder, g_aviFileList.Items(), &state);
    g_aviFileList.Assign(std::move(items), state);
}

void ClearAviFileList()
{
    g_aviFileList.Clear();
}

FolderState ReadFolderState(const std::string& folder)
{
    FolderState state;
    state.folder = folder;
    state.count = 0;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((WithBackslash(folder) + "*.*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return state;
    do {
        if (!Listed(fd)) continue;
        ++state.count;
        state.digest += EntryDigest(fd);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return state;
}

uint32_t CountVideoFiles(const std::string& folder)
{
    return (uint32_t)ReadFolderState(folder).count;
}
