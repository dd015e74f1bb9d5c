#include "recorder/recording/AviWriter.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace {

const char kJournalMagic[4] = {'O', 'B', 'K', 'J'};
const DWORD kJournalVersion = 1;

struct JournalHeader {
    char magic[4];
    DWORD version;
    DWORD fourcc;
    DWORD rate;
    DWORD formatSize;
};

bool IsFrameChunk(const BYTE* id)
{
    return id[0] == '0' && id[1] == '0' && id[2] == 'd' && (id[3] == 'c' || id[3] == 'b');
}

// A key frame: stored as one ("db", as Wine's library does), or an H.264
// frame that opens with its parameter sets or an IDR slice.
bool IsKeyFrame(const BYTE* id, const std::vector<BYTE>& data)
{
    if (id[3] == 'b') return true;
    const size_t look = std::min<size_t>(data.size(), 256);
    for (size_t i = 0; i + 3 < look; ++i)
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) {
            const BYTE type = data[i + 3] & 0x1F;
            if (type == 5 || type == 7) return true;
        }
    return false;
}

}  // namespace

std::string AviJournalPath(const std::string& aviPath)
{
    return aviPath + ".frames";
}

HRESULT AviWriter::Open(const std::string& path, DWORD fourcc, unsigned rate,
                        const BITMAPINFOHEADER& frame, DWORD keyFrameEvery)
{
    Close();
    HRESULT hr = AVIFileOpenA(&m_file, path.c_str(), OF_CREATE | OF_WRITE, nullptr);
    if (FAILED(hr)) {
        m_file = nullptr;
        return hr;
    }
    AVISTREAMINFOA info = {};
    info.fccType = streamtypeVIDEO;
    info.fccHandler = fourcc;
    info.dwScale = 1;
    info.dwRate = rate;
    info.dwSuggestedBufferSize = frame.biSizeImage;
    SetRect(&info.rcFrame, 0, 0, frame.biWidth, frame.biHeight);
    hr = AVIFileCreateStreamA(m_file, &m_stream, &info);
    if (FAILED(hr)) {
        m_stream = nullptr;
        return hr;
    }
    AVICOMPRESSOPTIONS opts = {};
    opts.fccType = streamtypeVIDEO;
    opts.fccHandler = fourcc;
    opts.dwKeyFrameEvery = keyFrameEvery;
    opts.dwQuality = 10000;
    opts.dwBytesPerSecond = 0;
    opts.dwFlags = AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_DATARATE | AVICOMPRESSF_VALID;
    hr = AVIMakeCompressedStream(&m_compressed, m_stream, &opts, nullptr);
    if (FAILED(hr)) {
        m_compressed = nullptr;
        return hr;
    }
    BITMAPINFOHEADER format = frame;
    hr = AVIStreamSetFormat(m_compressed, 0, &format, format.biSize + format.biClrUsed * 4);
    if (SUCCEEDED(hr)) {
        m_journalPath = AviJournalPath(path);
        StartJournal(fourcc, rate);
    }
    return hr;
}

void AviWriter::StartJournal(DWORD fourcc, unsigned rate)
{
    // The format as the file stores it: the compressor's output.
    LONG size = 0;
    if (AVIStreamReadFormat(m_stream, 0, nullptr, &size) != 0 || size <= 0) return;
    std::vector<BYTE> format(size);
    if (AVIStreamReadFormat(m_stream, 0, format.data(), &size) != 0) return;
    m_journal = fopen(m_journalPath.c_str(), "wb");
    if (!m_journal) return;
    JournalHeader h;
    memcpy(h.magic, kJournalMagic, 4);
    h.version = kJournalVersion;
    h.fourcc = fourcc;
    h.rate = rate;
    h.formatSize = (DWORD)size;
    fwrite(&h, sizeof h, 1, m_journal);
    fwrite(format.data(), 1, format.size(), m_journal);
    fflush(m_journal);
}

HRESULT AviWriter::Write(LONG index, const void* bits, DWORD size, DWORD* bytesWritten)
{
    LONG samples = 0, bytes = 0;
    HRESULT hr = AVIStreamWrite(m_compressed, index, 1, const_cast<void*>(bits), (LONG)size, 0,
                                &samples, &bytes);
    // Wine's AVI library swaps the two counts (samples reads as the bytes),
    // and one frame is one sample, so the larger is the byte count.
    if (SUCCEEDED(hr) && bytesWritten)
        *bytesWritten += (DWORD)std::max(samples, bytes);
    if (SUCCEEDED(hr) && m_journal) {
        fwrite(&index, sizeof index, 1, m_journal);
        fflush(m_journal);
    }
    return hr;
}

void AviWriter::Close()
{
    if (m_compressed)
        AVIStreamRelease(m_compressed);
    if (m_stream)
        AVIStreamRelease(m_stream);
    if (m_file)
        AVIFileRelease(m_file);
    m_compressed = m_stream = nullptr;
    m_file = nullptr;
    // The file has its headers and index now.
    if (m_journal) {
        fclose(m_journal);
        m_journal = nullptr;
        DeleteFileA(m_journalPath.c_str());
    }
}

