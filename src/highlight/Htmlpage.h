#pragma once
// The HTML page of a highlighted document: a style sheet with one class per
// style of every loaded language, and the text with each marked run in a
// span of its class. The document's bytes are written unchanged apart from
// the HTML replacements. The page declares the document's character set:
// utf-8 for a UTF-8 document, euc-kr (the label browsers read as CP949) for
// a CP949 one.

#include "Files.h"
#include "Ovstrings.h"
#include "Ovsynlangstyle.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

class TOVSynHighlighter;
class TOVSynStringList;

// "#RRGGBB" of the red, green and blue bytes in upper-case hexadecimal.
std::string ColorToHtml(TColor color);
// Every occurrence of find replaced, left to right without overlap; an
// empty find leaves text unchanged.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);
// text for the page's text and attribute values: "&", "<", ">", and both
// quotes as entities, every other byte as it is.
std::string HtmlEscape(std::string_view text);
// name as a CSS identifier that selects exactly the class name: letters,
// digits, "_", "-" and bytes of 0x80 or more stay as they are (so the names
// of the shipped definitions read unchanged), every other byte, and a digit
// where an identifier may not begin with one, becomes a CSS escape by its
// code. Distinct names give distinct identifiers.
std::string CssIdentifier(std::string_view name);
// The class of a style: language name + style name, white space and control
// bytes (which would split or break the class attribute) as "_". Written
// into attributes with HtmlEscape and into the style sheet with
// CssIdentifier.
std::string ClassName(std::string_view language, std::string_view styleName);
// One entry per style id, in id order: its ClassName, or empty for a style
// without a name.
void CollectStyleClasses(const TOVSynHighlighter& highlighter, std::vector<std::string>& list);
// Appends the style element (from "<style type='text/css'>" to "</style>"),
// one rule per non-empty class.
void WriteStyleSheet(std::vector<std::string>& out, const std::vector<std::string>& classes,
                     const TOVSynHighlighter& highlighter);

// Receives the page in pieces, in order; false stops the writing (the
// output failed).
using TPageSink = TPieceWriter;
// The page is handed over once at least this many bytes are gathered, so a
// page of any size is written holding one piece (and the longest row).
constexpr std::size_t PageSinkPiece = 64 * 1024;
// The page of a document written row by row as the rows come: the head at
// once, then each row, then the end. The rows' marks need only exist while
// their row is written.
class THtmlPageWriter {
public:
    THtmlPageWriter(const TOVSynHighlighter& highlighter, TTextCoding coding, std::string_view title,
                    TPageSink sink);
    ~THtmlPageWriter();
    THtmlPageWriter(const THtmlPageWriter&) = delete;
    THtmlPageWriter& operator=(const THtmlPageWriter&) = delete;

    // last: the document's last row, which closes the runs left open. False
    // once the sink has refused a piece (nothing more is written).
    bool Row(std::string_view text, const TStyleByte* styles, bool last);
    bool Finish();

private:
    struct TState;
    std::unique_ptr<TState> F;
};

// Writes the page BuildHtmlPage returns, piece by piece as the rows are
// converted. False when the sink refused a piece (nothing more is written).
bool WriteHtmlPage(const TOVSynStringList& lines, const TOVSynHighlighter& highlighter,
                   std::string_view title, const TPageSink& sink);
// Marks lines with highlighter and writes their page, the rows written as the
// scan leaves them final, so that only a few rows' marks are held at once
// (pages of a language with sections of others are marked whole first, as
// their head names the styles of every language found). The marks are not
// kept. The same page as Execute followed by WriteHtmlPage. Touches no
// window (no wait cursor), so that a worker may run it; a sink that refuses
// a piece stops the scan at its next step.
bool MarkAndWriteHtmlPage(TOVSynStringList& lines, TOVSynHighlighter& highlighter,
                          std::string_view title, const TPageSink& sink);
// The whole page, every line ended by CR LF. title is in the coding of the
// document and is written as text (HtmlEscape). Runs still open at the end
// of the document are closed on its last line, so the spans always balance.
std::string BuildHtmlPage(const TOVSynStringList& lines, const TOVSynHighlighter& highlighter,
                          std::string_view title);
// Writes the page to path with WriteFileAtomically as the rows are converted,
// never holding the whole page (an existing file is left whole when writing
// fails). Without a language or without lines there is no
// page: nothing is written and the result is ENODATA. Says why it failed.
TWriteResult SaveAsHtml(const std::string& path, const TOVSynStringList& lines,
                        const TOVSynHighlighter& highlighter, std::string_view title);

} // namespace ov
