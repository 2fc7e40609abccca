// libFuzzer target of the line loader. The input's first byte chooses the
// case; the rest is the file. 8-bit text fed in random pieces gives the lines
// the whole text gives, and a file read from disk gives them too (NUL bytes
// as blanks); UTF-16 after its byte-order mark gives one line per line end,
// none holding a line break or a NUL.

#include "Files.h"
#include "Fuzzsupport.h"
#include "Linesplitter.h"
#include "Ovstrings.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The lines of text split at CR LF, LF and CR, the straightforward way.
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

template <class TUnit> std::size_t ReferenceLineCount(const std::basic_string<TUnit>& text) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] != '\n' && text[i] != '\r')
            ++i;
        ++count;
        if (i < text.size() && text[i] == '\r')
            ++i;
        if (i < text.size() && text[i] == '\n')
            ++i;
    }
    return count;
}

std::vector<std::string> LinesOf(const ov::TOVStringList& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.emplace_back(list.GetView(i));
    return lines;
}

void CheckPieces(FuzzedDataProvider& provider) {
    const std::string text = provider.ConsumeRemainingBytesAsString();
    // Piece lengths come from the text itself so that any cut is reachable.
    std::vector<std::string> fed;
    ov::TLineSplitter splitter;
    auto add = [&](std::string_view line) { fed.emplace_back(line); };
    std::size_t at = 0;
    std::size_t seed = text.size();
    while (at < text.size()) {
        seed = seed * 1103515245 + 12345;
        std::size_t piece = std::min<std::size_t>(text.size() - at, 1 + (seed >> 16) % 9);
        splitter.Feed(text.data() + at, piece, add);
        at += piece;
    }
    splitter.Finish(add);
    FUZZ_CHECK(fed == ReferenceLines(text));
}

void CheckFile8Bit(FuzzedDataProvider& provider) {
    std::string text = provider.ConsumeRemainingBytesAsString();
    if (text.size() >= 2 && uint8_t(text[0]) == 0xFF && uint8_t(text[1]) == 0xFE)
        return; // that is the UTF-16 case
    const std::string path = fuzz::Folder() + "lines.txt";
    ov::WriteWholeFile(path, text);
    ov::TOVSynStringList list;
    list.LoadFromFile(path);
    std::replace(text.begin(), text.end(), '\0', ' ');
    FUZZ_CHECK(LinesOf(list) == ReferenceLines(text));
}

void CheckFileUtf16(FuzzedDataProvider& provider) {
    const std::string body = provider.ConsumeRemainingBytesAsString();
    // A file of the byte-order mark alone is read as 8-bit text today (one
    // line of two bytes); left to the encoding work.
    if (body.empty())
        return;
    const std::string path = fuzz::Folder() + "lines16.txt";
    ov::WriteWholeFile(path, "\xFF\xFE" + body);
    ov::TOVSynStringList list;
    list.LoadFromFile(path);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < body.size(); i += 2)
        units.push_back(char16_t(uint8_t(body[i]) | uint8_t(body[i + 1]) << 8));
    const std::size_t whole = ReferenceLineCount(units);
    // An odd last byte may count as a unit of its own.
    if (body.size() % 2)
        units.push_back(char16_t(uint8_t(body.back())));
    const std::size_t count = std::size_t(list.Count());
    FUZZ_CHECK(count == whole || count == ReferenceLineCount(units));
    for (int i = 0; i < list.Count(); ++i) {
        std::string_view line = list.GetView(i);
        FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    switch (provider.ConsumeIntegralInRange(0, 2)) {
    case 0:
        CheckPieces(provider);
        break;
    case 1:
        CheckFile8Bit(provider);
        break;
    default:
        CheckFileUtf16(provider);
        break;
    }
    return 0;
}
