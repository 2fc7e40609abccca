// Searching a large document for a text, for comparison with grep on the
// same warm file. The document is loaded once as the program loads it; the
// search then runs REPEAT times over every line, as a Find for a text that
// does not occur does. Time the process with and without repeats to take
// the load out:
//   bench_textsearch FILE TEXT [-i] [-w] [--repeat N]
//   bench_textsearch FILE TEXT [-i] [-w] --count
// -i ignores the case of ASCII letters, -w finds whole words only. --count
// walks from match to match as Find Next does and prints the number of
// lines with a match (the figure `grep -c -F` prints for the same text).

#include "Ovstrings.h"
#include "Textsearch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE TEXT [-i] [-w] [--repeat N | --count]\n", argv[0]);
        return 2;
    }
    bool caseSensitive = true, wholeWords = false, count = false;
    int repeat = 1;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "-i") == 0)
            caseSensitive = false;
        else if (std::strcmp(argv[i], "-w") == 0)
            wholeWords = true;
        else if (std::strcmp(argv[i], "--count") == 0)
            count = true;
        else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::atoi(argv[++i]);
    }
    ov::TOVSynStringList lines;
    lines.LoadFromFile(argv[1]);
    const ov::TTextSearch search(argv[2], caseSensitive, wholeWords);
    const int last = lines.Count() - 1;
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
