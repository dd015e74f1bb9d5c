// x264vfw.dll driven through the Installable Compressor Manager, as the
// recorder and other hosts drive it.
#include <gtest/gtest.h>

#include "CodecKit.h"
#include "TestKit.h"

#include <algorithm>
#include <numeric>

using namespace codeckit;

namespace {

class Driver : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(InstallX264()); }
    PrivateSettings settings_;
};

std::string Narrow(const WCHAR* w)
{
    char s[256] = {};
    WideCharToMultiByte(CP_ACP, 0, w, -1, s, sizeof s, nullptr, nullptr);
    return s;
}

std::vector<Compressed> CompressFrames(Session& s, int width, int height, int frames,
                                       const std::vector<int>& requestKeyAt = {0})
{
    std::vector<Compressed> out(frames);
    for (int i = 0; i < frames; ++i) {
        bool key = std::find(requestKeyAt.begin(), requestKeyAt.end(), i) != requestKeyAt.end();
        if (!s.Compress(MakePattern(width, height, i), key, &out[i])) return {};
    }
    return out;
}

size_t TotalBytes(const std::vector<Compressed>& frames)
{
    size_t n = 0;
    for (const Compressed& c : frames) n += c.data.size();
    return n;
}

std::string SaveStream(const std::vector<Compressed>& frames, size_t from = 0)
{
    std::string bytes;
    for (size_t i = from; i < frames.size(); ++i)
        bytes.append(frames[i].data.begin(), frames[i].data.end());
    std::string path = testkit::MakeTempDir("h264") + "\\stream.h264";
    testkit::WriteFile(path, bytes);
    return path;
}

}  // namespace

TEST_F(Driver, DescribesItselfAsTheProgramExpects)
{
    HIC hic = ICOpen(ICTYPE_VIDEO, kX264, ICMODE_QUERY);
    ASSERT_NE(nullptr, hic);
    ICINFO got{};
    ASSERT_EQ(sizeof got, ICGetInfo(hic, &got, sizeof got));
    EXPECT_EQ("x264vfw - H.264/MPEG-4 AVC codec", Narrow(got.szDescription));
    EXPECT_EQ("x264vfw", Narrow(got.szName));
    EXPECT_EQ(kX264, got.fccHandler);
    EXPECT_TRUE(got.dwFlags & VIDCF_QUALITY);
    EXPECT_TRUE(got.dwFlags & VIDCF_TEMPORAL);
    EXPECT_FALSE(ICQueryConfigure(hic));
    EXPECT_FALSE(ICQueryAbout(hic));
    ICClose(hic);

    // Decoding is not offered: a player must not pick this driver.
    EXPECT_EQ(nullptr, ICOpen(ICTYPE_VIDEO, kX264, ICMODE_DECOMPRESS));
}

TEST_F(Driver, LoadsAsADriverFileToo)
{
    const DWORD handler = mmioFOURCC('T', '2', '6', '4');
    std::string dll = testkit::ProgramDir() + "\\plugins\\x264\\x264vfw.dll";
    // Wine stores the driver in the machine's Drivers32 key but does not
    // create the key, which a fresh prefix lacks (Windows always has it).
    HKEY drivers = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE,
                              "Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32", 0,
                              nullptr, 0, KEY_READ, nullptr, &drivers, nullptr));
    RegCloseKey(drivers);
    ASSERT_TRUE(ICInstall(ICTYPE_VIDEO, handler, reinterpret_cast<LPARAM>(dll.c_str()), nullptr,
                          ICINSTALL_DRIVER));
    HIC hic = ICOpen(ICTYPE_VIDEO, handler, ICMODE_COMPRESS);
    EXPECT_NE(nullptr, hic);
    if (hic) {
        ICINFO got{};
        EXPECT_EQ(sizeof got, ICGetInfo(hic, &got, sizeof got));
        EXPECT_EQ("x264vfw - H.264/MPEG-4 AVC codec", Narrow(got.szDescription));
        BITMAPINFOHEADER in = RgbHeader(320, 200, 24);
        EXPECT_EQ(ICERR_OK, ICCompressQuery(hic, &in, nullptr));
        ICClose(hic);
    }
    ICRemove(ICTYPE_VIDEO, handler, 0);
}

