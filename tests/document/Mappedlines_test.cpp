// A viewed file read where it is mapped: the same lines as the line splitter
// gives, the same behaviour as a list of its own once changed, and a file
// that shrinks while shown reads as zeros instead of ending the program.

#include "Files.h"
#include "Linesplitter.h"
#include "Mappedfile.h"
#include "Mappedlines.h"
#include "Ovstrings.h"
#include "Testsupport.h"
#include "Textrange.h"
#include "Textsearch.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

using namespace ov;
using ov::test::TTempFolder;

namespace {

using TLines = std::vector<std::string>;

// What the file's lines must be: split as the stream reader splits, NUL
// bytes read as spaces.
TLines SplitterLines(std::string bytes) {
    std::replace(bytes.begin(), bytes.end(), '\0', ' ');
    TLines lines;
    TLineSplitter splitter;
    auto add = [&lines](std::string_view line) { lines.emplace_back(line); };
    splitter.Feed(bytes.data(), bytes.size(), add);
    splitter.Finish(add);
    return lines;
}

// The lines as their readers show them (a NUL byte as a blank).
TLines Lines(const TOVStringList& list) {
    TLines lines;
    std::string shown;
    for (int i = 0; i < list.Count(); ++i)
        lines.emplace_back(list.ShownView(i, shown));
    return lines;
}

std::string RandomBytes(std::mt19937& random, std::size_t size) {
    static const char alphabet[] = {'a', 'b', ' ', '\r', '\n', '\n', '\0', '\xB0', '\xA1', '\t'};
    std::string bytes(size, 'a');
    // Mostly text with sparse line ends, sometimes dense runs of them.
    const bool dense = random() % 3 == 0;
    for (char& c : bytes)
        c = dense || random() % 8 == 0 ? alphabet[random() % sizeof alphabet] : 'x';
    return bytes;
}

} // namespace

TEST(MappedDocument, LinesAreThoseTheSplitterGivesForAnyBytes) {
    TTempFolder temp;
    std::mt19937 random(17);
    const long page = sysconf(_SC_PAGESIZE);
    const std::size_t block = 1 << 20; // the index scans a block at a time
    std::vector<std::string> files;
    for (int i = 0; i < 300; ++i)
        files.push_back(RandomBytes(random, random() % 600));
    // Sizes of whole pages leave no byte of the file's last page after the
    // text; a CR LF or a line end may straddle a scanning block.
    for (std::size_t size : {std::size_t(page), std::size_t(2 * page), block, block + 1, 2 * block + 3}) {
        for (const char* tail : {"", "\r", "\n", "\r\n", "x"}) {
            std::string bytes = RandomBytes(random, size);
            bytes.replace(bytes.size() - std::strlen(tail), std::strlen(tail), tail);
            files.push_back(bytes);
        }
        std::string straddling(size, 'y');
        straddling[block - 1 < size ? block - 1 : size - 1] = '\r';
        if (block < size)
            straddling[block] = '\n';
        files.push_back(straddling);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const bool marked = i % 4 == 1;
        const std::string bytes = (marked ? "\xEF\xBB\xBF" : "") + files[i];
        TOVSynStringList list;
        std::optional<TFileEncoding> read =
            list.LoadViewedFile(temp.Write("f.txt", bytes), marked ? TCodingChoice() : TFileEncoding::Cp949);
        ASSERT_TRUE(read.has_value());
        ASSERT_EQ(Lines(list), SplitterLines(files[i])) << "file " << i << " of " << bytes.size() << " bytes";
        for (int row = 0; row < list.Count(); ++row) {
            // The byte after a text is its line end or the zero after the file.
            const char after = list.Get(row)[list.GetLength(row)];
            ASSERT_TRUE(after == '\0' || after == '\r' || after == '\n') << row;
            ASSERT_EQ(list.GetObject(row), 0);
            ASSERT_EQ(list.GetStyleID(row, 0), 0);
        }
    }
}

