#include "Viewedtext.h"

#include "Charcoding.h"

#include <algorithm>

namespace ov {

void TOwnedText::SetCapacity(int capacity) {
    if (capacity <= 0) {
        std::vector<char*>().swap(FLines);
        return;
    }
    FLines.resize(static_cast<std::size_t>(std::max(capacity, FCount)));
}

void TOwnedText::Insert(int line, char* text) {
    const auto at = FLines.begin() + line;
    std::move_backward(at, FLines.begin() + FCount, FLines.begin() + FCount + 1);
    *at = text;
    ++FCount;
}

void TOwnedText::Delete(int line) {
    std::move(FLines.begin() + line + 1, FLines.begin() + FCount, FLines.begin() + line);
    --FCount;
}

void TOwnedText::Adopt(std::vector<char*>&& lines) {
    FLines = std::move(lines);
    FCount = static_cast<int>(FLines.size());
}

std::string_view TMappedText::Shown(int line, std::string& buffer) const {
    return ShownText(View(line), buffer);
}

std::string_view TMappedText::ShownRow(int line, std::shared_ptr<const std::string>& keep) {
    const std::string_view text = View(line);
    if (line != FShownRow) {
        FShownRow = line;
        FShownCopy.reset();
        std::string copy;
        if (ShownText(text, copy).data() == copy.data())
            FShownCopy = std::make_shared<const std::string>(std::move(copy));
    }
    keep = FShownCopy;
    return keep ? std::string_view(*keep) : text;
}

} // namespace ov
