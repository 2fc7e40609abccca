#include "Ovhexlayout.h"

#include "Codepage.h"

#include <algorithm>

namespace ov {

namespace {

const char HexDigits[] = "0123456789ABCDEF";

} // namespace

int64_t HexRowCount(int64_t fileSize) {
    if (fileSize <= 0)
        return 0;
    return fileSize / HexBytesPerRow + (fileSize % HexBytesPerRow != 0 ? 1 : 0);
}

int HexAddressDigits(int64_t fileSize) {
    int64_t lastOffset = (HexRowCount(fileSize) - 1) * HexBytesPerRow;
    int digits = 1;
    for (uint64_t rest = static_cast<uint64_t>(std::max<int64_t>(lastOffset, 0)) >> 4; rest != 0;
         rest >>= 4)
        ++digits;
    return std::max(digits, MinAddressDigits);
}

std::string HexAddressText(int64_t offset, int digits) {
    std::string text(static_cast<size_t>(std::max(digits, 1)), '0');
    auto value = static_cast<uint64_t>(offset);
    for (size_t i = text.size(); i-- > 0 && value != 0; value >>= 4)
        text[i] = HexDigits[value & 0xF];
    return text + "h:";
}

std::string HexByteText(unsigned char byte) {
    return {HexDigits[byte >> 4], HexDigits[byte & 0xF]};
}

std::string HexCharColumnBytes(std::string_view rowBytes, bool beginsInsideChar) {
    std::string text(rowBytes);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) <= 32)
            c = '.';
    }
    if (beginsInsideChar && !text.empty())
        text[0] = '.';
    return text;
}

bool HexNextRowBeginsInsideChar(std::string_view rowBytes, bool beginsInsideChar) {
    size_t p = beginsInsideChar ? 1 : 0;
    while (p < rowBytes.size())
        p += IsLeadByte(static_cast<unsigned char>(rowBytes[p])) ? 2 : 1;
    return p > rowBytes.size();
}

int64_t HexTrailingLeadRun(std::string_view bytes) {
    size_t j = bytes.size();
    while (j > 0 && IsLeadByte(static_cast<unsigned char>(bytes[j - 1])))
        --j;
    return static_cast<int64_t>(bytes.size() - j);
}

int64_t ClampHexTopIndex(int64_t row, int64_t rowCount, int pageRows) {
    if (row < 0)
        row = 0;
    if (row > rowCount - pageRows)
        row = rowCount - pageRows;
    if (rowCount <= pageRows)
        row = 0;
    return row;
}

int TOVHexLayout::PageRows(int clientHeight) const {
    int pitch = RowPitch();
    if (pitch <= 0 || clientHeight <= FMetrics.TextTop)
        return 0;
    return (clientHeight - FMetrics.TextTop) / pitch;
}

TOVHexLayout::THorzRange TOVHexLayout::HorzRange(int clientWidth) const {
    THorzRange range;
    int width = RowWidth();
    if (clientWidth >= width || FMetrics.CharWidth <= 0)
        return range;
    range.Active = true;
    range.Max = width / FMetrics.CharWidth + (width % FMetrics.CharWidth == 0 ? 1 : 0);
    range.Page = HorzPageStep(clientWidth);
    return range;
}

int TOVHexLayout::HorzPageStep(int clientWidth) const {
    if (FMetrics.CharWidth <= 0)
        return 0;
    return std::max(clientWidth - FMetrics.TextLeft, 0) / FMetrics.CharWidth;
}

int TOVScrollScale::PositionOfRow(int64_t row) const {
    row = std::clamp<int64_t>(row, 0, FLastRow);
    if (!Scaled())
        return static_cast<int>(row);
    auto scaled = static_cast<unsigned __int128>(row) * static_cast<unsigned>(FLimit) /
                  static_cast<uint64_t>(FLastRow);
    return static_cast<int>(scaled);
}

int64_t TOVScrollScale::RowOfPosition(int position) const {
    position = std::clamp(position, 0, MaxPosition());
    if (!Scaled())
        return position;
    auto product = static_cast<unsigned __int128>(position) * static_cast<uint64_t>(FLastRow);
    auto row = (product + static_cast<unsigned>(FLimit) - 1) / static_cast<unsigned>(FLimit);
    return static_cast<int64_t>(row);
}

int TOVScrollScale::PageStep(int pageRows) const {
    if (pageRows < 1)
        return 1;
    if (!Scaled())
        return pageRows;
    return std::max(PositionOfRow(pageRows), 1);
}

} // namespace ov
