#include "Ovstrings.h"

#include "Codepage.h"
#include "Errors.h"
#include "Linesplitter.h"
#include "Messages.h"
#include "Testsupport.h"
#include "Uiservices.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using namespace ov;
using ov::test::ExitStatusInChild;
using ov::test::TTempFolder;

namespace {

std::vector<std::string> Lines(const TOVStringList& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.emplace_back(list.GetView(i));
    return lines;
}

std::vector<std::string> Split(const std::string& text) {
    TOVStringList list;
    list.SetTextStr(text.c_str());
    return Lines(list);
}

using TLines = std::vector<std::string>;

// Does something to the file while the large-file question is open: the
// moment between opening a viewed file and mapping it.
class TActOnQuestion : public TScriptedUIServices {
public:
    explicit TActOnQuestion(std::function<void()> act) : FAct(std::move(act)) {}
    bool AskYesNo(const std::string& text, const std::string& caption,
                  TMessageIcon icon) override {
        FAct();
        return TScriptedUIServices::AskYesNo(text, caption, icon);
    }

private:
    std::function<void()> FAct;
};

} // namespace

TEST(TextSplitting, LineEndsFollowCrLfRules) {
    EXPECT_EQ(Split("A\r\nB\nE\rF"), (TLines{"A", "B", "E", "F"}));
    EXPECT_EQ(Split("A\n\rB"), (TLines{"A", "", "B"}));
    EXPECT_EQ(Split("A\n"), (TLines{"A"}));
    EXPECT_EQ(Split("\n"), (TLines{""}));
    EXPECT_EQ(Split(""), TLines{});
    EXPECT_EQ(Split(std::string(300, 'x')), TLines{std::string(300, 'x')});
    TOVStringList list;
    list.Add("stale");
    list.SetTextStr(nullptr);
    EXPECT_EQ(list.Count(), 0);
}

TEST(TextSplitting, PiecesSplitAnywhereGiveTheSameLines) {
    // Every text of up to 7 symbols over {a, CR, LF}, cut at every position,
    // must split exactly as when fed whole (the file loader feeds pieces).
    const char symbols[] = {'a', '\r', '\n'};
    for (int length = 0; length <= 7; ++length) {
        int total = 1;
        for (int i = 0; i < length; ++i)
            total *= 3;
        for (int code = 0; code < total; ++code) {
            std::string text;
            for (int i = 0, c = code; i < length; ++i, c /= 3)
                text.push_back(symbols[c % 3]);
            TLines whole = Split(text);
            for (std::size_t cut = 0; cut <= text.size(); ++cut) {
                TLines pieces;
                TLineSplitter splitter;
                auto sink = [&](std::string_view line) { pieces.emplace_back(line); };
                splitter.Feed(text.data(), cut, sink);
                splitter.Feed(text.data() + cut, text.size() - cut, sink);
                splitter.Finish(sink);
                ASSERT_EQ(pieces, whole) << "text of " << length << " code " << code << " cut " << cut;
            }
        }
    }
}

TEST(TextSplitting, WholeTextLoadsAnnounceAReplacementOnce) {
    TOVStringList list;
    std::vector<bool> replaced;
    list.OnChange = [&](TOVStringList* sender) { replaced.push_back(sender->TextReplaced()); };
    list.SetTextStr("a\nb\nc");
    EXPECT_EQ(replaced, std::vector<bool>{true});
    EXPECT_FALSE(list.TextReplaced());

    // Inside the caller's own bracket the flag waits for the caller's end.
    replaced.clear();
    list.BeginUpdate();
    list.SetUnicodeTextStr(u"x\r\ny");
    EXPECT_TRUE(list.TextReplaced());
    EXPECT_TRUE(replaced.empty());
    list.EndUpdate();
    EXPECT_EQ(replaced, std::vector<bool>{true});
    EXPECT_EQ(Lines(list), (TLines{"x", "y"}));

    replaced.clear();
    list.Add("z");
    EXPECT_EQ(replaced, std::vector<bool>{false});
}

