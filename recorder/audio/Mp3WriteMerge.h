// The MP3 writer used when the microphone and the system sound are both
// recorded: each stream goes to raw PCM chunk files of about 60 seconds in
// the temporary folder ("vint_mic_%d.pcm", "vint_speaker_%d.pcm"); a merge
// thread adds every finished pair sample by sample, encodes the sum into one
// MP3 and deletes the pair.
#pragma once

#include "recorder/audio/Mp3Writer.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

class CMp3WriteMerge : public CMp3Writer {
public:
    // tempFolder ends in a backslash. Throws like CMp3Writer, or
    // "Can't create PCM chunk file." (const char*).
    CMp3WriteMerge(UINT32 bitrate, UINT32 sampleRate, std::string path, std::string tempFolder,
                   Mp3For use = Mp3For::Listening);
    // Closes it (below), waiting as long as the merge takes: an owner that
    // must not wait so long closes it first.
    ~CMp3WriteMerge() override;

    // Merges what is left, deletes the chunk files and finishes the MP3;
    // nothing can be written afterwards. False when the merge did not end
    // within timeoutMs: it goes on with this object, which must then be left
    // alive (never freed).
    bool Close(DWORD timeoutMs);

    // The merge of the last minute of sound takes a few seconds.
    static const DWORD kCloseMs = 30000;

    // Both take interleaved 16-bit stereo at the writer's sample rate; they
    // may run on two threads at once.
    void WriteMic(const void* data, UINT32 bytes);
    void WriteSpeaker(const void* data, UINT32 bytes);

    // True once a chunk file could not be written whole (a full disk).
    bool ChunkWriteFailed() const { return m_chunkWriteFailed; }

private:
    struct ChunkPair {
        std::string micPath, speakerPath;
    };

    std::string ChunkPath(const char* kind, UINT32 index) const;
    bool OpenChunkFiles(UINT32 index);
    void CloseChunkFiles();
    void Put(FILE* file, const void* data, UINT32 bytes);
    static DWORD WINAPI MergeThread(void* self);
    void MergeChunk(const ChunkPair& pair, bool last);

    std::string m_tempFolder;
    std::mutex m_lock;  // the current chunk files, the queue of finished pairs
    FILE* m_micFile = nullptr;
    FILE* m_speakerFile = nullptr;
    ChunkPair m_current;
    std::deque<ChunkPair> m_finished;
    UINT32 m_speakerBytes = 0;
    UINT32 m_chunkIndex = 0;
    HANDLE m_wakeEvent = nullptr;
    HANDLE m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_chunkWriteFailed{false};
};