long AviJournalFrames(const std::string& aviPath)
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    JournalHeader h = {};
    FILE* journal = fopen(AviJournalPath(aviPath).c_str(), "rb");
    if (!journal) return -1;
    const bool ok = fread(&h, sizeof h, 1, journal) == 1 && memcmp(h.magic, kJournalMagic, 4) == 0;
    fclose(journal);
    if (!ok || !GetFileAttributesExA(AviJournalPath(aviPath).c_str(), GetFileExInfoStandard, &d))
        return -1;
    const long long rest = (long long)d.nFileSizeLow - (long long)sizeof h - h.formatSize;
    return rest < 0 ? -1 : (long)(rest / sizeof(LONG));
}

bool RebuildAvi(const std::string& unclosedAvi, const std::string& out)
{
    FILE* journal = fopen(AviJournalPath(unclosedAvi).c_str(), "rb");
    if (!journal) return false;
    JournalHeader h = {};
    std::vector<BYTE> format;
    std::vector<LONG> positions;
    bool ok = fread(&h, sizeof h, 1, journal) == 1 && memcmp(h.magic, kJournalMagic, 4) == 0 &&
              h.version == kJournalVersion && h.formatSize >= sizeof(BITMAPINFOHEADER) &&
              h.formatSize < 65536 && h.rate > 0;
    if (ok) {
        format.resize(h.formatSize);
        ok = fread(format.data(), 1, format.size(), journal) == format.size();
    }
    for (LONG p; ok && fread(&p, sizeof p, 1, journal) == 1;) positions.push_back(p);
    fclose(journal);
    if (!ok || positions.empty()) return false;

    FILE* in = fopen(unclosedAvi.c_str(), "rb");
    if (!in) return false;
    // The frames begin after the room the library keeps for the headers.
    std::vector<BYTE> head(65536);
    size_t got = fread(head.data(), 1, head.size(), in);
    size_t at = 0;
    while (at + 8 <= got && !IsFrameChunk(&head[at])) at += 2;
    if (at + 8 > got || _fseeki64(in, (long long)at, SEEK_SET) != 0) {
        fclose(in);
        return false;
    }

    const auto* bi = reinterpret_cast<const BITMAPINFOHEADER*>(format.data());
    AVIFileInit();
    PAVIFILE file = nullptr;
    PAVISTREAM stream = nullptr;
    size_t placed = 0;
    if (SUCCEEDED(AVIFileOpenA(&file, out.c_str(), OF_CREATE | OF_WRITE, nullptr))) {
        AVISTREAMINFOA info = {};
        info.fccType = streamtypeVIDEO;
        info.fccHandler = h.fourcc;
        info.dwScale = 1;
        info.dwRate = h.rate;
        SetRect(&info.rcFrame, 0, 0, bi->biWidth, abs(bi->biHeight));
        if (SUCCEEDED(AVIFileCreateStreamA(file, &stream, &info)) &&
            SUCCEEDED(AVIStreamSetFormat(stream, 0, format.data(), (LONG)format.size()))) {
            // The library keeps a chunk for every place in the stream: a
            // frame grabbed late leaves empty ones before it. So a chunk's
            // place is the first frame's plus the chunks before it; the
            // journal's places check it (a file without such fillers takes
            // the journal's next place instead).
            const std::set<LONG> journalled(positions.begin(), positions.end());
            LONG next = positions[0];
            size_t j = 0;
            std::vector<BYTE> data;
            BYTE chunk[8];
            while (fread(chunk, 1, 8, in) == 8) {
                DWORD size;
                memcpy(&size, chunk + 4, 4);
                if (!IsFrameChunk(chunk)) {
                    // Whatever else the library put there is passed over.
                    if (_fseeki64(in, (long long)size + (size & 1), SEEK_CUR) != 0) break;
                    continue;
                }
                data.resize(size);
                // A frame cut off by the end of the run is not one.
                if (size > 0 && fread(data.data(), 1, size, in) != size) break;
                if (size & 1) _fseeki64(in, 1, SEEK_CUR);
                LONG at = next++;
                if (size == 0) {
                    // A place without a picture: nothing to write.
                    if (j < positions.size() && positions[j] == at) ++j;
                    continue;
                }
                if (!journalled.count(at) && j < positions.size()) at = positions[j];
                while (j < positions.size() && positions[j] <= at) ++j;
                next = at + 1;
                if (FAILED(AVIStreamWrite(stream, at, 1, data.data(), (LONG)size,
                                          IsKeyFrame(chunk, data) ? AVIIF_KEYFRAME : 0, nullptr,
                                          nullptr)))
                    break;
                ++placed;
            }
        }
    }
    if (stream) AVIStreamRelease(stream);
    if (file) AVIFileRelease(file);
    AVIFileExit();
    fclose(in);
    if (placed == 0) DeleteFileA(out.c_str());
    return placed > 0;
}

DWORD RecordingKeyFrameEvery(unsigned rate)
{
    return rate ? 2 * rate : 1;
}
