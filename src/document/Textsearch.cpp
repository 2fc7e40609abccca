#include "Textsearch.h"

#include <algorithm>
#include <cstring>

namespace ov {

namespace {

constexpr std::string_view WordDelimiters = "~!@%^&*()-+=|/{}[]:;\"'<> ,\t.?";
static_assert(WordDelimiters.size() == 29);

struct TByteTables {
    uint8_t Identity[256];
    uint8_t Upper[256];
    bool Delimiter[256];
    TByteTables() {
        for (int b = 0; b < 256; ++b) {
            Identity[b] = static_cast<uint8_t>(b);
            Upper[b] = static_cast<uint8_t>(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
            Delimiter[b] = false;
        }
        for (char c : WordDelimiters)
            Delimiter[static_cast<unsigned char>(c)] = true;
    }
};

const TByteTables& Tables() {
    static const TByteTables tables;
    return tables;
}

} // namespace

bool IsWordDelimiter(unsigned char byte) {
    return Tables().Delimiter[byte];
}

TTextSearch::TTextSearch(std::string_view pattern, bool caseSensitive, bool wholeWords,
                         const TCharCoding& coding)
    : FCoding(coding), FWholeWords(wholeWords) {
    const TByteTables& tables = Tables();
    FPattern.assign(pattern);
    FTables.resize(FPattern.size(), tables.Identity);
    // The pattern's own characters say which bytes fold: ASCII letters that
    // stand alone, never the second byte of a double-byte character.
    for (size_t k = 0; k < FPattern.size(); k = FCoding.NextChar(FPattern, k)) {
        FLastCharOffset = static_cast<int>(k);
        if (!caseSensitive && FCoding.CharLength(FPattern, k) == 1) {
            const auto byte = static_cast<unsigned char>(FPattern[k]);
            FTables[k] = tables.Upper;
            FPattern[k] = static_cast<char>(tables.Upper[byte]);
        }
    }
    const int length = Length();
    FPlainByte = length == 1 && FTables[0] == tables.Identity;
    FForwardShift.fill(std::max(length, 1));
    FBackwardShift.fill(std::max(length, 1));
    for (int k = 0; k + 1 < length; ++k)
        for (int byte = 0; byte < 256; ++byte)
            if (MatchesAt(size_t(k), static_cast<unsigned char>(byte)))
                FForwardShift[size_t(byte)] = length - 1 - k;
    for (int k = length - 1; k >= 1; --k)
        for (int byte = 0; byte < 256; ++byte)
            if (MatchesAt(size_t(k), static_cast<unsigned char>(byte)))
                FBackwardShift[size_t(byte)] = k;
}

bool TTextSearch::MatchesWhole(const unsigned char* at) const {
    for (size_t k = 0; k < FPattern.size(); ++k)
        if (!MatchesAt(k, at[k]))
            return false;
    return true;
}

// Delimiters are ASCII, and an ASCII byte is always a character of its own:
// a multi-byte character next to the match is part of the word, and so is
// a delimiter byte that is the second byte of a character.
bool AcceptsMatch(const TCharCoding& coding, bool wholeWords, std::string_view line,
                  std::size_t start, std::size_t end, TCharStartMemo& memo) {
    if (!coding.IsCharStart(line, start, memo) || !coding.IsCharStart(line, end, memo))
        return false;
    if (!wholeWords)
        return true;
    if (start > 0 && (!IsWordDelimiter(static_cast<unsigned char>(line[start - 1])) ||
                      !coding.IsCharStart(line, start - 1, memo)))
        return false;
    return end >= line.size() || IsWordDelimiter(static_cast<unsigned char>(line[end]));
}

bool TTextSearch::Accept(std::string_view line, int q, TCharStartMemo& memo) const {
    return AcceptsMatch(FCoding, FWholeWords, line, size_t(q), size_t(q) + FPattern.size(), memo);
}

int TTextSearch::FindForward(std::string_view line, int from) const {
    const int length = Length();
    const int last = static_cast<int>(line.size()) - length;
    if (length == 0 || last < 0)
        return -1;
    int q = std::max(from, 0);
    const auto* text = reinterpret_cast<const unsigned char*>(line.data());
    TCharStartMemo memo;
    if (FPlainByte) {
        while (q <= last) {
            const void* hit = std::memchr(text + q, FPattern[0], size_t(last - q + 1));
            if (!hit)
                return -1;
            q = static_cast<int>(static_cast<const unsigned char*>(hit) - text);
            if (Accept(line, q, memo))
                return q;
            ++q;
        }
        return -1;
    }
    const size_t end = size_t(length - 1);
    while (q <= last) {
        const unsigned char byte = text[size_t(q) + end];
        if (MatchesAt(end, byte) && MatchesWhole(text + q) && Accept(line, q, memo))
            return q;
        q += FForwardShift[byte];
    }
    return -1;
}

int TTextSearch::FindBackward(std::string_view line, int from) const {
    const int length = Length();
    const int last = static_cast<int>(line.size()) - length;
    if (length == 0 || last < 0)
        return -1;
    int q = std::min(from, last);
    const auto* text = reinterpret_cast<const unsigned char*>(line.data());
    TCharStartMemo memo;
    if (FPlainByte) {
        while (q >= 0) {
            const void* hit = memrchr(text, FPattern[0], size_t(q + 1));
            if (!hit)
                return -1;
            q = static_cast<int>(static_cast<const unsigned char*>(hit) - text);
            if (Accept(line, q, memo))
                return q;
            --q;
        }
        return -1;
    }
    while (q >= 0) {
        const unsigned char byte = text[q];
        if (MatchesAt(0, byte) && MatchesWhole(text + q) && Accept(line, q, memo))
            return q;
        q -= FBackwardShift[byte];
    }
    return -1;
}

TSearchMatch TTextSearch::Search(const TOVStringList& lines, int column, int line, int endLine,
                                 TSearchDirection direction) const {
    if (FPattern.empty())
        return {};
    const int count = lines.Count();
    std::string shown;
    if (direction == TSearchDirection::Forward) {
        for (int i = std::max(line, 0); i <= std::min(endLine, count - 1); ++i) {
            int q = FindForward(lines.ShownView(i, shown), i == line ? column : 0);
            if (q >= 0)
                return {q, i};
        }
    } else {
        for (int i = std::min(line, count - 1); i >= std::max(endLine, 0); --i) {
            std::string_view text = lines.ShownView(i, shown);
            int q = FindBackward(text, i == line ? column : static_cast<int>(text.size()));
            if (q >= 0)
                return {q, i};
        }
    }
    return {};
}

} // namespace ov
