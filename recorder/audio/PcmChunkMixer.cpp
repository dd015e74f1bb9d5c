#include "recorder/audio/PcmChunkMixer.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// Buffered reader of 16-bit samples; a missing file reads as empty.
class SampleReader {
public:
    explicit SampleReader(const std::string& path) : m_file(fopen(path.c_str(), "rb")) {}
    bool Opened() const { return m_file != nullptr; }
    bool Next(short* sample)
    {
        if (m_pos == m_count) {
            m_pos = 0;
            m_count =
                m_file ? (UINT32)fread(m_buf, sizeof(short), kMixBlockSamples, m_file.get()) : 0;
            if (m_count == 0) return false;
        }
        *sample = m_buf[m_pos++];
        return true;
    }

private:
    File m_file;
    short m_buf[kMixBlockSamples];
    UINT32 m_pos = 0;
    UINT32 m_count = 0;
};

}  // namespace

MixOutcome MixPcmChunkFiles(const std::string& micPath, const std::string& speakerPath,
                            bool keepMicTail, const std::function<void(const short*, UINT32)>& sink,
                            const std::function<void()>& afterBlock)
{
    SampleReader mic(micPath), speaker(speakerPath);
    MixOutcome outcome;
    outcome.micRead = mic.Opened();
    outcome.speakerRead = speaker.Opened();
    // Without its system sound the microphone is all there is of the pair.
    if (!outcome.speakerRead) keepMicTail = true;

    short block[kMixBlockSamples];
    UINT32 filled = 0;
    bool micLeft = true;
    for (;;) {
        short s = 0, m = 0;
        bool haveSpeaker = speaker.Next(&s);
        if (haveSpeaker) {
            if (micLeft && !(micLeft = mic.Next(&m))) m = 0;
            block[filled++] = MixSamples(m, s);
        } else if (keepMicTail && micLeft && mic.Next(&m)) {
            block[filled++] = m;
        } else {
            break;
        }
        if (filled == kMixBlockSamples) {
            sink(block, filled);
            outcome.samples += filled;
            filled = 0;
            afterBlock();
        }
    }
    sink(block, filled);
    outcome.samples += filled;
    return outcome;
}
