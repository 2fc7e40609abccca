// The scanner of HTML pages: tags, attributes, comments and entities in the
// styles of the "HTML" language, script and style sections in "JS" and "CSS",
// and the code sections of a language that embeds HTML in its own.

#include "Ovsynhighlighter.h"
#include "Scanrows.h"

namespace ov {

using scan::StartsWithIgnoringCase;

namespace {

// Tags, entities and attribute names of this length or more are not looked up.
constexpr int LookupBufferSize = 256;

struct TEmbeddedLanguage {
    std::string_view Opener; // compared ignoring ASCII case
    const char* Language;
    std::string_view EndText; // compared byte-exact
};

constexpr TEmbeddedLanguage EmbeddedLanguages[] = {
    {"<script", "JS", "</script>"},
    {"<style", "CSS", "</style>"},
};

// Length of the run at text (limit bytes left in the row) up to (not
// including) the row's end, a blank, or one of the stop bytes.
int RunUntil(const char* text, int limit, char stop1, char stop2 = ' ') {
    int n = 0;
    while (n < limit && text[n] != ' ' && text[n] != stop1 && text[n] != stop2)
        ++n;
    return n;
}

// Where a run that starts inside an earlier run of the same row ends: the
// same place. Remembering it keeps rows full of "<", "</" or "&" without
// their closing byte linear instead of quadratic.
class TRunEnds {
public:
    template <typename TMeasure> int EndOf(int row, int col, TMeasure measure) {
        if (row != FRow || col < FFrom || col > FEnd) {
            FRow = row;
            FFrom = col;
            FEnd = col + measure();
        }
        return FEnd;
    }

private:
    int FRow = -1;
    int FFrom = 0;
    int FEnd = -1;
};

} // namespace

// Sections: 1 the page's own code, 2 + i the embedded language i.
int TOVSynHighlighter::SectionOf(std::string_view endText) const {
    if (endText.empty())
        return 0;
    if (!FSyntaxes.empty() && endText == FSyntaxes[0]->LangBraceE)
        return 1;
    for (std::size_t i = 0; i < std::size(EmbeddedLanguages); ++i) {
        if (endText == EmbeddedLanguages[i].EndText)
            return 2 + static_cast<int>(i);
    }
    return 0;
}

std::string_view TOVSynHighlighter::SectionEnd(int section) const {
    if (section == 1 && !FSyntaxes.empty())
        return FSyntaxes[0]->LangBraceE;
    if (section >= 2 && section - 2 < static_cast<int>(std::size(EmbeddedLanguages)))
        return EmbeddedLanguages[std::size_t(section - 2)].EndText;
    return {};
}

void TOVSynHighlighter::ParseHTML(std::string_view name, TScanPos& pos) {
    const int h = SlotOf("HTML");
    if (h < 0 || !FLines)
        return;
    const TFrame frame(*this, {TScanFrame::TKind::Page, std::int8_t(h), 0});
    TOVSynStringList& lines = *FLines;
    const TOVSynLangSyntax& html = *FSyntaxes[h];
    const TOVSynLangSyntax& own = *FSyntaxes[0];
    const int base = h * StyleCount;
    const scan::TBounds bounds(lines, FLastRow, FCancel);
    scan::TRow row(*this);
    TRunEnds closingBrackets, tagEnds, entityEnds;
    auto lookUp = [&](const char* text, int length) {
        if (length >= LookupBufferSize)
            return 0;
        return html.GetStyleIDOf(std::string_view(text, length), TWordContext::Text);
    };
    // A section scanner that cannot move (its language could not be added)
    // must not stall the page.
    auto scanSection = [&](std::string_view language, std::string_view endText) {
        const TScanPos before = pos;
        ParseText(language, endText, pos);
        if (pos.Row == before.Row && pos.Col == before.Col)
            ++pos.Col;
    };

    if (frame.Resuming()) {
        // Inside a section, a comment or a tag that began on an earlier row.
        if (const TScanFrame* inner = NextToResume()) {
            switch (inner->Kind) {
            case TScanFrame::TKind::Text:
                if (inner->Slot >= 0 && inner->Slot < static_cast<int>(FLanguages.size()))
                    scanSection(FLanguages[std::size_t(inner->Slot)], SectionEnd(inner->Variant));
                break;
            case TScanFrame::TKind::Comment:
                ParseBlockComment(h, "-->", pos);
                ++pos.Col;
                break;
            case TScanFrame::TKind::Tag:
                ScanOpeningTag(h, pos, 0);
                break;
            default:
                break;
            }
        }
    }

    while (bounds.Contains(pos)) {
        if (!row.Enter(lines, pos))
            continue;
        const char* p = row.Text + pos.Col;
        const std::string_view rest = row.Rest(pos.Col);
        const char b = *p;
        if (b == ' ' || b == '\t') {
            ++pos.Col;
            continue;
        }
        if (h != 0 && StartsWithIgnoringCase(rest, own.LangBraceS)) {
            scanSection(name, own.LangBraceE);
            continue;
        }
        if (b == '<') {
            bool embedded = false;
            for (const TEmbeddedLanguage& section : EmbeddedLanguages) {
                if (StartsWithIgnoringCase(rest, section.Opener)) {
                    AddLang(section.Language);
                    scanSection(section.Language, section.EndText);
                    embedded = true;
                    break;
                }
            }
            if (embedded)
                continue;
            if (rest.starts_with("<!--")) {
                ParseBlockComment(h, "-->", pos);
                ++pos.Col;
                continue;
            }
            if (rest.size() > 1 && p[1] == '/') {
                const int close = closingBrackets.EndOf(pos.Row, pos.Col, [&] {
                    std::size_t at = rest.find('>');
                    return static_cast<int>(at == std::string_view::npos ? rest.size() : at);
                });
                if (close >= row.Length) {
                    ++pos.Col;
                    continue;
                }
                const int n = close - pos.Col;
                if (int x = lookUp(p, n + 1)) {
                    row.Mark(pos.Col, base + x);
                    row.Mark(pos.Col + n, -(base + x));
                    pos.Col += n + 1;
                } else {
                    row.Mark(pos.Col, -base);
                    row.Mark(pos.Col + n, -base);
                    ++pos.Col;
                }
                continue;
            }
            ScanOpeningTag(h, pos, tagEnds.EndOf(pos.Row, pos.Col, [&] {
                return RunUntil(p, row.Length - pos.Col, '>');
            }) - pos.Col);
            continue;
        }
        if (b == '>') {
            row.Mark(pos.Col, -(base + StyleItem0));
            ++pos.Col;
            continue;
        }
        if (b == '&') {
            const int n =
                entityEnds.EndOf(pos.Row, pos.Col, [&] { return RunUntil(p, row.Length - pos.Col, ';'); }) - pos.Col;
            const TOVSynItem& entities = html.GetItems(2);
            if (p[n] == ';' && entities.Words && n + 1 < LookupBufferSize &&
                entities.Words->IndexOf(std::string_view(p, n + 1)) >= 0) {
                row.MarkRun(pos.Col, n + 1, base + StyleItem0 + 2);
                pos.Col += n + 1;
            } else {
                ++pos.Col;
            }
            continue;
        }
        ++pos.Col;
    }
}

// An opening tag: "<name" in the tag style when listed, then its
// attributes (names, quoted and unquoted values), which may run over rows.
// n is the length of "<name". Returns on the ">" that ends the tag, which
// the page scan then marks.
void TOVSynHighlighter::ScanOpeningTag(int h, TScanPos& pos, int n) {
    TOVSynStringList& lines = *FLines;
    const TOVSynLangSyntax& html = *FSyntaxes[h];
    const int base = h * StyleCount;
    const int tagStyle = base + StyleItem0;
    scan::TRow row(*this);
    TFrame frame(*this, {TScanFrame::TKind::Tag, std::int8_t(h), 0});
    if (frame.Resuming()) {
        ScanAttributes(h, pos, frame);
        return;
    }
    row.Load(lines, pos.Row);
    const char* p = row.Text + pos.Col;
    const int x =
        n < LookupBufferSize ? html.GetStyleIDOf(std::string_view(p, n), TWordContext::Text) : 0;
    if (x == 0) {
        row.Mark(pos.Col, -tagStyle);
        ++pos.Col;
        return;
    }
    row.Mark(pos.Col, tagStyle);
    if (pos.Col + n >= row.Length) {
        row.Mark(pos.Col + n - 1, -tagStyle);
        pos.Col += n;
    } else {
        const bool closed = p[n] == '>';
        row.Mark(pos.Col + n, -tagStyle);
        pos.Col += n + 1;
        if (closed)
            return;
    }
    ScanAttributes(h, pos, frame);
}

// The attributes of an opening tag up to the ">" that ends it; the frame's
// variant tells whether a value comes next.
void TOVSynHighlighter::ScanAttributes(int h, TScanPos& pos, TFrame& frame) {
    TOVSynStringList& lines = *FLines;
    const TOVSynLangSyntax& html = *FSyntaxes[h];
    const int base = h * StyleCount;
    scan::TRow row(*this);
    bool valueNext = frame.Variant() != 0;
    auto setValueNext = [&](bool value) {
        valueNext = value;
        frame.SetVariant(value ? 1 : 0);
    };
    if (frame.Resuming()) {
        // Inside an attribute's quoted value that began on an earlier row.
        if (const TScanFrame* inner = NextToResume(); inner && inner->Kind == TScanFrame::TKind::String) {
            ParseString(h, inner->Variant, pos);
            ++pos.Col;
            setValueNext(false);
        }
    }
    const scan::TBounds bounds(lines, FLastRow, FCancel);
    while (bounds.ContainsRow(pos.Row)) {
        if (!row.Enter(lines, pos))
            continue;
        const char* at = row.Text + pos.Col;
        const char b = *at;
        if (b == '>')
            return;
        if (b == '"' || b == '\'') {
            ParseString(h, b == '"' ? 1 : 2, pos);
            ++pos.Col;
            setValueNext(false);
            continue;
        }
        if (b == '=') {
            ++pos.Col;
            while (pos.Col < row.Length && row.Text[pos.Col] == ' ')
                ++pos.Col;
            setValueNext(true);
            continue;
        }
        if (b == ' ') {
            ++pos.Col;
            setValueNext(false);
            continue;
        }
        const int length = RunUntil(at, row.Length - pos.Col, '=', '>');
        if (valueNext) {
            row.MarkRun(pos.Col, length, base + StyleHTMLValue);
        } else if (length < LookupBufferSize) {
            if (int attribute = html.GetStyleIDOf(std::string_view(at, length), TWordContext::Text))
                row.MarkRun(pos.Col, length, base + attribute);
        }
        pos.Col += length;
        setValueNext(false);
    }
}

} // namespace ov
