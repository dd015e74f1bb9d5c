// The list of files the converter's concat input joins, in order: each one
// quoted so any name passes, written in UTF-8 as the converter reads it
// whatever the program's code page.
#pragma once

#include <string>

// A line of the list: file '<path>', a quote in the path closed, escaped
// and opened again.
std::string JoinListLine(const std::string& path);

// Writes the list's text (in the program's code page) as UTF-8, replacing
// any earlier file; false, and no file left, when it cannot be written.
bool WriteJoinList(const std::string& listPath, const std::string& text);
