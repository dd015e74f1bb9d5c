// The program folder holds what a Windows user receives, and the program in
// it starts and ends cleanly.
#include <gtest/gtest.h>

#include "TestKit.h"

using namespace testkit;

TEST(ProgramFolder, HoldsTheProgramAndWhatShipsBesideIt)
{
    const std::string dir = ProgramDir();
    for (const char* f : {"Orbisk.exe", "lame_enc.dll", "vintx.exe", "res\\font\\UnidreamLED.TTF"})
        EXPECT_GT(FileSize(dir + "\\" + f), 0) << f;
    EXPECT_TRUE(FileExists(dir + "\\plugins"));
}

TEST(ProgramFolder, HelpPageIsTheReadmesUsageText)
{
    // What the help button opens: a page of the program folder, not an address.
    std::string page = ReadFile(ProgramDir() + "\\help.html");
    EXPECT_EQ(0u, page.find("<!DOCTYPE html>"));
    EXPECT_NE(std::string::npos, page.find("F7")) << "the recording keys are explained";
    EXPECT_NE(std::string::npos, page.find("vintra_cfg.xml"));
}

TEST(ProgramFolder, LedFontHasTheFaceTheLabelsAskFor)
{
    std::string font = ProgramDir() + "\\res\\font\\UnidreamLED.TTF";
    ASSERT_GT(AddFontResourceExA(font.c_str(), FR_PRIVATE, nullptr), 0);
    HDC dc = GetDC(nullptr);
    LOGFONTA lf = {};
    strcpy(lf.lfFaceName, "UnidreamLED");
    HFONT f = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, f);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    DeleteObject(f);
    ReleaseDC(nullptr, dc);
    RemoveFontResourceExA(font.c_str(), FR_PRIVATE, nullptr);
    EXPECT_STREQ("UnidreamLED", face);
}

TEST(ProgramFolder, ProgramShowsItsWindowAndClosesWithCodeZero)
{
    Process p;
    ASSERT_TRUE(p.Start(ProgramDir() + "\\Orbisk.exe"));
    HWND w = WaitForWindow("VintraCamMainFrameClsName", "Orbisk", 20000, p.Id());
    ASSERT_NE(nullptr, w);
    // Found as soon as it exists; shown a moment later.
    for (int i = 0; i < 100 && !IsWindowVisible(w); ++i)
        Sleep(50);
    EXPECT_TRUE(IsWindowVisible(w));
    PostMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, p.Wait(10000));
}
