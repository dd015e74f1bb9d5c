// What the timed-start and auto-stop windows read from their hour, minute
// and second fields, and the auto-stop window's after-stop choices.
#pragma once

#include <string>

enum class TimeFieldsCheck {
    Ok,
    BadCharacter,  // a field holds something that is not a number
    OutOfRange,    // minutes or seconds not below 60
};

struct TimeFields {
    TimeFieldsCheck check = TimeFieldsCheck::Ok;
    // hours x 3600 + minutes x 60 + seconds when Ok; only a total above 0
    // sets anything.
    long total = 0;
};

// Empty fields and fields of zeros count as 0. Each character other than
// '0' must begin a tail of its field that reads as a non-zero number, so
// "1a" is refused while "-5" and " 5" pass. Hours have no limit of their
// own; a total beyond the longest wait a timer holds (about 68 years) is
// cut to it.
TimeFields CheckTimeFields(const std::string& hours, const std::string& minutes,
                           const std::string& seconds);

// The program's message for a refused check (GBK); empty for Ok.
const char* TimeFieldsMessage(TimeFieldsCheck check);

// The after-stop action of an item of the auto-stop window's combo, by its
// text: 0 nothing, 1 a new recording, 2 closing the program, 3 shutting the
// computer down. Any other text is 0.
unsigned AutoStopActionForItem(const std::string& text);
