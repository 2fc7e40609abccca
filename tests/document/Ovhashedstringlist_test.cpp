#include "Ovstrings.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ov;

TEST(HashedStringList, CaseRuleFollowsTheListFlag) {
    TOVHashedStringList list;
    list.Add("if");
    list.Add("Begin");
    EXPECT_EQ(list.IndexOf("BEGIN"), 1);
    EXPECT_EQ(list.IndexOf("begin"), 1);
    EXPECT_EQ(list.IndexOf("Begi"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("begin"), -1);
    EXPECT_EQ(list.IndexOf("Begin"), 1);
}

TEST(HashedStringList, ChangesMakeTheTableStaleAndDuplicatesFindTheLast) {
    TOVHashedStringList list;
    EXPECT_EQ(list.IndexOf("x"), -1);
    list.Add("while");
    EXPECT_EQ(list.IndexOf("while"), 0);
    list.Add("for");
    EXPECT_EQ(list.IndexOf("for"), 1); // added after the table was built
    list.Add("while");
    EXPECT_EQ(list.IndexOf("while"), 2);
    list.Delete(2);
    EXPECT_EQ(list.IndexOf("while"), 0);
    list.BeginUpdate();
    list.Add("do");
    EXPECT_EQ(list.IndexOf("do"), 2); // visible in the middle of a batch
    list.EndUpdate();
    list.Clear();
    EXPECT_EQ(list.IndexOf("do"), -1);
}

TEST(HashedStringList, EveryWordOfALargeListIsFoundInBothCaseModes) {
    // High bytes (Korean keywords) and long keys hash consistently.
    TOVHashedStringList list;
    std::vector<std::string> words;
    for (int i = 0; i < 2000; ++i) {
        std::string word = "k" + std::to_string(i);
        if (i % 3 == 0)
            word += "\xB0\xA1";
        if (i % 7 == 0)
            word += std::string(200, 'z');
        words.push_back(word);
        list.Add(word);
    }
    for (bool caseSensitive : {false, true}) {
        list.SetCaseSensitive(caseSensitive);
        for (std::size_t i = 0; i < words.size(); ++i)
            ASSERT_EQ(list.IndexOf(words[i]), static_cast<int>(i)) << words[i];
        std::string upper = "K1";
        EXPECT_EQ(list.IndexOf(upper), caseSensitive ? -1 : 1);
    }
}

TEST(HashedStringList, DoubleByteCharactersAreNotCaseFolded) {
    // Two Hangul syllables whose second bytes are 'a' and 'A' (0x81 0x61, 0x81 0x41).
    TOVHashedStringList list;
    list.Add("\x81\x61");
    EXPECT_EQ(list.IndexOf("\x81\x61"), 0);
    EXPECT_EQ(list.IndexOf("\x81\x41"), -1);
    list.Add("k\x81\x41");
    EXPECT_EQ(list.IndexOf("K\x81\x41"), 1);
    EXPECT_EQ(list.IndexOf("K\x81\x61"), -1);
}

TEST(HashedStringList, SortingWithoutANotificationStillMakesTheTableStale) {
    TOVHashedStringList list;
    list.Add("while");
    list.Add("do");
    list.Add("if");
    EXPECT_EQ(list.IndexOf("while"), 0);
    list.SetSorted(true); // reorders at once, sends nothing
    ASSERT_EQ(list.Get(2), std::string("while"));
    EXPECT_EQ(list.IndexOf("while"), 2);
    EXPECT_EQ(list.IndexOf("do"), 0);
}

TEST(HashedStringList, AThrowingChangeHandlerStillLeavesTheTableStale) {
    TOVHashedStringList list;
    for (int i = 0; i < 100; ++i)
        list.Add("word" + std::to_string(i));
    EXPECT_EQ(list.IndexOf("word7"), 7);
    list.OnChange = [](TOVStringList*) { throw std::runtime_error("handler"); };
    EXPECT_THROW(list.Clear(), std::runtime_error);
    list.OnChange = nullptr;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.IndexOf("word7"), -1); // not from a table of released texts
}
