// The video library's model: every file of the video save folder as an
// AviFileItem (recordings, screenshots and whatever else lies there), the
// scan that builds it, and the three orders the list shows it in.
//
// One lock guards the records: the loader, the watcher, the delete thread
// and the list window's filler read and change them from their own threads,
// and every reader gets copies, never a record the next scan may replace. A
// record is known by its full path, which a rescan keeps.
#pragma once

#include <windows.h>

#include <vfw.h>

#include <atomic>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <vector>

enum AviFileKind : int32_t {
    kAviKindPng = 0,
    kAviKindAvi = 1,
    kAviKindOther = 2,
};

struct AviFileItem {
    int32_t kind = kAviKindAvi;
    std::string name;        // without the folder
    double duration = 0.0;   // milliseconds; 0 for pictures and other files
    std::string resolution;  // "%dX%d"; empty when unknown
    double size = 0.0;       // megabytes (bytes / 1048576)
    FILETIME modified = {0, 0};
    std::string path;  // folder + "\" + name
    std::string type;  // "avi", "png", or what follows the name's last '.'
};

// What a folder held when it was last read: the watcher reloads when this
// changes (a file added, removed, renamed, grown or rewritten).
struct FolderState {
    std::string folder;
    int count = -1;  // entries the scan lists; -1 = not read
    uint64_t digest = 0;

    bool operator==(const FolderState& o) const
    {
        return count == o.count && digest == o.digest && folder == o.folder;
    }
    bool operator!=(const FolderState& o) const { return !(*this == o); }
};

enum class AviSortKey { Time, Size, Duration };

class AviFileList {
public:
    // Copies of the records in display order.
    std::vector<AviFileItem> Items() const;
    bool Find(const std::string& path, AviFileItem* item) const;
    size_t Count() const;
    // Records after the last scan or delete; -1 after a clear.
    int FolderCount() const;
    FolderState State() const;

    // Takes a scan's records, sorted by the order last chosen.
    void Assign(std::list<AviFileItem> items, const FolderState& state);
    // Drops the record of that path; false when there is none.
    bool Remove(const std::string& path);
    void Clear();

    // The three orders. Each keeps equal keys in their order; the direction
    // flags say which way (false: newest, largest, longest first).
    void SortByTime();
    void SortBySize();
    void SortByDuration();
    // A header click: turns that order's direction round and sorts by it.
    void ToggleSort(AviSortKey key);
    AviSortKey SortKey() const;
    bool TimeAscending() const;
    bool SizeAscending() const;
    bool DurationAscending() const;

    // False from the start of each (re)load until its records are sorted.
    std::atomic<bool> loaded{false};
    // 1 while no filler of the list window runs.
    std::atomic<int> fillIdle{1};

private:
    void SortLocked(AviSortKey key);

    mutable std::mutex m_lock;
    std::list<AviFileItem> m_items;
    int m_folderCount = -1;
    FolderState m_state;
    AviSortKey m_sortKey = AviSortKey::Time;
    bool m_timeAscending = false;
    bool m_durationAscending = false;
    bool m_sizeAscending = false;
};

extern AviFileList g_aviFileList;

// Rebuilds g_aviFileList from the folder. AVI headers are read only for
// files that are new or changed since the last scan.
void ScanVideoFolder(const std::string& folder);
// The records of a folder, without touching the model; previous gives the
// headers already read (by path, size and time).
std::list<AviFileItem> ReadVideoFolder(const std::string& folder,
                                       const std::vector<AviFileItem>& previous,
                                       FolderState* state);
void ClearAviFileList();

// The AVI file's main header through Video for Windows; false when the file
// is not one it can read.
bool ReadAviFileInfo(AVIFILEINFOA* info, const std::string& path);
// A video's length: dwLength x dwScale x 1000 / dwRate, in 64 bits; 0 when
// the rate is 0.
uint64_t AviDurationMs(DWORD length, DWORD scale, DWORD rate);

// The entries of the folder the scan lists (every one that is not a
// directory), with what the watcher compares.
FolderState ReadFolderState(const std::string& folder);
uint32_t CountVideoFiles(const std::string& folder);
