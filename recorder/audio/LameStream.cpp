#include "recorder/audio/LameStream.h"

#include "recorder/audio/LameLibrary.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The size the library's documentation gives for the "LAME" configuration;
// the compiler pads the structure by one byte.
const DWORD kConfigSize = 331;

}  // namespace

LameStream::LameStream(UINT32 bitrate, UINT32 sampleRate, UINT32 resampleRate, bool infoTag)
{
    LoadLameDll();
    memset(&m_config, 0, sizeof m_config);
    m_config.dwConfig = BE_CONFIG_LAME;
    auto& c = m_config.format.LHV1;
    c.dwStructVersion = 1;
    c.dwStructSize = kConfigSize;
    c.dwSampleRate = sampleRate;
    c.dwReSampleRate = resampleRate;
    c.nMode = BE_MP3_MODE_JSTEREO;
    c.dwBitrate = bitrate;
    c.dwMaxBitrate = 0;
    c.nPreset = LQP_CBR;
    c.dwMpegVersion = bitrate > 32 ? MPEG1 : MPEG2;
    c.bPrivate = TRUE;
    c.bCRC = FALSE;
    c.bCopyright = TRUE;
    c.bOriginal = TRUE;
    // The Info tag tells players the exact length (encoder delay and padding).
    c.bWriteVBRHeader = infoTag && LameApi().beWriteInfoTag ? TRUE : FALSE;
    c.bEnableVBR = FALSE;
    c.nVBRQuality = 0;
    c.dwVbrAbr_bps = 0;
    c.nVbrMethod = VBR_METHOD_DEFAULT;
    c.bNoRes = TRUE;
    if (LameApi().beInitStream(&m_config, &m_samplesPerChunk, &m_bufferSize, &m_stream) !=
        BE_ERR_SUCCESSFUL) {
        if (m_stream) {
            Close();
            FreeWithoutTag();
        }
        throw "ERRORR in beInitStream.";
    }
}

LameStream::~LameStream()
{
    Close();
    FreeWithoutTag();
}

void LameStream::FreeWithoutTag()
{
    if (!m_closed || !HasInfoTag() || !m_stream) return;
    HBE_STREAM stream = m_stream;
    m_stream = nullptr;
    // With the tag asked for, beCloseStream keeps the encoder for
    // beWriteInfoTag, the library's only call that frees it; and that call
    // shows a message box unless it finds two frame headers in the file it
    // is given. So it gets a scratch file it can write the tag into: all
    // 0xFF bytes, a frame header wherever it looks.
    char folder[MAX_PATH], scratch[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH || !GetTempFileNameA(folder, "lam", 0, scratch)) return;
    if (FILE* f = fopen(scratch, "wb")) {
        static const std::vector<BYTE> headers(16384, 0xFF);
        bool whole = fwrite(headers.data(), 1, headers.size(), f) == headers.size();
        if (fclose(f) == 0 && whole) LameApi().beWriteInfoTag(stream, scratch);
    }
    DeleteFileA(scratch);
}

UINT32 LameStream::Encode(const short* samples, UINT32 count, BYTE* out)
{
    if (m_closed || count == 0) return 0;
    DWORD bytes = 0;
    if (LameApi().beEncodeChunk(m_stream, count, const_cast<PSHORT>(samples), out, &bytes) !=
        BE_ERR_SUCCESSFUL)
        return 0;
    return bytes;
}

UINT32 LameStream::Flush(BYTE* out)
{
    if (m_closed) return 0;
    DWORD bytes = 0;
    if (LameApi().beDeinitStream(m_stream, out, &bytes) != BE_ERR_SUCCESSFUL) return 0;
    return bytes;
}

void LameStream::Close()
{
    if (m_closed) return;
    m_closed = true;
    LameApi().beCloseStream(m_stream);
}

bool LameStream::WriteInfoTag(const char* path)
{
    if (!m_closed || !HasInfoTag() || !m_stream) return false;
    HBE_STREAM stream = m_stream;
    m_stream = nullptr;
    return LameApi().beWriteInfoTag(stream, path) == BE_ERR_SUCCESSFUL;
}
