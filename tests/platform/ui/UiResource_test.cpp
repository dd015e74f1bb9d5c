// The skin package (the "ZIPRES" resource 130 of this test program, packed
// from tests/platform/ui/skin), the folder fallback, layout markup and
// image decoding.
#include <gtest/gtest.h>

#include <thread>

#include "TestKit.h"
#include "UiTestUtil.h"

using namespace DuiLib;

namespace {

std::string ResourceBytes()
{
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(130), "ZIPRES");
    HGLOBAL mem = res ? LoadResource(nullptr, res) : nullptr;
    const char* p = mem ? static_cast<const char*>(LockResource(mem)) : nullptr;
    return p ? std::string(p, SizeofResource(nullptr, res)) : std::string();
}

// The skin folder of the sources, through Wine's Z: drive.
std::string SourceSkinDir()
{
    std::string dir = "Z:" ORBISK_UI_TEST_SKIN_DIR;
    for (char& c : dir)
        if (c == '/') c = '\\';
    return dir;
}

class SkinPackage : public ::testing::Test {
protected:
    void SetUp() override
    {
        CResourceStore::FreeResourceZip();
        CResourceStore::SetResourcePath("");
        ASSERT_TRUE(CPaintManagerUI::LoadResourceZip(MAKEINTRESOURCEA(130)));
    }
    void TearDown() override { CResourceStore::FreeResourceZip(); }
};

}  // namespace

TEST_F(SkinPackage, EntriesComeFromTheExecutablesResource)
{
    std::string data, source;
    ASSERT_TRUE(CResourceStore::Load("", "test_window.xml", &data, &source));
    EXPECT_EQ("zip:test_window.xml", source);
    // Deflated in the package, byte for byte the file of the folder.
    EXPECT_EQ(testkit::ReadFile(SourceSkinDir() + "\\test_window.xml"), data);

    // A window's skin folder is tried first, then the package root; names
    // ignore case and either slash.
    ASSERT_TRUE(CResourceStore::Load("skin\\", "TEST_WINDOW.XML", &data, &source));
    EXPECT_EQ("zip:TEST_WINDOW.XML", source);
    CZipArchive zip;
    std::string bytes = ResourceBytes();
    ASSERT_TRUE(zip.Open(bytes.data(), bytes.size()));
    EXPECT_TRUE(zip.Contains("/Panel.png"));
    EXPECT_FALSE(zip.Contains("panel.png.bak"));
    EXPECT_FALSE(CResourceStore::Load("", "nowhere.xml", &data));
}

TEST_F(SkinPackage, TheFolderServesWhatThePackageLacks)
{
    std::string dir = testkit::MakeTempDir("skin");
    CreateDirectoryA((dir + "\\skin").c_str(), nullptr);
    testkit::WriteFile(dir + "\\skin\\only_on_disk.xml", "<Window/>");
    testkit::WriteFile(dir + "\\skin\\test_window.xml", "<Window>disk</Window>");
    CResourceStore::SetResourcePath(dir.c_str());
    std::string data, source;
    ASSERT_TRUE(CResourceStore::Load("skin", "only_on_disk.xml", &data, &source));
    EXPECT_EQ("file:" + dir + "\\skin\\only_on_disk.xml", source);
    // The package wins over the folder.
    ASSERT_TRUE(CResourceStore::Load("skin", "test_window.xml", &data, &source));
    EXPECT_EQ("zip:test_window.xml", source);
    // Without a package the folder is all there is.
    CResourceStore::FreeResourceZip();
    ASSERT_TRUE(CResourceStore::Load("skin", "test_window.xml", &data, &source));
    EXPECT_EQ("<Window>disk</Window>", data);
    // An absolute path is read as it is (user pictures).
    ASSERT_TRUE(CResourceStore::Load("skin", (dir + "\\skin\\only_on_disk.xml").c_str(), &data));
    EXPECT_EQ("<Window/>", data);
}

TEST(ZipArchive, DamagedPackagesAreRefusedWithAReason)
{
    uitest::LogCapture quiet;
    std::string good = ResourceBytes();
    ASSERT_FALSE(good.empty());
    CZipArchive zip;
    EXPECT_FALSE(zip.Open("not a zip at all", 16));
    EXPECT_FALSE(zip.LastError().empty());
    EXPECT_FALSE(zip.Open(good.data(), good.size() / 2));  // the directory is at the end

    // A flipped byte inside an entry's data fails its check, not the program.
    ASSERT_TRUE(zip.Open(good.data(), good.size()));
    std::string entry;
    ASSERT_TRUE(zip.Read("test_window.xml", &entry));
    std::string damaged = good;
    size_t at = damaged.find("test_window.xml");  // local header, data follows
    ASSERT_NE(std::string::npos, at);
    damaged[at + 15 + 40] ^= 0x5A;
    ASSERT_TRUE(zip.Open(damaged.data(), damaged.size()));
    EXPECT_FALSE(zip.Read("test_window.xml", &entry));
    EXPECT_TRUE(entry.empty());
    EXPECT_NE(std::string::npos, zip.LastError().find("test_window.xml"));
}

