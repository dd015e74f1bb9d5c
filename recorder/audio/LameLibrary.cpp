#include "recorder/audio/LameLibrary.h"

#include <mutex>

namespace {

std::mutex g_csLameLoad;
bool g_bLameLoaded = false;
LameEntryPoints g_lame;

template <class Fn>
void Resolve(HMODULE module, const char* name, Fn* fn)
{
    *fn = reinterpret_cast<Fn>(GetProcAddress(module, name));
}

}  // namespace

const char* LoadLameLibrary(const char* dllName, HMODULE* module, LameEntryPoints* entryPoints)
{
    HMODULE dll = LoadLibraryA(dllName);
    if (!dll) return "Error loading lame_enc.DLL";
    LameEntryPoints e;
    Resolve(dll, TEXT_BEINITSTREAM, &e.beInitStream);
    Resolve(dll, TEXT_BEENCODECHUNK, &e.beEncodeChunk);
    Resolve(dll, TEXT_BEDEINITSTREAM, &e.beDeinitStream);
    Resolve(dll, TEXT_BECLOSESTREAM, &e.beCloseStream);
    Resolve(dll, TEXT_BEVERSION, &e.beVersion);
    Resolve(dll, TEXT_BEWRITEVBRHEADER, &e.beWriteVBRHeader);
    Resolve(dll, TEXT_BEWRITEINFOTAG, &e.beWriteInfoTag);
    if (!e.beInitStream || !e.beEncodeChunk || !e.beDeinitStream || !e.beCloseStream ||
        !e.beVersion || !e.beWriteVBRHeader) {
        FreeLibrary(dll);
        return "Unable to get LAME interfaces";
    }
    *module = dll;
    *entryPoints = e;
    return nullptr;
}

void LoadLameDll()
{
    std::lock_guard<std::mutex> lock(g_csLameLoad);
    if (g_bLameLoaded) return;
    HMODULE module = nullptr;
    if (const char* error = LoadLameLibrary("lame_enc.dll", &module, &g_lame)) throw error;
    g_bLameLoaded = true;
}

const LameEntryPoints& LameApi()
{
    return g_lame;
}
