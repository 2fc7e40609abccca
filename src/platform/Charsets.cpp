#include "Charsets.h"

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

} // namespace ov
