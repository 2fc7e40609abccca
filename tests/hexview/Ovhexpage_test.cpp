#include "Codepage.h"
#include "Errors.h"
#include "Ovhexlayout.h"
#include "Ovhexpage.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <random>

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

// What screen row r shows in its character column, as Unicode.
std::u16string ShownCharacters(const TOVHexPage& page, int screenRow) {
    return WideFromAnsi(HexCharColumnBytes(page.Row(screenRow), page.BeginsInsideChar(screenRow)));
}

// A CP949 source file whose syllable "하" (C7 CF) is cut by the row border
// at 0x110: that row begins CF BC BF BF A1, the second byte of "하" and then
// "셀에". Its first byte shows as "."; paired with the byte after it, it
// would show "究", which is not in the file.
TEST(HexPageTest, ARowBeginningWithTheSecondByteOfACharacterShowsItAsADot) {
    std::string text;
    while (text.size() < 0x10F)
        text += "/* sample */\n";
    text.resize(0x10F);
    text += AnsiFromUtf8("하셀에 0123456789 끝");
    ASSERT_EQ(static_cast<unsigned char>(text[0x110]), 0xCF);
    test::TTempFolder folder;
    const std::string path = folder.Write("sample.c", text);
    const auto size = static_cast<int64_t>(text.size());
    const std::u16string row110 = u".셀에.0123456789"; // the blank shows as "." too
    TOVHexPage page;
    page.SetRows(3);
    // As the first row of a read, which looks back into the file.
    ASSERT_TRUE(page.Load(path, size, 0x11, 0, 3));
    EXPECT_TRUE(page.BeginsInsideChar(0));
    EXPECT_EQ(ShownCharacters(page, 0), row110);
    EXPECT_EQ(ShownCharacters(page, 1), u".끝");
    // As a later row of a read, which follows from the row before it.
    ASSERT_TRUE(page.Load(path, size, 0x10, 0, 3));
    EXPECT_FALSE(page.BeginsInsideChar(0));
    EXPECT_TRUE(page.BeginsInsideChar(1));
    EXPECT_EQ(ShownCharacters(page, 1), row110);
    // Moved with the page's rows when the view scrolls.
    page.ShiftDown(1);
    ASSERT_TRUE(page.Load(path, size, 0x0F, 0, 1));
    EXPECT_EQ(ShownCharacters(page, 2), row110);
}

// Random CP949 text, dense or sparse in double-byte characters (down to one
// run of them over the whole file), read as the view reads it: a page at a
// random row, then scrolled up and down by reading the rows that come into
// view. Joined over the rows shown, the characters are those of the whole
// text decoded from its start: every character within a row as itself, a
// character cut by a row border as its first byte alone followed by ".".
TEST(HexPageTest, CharactersShownAcrossRowsAreThoseOfTheWholeText) {
    std::mt19937 random(41);
    std::vector<std::string> doubles; // valid double-byte codes, trail bytes of every kind
    for (char32_t code :
         {U'가', U'각', U'힣', U'똠', U'汉', U'字', U'“', U'─', U'Ａ', U'ㄱ', U'갂', U'걖'})
        if (uint16_t cp = Cp949CodeOf(code))
            doubles.push_back({static_cast<char>(cp >> 8), static_cast<char>(cp & 0xFF)});
    for (int i = 0; i < 200; ++i)
        if (uint16_t cp = Cp949CodeOf(static_cast<char32_t>(0xAC00 + random() % 11172)))
            doubles.push_back({static_cast<char>(cp >> 8), static_cast<char>(cp & 0xFF)});
    ASSERT_GT(doubles.size(), 150u);
    const char singles[] = "aZ09 .\t\n\r{}";
    test::TTempFolder folder;
    for (int round = 0; round < 60; ++round) {
        const int singlesInHundred = std::array{50, 20, 5, 1, 0}[round % 5];
        std::string text;
        std::vector<size_t> starts; // every character's first byte, from the file's start
        for (int n = 1 + int(random() % 1500); n > 0; --n) {
            starts.push_back(text.size());
            if (int(random() % 100) < singlesInHundred)
                text += singles[random() % (sizeof(singles) - 1)];
            else
                text += doubles[random() % doubles.size()];
        }
        const std::string path = folder.Write("random.txt", text);
        const auto size = static_cast<int64_t>(text.size());
        const int64_t rows = HexRowCount(size);

        // The whole decode, row by row.
        std::vector<std::u16string> expected(static_cast<size_t>(rows));
        for (size_t c = 0; c < starts.size(); ++c) {
            const size_t at = starts[c];
            const size_t end = c + 1 < starts.size() ? starts[c + 1] : text.size();
            std::u16string& row = expected[at / HexBytesPerRow];
            if (at / HexBytesPerRow == (end - 1) / HexBytesPerRow) {
                row +=
                    WideFromAnsi(HexCharColumnBytes(std::string_view(text).substr(at, end - at)));
            } else {
                row += WideFromAnsi(text.substr(at, 1));
                expected[at / HexBytesPerRow + 1] += u'.';
            }
        }

        TOVHexPage page;
        const int pageRows = 1 + int(random() % 8);
        page.SetRows(pageRows);
        int64_t top = static_cast<int64_t>(random() % static_cast<uint64_t>(rows));
        ASSERT_TRUE(page.Load(path, size, top, 0, pageRows));
        for (int step = 0; step < 12; ++step) {
            for (int r = 0; r < pageRows && top + r < rows; ++r)
                ASSERT_EQ(ShownCharacters(page, r), expected[static_cast<size_t>(top + r)])
                    << "round " << round << ", file row " << top + r;
            const int d = 1 + int(random() % static_cast<unsigned>(pageRows));
            if (random() % 2 == 0 && top + d < rows) {
                page.ShiftUp(d);
                top += d;
                ASSERT_TRUE(page.Load(path, size, top + pageRows - d, pageRows - d, d));
            } else if (top - d >= 0) {
                page.ShiftDown(d);
                top -= d;
                ASSERT_TRUE(page.Load(path, size, top, 0, d));
            }
        }
    }
}

} // namespace
} // namespace ov
