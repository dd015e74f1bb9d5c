// The LAME encoder library "lame_enc.dll", loaded at run time through its
// Blade entry points and kept loaded for the life of the program.
#pragma once

#include <windows.h>

#include <BladeMP3EncDLL.h>

struct LameEntryPoints {
    BEINITSTREAM beInitStream = nullptr;
    BEENCODECHUNK beEncodeChunk = nullptr;
    BEDEINITSTREAM beDeinitStream = nullptr;
    BECLOSESTREAM beCloseStream = nullptr;
    BEVERSION beVersion = nullptr;
    BEWRITEVBRHEADER beWriteVBRHeader = nullptr;
    BEWRITEINFOTAG beWriteInfoTag = nullptr;  // optional
};

// Loads "lame_enc.dll" once; later calls return at once. Throws
// "Error loading lame_enc.DLL" or "Unable to get LAME interfaces" (const char*).
void LoadLameDll();

// The entry points; valid once LoadLameDll has returned.
const LameEntryPoints& LameApi();

// Loads one library and resolves its entry points: nullptr on success, else
// the error text (the library is then released). LoadLameDll runs it on
// "lame_enc.dll"; tests run it on libraries that lack entry points.
const char* LoadLameLibrary(const char* dllName, HMODULE* module, LameEntryPoints* entryPoints);
