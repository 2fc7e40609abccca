// The lines a list of matching lines holds are the lines grep gives: for
// random files (CP949 and UTF-8, mixed line ends, NULs) and random plain and
// regular-expression patterns, whether the lines are found on a worker over
// the mapped bytes, a slice at a time over the list, or on a worker stopped
// anywhere and sent on from where it says.

#include "Matchedlines.h"
#include "Regexsearch.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <random>
#include <thread>

namespace ov {
namespace {

using test::TTempFolder;

// The pieces the texts and patterns are made of, in each coding.
std::vector<std::string> Pieces(bool cp949) {
    if (cp949)
        return {"a", "b", "A", " ", "\xB0\xA1", "\xB0\xA2", "\xA1\xB0"};
    return {"a", "b", "A", " ", "\xEA\xB0\x80", "\xEA\xB0\x81", "\t"};
}

// The characters of a line of the coding, each as its bytes.
std::vector<std::string> Characters(std::string_view line, bool cp949) {
    std::vector<std::string> out;
    for (std::size_t p = 0; p < line.size();) {
        const auto byte = static_cast<unsigned char>(line[p]);
        std::size_t n = 1;
        if (cp949 && byte >= 0x81 && p + 1 < line.size())
            n = 2;
        else if (!cp949 && byte >= 0xF0)
            n = 4;
        else if (!cp949 && byte >= 0xE0)
            n = 3;
        else if (!cp949 && byte >= 0xC0)
            n = 2;
        n = std::min(n, line.size() - p);
        out.emplace_back(line.substr(p, n));
        p += n;
    }
    return out;
}

std::string Folded(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The reference: lines split at CR LF, LF and CR (a line end at the very
// end adds no line), NUL read as a blank, a match made of whole characters.
std::vector<int> PlainReference(const std::string& text, const std::string& pattern, bool cp949,
                                bool caseSensitive) {
    std::vector<std::string> wanted = Characters(pattern, cp949);
    std::vector<int> lines;
    int line = 0;
    std::size_t at = 0;
    while (at < text.size() || (at == 0 && text.empty())) {
        std::size_t eol = text.find_first_of("\r\n", at);
        if (eol == std::string::npos)
            eol = text.size();
        std::string shown = text.substr(at, eol - at);
        for (char& c : shown)
            if (c == '\0')
                c = ' ';
        std::vector<std::string> chars = Characters(shown, cp949);
        if (!caseSensitive) {
            for (std::string& c : chars)
                c = Folded(c);
            for (std::string& c : wanted)
                c = Folded(c);
        }
        if (!wanted.empty() &&
            std::search(chars.begin(), chars.end(), wanted.begin(), wanted.end()) != chars.end())
            lines.push_back(line);
        if (eol == text.size())
            break;
        at = eol + 1;
        if (text[eol] == '\r' && at < text.size() && text[at] == '\n')
            ++at;
        ++line;
    }
    return lines;
}

// grep's lines (numbered from 0), or nothing when grep cannot be run.
std::optional<std::vector<int>> GrepLines(const std::string& path, const std::string& patternFile,
                                          bool caseSensitive) {
    if (access("/usr/bin/grep", X_OK) != 0 && access("/bin/grep", X_OK) != 0)
        return std::nullopt;
    const std::string command = std::string("LC_ALL=C.UTF-8 grep -n -E ") +
                                (caseSensitive ? "" : "-i ") + "-f '" + patternFile + "' '" +
                                path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::vector<int> lines;
    std::string row;
    for (int c; (c = fgetc(pipe)) != EOF;) {
        if (c != '\n') {
            row += static_cast<char>(c);
            continue;
        }
        lines.push_back(std::stoi(row) - 1);
        row.clear();
    }
    const int status = pclose(pipe);
    if (status != 0 && lines.empty() && WEXITSTATUS(status) != 1)
        return std::nullopt;
    return lines;
}

// A regular expression that never matches an empty run: each branch begins
// with an atom that must be there.
std::string RandomRegex(std::mt19937& random) {
    const char* const atoms[] = {"a", "b", "A", ".", "[ab]", "\xEA\xB0\x80", "[^ ]"};
    const char* const after[] = {"", "", "+", "*", "?"};
    auto pick = [&](int n) { return static_cast<int>(random() % unsigned(n)); };
    auto branch = [&] {
        std::string out = pick(4) == 0 ? "^" : "";
        out += atoms[pick(7)];
        out += pick(3) == 0 ? "+" : "";
        for (int n = pick(3); n > 0; --n) {
            out += atoms[pick(7)];
            out += after[pick(5)];
        }
        return out + (pick(5) == 0 ? "$" : "");
    };
    std::string pattern = branch();
    if (pick(4) == 0)
        pattern += "|" + branch();
    return pattern;
}

std::vector<int> Listed(const TMatchedLines& matches) {
    std::vector<int> lines;
    for (int i = 0; i < matches.Count(); ++i)
        lines.push_back(matches.Line(i));
    return lines;
}

void WaitFor(TMatchedLines& matches) {
    while (matches.Running()) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        matches.Take();
    }
}

// Every way of finding the lines gives expected.
void ExpectEveryWayGives(const TOVStringList& list,
                         const std::function<std::shared_ptr<const TLineMatcher>()>& make,
                         const std::vector<int>& expected, const std::string& what) {
    SCOPED_TRACE(what);
    TMatchedLines worker;
    worker.StartMapped(make(), list.MappedTail(0), 0);
    WaitFor(worker);
    EXPECT_EQ(Listed(worker), expected);
    EXPECT_LE(worker.StoreBytes(), 8 * std::size_t(worker.Count()) + 64);

    TMatchedLines slices;
    slices.StartSlices(make(), 0);
    while (!slices.ScanSlice(list, 0)) {
    }
    EXPECT_EQ(Listed(slices), expected);

    // Stopped at whatever point the worker has reached, then sent on.
    TMatchedLines resumed;
    resumed.StartMapped(make(), list.MappedTail(0), 0);
    const int from = resumed.Suspend();
    if (from < list.Count())
        resumed.StartMapped(make(), list.MappedTail(from), from);
    WaitFor(resumed);
    EXPECT_EQ(Listed(resumed), expected);
}

TEST(MatchedLines, TheListedLinesAreThoseGrepGivesForRandomPatternsAndFiles) {
    TTempFolder temp;
    std::mt19937 random(23);
    auto pick = [&](int n) { return static_cast<int>(random() % unsigned(n)); };
    const char* const ends[] = {"\n", "\r\n", "\r"};
    for (int round = 0; round < 120; ++round) {
        const bool regex = round % 3 == 2;
        const bool cp949 = !regex && round % 2 == 0;
        const std::vector<std::string> pieces = Pieces(cp949);
        std::string text;
        for (int line = pick(120); line > 0; --line) {
            for (int n = pick(14); n > 0; --n)
                text += pick(40) == 0 && !regex ? std::string(1, '\0') : pieces[size_t(pick(7))];
            text += regex ? "\n" : ends[pick(3)];
        }
        if (pick(3) == 0)
            text += pieces[size_t(pick(7))]; // a last line without its end
        const bool caseSensitive = pick(2) == 0;
        const std::string path = temp.Write("t.txt", text);
        TOVStringList list;
        ASSERT_TRUE(list.LoadViewedFile(path, cp949 ? TFileEncoding::Cp949 : TFileEncoding::Utf8));
        list.FinishLoading();
        if (list.Count() == 0)
            continue;
        const TCharCoding& coding = list.CharCoding();
        if (!regex) {
            std::string pattern;
            for (int n = 1 + pick(3); n > 0; --n)
                pattern += pieces[size_t(pick(7))];
            ExpectEveryWayGives(
                list,
                [&] {
                    return std::make_shared<TPlainMatcher>(pattern, caseSensitive, false, coding);
                },
                PlainReference(text, pattern, cp949, caseSensitive),
                "plain " + pattern + " in round " + std::to_string(round));
            continue;
        }
        const std::string pattern = RandomRegex(random);
        const std::string patternFile = temp.Write("p.txt", pattern + "\n");
        const std::optional<std::vector<int>> expected =
            GrepLines(path, patternFile, caseSensitive);
        if (!expected)
            GTEST_SKIP() << "grep cannot be run here";
        ExpectEveryWayGives(
            list,
            [&] {
                return std::make_shared<TRegexSearch>(pattern, caseSensitive, false, coding);
            },
            *expected, "regex " + pattern + " in round " + std::to_string(round));
    }
}

} // namespace
} // namespace ov
