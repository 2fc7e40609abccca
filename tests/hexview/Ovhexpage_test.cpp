#include "Errors.h"
#include "Ovhexpage.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ov {
namespace {

// Bytes whose value tells their offset, so a row read from the wrong place shows.
std::string Pattern(int size) {
    std::string bytes;
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>(i * 7 + i / 256));
    return bytes;
}

TEST(HexPageTest, LoadsRowsAndCountsOnlyTheBytesOfTheFile) {
    test::TTempFolder folder;
    std::string bytes = Pattern(16 * 3 + 5);
    std::string path = folder.Write("a.bin", bytes);
    TOVHexPage page;
    page.SetRows(6);
    EXPECT_EQ(page.SizeInBytes(), 6 * 16);
    ASSERT_TRUE(page.Load(path, static_cast<int64_t>(bytes.size()), 0, 0, 6));
    for (int r = 0; r < 6; ++r) {
        std::string expected = r * 16 < static_cast<int>(bytes.size())
                                   ? bytes.substr(static_cast<size_t>(r) * 16, 16)
                                   : std::string();
        EXPECT_EQ(page.Row(r), expected) << r;
    }
    // Rows 1 and 2 of the file into screen rows 4 and 5.
    ASSERT_TRUE(page.Load(path, static_cast<int64_t>(bytes.size()), 1, 4, 5));
    EXPECT_EQ(page.Row(4), bytes.substr(16, 16));
    EXPECT_EQ(page.Row(5), bytes.substr(32, 16));
    EXPECT_EQ(page.Row(6), "");
}

TEST(HexPageTest, ShrunkOrGrownFileNeverShowsBytesThatAreNotThere) {
    test::TTempFolder folder;
    std::string bytes = Pattern(64);
    std::string path = folder.Write("a.bin", bytes);
    TOVHexPage page;
    page.SetRows(4);
    ASSERT_TRUE(page.Load(path, 64, 0, 0, 4));
    // The file shrinks to 20 bytes: the old bytes stay in the buffer but
    // the rows the read could not fill are empty.
    std::filesystem::resize_file(path, 20);
    ASSERT_TRUE(page.Load(path, 64, 0, 0, 4));
    EXPECT_EQ(page.Row(0), bytes.substr(0, 16));
    EXPECT_EQ(page.Row(1), bytes.substr(16, 4));
    EXPECT_EQ(page.Row(2), "");
    EXPECT_EQ(page.Row(3), "");
    // Growth past the size the view was opened with is not shown either.
    folder.Write("a.bin", Pattern(100));
    ASSERT_TRUE(page.Load(path, 40, 0, 0, 4));
    EXPECT_EQ(page.Row(2).size(), 8u);
    EXPECT_EQ(page.Row(3), "");
}

TEST(HexPageTest, MissingFileLeavesThePageAlone) {
    test::TTempFolder folder;
    std::string bytes = Pattern(32);
    std::string path = folder.Write("a.bin", bytes);
    TOVHexPage page;
    page.SetRows(2);
    ASSERT_TRUE(page.Load(path, 32, 0, 0, 2));
    std::filesystem::remove(path);
    EXPECT_FALSE(page.Load(path, 32, 0, 0, 2));
    EXPECT_EQ(page.Row(1), bytes.substr(16, 16));
    page.Forget(1, 5);
    EXPECT_EQ(page.Row(0), bytes.substr(0, 16));
    EXPECT_EQ(page.Row(1), "");
}

TEST(HexPageTest, ShiftsMoveBytesAndCountsTogether) {
    test::TTempFolder folder;
    std::string bytes = Pattern(16 * 4 + 3);
    std::string path = folder.Write("a.bin", bytes);
    TOVHexPage page;
    page.SetRows(5);
    ASSERT_TRUE(page.Load(path, static_cast<int64_t>(bytes.size()), 0, 0, 5));
    page.ShiftUp(2); // rows 2, 3, 4 now at 0, 1, 2
    EXPECT_EQ(page.Row(0), bytes.substr(32, 16));
    EXPECT_EQ(page.Row(2), bytes.substr(64, 3));
    page.ShiftDown(1); // rows 0, 1, 2, 3 now at 1 .. 4
    EXPECT_EQ(page.Row(1), bytes.substr(32, 16));
    EXPECT_EQ(page.Row(3), bytes.substr(64, 3));
}

TEST(HexPageTest, ResizeKeepsTheCommonRowsAndZeroFrees) {
    test::TTempFolder folder;
    std::string bytes = Pattern(48);
    std::string path = folder.Write("a.bin", bytes);
    TOVHexPage page;
    page.SetRows(3);
    ASSERT_TRUE(page.Load(path, 48, 0, 0, 3));
    page.SetRows(2);
    EXPECT_EQ(page.SizeInBytes(), 32);
    EXPECT_EQ(page.Row(1), bytes.substr(16, 16));
    page.SetRows(4);
    EXPECT_EQ(page.Row(1), bytes.substr(16, 16));
    EXPECT_EQ(page.Row(3), "");
    page.SetRows(0);
    EXPECT_TRUE(page.Empty());
    EXPECT_EQ(page.SizeInBytes(), 0);
}

} // namespace
} // namespace ov
