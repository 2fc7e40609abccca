#include "Ovstrings.h"

#include "Errors.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

using namespace ov;

namespace {

// Marks every byte of row with a value derived from its text, so that a
// style array that drifted to another line shows.
void MarkRow(TOVSynStringList& list, int row) {
    for (int j = 0; j < list.GetLength(row); ++j)
        list.SetStyleID(row, j, static_cast<TStyleByte>(list.Get(row)[j] - 'a' + 1));
}

void ExpectMarksMatchTexts(const TOVSynStringList& list) {
    for (int row = 0; row < list.Count(); ++row)
        for (int j = 0; j < list.GetLength(row); ++j)
            ASSERT_EQ(list.GetStyleID(row, j), list.Get(row)[j] - 'a' + 1) << row << ":" << j;
}

std::string RangeLabel(const std::function<void()>& action) {
    try {
        action();
    } catch (const ERangeError& error) {
        return error.Label() + "/" + std::to_string(error.Index());
    }
    return "no error";
}

} // namespace

TEST(SynStringList, NewLinesHaveZeroStylesAndMarksStick) {
    TOVSynStringList list;
    list.Add("abcde");
    list.Add("");
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(list.GetStyleID(0, j), 0);
    list.SetStyleID(0, 2, 7);
    EXPECT_EQ(list.GetStyleID(0, 2), 7);
    EXPECT_EQ(list.GetStyleID(0, 5), 0); // outside the row: no mark, no stray read
    list.SetStyleID(1, 0, 3);            // an empty row has nothing to mark
    EXPECT_EQ(list.GetStyleID(1, 0), 0);
    list.ClearStyles();
    EXPECT_EQ(list.GetStyleID(0, 2), 0);
}

TEST(SynStringList, RowErrorsNameTheStyledOperation) {
    TOVSynStringList list;
    list.Add("x");
    EXPECT_EQ(RangeLabel([&] { list.GetStyleID(1, 0); }), "TOVSynStringList.GetStyleID/1");
    EXPECT_EQ(RangeLabel([&] { list.SetStyleID(-1, 0, 1); }), "TOVSynStringList.SetStyleID(Row)/-1");
    EXPECT_EQ(RangeLabel([&] { list.Insert(1, "y"); }), "TOVSynStringList.Insert/1");
    EXPECT_EQ(RangeLabel([&] { list.Delete(5); }), "TOVSynStringList.Delete/5");
    EXPECT_EQ(list.Count(), 1);
}

TEST(SynStringList, StylesStayWithTheirLinesThroughEveryChange) {
    TOVSynStringList list;
    const char* words[] = {"delta", "alpha", "echo", "bravo", "charlie", "foxtrot", "golf"};
    for (const char* word : words)
        list.Add(word);
    for (int row = 0; row < list.Count(); ++row)
        MarkRow(list, row);
    for (int i = 0; i < 40; ++i) // past several growth steps
        list.Insert(i % list.Count(), std::string(static_cast<std::size_t>(i % 5), 'c'));
    for (int row = 0; row < list.Count(); ++row)
        MarkRow(list, row);
    list.Delete(0);
    list.Delete(10);
    list.Delete(list.Count() - 1);
    ExpectMarksMatchTexts(list);
    list.Sort();
    ExpectMarksMatchTexts(list);
}

TEST(SynStringList, AssignAndAddStringsCopyStylesOfStyledSourcesOnly) {
    TOVSynStringList source;
    source.Add("abc");
    source.Add("cab");
    MarkRow(source, 0);
    MarkRow(source, 1);

    TOVSynStringList copy;
    copy.Assign(source);
    ExpectMarksMatchTexts(copy);

    TOVSynStringList target;
    target.Add("bb");
    target.SetStyleID(0, 1, 9);
    target.AddStrings(source);
    ASSERT_EQ(target.Count(), 3);
    EXPECT_EQ(target.GetStyleID(0, 0), 0);
    EXPECT_EQ(target.GetStyleID(0, 1), 9);
    EXPECT_EQ(target.GetStyleID(2, 0), 3); // 'c'

    TOVStringList plain;
    plain.Add("zz");
    copy.Assign(plain);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.GetStyleID(0, 0), 0);
    EXPECT_EQ(copy.GetStyleID(0, 1), 0);

    TOVHashedStringList hashed;
    EXPECT_THROW(copy.Assign(hashed), EConvertError);
}

TEST(SynStringList, LoadedDocumentsHaveAStyleByteForEveryTextByte) {
    ov::test::TTempFolder temp;
    TOVSynStringList list;
    list.LoadFromFile(temp.Write("doc.c", "int a;\r\n\r\n  return 0;\n}"));
    ASSERT_EQ(list.Count(), 4);
    for (int row = 0; row < list.Count(); ++row) {
        const TStyleByte* styles = list.GetStyleBytes(row);
        for (int j = 0; j < list.GetLength(row); ++j)
            EXPECT_EQ(styles[j], 0);
    }
    list.GetStyleBytes(2)[3] = -5;
    EXPECT_EQ(list.GetStyleID(2, 3), -5);
}

TEST(SynStringList, EmptyLinesHaveUsableStyleStorage) {
    TBlockArena arena;
    EXPECT_NE(arena.Allocate(0), nullptr);
    TOVSynStringList list;
    list.Add(""); // the very first block of the list
    EXPECT_NE(list.GetStyleBytes(0), nullptr);
    TOVSynStringList copy;
    copy.AddStrings(list);
    copy.ClearStyles();
    EXPECT_EQ(copy.Count(), 1);
}

TEST(SynStringList, SetGivesTheLineStylesOfItsNewLength) {
    TOVSynStringList list;
    list.Add("ab");
    list.Add("cd");
    list.Add("ef");
    MarkRow(list, 0);
    MarkRow(list, 1);
    list.Set(0, "abababababababababab");
    list.Set(2, "e");
    // Marking and clearing the longer line must stay inside its own storage.
    for (int j = 0; j < list.GetLength(0); ++j)
        list.SetStyleID(0, j, 1);
    EXPECT_EQ(list.GetView(1), "cd");
    EXPECT_EQ(list.GetStyleID(1, 0), 'c' - 'a' + 1);
    list.ClearStyles();
    EXPECT_EQ(list.GetView(1), "cd");
    EXPECT_EQ(list.GetView(2), "e");

    list.Set(1, "c");
    EXPECT_EQ(list.GetLength(1), 1);
    MarkRow(list, 1);
    list.Set(1, "cc"); // the common byte keeps its mark, the new one has none
    EXPECT_EQ(list.GetStyleID(1, 0), 'c' - 'a' + 1);
    EXPECT_EQ(list.GetStyleID(1, 1), 0);
}
