#pragma once
// The encodings of viewed files and how a file's first bytes tell them
// apart. Loading itself is TOVStringList::LoadViewedFile; this unit only
// looks at bytes.
//
// Detection, in this order:
// - EF BB BF: UTF-8 with a byte-order mark; FF FE: UTF-16 little-endian;
//   FE FF: UTF-16 big-endian.
// - Text without a mark is UTF-8 when its head (the first DetectionBytes) is
//   well-formed UTF-8 holding at least one multi-byte sequence. A sequence
//   cut by the end of the head does not count against it. So is text with
//   a few stray bytes among many three- and four-byte sequences (damaged
//   UTF-8: CP949 Korean breaks UTF-8 at nearly every syllable).
// - Text that is well-formed UTF-8 but holds only two-byte sequences may
//   just as well be CP949 Korean (a Hangul syllable with a lead byte of
//   C2-C8 and a trail byte of A1-BF is also a two-byte UTF-8 sequence); it
//   is read the way that gives the more plausible characters.
// - Everything else, pure ASCII included, is CP949.

#include <cstddef>
#include <string_view>

namespace ov {

enum class TFileEncoding { Cp949, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// The encoding a user may impose on 8-bit text; Auto detects.
enum class TCodingChoice { Auto, Cp949, Utf8 };

// How much of a file detection reads.
constexpr std::size_t DetectionBytes = 1 << 20;

// head: the file's first bytes (up to DetectionBytes; fewer for a shorter
// file).
TFileEncoding DetectEncoding(std::string_view head);

// The bytes of the byte-order mark that starts a file of this encoding (0
// for CP949 and UTF-8 without a mark).
std::size_t ByteOrderMarkSize(TFileEncoding encoding);

// The name the status bar shows: "UTF-8", "UTF-8 BOM", "CP949", "UTF-16 LE",
// "UTF-16 BE".
const char* EncodingName(TFileEncoding encoding);

// True when head is text whatever its blanks: well-formed UTF-8, or
// well-formed CP949, or a UTF-16 or UTF-8 byte-order mark, with no NUL and
// no control byte other than tab, CR, LF, FF and ESC. A character cut by the
// end of head does not count against it.
bool LooksLikeText(std::string_view head);

// True when text is well-formed UTF-8 through its end; when headOnly, a
// sequence cut by the end of text is accepted.
bool IsWellFormedUtf8(std::string_view text, bool headOnly);

} // namespace ov