TEST(FileLoading, EightBitUnicodeAndByteOrderMarks) {
    TTempFolder temp;
    TOVStringList list;

    list.LoadFromFile(temp.Write("two.txt", "\xFF\xFE"));
    EXPECT_EQ(Lines(list), TLines{"\xFF\xFE"}); // a mark alone is 8-bit text

    // 가나 CR LF abc, then a Hangul line longer than the first line buffer.
    std::u16string hangul(200, u'\uD55C'); // 한
    std::u16string units = u"\uAC00\uB098\r\nabc\n" + hangul;
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    list.LoadFromFile(temp.Write("utf16.txt", bytes));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(Utf8FromAnsi(list.GetView(0)), "가나");
    EXPECT_EQ(list.GetView(1), "abc");
    EXPECT_EQ(list.GetView(2), AnsiFromWide(hangul));
    EXPECT_EQ(list.GetLength(2), 400);

    // An odd byte count: the last byte reads as if a zero byte followed it,
    // and nothing is read past the end.
    list.LoadFromFile(temp.Write("odd.txt", std::string("\xFF\xFE" "a\0b", 5)));
    EXPECT_EQ(Lines(list), TLines{"ab"});
    list.LoadFromFile(temp.Write("odd2.txt", std::string("\xFF\xFE" "A\0B\0C", 7)));
    EXPECT_EQ(Lines(list), TLines{"ABC"});

    list.LoadFromFile(temp.Write("utf8.txt", "\xEF\xBB\xBFx"));
    EXPECT_EQ(Lines(list), TLines{"\xEF\xBB\xBFx"}); // no other mark is recognised
}

TEST(FileLoading, NulBytesReadAsSpacesAndTheRestOfTheFileStays) {
    TTempFolder temp;
    TOVStringList list;
    list.LoadFromFile(temp.Write("nul.txt", std::string("ab\0cd\n\0\nef", 10)));
    EXPECT_EQ(Lines(list), (TLines{"ab cd", " ", "ef"}));
    std::string utf16("\xFF\xFE" "a\0\0\0b\0", 8);
    list.LoadFromFile(temp.Write("nul16.txt", utf16));
    EXPECT_EQ(Lines(list), (TLines{"a b"}));
}

TEST(FileLoading, UnreadableFilesLeaveTheListAlone) {
    TTempFolder temp;
    TOVStringList list;
    list.Add("kept");
    int notified = 0;
    list.OnChange = [&](TOVStringList*) { ++notified; };
    list.LoadFromFile(temp.File("missing.txt"));
    list.LoadFromFile(temp.Path()); // a folder
    EXPECT_EQ(Lines(list), TLines{"kept"});
    EXPECT_EQ(notified, 0);
}

TEST(FileLoading, LargeFilesAskFirstAndNoKeepsTheList) {
    TTempFolder temp;
    std::string path = temp.File("large.txt");
    int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 104857601), 0); // one byte over 100 MiB, sparse
    ::close(fd);

    TScriptedUIServices ui;
    TUIServicesGuard guard(&ui);
    ui.Answers = {false};
    TOVStringList list;
    list.Add("kept");
    list.LoadFromFile(path);
    EXPECT_EQ(Lines(list), TLines{"kept"});
    ASSERT_EQ(ui.Records.size(), 1u);
    EXPECT_TRUE(ui.Records[0].Question);
    EXPECT_EQ(ui.Records[0].Text, LoadStr(SLargeFileQuestion));
    EXPECT_EQ(ui.Records[0].Caption, "확인");
    EXPECT_EQ(ui.Records[0].Icon, TMessageIcon::Information);
    EXPECT_EQ(ui.WaitDepth, 0); // the wait cursor is restored

    // Exactly 100 MiB loads without a question.
    ASSERT_EQ(::truncate(path.c_str(), 104857600), 0);
    list.LoadFromFile(path);
    EXPECT_EQ(ui.Records.size(), 1u);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetLength(0), 104857600);
}

// Whatever takes the path of a large file while the user is asked (the log
// rotated away, a named pipe put there), what is shown is the file opened:
// neither the newcomer's text nor a wait for a pipe's writer.
TEST(FileLoading, TheTextShownIsThatOfTheFileOpenedWhateverTakesItsPath) {
    TTempFolder temp;
    const std::string path = temp.File("large.log");
    const std::vector<std::pair<const char*, std::function<void()>>> newcomers = {
        {"another file",
         [&] { ::rename(temp.Write("other.log", "other\n").c_str(), path.c_str()); }},
        {"a named pipe",
         [&] {
             ::unlink(path.c_str());
             ::mkfifo(path.c_str(), 0600);
         }},
    };
    for (const auto& [name, takeThePath] : newcomers) {
        SCOPED_TRACE(name);
        temp.Write("large.log", "opened\n");
        ASSERT_EQ(::truncate(path.c_str(), 104857601), 0); // over 100 MiB, sparse
        EXPECT_EQ(ExitStatusInChild([&] {
                      TActOnQuestion ui(takeThePath);
                      TUIServicesGuard guard(&ui);
                      TOVStringList list;
                      if (!list.LoadViewedFile(path) || ui.Records.size() != 1)
                          return 1;
                      return list.Count() >= 1 && list.GetView(0) == "opened" ? 0 : 2;
                  }),
                  0);
    }
}

