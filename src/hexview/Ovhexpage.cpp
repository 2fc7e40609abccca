#include "Ovhexpage.h"

#include "Errors.h"
#include "Files.h"
#include "Ovhexlayout.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace ov {

void TOVHexPage::SetRows(int rows) {
    rows = std::max(rows, 0);
    if (rows == Rows())
        return;
    try {
        // Fresh blocks rather than resize, so that a smaller page gives its
        // memory back.
        std::vector<char> bytes(static_cast<size_t>(rows) * HexBytesPerRow);
        std::vector<unsigned char> lengths(static_cast<size_t>(rows));
        std::copy_n(FBytes.begin(), std::min(bytes.size(), FBytes.size()), bytes.begin());
        std::copy_n(FRowLengths.begin(), std::min(lengths.size(), FRowLengths.size()),
                    lengths.begin());
        FBytes.swap(bytes);
        FRowLengths.swap(lengths);
    } catch (const std::bad_alloc&) {
        FBytes = {};
        FRowLengths = {};
        ThrowOutOfMemory();
    }
}

bool TOVHexPage::Load(const std::string& path, int64_t fileSize, int64_t fileRow, int first,
                      int count) {
    first = std::max(first, 0);
    count = std::min(count, Rows() - first);
    if (count <= 0 || fileRow < 0)
        return true;
    TReadOnlyFile file;
    if (!file.Open(path))
        return false;
    int64_t offset = fileRow * HexBytesPerRow;
    int64_t wanted = static_cast<int64_t>(count) * HexBytesPerRow;
    int64_t got =
        offset < fileSize ? file.ReadAt(offset, FBytes.data() + first * HexBytesPerRow, wanted) : 0;
    file.Close();
    // What the row may show: what the read delivered, and never bytes beyond
    // the size the view was opened with (the file may have grown since).
    int64_t shown = std::clamp<int64_t>(std::min(got, fileSize - offset), 0, wanted);
    for (int i = 0; i < count; ++i) {
        int64_t rest = shown - static_cast<int64_t>(i) * HexBytesPerRow;
        FRowLengths[first + i] =
            static_cast<unsigned char>(std::clamp<int64_t>(rest, 0, HexBytesPerRow));
    }
    return true;
}

void TOVHexPage::Forget(int first, int count) {
    first = std::max(first, 0);
    for (int r = first; r < first + count && r < Rows(); ++r)
        FRowLengths[r] = 0;
}

void TOVHexPage::ShiftUp(int d) {
    if (d <= 0 || d >= Rows())
        return;
    int keep = Rows() - d;
    std::memmove(FBytes.data(), FBytes.data() + d * HexBytesPerRow, keep * HexBytesPerRow);
    std::memmove(FRowLengths.data(), FRowLengths.data() + d, keep);
}

void TOVHexPage::ShiftDown(int d) {
    if (d <= 0 || d >= Rows())
        return;
    int keep = Rows() - d;
    std::memmove(FBytes.data() + d * HexBytesPerRow, FBytes.data(), keep * HexBytesPerRow);
    std::memmove(FRowLengths.data() + d, FRowLengths.data(), keep);
}

std::string_view TOVHexPage::Row(int screenRow) const {
    if (screenRow < 0 || screenRow >= Rows())
        return {};
    return {FBytes.data() + screenRow * HexBytesPerRow, FRowLengths[screenRow]};
}

} // namespace ov