// The same random changes on a mapped document and on one filled line by
// line leave both with the same lines, objects and marks.
TEST(MappedDocument, ChangedDocumentsBehaveAsTheirOwnCopies) {
    TTempFolder temp;
    std::mt19937 random(5);
    for (int round = 0; round < 40; ++round) {
        std::string bytes;
        for (int line = 0, lines = int(random() % 30) + 1; line < lines; ++line)
            bytes += std::string(random() % 12, char('a' + random() % 26)) + (line % 4 ? "\n" : "\r\n");
        TOVSynStringList mapped, owned;
        ASSERT_TRUE(mapped.LoadViewedFile(temp.Write("c.txt", bytes), TFileEncoding::Cp949));
        for (const std::string& line : SplitterLines(bytes))
            owned.Add(line);
        for (int step = 0; step < 6 && owned.Count() > 0; ++step) {
            const int row = int(random() % unsigned(owned.Count()));
            const std::string text(random() % 9 + 1, char('A' + random() % 26));
            const auto object = std::intptr_t(random() % 100);
            for (TOVSynStringList* list : {&mapped, &owned}) {
                switch ((round + step) % 7) {
                case 0: list->Set(row, text); break;
                case 1: list->Insert(row, text); break;
                case 2: list->Delete(row); break;
                case 3: list->SetObject(row, object); break;
                case 4: list->SetStyleID(row, 0, TStyleByte(object % 50)); break;
                case 5: list->Sort(); break;
                default: list->AddObject(text, object); break;
                }
            }
        }
        ASSERT_EQ(Lines(mapped), Lines(owned)) << round;
        for (int row = 0; row < owned.Count(); ++row) {
            ASSERT_EQ(mapped.GetObject(row), owned.GetObject(row));
            for (int column = 0; column < owned.GetLength(row); ++column)
                ASSERT_EQ(mapped.GetStyleID(row, column), owned.GetStyleID(row, column));
        }
    }
}

TEST(MappedDocument, AFileThatShrinksWhileShownReadsAsZeros) {
    TTempFolder temp;
    std::string bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += "line " + std::to_string(i) + " of a file that another program cuts short\n";
    const std::string path = temp.Write("shrinking.log", bytes);
    TOVSynStringList list;
    ASSERT_TRUE(list.LoadViewedFile(path, TFileEncoding::Cp949));
    ASSERT_EQ(list.Count(), 3000);
    const std::int64_t replacedBefore = TMappedFile::ReplacedPages();
    ASSERT_EQ(::truncate(path.c_str(), 100), 0);
    std::size_t zeros = 0;
    for (int row = 0; row < list.Count(); ++row) {
        const std::string_view text = list.GetView(row);
        zeros += std::size_t(std::count(text.begin(), text.end(), '\0'));
        list.SetStyleID(row, 0, 3); // marks can still be stored
    }
    EXPECT_GT(TMappedFile::ReplacedPages(), replacedBefore);
    EXPECT_GT(zeros, bytes.size() / 2);
    EXPECT_EQ(list.GetView(0), "line 0 of a file that another program cuts short");
    // Reloading the shortened file shows what is left of it.
    ASSERT_TRUE(list.LoadViewedFile(path, TFileEncoding::Cp949));
    EXPECT_EQ(list.Count(), 3); // two whole lines and the start of a third
}

namespace {

// A small part indexed at once, so that a few megabytes are indexed in the
// background as a large file is.
TLoadPolicy SmallFirstPart(std::shared_ptr<TWorkerGate> gate = {}) {
    TLoadPolicy policy;
    policy.FirstPartBytes = 64 << 10;
    policy.Gate = std::move(gate);
    return policy;
}

std::string ManyLines(int count, const std::string& word) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += word + std::to_string(i) + (i % 5 == 0 ? "\r\n" : "\n");
    return bytes;
}

} // namespace

