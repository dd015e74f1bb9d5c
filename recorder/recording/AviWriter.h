// One compressed video stream in an AVI file, written through the Video for
// Windows AVI library with the installed compressor of the chosen FOURCC.
// The caller brackets its use with AVIFileInit / AVIFileExit.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <string>

class AviWriter {
public:
    AviWriter() = default;
    ~AviWriter() { Close(); }
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Creates path with one video stream of `rate` frames per second whose
    // frames have the format `frame` (24-bit bottom-up), compressed by the
    // compressor `fourcc` with a key frame every keyFrameEvery frames.
    HRESULT Open(const std::string& path, DWORD fourcc, unsigned rate,
                 const BITMAPINFOHEADER& frame, DWORD keyFrameEvery);
    // Writes one frame as the sample at `index`; adds the compressed size
    // to *bytesWritten.
    HRESULT Write(LONG index, const void* bits, DWORD size, DWORD* bytesWritten);
    // Releases the streams and the file (what was written stays valid).
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

private:
    PAVIFILE m_file = nullptr;
    PAVISTREAM m_stream = nullptr;
    PAVISTREAM m_compressed = nullptr;
};

// The key-frame spacing of a recording: one key frame every two seconds.
// Video for Windows makes the compressor encode a key frame on every frame
// it asks for, so a key frame on each frame (the classic setting) makes
// screen recordings tens of times larger than they need to be; two seconds
// keep the file small and leave the editor's cuts a key frame nearby.
DWORD RecordingKeyFrameEvery(unsigned rate);
