#include "Filecoding.h"

#include "Charsets.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

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

namespace {

constexpr TEncodingInfo Encodings[] = {
    {TFileEncoding::Cp949, TEncodingGroup::Korean, "CP949", nullptr},
    {TFileEncoding::Utf8, TEncodingGroup::Unicode, "UTF-8", nullptr},
    {TFileEncoding::Utf8Bom, TEncodingGroup::Unicode, "UTF-8 BOM", nullptr},
    {TFileEncoding::Utf16Le, TEncodingGroup::Unicode, "UTF-16 LE", "UTF-16LE"},
    {TFileEncoding::Utf16Be, TEncodingGroup::Unicode, "UTF-16 BE", "UTF-16BE"},
    {TFileEncoding::Utf32Le, TEncodingGroup::Unicode, "UTF-32 LE", "UTF-32LE"},
    {TFileEncoding::Utf32Be, TEncodingGroup::Unicode, "UTF-32 BE", "UTF-32BE"},
    {TFileEncoding::EucJp, TEncodingGroup::Japanese, "EUC-JP", "EUC-JP"},
    // Windows' form of Shift_JIS: 5C is the backslash, not the yen sign.
    {TFileEncoding::ShiftJis, TEncodingGroup::Japanese, "Shift_JIS", "CP932"},
    {TFileEncoding::Gb18030, TEncodingGroup::Chinese, "GB18030", "GB18030"},
    {TFileEncoding::Big5, TEncodingGroup::Chinese, "Big5", "BIG5"},
    {TFileEncoding::Iso8859_1, TEncodingGroup::Western, "ISO-8859-1", "ISO-8859-1"},
    {TFileEncoding::Iso8859_15, TEncodingGroup::Western, "ISO-8859-15", "ISO-8859-15"},
    {TFileEncoding::Windows1252, TEncodingGroup::Western, "Windows-1252", "CP1252"},
    {TFileEncoding::Iso8859_2, TEncodingGroup::CentralEuropean, "ISO-8859-2", "ISO-8859-2"},
    {TFileEncoding::Windows1250, TEncodingGroup::CentralEuropean, "Windows-1250", "CP1250"},
    {TFileEncoding::Iso8859_5, TEncodingGroup::Cyrillic, "ISO-8859-5", "ISO-8859-5"},
    {TFileEncoding::Windows1251, TEncodingGroup::Cyrillic, "Windows-1251", "CP1251"},
    {TFileEncoding::Koi8R, TEncodingGroup::Cyrillic, "KOI8-R", "KOI8-R"},
    {TFileEncoding::Koi8U, TEncodingGroup::Cyrillic, "KOI8-U", "KOI8-U"},
    {TFileEncoding::Iso8859_7, TEncodingGroup::Greek, "ISO-8859-7", "ISO-8859-7"},
    {TFileEncoding::Windows1253, TEncodingGroup::Greek, "Windows-1253", "CP1253"},
    {TFileEncoding::Iso8859_9, TEncodingGroup::Turkish, "ISO-8859-9", "ISO-8859-9"},
    {TFileEncoding::Windows1254, TEncodingGroup::Turkish, "Windows-1254", "CP1254"},
    {TFileEncoding::Windows1255, TEncodingGroup::Hebrew, "Windows-1255", "CP1255"},
    {TFileEncoding::Windows1256, TEncodingGroup::Arabic, "Windows-1256", "CP1256"},
    {TFileEncoding::Windows1257, TEncodingGroup::Baltic, "Windows-1257", "CP1257"},
    {TFileEncoding::Windows1258, TEncodingGroup::Vietnamese, "Windows-1258", "CP1258"},
};

// The detector's names for the encodings here (upper case). Its Korean
// answers, and ASCII, stay CP949.
struct TGuessName {
    const char* Name;
    TFileEncoding Encoding;
};
constexpr TGuessName GuessNames[] = {
    {"EUC-KR", TFileEncoding::Cp949},        {"UHC", TFileEncoding::Cp949},
    {"CP949", TFileEncoding::Cp949},         {"ISO-2022-KR", TFileEncoding::Cp949},
    {"ASCII", TFileEncoding::Cp949},         {"UTF-8", TFileEncoding::Utf8},
    {"UTF-32LE", TFileEncoding::Utf32Le},    {"UTF-32BE", TFileEncoding::Utf32Be},
    {"UTF-16LE", TFileEncoding::Utf16Le},    {"UTF-16BE", TFileEncoding::Utf16Be},
    {"EUC-JP", TFileEncoding::EucJp},        {"SHIFT_JIS", TFileEncoding::ShiftJis},
    {"CP932", TFileEncoding::ShiftJis},      {"GB18030", TFileEncoding::Gb18030},
    {"GBK", TFileEncoding::Gb18030},         {"GB2312", TFileEncoding::Gb18030},
    {"EUC-CN", TFileEncoding::Gb18030},      {"HZ-GB-2312", TFileEncoding::Gb18030},
    {"BIG5", TFileEncoding::Big5},           {"EUC-TW", TFileEncoding::Big5},
    {"ISO-8859-1", TFileEncoding::Iso8859_1}, {"ISO-8859-2", TFileEncoding::Iso8859_2},
    {"ISO-8859-5", TFileEncoding::Iso8859_5}, {"ISO-8859-7", TFileEncoding::Iso8859_7},
    {"ISO-8859-9", TFileEncoding::Iso8859_9}, {"ISO-8859-15", TFileEncoding::Iso8859_15},
    {"WINDOWS-1250", TFileEncoding::Windows1250}, {"WINDOWS-1251", TFileEncoding::Windows1251},
    {"WINDOWS-1252", TFileEncoding::Windows1252}, {"WINDOWS-1253", TFileEncoding::Windows1253},
    {"WINDOWS-1254", TFileEncoding::Windows1254}, {"WINDOWS-1255", TFileEncoding::Windows1255},
    {"WINDOWS-1256", TFileEncoding::Windows1256}, {"WINDOWS-1257", TFileEncoding::Windows1257},
    {"WINDOWS-1258", TFileEncoding::Windows1258}, {"KOI8-R", TFileEncoding::Koi8R},
    {"KOI8-U", TFileEncoding::Koi8U},         {"ISO-8859-13", TFileEncoding::Windows1257},
    {"ISO-8859-4", TFileEncoding::Windows1257},
};

bool HasAnyOf(std::string_view text, std::string_view bytes) {
    return text.find_first_of(bytes) != std::string_view::npos;
}

// The detector often takes a Windows code page for the ISO one of the same
// script, or KOI8-U for KOI8-R; the bytes tell them apart. 80-9F are
// controls in the ISO sets and letters or punctuation in the Windows ones;
// KOI8-U has Ukrainian letters where KOI8-R draws boxes.
TFileEncoding Refined(TFileEncoding guessed, std::string_view head) {
    static constexpr char C1[] = "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
                                 "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F";
    const bool windows = HasAnyOf(head, C1);
    switch (guessed) {
    case TFileEncoding::Iso8859_1:
    case TFileEncoding::Iso8859_15:
    case TFileEncoding::Windows1252:
        return windows ? TFileEncoding::Windows1252 : guessed;
    case TFileEncoding::Iso8859_2:
    case TFileEncoding::Windows1250:
        return windows ? TFileEncoding::Windows1250 : TFileEncoding::Iso8859_2;
    case TFileEncoding::Iso8859_7:
    case TFileEncoding::Windows1253:
        return windows ? TFileEncoding::Windows1253 : TFileEncoding::Iso8859_7;
    case TFileEncoding::Iso8859_9:
    case TFileEncoding::Windows1254:
        return windows ? TFileEncoding::Windows1254 : TFileEncoding::Iso8859_9;
    case TFileEncoding::Koi8R:
        return HasAnyOf(head, "\xA4\xA6\xA7\xAD\xB4\xB6\xB7\xBD") ? TFileEncoding::Koi8U
                                                                     : TFileEncoding::Koi8R;
    default:
        return guessed;
    }
}

std::optional<TFileEncoding> GuessedEncoding(std::string_view head) {
    std::string name = GuessCharset(head.substr(0, GuessBytes));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    for (const TGuessName& guess : GuessNames)
        if (name == guess.Name)
            return Refined(guess.Encoding, head.substr(0, GuessBytes));
    return std::nullopt;
}

bool IsAllowedControl(char32_t code) {
    return code >= 0x20 || code == '\t' || code == '\r' || code == '\n' || code == '\f' ||
           code == 0x1B;
}

// Every whole four-byte unit of head, in the byte order, is a character
// other than NUL and the controls text does not hold (a unit cut by the end
// of head is left out); at least one unit.
bool IsUtf32(std::string_view head, bool bigEndian) {
    const auto* s = reinterpret_cast<const uint8_t*>(head.data());
    const std::size_t units = head.size() / 4;
    if (units == 0)
        return false;
    for (std::size_t i = 0; i < units; ++i) {
        const uint8_t* u = s + 4 * i;
        const char32_t code = bigEndian ? char32_t(u[0]) << 24 | char32_t(u[1]) << 16 |
                                              char32_t(u[2]) << 8 | u[3]
                                        : char32_t(u[3]) << 24 | char32_t(u[2]) << 16 |
                                              char32_t(u[1]) << 8 | u[0];
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || code == 0x7F ||
            !IsAllowedControl(code))
            return false;
    }
    return true;
}

