#include "Linematcher.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace ov {

namespace {

// How many bytes a scan over a whole file goes between two looks at its
// cancel flag.
constexpr std::size_t ScanCheckBytes = 256 << 10;
// The same for a walk over the lines of a list.
constexpr int ScanCheckLines = 4096;
// The longest line a line list holds; the index of a mapped file stops at a
// longer one.
constexpr std::size_t LongestLine = INT_MAX - 8;

// The next occurrence of a byte from at on, before a bound, remembered
// between lines: each byte of the text is looked at once however many lines
// follow, and a byte that never comes costs only the stretch up to the
// bound, not the rest of the text before the first line is taken.
class TNextByte {
public:
    explicit TNextByte(char byte) : FByte(byte) {}
    // The first occurrence in at .. bound - 1, or bound.
    const char* From(const char* at, const char* bound) {
        if (FAt && FAt >= at)
            return std::min(FAt, bound);
        const char* const from = std::max(at, FSearched);
        if (from >= bound)
            return bound;
        const void* hit = std::memchr(from, FByte, static_cast<std::size_t>(bound - from));
        if (!hit) {
            FSearched = bound;
            return bound;
        }
        FAt = static_cast<const char*>(hit);
        FSearched = FAt + 1;
        return FAt;
    }

private:
    char FByte;
    const char* FAt = nullptr;       // the last occurrence found
    const char* FSearched = nullptr; // looked through up to here
};

} // namespace

TDocumentHit TLineMatcher::Search(const TOVStringList& lines, int column, int line, int endLine,
                                  TSearchDirection direction, TJobControl* control) const {
    const int count = lines.Count();
    std::string shown;
    int looked = 0;
    auto stop = [&](int i) {
        if (!control || ++looked % ScanCheckLines != 0)
            return false;
        control->SetProgress(double(std::abs(i - line)) / (std::abs(double(endLine) - line) + 1));
        return control->Cancelled();
    };
    if (direction == TSearchDirection::Forward) {
        for (int i = std::max(line, 0); i <= std::min(endLine, count - 1); ++i) {
            const TLineHit hit = FindForward(lines.ShownView(i, shown), i == line ? column : 0);
            if (hit.Found())
                return {i, hit.Column, hit.Length};
            if (stop(i))
                return {};
        }
    } else {
        for (int i = std::min(line, count - 1); i >= std::max(endLine, 0); --i) {
            const std::string_view text = lines.ShownView(i, shown);
            const TLineHit hit =
                FindBackward(text, i == line ? column : static_cast<int>(text.size()));
            if (hit.Found())
                return {i, hit.Column, hit.Length};
            if (stop(i))
                return {};
        }
    }
    return {};
}

void TLineMatcher::ScanForward(std::string_view text, int line, int column, const THitSink& found,
                               TJobControl* control, int endLine) const {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    TNextByte nextLf('\n');
    TNextByte nextCr('\r');
    std::string shown;
    std::size_t nextCheck = ScanCheckBytes;
    for (const char* at = begin; at < end && line <= endLine;) {
        const char* const eol = nextCr.From(at, nextLf.From(at, end));
        const auto length = static_cast<std::size_t>(eol - at);
        if (length > LongestLine)
            return;
        const std::string_view shownLine = ShownText(std::string_view(at, length), shown);
        for (TLineHit hit = FindForward(shownLine, at == begin ? column : 0); hit.Found();
             hit = FindForward(shownLine, hit.Column + 1))
            if (!found({line, hit.Column, hit.Length}))
                return;
        if (eol == end || line == INT_MAX - 1)
            return;
        at = eol + 1;
        if (*eol == '\r' && at < end && *at == '\n')
            ++at;
        ++line;
        if (control && static_cast<std::size_t>(at - begin) >= nextCheck) {
            if (control->Cancelled())
                return;
            control->SetProgress(double(at - begin) / double(text.size()));
            nextCheck = static_cast<std::size_t>(at - begin) + ScanCheckBytes;
        }
    }
}

TPlainMatcher::TPlainMatcher(std::string_view pattern, bool caseSensitive, bool wholeWords,
                             const TCharCoding& coding) {
    FForms.emplace_back(pattern, caseSensitive, wholeWords, coding);
    if (coding.Coding() != TTextCoding::Utf8)
        return;
    const std::string decomposed = HangulForm(pattern, false);
    const std::string composed = HangulForm(pattern, true);
    if (decomposed != pattern)
        FForms.emplace_back(decomposed, caseSensitive, wholeWords, coding);
    if (composed != pattern && composed != decomposed)
        FForms.emplace_back(composed, caseSensitive, wholeWords, coding);
}

TLineHit TPlainMatcher::FindForward(std::string_view line, int from) const {
    TLineHit best;
    for (const TTextSearch& form : FForms) {
        const int q = form.FindForward(line, from);
        if (q >= 0 && (!best.Found() || q < best.Column))
            best = {q, form.Length()};
    }
    return best;
}

TLineHit TPlainMatcher::FindBackward(std::string_view line, int from) const {
    TLineHit best;
    for (const TTextSearch& form : FForms) {
        const int q = form.FindBackward(line, from);
        if (q >= 0 && (!best.Found() || q > best.Column))
            best = {q, form.Length()};
    }
    return best;
}

} // namespace ov
