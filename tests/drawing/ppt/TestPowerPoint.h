// The tests' stand-in for PowerPoint: an automation server registered as
// "Powerpoint.Application" in the test prefix while a test runs (the way an
// installer registers one, DllRegisterServer) that answers the calls the
// program makes and writes one GIF per slide the way PowerPoint names
// them ("幻灯片1.GIF", ...).
//
// A presentation it opens is a text file: "slides=N" gives N slides (320 x
// 240, slide k filled with SlideColour(k)); anything else is refused as
// PowerPoint refuses a file it cannot read. Every call it takes is appended
// to the log file, one dispatch id a line, so a test sees what was asked.
#pragma once

#include <windows.h>

#include <string>

#define TEST_POWERPOINT_DLL "orbisk_test_powerpoint.dll"

// Where the server logs the dispatch ids it was called with.
inline std::string TestPowerPointLogPath()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "orbisk_test_powerpoint.log";
}

// The colour of slide k (1-based) as RGB; the slides are told apart by it.
inline COLORREF SlideColour(int k)
{
    static const COLORREF colours[] = {RGB(200, 30, 30),  RGB(30, 160, 40),  RGB(30, 60, 200),
                                       RGB(220, 200, 20), RGB(160, 40, 180), RGB(20, 190, 190),
                                       RGB(240, 130, 20), RGB(120, 120, 120), RGB(90, 50, 20),
                                       RGB(250, 250, 250), RGB(0, 0, 0),      RGB(100, 200, 120)};
    return colours[(k - 1) % 12];
}
