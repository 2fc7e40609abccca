#pragma once
// Stepping through the characters of a line. Every piece of code that walks
// the bytes of a document line character by character (wrapping, hit
// testing, painting, selection, copying, find, the bookmark list, the HTML
// page) asks the document's coding here instead of testing bytes itself:
//
//     const TCharCoding& coding = CharCodingOf(lines.Coding());
//     for (std::size_t p = 0; p < text.size(); p = coding.NextChar(text, p))
//         ... coding.CharCells(text, p), coding.CharCode(text, p) ...
//
// A document's lines hold the bytes of the file as they are; the coding says
// how they form characters:
// - CP949: a byte of 0x80 or more and the byte after it are one character
//   of two cells, every other byte is one character of one cell. A lead byte
//   at the end of a line is still a character of length 2 (its trail is
//   missing); CharLength reports 2 there, NextChar stops at the line end.
// - UTF-8: a well-formed sequence (no overlong form, no surrogate, nothing
//   above U+10FFFF) is one character; every byte that is not part of one is
//   a character of its own, shown as U+FFFD in one cell. Hangul written as
//   conjoining jamo (a leading consonant U+1100-1112, a vowel U+1161-1175
//   and an optional final consonant U+11A8-11C2) is one character too,
//   whose value is the composed syllable: it is drawn, measured, selected
//   and hit as the syllable, while its bytes (and so a copy) stay the
//   file's. Characters that
//   CP949 also has take two cells, as they do there (so a text looks, wraps
//   and hit-tests alike in both codings); so do East Asian wide and
//   fullwidth characters. Combining marks and zero-width characters take
//   none, everything else one.
// Both codings keep ASCII as it is, so a byte below 0x80 is always a
// character of its own and never part of another; a tab is one cell here
// (the view widens it).
//
// Positions are byte offsets into text. Every function requires a position
// inside the text (p < text.size()) unless it says otherwise; the objects are
// stateless and shared, so any thread may use them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ov {

enum class TTextCoding : std::uint8_t { Cp949, Utf8 };

// What IsCharStart has learnt about one text, for a caller that asks about
// many of its positions in turn (find asks at every candidate). Asked one by
// one from scratch, a long run of double-byte characters is read back to its
// start at every question, which costs a long line its length squared. A
// fresh memo for each text; its fields belong to the coding.
struct TCharStartMemo {
    std::size_t From = 0;
    std::size_t To = 0;
    bool Valid = false;
};

class TCharCoding {
public:
    virtual ~TCharCoding() = default;

    virtual TTextCoding Coding() const = 0;

    // The length in bytes of the character that starts at p (1 to 4; see
    // above for a CP949 lead byte at the end of the text).
    virtual int CharLength(std::string_view text, std::size_t p) const = 0;
    // Its display width in cells: 0, 1 or 2.
    virtual int CharCells(std::string_view text, std::size_t p) const = 0;
    // Its Unicode value; U+FFFD for bytes that form no character (and for a
    // CP949 code with no Unicode equivalent).
    virtual char32_t CharCode(std::string_view text, std::size_t p) const = 0;
    // The start of the character that holds byte q, given a character start
    // known <= q (0 is always one). Only bytes known .. q are read.
    virtual std::size_t CharStart(std::string_view text, std::size_t known,
                                  std::size_t q) const = 0;

    // IsCharStart for a caller that asks about many positions of one text:
    // over questions whose positions only rise, or only fall, each byte is
    // read a bounded number of times in all. memo must have been used with
    // this text only. Any order of questions gives the right answers.
    virtual bool IsCharStart(std::string_view text, std::size_t q, TCharStartMemo& memo) const {
        (void)memo;
        return IsCharStart(text, q);
    }

    // The whole text as UTF-8 (the clipboard's and the HTML page's form);
    // bytes that form no character become U+FFFD, nothing is dropped.
    virtual std::string ToUtf8(std::string_view text) const = 0;
    // UTF-8 text (typed by the user) in this coding; characters that the
    // coding cannot hold become '?'.
    virtual std::string FromUtf8(std::string_view text) const = 0;

    // The start of the next character: p + CharLength, but never past the
    // end of the text. p may be text.size(), which is returned.
    std::size_t NextChar(std::string_view text, std::size_t p) const {
        if (p >= text.size())
            return text.size();
        const std::size_t next = p + std::size_t(CharLength(text, p));
        return next < text.size() ? next : text.size();
    }
    // The start of the character before p (p may be text.size()); 0 for 0.
    std::size_t PrevChar(std::string_view text, std::size_t p) const {
        return p == 0 ? 0 : CharStart(text, 0, p - 1);
    }
    // True when a character starts at p; also for p == text.size().
    bool IsCharStart(std::string_view text, std::size_t p) const {
        return p >= text.size() || CharStart(text, 0, p) == p;
    }
    // The last byte of the character that starts at p (inside the text).
    std::size_t CharLastByte(std::string_view text, std::size_t p) const {
        return NextChar(text, p) - 1;
    }
};

// The shared, stateless object of a coding.
const TCharCoding& CharCodingOf(TTextCoding coding);

// Cells of a Unicode value on its own (the UTF-8 rule above); used also by
// code that draws characters from other sources.
int UnicodeCells(char32_t code);

// The length of the well-formed UTF-8 sequence at text[p], or 0 when the
// byte there starts none (ASCII gives 1). value receives the character.
int DecodeUtf8(std::string_view text, std::size_t p, char32_t& value);

// The character of UTF-8 text at text[p] as the UTF-8 coding reads it: its
// length in bytes (at least 1) and its value in code (U+FFFD for a byte that
// starts no sequence, the syllable for conjoining jamo).
int Utf8CharAt(std::string_view text, std::size_t p, char32_t& code);

// UTF-8 text with its Hangul in one form: every syllable U+AC00-D7A3 as
// conjoining jamo (composed false), or every run of conjoining jamo that
// makes a syllable as that syllable (composed true). Everything else stays
// as it is.
std::string HangulForm(std::string_view text, bool composed);

// Appends the UTF-8 form of a Unicode value (at most U+10FFFF) to out.
void AppendUtf8(std::string& out, char32_t code);

// How a byte of a line reads: a NUL byte, which only a mapped file's line
// can hold, as a blank. For readers that go byte by byte (painting, widths).
constexpr char ShownByte(char byte) { return byte == '\0' ? ' ' : byte; }
// text with every NUL as a blank: text itself when it holds none, else a
// copy in buffer (valid until buffer changes). For readers that need the
// line's bytes together (search, copy, export, the scanners).
std::string_view ShownText(std::string_view text, std::string& buffer);

} // namespace ov
