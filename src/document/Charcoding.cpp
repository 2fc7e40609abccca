#include "Charcoding.h"

#include "Codepage.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace ov {

namespace {

struct TRange {
    char32_t First;
    char32_t Last;
};

// Characters drawn in two cells: East Asian wide and fullwidth blocks and
// the emoji presentation blocks.
constexpr TRange WideRanges[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F202}, {0x1F210, 0x1F23B},
    {0x1F240, 0x1F248}, {0x1F250, 0x1F251}, {0x1F260, 0x1F265}, {0x1F300, 0x1F320},
    {0x1F32D, 0x1F335}, {0x1F337, 0x1F37C}, {0x1F37E, 0x1F393}, {0x1F3A0, 0x1F3CA},
    {0x1F3CF, 0x1F3D3}, {0x1F3E0, 0x1F3F0}, {0x1F3F4, 0x1F3F4}, {0x1F3F8, 0x1F43E},
    {0x1F440, 0x1F440}, {0x1F442, 0x1F4FC}, {0x1F4FF, 0x1F53D}, {0x1F54B, 0x1F54E},
    {0x1F550, 0x1F567}, {0x1F57A, 0x1F57A}, {0x1F595, 0x1F596}, {0x1F5A4, 0x1F5A4},
    {0x1F5FB, 0x1F64F}, {0x1F680, 0x1F6C5}, {0x1F6CC, 0x1F6CC}, {0x1F6D0, 0x1F6D2},
    {0x1F6D5, 0x1F6D7}, {0x1F6DC, 0x1F6DF}, {0x1F6EB, 0x1F6EC}, {0x1F6F4, 0x1F6FC},
    {0x1F7E0, 0x1F7EB}, {0x1F7F0, 0x1F7F0}, {0x1F90C, 0x1F93A}, {0x1F93C, 0x1F945},
    {0x1F947, 0x1F9FF}, {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

// Characters that take no cell of their own: combining marks (drawn over the
// character before them), joiners, direction marks, variation selectors and
// the medial and final jamo that join a leading consonant into a syllable.
constexpr TRange ZeroRanges[] = {
    {0x0300, 0x036F},   {0x0483, 0x0489},   {0x0591, 0x05BD},   {0x05BF, 0x05BF},
    {0x05C1, 0x05C2},   {0x05C4, 0x05C5},   {0x05C7, 0x05C7},   {0x0610, 0x061A},
    {0x064B, 0x065F},   {0x0670, 0x0670},   {0x06D6, 0x06DC},   {0x06DF, 0x06E4},
    {0x06E7, 0x06E8},   {0x06EA, 0x06ED},   {0x0E31, 0x0E31},   {0x0E34, 0x0E3A},
    {0x0E47, 0x0E4E},   {0x1160, 0x11FF},   {0x1AB0, 0x1AFF},   {0x1DC0, 0x1DFF},
    {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x20D0, 0x20FF},
    {0x302A, 0x302F},   {0x3099, 0x309A},   {0xD7B0, 0xD7FF},   {0xFE00, 0xFE0F},
    {0xFE20, 0xFE2F},   {0xFEFF, 0xFEFF},   {0x1F3FB, 0x1F3FF}, {0xE0000, 0xE007F},
    {0xE0100, 0xE01EF},
};

template <std::size_t N> bool InRanges(const TRange (&ranges)[N], char32_t code) {
    const TRange* found = std::upper_bound(std::begin(ranges), std::end(ranges), code,
                                           [](char32_t c, const TRange& r) { return c < r.First; });
    return found != std::begin(ranges) && code <= (found - 1)->Last;
}

class TCp949Coding final : public TCharCoding {
public:
    TTextCoding Coding() const override { return TTextCoding::Cp949; }
    int CharLength(std::string_view text, std::size_t p) const override {
        return static_cast<uint8_t>(text[p]) >= 0x80 ? 2 : 1;
    }
    int CharCells(std::string_view text, std::size_t p) const override {
        return CharLength(text, p);
    }
    char32_t CharCode(std::string_view text, std::size_t p) const override {
        const auto byte = static_cast<uint8_t>(text[p]);
        if (byte < 0x80)
            return byte;
        if (p + 1 >= text.size())
            return U'\uFFFD';
        const std::u16string wide = WideFromAnsi(text.substr(p, 2));
        return wide.size() == 1 ? char32_t(wide[0]) : U'\uFFFD';
    }
    // A byte after one below 0x80 always starts a character, and from there
    // on bytes at or above 0x80 pair up.
    std::size_t CharStart(std::string_view text, std::size_t known, std::size_t q) const override {
        std::size_t j = q;
        while (j > known && static_cast<uint8_t>(text[j - 1]) >= 0x80)
            --j;
        return j + (q - j) / 2 * 2;
    }
    // The memo holds a run: From starts a character and every byte from From
    // up to To is 0x80 or more, so the characters there pair up from From. A
    // question inside the run is answered from it; one above it reads only
    // the bytes above To, one below it only the run that holds q.
    bool IsCharStart(std::string_view text, std::size_t q, TCharStartMemo& memo) const override {
        if (q >= text.size())
            return true;
        if (memo.Valid && q >= memo.From && q > memo.To) {
            std::size_t j = q;
            while (j > memo.To && static_cast<uint8_t>(text[j - 1]) >= 0x80)
                --j;
            if (j > memo.To)
                memo.From = j;
            memo.To = q;
        } else if (!memo.Valid || q < memo.From) {
            std::size_t j = q;
            while (j > 0 && static_cast<uint8_t>(text[j - 1]) >= 0x80)
                --j;
            memo = {j, q, true};
        }
        return (q - memo.From) % 2 == 0;
    }
    std::string ToUtf8(std::string_view text) const override { return Utf8FromAnsi(text); }
    std::string FromUtf8(std::string_view text) const override { return AnsiFromUtf8(text); }
};

constexpr char32_t SyllableBase = 0xAC00;
constexpr char32_t LastSyllable = 0xD7A3;
constexpr char32_t LeadBase = 0x1100;
constexpr char32_t VowelBase = 0x1161;
constexpr char32_t TailBase = 0x11A7; // one before the first final consonant
constexpr int Vowels = 21;
constexpr int Tails = 28; // the finals and "none"

bool IsLeadJamo(char32_t c) { return c >= LeadBase && c <= 0x1112; }
bool IsVowelJamo(char32_t c) { return c >= VowelBase && c <= 0x1175; }
bool IsTailJamo(char32_t c) { return c >= 0x11A8 && c <= 0x11C2; }

// The jamo at text[p] (every conjoining jamo is three bytes), or 0.
char32_t JamoAt(std::string_view text, std::size_t p) {
    char32_t code = 0;
    return p < text.size() && DecodeUtf8(text, p, code) == 3 && code >= LeadBase && code <= 0x11FF
               ? code
               : 0;
}

class TUtf8Coding final : public TCharCoding {
public:
    TTextCoding Coding() const override { return TTextCoding::Utf8; }
    int CharLength(std::string_view text, std::size_t p) const override {
        char32_t value;
        return Utf8CharAt(text, p, value);
    }
    int CharCells(std::string_view text, std::size_t p) const override {
        const auto byte = static_cast<uint8_t>(text[p]);
        return byte < 0x80 ? 1 : UnicodeCells(CharCode(text, p));
    }
    char32_t CharCode(std::string_view text, std::size_t p) const override {
        char32_t value;
        Utf8CharAt(text, p, value);
        return value;
    }
    // Every byte that is not a continuation byte starts a sequence (it
    // cannot lie inside a well-formed one). A continuation byte belongs to
    // the nearest such byte before it when that byte's sequence reaches it,
    // and is a character of its own otherwise. A vowel jamo right after a
    // leading consonant, and a final one right after both, belong to the
    // syllable that the consonant starts.
    std::size_t CharStart(std::string_view text, std::size_t known, std::size_t q) const override {
        std::size_t j = q;
        while (j > known && q - j < 3 && (static_cast<uint8_t>(text[j]) & 0xC0) == 0x80)
            --j;
        if (j != q && (static_cast<uint8_t>(text[j]) & 0xC0) == 0x80)
            return q;
        char32_t value;
        if (j != q && j + std::size_t(DecodeUtf8(text, j, value)) <= q)
            return q;
        const char32_t jamo = JamoAt(text, j);
        if (IsVowelJamo(jamo) && j >= known + 3 && IsLeadJamo(JamoAt(text, j - 3)))
            return j - 3;
        if (IsTailJamo(jamo) && j >= known + 6 && IsVowelJamo(JamoAt(text, j - 3)) &&
            IsLeadJamo(JamoAt(text, j - 6)))
            return j - 6;
        return j;
    }
    std::string ToUtf8(std::string_view text) const override {
        std::string out;
        out.reserve(text.size());
        for (std::size_t p = 0; p < text.size();) {
            char32_t value;
            const int length = DecodeUtf8(text, p, value);
            if (length > 0) {
                out.append(text.substr(p, std::size_t(length)));
                p += std::size_t(length);
            } else {
                AppendUtf8(out, U'\uFFFD');
                ++p;
            }
        }
        return out;
    }
    std::string FromUtf8(std::string_view text) const override { return ToUtf8(text); }
};

const TCp949Coding Cp949Coding;
const TUtf8Coding Utf8Coding;

} // namespace

const TCharCoding& CharCodingOf(TTextCoding coding) {
    if (coding == TTextCoding::Utf8)
        return Utf8Coding;
    return Cp949Coding;
}

int UnicodeCells(char32_t code) {
    if (code < 0x80)
        return 1;
    if (Cp949CodeOf(code) != 0)
        return 2;
    if (code < 0x300)
        return 1;
    if (InRanges(ZeroRanges, code))
        return 0;
    return InRanges(WideRanges, code) ? 2 : 1;
}

int Utf8CharAt(std::string_view text, std::size_t p, char32_t& code) {
    const int length = DecodeUtf8(text, p, code);
    if (length == 0) {
        code = U'\uFFFD';
        return 1;
    }
    if (!IsLeadJamo(code))
        return length;
    const char32_t vowel = JamoAt(text, p + 3);
    if (!IsVowelJamo(vowel))
        return length;
    const char32_t syllable =
        SyllableBase + ((code - LeadBase) * Vowels + (vowel - VowelBase)) * Tails;
    const char32_t tail = JamoAt(text, p + 6);
    if (IsTailJamo(tail)) {
        code = syllable + (tail - TailBase);
        return 9;
    }
    code = syllable;
    return 6;
}

std::string HangulForm(std::string_view text, bool composed) {
    std::string out;
    out.reserve(text.size() * (composed ? 1 : 3));
    for (std::size_t p = 0; p < text.size();) {
        char32_t code;
        const int length = Utf8CharAt(text, p, code);
        if (code >= SyllableBase && code <= LastSyllable && (composed ? length > 3 : length == 3)) {
            if (composed) {
                AppendUtf8(out, code);
            } else {
                const char32_t index = code - SyllableBase;
                AppendUtf8(out, LeadBase + index / (Vowels * Tails));
                AppendUtf8(out, VowelBase + index % (Vowels * Tails) / Tails);
                if (index % Tails != 0)
                    AppendUtf8(out, TailBase + index % Tails);
            }
        } else {
            out.append(text.substr(p, std::size_t(length)));
        }
        p += std::size_t(length);
    }
    return out;
}

int DecodeUtf8(std::string_view text, std::size_t p, char32_t& value) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data()) + p;
    const std::size_t left = text.size() - p;
    const uint8_t b0 = s[0];
    if (b0 < 0x80) {
        value = b0;
        return 1;
    }
    auto continuation = [&](std::size_t k) { return k < left && (s[k] & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (!continuation(1))
            return 0;
        value = char32_t(b0 & 0x1F) << 6 | (s[1] & 0x3F);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (!continuation(1) || !continuation(2))
            return 0;
        if ((b0 == 0xE0 && s[1] < 0xA0) || (b0 == 0xED && s[1] >= 0xA0))
            return 0; // overlong, or a surrogate
        value = char32_t(b0 & 0x0F) << 12 | char32_t(s[1] & 0x3F) << 6 | (s[2] & 0x3F);
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3))
            return 0;
        if ((b0 == 0xF0 && s[1] < 0x90) || (b0 == 0xF4 && s[1] >= 0x90))
            return 0; // overlong, or above U+10FFFF
        value = char32_t(b0 & 0x07) << 18 | char32_t(s[1] & 0x3F) << 12 |
                char32_t(s[2] & 0x3F) << 6 | (s[3] & 0x3F);
        return 4;
    }
    return 0;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(char(code));
    } else if (code < 0x800) {
        out.push_back(char(0xC0 | code >> 6));
        out.push_back(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(char(0xE0 | code >> 12));
        out.push_back(char(0x80 | (code >> 6 & 0x3F)));
        out.push_back(char(0x80 | (code & 0x3F)));
    } else {
        out.push_back(char(0xF0 | code >> 18));
        out.push_back(char(0x80 | (code >> 12 & 0x3F)));
        out.push_back(char(0x80 | (code >> 6 & 0x3F)));
        out.push_back(char(0x80 | (code & 0x3F)));
    }
}

std::string_view ShownText(std::string_view text, std::string& buffer) {
    if (text.empty() || !std::memchr(text.data(), 0, text.size()))
        return text;
    buffer.assign(text);
    std::replace(buffer.begin(), buffer.end(), '\0', ' ');
    return buffer;
}

} // namespace ov
