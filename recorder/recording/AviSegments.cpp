#include "recorder/recording/AviSegments.h"

#include "platform/TestHooks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// What the library puts before the first frame, and what each frame costs
// besides its data: its chunk header (8 bytes) and its index entry (16).
const long long kHeaderRoom = 64 * 1024;
const long long kPerFrame = 24;

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Beside the first file while the recording runs in several: the frame
// rate, then where each file begins, one index a line.
std::string BasesPath(const std::string& first)
{
    return first + ".segments";
}

}  // namespace

std::string SegmentPath(const std::string& first, int n)
{
    if (n <= 0) return first;
    const size_t dot = first.find_last_of('.');
    const size_t slash = first.find_last_of("\\/");
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExt ? first.substr(0, dot) : first;
    return stem + "-" + std::to_string(n + 1) + (hasExt ? first.substr(dot) : std::string());
}

std::vector<double> RecordedSegmentSpans(const std::string& first)
{
    std::vector<double> spans;
    FILE* f = fopen(BasesPath(first).c_str(), "rb");
    if (!f) return spans;
    unsigned rate = 0;
    std::vector<long> bases;
    long base = 0;
    if (fscanf(f, "%u", &rate) == 1)
        while (fscanf(f, "%ld", &base) == 1) bases.push_back(base);
    fclose(f);
    for (size_t i = 0; rate > 0 && i + 1 < bases.size() && bases[i + 1] > bases[i]; ++i)
        spans.push_back((double)(bases[i + 1] - bases[i]) / rate);
    return spans;
}

void DeleteLaterSegments(const std::string& first)
{
    DeleteFileA(BasesPath(first).c_str());
    for (int n = 1;; ++n) {
        const std::string path = SegmentPath(first, n);
        const bool file = Exists(path), journal = Exists(AviJournalPath(path));
        if (!file && !journal) return;
        DeleteFileA(path.c_str());
        DeleteFileA(AviJournalPath(path).c_str());
    }
}

long long SegmentLimitBytes()
{
    // Well short of 2 GiB: the largest frame a screen gives fits in between.
    const long long limit = 1900LL * 1024 * 1024;
    if (!TestHooksOn()) return limit;
    char value[32] = {};
    DWORD n = GetEnvironmentVariableA("ORBISK_SEGMENT_BYTES", value, sizeof value);
    const long long wanted = n > 0 && n < sizeof value ? _atoi64(value) : 0;
    return wanted > 0 ? wanted : limit;
}

AviSegments::AviSegments(const std::string& first, DWORD fourcc, unsigned rate,
                         const BITMAPINFOHEADER& frame, DWORD keyFrameEvery, long long limitBytes)
    : m_first(first),
      m_fourcc(fourcc),
      m_rate(rate),
      m_frame(frame),
      m_keyFrameEvery(keyFrameEvery),
      m_limit(limitBytes)
{
}

AviSegments::Begun AviSegments::Begin(const std::string& path) const
{
    Begun b;
    b.path = path;
    b.avi.reset(new AviWriter);
    b.hr = b.avi->Open(path, m_fourcc, m_rate, m_frame, m_keyFrameEvery);
    return b;
}

HRESULT AviSegments::Open()
{
    Close();
    Begun b = Begin(m_first);
    if (FAILED(b.hr)) return b.hr;
    m_current = std::move(b.avi);
    m_files = {m_first};
    m_bases = {0};
    m_base = 0;
    m_last = -1;
    m_fileBytes = kHeaderRoom;
    m_largest = 0;
    return S_OK;
}

void AviSegments::BeginNextAhead()
{
    const std::string path = SegmentPath(m_first, (int)m_files.size());
    m_beginning = std::thread([this, path] {
        // The library's objects are made through COM on this thread.
        AVIFileInit();
        Begun b = Begin(path);
        AVIFileExit();
        m_next = std::move(b);
    });
}

std::vector<double> AviSegments::Spans() const
{
    std::vector<double> spans;
    for (size_t i = 0; i < m_bases.size(); ++i) {
        const LONG end = i + 1 < m_bases.size() ? m_bases[i + 1] : m_last + 1;
        spans.push_back((double)(end - m_bases[i]) / m_rate);
    }
    return spans;
}

HRESULT AviSegments::SwitchToNext(LONG index)
{
    if (!m_beginning.joinable() && !m_next.avi) BeginNextAhead();
    if (m_beginning.joinable()) m_beginning.join();
    Begun next = std::move(m_next);
    m_next = Begun();
    if (FAILED(next.hr)) {
        if (next.avi) next.avi->Close();
        if (!next.path.empty()) DeleteFileA(next.path.c_str());
        return next.hr;
    }
    CloseBehind(std::move(m_current));
    m_current = std::move(next.avi);
    m_files.push_back(next.path);
    // The frame at hand is the new file's first.
    m_base = index;
    m_bases.push_back(index);
    m_fileBytes = kHeaderRoom;
    RecordBases();
    return S_OK;
}

void AviSegments::RecordBases() const
{
    // A run that ends abruptly leaves the files without their spans: the
    // recovery reads them here.
    FILE* f = fopen(BasesPath(m_first).c_str(), "wb");
    if (!f) return;
    fprintf(f, "%u\n", m_rate);
    for (LONG base : m_bases) fprintf(f, "%ld\n", (long)base);
    fclose(f);
}

void AviSegments::CloseBehind(std::unique_ptr<AviWriter> avi)
{
    if (m_closing.joinable()) m_closing.join();
    // Closing writes the file's headers and index: not the writer's time.
    m_closing = std::thread([full = std::move(avi)]() mutable { full.reset(); });
}

HRESULT AviSegments::Write(LONG index, const void* bits, DWORD size, DWORD* bytesWritten)
{
    if (!m_current) return E_UNEXPECTED;
    // A next frame up to twice the largest so far must still fit.
    const long long after = m_fileBytes + 2 * m_largest;
    if (m_last >= 0 && after > m_limit) {
        HRESULT hr = SwitchToNext(index);
        if (FAILED(hr)) return hr;
    } else if (m_last >= 0 && after > m_limit - m_limit / 8 && !m_beginning.joinable() &&
               !m_next.avi) {
        BeginNextAhead();
    }
    DWORD bytes = 0;
    HRESULT hr = m_current->Write(index - m_base, bits, size, &bytes);
    if (FAILED(hr)) return hr;
    if (bytesWritten) *bytesWritten += bytes;
    const long long cost = bytes + (bytes & 1) + kPerFrame;
    // Positions left out may each get an empty entry.
    m_fileBytes += cost + (long long)(index - std::max(m_last + 1, m_base)) * kPerFrame;
    m_largest = std::max(m_largest, cost);
    m_last = index;
    return S_OK;
}

void AviSegments::Close()
{
    if (m_beginning.joinable()) m_beginning.join();
    if (m_next.avi || !m_next.path.empty()) {
        // Begun ahead, never written: no part of the recording.
        if (m_next.avi) m_next.avi->Close();
        DeleteFileA(m_next.path.c_str());
        m_next = Begun();
    }
    if (m_current) m_current->Close();
    m_current.reset();
    if (m_closing.joinable()) m_closing.join();
    // Closed: the spans go to the save with the files.
    DeleteFileA(BasesPath(m_first).c_str());
}
