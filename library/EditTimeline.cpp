#include "library/EditTimeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string FormatMsAsHms(double ms)
{
    long long seconds = ms > 0 ? (long long)(ms / 1000.0) : 0;
    char text[32];
    snprintf(text, sizeof text, "%.2d:%.2d:%.2d", (int)((seconds / 3600) % 60),
             (int)((seconds / 60) % 60), (int)(seconds % 60));
    return text;
}

const double EditTimeline::kTickSteps[9] = {1000,   5000,   10000,  20000,  30000,
                                            60000,  300000, 600000, 1200000};
const double EditTimeline::kMinTickGap = 30.0;

void EditTimeline::Layout(int w, int h, double durationMs)
{
    m_track = {8, h - 142, w - 8, h - 8};
    m_ruler = {5, h - 145, w - 5, h - 5};
    m_duration = durationMs > 0 ? durationMs : 0;
    const int usable = Usable();
    m_msPerPixel = usable > 0 ? m_duration / usable : 0;
}

double EditTimeline::MsAt(double x) const
{
    x = std::min<double>(std::max<double>(x, Left()), Right());
    return std::min(m_duration, (x - Left()) * m_msPerPixel);
}

double EditTimeline::PixelOf(double ms) const
{
    if (m_msPerPixel <= 0) return Left();
    return Left() + std::min(std::max(ms, 0.0), m_duration) / m_msPerPixel;
}

int EditTimeline::ClampX(int x) const
{
    return std::min(std::max(x, Left()), Right());
}

double EditTimeline::TickStepMs() const
{
    const int usable = Usable();
    if (usable <= 0) return kTickSteps[8];
    const double mpp = (m_duration > 0 ? m_duration : 10000.0) / usable;
    for (double step : kTickSteps)
        if (step / mpp >= kMinTickGap) return step;
    return kTickSteps[8];
}

std::string EditTimeline::TickLabel(int n, double stepMs)
{
    const long long t = (long long)n * (long long)(stepMs / 1000.0);
    char text[32];
    if (t == 0)
        snprintf(text, sizeof text, " %d:%.2d", 0, 0);
    else
        snprintf(text, sizeof text, "%.2d:%.2d", (int)(t / 60), (int)(t % 60));
    return text;
}

void TimelineSelection::Normalize()
{
    if (left > right) std::swap(left, right);
    if (left == right) Clear();
}
