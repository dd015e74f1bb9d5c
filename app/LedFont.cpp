#include "app/LedFont.h"

#include "core/ProgramFolder.h"

const char kLedFontFace[] = "UnidreamLED";

LedFont::LedFont()
{
    char dir[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, dir);
    path = std::string(dir) + "\\";
}

bool InstallLedFont(LedFont& font)
{
    font.path = GetProgramFolder() + "\\res\\font\\" + kLedFontFace;
    if (AddFontResourceA((font.path + ".TTF").c_str()) == 0) return false;
    font.face = kLedFontFace;
    return true;
}

void RemoveLedFont(LedFont& font)
{
    RemoveFontResourceA((font.path + ".TTF").c_str());
    DeleteFileA((font.path + ".FOT").c_str());
    font.path.clear();
    font.face.clear();
}

LedFontScope::LedFontScope()
{
    g_bLedFont = InstallLedFont(font_) ? 1 : 0;
}

LedFontScope::~LedFontScope()
{
    RemoveLedFont(font_);
    g_bLedFont = 0;
}
