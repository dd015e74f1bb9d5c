// From the registry's settings to x264's parameters.
#include <gtest/gtest.h>

#include "platform/x264vfw/EncoderSettings.h"
#include "platform/x264vfw/OptionLine.h"
#include "platform/x264vfw/X264Params.h"

using namespace x264vfw;

namespace {

struct Built {
    explicit Built(const EncoderSettings& s, StreamShape shape = {320, 200, 30, 1})
    {
        ok = BuildX264Params(s, shape, &p, &colour, &warnings);
    }
    ~Built() { x264_param_cleanup(&p); }
    bool ok;
    x264_param_t p;
    ColourSetup colour;
    std::vector<std::string> warnings;
};

EncoderSettings With(const char* preset, const std::string& cmdline)
{
    EncoderSettings s;
    s.preset = preset;
    s.extraCmdline = cmdline;
    return s;
}

}  // namespace

TEST(OptionLine, SplitsLikeX264sCommandLine)
{
    std::vector<Option> o =
        SplitOptionLine("stray --crf=20 -b 3 --no-cabac  --deblock -1:-1 --zones \"0,10,q=1\" -r");
    ASSERT_EQ(6u, o.size());
    EXPECT_EQ("crf", o[0].name);
    EXPECT_EQ("20", o[0].value.value_or("?"));
    EXPECT_EQ("bframes", o[1].name);
    EXPECT_EQ("3", o[1].value.value_or("?"));
    EXPECT_EQ("no-cabac", o[2].name);
    EXPECT_FALSE(o[2].value);
    EXPECT_EQ("deblock", o[3].name);
    EXPECT_EQ("-1:-1", o[3].value.value_or("?"));
    EXPECT_EQ("0,10,q=1", o[4].value.value_or("?"));
    EXPECT_EQ("ref", o[5].name);
    EXPECT_FALSE(o[5].value);
}

TEST(X264Params, ZeroDelayAndThePictureShapeWinOverEverything)
{
    Built b(With("placebo",
                 "--bframes 16 --rc-lookahead 250 --sync-lookahead 20 --mbtree --threads 8 "
                 "--fps 60 --keyint 100 --input-res 640x480 --repeat-headers"),
            {1280, 720, 25, 1});
    ASSERT_TRUE(b.ok);
    const x264_param_t& p = b.p;
    EXPECT_EQ(0, p.i_bframe);
    EXPECT_EQ(0, p.rc.i_lookahead);
    EXPECT_EQ(0, p.i_sync_lookahead);
    EXPECT_EQ(0, p.rc.b_mb_tree);
    EXPECT_EQ(1, p.b_sliced_threads);
    EXPECT_EQ(8, p.i_threads);
    EXPECT_EQ(100, p.i_keyint_max);  // the command line wins over keyint_max
    EXPECT_EQ(1280, p.i_width);
    EXPECT_EQ(720, p.i_height);
    EXPECT_EQ(25u, p.i_fps_num);
    EXPECT_EQ(X264_CSP_I420, p.i_csp);
    EXPECT_EQ(1, p.b_annexb);
    EXPECT_EQ(1, p.b_repeat_headers);
    ASSERT_EQ(1u, b.warnings.size());  // --input-res is the command line's, not x264's
    EXPECT_NE(std::string::npos, b.warnings[0].find("input-res"));
}

TEST(X264Params, PresetTuneAndProfileOnTheCommandLineWin)
{
    EncoderSettings s = With("medium", "--preset ultrafast --tune stillimage --profile baseline");
    Built b(s);
    ASSERT_TRUE(b.ok);
    EXPECT_EQ(0, b.p.b_cabac);                  // ultrafast, and baseline
    EXPECT_EQ(0, b.p.analyse.i_subpel_refine);  // ultrafast
    EXPECT_EQ(0, b.p.analyse.b_transform_8x8);  // baseline
    EXPECT_TRUE(b.warnings.empty());

    Built bad(With("sluggish", "--tune grainy --profile high11 --crf"));
    ASSERT_TRUE(bad.ok);
    EXPECT_EQ(7, bad.p.analyse.i_subpel_refine);  // medium
    EXPECT_EQ(3u, bad.warnings.size());
}

TEST(X264Params, ColourSignalAndConverterAgree)
{
    struct Case {
        const char* cmdline;
        YuvMatrix matrix;
        bool full;
        int colmatrix;
    } cases[] = {
        {"", YuvMatrix::Bt709, false, 1},
        {"--colormatrix bt470bg --range pc", YuvMatrix::Bt601, true, 5},
        {"--colormatrix smpte170m", YuvMatrix::Bt601, false, 6},
        {"--colormatrix GBR", YuvMatrix::Bt709, false, 1},
    };
    for (const Case& c : cases) {
        Built b(With("medium", c.cmdline));
        ASSERT_TRUE(b.ok);
        EXPECT_EQ(c.matrix, b.colour.matrix) << c.cmdline;
        EXPECT_EQ(c.full, b.colour.fullRange) << c.cmdline;
        EXPECT_EQ(c.colmatrix, b.p.vui.i_colmatrix) << c.cmdline;
        EXPECT_EQ(c.full ? 1 : 0, b.p.vui.b_fullrange) << c.cmdline;
    }
}

TEST(EncoderSettings, ReadsWhatIsThereAndKeepsDefaultsForTheRest)
{
    const char* key = "Software\\OrbiskTests\\x264vfw-settings";
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
    EncoderSettings none = ReadEncoderSettings(HKEY_CURRENT_USER, key);
    EXPECT_EQ("medium", none.preset);
    EXPECT_EQ(230, none.ratefactorTenths);
    EXPECT_EQ(250, none.keyintMax);

    auto dword = [&](const char* name, DWORD v) {
        RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_DWORD, &v, sizeof v);
    };
    auto text = [&](const char* name, const char* v) {
        RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, v, static_cast<DWORD>(strlen(v) + 1));
    };
    text("preset", "superfast");
    text("profile", "");  // empty: default
    text("extra_cmdline", "--me dia");
    dword("ratefactor", 0xFFFFFFFF);  // -1: clamped
    text("keyint_max", "30");         // a number as text
    dword("zerolatency", 1);
    dword("fourcc_num", 2);
    RegSetKeyValueA(HKEY_CURRENT_USER, key, "log_level", REG_BINARY, "\1", 1);  // wrong type
    EncoderSettings s = ReadEncoderSettings(HKEY_CURRENT_USER, key);
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
    EXPECT_EQ("superfast", s.preset);
    EXPECT_EQ("high", s.profile);
    EXPECT_EQ("--me dia", s.extraCmdline);
    EXPECT_EQ(0, s.ratefactorTenths);
    EXPECT_EQ(30, s.keyintMax);
    EXPECT_TRUE(s.zeroLatency);
    EXPECT_EQ(2, s.fourccNum);
    EXPECT_EQ(0, s.logLevel);
}
