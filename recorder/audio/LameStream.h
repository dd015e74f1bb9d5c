// One encoder stream of lame_enc.dll: constant bit rate, joint stereo,
// interleaved 16-bit stereo input.
#pragma once

#include <windows.h>

#include <BladeMP3EncDLL.h>

class LameStream {
public:
    // Loads the library when needed. With infoTag the stream keeps what the
    // Info tag needs after Close, and WriteInfoTag ends it. Throws
    // "ERRORR in beInitStream." or a LoadLameDll text (const char*).
    LameStream(UINT32 bitrate, UINT32 sampleRate, UINT32 resampleRate, bool infoTag);
    ~LameStream();  // closes and frees the stream, tag or not
    LameStream(const LameStream&) = delete;
    LameStream& operator=(const LameStream&) = delete;

    // Encodes 'count' interleaved 16-bit values; returns the bytes put in out,
    // which must hold MaxOutputBytes(count).
    UINT32 Encode(const short* samples, UINT32 count, BYTE* out);
    // Returns the frames the encoder still holds (beDeinitStream).
    UINT32 Flush(BYTE* out);
    // Ends the stream (beCloseStream). With the Info tag, the stream lives on
    // until WriteInfoTag, or until it is destroyed.
    void Close();
    // Writes the Info tag into the finished, closed file and frees the stream.
    bool WriteInfoTag(const char* path);

    bool HasInfoTag() const { return m_config.format.LHV1.bWriteVBRHeader != FALSE; }
    static UINT32 MaxOutputBytes(UINT32 count) { return count * 5 / 8 + 7200; }

private:
    // Frees a closed stream whose Info tag was not written.
    void FreeWithoutTag();

    BE_CONFIG m_config;
    HBE_STREAM m_stream = nullptr;
    DWORD m_samplesPerChunk = 0;
    DWORD m_bufferSize = 0;
    bool m_closed = false;
};
