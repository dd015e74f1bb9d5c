/* A stand-in for lame_enc.dll that lacks one entry point. */
#include <windows.h>

#define EXPORT __declspec(dllexport)

EXPORT DWORD beInitStream(void* c, DWORD* s, DWORD* b, void** h) { return 1; }
EXPORT DWORD beEncodeChunk(void* h, DWORD n, short* s, BYTE* o, DWORD* w) { return 1; }
EXPORT DWORD beDeinitStream(void* h, BYTE* o, DWORD* w) { return 1; }
EXPORT DWORD beCloseStream(void* h) { return 0; }
#ifndef STUB_NO_VERSION
EXPORT void beVersion(void* v) {}
#endif
EXPORT DWORD beWriteVBRHeader(const char* p) { return 0; }
#ifndef STUB_NO_INFOTAG
EXPORT DWORD beWriteInfoTag(void* h, const char* p) { return 0; }
#endif
