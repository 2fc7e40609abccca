#include "Linereader.h"

#include "Charsets.h"
#include "Errors.h"
#include "Files.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace ov {

namespace {

void ReplaceNulBytes(char* data, std::size_t size) {
    char* end = data + size;
    for (char* p = data; (p = static_cast<char*>(std::memchr(p, 0, static_cast<std::size_t>(end - p))));)
        *p++ = ' ';
}

} // namespace

TLineReader::TLineReader(const TReadOnlyFile& file, std::int64_t start, std::int64_t end,
                         std::size_t pieceBytes, TStep step)
    : FFile(file), FStart(start), FOffset(start), FEnd(end),
      FPieceBytes(std::max<std::size_t>(pieceBytes, 1)), FStep(std::move(step)) {
    try {
        FPiece.reserve(static_cast<std::size_t>(
            std::clamp<std::int64_t>(end - start, 0, std::int64_t(FPieceBytes))));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
}

bool TLineReader::ReadPiece() {
    if (FOffset >= FEnd)
        return false;
    const std::int64_t want = std::min<std::int64_t>(FEnd - FOffset, std::int64_t(FPieceBytes));
    FPiece.resize(static_cast<std::size_t>(want));
    const std::int64_t got = FFile.ReadAt(FOffset, FPiece.data(), want);
    if (got <= 0) {
        FEnd = FOffset; // the file shrank or failed: keep what was read
        return false;
    }
    FPiece.resize(static_cast<std::size_t>(got));
    FOffset += got;
    return true;
}

double TLineReader::Progress() const {
    return FEnd > FStart ? double(FOffset - FStart) / double(FEnd - FStart) : 1.0;
}

TLineReader::TStep PlainStep() {
    return [](std::string& piece) {
        ReplaceNulBytes(piece.data(), piece.size());
        return std::string_view(piece);
    };
}

TLineReader::TStep DecodeStep(const char* charset) {
    auto decoder = std::make_shared<TCharsetDecoder>(charset);
    auto text = std::make_shared<std::string>();
    return [decoder, text](std::string& piece) {
        text->clear();
        if (piece.empty())
            decoder->Finish(*text);
        else
            decoder->Feed(piece, *text);
        ReplaceNulBytes(text->data(), text->size());
        return std::string_view(*text);
    };
}

} // namespace ov
