// Presentations without a window: the store over a folder tree, the slide
// order, and whole conversions through the test PowerPoint (and with none).
#include <gtest/gtest.h>

#include "TestKit.h"
#include "TestPowerPointSetup.h"
#include "drawing/Presentations.h"

#include <string>
#include <vector>

using testkit::FileExists;
using testkit::MakeTempDir;
using testkit::WriteFile;

namespace {

std::string Join(const std::vector<std::string>& v)
{
    std::string s;
    for (const std::string& x : v) s += (s.empty() ? "" : " ") + x;
    return s;
}

TEST(PptStoreTest, ListsPresentationsAndSortsSlidesByTheirNumber)
{
    const std::string root = MakeTempDir("ppt") + "\\ppt\\";
    PptStore store(root);
    store.Rescan();
    // The folder is made when it is missing, and an empty one finds nothing,
    // not even for the empty name.
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(root.c_str()));
    EXPECT_EQ(-1, store.CurrentIndex());
    EXPECT_EQ(nullptr, store.Find(""));
    EXPECT_FALSE(store.LoadSlides(""));

    CreateDirectoryA((root + "Deck").c_str(), nullptr);
    CreateDirectoryA((root + "Plain").c_str(), nullptr);
    for (int k : {3, 10, 1, 2, 9, 4, 8, 5, 7, 6})
        WriteFile(root + "Deck\\_" + std::to_string(k) + ".GIF", "x");
    for (const char* n : {"b.gif", "a.gif", "c_2.gif"}) WriteFile(root + "Plain\\" + n, "x");
    store.Rescan();
    ASSERT_EQ(2, store.Count());
    EXPECT_EQ(0, store.CurrentIndex());

    ASSERT_TRUE(store.LoadSlides("Deck"));
    ASSERT_TRUE(store.LoadSlides("Deck"));  // again: listed once
    const PptEntry* deck = store.Current();
    ASSERT_NE(nullptr, deck);
    EXPECT_EQ("Deck", deck->name);
    EXPECT_EQ("_1 _2 _3 _4 _5 _6 _7 _8 _9 _10", Join(deck->slides));
    EXPECT_EQ(".GIF", deck->extension);
    EXPECT_EQ(root + "Deck\\_10.GIF", deck->SlidePath(9));
    EXPECT_EQ("", store.GetCurrentSlide(10));

    // A name that is not there finds nothing and leaves the current one.
    EXPECT_FALSE(store.LoadSlides("Missing"));
    EXPECT_EQ("Deck", store.Current()->name);

    // Names without a number keep the order the folder lists them in,
    // before the numbered ones.
    std::vector<std::string> listed = {"b", "a", "c_2", "z", "c_1"};
    SortSlides(listed);
    EXPECT_EQ("b a z c_1 c_2", Join(listed));

    // Slide paging stays within the slides.
    EXPECT_FALSE(store.SetCurrentSlideIndex(-1));
    EXPECT_TRUE(store.SetCurrentSlideIndex(99));
    EXPECT_EQ(9, store.CurrentSlideIndex());
    EXPECT_EQ(4, store.SlideIndexOf("_5"));
    EXPECT_EQ(0, store.SlideIndexOf("nope"));
}

TEST(PptNamesTest, TitlesTargetsAndNumbers)
{
    EXPECT_EQ("C:\\p\\ppt\\Deck.gif", GifTargetFor("C:\\p\\ppt\\Deck\\"));
    EXPECT_EQ("C:\\p\\ppt\\Deckgif", GifTargetFor("C:\\p\\ppt\\Deck"));
    EXPECT_EQ("My.Deck", PresentationTitle("D:\\talks\\My.Deck.pptx"));
    EXPECT_EQ("x", PresentationTitle("x"));
    EXPECT_EQ(12, TrailingNumber("幻灯片12"));
    EXPECT_EQ(0, TrailingNumber("12a"));
    EXPECT_EQ(7, TrailingNumber("_007"));
}

class PptConversionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        work_ = MakeTempDir("pptconvert");
        folder_ = work_ + "\\ppt\\";
    }
    std::string Deck(const std::string& name, const std::string& text)
    {
        const std::string path = work_ + "\\" + name;
        WriteFile(path, text);
        return path;
    }
    std::string work_, folder_;
};

TEST_F(PptConversionTest, TheTestPowerPointWritesSlidesThatLoadInOrder)
{
    TestPowerPointRegistration server;
    ASSERT_TRUE(server.ok());
    PptConversion c = ConvertPresentation(Deck("Lecture.pptx", "slides=10"), folder_);
    ASSERT_TRUE(c.result.ok) << c.result.error;
    // Presentations, Open, SaveAs, Close, and PowerPoint quit at the end.
    EXPECT_EQ("2001 2004 2036 2039 2021 ", TestPowerPointRegistration::Calls());
    EXPECT_EQ("Lecture", c.title);
    const PptEntry* entry = c.store.Current();
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ("Lecture", entry->name);
    EXPECT_EQ("_1 _2 _3 _4 _5 _6 _7 _8 _9 _10", Join(entry->slides));
    EXPECT_FALSE(FileExists(folder_ + "Lecture\\幻灯片1.GIF"));
    // A real GIF, read by a decoder other than Wine's: slide 2's colour
    // inside a black border.
    testkit::DecodedImage slide = testkit::DecodeImage(entry->SlidePath(1));
    ASSERT_EQ(320, slide.width);
    COLORREF c2 = SlideColour(2);
    EXPECT_EQ((unsigned)(GetRValue(c2) << 16 | GetGValue(c2) << 8 | GetBValue(c2)),
              slide.At(160, 120));
    EXPECT_EQ(0u, slide.At(318, 238));

    // A presentations folder under a folder named with the slide word: only
    // the file names change.
    const std::string odd = work_ + "\\幻灯片\\ppt\\";
    CreateDirectoryA((work_ + "\\幻灯片").c_str(), nullptr);
    PptConversion d = ConvertPresentation(Deck("Short.ppt", "slides=2"), odd);
    ASSERT_TRUE(d.result.ok) << d.result.error;
    EXPECT_TRUE(FileExists(odd + "Short\\_2.GIF"));
}

TEST_F(PptConversionTest, FailuresAreToldAndLeaveTheStoreUsable)
{
    {
        TestPowerPointRegistration server;
        ASSERT_TRUE(server.ok());
        // A file PowerPoint cannot read.
        PptConversion bad = ConvertPresentation(Deck("Broken.pptx", "not a deck"), folder_);
        EXPECT_FALSE(bad.result.ok);
        EXPECT_STREQ(kPptConvertFailText, bad.result.error.c_str());
        EXPECT_EQ(nullptr, bad.store.Find("Broken"));
    }
    // No PowerPoint at all.
    TestPowerPointRegistration none(false);
    PptConversion missing = ConvertPresentation(Deck("Deck.pptx", "slides=3"), folder_);
    EXPECT_FALSE(missing.result.ok);
    EXPECT_STREQ(kPptNoPowerPointText, missing.result.error.c_str());
    EXPECT_FALSE(FileExists(folder_ + "Deck\\_1.GIF"));

    // Nothing to rename in a folder without slides.
    CreateDirectoryA((work_ + "\\empty").c_str(), nullptr);
    PptResult r = RenameSlideFiles(work_ + "\\empty\\");
    EXPECT_FALSE(r.ok);
    EXPECT_STREQ(kPptNoGifText, r.error.c_str());
}

}  // namespace
