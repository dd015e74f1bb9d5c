// The clock every benchmark reads: the performance counter in milliseconds.
#pragma once

#include <windows.h>

inline double NowMs()
{
    static const LARGE_INTEGER f = [] {
        LARGE_INTEGER v;
        QueryPerformanceFrequency(&v);
        return v;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return c.QuadPart * 1000.0 / f.QuadPart;
}
