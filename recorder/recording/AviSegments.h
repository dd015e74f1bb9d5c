// A recording's video in as many AVI files as it takes. The AVI library
// writes plain AVI, whose 32-bit offsets cannot reach past 2 GB: frames
// written beyond are in the file but no reader finds them. So before a file
// gets near that, the video goes on in a new one with the same stream, and
// the save joins them (the converter's concat input).
//
// Each file holds its frames at positions counted from its own first frame,
// and lasts until the next file's first frame (Spans): a file played for
// its span after the ones before it shows every frame at its time, also
// when the positions just before a switch were left out. A file is begun on a helper thread before it is needed and the full
// one closed on another, so that the switch costs the writer no more than
// handing over a pointer.
#pragma once

#include "recorder/recording/AviWriter.h"

#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

// Where the files of a recording after its first go: "<first>-2.avi",
// "<first>-3.avi", ... (n counts from 0: SegmentPath(first, 0) is first).
std::string SegmentPath(const std::string& first, int n);
// Removes the files after `first` (and their journals) that a recording left.
void DeleteLaterSegments(const std::string& first);
// What an unfinished recording in several files kept of their spans (see
// Spans): the spans of all but the last file, empty when none were kept.
std::vector<double> RecordedSegmentSpans(const std::string& first);
// The size a file may reach before the video goes on in the next: 1.9 GB.
// A test may lower it with ORBISK_SEGMENT_BYTES while the test hooks are on.
long long SegmentLimitBytes();

class AviSegments {
public:
    AviSegments(const std::string& first, DWORD fourcc, unsigned rate,
                const BITMAPINFOHEADER& frame, DWORD keyFrameEvery,
                long long limitBytes = SegmentLimitBytes());
    ~AviSegments() { Close(); }
    AviSegments(const AviSegments&) = delete;
    AviSegments& operator=(const AviSegments&) = delete;

    // Creates the first file.
    HRESULT Open();
    // Writes the frame with the recording's index `index` (indices only
    // grow); adds the compressed size to *bytesWritten. A file that cannot
    // be begun when one is needed fails the write.
    HRESULT Write(LONG index, const void* bits, DWORD size, DWORD* bytesWritten);
    // Closes every file; a file begun ahead and never written is removed.
    void Close();
    // The files that hold frames, in order.
    std::vector<std::string> Files() const { return m_files; }
    // How long each of them lasts in the recording (s): up to the first
    // frame of the next, the last one up to its own last frame's end.
    std::vector<double> Spans() const;

private:
    struct Begun {
        std::unique_ptr<AviWriter> avi;
        HRESULT hr = E_FAIL;
        std::string path;
    };
    Begun Begin(const std::string& path) const;
    void BeginNextAhead();
    HRESULT SwitchToNext(LONG index);
    void RecordBases() const;
    void CloseBehind(std::unique_ptr<AviWriter> avi);

    const std::string m_first;
    const DWORD m_fourcc;
    const unsigned m_rate;
    const BITMAPINFOHEADER m_frame;
    const DWORD m_keyFrameEvery;
    const long long m_limit;

    std::unique_ptr<AviWriter> m_current;
    std::vector<std::string> m_files;
    std::vector<LONG> m_bases;   // the recording's index of each file's position 0
    LONG m_base = 0;             // the current file's
    LONG m_last = -1;            // the last index written
    long long m_fileBytes = 0;   // what the current file holds, with its index to come
    long long m_largest = 0;     // the largest frame so far, with its overheads
    Begun m_next;
    std::thread m_beginning;  // begins m_next
    std::thread m_closing;    // closes the file before
};
