// One compressed video stream in an AVI file, written through the Video for
// Windows AVI library with the installed compressor of the chosen FOURCC.
// The caller brackets its use with AVIFileInit / AVIFileExit.
//
// The library writes the file's headers and index only when it is closed:
// a program that ends before leaves the frames without them. So beside the
// file a journal ("<path>.frames") keeps what they would say (the stream's
// format and rate, the position of every frame written), from which
// RebuildAvi makes the file whole again. Closing removes the journal.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <cstdio>
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
    void StartJournal(DWORD fourcc, unsigned rate);

    PAVIFILE m_file = nullptr;
    PAVISTREAM m_stream = nullptr;
    PAVISTREAM m_compressed = nullptr;
    std::string m_journalPath;
    FILE* m_journal = nullptr;
};

// The journal of an AVI file; "<path>.frames".
std::string AviJournalPath(const std::string& aviPath);
// How many frames the journal of an AVI file lists; -1 without a readable
// journal.
long AviJournalFrames(const std::string& aviPath);
// Writes `out` from an AVI file its writer never closed and the journal
// beside it: the frames the file holds, each at its position, with the
// stream's format and rate. False when either cannot be read or no frame
// can be placed.
bool RebuildAvi(const std::string& unclosedAvi, const std::string& out);

// The key-frame spacing of a recording: one key frame every two seconds.
// Video for Windows makes the compressor encode a key frame on every frame
// it asks for, so a key frame on each frame (the classic setting) makes
// screen recordings tens of times larger than they need to be; two seconds
// keep the file small and leave the editor's cuts a key frame nearby.
DWORD RecordingKeyFrameEvery(unsigned rate);
