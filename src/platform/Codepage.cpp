#include "Codepage.h"

#include "Charsets.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace ov {

namespace {

// One iconv descriptor per direction and thread; iconv_t is not thread safe
// but the descriptors are reset before each use, so reuse is safe.
class TIconv {
public:
    TIconv(const char* to, const char* from) : FHandle(iconv_open(to, from)) {}
    ~TIconv() {
        if (Valid())
            iconv_close(FHandle);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return FHandle; }
    void Reset() const { iconv(FHandle, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t FHandle;
};

const TIconv& Utf16ToCp949() {
    thread_local TIconv conv("CP949", "UTF-16LE");
    return conv;
}
const TIconv& Cp949ToUtf16() {
    thread_local TIconv conv("UTF-16LE", "CP949");
    return conv;
}

// Converts one UTF-16 unit sequence that iconv refused (or a lone surrogate)
// into '?'. Returns the number of units consumed.
size_t SkipUnmappable(const char16_t* p, const char16_t* end) {
    if (p + 1 < end && p[0] >= 0xD800 && p[0] < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000)
        return 2;
    return 1;
}

} // namespace

std::string AnsiFromWide(std::u16string_view text) {
    std::string out;
    if (text.empty())
        return out;
    const TIconv& conv = Utf16ToCp949();
    out.reserve(text.size() * 2);
    const char16_t* p = text.data();
    const char16_t* end = p + text.size();
    char buffer[4096];
    while (p < end) {
        if (!conv.Valid()) {
            out.push_back('?');
            p += 1;
            continue;
        }
        conv.Reset();
        char* in = const_cast<char*>(reinterpret_cast<const char*>(p));
        size_t inLeft = static_cast<size_t>(end - p) * 2;
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(conv.Handle(), &in, &inLeft, &outPtr, &outLeft);
        int error = errno;
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        p = reinterpret_cast<const char16_t*>(in);
        if (rc != static_cast<size_t>(-1))
            break;
        if (error == E2BIG)
            continue;
        // EILSEQ (no CP949 equivalent) or EINVAL (a lone high surrogate at the end).
        out.push_back('?');
        p += SkipUnmappable(p, end);
    }
    return out;
}

uint16_t Cp949CodeOf(char32_t code) {
    static const std::vector<uint16_t> table = [] {
        std::vector<uint16_t> codes(0x10000, 0);
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x41; trail <= 0xFE; ++trail) {
                const char bytes[2] = {char(lead), char(trail)};
                const std::u16string wide = WideFromAnsi(std::string_view(bytes, 2));
                if (wide.size() == 1 && wide[0] >= 0x80 && wide[0] != 0xFFFD && codes[wide[0]] == 0)
                    codes[wide[0]] = uint16_t(lead << 8 | trail);
            }
        return codes;
    }();
    return code < table.size() ? table[code] : 0;
}

namespace {

// iconv over text, which starts and ends on character boundaries of any walk
// through the bytes; a byte that is not valid CP949 becomes U+FFFD and the
// walk goes on after it.
char16_t* ConvertWithIconv(std::string_view text, char16_t* o) {
    const TIconv& conv = Cp949ToUtf16();
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        if (!conv.Valid()) {
            unsigned char byte = static_cast<unsigned char>(*p++);
            *o++ = byte < 0x80 ? byte : u'\uFFFD';
            continue;
        }
        conv.Reset();
        char* in = const_cast<char*>(p);
        size_t inLeft = static_cast<size_t>(end - p);
        char* outPtr = reinterpret_cast<char*>(o);
        // Every CP949 character is one UTF-16 unit of at most its own byte
        // count, so the rest of the text always fits.
        size_t outLeft = inLeft * sizeof(char16_t);
        size_t rc = iconv(conv.Handle(), &in, &inLeft, &outPtr, &outLeft);
        int error = errno;
        o = reinterpret_cast<char16_t*>(outPtr);
        p = in;
        if (rc != static_cast<size_t>(-1) || error == E2BIG)
            break;
        *o++ = u'\uFFFD';
        p += 1;
    }
    return o;
}

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

} // namespace

// ASCII is the same in CP949 and UTF-16, so runs of it are widened here and
// only the stretches around other bytes go through iconv, which costs far
// more per call than per byte. An ASCII byte after an ASCII byte starts a
// character however the bytes before were read (it cannot be the second
// byte of a pair), so cutting there gives iconv's own result.
std::size_t WideFromAnsiTo(std::string_view text, char16_t* out) {
    char16_t* o = out;
    std::size_t p = 0;
    while (p < text.size()) {
        if (IsAscii(text[p]) && (p == 0 || IsAscii(text[p - 1]))) {
            *o++ = static_cast<char16_t>(text[p++]);
            continue;
        }
        std::size_t q = p + 1;
        while (q < text.size() && !(IsAscii(text[q]) && IsAscii(text[q - 1])))
            ++q;
        o = ConvertWithIconv(text.substr(p, q - p), o);
        p = q;
    }
    return static_cast<std::size_t>(o - out);
}

std::u16string WideFromAnsi(std::string_view text) {
    std::u16string out(text.size(), u'\0');
    out.resize(WideFromAnsiTo(text, out.data()));
    return out;
}

namespace {

std::u16string WideFromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char32_t cp;
        size_t len;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (i + len > text.size()) {
            out.push_back(u'\uFFFD');
            break;
        }
        for (size_t k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string Utf8FromWide(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace

std::string AnsiFromUtf8(std::string_view text) { return AnsiFromWide(WideFromUtf8(text)); }

std::string Utf8FromAnsi(std::string_view text) { return Utf8FromWide(WideFromAnsi(text)); }

// iconv checks the form (no overlong sequence, no surrogate, nothing past
// U+10FFFF), so no second decoder is kept here.
std::string Utf8FromUtf8OrAnsi(std::string_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || ConvertCharset(text, "UTF-8", "UTF-8"))
        return std::string(text);
    return Utf8FromAnsi(text);
}

char AnsiUpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

int AnsiCompare(const char* a, const char* b) {
    if (int order = AnsiCompareText(a, b); order != 0)
        return order;
    // Equal but for the case of some letters: the first such letter decides.
    for (; *a && *a == *b; ++a, ++b) {
    }
    if (*a == *b)
        return 0;
    return (*a >= 'a' && *a <= 'z') ? -1 : 1;
}

int AnsiCompareText(const char* a, const char* b) {
    const auto* p = reinterpret_cast<const unsigned char*>(a);
    const auto* q = reinterpret_cast<const unsigned char*>(b);
    // The texts agree up to here, so both are at the same place of a
    // double-byte character.
    bool trail = false;
    for (;; ++p, ++q) {
        unsigned char x = *p;
        unsigned char y = *q;
        if (!trail) {
            x = static_cast<unsigned char>(AnsiUpperChar(static_cast<char>(x)));
            y = static_cast<unsigned char>(AnsiUpperChar(static_cast<char>(y)));
        }
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
        trail = !trail && IsLeadByte(x);
    }
}

bool AnsiSameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    bool trail = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (!trail) {
            x = AnsiUpperChar(x);
            y = AnsiUpperChar(y);
        }
        if (x != y)
            return false;
        trail = !trail && IsLeadByte(static_cast<unsigned char>(x));
    }
    return true;
}

void AnsiUpperInPlace(char* text) {
    for (; *text; ++text) {
        if (IsLeadByte(static_cast<unsigned char>(*text))) {
            if (text[1] == '\0')
                break;
            ++text; // the second byte of the character stays as it is
            continue;
        }
        *text = AnsiUpperChar(*text);
    }
}

} // namespace ov
