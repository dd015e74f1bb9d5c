// The skin check: every layout of a skin package built by the real dialog
// builder in strict mode, with the tags of the program's own controls
// accepted, so a layout that would lose a control, an attribute or a picture
// without a trace fails a test instead.
#pragma once

#include <string>
#include <vector>

namespace skincheck {

struct Result {
    std::vector<std::string> layouts;   // the ".xml" entries checked
    std::vector<std::string> problems;  // "file:line: message", in layout order
};

// Makes the skin package in resource `resourceId` (type "ZIPRES") of this
// program the current one and checks each of its layouts.
Result CheckSkinPackage(int resourceId);

}  // namespace skincheck
