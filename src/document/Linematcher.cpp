#include "Linematcher.h"

#include <algorithm>
#include <string>

namespace ov {

TDocumentHit TLineMatcher::Search(const TOVStringList& lines, int column, int line, int endLine,
                                  TSearchDirection direction) const {
    const int count = lines.Count();
    std::string shown;
    if (direction == TSearchDirection::Forward) {
        for (int i = std::max(line, 0); i <= std::min(endLine, count - 1); ++i) {
            const TLineHit hit = FindForward(lines.ShownView(i, shown), i == line ? column : 0);
            if (hit.Found())
                return {i, hit.Column, hit.Length};
        }
    } else {
        for (int i = std::min(line, count - 1); i >= std::max(endLine, 0); --i) {
            const std::string_view text = lines.ShownView(i, shown);
            const TLineHit hit =
                FindBackward(text, i == line ? column : static_cast<int>(text.size()));
            if (hit.Found())
                return {i, hit.Column, hit.Length};
        }
    }
    return {};
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
