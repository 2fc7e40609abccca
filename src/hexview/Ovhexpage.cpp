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
        std::vector<unsigned char> inside(static_cast<size_t>(rows));
        std::copy_n(FBytes.begin(), std::min(bytes.size(), FBytes.size()), bytes.begin());
        std::copy_n(FRowLengths.begin(), std::min(lengths.size(), FRowLengths.size()),
                    lengths.begin());
        std::copy_n(FInsideChar.begin(), std::min(inside.size(), FInsideChar.size()),
                    inside.begin());
        FBytes.swap(bytes);
        FRowLengths.swap(lengths);
        FInsideChar.swap(inside);
    } catch (const std::bad_alloc&) {
        FBytes = {};
        FRowLengths = {};
        FInsideChar = {};
        ThrowOutOfMemory();
    }
}

namespace {

// The run of possible lead bytes just before offset, read backwards in
// growing pieces; at most TOVHexPage::MaxLeadRunLookBack bytes are read,
// and a run that reaches that far counts as even. A failed read ends the
// run where it failed.
int64_t LeadRunBefore(const TReadOnlyFile& file, int64_t offset) {
    std::string piece;
    int64_t run = 0;
    for (int64_t size = 64; offset > 0; size = std::min<int64_t>(size * 16, 64 * 1024)) {
        const int64_t wanted = std::min(size, offset);
        piece.resize(static_cast<size_t>(wanted));
        if (file.ReadAt(offset - wanted, piece.data(), wanted) != wanted)
            break;
        const int64_t found = HexTrailingLeadRun(piece);
        run += found;
        if (found < wanted)
            break;
        if (run >= TOVHexPage::MaxLeadRunLookBack)
            return 0;
        offset -= wanted;
    }
    return run;
}

} // namespace

bool TOVHexPage::Load(const std::string& path, int64_t fileSize, int64_t fileRow, int first,
                      int count) {
    if (std::max(first, 0) >= Rows() || count <= 0 || fileRow < 0)
        return true;
    TReadOnlyFile file;
    return file.Open(path) && Load(file, fileSize, fileRow, first, count);
}

bool TOVHexPage::Load(const TReadOnlyFile& file, int64_t fileSize, int64_t fileRow, int first,
                      int count) {
    first = std::max(first, 0);
    count = std::min(count, Rows() - first);
    if (count <= 0 || fileRow < 0)
        return true;
    if (!file.IsOpen())
        return false;
    int64_t offset = fileRow * HexBytesPerRow;
    int64_t wanted = static_cast<int64_t>(count) * HexBytesPerRow;
    int64_t got =
        offset < fileSize ? file.ReadAt(offset, FBytes.data() + first * HexBytesPerRow, wanted) : 0;
    const bool inside = got > 0 && HexBeginsInsideChar(LeadRunBefore(file, offset));
    // What the row may show: what the read delivered, and never bytes beyond
    // the size the view was opened with (the file may have grown since).
    int64_t shown = std::clamp<int64_t>(std::min(got, fileSize - offset), 0, wanted);
    for (int i = 0; i < count; ++i) {
        int64_t rest = shown - static_cast<int64_t>(i) * HexBytesPerRow;
        FRowLengths[first + i] =
            static_cast<unsigned char>(std::clamp<int64_t>(rest, 0, HexBytesPerRow));
        FInsideChar[first + i] =
            i == 0
                ? inside
                : HexNextRowBeginsInsideChar(Row(first + i - 1), BeginsInsideChar(first + i - 1));
    }
    return true;
}

void TOVHexPage::Forget(int first, int count) {
    first = std::max(first, 0);
    for (int r = first; r < first + count && r < Rows(); ++r) {
        FRowLengths[r] = 0;
        FInsideChar[r] = 0;
    }
}

void TOVHexPage::ShiftUp(int d) {
    if (d <= 0 || d >= Rows())
        return;
    int keep = Rows() - d;
    std::memmove(FBytes.data(), FBytes.data() + d * HexBytesPerRow, keep * HexBytesPerRow);
    std::memmove(FRowLengths.data(), FRowLengths.data() + d, keep);
    std::memmove(FInsideChar.data(), FInsideChar.data() + d, keep);
}

void TOVHexPage::ShiftDown(int d) {
    if (d <= 0 || d >= Rows())
        return;
    int keep = Rows() - d;
    std::memmove(FBytes.data() + d * HexBytesPerRow, FBytes.data(), keep * HexBytesPerRow);
    std::memmove(FRowLengths.data() + d, FRowLengths.data(), keep);
    std::memmove(FInsideChar.data() + d, FInsideChar.data(), keep);
}

std::string_view TOVHexPage::Row(int screenRow) const {
    if (screenRow < 0 || screenRow >= Rows())
        return {};
    return {FBytes.data() + screenRow * HexBytesPerRow, FRowLengths[screenRow]};
}

bool TOVHexPage::BeginsInsideChar(int screenRow) const {
    return screenRow >= 0 && screenRow < Rows() && FInsideChar[static_cast<size_t>(screenRow)] != 0;
}

} // namespace ov
