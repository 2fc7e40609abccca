// A viewed file read where it is mapped: the same lines as the line splitter
// gives, the same behaviour as a list of its own once changed, and a file
// that shrinks while shown reads as zeros instead of ending the program.

#include "Linesplitter.h"
#include "Mappedfile.h"
#include "Ovstrings.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <random>

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

TLines Lines(const TOVStringList& list) {
    TLines lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.emplace_back(list.GetView(i));
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
            list.LoadViewedFile(temp.Write("f.txt", bytes), marked ? TCodingChoice::Auto : TCodingChoice::Cp949);
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
        ASSERT_TRUE(mapped.LoadViewedFile(temp.Write("c.txt", bytes), TCodingChoice::Cp949));
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
    ASSERT_TRUE(list.LoadViewedFile(path, TCodingChoice::Cp949));
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
    ASSERT_TRUE(list.LoadViewedFile(path, TCodingChoice::Cp949));
    EXPECT_EQ(list.Count(), 3); // two whole lines and the start of a third
}