TEST_F(Driver, AcceptsEvenSizedRgbOnly)
{
    struct Case {
        int width, height, bits;
        DWORD compression;
        bool accepted;
    } cases[] = {
        {320, 200, 24, BI_RGB, true},  {320, 200, 32, BI_RGB, true},
        {320, -200, 24, BI_RGB, true}, {1920, 1080, 24, BI_RGB, true},
        {322, 202, 24, BI_RGB, true},  {321, 200, 24, BI_RGB, false},
        {320, 201, 24, BI_RGB, false}, {320, 200, 16, BI_RGB, false},
        {320, 200, 8, BI_RGB, false},  {320, 200, 32, BI_BITFIELDS, false},
        {0, 200, 24, BI_RGB, false},   {320, 0, 24, BI_RGB, false},
    };
    HIC hic = ICOpen(ICTYPE_VIDEO, kX264, ICMODE_QUERY);
    ASSERT_NE(nullptr, hic);
    for (const Case& c : cases) {
        BITMAPINFOHEADER in = RgbHeader(c.width, c.height, c.bits);
        in.biCompression = c.compression;
        EXPECT_EQ(c.accepted, ICCompressQuery(hic, &in, nullptr) == ICERR_OK)
            << c.width << "x" << c.height << "x" << c.bits;
    }
    // With an output format: ours, of the same size.
    BITMAPINFOHEADER in = RgbHeader(320, 200, 24), out{};
    ASSERT_EQ(ICERR_OK, ICCompressGetFormat(hic, &in, &out));
    EXPECT_EQ(ICERR_OK, ICCompressQuery(hic, &in, &out));
    BITMAPINFOHEADER wrongSize = out;
    wrongSize.biWidth = 640;
    EXPECT_NE(ICERR_OK, ICCompressQuery(hic, &in, &wrongSize));
    BITMAPINFOHEADER wrongCodec = out;
    wrongCodec.biCompression = mmioFOURCC('M', 'J', 'P', 'G');
    EXPECT_NE(ICERR_OK, ICCompressQuery(hic, &in, &wrongCodec));
    ICClose(hic);
}

TEST_F(Driver, OutputFormatIsH264OfTheInputSize)
{
    HIC hic = ICOpen(ICTYPE_VIDEO, kX264, ICMODE_QUERY);
    ASSERT_NE(nullptr, hic);
    BITMAPINFOHEADER in = RgbHeader(320, 200, 24), out{};
    EXPECT_EQ(static_cast<LRESULT>(sizeof out), ICCompressGetFormatSize(hic, &in));
    ASSERT_EQ(ICERR_OK, ICCompressGetFormat(hic, &in, &out));
    EXPECT_EQ(mmioFOURCC('H', '2', '6', '4'), out.biCompression);
    EXPECT_EQ(320, out.biWidth);
    EXPECT_EQ(200, out.biHeight);
    EXPECT_GE(ICCompressGetSize(hic, &in, &out), 320 * 200 * 3);
    settings_.SetDword("fourcc_num", 1);
    ASSERT_EQ(ICERR_OK, ICCompressGetFormat(hic, &in, &out));
    EXPECT_EQ(kX264, out.biCompression);
    ICClose(hic);
}

