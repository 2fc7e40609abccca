#pragma once
// The one read loop of the file loaders: reads a file's bytes piece by
// piece, turns each piece into text with a step (8-bit text as it is, or
// text of another character set decoded into UTF-8) and splits that text
// into lines (TLineSplitter). A file that shrinks or fails while it is read
// ends the text where reading stopped: what was read is kept.

#include "Linesplitter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ov {

class TReadOnlyFile;

class TLineReader {
public:
    // Turns the bytes of one piece, read into piece (which the step may
    // change), into text to split; called once more with an empty piece
    // after the last, for what a decoder still holds. The text stays valid
    // until the next call.
    using TStep = std::function<std::string_view(std::string& piece)>;

    // The bytes start .. end - 1 of file, read pieceBytes at a time; file
    // must outlive the reader. EOutOfMemory when a piece cannot be had.
    TLineReader(const TReadOnlyFile& file, std::int64_t start, std::int64_t end,
                std::size_t pieceBytes, TStep step);

    // Reads the next piece and calls sink(std::string_view line) for every
    // line it completes; at the end, for the last line. False once the
    // whole text has been handed over.
    template <typename TSink> bool Next(TSink&& sink) {
        if (FEnded)
            return false;
        if (ReadPiece()) {
            const std::string_view text = FStep(FPiece);
            FSplitter.Feed(text.data(), text.size(), sink);
            return true;
        }
        FPiece.clear();
        const std::string_view text = FStep(FPiece);
        FSplitter.Feed(text.data(), text.size(), sink);
        FSplitter.Finish(sink);
        FEnded = true;
        return false;
    }
    // Reads the whole text.
    template <typename TSink> void ReadAll(TSink&& sink) {
        while (Next(sink)) {
        }
    }
    // The next byte to read.
    std::int64_t Offset() const { return FOffset; }
    // How far reading has come, 0 .. 1.
    double Progress() const;

private:
    // Reads the next piece into FPiece; false at the end of the bytes.
    bool ReadPiece();

    const TReadOnlyFile& FFile;
    std::int64_t FStart;
    std::int64_t FOffset;
    std::int64_t FEnd;
    std::string FPiece;
    std::size_t FPieceBytes;
    TStep FStep;
    TLineSplitter FSplitter;
    bool FEnded = false;
};

// The steps: the bytes as they are, every NUL a space (a NUL inside a
// viewed text would end it early); and the bytes decoded from the iconv
// charset into UTF-8 (TCharsetDecoder), a U+0000 a space too.
TLineReader::TStep PlainStep();
TLineReader::TStep DecodeStep(const char* charset);

} // namespace ov
