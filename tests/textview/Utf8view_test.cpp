// A text whose characters exist in both codings must behave the same in its
// UTF-8 and its CP949 form: the same rows, the same character under every
// point, the same highlighting and the same pixels; characters that CP949
// lacks are drawn with the outline font in their own cells.

#include "Codeconv.h"
#include "Codepage.h"
#include "Viewertestsupport.h"

#include <gtest/gtest.h>

#include <random>

namespace ov {
namespace {

using test::CellIs;
using test::TViewerFixture;

const TColor StringText = RGBColor(200, 0, 0);
const TColor StringBack = RGBColor(255, 255, 0);

// Random lines of ASCII, tabs, Hangul, Hanja and CP949 symbols, in UTF-8.
std::string RandomUtf8Text(std::mt19937& random) {
    static const std::vector<std::string> pieces = {
        "a", "Z", " ", "  ", "\t", "\"", "1", "//", "한", "글", "텍", "스", "트", "똠", "햏",
        "中", "文", "·", "※", "①", "α", "ア", "\n"};
    std::string text;
    const int count = std::uniform_int_distribution<int>(20, 200)(random);
    for (int k = 0; k < count; ++k)
        text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    return text;
}

// The character index of byte column of line, in the line's coding.
int CharIndex(const TOVSynTextViewer& viewer, int line, int column) {
    const std::string_view text = viewer.Lines().GetView(line);
    int index = 0;
    for (std::size_t p = 0; p < std::size_t(column) && p < text.size();
         p = viewer.Coding().NextChar(text, p))
        ++index;
    return index + std::max(0, column - int(text.size()));
}

// The byte column of character index of line.
int ByteColumn(const TOVSynTextViewer& viewer, int line, int index) {
    const std::string_view text = viewer.Lines().GetView(line);
    std::size_t p = 0;
    for (; index > 0 && p < text.size(); --index)
        p = viewer.Coding().NextChar(text, p);
    return int(p);
}

// Strings from one '"' to the next on a line: the same construct whatever
// the coding, since the marker walks bytes the way the scanners do.
void MarkStrings(TOVSynStringList& lines) {
    for (int line = 0; line < lines.Count(); ++line) {
        const std::string_view text = lines.GetView(line);
        for (std::size_t open = text.find('"'); open != std::string_view::npos;) {
            const std::size_t close = text.find('"', open + 1);
            if (close == std::string_view::npos)
                break;
            lines.SetStyleID(line, int(open), StyleString1);
            lines.SetStyleID(line, int(close), TStyleByte(-StyleString1));
            open = text.find('"', close + 1);
        }
    }
}

class TCodedViewer : public TViewerFixture {
public:
    TCodedViewer(TTextCoding coding, const std::string& text, int width) {
        Highlighter->Colors[StyleString1] = {StringText, StringBack};
        Highlighter->Marker = MarkStrings;
        SetClientSize(width, HeightForRows(40));
        Viewer->SetWordWrap(true);
        Viewer->Lines().SetCoding(coding);
        SetText(text);
        Viewer->SetSynLang("C");
    }
};

TEST(Utf8View, SameTextInBothCodingsWrapsHitsHighlightsAndDrawsAlike) {
    std::mt19937 random(11);
    for (int round = 0; round < 12; ++round) {
        const std::string utf8 = RandomUtf8Text(random);
        const std::string cp949 = AnsiFromUtf8(utf8);
        ASSERT_EQ(Utf8FromAnsi(cp949), utf8);
        const int width = std::uniform_int_distribution<int>(60, 300)(random);
        TCodedViewer u(TTextCoding::Utf8, utf8, width);
        TCodedViewer c(TTextCoding::Cp949, cp949, width);
        TOVSynTextViewer& a = *u.Viewer;
        TOVSynTextViewer& b = *c.Viewer;
        ASSERT_EQ(a.TextCoding(), TTextCoding::Utf8);
        ASSERT_EQ(a.RowCount(), b.RowCount()) << utf8;
        for (int row = 0; row < a.RowCount(); ++row) {
            const TRowSpan sa = a.RowSpan(row), sb = b.RowSpan(row);
            ASSERT_EQ(sa.Line, sb.Line);
            ASSERT_EQ(CharIndex(a, sa.Line, sa.Start), CharIndex(b, sb.Line, sb.Start)) << row;
            // Copying: the row's text as Unicode.
            EXPECT_EQ(a.Coding().ToUtf8(a.Lines().GetView(sa.Line).substr(sa.Start, sa.Length)),
                      b.Coding().ToUtf8(b.Lines().GetView(sb.Line).substr(sb.Start, sb.Length)));
        }
        // Every point of the first rows names the same character.
        const int pitch = a.LineHeight() + a.LineSpace();
        for (int row = 0; row < std::min(a.RowCount(), 6); ++row)
            for (int x = 0; x < width + 20; x += 3) {
                const int y = a.TopMargin() + row * pitch + 2;
                const TTextPoint pa = a.GetCharLocationAt(x, y, true);
                const TTextPoint pb = b.GetCharLocationAt(x, y, true);
                ASSERT_EQ(pa.Y, pb.Y) << x << "," << y;
                if (pa.Y >= 0) {
                    ASSERT_EQ(CharIndex(a, pa.Y, pa.X), CharIndex(b, pb.Y, pb.X)) << x << "," << y;
                }
            }
        // The same selection by characters paints the same pixels, strings
        // highlighted, Korean in the same bitmap cells.
        const int lastLine = a.Lines().Count() - 1;
        const int from = std::min(3, int(a.Lines().GetLength(0)));
        a.SetSelStart({ByteColumn(a, 0, from), 0});
        b.SetSelStart({ByteColumn(b, 0, from), 0});
        a.SetSelEnd({ByteColumn(a, lastLine, 2), lastLine});
        b.SetSelEnd({ByteColumn(b, lastLine, 2), lastLine});
        ASSERT_EQ(a.BackBuffer(), b.BackBuffer()) << utf8;
        // And copies the same Unicode text.
        EXPECT_EQ(a.GetSelUnicode(), b.GetSelUnicode());
        EXPECT_EQ(a.IsSelection(), b.IsSelection());
    }
}

// Hangul written as conjoining jamo (as macOS writes it) shows, wraps, hits
// and paints as the composed syllables, in the bitmap and the outline font,
// while a selection copies the jamo the line holds.
TEST(Utf8View, DecomposedHangulShowsAsComposedSyllables) {
    std::mt19937 random(25);
    for (bool bitmap : {true, false})
        for (int round = 0; round < 4; ++round) {
            const std::string composed = RandomUtf8Text(random) + "\n한글 각 값 똠";
            const std::string decomposed = HangulForm(composed, false);
            ASSERT_NE(decomposed, composed);
            const int width = std::uniform_int_distribution<int>(60, 300)(random);
            TCodedViewer u(TTextCoding::Utf8, decomposed, width);
            TCodedViewer c(TTextCoding::Utf8, composed, width);
            TOVSynTextViewer& a = *u.Viewer;
            TOVSynTextViewer& b = *c.Viewer;
            a.SetUseBitmapFont(bitmap);
            b.SetUseBitmapFont(bitmap);
            ASSERT_EQ(a.RowCount(), b.RowCount()) << composed;
            const int pitch = a.LineHeight() + a.LineSpace();
            for (int row = 0; row < std::min(a.RowCount(), 6); ++row)
                for (int x = 0; x < width + 20; x += 3) {
                    const int y = a.TopMargin() + row * pitch + 2;
                    const TTextPoint pa = a.GetCharLocationAt(x, y, true);
                    const TTextPoint pb = b.GetCharLocationAt(x, y, true);
                    ASSERT_EQ(pa.Y, pb.Y) << x << "," << y;
                    if (pa.Y >= 0) {
                        ASSERT_EQ(CharIndex(a, pa.Y, pa.X), CharIndex(b, pb.Y, pb.X)) << x << "," << y;
                    }
                }
            const int lastLine = a.Lines().Count() - 1;
            a.SetSelStart({ByteColumn(a, 0, 2), 0});
            b.SetSelStart({ByteColumn(b, 0, 2), 0});
            a.SetSelEnd({ByteColumn(a, lastLine, 2), lastLine});
            b.SetSelEnd({ByteColumn(b, lastLine, 2), lastLine});
            ASSERT_EQ(a.BackBuffer(), b.BackBuffer()) << composed << bitmap;
            const std::string copied = a.GetSelUnicode().toStdString();
            EXPECT_EQ(copied, HangulForm(b.GetSelUnicode().toStdString(), false));
            EXPECT_NE(decomposed.find(copied), std::string::npos);
        }
}

// 한 of a UTF-8 document is drawn with the glyph of its CP949 code; é and an
// emoji, which CP949 lacks, are drawn with the outline font into one and two
// cells; a byte that forms no character shows U+FFFD in one cell; nothing
// after them moves.
TEST(Utf8View, CharactersWithoutACp949CodeTakeTheirOwnCells) {
    TViewerFixture fixture;
    fixture.SetClientSize(400, fixture.HeightForRows(3));
    TOVSynTextViewer& viewer = *fixture.Viewer;
    viewer.Lines().SetCoding(TTextCoding::Utf8);
    fixture.SetText("\xED\x95\x9C" "a\xC3\xA9" "b\xF0\x9F\x98\x80" "c\xFF" "d");
    const int x = viewer.GetGutterWidth();
    const int y = viewer.TopMargin();
    const QRgb text = RgbFromColor(viewer.ForeColor()) | 0xFF000000u;
    const QRgb back = RgbFromColor(viewer.BackColor()) | 0xFF000000u;
    const QImage& image = viewer.BackBuffer();
    uint16_t han = Cp949CodeOf(U'\uD55C');
    ASSERT_EQ(han, 0xC7D1);
    ConvertCode(han);
    EXPECT_TRUE(CellIs(image, x, y, uint8_t(han >> 8), uint8_t(han), text, back));
    EXPECT_TRUE(CellIs(image, x + 16, y, 'a', 0, text, back));
    EXPECT_TRUE(CellIs(image, x + 32, y, 'b', 0, text, back));
    EXPECT_TRUE(CellIs(image, x + 56, y, 'c', 0, text, back));
    EXPECT_TRUE(CellIs(image, x + 72, y, 'd', 0, text, back));
    // The outline cells hold ink and background, unlike any bitmap cell of
    // the never-loaded fonts (a solid block).
    auto inkIn = [&](int left, int right) {
        int ink = 0, paper = 0;
        for (int py = y; py < y + BmpCellHeight; ++py)
            for (int px = left; px < right; ++px)
                (image.pixel(px, py) | 0xFF000000u) == back ? ++paper : ++ink;
        return ink > 0 && paper > 0;
    };
    EXPECT_TRUE(inkIn(x + 24, x + 32)); // é
    EXPECT_TRUE(inkIn(x + 40, x + 56)); // U+1F600
    EXPECT_TRUE(inkIn(x + 64, x + 72)); // U+FFFD for the byte FF
    // Bytes: 한 0-2, a 3, é 4-5, b 6, the emoji 7-10, c 11, FF 12, d 13.
    EXPECT_EQ(viewer.GetCharLocationAt(x + 28, y + 2, true), (TTextPoint{4, 0}));
    EXPECT_EQ(viewer.GetCharLocationAt(x + 44, y + 2, true), (TTextPoint{7, 0}));
    EXPECT_EQ(viewer.GetCharLocationAt(x + 52, y + 2, true), (TTextPoint{7, 0}));
    EXPECT_EQ(viewer.GetCharLocationAt(x + 60, y + 2, true), (TTextPoint{11, 0}));
    EXPECT_EQ(viewer.GetCharLocationAt(x + 68, y + 2, true), (TTextPoint{12, 0}));
}

} // namespace
} // namespace ov
