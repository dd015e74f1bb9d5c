// Progress of one converter run, read from the converter's console output:
// the total duration after "Duration:", the position after "time=", the
// bitrate after "bitrate=" and the percent done. The output arrives in
// chunks cut anywhere, so it is parsed a whole line at a time (lines end in
// '\r' or '\n'); the result does not depend on how the output was cut.
#pragma once

#include <cstddef>
#include <string>

class EncoderProgressParser {
public:
    void Feed(const char* data, size_t size);
    // Parses the last line when it has no line end.
    void Finish();
    void Clear();

    // " 00:00:10.04": the blank after "Duration:" and the time. Empty until
    // a duration in that form was seen; set once.
    const std::string& durationText() const { return duration_; }
    // "00:00:05.00", the latest position.
    const std::string& timeText() const { return time_; }
    // The 12 characters that begin one past the end of "bitrate=" ("123.9kbits/s").
    const std::string& bitrateText() const { return bitrate_; }
    // Whole seconds of position over whole seconds of duration, as "50%";
    // empty while the duration is unknown or zero.
    const std::string& percentText() const { return percent_; }
    // The converter's last line that is not a progress line, nor its closing
    // "Conversion failed!": what it said last, its error when it failed.
    const std::string& lastMessageLine() const { return lastMessage_; }

private:
    void ParseLine(const std::string& line);

    std::string line_;
    std::string duration_, time_, bitrate_, percent_, lastMessage_;
    long durationSeconds_ = 0;
};