TEST_F(SkinPackage, MalformedLayoutReportsWhereAndWhy)
{
    uitest::LogCapture log;
    CMarkup xml;
    EXPECT_FALSE(xml.LoadFromFile("", "broken.xml"));
    const std::string& err = xml.GetLastErrorMessage();
    EXPECT_NE(std::string::npos, err.find("broken.xml")) << err;
    EXPECT_NE(std::string::npos, err.find("line 5")) << err;

    CDialogBuilder builder;
    EXPECT_EQ(nullptr, builder.Create("broken.xml"));
    EXPECT_TRUE(log.Contains("broken.xml: XML error at line 5")) << builder.GetLastError();
    EXPECT_EQ(nullptr, builder.Create("absent.xml"));
    EXPECT_TRUE(log.Contains("layout \"absent.xml\" not found"));
    EXPECT_EQ(nullptr, builder.Create("<Window><VerticalLayout></Window>"));
}

TEST_F(SkinPackage, Utf8LayoutTextBecomesGbk)
{
    CMarkup xml;
    ASSERT_TRUE(xml.LoadFromFile("", "test_window.xml"));
    CMarkupNode root = xml.GetRoot();
    EXPECT_STREQ("Window", root.GetName());
    CDialogBuilder builder;
    CControlUI* tree = builder.Create("test_window.xml");
    ASSERT_NE(nullptr, tree);
    CControlUI* greeting = nullptr;
    // Found by walking, without a window.
    auto* body = static_cast<CContainerUI*>(tree->GetInterface("IContainer"));
    ASSERT_NE(nullptr, body);
    greeting = body->FindSubControl("greeting");
    ASSERT_NE(nullptr, greeting);
    EXPECT_STREQ("你好，世界！这是测试窗口。", greeting->GetText());  // a GBK literal
    EXPECT_EQ(std::string("\xc4\xe3\xba\xc3"), greeting->GetText().Left(4).Str());
    delete tree;

    // Text handed over in memory is already in the code page.
    CControlUI* label = builder.Create("<Label name=\"l\" text=\"确定\"/>");
    ASSERT_NE(nullptr, label);
    EXPECT_STREQ("确定", label->GetText());
    delete label;
}

TEST_F(SkinPackage, PicturesBecomePremultipliedPixels)
{
    std::string png;
    ASSERT_TRUE(CResourceStore::Load("", "quad.png", &png));
    std::string why;
    TImageInfo* img = DecodeImage(png.data(), png.size(), 0, &why);
    ASSERT_NE(nullptr, img) << why;
    EXPECT_EQ(2, img->nX);
    EXPECT_EQ(2, img->nY);
    EXPECT_TRUE(img->bAlpha);
    const DWORD* px = reinterpret_cast<const DWORD*>(img->pBits);
    EXPECT_EQ(0xFFFF0000u, px[0]);  // opaque red
    EXPECT_EQ(0x80008000u, px[1]);  // green at alpha 128, premultiplied
    EXPECT_EQ(0x00000000u, px[2]);  // transparent
    EXPECT_EQ(0xFFFFFFFFu, px[3]);
    FreeImage(img);

    // A mask colour becomes transparent.
    img = DecodeImage(png.data(), png.size(), 0xFFFF0000, &why);
    ASSERT_NE(nullptr, img);
    EXPECT_EQ(0u, reinterpret_cast<const DWORD*>(img->pBits)[0]);
    FreeImage(img);

    EXPECT_EQ(nullptr, DecodeImage("GIF? no", 7, 0, &why));
    EXPECT_FALSE(why.empty());
}

TEST_F(SkinPackage, MissingPicturesAreLoggedOnceAndCostNothingLater)
{
    CImageCache::Clear();
    uitest::LogCapture log;
    EXPECT_EQ(nullptr, CImageCache::Get("", "no_such_picture.png"));
    EXPECT_EQ(nullptr, CImageCache::Get("", "no_such_picture.png"));
    ASSERT_EQ(1u, log.lines().size());
    EXPECT_NE(std::string::npos, log.lines()[0].find("no_such_picture.png"));

    // Worker threads may ask at the same time: one picture, one decode.
    const TImageInfo* seen[4] = {};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&seen, i] { seen[i] = CImageCache::Get("", "panel.png"); });
    for (auto& t : threads) t.join();
    ASSERT_NE(nullptr, seen[0]);
    for (auto* p : seen) EXPECT_EQ(seen[0], p);
    EXPECT_EQ(24, seen[0]->nX);
    EXPECT_EQ(1u, log.lines().size());
}
