// Small file helpers: PNG size from the header, file length and version,
// extension, and deleting a working folder.
#pragma once

#include <string>

enum PngSizeResult {
    kPngSizeOk = 0,
    kPngCannotOpen = -1,
    // Too short, or the signature or first chunk is not a PNG's; width and
    // height are then 0.
    kPngNotPng = -2,
};

// Width and height from the IHDR chunk; returns a PngSizeResult. Both
// outputs are 0 unless the result is kPngSizeOk.
int GetPNGWidthHeight(const char* path, unsigned* width, unsigned* height);

// Size in bytes; 0 when the file's status cannot be read.
unsigned long long GetFileLength(const std::string& path);

// "a.b.c.d" from the fixed version resource; empty (and the outputs
// untouched) when the file has none.
std::string GetFileVersionString(const char* path, int* a, int* b, int* c, int* d);

// Text after the last '.', or empty when there is none.
std::string GetFileExtension(const std::string& name);

// Deletes the folder with everything in it; true when the folder is gone.
// Links inside are removed, never followed.
bool DeleteFolderTree(const char* folder);
