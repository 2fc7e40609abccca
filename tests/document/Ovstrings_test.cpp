#include "Ovstrings.h"

#include "Codepage.h"
#include "Errors.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ov;

namespace {

std::vector<std::string> Lines(const TOVStringList& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.emplace_back(list.Get(i));
    return lines;
}

std::string RangeMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const ERangeError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(StringList, CapacityFollowsTheGrowthRule) {
    TOVStringList list;
    std::vector<int> capacities;
    for (int i = 0; i < 120; ++i) {
        list.Add("x");
        if (capacities.empty() || capacities.back() != list.Capacity())
            capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118, 147}));
    list.Clear();
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(StringList, IndexErrorsCarryLabelAndIndexAndLeaveTheListAlone) {
    TOVStringList list;
    EXPECT_EQ(RangeMessage([&] { list.Insert(0, "x"); }),
              "TOVStringList.Insert:범위를 벗어 난 인덱스 참조(0)");
    list.Add("a");
    EXPECT_EQ(RangeMessage([&] { list.Insert(1, "x"); }),
              "TOVStringList.Insert:범위를 벗어 난 인덱스 참조(1)");
    EXPECT_EQ(RangeMessage([&] { list.Get(-1); }), "TOVStringList.Get:범위를 벗어 난 인덱스 참조(-1)");
    EXPECT_EQ(RangeMessage([&] { list.Set(1, "y"); }), "TOVStringList.Set:범위를 벗어 난 인덱스 참조(1)");
    EXPECT_EQ(RangeMessage([&] { list.GetObject(2); }),
              "TOVStringList.GetObject:범위를 벗어 난 인덱스 참조(2)");
    EXPECT_EQ(RangeMessage([&] { list.SetObject(2, 0); }),
              "TOVStringList.SetObject:범위를 벗어 난 인덱스 참조(2)");
    EXPECT_EQ(RangeMessage([&] { list.Delete(1); }), "TOVStringList.Delete:범위를 벗어 난 인덱스 참조(1)");
    EXPECT_EQ(Lines(list), std::vector<std::string>{"a"});
}

TEST(StringList, InsertAndDeleteKeepTextsWithTheirObjects) {
    TOVStringList list;
    for (int i = 0; i < 10; ++i)
        list.AddObject(std::to_string(i), 100 + i);
    list.Insert(3, "new");
    EXPECT_EQ(list.Get(3), std::string("new"));
    EXPECT_EQ(list.GetObject(3), 0);
    EXPECT_EQ(list.Get(4), std::string("3"));
    EXPECT_EQ(list.GetObject(4), 103);
    list.Delete(3);
    list.Delete(0);
    ASSERT_EQ(list.Count(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(list.Get(i), std::to_string(i + 1));
        EXPECT_EQ(list.GetObject(i), 101 + i);
    }
    list.Set(0, "one");
    EXPECT_EQ(list.GetObject(0), 101);
    EXPECT_EQ(list.GetLength(0), 3);
}

TEST(StringList, NotificationsAreBatchedAndNeverDuringAnUpdate) {
    TOVStringList list;
    int notified = 0;
    list.OnChange = [&](TOVStringList* sender) {
        EXPECT_EQ(sender, &list);
        ++notified;
    };
    list.Add("a");
    EXPECT_EQ(notified, 1);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("b");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(notified, 1);
    list.EndUpdate();
    EXPECT_EQ(notified, 2);
    list.EndUpdate(); // unmatched: stays at 0 and still notifies
    EXPECT_EQ(list.UpdateCount(), 0);
    EXPECT_EQ(notified, 3);
    list.Clear();
    list.Clear(); // clearing an empty list notifies too
    EXPECT_EQ(notified, 5);
    list.Add("x");
    list.SetObject(0, 7); // silent
    EXPECT_EQ(notified, 6);
}

TEST(StringList, IndexOfUnsortedIsCaseSensitiveSortedFollowsTheFlag) {
    TOVStringList list;
    list.Add("BEGIN");
    list.Add("end");
    list.Add("end");
    EXPECT_EQ(list.IndexOf("begin"), -1);
    list.SetCaseSensitive(false);
    EXPECT_EQ(list.IndexOf("begin"), -1); // the flag plays no part unsorted
    EXPECT_EQ(list.IndexOf("end"), 1);    // the first match
    EXPECT_EQ(list.IndexOf(""), -1);
    list.SetSorted(true);
    EXPECT_EQ(list.IndexOf("begin"), 0);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("begin"), -1);
    EXPECT_EQ(list.IndexOf("BEGIN"), 0);
}

