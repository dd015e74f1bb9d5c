// Temporary paths, the save folder and the time-stamped names.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/AppPaths.h"

#include <set>

using namespace testkit;

namespace {

TEST(AppPathsTest, TemporaryPathsAreBuiltAtStart)
{
    char tmp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tmp);
    const std::string folder = tmp;
    ASSERT_EQ('\\', folder.back());
    EXPECT_EQ(folder, GetTempFolder());
    EXPECT_EQ(folder + "~vintratemp-Video.avi", GetTempVideoPath());
    EXPECT_EQ(folder + "~vintratemp-Audio.mp3", GetTempAudioPath());
    EXPECT_EQ(folder + "~vintratemp-Speaker.mp3", GetTempSpeakerPath());
    EXPECT_EQ(folder + "~vintratemp-Merge.mp3", GetTempMergePath());
    EXPECT_EQ("", GetCurrentVideoFile());
    EXPECT_EQ("", GetCurrentScreenshotFile());
    EXPECT_EQ("", GetVideoSaveFolder());
}

TEST(AppPathsTest, OnlyTheMergePathFollowsTheTemporaryFolderAtOnce)
{
    std::string other = MakeTempDir("tmpmove");
    std::string before = GetTempVideoPath();
    ASSERT_TRUE(SetEnvironmentVariableA("TMP", other.c_str()));
    ASSERT_TRUE(SetEnvironmentVariableA("TEMP", other.c_str()));
    EXPECT_EQ(other + "\\~vintratemp-Merge.mp3", GetTempMergePath());
    EXPECT_EQ(before, GetTempVideoPath());
    BuildTempVideoPath();  // as before each recording
    EXPECT_EQ(other + "\\~vintratemp-Video.avi", GetTempVideoPath());
}

TEST(AppPathsTest, TimeStampFormat)
{
    EXPECT_EQ("20240203_0905_07", FormatTimeStamp(2024, 2, 3, 9, 5, 7));
    EXPECT_EQ("19991231_2359_59", FormatTimeStamp(1999, 12, 31, 23, 59, 59));
}

TEST(AppPathsTest, DefaultFolderIsOnTheDriveWithTheMostFreeSpace)
{
    struct Drive {
        const char* letter;
        int mb;
    };
    struct Case {
        std::vector<Drive> drives;
        const char* folder;
    } cases[] = {
        {{}, "C:\\VintraAVI"},
        {{{"C", 0}, {"D", 0}}, "C:\\VintraAVI"},
        {{{"C", 100}, {"D", 500}, {"E", 200}}, "D:\\VintraAVI"},
        {{{"D", 300}, {"E", 300}}, "D:\\VintraAVI"},  // a tie keeps the earlier letter
        {{{"C", 1}, {"Z", 2}}, "Z:\\VintraAVI"},
    };
    for (const Case& c : cases) {
        DriveScan scan;
        for (const Drive& d : c.drives) scan.Add(d.letter, d.mb);
        EXPECT_EQ(c.folder, scan.DefaultVideoFolder());
        EXPECT_EQ(c.drives.size(), scan.drives.size());
    }

    // The real machine: the same choice as a scan made here.
    DriveScan scan;
    ScanFixedDrives(scan);
    ASSERT_FALSE(scan.drives.empty());  // Wine has at least C:
    EXPECT_EQ(scan.DefaultVideoFolder(), GetDefaultVideoFolder());
}

TEST(AppPathsTest, SaveFolderFallsBackToTheDefaultAndCreatesIt)
{
    std::string existing = MakeTempDir("save");
    EXPECT_TRUE(SetVideoSaveFolder(existing));
    EXPECT_EQ(existing, GetVideoSaveFolder());

    const std::string fallback = GetDefaultVideoFolder();
    const bool hadFallback = FileExists(fallback);
    EXPECT_TRUE(SetVideoSaveFolder(existing + "\\gone\\away"));
    EXPECT_EQ(fallback, GetVideoSaveFolder());
    EXPECT_TRUE(FileExists(fallback));
    EXPECT_TRUE(SetVideoSaveFolder(""));
    EXPECT_EQ(fallback, GetVideoSaveFolder());
    // A folder that is not there is not created: the default is used.
    std::string fresh = existing + "\\new";
    SetVideoSaveFolder(fresh);
    EXPECT_FALSE(FileExists(fresh));
    if (!hadFallback) RemoveDirectoryA(fallback.c_str());
}

TEST(AppPathsTest, NamesMadeInOneSecondNeverCollide)
{
    std::string folder = MakeTempDir("names");
    SetVideoSaveFolder(folder);
    std::set<std::string> names;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(MakeNewVideoFileName());
        names.insert(GetCurrentVideoFile());
    }
    EXPECT_EQ(5u, names.size());
    for (const std::string& n : names) {
        EXPECT_EQ(0u, n.find(folder + "\\"));
        EXPECT_EQ(".avi", n.substr(n.size() - 4));
    }

    std::string shot1 = MakeNewScreenshotFileName();
    std::string shot2 = MakeNewScreenshotFileName();
    EXPECT_NE(shot1, shot2);
    EXPECT_EQ(shot2, GetCurrentScreenshotFile());
    EXPECT_EQ(".png", shot1.substr(shot1.size() - 4));
}

TEST(AppPathsTest, FirstNameKeepsThePatternAndATakenNameGetsASuffix)
{
    std::string folder = MakeTempDir("taken");
    SetVideoSaveFolder(folder);
    // Wait for a fresh second so that nothing was given out in it yet.
    SYSTEMTIME t0, t;
    GetLocalTime(&t0);
    do {
        Sleep(10);
        GetLocalTime(&t);
    } while (t.wSecond == t0.wSecond);
    const std::string stamp =
        FormatTimeStamp(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    // Someone already wrote this second's screenshot.
    WriteFile(folder + "\\" + stamp + ".png", "taken");
    std::string first = MakeNewScreenshotFileName();
    std::string second = MakeNewScreenshotFileName();
    if (first.find(stamp) == std::string::npos) GTEST_SKIP() << "the second changed under the test";
    EXPECT_EQ(folder + "\\" + stamp + "_2.png", first);
    EXPECT_EQ(folder + "\\" + stamp + "_3.png", second);

    MakeNewVideoFileName();
    std::string video = GetCurrentVideoFile();
    if (video.find(stamp) != std::string::npos) {
        EXPECT_EQ(folder + "\\" + stamp + ".avi", video);
    }
}

}  // namespace
