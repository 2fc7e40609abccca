#include "Filelists.h"
#include "Inifiles.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

std::vector<std::string> Paths(const std::vector<std::string>& list) {
    std::vector<std::string> paths;
    for (const std::string& entry : list)
        paths.emplace_back(RecentEntryPath(entry));
    return paths;
}

TEST(RecentFiles, ReopeningSwapsWithTheNewest) {
    std::vector<std::string> list{"A=1", "B=2", "C=3", "D=4"};
    RecordRecentFile(list, "B", 20, 10);
    EXPECT_EQ(list, (std::vector<std::string>{"A=1", "D=4", "C=3", "B=20"}));
}

// Names are exact: two names that differ in letter case are two files, each
// with its own row, in the lookups and in what is recorded.
TEST(RecentFiles, NamesThatDifferInCaseAreDifferentFiles) {
    std::vector<std::string> list;
    RecordRecentFile(list, "/t/Notes.txt", 500, 10);
    RecordRecentFile(list, "/t/notes.txt", 7, 10);
    EXPECT_EQ(list, (std::vector<std::string>{"/t/Notes.txt=500", "/t/notes.txt=7"}));
    EXPECT_EQ(IndexOfRecentFile(list, "/t/Notes.txt"), 0);
    EXPECT_EQ(IndexOfRecentFile(list, "/t/NOTES.TXT"), -1);
}

// What is recorded reads back from the settings file exactly as it was
// recorded; a path the file cannot hold faithfully is not recorded at all.
TEST(RecentFiles, OnlyPathsTheSettingsFileKeepsAreRecorded) {
    const std::vector<std::string> kept{"/t/a=b.txt", "/t/x y.c", "/t/a b=c d", "/t/\xC7\xD1.txt",
                                        "/t/;semi", "/t/[x]", "/t/a==b", "/t/tab\tin", "[sec]"};
    const std::vector<std::string> refused{"/t/new\nline", "/t/cr\rx",  "/t/a = b.txt",
                                           "/t/a =b",       "/t/a= b",    " /t/lead",
                                           "/t/trail ",     ";/t/comment", "\t/t/tab",
                                           "/t/ctl\x01=x"};
    std::vector<std::string> list;
    for (const std::string& path : kept)
        RecordRecentFile(list, path, 3, 100);
    for (const std::string& path : refused)
        RecordRecentFile(list, path, 3, 100);
    ASSERT_EQ(list.size(), kept.size());
    TSettingsStore store;
    for (const std::string& entry : list)
        store.AddLine("Recent", entry);
    TSettingsStore reread;
    reread.SetStrings(store.GetStrings());
    EXPECT_EQ(reread.ReadSectionValues("Recent"), list);
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(RecentEntryPath(list[i]), kept[i]);
}

TEST(RecentFiles, TheOldestLeavesAFullList) {
    std::vector<std::string> list;
    for (int i = 0; i < 10; ++i)
        RecordRecentFile(list, "/f" + std::to_string(i), i, 10);
    RecordRecentFile(list, "/new", 7, 10);
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.front(), "/f1=1");
    EXPECT_EQ(list.back(), "/new=7");
    // A list read longer than the limit is brought back to it.
    std::vector<std::string> longList(12, "x=0");
    for (size_t i = 0; i < longList.size(); ++i)
        longList[i] = "/l" + std::to_string(i) + "=0";
    RecordRecentFile(longList, "/n", 1, 10);
    EXPECT_EQ(longList.size(), 10u);
    EXPECT_EQ(longList.front(), "/l3=0");
}

TEST(RecentFiles, PathsMayHoldEqualsSigns) {
    std::vector<std::string> list{"/tmp/a=b.txt=5", "/tmp/a=9"};
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/tmp/a=b.txt", "/tmp/a"}));
    EXPECT_EQ(RecentEntryTopIndex(list[0]), 5);
    EXPECT_EQ(IndexOfRecentFile(list, "/tmp/a"), 1);
    EXPECT_EQ(IndexOfRecentFile(list, "/tmp/a=b.txt"), 0);
    EXPECT_EQ(IndexOfRecentFile(list, "/tmp"), -1);
    EXPECT_EQ(RecentEntryTopIndex("/no/value"), -1);
    EXPECT_EQ(RecentEntryTopIndex("/x=abc"), -1);
}

