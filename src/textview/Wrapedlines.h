#pragma once
// Word wrap of the text view: each line of the document becomes one or more
// display rows that fit the text area. A row breaks before the character
// that does not fit (not at word boundaries) and never inside a double-byte
// character; every line, an empty one too, has at least one row.
//
// A long document is wrapped a part at a time: the wrapped rows form one
// block of consecutive lines, grown on both sides, and every line outside it
// counts as a single row holding the whole line until it is wrapped.

#include "Viewerlayout.h"

#include <climits>
#include <cstddef>
#include <deque>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace ov {

class TCharWidths;
class TOVStringList;

// One display row: Length bytes of line Line from column Start.
struct TWrapedLine {
    int Start = 0;
    int Line = 0;
    int Length = 0;
    friend bool operator==(const TWrapedLine&, const TWrapedLine&) = default;
};

class TWrapedLines {
public:
    TWrapedLines() = default;
    // Rows are held in chunks of 2^chunkShift: the default suits a huge
    // file; a test hands in small chunks to cross their bounds often.
    explicit TWrapedLines(int chunkShift) : FRows(chunkShift) {}

    // Rebuilds the rows of every line of lines for a text area areaWidth
    // pixels wide. In an area narrower than a character every character gets
    // a row of its own (a line's first row is then empty); an area of 0 or
    // less keeps every line in one row.
    void Make(const TOVStringList& lines, const TCharWidths& widths, int areaWidth);
    void Clear();

    // A wrap a part at a time: no line wrapped yet, the block placed at
    // anchorLine. lines must outlive the rows (until Clear, Make or Begin).
    void Begin(const TOVStringList& lines, int anchorLine);
    // The document has lineCount lines now (lines were appended), and the
    // lines from changedFrom on are longer than they were (a last line
    // without its line end that went on): they are wrapped again.
    void Grow(int lineCount, int changedFrom = INT_MAX);
    // Wraps up to maxLines more lines, those after the block first; false
    // once every line is wrapped.
    bool WrapSome(const TCharWidths& widths, int areaWidth, int maxLines);
    // Makes the lines firstLine .. lastLine wrapped: the block grows to them,
    // or, when they lie more than far lines away from it, the block is
    // dropped and starts again at firstLine.
    void WrapAround(const TCharWidths& widths, int areaWidth, int firstLine, int lastLine, int far);
    bool Complete() const { return FFirst == 0 && FEnd == FLineCount; }

    int Count() const { return FFirst + int(FRows.size()) + (FLineCount - FEnd); }
    // Rows held in memory: those of the wrapped block.
    std::size_t RowsHeld() const { return FRows.size(); }
    bool Empty() const { return Count() == 0; }
    // row must lie in 0 .. Count - 1.
    TWrapedLine operator[](int row) const;
    // (Start, Line) of a row, without reading the document: valid for rows
    // made of another text too.
    TTextPoint RowStart(int row) const;
    // The row that holds column of line, the line's first row for column 0
    // (or for a column past its rows); -1 when the line has no rows.
    int RowOf(TTextPoint linePoint) const;

    // Row coordinates to line coordinates: (x + Start, Line) of the row when
    // the row exists and x is 0 or inside the row; else (-1, -1).
    TTextPoint WrapedToOrigin(TTextPoint rowPoint) const;
    // Line coordinates to row coordinates. A column on a row boundary maps to
    // the end of the earlier row, column 0 to the line's first row, the column
    // just past the line's end to the end of its last row; anything else
    // outside the line gives (-1, -1).
    TTextPoint OriginToWraped(TTextPoint linePoint) const;
    // The first row of line, or -1 when the line has no rows.
    int FirstRowOf(int line) const;

    // Splits one line's text into rows appended to rows.
    static void WrapLine(std::string_view text, int line, const TCharWidths& widths, int areaWidth,
                         std::vector<TWrapedLine>& rows);

private:
    // Rows that grow at both ends, held in chunks of many rows: a huge
    // file wraps into hundreds of millions of rows, which std::deque would
    // keep in millions of small blocks whose map it copies as it grows and
    // which take long to free.
    class TRowBlock {
    public:
        explicit TRowBlock(int chunkShift) : FChunkShift(chunkShift) {}
        ~TRowBlock() { clear(); }
        TRowBlock(TRowBlock&& other) noexcept { *this = std::move(other); }
        TRowBlock& operator=(TRowBlock&& other) noexcept {
            FChunks = std::move(other.FChunks);
            other.FChunks.clear();
            FChunkShift = other.FChunkShift;
            FFront = std::exchange(other.FFront, 0);
            FSize = std::exchange(other.FSize, 0);
            return *this;
        }
        std::size_t size() const { return FSize; }
        bool empty() const { return FSize == 0; }
        const TWrapedLine& operator[](std::size_t i) const {
            i += FFront;
            return FChunks[i >> FChunkShift][i & (ChunkRows() - 1)];
        }
        const TWrapedLine& back() const { return (*this)[FSize - 1]; }
        void push_back(const TWrapedLine& row);
        void push_front(const TWrapedLine& row);
        void pop_back();
        void clear();

    private:
        std::size_t ChunkRows() const { return std::size_t(1) << FChunkShift; }
        // Frees the last chunk, its pages given back at once.
        void DropLastChunk();
        TWrapedLine& At(std::size_t i) {
            i += FFront;
            return FChunks[i >> FChunkShift][i & (ChunkRows() - 1)];
        }
        // Every chunk holds at least one row.
        std::deque<std::unique_ptr<TWrapedLine[]>> FChunks;
        int FChunkShift = 14;
        std::size_t FFront = 0; // rows unused at the start of the first chunk
        std::size_t FSize = 0;
    };

    void WrapAfter(const TCharWidths& widths, int areaWidth);
    void WrapBefore(const TCharWidths& widths, int areaWidth);
    // Index in FRows of the first row of line, or FRows.size() when no row
    // of the block belongs to line or a later one.
    std::size_t FirstBlockRow(int line) const;

    const TOVStringList* FLines = nullptr;
    // The block: the rows of the lines FFirst .. FEnd - 1.
    TRowBlock FRows{14};
    int FFirst = 0;
    int FEnd = 0;
    int FLineCount = 0;
    std::vector<TWrapedLine> FLineRows; // one line's rows on their way into the block
};

} // namespace ov
