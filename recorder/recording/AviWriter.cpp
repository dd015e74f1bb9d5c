#include "recorder/recording/AviWriter.h"

#include <algorithm>

HRESULT AviWriter::Open(const std::string& path, DWORD fourcc, unsigned rate,
                        const BITMAPINFOHEADER& frame, DWORD keyFrameEvery)
{
    Close();
    HRESULT hr = AVIFileOpenA(&m_file, path.c_str(), OF_CREATE | OF_WRITE, nullptr);
    if (FAILED(hr)) {
        m_file = nullptr;
        return hr;
    }
    AVISTREAMINFOA info = {};
    info.fccType = streamtypeVIDEO;
    info.fccHandler = fourcc;
    info.dwScale = 1;
    info.dwRate = rate;
    info.dwSuggestedBufferSize = frame.biSizeImage;
    SetRect(&info.rcFrame, 0, 0, frame.biWidth, frame.biHeight);
    hr = AVIFileCreateStreamA(m_file, &m_stream, &info);
    if (FAILED(hr)) {
        m_stream = nullptr;
        return hr;
    }
    AVICOMPRESSOPTIONS opts = {};
    opts.fccType = streamtypeVIDEO;
    opts.fccHandler = fourcc;
    opts.dwKeyFrameEvery = keyFrameEvery;
    opts.dwQuality = 10000;
    opts.dwBytesPerSecond = 0;
    opts.dwFlags = AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_DATARATE | AVICOMPRESSF_VALID;
    hr = AVIMakeCompressedStream(&m_compressed, m_stream, &opts, nullptr);
    if (FAILED(hr)) {
        m_compressed = nullptr;
        return hr;
    }
    BITMAPINFOHEADER format = frame;
    hr = AVIStreamSetFormat(m_compressed, 0, &format, format.biSize + format.biClrUsed * 4);
    return hr;
}

HRESULT AviWriter::Write(LONG index, const void* bits, DWORD size, DWORD* bytesWritten)
{
    LONG samples = 0, bytes = 0;
    HRESULT hr = AVIStreamWrite(m_compressed, index, 1, const_cast<void*>(bits), (LONG)size, 0,
                                &samples, &bytes);
    // Wine's AVI library swaps the two counts (samples reads as the bytes),
    // and one frame is one sample, so the larger is the byte count.
    if (SUCCEEDED(hr) && bytesWritten)
        *bytesWritten += (DWORD)std::max(samples, bytes);
    return hr;
}

void AviWriter::Close()
{
    if (m_compressed)
        AVIStreamRelease(m_compressed);
    if (m_stream)
        AVIStreamRelease(m_stream);
    if (m_file)
        AVIFileRelease(m_file);
    m_compressed = m_stream = nullptr;
    m_file = nullptr;
}

DWORD RecordingKeyFrameEvery(unsigned rate)
{
    return rate ? 2 * rate : 1;
}
