// "lame_enc.dll" is loaded at run time through its Blade entry points.
#include <gtest/gtest.h>

#include "TestKit.h"

#include <windows.h>

#include <BladeMP3EncDLL.h>

#include <cmath>
#include <cstdio>
#include <vector>

using namespace testkit;

namespace {

struct Lame {
    HMODULE dll = nullptr;
    BEINITSTREAM init = nullptr;
    BEENCODECHUNK encode = nullptr;
    BEDEINITSTREAM deinit = nullptr;
    BECLOSESTREAM close = nullptr;
    BEVERSION version = nullptr;
    BEWRITEVBRHEADER vbrHeader = nullptr;
    BEWRITEINFOTAG infoTag = nullptr;

    Lame() { dll = LoadLibraryA((ProgramDir() + "\\lame_enc.dll").c_str()); }
    ~Lame()
    {
        if (dll)
            FreeLibrary(dll);
    }
    template <class F>
    void Get(F& fn, const char* name)
    {
        fn = reinterpret_cast<F>(GetProcAddress(dll, name));
    }
};

TEST(LameDll, LoadsAndResolvesItsEntryPoints)
{
    Lame lame;
    ASSERT_NE(nullptr, lame.dll) << GetLastError();
    lame.Get(lame.init, "beInitStream");
    lame.Get(lame.encode, "beEncodeChunk");
    lame.Get(lame.deinit, "beDeinitStream");
    lame.Get(lame.close, "beCloseStream");
    lame.Get(lame.version, "beVersion");
    lame.Get(lame.vbrHeader, "beWriteVBRHeader");
    lame.Get(lame.infoTag, "beWriteInfoTag");
    EXPECT_NE(nullptr, lame.init);
    EXPECT_NE(nullptr, lame.encode);
    EXPECT_NE(nullptr, lame.deinit);
    EXPECT_NE(nullptr, lame.close);
    EXPECT_NE(nullptr, lame.version);
    EXPECT_NE(nullptr, lame.vbrHeader);
    EXPECT_NE(nullptr, lame.infoTag);

    BE_VERSION v = {};
    lame.version(&v);
    EXPECT_EQ(3, v.byMajorVersion);
    EXPECT_EQ(100, v.byMinorVersion);
}

TEST(LameDll, EncodesATwoSecondToneAt128Kbit)
{
    Lame lame;
    ASSERT_NE(nullptr, lame.dll);
    lame.Get(lame.init, "beInitStream");
    lame.Get(lame.encode, "beEncodeChunk");
    lame.Get(lame.deinit, "beDeinitStream");
    lame.Get(lame.close, "beCloseStream");
    lame.Get(lame.infoTag, "beWriteInfoTag");

    BE_CONFIG cfg = {};
    cfg.dwConfig = BE_CONFIG_LAME;
    cfg.format.LHV1.dwStructVersion = 1;
    cfg.format.LHV1.dwStructSize = sizeof cfg;
    cfg.format.LHV1.dwSampleRate = 44100;
    cfg.format.LHV1.nMode = BE_MP3_MODE_JSTEREO;
    cfg.format.LHV1.dwBitrate = 128;
    cfg.format.LHV1.nPreset = LQP_NOPRESET;
    cfg.format.LHV1.dwMpegVersion = MPEG1;
    cfg.format.LHV1.bWriteVBRHeader = TRUE;  // the Info tag of a CBR stream
    DWORD samples = 0, outSize = 0;
    HBE_STREAM stream = 0;
    ASSERT_EQ(BE_ERR_SUCCESSFUL, lame.init(&cfg, &samples, &outSize, &stream));
    EXPECT_EQ(2304u, samples);  // interleaved 16-bit values per chunk

    std::string path = MakeTempDir("lame") + "\\tone.mp3";
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::vector<short> pcm(2 * 44100 * 2);
    for (size_t i = 0; i < pcm.size() / 2; ++i) {
        short s = (short)(12000 * sin(2 * 3.14159265358979 * 440.0 * i / 44100.0));
        pcm[2 * i] = pcm[2 * i + 1] = s;
    }
    std::vector<BYTE> out(outSize);
    for (size_t pos = 0; pos < pcm.size(); pos += samples) {
        DWORD n = (DWORD)std::min<size_t>(samples, pcm.size() - pos), written = 0;
        ASSERT_EQ(BE_ERR_SUCCESSFUL, lame.encode(stream, n, &pcm[pos], out.data(), &written));
        fwrite(out.data(), 1, written, f);
    }
    DWORD written = 0;
    ASSERT_EQ(BE_ERR_SUCCESSFUL, lame.deinit(stream, out.data(), &written));
    fwrite(out.data(), 1, written, f);
    fclose(f);
    EXPECT_EQ(BE_ERR_SUCCESSFUL, lame.infoTag(stream, path.c_str()));  // also frees the stream

    auto a = Probe(path, "a:0", "sample_rate,channels,bit_rate,codec_name");
    EXPECT_EQ("mp3", a["codec_name"]);
    EXPECT_EQ("44100", a["sample_rate"]);
    EXPECT_EQ("2", a["channels"]);
    EXPECT_EQ("128000", a["bit_rate"]);
    auto fmt = Probe(path, "", "duration");
    EXPECT_NEAR(2.0, atof(fmt["duration"].c_str()), 0.06);
}

}  // namespace
