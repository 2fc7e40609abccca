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

TLineHit TPlainMatcher::FindForward(std::string_view line, int from) const {
    const int q = FSearch.FindForward(line, from);
    return q < 0 ? TLineHit{} : TLineHit{q, FSearch.Length()};
}

TLineHit TPlainMatcher::FindBackward(std::string_view line, int from) const {
    const int q = FSearch.FindBackward(line, from);
    return q < 0 ? TLineHit{} : TLineHit{q, FSearch.Length()};
}

} // namespace ov