TEST(MappedDocument, LinesFoundInTheBackgroundArriveWhenTakenAndEndAsTheSplitterSays) {
    TTempFolder temp;
    const std::string bytes = ManyLines(300000, "background line ");
    const std::string path = temp.Write("big.log", bytes);
    const TLines expected = SplitterLines(bytes);
    for (bool taken : {true, false}) {
        TOVSynStringList list;
        list.SetLoadPolicy(SmallFirstPart());
        int appended = 0;
        list.OnAppend = [&](TOVStringList*) { ++appended; };
        ASSERT_TRUE(list.LoadViewedFile(path, TFileEncoding::Cp949));
        ASSERT_LT(list.Count(), int(expected.size()));
        ASSERT_GT(list.Count(), 0);
        if (taken) {
            // Count only ever grows, and only when taken; every line seen is whole.
            int last = list.Count();
            while (list.Loading()) {
                list.TakeLoadedLines();
                ASSERT_GE(list.Count(), last);
                ASSERT_EQ(list.GetView(list.Count() - 1), expected[std::size_t(list.Count() - 1)]);
                last = list.Count();
            }
            EXPECT_GT(appended, 0);
        } else {
            list.FinishLoading();
            EXPECT_EQ(appended, 0);
        }
        EXPECT_FALSE(list.Loading());
        EXPECT_EQ(Lines(list), expected);
    }
}

TEST(MappedDocument, ADocumentReplacedDuringTheBackgroundPassShowsOnlyTheNewFile) {
    TTempFolder temp;
    const std::string first = temp.Write("first.log", ManyLines(200000, "old "));
    const std::string second = ManyLines(150000, "new ");
    const std::string secondPath = temp.Write("second.log", second);
    TOVSynStringList list;
    list.SetLoadPolicy(SmallFirstPart());
    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(list.LoadViewedFile(first, TFileEncoding::Cp949));
        ASSERT_TRUE(list.Loading());
        if (round % 2)
            list.Set(0, "changed"); // a change takes the whole file first
        ASSERT_TRUE(list.LoadViewedFile(secondPath, TFileEncoding::Cp949));
    }
    list.FinishLoading();
    EXPECT_EQ(Lines(list), SplitterLines(second));
    // A list destroyed during the pass stops its worker.
    auto doomed = std::make_unique<TOVSynStringList>();
    doomed->SetLoadPolicy(SmallFirstPart());
    ASSERT_TRUE(doomed->LoadViewedFile(first, TFileEncoding::Cp949));
    doomed.reset();
}

namespace {

// Kilobytes of the program's own memory (anonymous pages: the copies that
// writing into a private file mapping makes) in the mappings that overlap
// bytes from at on. (Private_Dirty would also count the file's own pages,
// dirty in the page cache while the test's file is not yet written back.)
long OwnKilobytesOfMapping(const char* at, std::size_t bytes) {
    const auto begin = reinterpret_cast<std::uintptr_t>(at);
    const std::uintptr_t end = begin + bytes;
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    long kilobytes = 0;
    while (std::getline(smaps, line)) {
        std::uintptr_t from = 0, to = 0;
        if (std::sscanf(line.c_str(), "%" SCNxPTR "-%" SCNxPTR " ", &from, &to) == 2 &&
            line.find(':') > line.find(' ')) {
            inside = from < end && begin < to;
            continue;
        }
        long value = 0;
        if (inside && std::sscanf(line.c_str(), "Anonymous: %ld kB", &value) == 1)
            kilobytes += value;
    }
    return kilobytes;
}

} // namespace

