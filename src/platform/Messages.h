#pragma once
// The program's message table: numbered texts shared by several subsystems.

#include <cstdint>
#include <string>

namespace ov {

enum TMessageId : int {
    SUseWindowFont = 10,
    SUseBitmapFont = 11,
    SLine = 12,
    SNotFound = 13,
    SInformation = 14,
    SHtmlNeedsHighlighting = 15,
    SBookmark = 16,
    SStyleNames = 17,
    SRange = 18,
    SInvalidValue = 19,
    SRangeErrorFormat = 1500,
    SOutOfMemory = 1501,
    SLargeFileQuestion = 1502,
    SLargeCopyQuestion = 1503,
    SConfirm = 1504,
    SWarning = 1505,
};

// The text of a message id in UTF-8; an unknown id gives an empty text.
const char* LoadStr(int id);

// The question asked before a large copy (SLargeCopyQuestion), naming the
// size of the text, bytes, in the largest unit it reaches ("약 1.2 GB").
std::string LargeCopyQuestion(std::uint64_t bytes);

} // namespace ov
