// The compressors a recording can use: every installed video compressor
// that accepts the recorder's 24-bit frames, and the one chosen from them.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <memory>

extern const wchar_t kX264CompressorDescription[];  // "x264vfw - H.264/MPEG-4 AVC codec"
extern const wchar_t kXvidCompressorDescription[];  // "Xvid MPEG-4 Codec"

struct CodecInfoList {
    static constexpr int kCapacity = 50;
    ICINFO infos[kCapacity] = {};
    int count = 0;
};

// Null until the first EnumVideoCompressors.
extern std::unique_ptr<CodecInfoList> g_pCodecInfos;

// Rebuilds the list from the compressor manager's compressors (and those
// this process installed that it does not list), keeping those that accept
// a 320 x 200 test frame of the screen, at most 50. Then selects by the
// configured compressor type into g_videoOpts (selected index, x264 and Xvid
// positions, FOURCC); an empty list leaves the selection as it was.
// UI thread only.
void EnumVideoCompressors();

// The position a compressor type selects: type 0 the x264 position, type 1
// the Xvid position, 0 when that compressor is absent or for any other type.
UINT SelectCompressorIndex(int codecType, int x264Index, int xvidIndex);

// Entries in the list (0 before the first build).
int CompressorCount();
// The selected entry, or null when the list has none at that position.
const ICINFO* SelectedCompressorInfo();
