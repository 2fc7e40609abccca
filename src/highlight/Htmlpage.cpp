#include "Htmlpage.h"

#include "Files.h"
#include "Ovsynhighlighter.h"

#include <atomic>
#include <cerrno>
#include <memory>
#include <cstdio>

namespace ov {

namespace {

// Runs open at one time; a run that would open beyond this is not opened
// (its bytes get the enclosing run's colours, its end a one-byte span).
constexpr std::size_t MaxOpenRuns = 64;
constexpr std::size_t MaxStyleNameLength = 255;

const std::string& ClassOf(const std::vector<std::string>& classes, int id) {
    static const std::string none;
    return id >= 0 && id < static_cast<int>(classes.size()) ? classes[id] : none;
}

// classes: in their attribute form (HtmlEscape).
void AppendSpan(std::string& html, const std::vector<std::string>& classes, int id) {
    html += "<span class='";
    html += ClassOf(classes, id);
    html += "'>";
}

bool IsIdentifierByte(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || byte == '_' || byte == '-' || byte >= 0x80;
}

// Bytes written as they are (a blank may start a pair of blanks).
bool IsPlain(char c) {
    return c != '<' && c != '>' && c != '&' && c != '\t' && c != ' ';
}

// One document line: marks become spans (the stack of open runs is shared
// by all lines), "<", ">", "&", runs of blanks and tabs become entities.
// Two blanks in a row become "&nbsp;&nbsp;" within the marks of the first;
// when the second carries marks of its own (which taking it along would
// lose, leaving the spans unbalanced) each blank is written with its own.
class TLineWriter {
public:
    explicit TLineWriter(const std::vector<std::string>& classes) : FClasses(classes) {}

    void Line(std::string& html, std::string_view text, const TStyleByte* styles) {
        bool secondBlank = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (styles[i] == 0 && IsPlain(text[i])) {
                std::size_t end = i + 1;
                while (end < text.size() && styles[end] == 0 && IsPlain(text[end]))
                    ++end;
                html.append(text.data() + i, end - i);
                i = end - 1;
                continue;
            }
            const int s = styles[i];
            if (s > 0 && FOpen.size() < MaxOpenRuns) {
                FOpen.push_back(s);
                AppendSpan(html, FClasses, s);
            }
            if (s < 0 && (FOpen.empty() || FOpen.back() != -s))
                AppendSpan(html, FClasses, -s);
            const char c = text[i];
            switch (c) {
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '&':
                html += "&amp;";
                break;
            case '\t':
                html += "&nbsp; ";
                break;
            case ' ':
                if (secondBlank) {
                    html += "&nbsp;";
                    secondBlank = false;
                } else if (i + 1 < text.size() && text[i + 1] == ' ' && styles[i + 1] == 0) {
                    html += "&nbsp;&nbsp;";
                    ++i; // the second blank, unmarked, goes with the first
                } else if (i + 1 < text.size() && text[i + 1] == ' ') {
                    html += "&nbsp;";
                    secondBlank = true;
                } else {
                    html += ' ';
                }
                break;
            default:
                html += c;
            }
            if (s < 0) {
                html += "</span>";
                if (!FOpen.empty() && FOpen.back() == -s)
                    FOpen.pop_back();
            }
        }
    }

    void CloseAll(std::string& html) {
        for (; !FOpen.empty(); FOpen.pop_back())
            html += "</span>";
    }

private:
    const std::vector<std::string>& FClasses;
    std::vector<int> FOpen;
};

} // namespace

