// Hands frames to the AVI writer on a thread of its own, so that the
// compressor's work runs beside the next grab instead of after it. A few
// frame buffers are made when the recording starts and reused: the
// recording thread copies a frame into a free one and goes on.
#pragma once

#include "recorder/recording/AviSegments.h"

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class FrameWriter {
public:
    // frameBytes: the size of one frame image; buffers: how many frames may
    // wait for the compressor.
    FrameWriter(AviSegments& avi, DWORD frameBytes, int buffers = 3);
    ~FrameWriter();  // writes what is queued, then stops
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Queues the frame as the sample at `index`. false when every buffer is
    // still waiting for the compressor (the frame is then left out, as a slow
    // grab leaves a position out) or after a write failed.
    bool Queue(LONG index, const void* bits);
    // Waits at most timeoutMs for a buffer the compressor is done with:
    // grabbing while none is free would only make frames that are left out.
    // True when one is free.
    bool WaitForFreeBuffer(DWORD timeoutMs);
    // Waits until everything queued is written.
    void Drain();
    bool Failed() const { return m_failed; }
    DWORD BytesWritten() const { return m_bytes; }
    DWORD FramesWritten() const { return m_frames; }

private:
    struct Job {
        LONG index;
        std::vector<BYTE>* buffer;
    };
    void Run();

    AviSegments& m_avi;
    DWORD m_frameBytes;
    std::vector<std::vector<BYTE>> m_buffers;
    std::vector<std::vector<BYTE>*> m_free;
    std::deque<Job> m_queue;
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_stop = false;
    bool m_busy = false;
    std::atomic<bool> m_failed{false};
    std::atomic<DWORD> m_bytes{0};
    std::atomic<DWORD> m_frames{0};
    std::thread m_thread;
};
