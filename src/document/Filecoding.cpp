#include "Filecoding.h"

#include <cstdint>
#include <cstring>

namespace ov {

namespace {

bool HasPrefix(std::string_view text, const char* prefix) {
    return text.substr(0, std::strlen(prefix)) == prefix;
}

bool IsContinuation(uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// What one pass over the head found.
struct TUtf8Scan {
    bool WellFormed = true;
    bool MultiByte = false;     // at least one sequence of two or more bytes
    std::size_t Longer = 0;     // sequences of three or four bytes
    std::size_t StrayBytes = 0; // bytes that start no well-formed sequence
};

// The validation loop of detection: ASCII in runs of eight bytes, sequences
// checked inline (no call per byte). A stray byte is counted and the scan
// goes on after it.
TUtf8Scan ScanUtf8(std::string_view text, bool headOnly) {
    TUtf8Scan scan;
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const std::size_t n = text.size();
    std::size_t p = 0;
    while (p < n) {
        if (n - p >= 8) {
            uint64_t word;
            std::memcpy(&word, s + p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const uint8_t b0 = s[p];
        if (b0 < 0x80) {
            ++p;
            continue;
        }
        std::size_t length = 0;
        uint8_t low = 0x80;
        uint8_t high = 0xBF;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3;
            if (b0 == 0xE0)
                low = 0xA0; // no overlong forms
            else if (b0 == 0xED)
                high = 0x9F; // no surrogates
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4;
            if (b0 == 0xF0)
                low = 0x90;
            else if (b0 == 0xF4)
                high = 0x8F; // nothing above U+10FFFF
        }
        std::size_t k = 1;
        while (k < length && p + k < n &&
               (k == 1 ? s[p + 1] >= low && s[p + 1] <= high : IsContinuation(s[p + k])))
            ++k;
        if (length > 0 && k == length) {
            scan.MultiByte = true;
            scan.Longer += length > 2;
            p += length;
        } else if (length > 0 && p + k == n && headOnly) {
            break; // cut by the end of the head
        } else {
            scan.WellFormed = false;
            ++scan.StrayBytes;
            ++p;
        }
    }
    return scan;
}

// Text with a few stray bytes among many three- and four-byte sequences is
// UTF-8 that was damaged, not CP949: Korean CP949 text breaks UTF-8 at
// nearly every syllable.
bool MostlyUtf8(const TUtf8Scan& scan) {
    return scan.Longer >= 2 && scan.StrayBytes * 4 <= scan.Longer;
}

bool IsAsciiLetter(int byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

bool IsAsciiDigit(int byte) {
    return byte >= '0' && byte <= '9';
}

// A two-byte character of CP949: KS X 1001 (lead A1-FE, trail A1-FE) or the
// extension syllables (lead 81-C6, trail 41-5A, 61-7A or 81-FE; lead C6 only
// to trail 52 below A1).
bool IsCp949Pair(uint8_t lead, uint8_t trail) {
    if (lead >= 0xA1 && lead <= 0xFE && trail >= 0xA1 && trail <= 0xFE)
        return true;
    if (lead < 0x81 || lead > 0xC6)
        return false;
    if (lead == 0xC6 && trail < 0xA1)
        return trail >= 0x41 && trail <= 0x52;
    return (trail >= 0x41 && trail <= 0x5A) || (trail >= 0x61 && trail <= 0x7A) ||
           (trail >= 0x81 && trail <= 0xFE);
}

// Text that is well-formed UTF-8 made of ASCII and two-byte sequences only.
// Every two-byte sequence is weighed as what it is in each reading:
// - not a CP949 character at all: UTF-8, at once;
// - a CP949 extension syllable, a Hanja or a user-defined code: rare in
//   Korean text, so evidence for UTF-8;
// - a KS X 1001 Hangul syllable (lead C2-C8, trail A1-BF), which reads in
//   UTF-8 as a Latin-1 symbol (lead C2) or an accented Latin letter: an
//   accented letter inside an ASCII word ("café") or a symbol beside a digit
//   or letter ("25°") is UTF-8; syllables standing on their own, above all
//   in runs of two or more (a Korean word), are CP949.
// Ties go to UTF-8, the encoding of nearly all Linux text.
bool TwoByteTextIsUtf8(std::string_view text) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const std::size_t n = text.size();
    long long utf8 = 0;
    long long cp949 = 0;
    std::size_t p = 0;
    while (p < n) {
        if (s[p] < 0x80) {
            ++p;
            continue;
        }
        // A run of consecutive two-byte sequences.
        const std::size_t start = p;
        while (p + 1 < n && s[p] >= 0x80)
            p += 2;
        if (p == start) { // a lead byte cut by the end of the head
            ++p;
            continue;
        }
        const int before = start > 0 ? s[start - 1] : ' ';
        const int after = p < n ? s[p] : ' ';
        const bool besideLetter = IsAsciiLetter(before) || IsAsciiLetter(after);
        const bool besideDigit = IsAsciiDigit(before) || IsAsciiDigit(after);
        const std::size_t pairs = (p - start) / 2;
        for (std::size_t q = start; q < p; q += 2) {
            const uint8_t lead = s[q];
            const uint8_t trail = s[q + 1];
            if (!IsCp949Pair(lead, trail))
                return true;
            if (trail < 0xA1 || lead >= 0xC9)
                utf8 += 2;
            else if (besideLetter || (lead == 0xC2 && besideDigit))
                utf8 += 2;
            else
                cp949 += pairs >= 2 ? 2 : 1;
        }
    }
    return utf8 >= cp949;
}

} // namespace

bool IsWellFormedUtf8(std::string_view text, bool headOnly) {
    return ScanUtf8(text, headOnly).WellFormed;
}

TFileEncoding DetectEncoding(std::string_view head) {
    if (HasPrefix(head, "\xEF\xBB\xBF"))
        return TFileEncoding::Utf8Bom;
    if (HasPrefix(head, "\xFF\xFE"))
        return TFileEncoding::Utf16Le;
    if (HasPrefix(head, "\xFE\xFF"))
        return TFileEncoding::Utf16Be;
    const TUtf8Scan scan = ScanUtf8(head, true);
    if (!scan.WellFormed)
        return MostlyUtf8(scan) ? TFileEncoding::Utf8 : TFileEncoding::Cp949;
    if (!scan.MultiByte)
        return TFileEncoding::Cp949;
    if (scan.Longer > 0 || TwoByteTextIsUtf8(head))
        return TFileEncoding::Utf8;
    return TFileEncoding::Cp949;
}

std::size_t ByteOrderMarkSize(TFileEncoding encoding) {
    switch (encoding) {
    case TFileEncoding::Utf8Bom:
        return 3;
    case TFileEncoding::Utf16Le:
    case TFileEncoding::Utf16Be:
        return 2;
    default:
        return 0;
    }
}

const char* EncodingName(TFileEncoding encoding) {
    switch (encoding) {
    case TFileEncoding::Utf8:
        return "UTF-8";
    case TFileEncoding::Utf8Bom:
        return "UTF-8 BOM";
    case TFileEncoding::Utf16Le:
        return "UTF-16 LE";
    case TFileEncoding::Utf16Be:
        return "UTF-16 BE";
    default:
        return "CP949";
    }
}

namespace {

bool IsTextControl(uint8_t byte) {
    return byte == '\t' || byte == '\r' || byte == '\n' || byte == '\f' || byte == 0x1B;
}

bool HasOnlyTextControls(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if ((byte < 0x20 && !IsTextControl(byte)) || byte == 0x7F)
            return false;
    }
    return true;
}

bool IsWellFormedCp949(std::string_view text) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (s[p] < 0x80)
            continue;
        if (p + 1 == text.size())
            return true; // cut by the end of the head
        if (!IsCp949Pair(s[p], s[p + 1]))
            return false;
        ++p;
    }
    return true;
}

} // namespace

bool LooksLikeText(std::string_view head) {
    if (HasPrefix(head, "\xFF\xFE") || HasPrefix(head, "\xFE\xFF"))
        return true;
    if (HasPrefix(head, "\xEF\xBB\xBF"))
        head.remove_prefix(3);
    if (!HasOnlyTextControls(head))
        return false;
    return IsWellFormedUtf8(head, true) || IsWellFormedCp949(head);
}

} // namespace ov