bool IsKsHangul(uint8_t lead, uint8_t trail) {
    return lead >= 0xB0 && lead <= 0xC8 && trail >= 0xA1 && trail <= 0xFE;
}

// Korean CP949 as the program tells it without the detector: well-formed
// (a pair cut by the end of head aside), at least four of every five
// double-byte characters KS X 1001 Hangul syllables, and those in runs of
// eight characters or fewer on average (Korean words stand between blanks
// and ASCII punctuation; Chinese and Japanese run on to the end of a
// sentence, and their EUC codes often read as syllables too).
bool ClearlyCp949(std::string_view head) {
    const auto* s = reinterpret_cast<const uint8_t*>(head.data());
    const std::size_t n = head.size();
    std::size_t pairs = 0;
    std::size_t hangul = 0;
    std::size_t runs = 0;
    bool inRun = false;
    for (std::size_t p = 0; p < n; ++p) {
        if (s[p] < 0x80) {
            inRun = false;
            continue;
        }
        if (p + 1 == n)
            break; // cut by the end of the head
        if (!IsCp949Pair(s[p], s[p + 1]))
            return false;
        ++pairs;
        hangul += IsKsHangul(s[p], s[p + 1]);
        runs += !inRun;
        inRun = true;
        ++p;
    }
    return pairs > 0 && hangul * 5 >= pairs * 4 && pairs <= runs * 8;
}