TEST_F(Driver, EveryFrameComesBackAtOnceInOrderWhateverThePresetAsks)
{
    // B-frames, a long lookahead and frame threads would each hold pictures
    // back; the compressor must give each frame's data from its own call.
    settings_.SetText("preset", "veryslow");
    settings_.SetText("extra_cmdline", "--bframes 8 --b-adapt 2 --rc-lookahead 60 --threads 4");
    const int frames = 30;
    Session s(320, 200);
    ASSERT_TRUE(s.ok());
    std::vector<Compressed> out = CompressFrames(s, 320, 200, frames);
    ASSERT_EQ(size_t(frames), out.size());
    for (int i = 0; i < frames; ++i) EXPECT_GT(out[i].data.size(), 0u) << "frame " << i;
    std::string options = X264Options(out[0].data);
    EXPECT_NE(std::string::npos, options.find(" bframes=0 ")) << options;
    EXPECT_NE(std::string::npos, options.find(" mbtree=0 ")) << options;
    EXPECT_NE(std::string::npos, options.find(" sliced_threads=1 ")) << options;

    std::string path = SaveStream(out);
    EXPECT_EQ(std::to_string(frames),
              testkit::Probe(path, "v:0", "nb_read_frames", true)["nb_read_frames"]);
    Picture input = MakePattern(320, 200, 15), neighbour = MakePattern(320, 200, 14);
    std::vector<uint8_t> decoded = DecodeFrame(path, 15, 320, 200);
    EXPECT_GT(Psnr(decoded, input), 35.0);
    EXPECT_GT(Psnr(decoded, input), Psnr(decoded, neighbour) + 3.0);
}

TEST_F(Driver, KeyFramesComeOnRequestAndAtTheKeyIntervalEachWithItsHeaders)
{
    settings_.SetDword("keyint_max", 20);
    settings_.SetText("extra_cmdline", "--scenecut 0");  // only the interval places key frames
    const int frames = 50;
    Session s(320, 200);
    ASSERT_TRUE(s.ok());
    std::vector<Compressed> out = CompressFrames(s, 320, 200, frames, {0, 7});
    ASSERT_EQ(size_t(frames), out.size());
    for (int i : {0, 7, 27, 47}) EXPECT_TRUE(out[i].keyFrame) << "frame " << i;
    for (int i : {1, 6, 8, 20, 26, 28, 46, 48}) EXPECT_FALSE(out[i].keyFrame) << "frame " << i;
    for (int i = 0; i < frames; ++i) {
        std::vector<int> types = NalTypes(out[i].data);
        ASSERT_FALSE(types.empty());
        const bool idr = std::count(types.begin(), types.end(), 5) > 0;
        EXPECT_EQ(out[i].keyFrame, idr) << "frame " << i;
        if (out[i].keyFrame) {
            // SPS and PPS ahead of the picture, so decoding can start here.
            auto first = std::find(types.begin(), types.end(), 5);
            EXPECT_NE(first, std::find(types.begin(), first, 7)) << "frame " << i;
            EXPECT_NE(first, std::find(types.begin(), first, 8)) << "frame " << i;
        }
    }
    // Cut at the requested key frame: everything after it decodes.
    std::string tail = SaveStream(out, 7);
    EXPECT_EQ(std::to_string(frames - 7),
              testkit::Probe(tail, "v:0", "nb_read_frames", true)["nb_read_frames"]);
}

TEST_F(Driver, RegistrySettingsReachTheEncoder)
{
    struct Mode {
        const char* preset;
        const char* cmdline;
        DWORD ratefactor;
        std::vector<const char*> expected;
    } modes[] = {
        {"superfast",
         kFastCmdline,
         180,
         {"cabac=0", "ref=1", "deblock=0:", "me=dia", "subme=0", "8x8dct=0", "trellis=0",
          "weightp=0", "keyint=250", "scenecut=0", "aq=0", "bframes=0", "rc=crf", "crf=18.0"}},
        {"medium",
         kNormalCmdline,
         150,
         {"cabac=0", "ref=1", "me=dia", "subme=2", "bframes=0", "mbtree=0", "crf=15.0"}},
        {"medium", "", 230, {"cabac=1", "ref=3", "me=hex", "subme=7", "crf=23.0"}},
    };
    for (const Mode& m : modes) {
        PrivateSettings key;
        key.SetText("preset", m.preset);
        key.SetText("profile", "high");
        key.SetText("extra_cmdline", m.cmdline);
        key.SetDword("ratefactor", m.ratefactor);
        key.SetDword("keyint_max", 250);
        key.SetDword("log_level", 0);
        Session s(320, 200);
        ASSERT_TRUE(s.ok());
        Compressed first;
        ASSERT_TRUE(s.Compress(MakePattern(320, 200, 0), true, &first));
        std::string options = " " + X264Options(first.data) + " ";
        for (const char* e : m.expected)
            EXPECT_NE(std::string::npos, options.find(std::string(" ") + e))
                << m.preset << ": " << e << " in" << options;
    }
}

