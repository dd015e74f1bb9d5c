#include "recorder/audio/Mp3WriteMerge.h"

#include "recorder/audio/PcmChunkMixer.h"

#include <cstdio>

CMp3WriteMerge::CMp3WriteMerge(UINT32 bitrate, UINT32 sampleRate, std::string path,
                               std::string tempFolder, Mp3For use)
    : CMp3Writer(bitrate, sampleRate, path, use), m_tempFolder(std::move(tempFolder))
{
    m_wakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (m_wakeEvent && OpenChunkFiles(0))
        m_thread = CreateThread(nullptr, 0, MergeThread, this, 0, nullptr);
    if (!m_thread) {
        CloseChunkFiles();
        DeleteFileA(m_current.micPath.c_str());
        DeleteFileA(m_current.speakerPath.c_str());
        if (m_wakeEvent) CloseHandle(m_wakeEvent);
        Finish();
        DeleteFileA(Path().c_str());
        throw "Can't create PCM chunk file.";
    }
}

CMp3WriteMerge::~CMp3WriteMerge()
{
    Close(INFINITE);
}

bool CMp3WriteMerge::Close(DWORD timeoutMs)
{
    if (!m_thread) return true;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        CloseChunkFiles();
    }
    m_stop = true;
    SetEvent(m_wakeEvent);
    if (WaitForSingleObject(m_thread, timeoutMs) != WAIT_OBJECT_0) return false;
    CloseHandle(m_thread);
    m_thread = nullptr;
    CloseHandle(m_wakeEvent);
    m_wakeEvent = nullptr;
    Finish();
    return true;
}

std::string CMp3WriteMerge::ChunkPath(const char* kind, UINT32 index) const
{
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%svint_%s_%d.pcm", m_tempFolder.c_str(), kind, (int)index);
    return path;
}

bool CMp3WriteMerge::OpenChunkFiles(UINT32 index)
{
    ChunkPair next{ChunkPath("mic", index), ChunkPath("speaker", index)};
    FILE* mic = fopen(next.micPath.c_str(), "wb");
    FILE* speaker = mic ? fopen(next.speakerPath.c_str(), "wb") : nullptr;
    if (!speaker) {
        if (mic) {
            fclose(mic);
            DeleteFileA(next.micPath.c_str());
        }
        return false;
    }
    CloseChunkFiles();
    m_micFile = mic;
    m_speakerFile = speaker;
    m_current = next;
    return true;
}

void CMp3WriteMerge::CloseChunkFiles()
{
    for (FILE** f : {&m_micFile, &m_speakerFile}) {
        if (*f && fclose(*f) != 0) m_chunkWriteFailed = true;
        *f = nullptr;
    }
}

void CMp3WriteMerge::Put(FILE* file, const void* data, UINT32 bytes)
{
    if (file && fwrite(data, 1, bytes, file) != bytes) m_chunkWriteFailed = true;
}

void CMp3WriteMerge::WriteMic(const void* data, UINT32 bytes)
{
    std::lock_guard<std::mutex> lock(m_lock);
    Put(m_micFile, data, bytes);
}

void CMp3WriteMerge::WriteSpeaker(const void* data, UINT32 bytes)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_speakerFile) return;
    Put(m_speakerFile, data, bytes);
    m_speakerBytes += bytes;
    // Sixty seconds of 4-byte frames make a chunk.
    if (m_speakerBytes <= SampleRate() * 240) return;
    ChunkPair done = m_current;
    // When the next pair cannot be opened the current one grows on; the
    // rotation is tried again with the next write.
    if (!OpenChunkFiles(m_chunkIndex + 1)) return;
    ++m_chunkIndex;
    m_speakerBytes = 0;
    m_finished.push_back(done);
    SetEvent(m_wakeEvent);
}

DWORD WINAPI CMp3WriteMerge::MergeThread(void* self)
{
    auto* w = static_cast<CMp3WriteMerge*>(self);
    for (;;) {
        WaitForSingleObject(w->m_wakeEvent, INFINITE);
        // Every finished pair is merged in order, however far behind.
        for (;;) {
            ChunkPair pair;
            {
                std::lock_guard<std::mutex> lock(w->m_lock);
                if (w->m_finished.empty()) break;
                pair = w->m_finished.front();
                w->m_finished.pop_front();
            }
            w->MergeChunk(pair, false);
        }
        if (w->m_stop) break;
    }
    w->MergeChunk(w->m_current, true);
    return 0;
}

void CMp3WriteMerge::MergeChunk(const ChunkPair& pair, bool last)
{
    MixPcmChunkFiles(
        pair.micPath, pair.speakerPath, last,
        [this](const short* samples, UINT32 count) { Write(samples, count * 2); },
        [this] {
            // While recording, leave the processor to the capture.
            if (!m_stop) Sleep(5);
        });
    DeleteFileA(pair.micPath.c_str());
    DeleteFileA(pair.speakerPath.c_str());
}
