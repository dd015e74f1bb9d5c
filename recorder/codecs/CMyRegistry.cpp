#include "recorder/codecs/CMyRegistry.h"

#include "core/ProgramFolder.h"
#include "recorder/codecs/DecoderRegistration.h"
#include "recorder/codecs/RegKey.h"

#include <vector>

using orbisk::RegKey;

const char kDrivers32Key[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
const char kDriversDescKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\drivers.desc";

namespace {

const char kX264Description[] = "x264vfw - H.264/MPEG-4 AVC codec";
const char kXvidDescription[] = "Xvid MPEG-4 Video Codec";
const char* const kXvidFiles[] = {"xvid.ax", "xvidcore.dll", "xvidvfw.dll"};

const char kXvidAboutClsid[] = "SOFTWARE\\Classes\\CLSID\\{00000001-4FEF-40D3-B3FA-E0531B897F98}";
const char kXvidInstanceKey[] =
    "SOFTWARE\\Classes\\CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\"
    "{64697678-0000-0010-8000-00AA00389B71}";
const char kXvidDecoderClsid[] = "{64697678-0000-0010-8000-00AA00389B71}";
const char kXvidDecoderClsidKey[] =
    "SOFTWARE\\Classes\\CLSID\\{64697678-0000-0010-8000-00AA00389B71}";
const char kXvidTransformKey[] =
    "SOFTWARE\\Classes\\MediaFoundation\\Transforms\\64697678-0000-0010-8000-00aa00389b71";
const char kXvidTransformCategoryKey[] =
    "SOFTWARE\\Classes\\MediaFoundation\\Transforms\\Categories\\"
    "d6c02d4b-6833-45b4-971a-05a4b04bab91\\64697678-0000-0010-8000-00aa00389b71";

bool FileExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

struct TextValue {
    const char* name;
    std::string text;
};

bool WriteMissingTexts(RegKey& key, const std::vector<TextValue>& values)
{
    bool ok = static_cast<bool>(key);
    for (const TextValue& v : values) ok = key.SetTextIfMissing(v.name, v.text) && ok;
    return ok;
}

// A COM server entry: the default value and its in-process server.
bool RegisterServer(HKEY root, const std::string& clsidKey, const std::string& name,
                    const std::string& server)
{
    RegKey key = RegKey::Create(root, clsidKey);
    if (!key) return false;
    key.SetTextIfMissing("", name);
    RegKey inproc = RegKey::Create(root, clsidKey + "\\InprocServer32");
    if (!inproc) return false;
    inproc.SetTextIfMissing("", server);
    inproc.SetTextIfMissing("ThreadingModel", "Both");
    return true;
}

}  // namespace

CodecPaths CodecPaths::ForThisProgram()
{
    return CodecPaths{GetX264VfwDllPath(), GetXvidVfwDllPath(), GetRealSystemFolder()};
}

std::string GetRealSystemFolder()
{
    char folder[MAX_PATH] = {};
    BOOL wow64 = FALSE;
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process"));
    UINT n = 0;
    if (isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64)
        n = GetSystemWow64DirectoryA(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) n = GetSystemDirectoryA(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(folder, n) : std::string();
}

std::string CMyRegistry::XvidFolder() const
{
    return FolderOf(m_paths.xvidDll);
}

std::string CMyRegistry::SystemFile(const char* name) const
{
    return m_paths.systemFolder + "\\" + name;
}

bool CMyRegistry::RegisterPluginCodecs()
{
    RegKey desc = RegKey::Create(m_hRoot, kDriversDescKey);
    RegKey drivers = RegKey::Create(m_hRoot, kDrivers32Key);
    if (!desc || !drivers) return false;
    // A driver entry for a library that is not there would send every
    // program that lists compressors to a missing file.
    if (FileExists(m_paths.x264Dll)) {
        desc.SetTextIfMissing(m_paths.x264Dll, kX264Description);
        drivers.SetTextIfMissing("vidc.X264", m_paths.x264Dll);
    }
    if (FileExists(m_paths.xvidDll)) {
        desc.SetTextIfMissing(m_paths.xvidDll, kXvidDescription);
        drivers.SetTextIfMissing("vidc.XVID", m_paths.xvidDll);
    }
    return true;
}

void CMyRegistry::EnsureXvidInstalled()
{
    RegKey drivers = RegKey::Open(m_hRoot, kDrivers32Key);
    if (drivers.HasValue("vidc.XVID") && XvidFilesPresent()) return;
    if (!CopyXvidFiles()) return;
    if (RegisterXvidDecoder())
        WriteDriverTables();
    else
        RegisterPluginCodecs();
}

bool CMyRegistry::XvidFilesPresent() const
{
    if (m_paths.systemFolder.empty()) return false;
    for (const char* f : kXvidFiles)
        if (!FileExists(SystemFile(f))) return false;
    return true;
}

bool CMyRegistry::CopyXvidFiles() const
{
    if (m_paths.systemFolder.empty()) return false;
    const std::string from = XvidFolder();
    for (const char* f : kXvidFiles) {
        const std::string source = from + "\\" + f;
        const std::string target = SystemFile(f);
        if (!FileExists(source)) return false;
        // A file of that name belongs to whoever put it there first.
        if (FileExists(target)) continue;
        if (!CopyFileA(source.c_str(), target.c_str(), TRUE)) return false;
    }
    return true;
}

bool CMyRegistry::RegisterXvidDecoder()
{
    const std::string server = SystemFile("xvid.ax");
    if (!RegisterServer(m_hRoot, kXvidAboutClsid, "Xvid MPEG - 4 Video DecoderAbout", server))
        return false;

    RegKey instance = RegKey::Create(m_hRoot, kXvidInstanceKey);
    if (!instance) return false;
    instance.SetTextIfMissing("FriendlyName", "Xvid MPEG-4 Video Decoder");
    instance.SetTextIfMissing("CLSID", kXvidDecoderClsid);
    const std::vector<BYTE> filterData = BuildXvidFilterData();
    instance.SetBinaryIfMissing("FilterData", filterData.data(), filterData.size());

    if (!RegisterServer(m_hRoot, kXvidDecoderClsidKey, "Xvid MPEG-4 Video Decoder", server))
        return false;

    RegKey transform = RegKey::Create(m_hRoot, kXvidTransformKey);
    if (!transform) return false;
    transform.SetTextIfMissing("", "Xvid MPEG-4 Video Decoder MFT");
    const std::vector<BYTE> in = BuildXvidInputTypes(), out = BuildXvidOutputTypes();
    transform.SetBinaryIfMissing("InputTypes", in.data(), in.size());
    transform.SetBinaryIfMissing("OutputTypes", out.data(), out.size());

    return static_cast<bool>(RegKey::Create(m_hRoot, kXvidTransformCategoryKey));
}

bool CMyRegistry::WriteDriverTables()
{
    // The MP3 codec of the system folder this program's system files live in.
    const std::string l3codec = SystemFile("l3codeca.acm");
    RegKey desc = RegKey::Create(m_hRoot, kDriversDescKey);
    bool ok =
        WriteMissingTexts(desc, {{l3codec.c_str(), "Fraunhofer IIS MPEG Layer - 3 Codec"},
                                 {"wdmaud.drv", "Realtek High Definition Audio"},
                                 {"vfwwdm32.dll", "WDM Video For Windows Capture Driver (Win32)"},
                                 {"xvidvfw.dll", kXvidDescription}});
    RegKey drivers = RegKey::Create(m_hRoot, kDrivers32Key);
    ok = WriteMissingTexts(drivers, {{"vidc.mrle", "msrle32.dll"},
                                     {"vidc.msvc", "msvidc32.dll"},
                                     {"msacm.imaadpcm", "imaadp32.acm"},
                                     {"msacm.msg711", "msg711.acm"},
                                     {"msacm.msgsm610", "msgsm32.acm"},
                                     {"msacm.msadpcm", "msadp32.acm"},
                                     {"midimapper", "midimap.dll"},
                                     {"wavemapper", "msacm32.drv"},
                                     {"VIDC.UYVY", "msyuv.dll"},
                                     {"VIDC.YUY2", "msyuv.dll"},
                                     {"VIDC.YVYU", "msyuv.dll"},
                                     {"VIDC.IYUV", "iyuv_32.dll"},
                                     {"vidc.i420", "iyuv_32.dll"},
                                     {"VIDC.YVU9", "tsbyuv.dll"},
                                     {"msacm.l3acm", l3codec},
                                     {"wave1", "wdmaud.drv"},
                                     {"midi1", "wdmaud.drv"},
                                     {"mixer1", "wdmaud.drv"},
                                     {"wave", "wdmaud.drv"},
                                     {"midi", "wdmaud.drv"},
                                     {"mixer", "wdmaud.drv"},
                                     {"aux", "wdmaud.drv"},
                                     {"MSVideo8", "VfWWDM32.dll"},
                                     {"vidc.XVID", "xvidvfw.dll"}}) &&
         ok;
    return ok;
}
