// A recording's way through Video for Windows: frames written through
// AVIMakeCompressedStream with the recorder's options, read back by the
// Linux ffprobe and ffmpeg and by Wine's own AVI library.
#include <gtest/gtest.h>

#include "CodecKit.h"
#include "TestKit.h"

using namespace codeckit;

namespace {

class AviFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InstallX264());
        settings_.SetText("preset", "medium");
        settings_.SetDword("ratefactor", 180);
        settings_.SetDword("keyint_max", 250);
    }
    PrivateSettings settings_;
};

}  // namespace

TEST_F(AviFile, FiftyFramesMakeAnH264FileThatDecodesCloseToTheInput)
{
    const std::string path = testkit::MakeTempDir("avi") + "\\rec.avi";
    ASSERT_TRUE(WriteAvi(path, 320, 200, 50));

    auto v = testkit::Probe(path, "v:0",
                            "codec_name,width,height,pix_fmt,nb_read_frames,r_frame_rate", true);
    EXPECT_EQ("h264", v["codec_name"]);
    EXPECT_EQ("320", v["width"]);
    EXPECT_EQ("200", v["height"]);
    EXPECT_EQ("yuv420p", v["pix_fmt"]);
    EXPECT_EQ("50", v["nb_read_frames"]);
    EXPECT_EQ("25/1", v["r_frame_rate"]);

    std::vector<uint8_t> decoded = DecodeFrame(path, 25, 320, 200);
    ASSERT_FALSE(decoded.empty());
    const double psnr = Psnr(decoded, MakePattern(320, 200, 25));
    EXPECT_GT(psnr, 35.0);
    // The middle frame is the middle frame, not a neighbour.
    EXPECT_GT(psnr, Psnr(decoded, MakePattern(320, 200, 24)) + 3.0);
}

TEST_F(AviFile, WinesAviLibraryReadsItBack)
{
    const std::string path = testkit::MakeTempDir("avi") + "\\rec.avi";
    ASSERT_TRUE(WriteAvi(path, 320, 200, 50));

    AVIFileInit();
    PAVIFILE file = nullptr;
    ASSERT_EQ(AVIERR_OK, AVIFileOpenA(&file, path.c_str(), OF_READ, nullptr));
    AVIFILEINFOA fileInfo{};
    EXPECT_EQ(AVIERR_OK, AVIFileInfoA(file, &fileInfo, sizeof fileInfo));
    EXPECT_EQ(320u, fileInfo.dwWidth);
    EXPECT_EQ(200u, fileInfo.dwHeight);
    EXPECT_EQ(50u, fileInfo.dwLength);
    PAVISTREAM stream = nullptr;
    ASSERT_EQ(AVIERR_OK, AVIFileGetStream(file, &stream, streamtypeVIDEO, 0));
    AVISTREAMINFOA info{};
    EXPECT_EQ(AVIERR_OK, AVIStreamInfoA(stream, &info, sizeof info));
    EXPECT_EQ(streamtypeVIDEO, info.fccType);
    EXPECT_EQ(kX264, info.fccHandler);
    EXPECT_EQ(50u, info.dwLength);
    EXPECT_EQ(25u, info.dwRate / info.dwScale);
    EXPECT_EQ(320, info.rcFrame.right - info.rcFrame.left);
    EXPECT_EQ(200, info.rcFrame.bottom - info.rcFrame.top);
    BITMAPINFOHEADER format{};
    LONG size = sizeof format;
    EXPECT_EQ(AVIERR_OK, AVIStreamReadFormat(stream, 0, &format, &size));
    EXPECT_EQ(mmioFOURCC('H', '2', '6', '4'), format.biCompression);
    LONG bytes = 0;
    EXPECT_EQ(AVIERR_OK, AVIStreamRead(stream, 25, 1, nullptr, 0, &bytes, nullptr));
    EXPECT_GT(bytes, 0);
    AVIStreamRelease(stream);
    AVIFileRelease(file);
    AVIFileExit();
}

TEST_F(AviFile, KeyFramesEveryFrameAreHonouredWithAKeyIntervalTheyAreNot)
{
    // The recorder asks for a key frame every frame; a host that asks less
    // often gets P-frames in between, and far fewer bytes.
    const std::string dir = testkit::MakeTempDir("avi");
    ASSERT_TRUE(WriteAvi(dir + "\\every1.avi", 320, 200, 50, 1));
    ASSERT_TRUE(WriteAvi(dir + "\\every25.avi", 320, 200, 50, 25));
    auto keyFrames = [](const std::string& path) {
        testkit::LinuxResult r = testkit::RunLinux(
            "ffprobe -v error -select_streams v:0 -show_entries frame=key_frame -of csv=p=0 " +
            testkit::ShellQuote(testkit::UnixPath(path)) + " | grep -c 1");
        return atoi(r.out.c_str());
    };
    EXPECT_EQ(50, keyFrames(dir + "\\every1.avi"));
    EXPECT_EQ(2, keyFrames(dir + "\\every25.avi"));
    EXPECT_LT(testkit::FileSize(dir + "\\every25.avi") * 2,
              testkit::FileSize(dir + "\\every1.avi"));
}
