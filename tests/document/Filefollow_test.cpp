// The follower against files the test writes itself, each change made
// between two direct Check calls: no watcher, no timing.

#include "Filefollow.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace ov {
namespace {

void Append(const std::string& path, const std::string& text) {
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

    Append(log, "half");
    EXPECT_EQ(follower.Check(), TFileChange::Appended);
    EXPECT_EQ(follower.PreviousSize(), 13);
    Append(log, " done\n");
    EXPECT_EQ(follower.Check(), TFileChange::Appended);
    EXPECT_EQ(follower.PreviousSize(), 17);
    EXPECT_EQ(follower.Check(), TFileChange::None);

    // copytruncate: shorter.
    Replace(log, "");
    EXPECT_EQ(follower.Check(), TFileChange::Rewritten);
    Append(log, "new 1\n");
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

} // namespace
} // namespace ov