// A file's NUL bytes read as blanks for every reader (its lines, a copy,
// a search), and the mapping is never written for it: a file of NULs costs
// the program no memory of its own, however much of it is read.
TEST(MappedDocument, NulBytesReadAsBlanksAndTheMappingIsNeverWritten) {
    TTempFolder temp;
    using namespace std::string_literals;
    std::string bytes = "a\0b c\0\0d\r\n\0\n\xB0\0x \xB0\xA1\0\nend\0"s;
    bytes += std::string(8 << 20, '\0'); // one long line of NULs
    bytes += "\nx\0y\n"s;
    TOVSynStringList mapped, owned;
    ASSERT_TRUE(mapped.LoadViewedFile(temp.Write("nul.bin", bytes), TFileEncoding::Cp949));
    ASSERT_TRUE(mapped.Mapped());
    for (const std::string& line : SplitterLines(bytes))
        owned.Add(line);
    ASSERT_EQ(Lines(mapped), Lines(owned));
    const int last = owned.Count() - 1;
    const TTextRange all{{0, 0}, {owned.GetLength(last) - 1, last}};
    EXPECT_EQ(RangeText(mapped, all, 1, "\r\n"), RangeText(owned, all, 1, "\r\n"));
    for (const char* pattern : {"a b", "c  d", " ", "x y", "d"}) {
        for (bool whole : {false, true}) {
            const TTextSearch search(pattern, true, whole, mapped.CharCoding());
            for (TSearchDirection direction : {TSearchDirection::Forward, TSearchDirection::Backward}) {
                const bool forward = direction == TSearchDirection::Forward;
                const TSearchMatch found = search.Search(mapped, 0, forward ? 0 : last, forward ? last : 0, direction);
                const TSearchMatch expected = search.Search(owned, 0, forward ? 0 : last, forward ? last : 0, direction);
                EXPECT_EQ(found.Line, expected.Line) << pattern << whole << forward;
                EXPECT_EQ(found.Column, expected.Column) << pattern << whole << forward;
                EXPECT_GE(found.Line, 0) << pattern;
            }
        }
    }
    // Another view of the text and a copy of it (a change) read the same.
    TOVSynStringList shared;
    ASSERT_TRUE(shared.ShareMappedText(mapped));
    EXPECT_EQ(Lines(shared), Lines(owned));
    EXPECT_EQ(OwnKilobytesOfMapping(mapped.Get(0), bytes.size()), 0);
    shared.Set(0, "changed");
    EXPECT_EQ(OwnKilobytesOfMapping(mapped.Get(0), bytes.size()), 0);
    owned.Set(0, "changed");
    EXPECT_EQ(Lines(shared), Lines(owned));
}

// A file cut short while the worker indexes it (a log rotated by copying
// and truncating it) ends the index where the file now ends: the lines are
// those of what is left, never the vanished part read as zeros.
TEST(MappedDocument, AFileCutShortWhileIndexedEndsWhereItNowEnds) {
    TTempFolder temp;
    const std::string bytes = ManyLines(200000, "rotated line ");
    auto gate = std::make_shared<TWorkerGate>();
    for (const std::size_t cut : {bytes.size() / 2 + 3, bytes.size() / 3, std::size_t(0)}) {
        const std::string path = temp.Write("rotated.log", bytes);
        TOVSynStringList list;
        list.SetLoadPolicy(SmallFirstPart(gate));
        gate->Hold();
        ASSERT_TRUE(list.LoadViewedFile(path, TFileEncoding::Cp949));
        const int firstPart = list.Count();
        ASSERT_TRUE(list.Loading());
        ASSERT_EQ(::truncate(path.c_str(), off_t(cut)), 0);
        gate->Release();
        list.FinishLoading();
        EXPECT_FALSE(list.Loading());
        if (cut == 0) {
            // The lines shown before stay; nothing is added.
            EXPECT_EQ(list.Count(), firstPart);
        } else {
            EXPECT_EQ(Lines(list), SplitterLines(bytes.substr(0, cut))) << cut;
        }
    }
}

