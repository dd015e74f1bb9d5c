// A zip archive read from memory through minizip: the skin package lives in
// the executable's resources, so no file is involved. Entry names match
// without regard to case, and '/' and '\' are the same.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace DuiLib {

class CZipArchive {
public:
    CZipArchive();
    ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;

    // Copies the bytes. False (and an error text) when they are no zip.
    bool Open(const void* data, size_t size);
    void Close();
    bool IsOpen() const { return m_unz != nullptr; }

    bool Contains(const std::string& name) const;
    // False when the entry is missing or cannot be inflated.
    bool Read(const std::string& name, std::string* out);
    std::vector<std::string> Names() const;
    const std::string& LastError() const { return m_error; }

    static std::string NormalizeName(const std::string& name);

private:
    struct Entry {
        unsigned long long posInDir;
        unsigned long long numFile;
        unsigned long long size;
        std::string name;
    };

    std::string m_bytes;
    void* m_unz = nullptr;                   // unzFile
    std::map<std::string, Entry> m_entries;  // by normalised name
    std::string m_error;
    mutable CRITICAL_SECTION m_lock;
};

}  // namespace DuiLib
