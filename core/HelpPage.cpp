#include "core/HelpPage.h"

#include "core/ProgramFolder.h"
#include "core/SystemHelpers.h"

std::string HelpPagePath()
{
    return GetProgramFolder() + "\\help.html";
}

void OpenHelpPage()
{
    OpenUrl(HelpPagePath());
}
