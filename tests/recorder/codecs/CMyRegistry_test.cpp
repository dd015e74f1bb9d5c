// System-wide codec registration against a scratch machine key and a
// scratch system folder: it only ever adds what is missing.
#include <gtest/gtest.h>

#include "CodecsTestKit.h"
#include "TestKit.h"
#include "recorder/codecs/CMyRegistry.h"
#include "recorder/codecs/DecoderRegistration.h"

#include <cstring>

using namespace codecstest;
using testkit::FileExists;
using testkit::MakeTempDir;
using testkit::ReadFile;
using testkit::WriteFile;

namespace {

const char kMapVideo4cc[] = "SOFTWARE\\Classes\\MediaFoundation\\MapVideo4cc";
const char kDecoderServer[] =
    "SOFTWARE\\Classes\\CLSID\\{64697678-0000-0010-8000-00AA00389B71}\\InprocServer32";
const char kFilterInstance[] =
    "SOFTWARE\\Classes\\CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\"
    "{64697678-0000-0010-8000-00AA00389B71}";
const char kTransform[] =
    "SOFTWARE\\Classes\\MediaFoundation\\Transforms\\64697678-0000-0010-8000-00aa00389b71";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        roots_.OverrideThisProcess();
        program_ = MakeTempDir("codecprog");
        system_ = MakeTempDir("codecsys");
        CreateDirectoryA((program_ + "\\plugins").c_str(), nullptr);
        CreateDirectoryA((program_ + "\\plugins\\x264").c_str(), nullptr);
        CreateDirectoryA((program_ + "\\plugins\\xvid32").c_str(), nullptr);
        paths_ = {program_ + "\\plugins\\x264\\x264vfw.dll",
                  program_ + "\\plugins\\xvid32\\xvidvfw.dll", system_};
    }
    void AddXvidPlugin()
    {
        for (const char* f : {"xvid.ax", "xvidcore.dll", "xvidvfw.dll"})
            WriteFile(program_ + "\\plugins\\xvid32\\" + f, std::string("plug-in ") + f);
    }
    std::string Machine(const char* key, const std::string& name)
    {
        return Text(roots_.machine(), key, name);
    }

    ScratchRoots roots_;
    std::string program_, system_;
    CodecPaths paths_;
};

TEST_F(RegistryTest, RegistersOnlyThePlugInsThatArePresent)
{
    WriteFile(paths_.x264Dll, "x264");
    CMyRegistry registry(paths_);
    EXPECT_TRUE(registry.RegisterPluginCodecs());
    EXPECT_EQ(paths_.x264Dll, Machine(kDrivers32Key, "vidc.X264"));
    EXPECT_EQ("x264vfw - H.264/MPEG-4 AVC codec", Machine(kDriversDescKey, paths_.x264Dll));
    // No Xvid library: no entry that would point other programs at nothing.
    EXPECT_FALSE(HasValue(roots_.machine(), kDrivers32Key, "vidc.XVID"));
    EXPECT_FALSE(HasValue(roots_.machine(), kDriversDescKey, paths_.xvidDll));
}

TEST_F(RegistryTest, AnotherProgramsValuesStayAsTheyAre)
{
    WriteFile(paths_.x264Dll, "x264");
    AddXvidPlugin();
    SetText(roots_.machine(), kDrivers32Key, "vidc.X264", "C:\\Vendor\\x264vfw.dll");
    SetText(roots_.machine(), kDrivers32Key, "vidc.XVID", "C:\\Vendor\\xvidvfw.dll");
    SetText(roots_.machine(), kDriversDescKey, paths_.x264Dll, "Vendor text");
    SetText(roots_.machine(), kDrivers32Key, "wave", "vendor.drv");
    SetText(roots_.machine(), kDecoderServer, "", "C:\\Vendor\\xvid.ax");
    for (const char* v : {"58564944", "78766964"}) SetText(roots_.machine(), kMapVideo4cc, v, "x");
    WriteFile(system_ + "\\xvidcore.dll", "vendor core");

    CMyRegistry registry(paths_);
    EXPECT_TRUE(registry.RegisterPluginCodecs());
    registry.EnsureXvidInstalled();

    EXPECT_EQ("C:\\Vendor\\x264vfw.dll", Machine(kDrivers32Key, "vidc.X264"));
    EXPECT_EQ("C:\\Vendor\\xvidvfw.dll", Machine(kDrivers32Key, "vidc.XVID"));
    EXPECT_EQ("Vendor text", Machine(kDriversDescKey, paths_.x264Dll));
    EXPECT_EQ("vendor.drv", Machine(kDrivers32Key, "wave"));
    EXPECT_EQ("C:\\Vendor\\xvid.ax", Machine(kDecoderServer, ""));
    for (const char* v : {"58564944", "78766964"}) EXPECT_EQ("x", Machine(kMapVideo4cc, v)) << v;
    EXPECT_EQ("vendor core", ReadFile(system_ + "\\xvidcore.dll"));
    // What was missing is added.
    EXPECT_EQ("plug-in xvid.ax", ReadFile(system_ + "\\xvid.ax"));
    EXPECT_EQ("plug-in xvidvfw.dll", ReadFile(system_ + "\\xvidvfw.dll"));
    EXPECT_EQ("wdmaud.drv", Machine(kDrivers32Key, "midi"));
    EXPECT_EQ("Both", Machine(kDecoderServer, "ThreadingModel"));
}

