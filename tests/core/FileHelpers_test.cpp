// File helpers: PNG sizes from the header, lengths, versions, extensions,
// folder trees.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/FileHelpers.h"

using namespace testkit;

namespace {

class FileHelpersTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = MakeTempDir("files"); }
    std::string Path(const std::string& name) { return dir_ + "\\" + name; }
    std::string dir_;
};

TEST_F(FileHelpersTest, PngSizeComesFromTheHeaderAndFailuresAreTold)
{
    // 3x2 RGBA picture.
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(145), "png");
    ASSERT_NE(nullptr, res);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, res)));
    std::string png(bytes, SizeofResource(nullptr, res));
    WriteFile(Path("ok.png"), png);
    std::string notPng = png;
    notPng[1] = 'X';
    WriteFile(Path("not.png"), notPng);
    WriteFile(Path("short.png"), png.substr(0, 20));
    std::string wrongChunk = png;
    wrongChunk.replace(12, 4, "IDAT");
    WriteFile(Path("chunk.png"), wrongChunk);

    struct Case {
        const char* name;
        int result;
        unsigned w, h;
    } cases[] = {{"ok.png", kPngSizeOk, 3, 2},
                 {"not.png", kPngNotPng, 0, 0},
                 {"short.png", kPngNotPng, 0, 0},
                 {"chunk.png", kPngNotPng, 0, 0},
                 {"missing.png", kPngCannotOpen, 0, 0}};
    for (const Case& c : cases) {
        unsigned w = 77, h = 77;
        EXPECT_EQ(c.result, GetPNGWidthHeight(Path(c.name).c_str(), &w, &h)) << c.name;
        EXPECT_EQ(c.w, w) << c.name;
        EXPECT_EQ(c.h, h) << c.name;
    }
}

TEST_F(FileHelpersTest, FileLength)
{
    WriteFile(Path("five"), "12345");
    WriteFile(Path("empty"), "");
    EXPECT_EQ(5u, GetFileLength(Path("five")));
    EXPECT_EQ(0u, GetFileLength(Path("empty")));
    EXPECT_EQ(0u, GetFileLength(Path("missing")));
}

TEST_F(FileHelpersTest, VersionText)
{
    int a = -1, b = -1, c = -1, d = -1;
    EXPECT_EQ("1.0.0.0",
              GetFileVersionString((ProgramDir() + "\\Orbisk.exe").c_str(), &a, &b, &c, &d));
    EXPECT_EQ(1, a);
    EXPECT_EQ(0, d);

    WriteFile(Path("plain.txt"), "no resources here");
    a = b = c = d = -7;
    EXPECT_EQ("", GetFileVersionString(Path("plain.txt").c_str(), &a, &b, &c, &d));
    EXPECT_EQ(-7, a);
    EXPECT_EQ(-7, b);
    EXPECT_EQ(-7, c);
    EXPECT_EQ(-7, d);
}

TEST(FileExtensionTest, TextAfterTheLastDot)
{
    struct Case {
        const char* name;
        const char* ext;
    } cases[] = {{"a.avi", "avi"},
                 {"a.b.png", "png"},
                 {"noext", ""},
                 {"ends.", ""},
                 {".hidden", "hidden"},
                 {"", ""},
                 {"C:\\x.y\\z.MP4", "MP4"}};
    for (const Case& c : cases) EXPECT_EQ(c.ext, GetFileExtension(c.name)) << c.name;
}

TEST_F(FileHelpersTest, DeleteFolderTreeRemovesNestedFoldersAndReadOnlyFiles)
{
    std::string root = Path("work");
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub\\deeper").c_str(), nullptr));
    WriteFile(root + "\\~vintratemp_Cut1.avi", "x");
    WriteFile(root + "\\sub\\中文.txt", "y");
    WriteFile(root + "\\sub\\deeper\\ro.txt", "z");
    SetFileAttributesA((root + "\\sub\\deeper\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(DeleteFolderTree(root.c_str()));
    EXPECT_FALSE(FileExists(root));
    EXPECT_FALSE(DeleteFolderTree(root.c_str()));  // already gone
}

}  // namespace