TEST(StringList, SortedListsResortAfterEveryChange) {
    TOVStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add("m"), 0);
    EXPECT_EQ(list.Add("c"), 1); // the append position, not the final one
    EXPECT_EQ(list.Add("x"), 2);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"c", "m", "x"}));

    TOVStringList unsorted;
    std::vector<std::string> words;
    for (int i = 0; i < 200; ++i) // a fixed pseudo-random order with duplicates
        words.push_back(std::to_string((i * 7919) % 97));
    for (const auto& word : words)
        unsorted.AddObject(word, std::stoi(word));
    int notified = 0;
    unsorted.OnChange = [&](TOVStringList*) { ++notified; };
    unsorted.Sort();
    EXPECT_EQ(notified, 1);
    std::sort(words.begin(), words.end());
    EXPECT_EQ(Lines(unsorted), words);
    for (int i = 0; i < unsorted.Count(); ++i) // objects travel with their texts
        EXPECT_EQ(unsorted.GetObject(i), std::stoi(unsorted.Get(i)));
}

TEST(StringList, AssignTakesOnlyAPlainListAndAnnouncesOnce) {
    TOVStringList source;
    source.SetDelimiter(',');
    source.SetCaseSensitive(true);
    source.AddObject("b", 2);
    source.AddObject("a", 1);
    TOVStringList target;
    target.Add("old");
    int notified = 0;
    target.OnChange = [&](TOVStringList*) { ++notified; };
    target.Assign(source);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(Lines(target), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(target.GetObject(1), 1);
    EXPECT_EQ(target.Delimiter(), ',');
    EXPECT_TRUE(target.CaseSensitive());

    TOVSynStringList styled;
    try {
        target.Assign(styled);
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "Cannot assign a TOVSynStringList to a TOVStringList");
    }
    EXPECT_EQ(target.Count(), 2);
}

TEST(StringList, CapacityNeverShrinksBelowTheEntries) {
    TOVStringList list;
    TOVSynStringList styled;
    for (int i = 0; i < 5; ++i) {
        list.Add(std::to_string(i));
        styled.Add(std::to_string(i));
    }
    list.SetCapacity(1);
    styled.SetCapacity(2);
    EXPECT_GE(list.Capacity(), 5);
    EXPECT_GE(styled.Capacity(), 5);
    list.Add("5"); // the slots grow from what is there
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));
    styled.SetStyleID(4, 0, 3);
    EXPECT_EQ(styled.GetStyleID(4, 0), 3);
}

TEST(StringList, ASortedListFindsEveryEntryWithoutRegardToCase) {
    TOVStringList list;
    for (const char* word : {"Zebra", "apple", "Mango", "banana", "Apple", "cherry"})
        list.Add(word);
    list.SetSorted(true);
    for (int i = 0; i < list.Count(); ++i) {
        std::string word = list.Get(i);
        int found = list.IndexOf(word);
        ASSERT_GE(found, 0) << word;
        EXPECT_EQ(AnsiCompareText(list.Get(found), word.c_str()), 0) << word;
    }
    EXPECT_GE(list.IndexOf("ZEBRA"), 0);
    EXPECT_EQ(list.IndexOf("kiwi"), -1);
}
