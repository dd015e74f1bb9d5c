// What the sync test and its helper program share: the flashing window's
// place, the beep's format, and how a beep's start is found in a sound.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace synctest {

const UINT32 kRate = 44100;
const RECT kArea = {96, 96, 96 + 320, 96 + 240};  // the flashing window, recorded alone

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Sample times (s) where a beep begins: the signal rises above a third of
// its loudest after at least 300 ms of quiet.
inline std::vector<double> BeepOnsets(const std::vector<short>& mono, UINT32 rate)
{
    int peak = 0;
    for (short s : mono) peak = std::max(peak, std::abs((int)s));
    std::vector<double> onsets;
    if (peak < 1000) return onsets;
    const int loud = peak / 3, quiet = peak / 20;
    // Samples above the quiet level up to each point.
    std::vector<size_t> active(mono.size() + 1, 0);
    for (size_t i = 0; i < mono.size(); ++i) active[i + 1] = active[i] + (std::abs((int)mono[i]) >= quiet);
    const size_t before = rate * 3 / 10, rise = rate / 200;  // 300 ms of quiet, 5 ms of rise
    for (size_t i = before + rise; i < mono.size(); ++i)
        if (std::abs((int)mono[i]) >= loud && active[i - rise] == active[i - rise - before + rise]) {
            onsets.push_back((double)i / rate);
            i += rate / 10;  // past the beep
        }
    return onsets;
}

}  // namespace synctest
