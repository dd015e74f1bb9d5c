#include "recorder/recording/FrameWriter.h"

#include <chrono>
#include <cstring>

FrameWriter::FrameWriter(AviSegments& avi, DWORD frameBytes, int buffers)
    : m_avi(avi), m_frameBytes(frameBytes), m_buffers(buffers, std::vector<BYTE>(frameBytes))
{
    for (auto& b : m_buffers)
        m_free.push_back(&b);
    m_thread = std::thread([this] { Run(); });
}

FrameWriter::~FrameWriter()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool FrameWriter::Queue(LONG index, const void* bits)
{
    std::vector<BYTE>* buffer = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_failed || m_free.empty())
            return false;
        buffer = m_free.back();
        m_free.pop_back();
    }
    memcpy(buffer->data(), bits, m_frameBytes);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_queue.push_back({index, buffer});
    }
    m_changed.notify_all();
    return true;
}

bool FrameWriter::WaitForFreeBuffer(DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [this] { return !m_free.empty() || m_failed; }) &&
           !m_free.empty() && !m_failed;
}

void FrameWriter::Drain()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [this] { return (m_queue.empty() && !m_busy) || m_failed; });
}

void FrameWriter::Run()
{
    // The compressor keeps the recording thread's priority.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty())
            return;  // stopping, all written
        Job job = m_queue.front();
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        DWORD bytes = 0;
        bool ok = !m_failed && SUCCEEDED(m_avi.Write(job.index, job.buffer->data(), m_frameBytes, &bytes));
        lock.lock();
        m_busy = false;
        if (ok) {
            m_bytes += bytes;
            ++m_frames;
        } else {
            m_failed = true;
        }
        m_free.push_back(job.buffer);
        m_changed.notify_all();
    }
}