TEST_F(Driver, AHigherRateFactorGivesFewerBytes)
{
    std::vector<size_t> sizes;
    for (DWORD rf : {150, 230, 350}) {
        PrivateSettings key;
        key.SetDword("ratefactor", rf);
        Session s(320, 200);
        ASSERT_TRUE(s.ok());
        sizes.push_back(TotalBytes(CompressFrames(s, 320, 200, 20)));
    }
    EXPECT_LT(sizes[1], sizes[0] * 8 / 10);
    EXPECT_LT(sizes[2], sizes[1] * 8 / 10);
}

TEST_F(Driver, BadSettingsFallBackAndStillEncode)
{
    struct Case {
        const char* preset;
        const char* cmdline;
        const char* expected;
    } cases[] = {
        {"nonsense", "", "subme=7"},                          // unknown preset: medium
        {"superfast", "--frobnicate 3 --me warp", "me=dia"},  // bad options skipped
        {"medium", "--profile nonsense --tune nonsense", "cabac=1"},
        // x264 refuses to open (no first-pass statistics): the defaults take over.
        {"superfast", "--pass 2 --stats C:\\no\\such\\folder\\x264.log", "subme=7"},
    };
    for (const Case& c : cases) {
        PrivateSettings key;
        key.SetText("preset", c.preset);
        key.SetText("extra_cmdline", c.cmdline);
        key.SetDword("ratefactor", 9999);  // clamped to 51
        Session s(320, 200);
        ASSERT_TRUE(s.ok()) << c.cmdline;
        Compressed first;
        ASSERT_TRUE(s.Compress(MakePattern(320, 200, 0), true, &first)) << c.cmdline;
        std::string options = X264Options(first.data);
        EXPECT_NE(std::string::npos, options.find(c.expected)) << c.cmdline << ": " << options;
        EXPECT_NE(std::string::npos, options.find("crf=51.0")) << c.cmdline << ": " << options;
    }
}

TEST_F(Driver, RefusesCallsOutOfTurnOrOfAnotherFormat)
{
    HIC hic = ICOpen(ICTYPE_VIDEO, kX264, ICMODE_COMPRESS);
    ASSERT_NE(nullptr, hic);
    BITMAPINFOHEADER in = RgbHeader(320, 200, 24), out{};
    ASSERT_EQ(ICERR_OK, ICCompressGetFormat(hic, &in, &out));
    std::vector<uint8_t> buffer(ICCompressGetSize(hic, &in, &out));
    Picture p = MakePattern(320, 200, 0);
    DWORD ckid = 0, flags = 0;
    auto compress = [&](BITMAPINFOHEADER* input) {
        BITMAPINFOHEADER o = out;
        return ICCompress(hic, ICCOMPRESS_KEYFRAME, &o, buffer.data(), input, p.bits.data(), &ckid,
                          &flags, 0, 0, 10000, nullptr, nullptr);
    };
    EXPECT_NE(ICERR_OK, compress(&in));  // before ICCompressBegin
    BITMAPINFOHEADER odd = RgbHeader(321, 200, 24);
    EXPECT_EQ(ICERR_BADFORMAT, ICCompressBegin(hic, &odd, &out));
    ASSERT_EQ(ICERR_OK, ICCompressBegin(hic, &in, &out));
    BITMAPINFOHEADER other = RgbHeader(320, 200, 32);
    EXPECT_EQ(ICERR_BADFORMAT, compress(&other));
    EXPECT_EQ(ICERR_OK, compress(&in));
    EXPECT_EQ(ICERR_OK, ICCompressEnd(hic));
    EXPECT_NE(ICERR_OK, compress(&in));  // after ICCompressEnd
    ICClose(hic);
}