// A gate held by the test keeps every worker before the rest: the list
// stays at its first part however long it waits, a list replaced or
// destroyed meanwhile ends its worker, and after the release the lines are
// those of the whole file.
TEST(MappedDocument, AHeldGateKeepsTheWorkerBeforeTheRestUntilReleasedOrCancelled) {
    TTempFolder temp;
    const std::string bytes = ManyLines(100000, "held ");
    const std::string path = temp.Write("held.log", bytes);
    auto gate = std::make_shared<TWorkerGate>();
    gate->Hold();
    TOVSynStringList list;
    list.SetLoadPolicy(SmallFirstPart(gate));
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(list.LoadViewedFile(path, TFileEncoding::Cp949)); // replaces a held list
        const int firstPart = list.Count();
        ASSERT_GT(firstPart, 0);
        for (int look = 0; look < 20; ++look) {
            std::this_thread::yield();
            EXPECT_FALSE(list.TakeLoadedLines());
        }
        EXPECT_TRUE(list.Loading());
        EXPECT_EQ(list.Count(), firstPart);
        EXPECT_LT(list.LoadProgress(), 1.0);
    }
    {
        TOVSynStringList doomed;
        doomed.SetLoadPolicy(SmallFirstPart(gate));
        ASSERT_TRUE(doomed.LoadViewedFile(path, TFileEncoding::Cp949));
        ASSERT_TRUE(doomed.Loading());
    } // returns: the cancel wakes the held worker
    gate->Release();
    list.FinishLoading();
    EXPECT_FALSE(list.Loading());
    EXPECT_EQ(Lines(list), SplitterLines(bytes));
}

namespace {

// Texts that put line ends where the sparse index is easiest to get wrong:
// runs of empty lines (every group starts at a line end; every byte of a
// 64-byte piece may end a line), lines of a few bytes, CR LF pairs whose
// halves fall in two groups, two 64-byte pieces or two scanning blocks, and
// lines just shorter and longer than the length from which their ends are
// kept.
std::string SparseIndexText(std::mt19937& random) {
    static const char* const ends[] = {"\n", "\r", "\r\n", "\r\n", "\n\r"};
    std::string text;
    const std::size_t target = random() % 3 == 0 ? (1 << 20) + random() % 4096 : random() % 40000;
    while (text.size() < target) {
        switch (random() % 9) {
        case 7: // a long run of LFs or CRs alone: whole 64-byte pieces of line ends
            text += std::string(random() % 600, random() % 4 ? '\n' : '\r');
            break;
        case 8: // lines of a few bytes, now and then one that beats them
            for (int i = 0, n = int(random() % 200); i < n; ++i)
                text += std::string(random() % 16 == 0 ? random() % 64 : random() % 4, 's') + ends[random() % 5];
            break;
        case 6: // now and then a line too long for its group's kept length
            if (random() % 8 == 0)
                text += std::string(65535 + random() % 3, 'L') + ends[random() % 5];
            break;
        case 0: // a run of empty lines of one kind of end
            for (int i = 0, n = int(random() % 40); i < n; ++i)
                text += ends[random() % 3];
            break;
        case 1: { // a line about as long as a kept one
            const std::size_t length = TMappedLines::LongLine - 3 + random() % 7;
            text += std::string(length, char('a' + random() % 26));
            text += ends[random() % 5];
            break;
        }
        case 2: // a CR LF across the next 64-byte piece's edge
            text += std::string((64 - (text.size() + 1) % 64) % 64, 'p') + "\r\n";
            break;
        case 3: // the same across the scanning block
            if (text.size() < (1 << 20))
                text += std::string((1 << 20) - 1 - text.size(), 'b') + "\r\n";
            break;
        default: // short lines with mixed ends
            for (int i = 0, n = int(random() % 30); i < n; ++i)
                text += std::string(random() % 70, char('A' + random() % 26)) + ends[random() % 5];
            break;
        }
    }
    if (random() % 2)
        text.resize(target); // the last line may end without a line end
    return text;
}

std::unique_ptr<TMappedLines> MapLines(const std::string& path, std::uint64_t firstPart) {
    TReadOnlyFile opened;
    if (!opened.Open(path))
        return nullptr;
    auto file = std::make_unique<TMappedFile>();
    if (!file->Map(opened))
        return nullptr;
    return std::make_unique<TMappedLines>(std::move(file), 0, firstPart);
}

std::string_view LineOf(const TMappedLines& lines, int line) {
    return {lines.Text(line), std::size_t(lines.Length(line))};
}

std::size_t LongestOf(const TLines& lines, int first, int end) {
    std::size_t longest = 0;
    for (int line = first; line < end; ++line)
        longest = std::max(longest, lines[std::size_t(line)].size());
    return longest;
}

} // namespace

