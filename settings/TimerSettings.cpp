#include "settings/TimerSettings.h"

#include <climits>
#include <cstdlib>

namespace {

const char kBadCharacterText[] = "不能接受的字符，您只能在此处输入数字!";
const char kOutOfRangeText[] = "请输入0-59之间的整数!";

const char* const kAutoStopItems[] = {"  什么也不做", "  录制新视频", "  退出程序", "  关闭计算机"};

// The number the text begins with, as atoi reads it, but held at the ends of
// long rather than overflowing.
long LeadingNumber(const char* text)
{
    return strtol(text, nullptr, 10);
}

bool OnlyNumbers(const std::string& field)
{
    for (size_t i = 0; i < field.size(); ++i)
        if (field[i] != '0' && LeadingNumber(field.c_str() + i) == 0) return false;
    return true;
}

}  // namespace

TimeFields CheckTimeFields(const std::string& hours, const std::string& minutes,
                           const std::string& seconds)
{
    TimeFields result;
    if (!OnlyNumbers(hours) || !OnlyNumbers(minutes) || !OnlyNumbers(seconds)) {
        result.check = TimeFieldsCheck::BadCharacter;
        return result;
    }
    const long h = LeadingNumber(hours.c_str());
    const long m = LeadingNumber(minutes.c_str());
    const long s = LeadingNumber(seconds.c_str());
    if (m >= 60 || s >= 60) {
        result.check = TimeFieldsCheck::OutOfRange;
        return result;
    }
    // The timers count in a signed 32-bit number of seconds.
    long long total = (long long)h * 3600 + (long long)m * 60 + s;
    if (total > LONG_MAX) total = LONG_MAX;
    if (total < LONG_MIN) total = LONG_MIN;
    result.total = (long)total;
    return result;
}

const char* TimeFieldsMessage(TimeFieldsCheck check)
{
    switch (check) {
        case TimeFieldsCheck::BadCharacter:
            return kBadCharacterText;
        case TimeFieldsCheck::OutOfRange:
            return kOutOfRangeText;
        case TimeFieldsCheck::Ok:
            break;
    }
    return "";
}

unsigned AutoStopActionForItem(const std::string& text)
{
    for (unsigned action = 0; action < sizeof kAutoStopItems / sizeof kAutoStopItems[0]; ++action)
        if (text == kAutoStopItems[action]) return action;
    return 0;
}
