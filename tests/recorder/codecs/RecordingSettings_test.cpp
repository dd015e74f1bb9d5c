// The start-up read of the recording settings: what each configured value
// becomes, what an absent or out-of-range value leaves, and the encoder
// presets written on the way. HKCU is a scratch key of this process.
#include <gtest/gtest.h>

#include "CodecsTestKit.h"
#include "core/CfgDocument.h"
#include "recorder/codecs/CodecPresets.h"
#include "recorder/CamCursor.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/codecs/SettingsHandOver.h"
#include "recorder/codecs/VideoOptions.h"

using namespace codecstest;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        roots_.OverrideThisProcess();
        ResetRecordingGlobals();
    }
    void Load(const std::string& body)
    {
        ASSERT_EQ(1u, g_cfgDocument.LoadCfgFile(WriteConfig(body)));
        LoadRecordingChoices();
        LoadCursorAndPlaybackSettings();
    }
    std::string X264Text(const char* name) { return Text(roots_.user(), kX264SettingsKey, name); }

    ScratchRoots roots_;
};

TEST_F(SettingsTest, AbsentSettingsTakeTheirDefaults)
{
    Load("");
    AudioSourceSettings audio = CurrentAudioSources();
    EXPECT_EQ(0, audio.recordMic);
    EXPECT_EQ(1, audio.recordSpeaker);
    EXPECT_EQ(3u, g_nCountdownSeconds);
    EXPECT_EQ(0, g_nSaveImgType);
    EXPECT_EQ(25u, g_videoOpts.m_uFrameRate);
    EXPECT_EQ(40.0, g_videoOpts.m_dFrameInterval);
    EXPECT_EQ(kCodecTypeX264, g_nCodecType);
    EXPECT_EQ(0, g_nQualityChoice);
    EXPECT_EQ(0, g_nRecMode);
    EXPECT_EQ(1, g_bAutoPlayOnComplete);

    const CCamCursor& c = g_cursorSettings;
    EXPECT_EQ(1, c.m_bDrawCursor);
    EXPECT_EQ(1, c.m_bHighlight);
    EXPECT_EQ(48u, c.m_nHighlightSize);
    EXPECT_EQ(0xA01DAEFCu, c.m_crHighlight);
    EXPECT_EQ(1, c.m_bClickEffects);
    EXPECT_EQ(0xA0FF0000u, c.m_crLeft);
    EXPECT_EQ(0xA00000FFu, c.m_crRight);
    EXPECT_EQ(0xA000FF00u, c.m_crWheel);

    // Quality 0 of x264 and the normal speed mode.
    DWORD rf = 0;
    EXPECT_TRUE(Dword(roots_.user(), kX264SettingsKey, "ratefactor", &rf));
    EXPECT_EQ(180u, rf);
    EXPECT_EQ("medium", X264Text("preset"));
    EXPECT_EQ(kX264NormalCmdline, X264Text("extra_cmdline"));
}

TEST_F(SettingsTest, FrameRateOutsideTenToHundredRecordsAtTwentyFive)
{
    const struct {
        int configured;
        UINT rate;
        double interval;
    } cases[] = {{9, 25, 40.0},  {101, 25, 40.0}, {10, 10, 100.0}, {100, 100, 10.0},
                 {15, 15, 66.0}, {30, 30, 33.0},  {-5, 25, 40.0}};
    for (const auto& c : cases) {
        Load("<farme_rate rate=\"" + std::to_string(c.configured) + "\"/>");
        EXPECT_EQ(c.rate, g_videoOpts.m_uFrameRate) << c.configured;
        EXPECT_EQ(c.interval, g_videoOpts.m_dFrameInterval) << c.configured;
    }
}

TEST_F(SettingsTest, ChoicesAndTheirConversions)
{
    Load(
        "<rec_micphone rec=\"1\"/><rec_speaker rec=\"0\"/><start_countdown countdown=\"2\"/>"
        "<save_img_type type=\"2\"/><codec_type type=\"1\"/><video_qulity qulity=\"1\"/>"
        "<rec_mode mode=\"1\"/><rec_cursor rec=\"7\"/>"
        "<highter_cursor ishighter=\"false\" color=\"1193046\" size=\"2\"/>"
        "<add_click_effect rec=\"0\" lbtn_color=\"1193046\" rbtn_color=\"0\"/>"
        "<add_wheel_effect color=\"16777215\"/><auto_play_oncomplete auto_play=\"0\"/>");
    EXPECT_EQ(1, CurrentAudioSources().recordMic);
    EXPECT_EQ(0, CurrentAudioSources().recordSpeaker);
    EXPECT_EQ(6u, g_nCountdownSeconds);
    EXPECT_EQ(2, g_nSaveImgType);
    EXPECT_EQ(kCodecTypeXvid, g_nCodecType);
    EXPECT_EQ(1, g_nQualityChoice);
    EXPECT_EQ(1, g_nRecMode);
    EXPECT_EQ(0, g_bAutoPlayOnComplete);
    const CCamCursor& c = g_cursorSettings;
    EXPECT_EQ(1, c.m_bDrawCursor);  // any non-zero value draws it
    EXPECT_EQ(0, c.m_bHighlight);
    EXPECT_EQ(32u, c.m_nHighlightSize);
    EXPECT_EQ(0xA0563412u, c.m_crHighlight);  // 0x123456 is red 0x56, green 0x34, blue 0x12
    EXPECT_EQ(0, c.m_bClickEffects);
    EXPECT_EQ(0xA0563412u, c.m_crLeft);
    EXPECT_EQ(0xA0000000u, c.m_crRight);
    EXPECT_EQ(0xA0FFFFFFu, c.m_crWheel);

    // Quality goes to the Xvid compressor; the fast x264 mode is written.
    DWORD quant = 0;
    EXPECT_TRUE(Dword(roots_.user(), kXvidSettingsKey, "desired_quant", &quant));
    EXPECT_EQ(600u, quant);
    EXPECT_FALSE(HasValue(roots_.user(), kX264SettingsKey, "ratefactor"));
    EXPECT_EQ("superfast", X264Text("preset"));
    EXPECT_EQ(kX264FastCmdline, X264Text("extra_cmdline"));
}

