// libFuzzer target of the mapped line index. The input's first byte sets
// the part indexed at once (a few bytes), so that a worker indexes the
// rest; the rest of the input is the file. The lines taken while the worker
// runs are always a prefix of the whole file's lines, and once every line
// is taken they are the lines of a plain split at CR LF, LF and CR (NUL
// bytes shown as blanks).

#include "Charcoding.h"
#include "Files.h"
#include "Fuzzsupport.h"
#include "Mappedfile.h"
#include "Mappedlines.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> ReferenceLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t start = i;
        while (i < text.size() && text[i] != '\n' && text[i] != '\r')
            ++i;
        lines.emplace_back(text.substr(start, i - start));
        if (i < text.size() && text[i] == '\r')
            ++i;
        if (i < text.size() && text[i] == '\n')
            ++i;
    }
    return lines;
}

std::string LineOf(const ov::TMappedLines& lines, int line) {
    std::string shown;
    return std::string(ov::ShownText({lines.Text(line), std::size_t(lines.Length(line))}, shown));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::uint64_t firstPart = data[0] % 16 + 1;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string path = fuzz::Folder() + "mapped.txt";
    ov::WriteWholeFile(path, text);
    ov::TReadOnlyFile opened;
    FUZZ_CHECK(opened.Open(path));
    auto file = std::make_unique<ov::TMappedFile>();
    FUZZ_CHECK(file->Map(opened));
    ov::TMappedLines lines(std::move(file), 0, firstPart);
    std::string blanks = text;
    std::replace(blanks.begin(), blanks.end(), '\0', ' ');
    const std::vector<std::string> expected = ReferenceLines(blanks);
    lines.StartRest();
    int seen = 0;
    while (lines.Pending()) {
        lines.Take();
        FUZZ_CHECK(lines.Count() >= seen && std::size_t(lines.Count()) <= expected.size());
        for (; seen < lines.Count(); ++seen)
            FUZZ_CHECK(LineOf(lines, seen) == expected[std::size_t(seen)]);
    }
    lines.Finish();
    FUZZ_CHECK(std::size_t(lines.Count()) == expected.size());
    for (int line = 0; line < lines.Count(); ++line) {
        FUZZ_CHECK(LineOf(lines, line) == expected[std::size_t(line)]);
        // The byte after a line is its line end or the zero after the file.
        const char after = lines.Text(line)[lines.Length(line)];
        FUZZ_CHECK(after == '\0' || after == '\r' || after == '\n');
    }
    return 0;
}
