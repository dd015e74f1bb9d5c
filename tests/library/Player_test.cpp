// The preview player on real files through Wine's DirectShow: its states,
// seeking in milliseconds, and files it cannot open.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/StringConv.h"
#include "library/DShowPlayer.h"

namespace {

class PlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = testkit::MakeTempDir("player");
        const std::string u = testkit::UnixPath(dir_);
        const std::string ff = "ffmpeg -nostdin -v error -y ";
        made_ = testkit::RunLinux(ff + "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i "
                                       "sine=frequency=440:sample_rate=44100 -t 10 -c:v mjpeg -q:v 8 "
                                       "-c:a libmp3lame " +
                                      testkit::ShellQuote(u + "/sound.avi") + " && " + ff +
                                      "-f lavfi -i testsrc=size=320x240:rate=25 -t 4 -c:v mjpeg " +
                                      testkit::ShellQuote(u + "/silent.avi"),
                                  120000)
                    .exitCode == 0;
        testkit::WriteFile(dir_ + "\\text.avi", "this is no video\r\n");
    }

    void SetUp() override
    {
        ASSERT_TRUE(made_) << "ffmpeg made the sample videos";
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        window_ = CreateWindowExA(0, "STATIC", "player", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240,
                                  nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(window_);
        CoUninitialize();
    }

    std::wstring Path(const char* name) { return AnsiToWide(dir_ + "\\" + name); }

    static std::string dir_;
    static bool made_;
    HWND window_ = nullptr;
};
std::string PlayerTest::dir_;
bool PlayerTest::made_ = false;

TEST_F(PlayerTest, PlaysPausesAndSeeksThroughItsStates)
{
    CDShowPlayer player(window_);
    EXPECT_EQ(VFW_E_WRONG_STATE, player.Play());
    ASSERT_EQ(S_OK, player.Open(Path("sound.avi").c_str()));
    EXPECT_EQ(CDShowPlayer::kReady, player.GetState());
    EXPECT_NEAR(10000, player.Duration(), 100);
    EXPECT_EQ(VFW_E_WRONG_STATE, player.Pause());
    ASSERT_TRUE(SUCCEEDED(player.Play()));
    EXPECT_EQ(CDShowPlayer::kRunning, player.GetState());
    EXPECT_EQ(VFW_E_WRONG_STATE, player.Play());
    EXPECT_TRUE(testkit::PumpUntil([&] { return player.Position() >= 500; }, 10000))
        << "the position advances while it plays";
    ASSERT_TRUE(SUCCEEDED(player.Pause()));
    EXPECT_EQ(CDShowPlayer::kPaused, player.GetState());
    player.Seek(1500);
    EXPECT_NEAR(1500, player.Position(), 60);
    player.Seek(7000);
    EXPECT_NEAR(7000, player.Position(), 60);
    player.Release();
    EXPECT_EQ(CDShowPlayer::kNoGraph, player.GetState());
    EXPECT_EQ(0, player.Position());
}

TEST_F(PlayerTest, AFileWithoutSoundPlaysToItsEnd)
{
    CDShowPlayer player(window_);
    ASSERT_EQ(S_OK, player.Open(Path("silent.avi").c_str()));
    EXPECT_NEAR(4000, player.Duration(), 100);
    ASSERT_TRUE(SUCCEEDED(player.Play()));
    bool ended = false;
    EXPECT_TRUE(testkit::PumpUntil([&] { return (ended = ended || player.DrainEvents()); }, 20000))
        << "the graph tells the end";
}

TEST_F(PlayerTest, WhatCannotBeReadIsNoSuccess)
{
    CDShowPlayer player(window_);
    EXPECT_TRUE(FAILED(player.Open(Path("text.avi").c_str())));
    EXPECT_EQ(CDShowPlayer::kNoGraph, player.GetState());
    EXPECT_TRUE(FAILED(player.Open(Path("missing.avi").c_str())));
    EXPECT_EQ(CDShowPlayer::kNoGraph, player.GetState());
    EXPECT_EQ(VFW_E_WRONG_STATE, player.Play());
    EXPECT_EQ(0, player.Duration());
}

}  // namespace
