#pragma once
// The page buffer of the hex view: the bytes of the rows on screen, screen
// row r at byte r * 16, and for each row how many of its bytes the last read
// really delivered. Rows are read from the file on demand; the file is opened
// for each read and closed at once, so it is never held between operations.
// Memory is the page alone (16 bytes, one count and one flag per row),
// whatever the size of the file.
//
// Each row also knows whether it begins inside a character, the second byte
// of a double-byte character that began on the row before. The first row of
// every read finds out by looking back in the file from its first byte, only
// over the bytes that could be lead bytes (see HexBeginsInsideChar) and at
// most MaxLeadRunLookBack of them: a longer run of such bytes is no text,
// and the row is then taken as beginning a character. Every further row of
// the read follows from the row before it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

class TReadOnlyFile;

class TOVHexPage {
public:
    // Resizes the buffer to rows * 16 bytes, keeping the contents up to the
    // smaller size; rows <= 0 frees it. Raises the out-of-memory error when
    // the block cannot be had, leaving the page empty.
    void SetRows(int rows);
    int Rows() const { return static_cast<int>(FRowLengths.size()); }
    int64_t SizeInBytes() const { return static_cast<int64_t>(FBytes.size()); }
    bool Empty() const { return FBytes.empty(); }

    // Reads count rows of the file, starting at file row fileRow, into screen
    // rows first .. first + count - 1 (the part inside the page). One open,
    // one read. Bytes at or past fileSize, and bytes the read did not deliver
    // (a file that shrank), are not counted as the row's bytes. Returns false,
    // leaving the page untouched, when the file cannot be opened.
    bool Load(const std::string& path, int64_t fileSize, int64_t fileRow, int first, int count);
    // The same, read from an opening kept by the caller (a file that reports
    // a size of 0, whose bytes were read once); false when it is not open.
    bool Load(const TReadOnlyFile& file, int64_t fileSize, int64_t fileRow, int first, int count);

    static constexpr int64_t MaxLeadRunLookBack = 1 << 20;

    // Marks screen rows as holding nothing, so they are drawn blank.
    void Forget(int first, int count);

    // Moves rows d .. Rows() - 1 to start at row 0 (the view moved down by d
    // rows) or rows 0 .. Rows() - d - 1 to start at row d (moved up). The
    // rows left behind keep their old bytes until they are loaded again.
    void ShiftUp(int d);
    void ShiftDown(int d);

    // The bytes of screen row r that came from the file; empty outside the page.
    std::string_view Row(int screenRow) const;
    // Whether screen row r begins inside a character; false outside the page.
    bool BeginsInsideChar(int screenRow) const;

private:
    std::vector<char> FBytes;
    std::vector<unsigned char> FRowLengths;
    std::vector<unsigned char> FInsideChar; // 1 for a row that begins inside a character
};

} // namespace ov