TEST_F(SettingsTest, OutOfRangeChoicesKeepOrResetAsDocumented)
{
    Load(
        "<start_countdown countdown=\"7\"/><video_qulity qulity=\"3\"/><rec_mode mode=\"5\"/>"
        "<highter_cursor size=\"5\"/><farme_rate rate=\"abc\"/>");
    EXPECT_EQ(0u, g_nCountdownSeconds);  // unchanged from the start value
    EXPECT_EQ(0, g_nQualityChoice);
    EXPECT_EQ(0, g_nRecMode);
    EXPECT_EQ(64u, g_cursorSettings.m_nHighlightSize);
    EXPECT_EQ(25u, g_videoOpts.m_uFrameRate);
}

TEST_F(SettingsTest, QualityPresetFollowsTheCompressorType)
{
    const struct {
        int type, choice;
        const char* key;
        const char* name;
        DWORD value;  // 0: nothing written
    } cases[] = {
        {kCodecTypeX264, 0, kX264SettingsKey, "ratefactor", 180},
        {kCodecTypeX264, 1, kX264SettingsKey, "ratefactor", 150},
        {kCodecTypeX264, 2, kX264SettingsKey, "ratefactor", 0},
        {kCodecTypeX264, 9, kX264SettingsKey, "ratefactor", 180},
        {kCodecTypeXvid, 0, kXvidSettingsKey, "desired_quant", 1000},
        {kCodecTypeXvid, 1, kXvidSettingsKey, "desired_quant", 600},
        {kCodecTypeXvid, 2, kXvidSettingsKey, "desired_quant", 0},
    };
    for (const auto& c : cases) {
        RegDeleteTreeA(roots_.user(), "SoftWare");
        g_nCodecType = c.type;
        SetQualityPreset(c.choice);
        DWORD v = 0;
        const bool written = Dword(roots_.user(), c.key, c.name, &v);
        EXPECT_EQ(c.value != 0, written) << c.type << "/" << c.choice;
        EXPECT_EQ(c.value, written ? v : 0u) << c.type << "/" << c.choice;
    }
    // Another compressor type writes to neither.
    RegDeleteTreeA(roots_.user(), "SoftWare");
    g_nCodecType = 2;
    SetQualityPreset(0);
    EXPECT_FALSE(HasKey(roots_.user(), kX264SettingsKey));
    EXPECT_FALSE(HasKey(roots_.user(), kXvidSettingsKey));
}

TEST_F(SettingsTest, FixedEncoderDefaults)
{
    ASSERT_TRUE(WriteXvidDefaults());
    ASSERT_TRUE(WriteX264Defaults());
    ASSERT_TRUE(DisableXvidStatusWindow());
    const struct {
        const char* key;
        const char* name;
        DWORD value;
    } dwords[] = {
        {kXvidSettingsKey, "zone0_type", 1},     {kXvidSettingsKey, "max_key_interval", 100},
        {kXvidSettingsKey, "vhq_mode", 1},       {kXvidSettingsKey, "motion_search", 6},
        {kXvidSettingsKey, "turbo", 1},          {kXvidSettingsKey, "vhq_bframe", 1},
        {kXvidSettingsKey, "chromame", 1},       {kXvidSettingsKey, "desired_quant", 600},
        {kXvidSettingsKey, "display_status", 0}, {kX264SettingsKey, "keyint_max", 250},
        {kX264SettingsKey, "log_level", 0},      {kX264SettingsKey, "zerolatency", 0},
        {kX264SettingsKey, "fourcc_num", 0}};
    for (const auto& d : dwords) {
        DWORD v = 12345;
        EXPECT_TRUE(Dword(roots_.user(), d.key, d.name, &v)) << d.name;
        EXPECT_EQ(d.value, v) << d.name;
    }
    EXPECT_EQ("(User defined)", Text(roots_.user(), kXvidSettingsKey, "quality"));
    EXPECT_EQ("medium", X264Text("preset"));
    EXPECT_EQ("high", X264Text("profile"));
    // Both command lines keep their two blanks after the first option.
    EXPECT_EQ(0u, std::string(kX264FastCmdline).find("--no-8x8dct  --sync-lookahead 0 "));
    EXPECT_EQ(0u, std::string(kX264NormalCmdline).find("--no-8x8dct  --sync-lookahead 0 "));
}

TEST(VideoOptions, AssignmentKeepsTheListPositions)
{
    sVideoOpts a, b;
    a.SetFrameRate(15);
    a.m_uSelectedCompressor = 2;
    a.m_fccHandler = mmioFOURCC('X', '2', '6', '4');
    a.m_nX264Index = 2;
    a.m_nXvidIndex = 0;
    b = a;
    EXPECT_EQ(15u, b.m_uFrameRate);
    EXPECT_EQ(66.0, b.m_dFrameInterval);
    EXPECT_EQ(2u, b.m_uSelectedCompressor);
    EXPECT_EQ(a.m_fccHandler, b.m_fccHandler);
    EXPECT_EQ(-1, b.m_nX264Index);
    EXPECT_EQ(-1, b.m_nXvidIndex);
    EXPECT_EQ(1, g_audioFormat.m_bPauseCompensation);
}

}  // namespace
