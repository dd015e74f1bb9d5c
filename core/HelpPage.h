// The program's help page: "help.html" in the program folder (made from the
// README's usage text when the program is built), opened with the shell.
#pragma once

#include <string>

std::string HelpPagePath();
void OpenHelpPage();
