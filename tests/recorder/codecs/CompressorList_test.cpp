// The compressor list built from a scratch machine key: the x264 plug-in of
// the program folder, listed by its driver entry or only installed for the
// process, the 50-entry limit, and the selection rule.
#include <gtest/gtest.h>

#include "CodecsTestKit.h"
#include "TestKit.h"
#include "core/CfgDocument.h"
#include "recorder/codecs/CMyRegistry.h"
#include "recorder/codecs/CompressorList.h"
#include "recorder/codecs/PluginCodecs.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/codecs/VideoOptions.h"

#include <cstdio>

using namespace codecstest;

namespace {

std::string X264Dll()
{
    return testkit::ProgramDir() + "\\plugins\\x264\\x264vfw.dll";
}

class ListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        roots_.OverrideThisProcess();
        ResetRecordingGlobals();
        ASSERT_TRUE(InstallPluginCodec(X264Dll(), kX264Handler));
    }
    void Driver(const char* name, const std::string& dll)
    {
        SetText(roots_.machine(), kDrivers32Key, name, dll);
    }
    void UseCodecType(int type)
    {
        ASSERT_EQ(1u, g_cfgDocument.LoadCfgFile(
                          WriteConfig("<codec_type type=\"" + std::to_string(type) + "\"/>")));
    }

    ScratchRoots roots_;
};

TEST_F(ListTest, InstalledPlugInIsListedWithOrWithoutItsDriverEntry)
{
    for (bool registered : {false, true}) {
        if (registered) Driver("vidc.X264", "C:\\nowhere\\x264vfw.dll");
        EnumVideoCompressors();
        ASSERT_EQ(1, CompressorCount()) << registered;
        EXPECT_EQ(0, g_videoOpts.m_nX264Index);
        EXPECT_EQ(-1, g_videoOpts.m_nXvidIndex);
        EXPECT_EQ(kX264Handler, g_videoOpts.m_fccHandler);
        ASSERT_NE(nullptr, SelectedCompressorInfo());
        EXPECT_STREQ(kX264CompressorDescription, SelectedCompressorInfo()->szDescription);
    }
}

TEST_F(ListTest, ViewFinderHandlerIsSkipped)
{
    Driver("vidc.VIFP", X264Dll());
    Driver("vidc.X264", X264Dll());
    EnumVideoCompressors();
    EXPECT_EQ(1, CompressorCount());
}

TEST_F(ListTest, ListEndsAtFiftyAcceptedCompressors)
{
    for (int i = 0; i < 55; ++i) {
        char name[16];
        snprintf(name, sizeof name, "vidc.Q%03d", i);
        Driver(name, X264Dll());
    }
    EnumVideoCompressors();
    EXPECT_EQ(50, CompressorCount());
    EXPECT_GE(g_videoOpts.m_nX264Index, 0);
    EXPECT_EQ(static_cast<UINT>(g_videoOpts.m_nX264Index), g_videoOpts.m_uSelectedCompressor);
}

TEST_F(ListTest, CompressorTypeSelectsFromTheList)
{
    // A second accepted compressor ahead of x264 makes the positions count.
    Driver("vidc.AAAA", X264Dll());
    Driver("vidc.X264", X264Dll());
    for (int type : {kCodecTypeX264, kCodecTypeXvid, 7}) {
        UseCodecType(type);
        g_videoOpts.m_uSelectedCompressor = 99;
        EnumVideoCompressors();
        ASSERT_EQ(2, CompressorCount());
        EXPECT_EQ(1, g_videoOpts.m_nX264Index);  // the last entry with its description
        EXPECT_EQ(type == kCodecTypeX264 ? 1u : 0u, g_videoOpts.m_uSelectedCompressor) << type;
        EXPECT_EQ(g_pCodecInfos->infos[g_videoOpts.m_uSelectedCompressor].fccHandler,
                  g_videoOpts.m_fccHandler);
    }
}

TEST(SelectionRule, TypeChoosesItsPositionOrTheFirstEntry)
{
    const struct {
        int type, x264, xvid;
        UINT selected;
    } cases[] = {{0, 2, 1, 2},  {0, -1, 1, 0}, {1, 2, 1, 1},
                 {1, 0, -1, 0}, {2, 2, 1, 0},  {-1, 2, 1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.selected, SelectCompressorIndex(c.type, c.x264, c.xvid))
            << c.type << " " << c.x264 << " " << c.xvid;
}

TEST(PluginPath, XvidFolderIsAppendedOnce)
{
    char old[32768] = {};
    GetEnvironmentVariableA("path", old, sizeof old);
    SetEnvironmentVariableA("path", "C:\\a;C:\\b;;");
    AddXvidPluginPath();
    char now[32768] = {};
    GetEnvironmentVariableA("path", now, sizeof now);
    SetEnvironmentVariableA("path", old);
    EXPECT_EQ("C:\\a;C:\\b;" + testkit::TestBinDir() + "\\plugins\\xvid32;", std::string(now));
}

}  // namespace
