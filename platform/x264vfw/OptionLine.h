// Splits an x264 command line ("--me dia --no-cabac -b 0") into options.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace x264vfw {

struct Option {
    std::string name;  // long name without the dashes: "me", "no-cabac", "bframes"
    std::optional<std::string> value;
};

// Blanks separate words and double quotes group them. A word that starts
// with "--", or with "-" and a letter, starts an option; the next word is
// its value unless it starts another option ("--crf=20" works too). Short
// options become their long names; stray words are dropped.
std::vector<Option> SplitOptionLine(const std::string& line);

}  // namespace x264vfw