TEST(FileLoading, SizesAbove4GiBAreNotWrapped) {
    // 4 GiB + 10 bytes would read as 10 bytes in 32 bits and load without a question.
    TTempFolder temp;
    std::string path = temp.File("huge.txt");
    int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, (off_t(4) << 30) + 10), 0); // sparse
    ::close(fd);
    TScriptedUIServices ui;
    TUIServicesGuard guard(&ui);
    ui.Answers = {false};
    TOVStringList list;
    list.Add("kept");
    list.LoadFromFile(path);
    EXPECT_EQ(ui.Records.size(), 1u);
    EXPECT_EQ(Lines(list), TLines{"kept"});
}

TEST(FileLoading, LinesCrossingReadChunksStayWhole) {
    // The loader reads in pieces of a few megabytes; lines and CR LF pairs
    // that straddle a piece must come out as written.
    TTempFolder temp;
    std::string text;
    TLines expected;
    for (int i = 0; text.size() < (20u << 20); ++i) {
        std::string line(static_cast<std::size_t>((i * 7717) % 5000), static_cast<char>('a' + i % 26));
        expected.push_back(line);
        text += line + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    }
    TOVSynStringList list;
    list.LoadFromFile(temp.Write("big.txt", text));
    ASSERT_EQ(list.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < list.Count(); ++i) {
        ASSERT_EQ(list.GetView(i), expected[static_cast<std::size_t>(i)]) << i;
        const TStyleByte* styles = list.GetStyleBytes(i);
        for (int j = 0; j < list.GetLength(i); ++j)
            ASSERT_EQ(styles[j], 0);
    }
}

TEST(FileSaving, LinesEndWithOneLfAndReadBack) {
    TTempFolder temp;
    TOVStringList list;
    list.Add("A");
    list.Add("B");
    std::string path = temp.File("out.txt");
    EXPECT_TRUE(list.SaveToFile(path));
    EXPECT_EQ(ov::test::ReadBytes(path), "A\nB\n");
    TOVStringList back;
    back.LoadFromFile(path);
    EXPECT_EQ(Lines(back), (TLines{"A", "B"}));
    EXPECT_FALSE(list.SaveToFile(temp.File("no/folder/out.txt")));
}

TEST(DelimitedText, SeparatorRunsGiveNoEmptyEntriesButALeadingOneDoes) {
    TOVStringList list;
    list.SetDelimitedText("  int  long ");
    EXPECT_EQ(Lines(list), (TLines{"", "int", "long"}));
    list.SetDelimitedText("int\nlong");
    EXPECT_EQ(Lines(list), (TLines{"int", "long"}));
    list.SetDelimitedText("   ");
    EXPECT_EQ(Lines(list), TLines{""});
    list.SetDelimitedText("\"a b\"");
    EXPECT_EQ(Lines(list), (TLines{"\"a", "b\""}));
    std::string longWord(300, 'w');
    list.SetDelimitedText(longWord + " x");
    EXPECT_EQ(Lines(list), (TLines{longWord, "x"}));
    EXPECT_EQ(list.GetDelimitedText(), longWord + " x");

    list.SetDelimiter(';');
    list.SetDelimitedText("a;b;;c");
    EXPECT_EQ(list.GetDelimitedText(), "a;b;c");
    list.SetDelimiter(0);
    list.SetDelimitedText("q");
    EXPECT_EQ(Lines(list), (TLines{"a", "b", "c"})); // no delimiter: nothing happens
    TOVStringList empty;
    EXPECT_EQ(empty.GetDelimitedText(), "");
}

TEST(FileLoading, RunningOutOfMemoryGivesTheOutOfMemoryErrorAndAnEmptyList) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer reserves more address space than the limit allows";
#else
    // One line of 64 MiB, loaded by a child whose address space ends soon
    // after its current size: memory runs out although the system has plenty.
    TTempFolder temp;
    std::string path = temp.Write("long.txt", std::string(64u << 20, 'x'));
    EXPECT_EXIT(
        {
            TOVSynStringList list;
            list.Add("old");
            long pages = 0;
            if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
                if (std::fscanf(statm, "%ld", &pages) != 1)
                    pages = 0;
                std::fclose(statm);
            }
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max =
                static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) +
                (48u << 20);
            setrlimit(RLIMIT_AS, &limit);
            try {
                list.LoadFromFile(path);
            } catch (const EOutOfMemory&) {
                std::_Exit(list.Count() == 0 ? 0 : 3);
            } catch (...) {
                std::_Exit(2);
            }
            std::_Exit(1);
        },
        testing::ExitedWithCode(0), "");
#endif
}
