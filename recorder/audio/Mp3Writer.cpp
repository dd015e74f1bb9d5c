#include "recorder/audio/Mp3Writer.h"

#include "recorder/audio/LameLibrary.h"
#include "recorder/audio/LameStream.h"

#include <algorithm>

namespace {

// One call's output must fit the output buffer: at most this many values
// (about 1.5 s of 44.1 kHz stereo) go to the encoder at a time.
const UINT32 kValuesPerEncode = 131072;
const UINT32 kOutputBufferBytes = 192000;

}  // namespace

UINT32 Mp3SampleRateFor(UINT32 inputRate)
{
    static const UINT32 kRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
    for (UINT32 rate : kRates) {
        if (inputRate <= rate) return rate;
    }
    return inputRate % 44100 == 0 ? 44100 : 48000;
}

CMp3Writer::CMp3Writer(UINT32 bitrate, UINT32 sampleRate, std::string path, Mp3For use)
    : m_sampleRate(sampleRate), m_bitrate(bitrate), m_path(std::move(path))
{
    LoadLameDll();
    if (!m_path.empty()) {
        m_file = fopen(m_path.c_str(), "wb");
        if (!m_file) throw "Can't create MP3 file.";
    }
    try {
        m_stream.reset(new LameStream(bitrate, sampleRate, Mp3SampleRateFor(sampleRate),
                                      m_file != nullptr && use == Mp3For::Listening));
    } catch (...) {
        if (m_file) {
            fclose(m_file);
            DeleteFileA(m_path.c_str());
        }
        throw;
    }
    m_out.resize(kOutputBufferBytes);
    // A resampling encoder delays by its filter too: only the plain case is known.
    if (use == Mp3For::Video && Mp3SampleRateFor(sampleRate) == sampleRate)
        m_skipFrames = kCodecDelayFrames;
}

CMp3Writer::~CMp3Writer()
{
    Finish();
}

void CMp3Writer::Write(const void* data, UINT32 bytes)
{
    if (m_finished) return;
    const short* samples = static_cast<const short*>(data);
    UINT32 count = bytes / 4 * 2;  // whole stereo frames only
    m_framesWritten += count / 2;
    if (m_skipFrames > 0) {
        UINT32 skip = std::min(m_skipFrames, count / 2);
        m_skipFrames -= skip;
        samples += skip * 2;
        count -= skip * 2;
    }
    while (count > 0) {
        UINT32 n = std::min(count, kValuesPerEncode);
        Put(m_out.data(), m_stream->Encode(samples, n, m_out.data()));
        samples += n;
        count -= n;
    }
}

void CMp3Writer::Finish()
{
    if (m_finished) return;
    m_finished = true;
    Put(m_out.data(), m_stream->Flush(m_out.data()));
    m_stream->Close();
    if (!m_file) return;
    if (fclose(m_file) != 0) m_writeFailed = true;
    m_file = nullptr;
    // The library shows a message box when it cannot find the first two
    // frames again, so the tag goes only into a file written whole.
    const UINT64 twoFrames = 2 * (144000ull * m_bitrate / Mp3SampleRateFor(m_sampleRate) + 1);
    if (m_stream->HasInfoTag() && !m_writeFailed && m_bytesPut >= twoFrames)
        m_stream->WriteInfoTag(m_path.c_str());
}

void CMp3Writer::Put(const BYTE* bytes, UINT32 count)
{
    if (!m_file || count == 0) return;
    if (fwrite(bytes, 1, count, m_file) != count) m_writeFailed = true;
    m_bytesPut += count;
}
