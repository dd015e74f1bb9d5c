// What a row of the video list shows of a record.
#pragma once

#include <windows.h>

#include <string>

struct AviFileItem;

struct VideoListRowTexts {
    std::string name;
    std::string size;        // "12.34Mb"
    std::string resolution;  // "1280X720"
    std::string duration;    // "01:02:05"
    std::string date;        // "2024/2/3 9:05" in the computer's local time
    std::string type;        // "PNG", "AVI" or the file's own extension
};

VideoListRowTexts MakeRowTexts(const AviFileItem& item);

std::string FormatSizeText(double megabytes);
// Whole seconds as hours, minutes and seconds; the hours do not wrap.
std::string FormatDurationText(double milliseconds);
// "%d/%d/%d %d:%.2d" of a local time.
std::string FormatDateText(const SYSTEMTIME& local);
// A file time (UTC) as the local time of that moment, through the system's
// time-zone rules for that date.
SYSTEMTIME ToLocalTime(const FILETIME& utc);
