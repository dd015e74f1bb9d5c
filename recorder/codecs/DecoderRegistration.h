// The binary values that register the Xvid decoder with DirectShow and
// Media Foundation: the published REGFILTER2 "FilterData" layout and the
// Media Foundation transform's lists of (major type, subtype) GUID pairs.
#pragma once

#include <windows.h>

#include <vector>

// The 24 FOURCCs the decoder takes, in registration order.
extern const char* const kXvidDecoderFourccs[24];

// REGFILTER2 version 2: the header, an input pin with one media type per
// FOURCC (video / FOURCC subtype), an output pin (video / YV12), then every
// distinct GUID once. 880 bytes.
std::vector<BYTE> BuildXvidFilterData();
// 24 pairs of (video, FOURCC subtype): 768 bytes.
std::vector<BYTE> BuildXvidInputTypes();
// One pair (video, YV12): 32 bytes.
std::vector<BYTE> BuildXvidOutputTypes();

// The media subtype GUID of a FOURCC: {XXXXXXXX-0000-0010-8000-00AA00389B71}.
GUID FourccSubtype(DWORD fourcc);
