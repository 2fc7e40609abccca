// Searching a large document for a text, for comparison with grep on the
// same warm file. The document is loaded once as the program loads it; the
// search then runs REPEAT times over every line, as a Find for a text that
// does not occur does. Time the process with and without repeats to take
// the load out:
//   bench_textsearch FILE TEXT [-i] [-w] [--repeat N]
//   bench_textsearch FILE TEXT [-i] [-w] --count
//   bench_textsearch --hangul-line TEXT [--bytes N] [--backward] [--repeat N]
//   bench_textsearch FILE PATTERN -E [-i] [-w] [--repeat N | --count]
//   bench_textsearch FILE TEXT [-E] [-i] [-w] --lines
// -E takes the text as a regular expression (UTF-8, in the document's
// coding as Find takes it; compare --count with `grep -c -E`). -i ignores the case of ASCII letters, -w finds whole words only. --count
// walks from match to match as Find Next does and prints the number of
// lines with a match (the figure `grep -c -F` prints for the same text).
// --lines lists the matching lines as the window's list of matching lines
// does, on a worker over the mapped bytes from the first paint on (the index
// running beside it), and prints their number: compare with `grep -n`.
// --hangul-line searches a document of one line of N bytes (1 MiB unless
// --bytes says otherwise) of the syllable 0xB0 0xA1 repeated, made in
// memory; $'\xA1\xB0' meets a false hit at every second byte of the line,
// each of which must be told apart from a character start. --backward
// searches from the line's end towards its start.

#include "Matchedlines.h"
#include "Ovstrings.h"
#include "Regexsearch.h"
#include "Textsearch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s FILE TEXT [-i] [-w] [--repeat N | --count]\n"
                     "       %s --hangul-line TEXT [--bytes N] [--backward] [--repeat N]\n",
                     argv[0], argv[0]);
        return 2;
    }
    bool caseSensitive = true, wholeWords = false, count = false, backward = false, regex = false,
         listLines = false;
    const bool hangulLine = std::strcmp(argv[1], "--hangul-line") == 0;
    long hangulBytes = 1 << 20;
    int repeat = 1;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "-i") == 0)
            caseSensitive = false;
        else if (std::strcmp(argv[i], "-w") == 0)
            wholeWords = true;
        else if (std::strcmp(argv[i], "--lines") == 0)
            listLines = true;
        else if (std::strcmp(argv[i], "--count") == 0)
            count = true;
        else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--bytes") == 0 && i + 1 < argc)
            hangulBytes = std::atol(argv[++i]);
        else if (std::strcmp(argv[i], "--backward") == 0)
            backward = true;
        else if (std::strcmp(argv[i], "-E") == 0)
            regex = true;
    }
    ov::TOVSynStringList lines;
    if (hangulLine) {
        std::string line;
        for (long i = 0; i + 1 < hangulBytes; i += 2)
            line += "\xB0\xA1";
        lines.Add(line);
    } else {
        lines.LoadFromFile(argv[1]);
    }
    if (listLines) {
        std::shared_ptr<const ov::TLineMatcher> matcher;
        if (regex)
            matcher = std::make_shared<ov::TRegexSearch>(argv[2], caseSensitive, wholeWords,
                                                         lines.CharCoding());
        else
            matcher = std::make_shared<ov::TPlainMatcher>(argv[2], caseSensitive, wholeWords,
                                                          lines.CharCoding());
        if (!lines.Mapped() || lines.Count() == 0)
            return 2;
        ov::TMatchedLines matches;
        matches.StartMapped(matcher, lines.MappedTail(0), 0);
        while (matches.Running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            matches.Take();
        }
        std::printf("%d\n", matches.Count());
        return 0;
    }
    if (regex) {
        const ov::TRegexSearch search(argv[2], caseSensitive, wholeWords, lines.CharCoding());
        if (!search.Valid()) {
            std::fprintf(stderr, "%s\n", ov::RegexErrorMessage(search.Error()).c_str());
            return 2;
        }
        const int last = lines.Count() - 1;
        if (count) {
            int matchedLines = 0;
            for (int line = 0;;) {
                const ov::TDocumentHit hit =
                    search.Search(lines, 0, line, last, ov::TSearchDirection::Forward);
                if (!hit.Found())
                    break;
                ++matchedLines;
                line = hit.Line + 1;
            }
            std::printf("%d\n", matchedLines);
            return 0;
        }
        int found = 0;
        for (int r = 0; r < repeat; ++r)
            found += search.Search(lines, 0, 0, last, ov::TSearchDirection::Forward).Found();
        return found > repeat ? 1 : 0;
    }
    const ov::TTextSearch search(argv[2], caseSensitive, wholeWords);
    const int last = lines.Count() - 1;
    if (backward && last >= 0) {
        int found = 0;
        const int end = static_cast<int>(lines.GetView(last).size());
        for (int r = 0; r < repeat; ++r)
            found += search.Search(lines, end, last, 0, ov::TSearchDirection::Backward).Found();
        return found > repeat ? 1 : 0;
    }
    if (count) {
        int matchedLines = 0, column = 0, line = 0;
        for (;;) {
            ov::TSearchMatch match =
                search.Search(lines, column, line, last, ov::TSearchDirection::Forward);
            if (!match.Found())
                break;
            ++matchedLines;
            column = 0;
            line = match.Line + 1;
        }
        std::printf("%d\n", matchedLines);
        return 0;
    }
    int found = 0;
    for (int r = 0; r < repeat; ++r)
        found += search.Search(lines, 0, 0, last, ov::TSearchDirection::Forward).Found();
    return found > repeat ? 1 : 0;
}
