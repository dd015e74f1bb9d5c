// The arithmetic of the video editor's timeline: where the ruler and the
// track lie in a client area of a given size, how many milliseconds one
// pixel of the track stands for, the tick step and its labels, pixels to
// times and back, and the one-second steps of the selection's edges.
// No window: the editor's window paints and hit-tests with these.
#pragma once

#include <windows.h>

#include <string>

// "HH:MM:SS" of the whole seconds in ms, the hours taken modulo 60;
// negative times read as 0.
std::string FormatMsAsHms(double ms);

class EditTimeline {
public:
    // The track's unused edge: a time is drawn this far inside the track.
    static const int kEdge = 8;
    // The tick steps in ms, the first one at least kMinTickGap pixels apart
    // is used (the last one when none is).
    static const double kTickSteps[9];
    static const double kMinTickGap;

    // The client area's size and the video's length in ms.
    void Layout(int clientWidth, int clientHeight, double durationMs);

    const RECT& Track() const { return m_track; }
    const RECT& Ruler() const { return m_ruler; }
    double DurationMs() const { return m_duration; }
    // duration / (track width - 16); 0 when the track has no room.
    double MsPerPixel() const { return m_msPerPixel; }
    // The usable width of the track, from Left() to Right().
    int Usable() const { return Right() - Left(); }
    // The first and last pixel a time can be drawn at.
    int Left() const { return m_track.left + kEdge; }
    int Right() const { return m_track.right - kEdge; }

    // The time at a pixel, the pixel taken into the track first.
    double MsAt(double x) const;
    // The pixel of a time (a double: the step buttons keep fractions).
    double PixelOf(double ms) const;
    int ClampX(int x) const;
    bool InTrack(POINT pt) const { return PtInRect(&m_track, pt) != FALSE; }

    // The tick step for the painted length (a length of 0 is painted as
    // 10 s) and the label of tick n.
    double TickStepMs() const;
    static std::string TickLabel(int n, double stepMs);

private:
    RECT m_track = {0, 0, 0, 0};
    RECT m_ruler = {0, 0, 0, 0};
    double m_duration = 0;
    double m_msPerPixel = 0;
};

// The selection on the track, in pixels; left == right means none.
struct TimelineSelection {
    int left = 0;
    int right = 0;

    bool Empty() const { return left == right; }
    void Clear() { left = right = 0; }
    // After a drag: edges in order, an empty one cleared.
    void Normalize();
};