// The index keeps one start in every group of lines and the ends of long
// lines only; whatever the order in which lines are asked for (in order,
// backwards, at random, alternating between two indexes, from two threads
// at once, while the worker still adds lines), they are the splitter's.
// The longest line it tells of any range, during the worker and after, is
// the splitter's longest there.
TEST(MappedDocument, TheSparseIndexGivesTheSplittersLinesInAnyOrder) {
    TTempFolder temp;
    std::mt19937 random(29);
    for (int round = 0; round < 24; ++round) {
        const std::string text = SparseIndexText(random);
        const std::string other = SparseIndexText(random);
        const TLines expected = SplitterLines(text);
        const TLines otherExpected = SplitterLines(other);
        const std::uint64_t firstPart = random() % 3 == 0 ? UINT64_MAX : random() % 5000 + 1;
        auto lines = MapLines(temp.Write("sparse.txt", text), firstPart);
        auto others = MapLines(temp.Write("other.txt", other), UINT64_MAX);
        ASSERT_TRUE(lines && others) << round;
        lines->StartRest();
        // Lines taken while the worker runs: the last ones, and some at random.
        while (lines->Pending()) {
            lines->Take();
            const int count = lines->Count();
            ASSERT_LE(std::size_t(count), expected.size());
            for (int line = std::max(0, count - 20); line < count; ++line)
                ASSERT_EQ(LineOf(*lines, line), expected[std::size_t(line)]) << round << " " << line;
            if (count > 0) {
                const int line = int(random() % unsigned(count));
                ASSERT_EQ(LineOf(*lines, line), expected[std::size_t(line)]) << round << " " << line;
                const int from = int(random() % unsigned(count + 1));
                ASSERT_EQ(std::size_t(lines->Longest(from, count)), LongestOf(expected, from, count))
                    << round << " " << from << " " << count;
                ASSERT_EQ(std::size_t(lines->Longest(0, count)), LongestOf(expected, 0, count)) << round;
            }
        }
        lines->Finish();
        ASSERT_EQ(std::size_t(lines->Count()), expected.size()) << round;
        ASSERT_EQ(std::size_t(others->Count()), otherExpected.size()) << round;
        const int count = lines->Count();
        std::vector<int> order(std::size_t(count), 0);
        for (int i = 0; i < count; ++i)
            order[std::size_t(i)] = (round % 3 == 0 ? count - 1 - i : i);
        if (round % 3 == 1)
            std::shuffle(order.begin(), order.end(), random);
        // Another thread reads the same index at random meanwhile.
        std::atomic<bool> otherThreadRight{true};
        std::thread reader([&, seed = random()] {
            std::mt19937 own(seed);
            for (int i = 0; i < 3000 && count > 0; ++i) {
                const int line = int(own() % unsigned(count));
                if (LineOf(*lines, line) != expected[std::size_t(line)])
                    otherThreadRight = false;
            }
        });
        for (const int line : order) {
            ASSERT_EQ(LineOf(*lines, line), expected[std::size_t(line)]) << round << " " << line;
            // The byte after a line is its line end or the zero after the file.
            const char after = lines->Text(line)[lines->Length(line)];
            ASSERT_TRUE(after == '\0' || after == '\r' || after == '\n') << round << " " << line;
            if (line < others->Count()) {
                ASSERT_EQ(LineOf(*others, line), otherExpected[std::size_t(line)]) << round << " " << line;
            }
        }
        reader.join();
        EXPECT_TRUE(otherThreadRight) << round;
        for (int i = 0; i < 40 && count > 0; ++i) {
            const int first = int(random() % unsigned(count + 1));
            const int end = first + int(random() % unsigned(count - first + 1));
            ASSERT_EQ(std::size_t(lines->Longest(first, end)), LongestOf(expected, first, end))
                << round << " " << first << " " << end;
        }
        ASSERT_EQ(std::size_t(lines->Longest(0, count)), LongestOf(expected, 0, count)) << round;
    }
}
