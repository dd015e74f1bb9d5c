#include "platform/x264vfw/OptionLine.h"

#include <cctype>

namespace x264vfw {

namespace {

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

bool StartsOption(const std::string& w)
{
    if (w.size() >= 3 && w[0] == '-' && w[1] == '-') return true;
    return w.size() == 2 && w[0] == '-' && std::isalpha(static_cast<unsigned char>(w[1]));
}

// The short forms of x264's command line that name encoder parameters.
std::string LongName(const std::string& w)
{
    if (w[1] == '-') return w.substr(2);
    static const struct {
        char c;
        const char* name;
    } kShort[] = {{'b', "bframes"},    {'B', "bitrate"}, {'q', "qp"},         {'r', "ref"},
                  {'f', "deblock"},    {'I', "keyint"},  {'i', "min-keyint"}, {'m', "subme"},
                  {'A', "partitions"}, {'p', "pass"}};
    for (const auto& s : kShort)
        if (s.c == w[1]) return s.name;
    return w.substr(1);
}

}  // namespace

std::vector<Option> SplitOptionLine(const std::string& line)
{
    std::vector<Option> options;
    for (const std::string& w : SplitWords(line)) {
        if (StartsOption(w)) {
            std::string name = LongName(w);
            size_t eq = name.find('=');
            if (eq == std::string::npos)
                options.push_back({name, std::nullopt});
            else
                options.push_back({name.substr(0, eq), name.substr(eq + 1)});
        } else if (!options.empty() && !options.back().value)
            options.back().value = w;
    }
    return options;
}

}  // namespace x264vfw
