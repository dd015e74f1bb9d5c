#include "core/EncoderProgress.h"

#include <cstring>

namespace {

// A line longer than this (never seen from the converter) is parsed in
// pieces of this size, so that garbage output cannot grow memory.
const size_t kMaxLine = 4096;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "hh:mm:ss.ff"
bool IsClockText(const std::string& s, size_t at)
{
    if (s.size() < at + 11) return false;
    const char* p = s.data() + at;
    for (int i : {0, 1, 3, 4, 6, 7, 9, 10})
        if (!IsDigit(p[i])) return false;
    return p[2] == ':' && p[5] == ':' && p[8] == '.';
}

// Whole seconds of a clock text at s[at]; fractions are ignored.
long ClockSeconds(const std::string& s, size_t at)
{
    auto two = [&](size_t i) { return (s[at + i] - '0') * 10 + (s[at + i + 1] - '0'); };
    return (two(0) * 60L + two(3)) * 60L + two(6);
}

}  // namespace

void EncoderProgressParser::Feed(const char* data, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            ParseLine(line_);
            line_.clear();
            continue;
        }
        line_ += c;
        if (line_.size() == kMaxLine) {
            ParseLine(line_);
            line_.clear();
        }
    }
}

void EncoderProgressParser::Finish()
{
    ParseLine(line_);
    line_.clear();
}

void EncoderProgressParser::Clear()
{
    line_.clear();
    duration_.clear();
    time_.clear();
    bitrate_.clear();
    percent_.clear();
    lastMessage_.clear();
    durationSeconds_ = 0;
}

void EncoderProgressParser::ParseLine(const std::string& line)
{
    if (line.empty()) return;
    size_t p = line.find("Duration:");
    // The first input's duration counts; "Duration: N/A" is no duration.
    if (duration_.empty() && p != std::string::npos && line.size() > p + 20 && line[p + 9] == ' ' &&
        IsClockText(line, p + 10)) {
        duration_ = line.substr(p + 9, 12);
        durationSeconds_ = ClockSeconds(line, p + 10);
    }

    p = line.find("time=");
    if (p != std::string::npos && IsClockText(line, p + 5)) {
        time_ = line.substr(p + 5, 11);
        if (durationSeconds_ > 0) {
            long percent = (long)(ClockSeconds(line, p + 5) / (double)durationSeconds_ * 100.0);
            if (percent > 100) percent = 100;
            percent_ = std::to_string(percent) + "%";
        }
    }

    p = line.find("bitrate=");
    if (p != std::string::npos && line.size() > p + 9 && line.compare(p + 8, 3, "N/A") != 0)
        bitrate_ = line.substr(p + 9, 12);

    if (line.find("time=") == std::string::npos && line.compare(0, 6, "frame=") != 0 &&
        line.compare(0, 5, "size=") != 0) {
        size_t first = line.find_first_not_of(" \t");
        size_t last = line.find_last_not_of(" \t");
        if (first != std::string::npos) {
            std::string text = line.substr(first, last - first + 1);
            if (text != "Conversion failed!") lastMessage_ = text;
        }
    }
}
