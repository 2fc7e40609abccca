#pragma once
// The encodings of viewed files and how a file's first bytes tell them
// apart. Loading itself is TOVStringList::LoadViewedFile; this unit only
// looks at bytes.
//
// Detection, in this order:
// - EF BB BF: UTF-8 with a byte-order mark; FF FE 00 00: UTF-32
//   little-endian; 00 00 FE FF: UTF-32 big-endian; FF FE: UTF-16
//   little-endian; FE FF: UTF-16 big-endian.
// - Text without a mark whose every four bytes (in one byte order) are a
//   Unicode character other than NUL and the controls text does not hold is
//   UTF-32 in that order.
// - Text without a mark is UTF-8 when its head (the first DetectionBytes) is
//   well-formed UTF-8 holding at least one multi-byte sequence. A sequence
//   cut by the end of the head does not count against it. So is text with
//   a few stray bytes among many three- and four-byte sequences (damaged
//   UTF-8: CP949 Korean breaks UTF-8 at nearly every syllable).
// - Text that is well-formed UTF-8 but holds only two-byte sequences may
//   just as well be CP949 Korean (a Hangul syllable with a lead byte of
//   C2-C8 and a trail byte of A1-BF is also a two-byte UTF-8 sequence); it
//   is read the way that gives the more plausible characters.
// - ASCII is CP949.
// - Well-formed CP949 made mostly of KS X 1001 Hangul syllables in short
//   runs (Korean words between blanks) is CP949.
// - Anything else is what the character set detector (GuessCharset) takes
//   its first GuessBytes for, when that is one of the encodings here; CP949
//   when it has no answer, names Korean, or names another encoding. Where
//   it cannot tell an ISO set from the Windows code page of its script, or
//   KOI8-R from KOI8-U, the bytes decide (Refined in the source).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ov {

// Every encoding a file is read in. Apart from CP949 and UTF-8, which are
// shown from the file's bytes, the text is converted to UTF-8 once when it
// is loaded.
enum class TFileEncoding {
    Cp949, Utf8, Utf8Bom, Utf16Le, Utf16Be, Utf32Le, Utf32Be,
    EucJp, ShiftJis, Gb18030, Big5,
    Iso8859_1, Iso8859_2, Iso8859_5, Iso8859_7, Iso8859_9, Iso8859_15,
    Windows1250, Windows1251, Windows1252, Windows1253, Windows1254, Windows1255,
    Windows1256, Windows1257, Windows1258,
    Koi8R, Koi8U,
};

// The encoding a user imposes on text without a byte-order mark; none
// (Auto) detects.
using TCodingChoice = std::optional<TFileEncoding>;

// The menu's groups of encodings, in menu order.
enum class TEncodingGroup { Korean, Unicode, Japanese, Chinese, Western, CentralEuropean,
                            Cyrillic, Greek, Turkish, Hebrew, Arabic, Baltic, Vietnamese };

struct TEncodingInfo {
    TFileEncoding Encoding;
    TEncodingGroup Group;
    const char* Name;    // as the status bar and the menu show it
    const char* Charset; // the iconv name the text is converted from; null
                         // for the encodings shown from the file's bytes
};

// Every encoding, grouped in menu order.
std::span<const TEncodingInfo> AllEncodings();
const TEncodingInfo& EncodingInfo(TFileEncoding encoding);
// The encoding of a Name (as EncodingName gives it); none for another text.
std::optional<TFileEncoding> EncodingNamed(std::string_view name);
// The Korean name of a menu group.
const char* EncodingGroupName(TEncodingGroup group);

// The most bytes of UTF-8 that bytes of text in the encoding can become:
// one byte that does not decode becomes U+FFFD, three bytes; a unit of
// UTF-16 at most three, one of UTF-32 at most four; a character of ISO-8859-1
// at most two. Text shown from its bytes stays as it is.
std::int64_t ConvertedBytesBound(TFileEncoding encoding, std::int64_t bytes);

// How much of a file detection reads.
constexpr std::size_t DetectionBytes = 1 << 20;
// How much of it the character set detector is given.
constexpr std::size_t GuessBytes = 64 << 10;

// head: the file's first bytes (up to DetectionBytes; fewer for a shorter
// file).
TFileEncoding DetectEncoding(std::string_view head);

// The encoding that choice, made by hand, gives a file whose head is head:
// a byte-order mark decides whatever the choice (UTF-8 chosen for a file
// with the UTF-8 mark gives UTF-8 BOM); otherwise the choice, or, for Auto,
// DetectEncoding.
TFileEncoding ChosenEncoding(std::string_view head, TCodingChoice choice);

// The bytes of the byte-order mark that starts a file of this encoding (0
// for the encodings without one).
std::size_t ByteOrderMarkSize(TFileEncoding encoding);
// The bytes of the byte-order mark head starts with; 0 for none.
std::size_t ByteOrderMarkAt(std::string_view head);

// The name the status bar shows: "UTF-8", "UTF-8 BOM", "CP949", "UTF-16 LE",
// "Shift_JIS", "Windows-1251", ...
const char* EncodingName(TFileEncoding encoding);

// True when head is text whatever its blanks: well-formed UTF-8, or
// well-formed CP949, or UTF-32 as detection takes it, or a UTF-32, UTF-16
// or UTF-8 byte-order mark, with no NUL and no control byte other than tab,
// CR, LF, FF and ESC. A character cut by the end of head does not count
// against it.
bool LooksLikeText(std::string_view head);

// True when text is well-formed UTF-8 through its end; when headOnly, a
// sequence cut by the end of text is accepted.
bool IsWellFormedUtf8(std::string_view text, bool headOnly);

} // namespace ov
