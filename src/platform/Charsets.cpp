#include "Charsets.h"

#include <uchardet/uchardet.h>

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace ov {

std::optional<std::string> ConvertCharset(std::string_view text, const char* fromCharset,
                                          const char* toCharset) {
    iconv_t handle = iconv_open(toCharset, fromCharset);
    if (handle == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
    const size_t flushed = iconv(handle, nullptr, nullptr, &outPtr, &outLeft);
    iconv_close(handle);
    if (result == static_cast<size_t>(-1) || flushed == static_cast<size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

namespace {

constexpr char Replacement[] = "\xEF\xBF\xBD";

// The bytes of one unit of the character set: what is skipped, as one
// U+FFFD, where the text does not decode.
std::size_t UnitBytes(const char* charset) {
    if (strncasecmp(charset, "UTF-32", 6) == 0 || strncasecmp(charset, "UCS-4", 5) == 0)
        return 4;
    if (strncasecmp(charset, "UTF-16", 6) == 0 || strncasecmp(charset, "UCS-2", 5) == 0)
        return 2;
    return 1;
}

} // namespace

struct TCharsetDecoder::TState {
    iconv_t Handle = reinterpret_cast<iconv_t>(-1);
    std::size_t Unit = 1;
    std::string Pending; // the start of a sequence that the next piece ends
};

TCharsetDecoder::TCharsetDecoder(const char* charset) : FState(std::make_unique<TState>()) {
    FState->Handle = iconv_open("UTF-8", charset);
    FState->Unit = UnitBytes(charset);
}

TCharsetDecoder::~TCharsetDecoder() {
    if (Valid())
        iconv_close(FState->Handle);
}

bool TCharsetDecoder::Valid() const {
    return FState->Handle != reinterpret_cast<iconv_t>(-1);
}

void TCharsetDecoder::Feed(std::string_view data, std::string& out) {
    if (!Valid()) {
        for (std::size_t i = 0; i < data.size(); ++i)
            out += Replacement;
        return;
    }
    std::string joined;
    if (!FState->Pending.empty()) {
        joined = FState->Pending;
        joined.append(data);
        FState->Pending.clear();
        data = joined;
    }
    char* in = const_cast<char*>(data.data());
    std::size_t inLeft = data.size();
    char buffer[1 << 14];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(FState->Handle, &in, &inLeft, &outPtr, &outLeft);
        const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
        out.append(buffer, sizeof buffer - outLeft);
        if (error == 0 || error == E2BIG)
            continue;
        if (error == EINVAL) { // cut by the end of the piece
            FState->Pending.assign(in, inLeft);
            return;
        }
        // EILSEQ (or anything else): one unit that does not decode.
        const std::size_t skip = std::min(FState->Unit, inLeft);
        out += Replacement;
        in += skip;
        inLeft -= skip;
        iconv(FState->Handle, nullptr, nullptr, nullptr, nullptr); // back to the initial state
    }
}

void TCharsetDecoder::Finish(std::string& out) {
    const std::size_t unit = FState->Unit;
    for (std::size_t i = 0; i < FState->Pending.size(); i += unit)
        out += Replacement;
    FState->Pending.clear();
    if (Valid()) {
        char buffer[64];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        iconv(FState->Handle, nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
    }
}

std::string Utf8FromCharset(std::string_view text, const char* charset) {
    TCharsetDecoder decoder(charset);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    decoder.Feed(text, out);
    decoder.Finish(out);
    return out;
}

std::string GuessCharset(std::string_view sample) {
    uchardet_t detector = uchardet_new();
    if (!detector)
        return {};
    std::string name;
    if (uchardet_handle_data(detector, sample.data(), sample.size()) == 0) {
        uchardet_data_end(detector);
        const char* found = uchardet_get_charset(detector);
        if (found)
            name = found;
    }
    uchardet_delete(detector);
    return name;
}

} // namespace ov
