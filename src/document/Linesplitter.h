#pragma once
// Splits a byte stream, fed in pieces, into lines. CR LF, a lone LF and a
// lone CR each end one line; LF CR is two line ends. A line end at the very
// end adds no empty line; a last line without a line end is still a line.
// Line ends are found with memchr, each byte looked at a bounded number of
// times, whatever the mix of CR and LF.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace ov {

class TLineSplitter {
public:
    // Calls sink(std::string_view line) for every line completed by data.
    template <typename TSink> void Feed(const char* data, std::size_t size, TSink&& sink);
    // Delivers the last line when the stream did not end with a line end.
    template <typename TSink> void Finish(TSink&& sink);

private:
    std::string FPending;  // start of a line that continues in the next piece
    bool FAfterCR = false; // the previous piece ended with CR: a leading LF belongs to it
};

template <typename TSink> void TLineSplitter::Feed(const char* data, std::size_t size, TSink&& sink) {
    const char* p = data;
    const char* end = data + size;
    if (FAfterCR && p < end) {
        if (*p == '\n')
            ++p;
        FAfterCR = false;
    }
    const char* nextLF = nullptr; // cached next LF at or after p (end when none)
    const char* nextCR = nullptr;
    while (p < end) {
        if (nextLF < p) {
            nextLF = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!nextLF)
                nextLF = end;
        }
        if (nextCR < p) {
            nextCR = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
            if (!nextCR)
                nextCR = end;
        }
        const char* eol = nextLF < nextCR ? nextLF : nextCR;
        if (eol == end) {
            FPending.append(p, static_cast<std::size_t>(end - p));
            return;
        }
        if (FPending.empty()) {
            sink(std::string_view(p, static_cast<std::size_t>(eol - p)));
        } else {
            FPending.append(p, static_cast<std::size_t>(eol - p));
            sink(std::string_view(FPending));
            FPending.clear();
        }
        p = eol + 1;
        if (*eol == '\r') {
            if (p == end) {
                FAfterCR = true;
                return;
            }
            if (*p == '\n')
                ++p;
        }
    }
}

template <typename TSink> void TLineSplitter::Finish(TSink&& sink) {
    if (!FPending.empty())
        sink(std::string_view(FPending));
    FPending.clear();
    FAfterCR = false;
}

} // namespace ov