std::string ColorToHtml(TColor color) {
    char text[8];
    std::snprintf(text, sizeof(text), "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                  (color >> 16) & 0xFF);
    return text;
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string CssIdentifier(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    // An identifier may not begin with a digit, nor with "-" and a digit,
    // nor be "-" alone.
    const bool lone = name == "-";
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        const bool digit = byte >= '0' && byte <= '9';
        const bool leading = i == 0 || (i == 1 && name[0] == '-');
        if (IsIdentifierByte(byte) && !(digit && leading) && !lone) {
            out += name[i];
            continue;
        }
        // The escape by code (never the character itself after "\"), so that
        // no "<" or quote reaches the style element; the blank ends it.
        char escape[8];
        std::snprintf(escape, sizeof(escape), "\\%X ", byte);
        out += escape;
    }
    return out;
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    if (find.empty())
        return std::string(text);
    std::string result;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(find, start)) != std::string_view::npos;
         start = at + find.size()) {
        result.append(text.substr(start, at - start));
        result.append(replacement);
    }
    result.append(text.substr(start));
    return result;
}

std::string ClassName(std::string_view language, std::string_view styleName) {
    std::string name = std::string(language) + std::string(styleName);
    // A class attribute splits at white space; control bytes have no place
    // in a name either.
    for (char& c : name)
        if (static_cast<unsigned char>(c) <= ' ' || c == '\x7F')
            c = '_';
    return name;
}

void CollectStyleClasses(const TOVSynHighlighter& highlighter, std::vector<std::string>& list) {
    list.clear();
    const std::vector<std::string>& languages = highlighter.Languages();
    for (std::size_t slot = 0; slot < languages.size(); ++slot) {
        for (int index = 0; index < StyleCount; ++index) {
            std::string name =
                highlighter.GetStyleNameOf(static_cast<int>(slot) * StyleCount + index);
            if (name.size() > MaxStyleNameLength)
                name.resize(MaxStyleNameLength);
            list.push_back(name.empty() ? std::string() : ClassName(languages[slot], name));
        }
    }
}

void WriteStyleSheet(std::vector<std::string>& out, const std::vector<std::string>& classes,
                     const TOVSynHighlighter& highlighter) {
    out.push_back("<style type='text/css'>");
    out.push_back("body,p,br {font-family:Courier New; font-size:9pt}");
    for (std::size_t id = 0; id < classes.size(); ++id) {
        if (classes[id].empty())
            continue;
        TStyleColors colors = highlighter.GetStyles(static_cast<int>(id));
        out.push_back("." + CssIdentifier(classes[id]) + " {color:" + ColorToHtml(colors.Fore) +
                      "; background-color:" + ColorToHtml(colors.Back) + "}");
    }
    out.push_back("</style>");
}

struct THtmlPageWriter::TState {
    std::vector<std::string> Classes; // as attribute values (HtmlEscape)
    std::unique_ptr<TLineWriter> Writer;
    std::string Piece;
    TPageSink Sink;
    bool Failed = false;

    bool Flush(bool always) {
        if (Failed || (!always && Piece.size() < PageSinkPiece))
            return !Failed;
        Failed = !Sink(Piece);
        Piece.clear();
        return !Failed;
    }
};

THtmlPageWriter::THtmlPageWriter(const TOVSynHighlighter& highlighter, TTextCoding coding,
                                 std::string_view title, TPageSink sink)
    : F(std::make_unique<TState>()) {
    F->Sink = std::move(sink);
    CollectStyleClasses(highlighter, F->Classes);
    std::vector<std::string> out;
    out.push_back("<html>");
    // The page holds the document's bytes as they are, so it names their
    // coding; a reader outside a Korean locale would guess wrong otherwise.
    // "euc-kr" is the label browsers read as the whole of CP949. The
    // declaration comes first in the head, before any byte of the document.
    const std::string charset = coding == TTextCoding::Utf8 ? "utf-8" : "euc-kr";
    out.push_back("<head>\r\n<meta http-equiv='Content-Type' content='text/html; charset=" +
                  charset + "'>\r\n<title>" + HtmlEscape(title) + "</title>\r\n");
    WriteStyleSheet(out, F->Classes, highlighter);
    for (std::string& name : F->Classes)
        name = HtmlEscape(name);
    out.push_back("</head>");
    out.push_back("<body bgcolor='" + ColorToHtml(highlighter.GetStyles(0).Back) + "'>");
    out.push_back("<div class='" + ClassOf(F->Classes, 0) + "'>");
    F->Piece.reserve(PageSinkPiece + 4096);
    for (const std::string& line : out)
        F->Piece.append(line).append("\r\n");
    F->Writer = std::make_unique<TLineWriter>(F->Classes);
}

