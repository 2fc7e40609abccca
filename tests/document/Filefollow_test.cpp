// The follower against files the test writes itself, each change made
// between two direct Check calls: no watcher, no timing.

#include "Filefollow.h"
#include "Ovstrings.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <climits>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace ov {
namespace {

void AppendTo(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::app) << text;
}

void Replace(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// One log through the life a followed log has: lines and half lines added,
// cut short by copying and truncating it (also when the writer has passed
// the old size again before the next look), rotated by renaming, deleted
// and created again. Each change is told once; a look without a change
// tells nothing.
TEST(FileFollower, TellsAppendsRewritesReplacementsAndDeletion) {
    test::TTempFolder folder;
    const std::string log = folder.Write("app.log", "first\nsecond\n");
    TFileFollower follower(log);
    EXPECT_EQ(follower.Check(), TFileChange::None);
    EXPECT_EQ(follower.State().Size, 13);

    AppendTo(log, "half");
    EXPECT_EQ(follower.Check(), TFileChange::Appended);
    EXPECT_EQ(follower.PreviousSize(), 13);
    AppendTo(log, " done\n");
    EXPECT_EQ(follower.Check(), TFileChange::Appended);
    EXPECT_EQ(follower.PreviousSize(), 17);
    EXPECT_EQ(follower.Check(), TFileChange::None);

    // copytruncate: shorter.
    Replace(log, "");
    EXPECT_EQ(follower.Check(), TFileChange::Rewritten);
    AppendTo(log, "new 1\n");
    EXPECT_EQ(follower.Check(), TFileChange::Appended);
    // Cut short and written past the old size between two looks: longer,
    // but the bytes before the old end are not the ones that stood there.
    Replace(log, "after the cut, a longer line\n");
    EXPECT_EQ(follower.Check(), TFileChange::Rewritten);
    // As long as before, but written since.
    Replace(log, "AFTER THE CUT, A LONGER LINE\n");
    // A file system whose times are coarse may not tell this write apart.
    const TFileChange sameSize = follower.Check();
    EXPECT_TRUE(sameSize == TFileChange::Rewritten || sameSize == TFileChange::None);

    // Rotation by renaming: the name now holds a new file.
    ASSERT_EQ(std::rename(log.c_str(), (log + ".1").c_str()), 0);
    EXPECT_EQ(follower.Check(), TFileChange::Gone);
    EXPECT_EQ(follower.Check(), TFileChange::None);
    folder.Write("app.log", "fresh\n");
    EXPECT_EQ(follower.Check(), TFileChange::Replaced);
    ASSERT_EQ(std::rename((log + ".1").c_str(), log.c_str()), 0);
    EXPECT_EQ(follower.Check(), TFileChange::Replaced);

    ASSERT_EQ(std::remove(log.c_str()), 0);
    EXPECT_EQ(follower.Check(), TFileChange::Gone);
    EXPECT_FALSE(follower.State().Exists);

    EXPECT_EQ(TFileFollower().Check(), TFileChange::None);
}

std::vector<std::string> LinesOf(const TOVStringList& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.emplace_back(list.GetView(i));
    return lines;
}

// A mapped list takes what its file grew by in place, against the lines of
// the whole file read anew after each step: a half line goes on, a CR at the
// old end pairs with an LF after it, a growth beyond the first part is
// indexed by the worker, a long half line goes on, and the text of earlier
// lines stays where it was. The lines are read before each growth, so that
// the reader's cached group of the last lines must be found again.
// A list whose text another list shares, or a file cut short, is not grown.
TEST(MappedGrowth, AGrownFileReadsAsTheWholeFileReadAnew) {
    test::TTempFolder folder;
    const std::string path = folder.Write("grow.log", "first\nsecond\nhal");
    TOVStringList list;
    TLoadPolicy policy;
    policy.FirstPartBytes = 64;
    list.SetLoadPolicy(policy);
    ASSERT_TRUE(list.LoadViewedFile(path, TCodingChoice()));
    list.FinishLoading();
    ASSERT_TRUE(list.Mapped());
    const char* first = list.Get(0);
    int appended = 0;
    int grownFrom = -1;
    list.OnAppend = [&](TOVStringList* sender) {
        ++appended;
        grownFrom = sender->GrownFrom();
    };
    std::string big;
    for (int i = 0; i < 300; ++i)
        big += "line " + std::to_string(i) + "\n";
    std::string shortLines;
    for (int i = 0; i < 20; ++i)
        shortLines += std::to_string(i) + "\n";
    // The last steps make the half last line one whose end is kept (a long
    // line), end it, and fill its group past the sixteen lines of one.
    const std::string steps[] = {"f line\n", "next\r", "\nafter a pair\r\n", "no end", big, "x",
                                 std::string(20000, 'L'), std::string(3000, 'M'), "end\n" + shortLines};
    for (const std::string& step : steps) {
        const int before = list.Count();
        std::vector<std::string> lines = LinesOf(list);
        AppendTo(path, step);
        ASSERT_TRUE(list.GrowMappedText()) << step;
        EXPECT_EQ(grownFrom, before - 1);
        list.FinishLoading();
        // Read before any other list's lines, which would take the cache.
        lines = LinesOf(list);
        TOVStringList fresh;
        ASSERT_TRUE(fresh.LoadViewedFile(path, TCodingChoice()));
        fresh.FinishLoading();
        ASSERT_EQ(lines, LinesOf(fresh)) << step;
        EXPECT_EQ(list.GrownFrom(), INT_MAX);
    }
    EXPECT_EQ(appended, 9);
    EXPECT_EQ(list.Get(0), first);
    EXPECT_FALSE(list.GrowMappedText()); // nothing new

    TOVStringList sharer;
    ASSERT_TRUE(sharer.ShareMappedText(list));
    AppendTo(path, "more\n");
    EXPECT_FALSE(list.GrowMappedText());
    sharer.Clear();
    EXPECT_TRUE(list.GrowMappedText());

    ASSERT_EQ(::truncate(path.c_str(), 10), 0);
    EXPECT_FALSE(list.GrowMappedText());
}

} // namespace
} // namespace ov
