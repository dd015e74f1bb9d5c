// The start-up step as a fresh installation runs it: a copy of the program
// folder (with or without its plug-ins) runs it on registry roots that start
// empty, so the shared prefix keeps its own keys.
#include <gtest/gtest.h>

#include "CodecsTestKit.h"
#include "TestKit.h"
#include "recorder/codecs/CMyRegistry.h"
#include "recorder/codecs/CodecPresets.h"
#include "recorder/codecs/CodecStartup.h"

#include <map>
#include <sstream>

using namespace codecstest;
using namespace testkit;

namespace {

class StartupTest : public ::testing::Test {
protected:
    // A program folder holding the probe and, when asked, the x264 plug-in.
    void MakeProgramFolder(bool withPlugins)
    {
        program_ = MakeTempDir("codecstart");
        probe_ = program_ + "\\startup_probe.exe";
        ASSERT_TRUE(
            CopyFileA((TestBinDir() + "\\startup_probe.exe").c_str(), probe_.c_str(), FALSE));
        x264Dll_ = program_ + "\\plugins\\x264\\x264vfw.dll";
        if (!withPlugins) return;
        for (const char* d : {"\\plugins", "\\plugins\\x264", "\\plugins\\xvid32"})
            CreateDirectoryA((program_ + d).c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((ProgramDir() + "\\plugins\\x264\\x264vfw.dll").c_str(),
                              x264Dll_.c_str(), FALSE));
    }

    std::map<std::string, std::string> Run(const std::string& configBody)
    {
        std::map<std::string, std::string> result;
        const std::string out = program_ + "\\result.txt";
        Process p;
        EXPECT_TRUE(p.Start(probe_, roots_.userPath() + " " + roots_.machinePath() + " \"" +
                                        WriteConfig(configBody) + "\" \"" + out + "\""));
        EXPECT_EQ(0, p.Wait(60000));
        std::istringstream lines(ReadFile(out));
        for (std::string line; std::getline(lines, line);) {
            size_t eq = line.find('=');
            if (eq != std::string::npos) result[line.substr(0, eq)] += line.substr(eq + 1);
        }
        return result;
    }

    std::string User(const char* key, const char* name) { return Text(roots_.user(), key, name); }
    std::string Machine(const char* key, const std::string& name)
    {
        return Text(roots_.machine(), key, name);
    }

    ScratchRoots roots_;
    std::string program_, probe_, x264Dll_;
};

TEST_F(StartupTest, FreshStartWritesThePresetsAndSelectsX264)
{
    MakeProgramFolder(true);
    const struct {
        const char* mode;
        const char* preset;
        const char* cmdline;
    } modes[] = {{"0", "medium", kX264NormalCmdline},
                 {"1", "superfast", kX264FastCmdline},
                 {"2", "medium", kX264NormalCmdline}};
    for (const auto& m : modes) {
        RegDeleteTreeA(roots_.user(), "SoftWare");
        auto r = Run(std::string("<rec_mode mode=\"") + m.mode + "\"/><farme_rate rate=\"15\"/>");
        EXPECT_EQ(m.preset, User(kX264SettingsKey, "preset")) << m.mode;
        EXPECT_EQ(m.cmdline, User(kX264SettingsKey, "extra_cmdline")) << m.mode;
        DWORD v = 0;
        EXPECT_TRUE(Dword(roots_.user(), kX264SettingsKey, "ratefactor", &v));
        EXPECT_EQ(180u, v);
        EXPECT_EQ("(User defined)", User(kXvidSettingsKey, "quality"));

        EXPECT_EQ(x264Dll_, Machine(kDrivers32Key, "vidc.X264"));
        EXPECT_EQ("x264vfw - H.264/MPEG-4 AVC codec", Machine(kDriversDescKey, x264Dll_));
        EXPECT_FALSE(HasValue(roots_.machine(), kDrivers32Key, "vidc.XVID"));

        EXPECT_EQ("X264", r["fourcc"]);
        EXPECT_EQ(r["x264"], r["selected"]);
        EXPECT_EQ("X264|x264vfw - H.264/MPEG-4 AVC codec", r["entry" + r["x264"]]);
        EXPECT_EQ("-1", r["xvid"]);
        EXPECT_EQ("15", r["rate"]);
        EXPECT_EQ("3", r["countdown"]);
        EXPECT_EQ("0", r["boxes"]);
    }
}

TEST_F(StartupTest, XvidTypeWithoutXvidSelectsTheFirstEntry)
{
    MakeProgramFolder(true);
    auto r = Run("<codec_type type=\"1\"/>");
    EXPECT_EQ("-1", r["xvid"]);
    EXPECT_EQ("0", r["selected"]);
    EXPECT_EQ(r["entry0"].substr(0, 4), r["fourcc"]);
    EXPECT_EQ("0", r["boxes"]);
}

TEST_F(StartupTest, WithoutThePlugInFolderTheUserIsTold)
{
    MakeProgramFolder(false);
    auto r = Run("");
    EXPECT_EQ("0", r["count"]);
    EXPECT_EQ("0", r["fourcc"]);
    EXPECT_FALSE(HasValue(roots_.machine(), kDrivers32Key, "vidc.X264"));
    ASSERT_EQ("1", r["boxes"]);
    std::string text = kNoCompressorText;
    for (size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "\\n");
    EXPECT_EQ(text + "|" + kNoCompressorCaption, r["box"]);
}

TEST_F(StartupTest, AnotherVendorsDriverEntryStaysAndOurCompressorIsUsed)
{
    MakeProgramFolder(true);
    SetText(roots_.machine(), kDrivers32Key, "vidc.X264", "C:\\Vendor\\x264vfw.dll");
    SetText(roots_.machine(), kDriversDescKey, x264Dll_, "Vendor text");
    auto r = Run("");
    EXPECT_EQ("C:\\Vendor\\x264vfw.dll", Machine(kDrivers32Key, "vidc.X264"));
    EXPECT_EQ("Vendor text", Machine(kDriversDescKey, x264Dll_));
    EXPECT_EQ("X264", r["fourcc"]);
    EXPECT_EQ("X264|x264vfw - H.264/MPEG-4 AVC codec", r["entry" + r["selected"]]);
}

}  // namespace
