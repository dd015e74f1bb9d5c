// The feature guide's nine pages: the picture each page lies on, and the
// two captions over it with their colour and place.
#pragma once

#include <windows.h>

#include <vector>

struct GuidePage {
    const char* image;  // in the skin package
    DWORD textColor;    // both captions, ARGB
    const char* top;
    RECT topRect;  // in the window's client area
    const char* bottom;
    RECT bottomRect;
};

// In the order the guide shows them.
const std::vector<GuidePage>& GuidePages();

// The captions as the guide opens, before any page is turned to.
extern const char kGuideOpeningTop[];
extern const char kGuideOpeningBottom[];
extern const RECT kGuideOpeningTopRect;
extern const RECT kGuideOpeningBottomRect;