// Every set of bookmarks (each of the ten set or not, at rows derived from
// its number) reads back from its entry, also under a path holding "=" and
// ":"; items a reader does not know, or that name no bookmark, are skipped.
TEST(BookmarkEntries, EverySetReadsBackAndUnknownItemsAreSkipped) {
    const std::string path = "/logs/a=b:c.log";
    for (unsigned mask = 0; mask < 1024; ++mask) {
        std::array<int, 10> rows;
        for (int n = 0; n < 10; ++n)
            rows[size_t(n)] = mask & (1u << n) ? n * 1000 + int(mask) : -1;
        const std::string entry = BookmarkEntry(path, rows);
        ASSERT_EQ(entry.empty(), mask == 0);
        if (mask == 0)
            continue;
        ASSERT_EQ(RecentEntryPath(entry), path);
        ASSERT_TRUE(TSettingsStore::KeepsLine(entry));
        ASSERT_EQ(BookmarkEntryRows(entry), rows) << entry;
        ASSERT_EQ(BookmarkEntryRows(entry + ",coding:utf-8,10:5,-1:3,4:-2,x,3:,:4"), rows);
    }
    std::array<int, 10> some;
    some.fill(-1);
    some[3] = 7;
    EXPECT_EQ(BookmarkEntry("name\nbroken", some), "");
    EXPECT_EQ(BookmarkEntry(" /lead", some), "");
    some[3] = -1;
    EXPECT_EQ(BookmarkEntryRows("no equals sign 3:7"), some);
}

// An encoding chosen by hand rides after the top index; entries of older
// settings files, without one, read as before.
TEST(RecentFiles, AChosenEncodingIsRecordedWithTheEntry) {
    std::vector<std::string> list{"/old=5"};
    EXPECT_EQ(RecentEntryTopIndex(list[0]), 5);
    EXPECT_EQ(RecentEntryCoding(list[0]), TCodingChoice());
    RecordRecentFile(list, "/a=b", 7, 10, TFileEncoding::ShiftJis);
    EXPECT_EQ(list.back(), "/a=b=7,Shift_JIS");
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/old", "/a=b"}));
    EXPECT_EQ(RecentEntryTopIndex(list.back()), 7);
    EXPECT_EQ(RecentEntryCoding(list.back()), TFileEncoding::ShiftJis);
    RecordRecentFile(list, "/a=b", 8, 10); // read by detection again
    EXPECT_EQ(list.back(), "/a=b=8");
    EXPECT_EQ(RecentEntryCoding("/x=3,Nonsense"), TCodingChoice());
    EXPECT_EQ(RecentEntryTopIndex("/x=3,Nonsense"), 3);
}

TEST(ContentTest, TextOrBinary) {
    EXPECT_FALSE(LooksBinary(""));
    // Text without blanks is text: ASCII, well-formed CP949 or UTF-8.
    EXPECT_FALSE(LooksBinary("a"));
    EXPECT_FALSE(LooksBinary("hello"));
    EXPECT_FALSE(LooksBinary("1.2.3"));
    EXPECT_FALSE(LooksBinary("aGVsbG8gd29ybGQ=aGVsbG8gd29ybGQ=aGVsbG8gd29ybGQ=\x1B[0m\f"));
    EXPECT_FALSE(LooksBinary(std::string(60, '\xC7') + "\xD1"));        // CP949 한 repeated
    EXPECT_FALSE(LooksBinary("\xED\x95\x9C\xEA\xB8\x80\xED\x95")); // UTF-8, cut at the end
    EXPECT_FALSE(LooksBinary(std::string("\xFE\xFF\0a\0b", 6)));      // UTF-16 with its mark
    // Other bytes fall to the blank rule.
    EXPECT_TRUE(LooksBinary("a\x01"));
    EXPECT_TRUE(LooksBinary("hello\x7F"));
    EXPECT_TRUE(LooksBinary("\x80" "ABCDEFGHIJ")); // neither UTF-8 nor CP949
    EXPECT_FALSE(LooksBinary("hello world\n"));
    // A zero byte counts except in the last position read.
    EXPECT_TRUE(LooksBinary(std::string("ab cd ef gh\n\0x", 14)));
    EXPECT_FALSE(LooksBinary(std::string("ab cd ef gh\n\0", 13)));
    // Blanks: at least 3 % of the bytes read, or a line feed.
    std::string dense(100, 'x');
    dense[10] = dense[20] = ' ';
    dense[50] = '\x02';
    EXPECT_TRUE(LooksBinary(dense));
    dense[30] = ' ';
    EXPECT_FALSE(LooksBinary(dense));
    // Only the first 128 bytes are looked at.
    std::string late = std::string(64, ' ') + std::string(64, 'x') + std::string(10, '\0');
    EXPECT_FALSE(LooksBinary(late));
}

} // namespace
} // namespace ov