bool StartsWithUtf32Mark(std::string_view head, bool& bigEndian) {
    if (head.substr(0, 4) == std::string_view("\xFF\xFE\0\0", 4)) {
        bigEndian = false;
        return true;
    }
    if (head.substr(0, 4) == std::string_view("\0\0\xFE\xFF", 4)) {
        bigEndian = true;
        return true;
    }
    return false;
}

// The encoding a byte-order mark at the start of head gives, if any.
std::optional<TFileEncoding> MarkedEncoding(std::string_view head) {
    bool bigEndian = false;
    if (HasPrefix(head, "\xEF\xBB\xBF"))
        return TFileEncoding::Utf8Bom;
    if (StartsWithUtf32Mark(head, bigEndian))
        return bigEndian ? TFileEncoding::Utf32Be : TFileEncoding::Utf32Le;
    if (HasPrefix(head, "\xFF\xFE"))
        return TFileEncoding::Utf16Le;
    if (HasPrefix(head, "\xFE\xFF"))
        return TFileEncoding::Utf16Be;
    return std::nullopt;
}

} // namespace

TFileEncoding DetectEncoding(std::string_view head) {
    if (const std::optional<TFileEncoding> marked = MarkedEncoding(head))
        return *marked;
    if (IsUtf32(head, false))
        return TFileEncoding::Utf32Le;
    if (IsUtf32(head, true))
        return TFileEncoding::Utf32Be;
    const TUtf8Scan scan = ScanUtf8(head, true);
    if (scan.WellFormed) {
        if (!scan.MultiByte)
            return TFileEncoding::Cp949;
        if (scan.Longer > 0 || TwoByteTextIsUtf8(head))
            return TFileEncoding::Utf8;
        return TFileEncoding::Cp949;
    }
    if (MostlyUtf8(scan))
        return TFileEncoding::Utf8;
    if (ClearlyCp949(head))
        return TFileEncoding::Cp949;
    const std::optional<TFileEncoding> guessed = GuessedEncoding(head);
    // A guess of UTF-8 (or of a unit width the text does not have) is no
    // help for text that is neither.
    if (!guessed || *guessed == TFileEncoding::Utf8 || *guessed == TFileEncoding::Utf16Le ||
        *guessed == TFileEncoding::Utf16Be || *guessed == TFileEncoding::Utf32Le ||
        *guessed == TFileEncoding::Utf32Be)
        return TFileEncoding::Cp949;
    return *guessed;
}

