// The program's skin (resource 130) passes the skin check; the fixture
// package (resource 131, tests/skin/fixtures) shows that each silent fault
// fails it, at its file and line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinCheck.h"

namespace {

std::string Lines(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
}

std::vector<std::string> FixtureProblems(const std::string& layout)
{
    std::vector<std::string> mine;
    for (const std::string& p : skincheck::CheckSkinPackage(131).problems)
        if (p.compare(0, layout.size() + 1, layout + ":") == 0) mine.push_back(p);
    return mine;
}

}  // namespace

TEST(SkinCheck, EveryLayoutOfTheProgramsSkinPasses)
{
    skincheck::Result r = skincheck::CheckSkinPackage(130);
    EXPECT_FALSE(r.layouts.empty());
    EXPECT_TRUE(r.problems.empty()) << Lines(r.problems);
}

TEST(SkinCheck, AMisspeltAttributeFailsAtItsLine)
{
    EXPECT_EQ(
        std::vector<std::string>{
            "misspelt_attribute.xml:7: <Button> has no attribute \"normalimge\""},
        FixtureProblems("misspelt_attribute.xml"));
}

TEST(SkinCheck, AMissingPictureFailsAtItsLine)
{
    EXPECT_EQ(std::vector<std::string>{"missing_picture.xml:7: hotimage: image \"absent.png\" "
                                       "is not in the skin package"},
              FixtureProblems("missing_picture.xml"));
}

TEST(SkinCheck, EveryOtherSilentFaultFailsAndTheProgramsTagsPass)
{
    const std::vector<std::string> expected = {
        "other_faults.xml:3: <Window> has no attribute \"sizbox\"",
        "other_faults.xml:4: <Font> has no attribute \"defualt\"",
        "other_faults.xml:5: hotimage: image \"gone.png\" is not in the skin package",
        "other_faults.xml:6: <Default> for <Buton>, a tag nobody makes",
        "other_faults.xml:8: <Font> is read only directly under <Window>",
        "other_faults.xml:9: <HorizontalLayout> has no attribute \"railimge\" (in "
        "\"vscrollbarstyle\")",
        "other_faults.xml:10: <Combo> has no attribute \"insett\" (in \"dropbox\")",
        "other_faults.xml:11: unknown control <Lable> skipped with its children",
        "other_faults.xml:12: <Label> cannot hold controls; its children are skipped",
        "other_faults.xml:13: normalimage: malformed image string \"file='dot.png' "
        "corner='1,1,1'\"",
        "other_faults.xml:7: bkimage: image \"broken.png\" does not decode (not a picture GDI+ can "
        "decode)",
    };
    std::vector<std::string> found = FixtureProblems("other_faults.xml");
    EXPECT_EQ(expected, found) << Lines(found);
}
