// The program folder and the plug-in paths below it.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/ProgramFolder.h"

using namespace testkit;

namespace {

TEST(ProgramFolderTest, IsTheFolderOfTheRunningExe)
{
    std::string folder = GetProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE('\\', folder.back());
    EXPECT_EQ(TestBinDir(), folder);
    EXPECT_EQ(folder + "\\plugins\\x264\\x264vfw.dll", GetX264VfwDllPath());
    EXPECT_EQ(folder + "\\plugins\\xvid32\\xvidvfw.dll", GetXvidVfwDllPath());
}

}  // namespace