TFileEncoding ChosenEncoding(std::string_view head, TCodingChoice choice) {
    if (const std::optional<TFileEncoding> marked = MarkedEncoding(head))
        return *marked;
    if (!choice)
        return DetectEncoding(head);
    return *choice == TFileEncoding::Utf8Bom ? TFileEncoding::Utf8 : *choice;
}

std::size_t ByteOrderMarkSize(TFileEncoding encoding) {
    switch (encoding) {
    case TFileEncoding::Utf8Bom:
        return 3;
    case TFileEncoding::Utf16Le:
    case TFileEncoding::Utf16Be:
        return 2;
    case TFileEncoding::Utf32Le:
    case TFileEncoding::Utf32Be:
        return 4;
    default:
        return 0;
    }
}

std::size_t ByteOrderMarkAt(std::string_view head) {
    const std::optional<TFileEncoding> marked = MarkedEncoding(head);
    return marked ? ByteOrderMarkSize(*marked) : 0;
}

std::span<const TEncodingInfo> AllEncodings() {
    return Encodings;
}

std::int64_t ConvertedBytesBound(TFileEncoding encoding, std::int64_t bytes) {
    bytes = std::max<std::int64_t>(bytes, 0);
    if (!EncodingInfo(encoding).Charset)
        return bytes;
    switch (encoding) {
    case TFileEncoding::Utf16Le:
    case TFileEncoding::Utf16Be:
        return bytes / 2 * 3 + 3; // an odd last byte too
    case TFileEncoding::Utf32Le:
    case TFileEncoding::Utf32Be:
        return bytes + 3; // the last, cut unit
    case TFileEncoding::Iso8859_1:
        return bytes * 2;
    default:
        return bytes * 3;
    }
}

const TEncodingInfo& EncodingInfo(TFileEncoding encoding) {
    for (const TEncodingInfo& info : Encodings)
        if (info.Encoding == encoding)
            return info;
    return Encodings[0];
}

const char* EncodingName(TFileEncoding encoding) {
    return EncodingInfo(encoding).Name;
}

std::optional<TFileEncoding> EncodingNamed(std::string_view name) {
    for (const TEncodingInfo& info : Encodings)
        if (name == info.Name)
            return info.Encoding;
    return std::nullopt;
}

const char* EncodingGroupName(TEncodingGroup group) {
    switch (group) {
    case TEncodingGroup::Korean:
        return "한국어";
    case TEncodingGroup::Unicode:
        return "유니코드";
    case TEncodingGroup::Japanese:
        return "일본어";
    case TEncodingGroup::Chinese:
        return "중국어";
    case TEncodingGroup::Western:
        return "서유럽어";
    case TEncodingGroup::CentralEuropean:
        return "중유럽어";
    case TEncodingGroup::Cyrillic:
        return "키릴 문자";
    case TEncodingGroup::Greek:
        return "그리스어";
    case TEncodingGroup::Turkish:
        return "터키어";
    case TEncodingGroup::Hebrew:
        return "히브리어";
    case TEncodingGroup::Arabic:
        return "아랍어";
    case TEncodingGroup::Baltic:
        return "발트어";
    case TEncodingGroup::Vietnamese:
        return "베트남어";
    }
    return "";
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
    bool bigEndian = false;
    if (HasPrefix(head, "\xFF\xFE") || HasPrefix(head, "\xFE\xFF") ||
        StartsWithUtf32Mark(head, bigEndian) || IsUtf32(head, false) || IsUtf32(head, true))
        return true;
    if (HasPrefix(head, "\xEF\xBB\xBF"))
        head.remove_prefix(3);
    if (!HasOnlyTextControls(head))
        return false;
    return IsWellFormedUtf8(head, true) || IsWellFormedCp949(head);
}

} // namespace ov