THtmlPageWriter::~THtmlPageWriter() = default;

bool THtmlPageWriter::Row(std::string_view text, const TStyleByte* styles, bool last) {
    if (F->Failed)
        return false;
    F->Writer->Line(F->Piece, text, styles);
    if (last)
        F->Writer->CloseAll(F->Piece);
    F->Piece += "<br>\r\n";
    return F->Flush(false);
}

bool THtmlPageWriter::Finish() {
    if (F->Failed)
        return false;
    F->Piece += "</div>\r\n</body>\r\n</html>\r\n";
    return F->Flush(true);
}

bool WriteHtmlPage(const TOVSynStringList& lines, const TOVSynHighlighter& highlighter,
                   std::string_view title, const TPageSink& sink) {
    THtmlPageWriter page(highlighter, lines.Coding(), title, sink);
    const int count = lines.Count();
    std::string shown;
    for (int row = 0; row < count; ++row) {
        if (!page.Row(lines.ShownView(row, shown), lines.RowStyles(row), row == count - 1))
            return false;
    }
    return page.Finish();
}

bool MarkAndWriteHtmlPage(TOVSynStringList& lines, TOVSynHighlighter& highlighter,
                          std::string_view title, const TPageSink& sink) {
    if (highlighter.LangName().empty())
        return false;
    lines.FinishLoading();
    // A page with sections of other languages lists their styles in its head,
    // which the whole scan must have found first.
    if (highlighter.Syntax(0).HTML_LANG) {
        highlighter.ExecuteAway(lines);
        return WriteHtmlPage(lines, highlighter, title, sink);
    }
    THtmlPageWriter page(highlighter, lines.Coding(), title, sink);
    const int count = lines.Count();
    int written = 0;
    std::atomic<bool> failed{false};
    std::string shown;
    auto write = [&](int end) {
        for (; written < end && written < count && !failed.load(); ++written) {
            const TOVSynStringList& rows = lines;
            if (!page.Row(rows.ShownView(written, shown), rows.RowStyles(written), written == count - 1))
                failed.store(true); // the scan stops at its next step
        }
    };
    lines.StreamMarks(write);
    highlighter.SetCancelFlag(&failed);
    struct TRestore {
        TOVSynStringList& Lines;
        TOVSynHighlighter& Highlighter;
        ~TRestore() {
            Highlighter.SetCancelFlag(nullptr);
            Lines.StreamMarks(nullptr);
        }
    } restore{lines, highlighter};
    highlighter.ExecuteAway(lines);
    write(count); // the rows the scan left final at its end
    return !failed.load() && page.Finish();
}

std::string BuildHtmlPage(const TOVSynStringList& lines, const TOVSynHighlighter& highlighter,
                          std::string_view title) {
    std::size_t size = 4096;
    for (int row = 0; row < lines.Count(); ++row)
        size += static_cast<std::size_t>(lines.GetLength(row)) * 2 + 8;
    std::string page;
    page.reserve(size);
    WriteHtmlPage(lines, highlighter, title, [&page](std::string_view piece) {
        page.append(piece);
        return true;
    });
    return page;
}

TWriteResult SaveAsHtml(const std::string& path, const TOVSynStringList& lines,
                        const TOVSynHighlighter& highlighter, std::string_view title) {
    if (highlighter.LangName().empty() || lines.Count() == 0)
        return {ENODATA};
    return WriteFileAtomically(path, [&](const TPieceWriter& write) {
        return WriteHtmlPage(lines, highlighter, title, write);
    });
}

} // namespace ov
