// The video editor's logic without its window: the timeline's arithmetic,
// the edit history with its step names, the converter's command lines for
// cut and keep, the ranges refused, the working folders and their
// clean-up, and the saved file's name.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/ConcatList.h"
#include "library/EditHistory.h"
#include "library/EditPlan.h"
#include "library/EditTimeline.h"
#include "library/EditWorker.h"

#include <set>

namespace {

EditRange Range(double start, double end, double duration = 60000)
{
    EditRange r;
    r.startMs = start;
    r.endMs = end;
    r.durationMs = duration;
    return r;
}

TEST(EditTimeline, TimesTicksAndLabelsOfASixtySecondVideo)
{
    EXPECT_EQ("00:00:00", FormatMsAsHms(999));
    EXPECT_EQ("01:02:03", FormatMsAsHms(3723999));
    EXPECT_EQ("01:00:00", FormatMsAsHms(61.0 * 3600 * 1000));  // hours modulo 60
    EXPECT_EQ("00:00:00", FormatMsAsHms(-5000));

    // A client 632 px wide leaves a track of 616 px: 600 px of 100 ms.
    EditTimeline t;
    t.Layout(632, 600, 60000);
    EXPECT_EQ(8, t.Track().left);
    EXPECT_EQ(458, t.Track().top);
    EXPECT_DOUBLE_EQ(100.0, t.MsPerPixel());
    EXPECT_DOUBLE_EQ(5000.0, t.TickStepMs());  // 1 s would be 10 px apart
    EXPECT_EQ(" 0:00", EditTimeline::TickLabel(0, 5000));
    EXPECT_EQ("00:05", EditTimeline::TickLabel(1, 5000));
    EXPECT_EQ("01:15", EditTimeline::TickLabel(15, 5000));
    EXPECT_DOUBLE_EQ(20000.0, t.MsAt(t.Left() + 200));
    // Beyond either end of the track a pixel reads as that end.
    EXPECT_DOUBLE_EQ(0.0, t.MsAt(-40));
    EXPECT_DOUBLE_EQ(60000.0, t.MsAt(5000));
    EXPECT_DOUBLE_EQ(t.Left() + 150.0, t.PixelOf(15000));

    // Nothing to show: painted as ten seconds, edits work out nothing.
    t.Layout(632, 600, 0);
    EXPECT_DOUBLE_EQ(0.0, t.MsPerPixel());
    EXPECT_DOUBLE_EQ(1000.0, t.TickStepMs());
    // An hour on the same track: the coarsest step that leaves 30 px.
    t.Layout(632, 600, 3600000);
    EXPECT_DOUBLE_EQ(300000.0, t.TickStepMs());

    TimelineSelection s{300, 120};
    s.Normalize();
    EXPECT_EQ(120, s.left);
    EXPECT_EQ(300, s.right);
    TimelineSelection none{77, 77};
    none.Normalize();
    EXPECT_EQ(0, none.left);
    EXPECT_TRUE(none.Empty());
}

TEST(EditPlan, KeepAndTheThreeKindsOfCut)
{
    const std::string in = "C:\\v\\a.avi", dir = "C:\\t\\VintraCamTemp\\a";
    EditPlan keep = PlanEdit(EditKind::Keep, in, dir, 1, Range(10000, 50000));
    ASSERT_EQ(1u, keep.runs.size());
    EXPECT_EQ(dir + "\\~vintratemp_Merge1.avi", keep.output);
    EXPECT_EQ(" -y -accurate_seek -i \"C:\\v\\a.avi\" -ss 00:00:10 -t 00:00:40 -codec copy "
              "-avoid_negative_ts 1 \"" + keep.output + "\"",
              keep.runs[0].arguments);
    EXPECT_DOUBLE_EQ(40000, keep.expectedMs);

    // From the start: what follows the range.
    EditPlan head = PlanEdit(EditKind::Cut, in, dir, 2, Range(500, 10000));
    ASSERT_EQ(1u, head.runs.size());
    EXPECT_NE(std::string::npos, head.runs[0].arguments.find("-ss 00:00:10 -t 00:00:50 "));
    EXPECT_DOUBLE_EQ(50000, head.expectedMs);
    // To the end: what comes before it.
    EditPlan tail = PlanEdit(EditKind::Cut, in, dir, 3, Range(20000, 59500));
    ASSERT_EQ(1u, tail.runs.size());
    EXPECT_NE(std::string::npos, tail.runs[0].arguments.find("-ss 00:00:00 -t 00:00:20  -codec"));
    EXPECT_DOUBLE_EQ(20000, tail.expectedMs);

    // In the middle: both parts re-encoded, then joined from a list of
    // absolute paths, which the converter takes only with -safe 0.
    EditPlan mid = PlanEdit(EditKind::Cut, in, dir, 4, Range(20000, 30000));
    ASSERT_EQ(3u, mid.runs.size());
    EXPECT_EQ(1, mid.runs[0].stage);
    EXPECT_EQ(3, mid.runs[2].stage);
    EXPECT_NE(std::string::npos, mid.runs[0].arguments.find("-ss 00:00:00 -t 00:00:20  -i \"C:\\v\\a.avi\""));
    EXPECT_NE(std::string::npos, mid.runs[1].arguments.find("-ss 00:00:30 -t 00:00:30  -i"));
    EXPECT_EQ(" -y -f concat -safe 0 -i \"" + dir + "\\concat_file.txt\" -c copy \"" + mid.output + "\"",
              mid.runs[2].arguments);
    EXPECT_EQ("file '" + dir + "\\~vintratemp_Cut1.avi'\nfile '" + dir + "\\~vintratemp_Cut2.avi'\n",
              mid.joinList);
    EXPECT_DOUBLE_EQ(50000, mid.expectedMs);

    EXPECT_EQ("file 'C:\\Users\\O'\\''Brien\\x.avi'\n", JoinListLine("C:\\Users\\O'Brien\\x.avi"));
}

TEST(EditPlan, RangesThatCannotBeEditedAreRefusedWithAReason)
{
    // The whole video, or what is left shorter than a second of it.
    EXPECT_FALSE(CheckEditRange(EditKind::Cut, Range(400, 59600)).empty());
    EXPECT_FALSE(CheckEditRange(EditKind::Cut, Range(0, 60000)).empty());
    // A file whose length is unknown is not cut at 00:00:00.
    EXPECT_FALSE(CheckEditRange(EditKind::Keep, Range(0, 0, 0)).empty());
    EXPECT_FALSE(CheckEditRange(EditKind::Cut, Range(1000, 2000, 0)).empty());
    // A kept range must hold a whole second: the converter gets seconds.
    EXPECT_FALSE(CheckEditRange(EditKind::Keep, Range(10000, 10900)).empty());
    EXPECT_EQ("", CheckEditRange(EditKind::Keep, Range(10000, 11000)));
    EXPECT_EQ("", CheckEditRange(EditKind::Cut, Range(0, 59000)));
    EXPECT_EQ("", CheckEditRange(EditKind::Cut, Range(1000, 60000)));
    EXPECT_EQ("", CheckEditRange(EditKind::Cut, Range(20000, 30000)));
}

TEST(EditHistory, CutUndoCutCutNeverWritesOntoItsInput)
{
    EditHistory h;
    h.Reset("D:\\v\\a.avi");
    EXPECT_FALSE(h.Undo());
    EXPECT_FALSE(h.Redo());
    EXPECT_FALSE(h.HasEdits());
    std::set<std::string> written;
    auto step = [&] {
        EditPlan p = PlanEdit(EditKind::Cut, h.Current(), "T", h.NextStepNumber(), Range(20000, 30000));
        EXPECT_NE(h.Current(), p.output);
        EXPECT_TRUE(written.insert(p.output).second) << p.output << " written twice";
        h.Append(p.output);
    };
    step();
    ASSERT_TRUE(h.Undo());
    EXPECT_EQ("D:\\v\\a.avi", h.Current());
    step();  // drops the undone step
    step();
    EXPECT_EQ(3u, h.Count());
    EXPECT_EQ(2, h.Index());
    EXPECT_FALSE(h.Redo());
    ASSERT_TRUE(h.Undo());
    ASSERT_TRUE(h.Undo());
    EXPECT_FALSE(h.Undo());
    ASSERT_TRUE(h.Redo());
    EXPECT_EQ(h.Entries()[1], h.Current());
    EXPECT_TRUE(h.HasEdits());

    h.Reset("");
    EXPECT_EQ(-1, h.Index());
    EXPECT_EQ("", h.Current());
}

TEST(EditPlan, WorkingFoldersStayBelowTheirRoot)
{
    EXPECT_EQ("a", EditBaseName("D:\\v\\a.b.avi"));
    // A name that begins with '.' still gets a folder of its own.
    EXPECT_EQ("video", EditBaseName("D:\\v\\.avi"));
    EXPECT_EQ("C:\\t\\VintraCamTemp\\video", EditWorkFolder("C:\\t\\", "D:\\v\\.x.avi"));
    EXPECT_EQ("C:\\t\\VintraCamTemp\\a", EditWorkFolder("C:\\t", "a.avi"));

    const std::string root = "C:\\t\\VintraCamTemp";
    EXPECT_TRUE(IsInsideEditTempRoot(root + "\\a", root));
    EXPECT_TRUE(IsInsideEditTempRoot("c:\\T\\vintracamtemp\\a\\b", root));
    EXPECT_FALSE(IsInsideEditTempRoot(root, root));
    EXPECT_FALSE(IsInsideEditTempRoot(root + "\\", root));
    EXPECT_FALSE(IsInsideEditTempRoot(root + "\\..", root));
    EXPECT_FALSE(IsInsideEditTempRoot(root + "\\a\\..\\..\\x", root));
    EXPECT_FALSE(IsInsideEditTempRoot(root + "\\.", root));
    EXPECT_FALSE(IsInsideEditTempRoot("C:\\t\\VintraCamTempX\\a", root));
    EXPECT_FALSE(IsInsideEditTempRoot("C:\\t\\a", root));

    EXPECT_EQ("D:\\v\\a-cut.avi", SavedEditPath("D:\\v\\a.b.avi", nullptr));
    std::set<std::string> taken = {"D:\\v\\a-cut.avi", "D:\\v\\a-cut(2).avi"};
    EXPECT_EQ("D:\\v\\a-cut(3).avi",
              SavedEditPath("D:\\v\\a.c.avi", [&](const std::string& p) { return taken.count(p) > 0; }));
}

TEST(EditWorker, CleanupRemovesWorkingFoldersAndNothingElse)
{
    const std::string base = testkit::MakeTempDir("editclean");
    const std::string root = EditTempRoot(base);
    const std::string outside = base + "\\keep";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(outside.c_str(), nullptr));
    testkit::WriteFile(outside + "\\x.txt", "x");
    for (const char* name : {"a", "video", "b"}) {
        const std::string d = root + "\\" + name;
        ASSERT_TRUE(CreateDirectoryA(d.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((d + "\\sub").c_str(), nullptr));
        testkit::WriteFile(d + "\\sub\\~vintratemp_Merge1.avi", "data");
    }
    testkit::WriteFile(root + "\\loose.txt", "stays");

    // A root that is not the editor's is not cleaned at all.
    EXPECT_EQ(0, CleanupEditWorkFolders(base));
    EXPECT_EQ(0, CleanupEditWorkFolders(root + "\\"));
    EXPECT_TRUE(testkit::FileExists(outside + "\\x.txt"));
    EXPECT_EQ(3, CleanupEditWorkFolders(root));
    for (const char* name : {"a", "video", "b"}) EXPECT_FALSE(testkit::FileExists(root + "\\" + name));
    EXPECT_TRUE(testkit::FileExists(root + "\\loose.txt"));
    EXPECT_TRUE(testkit::FileExists(outside + "\\x.txt"));
}

}  // namespace
