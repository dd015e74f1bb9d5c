// One MP3 file fed with interleaved 16-bit stereo PCM.
#pragma once

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class LameStream;

// The rate the MP3 is encoded at: the input rate when MP3 has it, else the
// nearest rate above the input's that MP3 has (at most 48000 Hz).
UINT32 Mp3SampleRateFor(UINT32 inputRate);

// What an MP3 is made for. To listen to: with the Info tag, from which a
// player learns the exact length (the codec's delay and padding). To be
// joined into a video: a decoder hands out kCodecDelayFrames frames of the
// codec's own before the first one encoded (LAME's 576 and the decoder's
// 529), and an AVI has no place to say so; the tag would only make the
// converter move the picture to make room for them. So the tag is left out
// and so are the first kCodecDelayFrames frames written: the sound then
// plays at the time it was captured.
enum class Mp3For { Listening, Video };

class CMp3Writer {
public:
    // Throws "Can't create MP3 file.", "ERRORR in beInitStream." or a
    // LoadLameDll text (const char*). An empty path encodes without a file.
    CMp3Writer(UINT32 bitrate, UINT32 sampleRate, std::string path,
               Mp3For use = Mp3For::Listening);
    virtual ~CMp3Writer();
    CMp3Writer(const CMp3Writer&) = delete;
    CMp3Writer& operator=(const CMp3Writer&) = delete;

    // Encodes bytes / 2 samples (interleaved left and right).
    virtual void Write(const void* data, UINT32 bytes);

    static const UINT32 kCodecDelayFrames = 1105;

    // Writes what the encoder still holds, closes the file and writes the Info
    // tag. Nothing can be written afterwards; the destructor calls it.
    void Finish();

    UINT32 SampleRate() const { return m_sampleRate; }
    const std::string& Path() const { return m_path; }
    // Stereo frames handed to the encoder so far.
    UINT64 FramesWritten() const { return m_framesWritten; }
    // True once a write to the file came up short (a full disk).
    bool WriteFailed() const { return m_writeFailed; }

private:
    void Put(const BYTE* bytes, UINT32 count);

    std::unique_ptr<LameStream> m_stream;
    FILE* m_file = nullptr;
    UINT32 m_sampleRate = 0;
    UINT32 m_bitrate = 0;
    std::string m_path;
    std::vector<BYTE> m_out;
    UINT64 m_framesWritten = 0;
    UINT32 m_skipFrames = 0;
    UINT64 m_bytesPut = 0;
    bool m_writeFailed = false;
    bool m_finished = false;
};