TEST_F(RegistryTest, XvidInstallRegistersTheDecoderInTheSystemFolder)
{
    AddXvidPlugin();
    CMyRegistry registry(paths_);
    registry.EnsureXvidInstalled();
    EXPECT_TRUE(registry.XvidFilesPresent());
    EXPECT_EQ(system_ + "\\xvid.ax", Machine(kDecoderServer, ""));
    EXPECT_EQ("Xvid MPEG-4 Video Decoder", Machine(kFilterInstance, "FriendlyName"));
    EXPECT_EQ(880u, BinarySize(roots_.machine(), kFilterInstance, "FilterData"));
    EXPECT_EQ(768u, BinarySize(roots_.machine(), kTransform, "InputTypes"));
    EXPECT_EQ(32u, BinarySize(roots_.machine(), kTransform, "OutputTypes"));
    EXPECT_TRUE(HasKey(roots_.machine(),
                       "SOFTWARE\\Classes\\MediaFoundation\\Transforms\\Categories\\"
                       "d6c02d4b-6833-45b4-971a-05a4b04bab91\\"
                       "64697678-0000-0010-8000-00aa00389b71"));
    EXPECT_EQ(system_ + "\\l3codeca.acm", Machine(kDrivers32Key, "msacm.l3acm"));
    EXPECT_EQ("msyuv.dll", Machine(kDrivers32Key, "VIDC.YUY2"));
}

TEST_F(RegistryTest, NothingHappensWithoutTheXvidFilesOrWhenAlreadyInstalled)
{
    CMyRegistry missing(paths_);
    missing.EnsureXvidInstalled();
    EXPECT_FALSE(HasKey(roots_.machine(), kDecoderServer));
    EXPECT_FALSE(HasKey(roots_.machine(), kDrivers32Key));

    AddXvidPlugin();
    for (const char* f : {"xvid.ax", "xvidcore.dll", "xvidvfw.dll"})
        WriteFile(system_ + "\\" + f, "installed");
    SetText(roots_.machine(), kDrivers32Key, "vidc.XVID", "xvidvfw.dll");
    CMyRegistry installed(paths_);
    installed.EnsureXvidInstalled();
    EXPECT_FALSE(HasKey(roots_.machine(), kDecoderServer));
}

// The published REGFILTER2 layout, read back as a filter mapper reads it.
TEST(DecoderRegistration, FilterDataPointsEveryMediaTypeAtItsGuids)
{
    std::vector<BYTE> blob = BuildXvidFilterData();
    ASSERT_EQ(880u, blob.size());
    auto dword = [&blob](size_t at) {
        DWORD v;
        memcpy(&v, &blob[at], 4);
        return v;
    };
    auto guidAt = [&blob](DWORD offset) {
        GUID g;
        memcpy(&g, &blob[offset], sizeof g);
        return g;
    };
    const GUID video = FourccSubtype(mmioFOURCC('v', 'i', 'd', 's'));
    EXPECT_EQ(2u, dword(0));
    EXPECT_EQ(2u, dword(8));
    size_t at = 16;
    const DWORD expectedTypes[] = {24, 1};
    for (int pin = 0; pin < 2; ++pin) {
        EXPECT_EQ(0, memcmp(&blob[at] + 1, "pi3", 3));
        EXPECT_EQ('0' + pin, blob[at]);
        EXPECT_EQ(pin == 1 ? 8u : 0u, dword(at + 4));
        ASSERT_EQ(expectedTypes[pin], dword(at + 12));
        at += 24;
        for (DWORD t = 0; t < expectedTypes[pin]; ++t, at += 16) {
            EXPECT_EQ('0' + static_cast<int>(t), blob[at]);
            EXPECT_TRUE(IsEqualGUID(video, guidAt(dword(at + 8))));
            const char* fourcc = pin == 0 ? kXvidDecoderFourccs[t] : "YV12";
            GUID sub = FourccSubtype(mmioFOURCC(fourcc[0], fourcc[1], fourcc[2], fourcc[3]));
            EXPECT_TRUE(IsEqualGUID(sub, guidAt(dword(at + 12)))) << fourcc;
        }
    }
    std::vector<BYTE> in = BuildXvidInputTypes();
    ASSERT_EQ(768u, in.size());
    EXPECT_EQ(0, memcmp(&in[0], &video, 16));
    EXPECT_EQ(0, memcmp(&in[16 + 23 * 32], "MP4V", 4));
    EXPECT_EQ(32u, BuildXvidOutputTypes().size());
}

}  // namespace
