#include "platform/ui/UIZip.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>

namespace DuiLib {

namespace {

// The "file" minizip reads: a window over the archive's bytes.
struct MemStream {
    const std::string* bytes;
    ZPOS64_T pos;
    bool error;
};

voidpf ZCALLBACK MemOpen(voidpf, const void* filename, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
    auto* s = new MemStream;
    s->bytes = static_cast<const std::string*>(filename);
    s->pos = 0;
    s->error = false;
    return s;
}

uLong ZCALLBACK MemRead(voidpf, voidpf stream, void* buf, uLong size)
{
    auto* s = static_cast<MemStream*>(stream);
    ZPOS64_T total = s->bytes->size();
    if (s->pos >= total) return 0;
    ZPOS64_T n = total - s->pos;
    if (n > size) n = size;
    memcpy(buf, s->bytes->data() + s->pos, (size_t)n);
    s->pos += n;
    return (uLong)n;
}

uLong ZCALLBACK MemWrite(voidpf, voidpf stream, const void*, uLong)
{
    static_cast<MemStream*>(stream)->error = true;
    return 0;
}

ZPOS64_T ZCALLBACK MemTell(voidpf, voidpf stream)
{
    return static_cast<MemStream*>(stream)->pos;
}

long ZCALLBACK MemSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* s = static_cast<MemStream*>(stream);
    ZPOS64_T total = s->bytes->size();
    ZPOS64_T base = 0;
    switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET:
            base = 0;
            break;
        case ZLIB_FILEFUNC_SEEK_CUR:
            base = s->pos;
            break;
        case ZLIB_FILEFUNC_SEEK_END:
            base = total;
            break;
        default:
            return -1;
    }
    if (base + offset > total) return -1;
    s->pos = base + offset;
    return 0;
}

int ZCALLBACK MemClose(voidpf, voidpf stream)
{
    delete static_cast<MemStream*>(stream);
    return 0;
}

int ZCALLBACK MemError(voidpf, voidpf stream)
{
    return static_cast<MemStream*>(stream)->error ? 1 : 0;
}

class Lock {
public:
    explicit Lock(CRITICAL_SECTION* cs) : cs_(cs) { EnterCriticalSection(cs_); }
    ~Lock() { LeaveCriticalSection(cs_); }

private:
    CRITICAL_SECTION* cs_;
};

}  // namespace

CZipArchive::CZipArchive()
{
    InitializeCriticalSection(&m_lock);
}

CZipArchive::~CZipArchive()
{
    Close();
    DeleteCriticalSection(&m_lock);
}

std::string CZipArchive::NormalizeName(const std::string& name)
{
    std::string n;
    n.reserve(name.size());
    for (char c : name) {
        if (c == '\\')
            c = '/';
        else if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
        n += c;
    }
    size_t start = 0;
    while (start < n.size() && n[start] == '/') ++start;
    return n.substr(start);
}

bool CZipArchive::Open(const void* data, size_t size)
{
    Close();
    Lock lock(&m_lock);
    m_bytes.assign(static_cast<const char*>(data), size);
    zlib_filefunc64_def funcs = {};
    funcs.zopen64_file = MemOpen;
    funcs.zread_file = MemRead;
    funcs.zwrite_file = MemWrite;
    funcs.ztell64_file = MemTell;
    funcs.zseek64_file = MemSeek;
    funcs.zclose_file = MemClose;
    funcs.zerror_file = MemError;
    funcs.opaque = nullptr;
    unzFile unz = unzOpen2_64(&m_bytes, &funcs);
    if (!unz) {
        m_error = "not a zip archive (" + std::to_string(size) + " bytes)";
        m_bytes.clear();
        return false;
    }
    for (int rc = unzGoToFirstFile(unz); rc == UNZ_OK; rc = unzGoToNextFile(unz)) {
        char name[MAX_PATH * 2];
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(unz, &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
            UNZ_OK)
            continue;
        unz64_file_pos pos;
        if (unzGetFilePos64(unz, &pos) != UNZ_OK) continue;
        std::string key = NormalizeName(name);
        if (key.empty() || key.back() == '/') continue;  // folders
        m_entries.emplace(
            key, Entry{pos.pos_in_zip_directory, pos.num_of_file, info.uncompressed_size, name});
    }
    m_unz = unz;
    m_error.clear();
    return true;
}

void CZipArchive::Close()
{
    Lock lock(&m_lock);
    if (m_unz) unzClose(static_cast<unzFile>(m_unz));
    m_unz = nullptr;
    m_entries.clear();
    m_bytes.clear();
}

bool CZipArchive::Contains(const std::string& name) const
{
    Lock lock(&m_lock);
    return m_entries.count(NormalizeName(name)) != 0;
}

std::vector<std::string> CZipArchive::Names() const
{
    Lock lock(&m_lock);
    std::vector<std::string> names;
    for (auto& e : m_entries) names.push_back(e.second.name);
    return names;
}

bool CZipArchive::Read(const std::string& name, std::string* out)
{
    Lock lock(&m_lock);
    auto it = m_entries.find(NormalizeName(name));
    if (!m_unz || it == m_entries.end()) return false;
    unzFile unz = static_cast<unzFile>(m_unz);
    unz64_file_pos pos;
    pos.pos_in_zip_directory = it->second.posInDir;
    pos.num_of_file = it->second.numFile;
    if (unzGoToFilePos64(unz, &pos) != UNZ_OK || unzOpenCurrentFile(unz) != UNZ_OK) {
        m_error = "cannot open entry " + it->second.name;
        return false;
    }
    out->resize((size_t)it->second.size);
    size_t done = 0;
    bool ok = true;
    while (done < out->size()) {
        unsigned chunk = (unsigned)std::min<size_t>(out->size() - done, 1u << 20);
        int n = unzReadCurrentFile(unz, &(*out)[done], chunk);
        if (n <= 0) {
            ok = false;
            break;
        }
        done += (size_t)n;
    }
    // Also checks the CRC of the whole entry.
    if (unzCloseCurrentFile(unz) != UNZ_OK) ok = false;
    if (!ok) {
        m_error = "corrupt entry " + it->second.name;
        out->clear();
    }
    return ok;
}

}  // namespace DuiLib
