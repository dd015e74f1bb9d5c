// System-wide registration of the codec plug-ins under HKEY_LOCAL_MACHINE:
// the Video for Windows driver entries that let the compressor list find
// them, and the Xvid files and decoder registration other players use.
//
// Everything here touches what other programs share, so it only adds: a
// value is written only when it is missing, files are copied only where
// none of that name exists, nothing is deleted. Every step fails silently
// (a user without write access to the machine keys still records: the
// plug-ins are installed for the process anyway).
#pragma once

#include <windows.h>

#include <string>

// Where the plug-ins are and where system-wide codec files go.
struct CodecPaths {
    std::string x264Dll;       // ...\plugins\x264\x264vfw.dll
    std::string xvidDll;       // ...\plugins\xvid32\xvidvfw.dll; its folder holds the Xvid files
    std::string systemFolder;  // no trailing backslash

    // This program's plug-ins and the real system folder.
    static CodecPaths ForThisProgram();
};

// The folder a 32-bit program's system files really live in: SysWOW64 for
// a 32-bit process on 64-bit Windows, else the system folder.
std::string GetRealSystemFolder();

extern const char kDrivers32Key[];    // SOFTWARE\Microsoft\Windows NT\CurrentVersion\Drivers32
extern const char kDriversDescKey[];  // ...\drivers.desc

class CMyRegistry {
public:
    CMyRegistry() : CMyRegistry(CodecPaths::ForThisProgram()) {}
    explicit CMyRegistry(CodecPaths paths) : m_paths(std::move(paths)) {}
    CMyRegistry(const CMyRegistry&) = delete;
    CMyRegistry& operator=(const CMyRegistry&) = delete;

    // Driver entries ("vidc.X264", "vidc.XVID") and their descriptions, for
    // each plug-in whose library is present. false when a key can be
    // neither opened nor created.
    bool RegisterPluginCodecs();
    // Installs the Xvid files and decoder system-wide unless a driver entry
    // and the files are already there.
    void EnsureXvidInstalled();
    // xvid.ax, xvidcore.dll and xvidvfw.dll are all in the system folder.
    bool XvidFilesPresent() const;
    // Copies the three Xvid files from the plug-in folder to the system
    // folder, leaving any file of that name already there alone. false at
    // the first missing source or failed copy.
    bool CopyXvidFiles() const;
    // The decoder's DirectShow and Media Foundation registration. false at
    // the first key that can be neither opened nor created.
    bool RegisterXvidDecoder();
    // The classic driver tables (audio codecs, wave mapper, YUV codecs).
    bool WriteDriverTables();

    const CodecPaths& paths() const { return m_paths; }

private:
    std::string XvidFolder() const;
    std::string SystemFile(const char* name) const;

    HKEY m_hRoot = HKEY_LOCAL_MACHINE;
    CodecPaths m_paths;
};
