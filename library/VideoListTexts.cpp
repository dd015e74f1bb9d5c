#include "library/VideoListTexts.h"

#include "library/AviFileList.h"

#include <cstdio>

std::string FormatSizeText(double megabytes)
{
    char text[64];
    snprintf(text, sizeof text, "%.2fMb", megabytes);
    return text;
}

std::string FormatDurationText(double milliseconds)
{
    const unsigned long long s = milliseconds > 0 ? (unsigned long long)milliseconds / 1000 : 0;
    char text[64];
    snprintf(text, sizeof text, "%.2llu:%.2llu:%.2llu", s / 3600, s / 60 % 60, s % 60);
    return text;
}

std::string FormatDateText(const SYSTEMTIME& local)
{
    char text[64];
    snprintf(text, sizeof text, "%d/%d/%d %d:%.2d", local.wYear, local.wMonth, local.wDay,
             local.wHour, local.wMinute);
    return text;
}

SYSTEMTIME ToLocalTime(const FILETIME& utc)
{
    SYSTEMTIME universal = {}, local = {};
    if (!FileTimeToSystemTime(&utc, &universal)) return local;
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) return universal;
    return local;
}

VideoListRowTexts MakeRowTexts(const AviFileItem& item)
{
    VideoListRowTexts t;
    t.name = item.name;
    t.size = FormatSizeText(item.size);
    t.resolution = item.resolution;
    t.duration = FormatDurationText(item.duration);
    t.date = FormatDateText(ToLocalTime(item.modified));
    t.type = item.kind == kAviKindPng ? "PNG" : item.kind == kAviKindAvi ? "AVI" : item.type;
    return t;
}
