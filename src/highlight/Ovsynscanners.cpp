// The scanners of plain languages: text, strings and block comments.

#include "Ovsynhighlighter.h"
#include "Scanrows.h"

namespace ov {

using scan::StartsWithText;

namespace {

constexpr int WordBufferSize = 256;
constexpr int StringWordBufferSize = 128;

// Length of the run at text (limit bytes left in the row) that goes on over
// bytes that do not end a word; the run's first byte always counts.
int RunLength(const TOVSynLangSyntax& syntax, const char* text, int limit) {
    int n = 1;
    while (n < limit && !syntax.EndsWord(static_cast<unsigned char>(text[n])))
        ++n;
    return n;
}

bool HasWordsInside(const TOVSynLangSyntax& syntax, int kind) {
    for (int i = 0; i < MaxItemCount; ++i) {
        const TOVSynItem& item = syntax.GetItems(i);
        if (item.Words && (kind == 1 ? item.PriorStr1 : item.PriorStr2))
            return true;
    }
    return false;
}

} // namespace

// Rule order matters where rules overlap: the end text wins over everything,
// comment openers over quotes, quotes over delimiters.
void TOVSynHighlighter::ParseText(std::string_view name, std::string_view endText, TScanPos& pos) {
    int slot = SlotOf(name);
    if (slot < 0 || !FLines)
        return;
    const TFrame frame(*this, {TScanFrame::TKind::Text, std::int8_t(slot), std::int8_t(SectionOf(endText))});
    TOVSynStringList& lines = *FLines;
    const TOVSynLangSyntax& syntax = *FSyntaxes[slot];
    const int base = slot * StyleCount;
    const scan::TBounds bounds(lines, FLastRow, FCancel);
    scan::TRow row(*this);
    auto lookUp = [&](const char* text, int length) {
        return syntax.GetStyleIDOf(std::string_view(text, length), TWordContext::Text);
    };
    if (frame.Resuming()) {
        // Inside a comment or string that began on an earlier row.
        if (const TScanFrame* inner = NextToResume()) {
            if (inner->Kind == TScanFrame::TKind::Comment)
                ParseBlockComment(inner->Slot, CloserText(inner->Slot, inner->Variant), pos);
            else
                ParseString(inner->Slot, inner->Variant, pos);
            ++pos.Col;
        }
    }

    while (bounds.Contains(pos)) {
        if (!row.Enter(lines, pos))
            continue;
        const char* p = row.Text + pos.Col;
        const unsigned char b = static_cast<unsigned char>(*p);
        if (b == ' ' || b == '\t') {
            ++pos.Col;
            continue;
        }
        if (!endText.empty() && row.Rest(pos.Col).starts_with(endText)) {
            pos.Col += static_cast<int>(endText.size());
            return;
        }
        if (syntax.MayOpenConstruct(b)) {
            std::string_view rest = row.Rest(pos.Col);
            if (StartsWithText(rest, syntax.BlockComment1S) ||
                StartsWithText(rest, syntax.BlockComment2S)) {
                bool first = StartsWithText(rest, syntax.BlockComment1S);
                ParseBlockComment(slot, first ? syntax.BlockComment1E : syntax.BlockComment2E, pos);
                ++pos.Col;
                continue;
            }
            if (StartsWithText(rest, syntax.LineComment1) ||
                StartsWithText(rest, syntax.LineComment2)) {
                row.MarkRun(pos.Col, row.Length - pos.Col, base + StyleComment);
                pos.Col = row.Length;
                continue;
            }
            if (b == static_cast<unsigned char>(syntax.StringChar1) ||
                b == static_cast<unsigned char>(syntax.StringChar2)) {
                ParseString(slot, b == static_cast<unsigned char>(syntax.StringChar1) ? 1 : 2, pos);
                ++pos.Col;
                continue;
            }
        }
        const int n = RunLength(syntax, p, row.Length - pos.Col);
        if (syntax.IsDelimiter(b)) {
            if (n > 1 && n < WordBufferSize) {
                if (int x = lookUp(p, n)) {
                    row.MarkRun(pos.Col, n, base + x);
                    pos.Col += n;
                    continue;
                }
            }
            if (int x = lookUp(p, 1))
                row.Mark(pos.Col, -(base + x));
            ++pos.Col;
            continue;
        }
        if (n < WordBufferSize) {
            if (b >= '0' && b <= '9')
                row.MarkRun(pos.Col, n, base + StyleNumber);
            else if (int x = lookUp(p, n))
                row.MarkRun(pos.Col, n, base + x);
        }
        pos.Col += n;
    }
}

void TOVSynHighlighter::ParseString(int slot, int kind, TScanPos& pos) {
    if (!FLines || slot < 0 || slot >= static_cast<int>(FSyntaxes.size()) || pos.Row < 0 ||
        pos.Row >= FLines->Count())
        return;
    TOVSynStringList& lines = *FLines;
    const TOVSynLangSyntax& syntax = *FSyntaxes[slot];
    const char quote = kind == 1 ? syntax.StringChar1 : syntax.StringChar2;
    const char escape = kind == 1 ? syntax.EscapeChar1 : syntax.EscapeChar2;
    const int style = slot * StyleCount + (kind == 1 ? StyleString1 : StyleString2);
    const TWordContext context = kind == 1 ? TWordContext::String1 : TWordContext::String2;
    const bool wordsInside = HasWordsInside(syntax, kind);
    const scan::TBounds bounds(lines, FLastRow, FCancel);
    scan::TRow row(*this);
    const TFrame frame(*this, {TScanFrame::TKind::String, std::int8_t(slot), std::int8_t(kind == 1 ? 1 : 2)});

    if (!frame.Resuming()) {
        row.Load(lines, pos.Row);
        row.Mark(pos.Col, style);
        ++pos.Col;
    }
    while (bounds.Contains(pos)) {
        row.Load(lines, pos.Row);
        if (pos.Col >= row.Length) {
            pos.Col = row.Length;
            if (escape != 0 && pos.Col > 0 && row.Text[pos.Col - 1] == escape) {
                ++pos.Row;
                pos.Col = 0;
                continue;
            }
            if (pos.Col > 0) {
                --pos.Col;
                row.Mark(pos.Col, -style);
            } else if (pos.Row > 0 && lines.RowLength(pos.Row - 1) > 0) {
                // An empty row reached through a continuation: the string
                // ends on the escape that continued it.
                --pos.Row;
                pos.Col = lines.RowLength(pos.Row) - 1;
                lines.RowStyles(pos.Row)[pos.Col] = static_cast<TStyleByte>(-style);
            }
            return;
        }
        const char b = row.Text[pos.Col];
        if (escape != 0 && b == escape && pos.Col + 1 < row.Length) {
            pos.Col += 2;
            continue;
        }
        if (b == quote) {
            row.Mark(pos.Col, -style);
            return;
        }
        if (!wordsInside || syntax.EndsWord(static_cast<unsigned char>(b))) {
            ++pos.Col;
            continue;
        }
        const int n = RunLength(syntax, row.Text + pos.Col, row.Length - pos.Col);
        if (n < StringWordBufferSize) {
            std::string_view word(row.Text + pos.Col, n);
            if (int x = syntax.GetStyleIDOf(word, context))
                row.MarkRun(pos.Col, n, slot * StyleCount + x);
        }
        pos.Col += n;
    }
}

// A closer of its own is searched from the opener's first byte on, so the
// two may overlap. An empty closer runs the comment to the end of the
// document (a search for it would succeed before the opener and never move).
void TOVSynHighlighter::ParseBlockComment(int slot, std::string_view closer, TScanPos& pos) {
    if (!FLines || slot < 0 || slot >= static_cast<int>(FSyntaxes.size()) || pos.Row < 0 ||
        pos.Row >= FLines->Count())
        return;
    TOVSynStringList& lines = *FLines;
    const int style = slot * StyleCount + StyleComment;
    scan::TRow row(*this);
    const TFrame frame(*this, {TScanFrame::TKind::Comment, std::int8_t(slot), std::int8_t(CloserOf(slot, closer))});
    row.Load(lines, pos.Row);
    if (!frame.Resuming())
        row.Mark(pos.Col, style);
    const scan::TBounds bounds(lines, FLastRow, FCancel);
    const int last = bounds.LastRow();
    if (!closer.empty()) {
        while (bounds.ContainsRow(pos.Row)) {
            row.Load(lines, pos.Row);
            std::size_t found =
                std::string_view(row.Text, row.Length).find(closer, std::size_t(pos.Col));
            if (found != std::string_view::npos) {
                pos.Col = static_cast<int>(found + closer.size() - 1);
                row.Mark(pos.Col, -style);
                return;
            }
            ++pos.Row;
            pos.Col = 0;
        }
    }
    if (last < lines.Count() - 1) {
        // Rows after the last one to scan are not looked at: the comment may
        // still end in one of them.
        pos.Row = last + 1;
        pos.Col = 0;
        return;
    }
    row.Load(lines, last);
    if (row.Length > 0)
        row.Mark(row.Length - 1, -style);
    pos.Row = lines.Count();
    pos.Col = 0;
}

} // namespace ov
