#include "Codeconv.h"
#include "Rowmarks.h"
#include "Viewertestsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace ov {
namespace {

using test::AreaIs;
using test::CellIs;
using test::TViewerFixture;

const TColor NormalText = RGBColor(0, 0, 0);
const TColor NormalBack = RGBColor(255, 255, 240);
const TColor KeywordText = RGBColor(0, 0, 200);
const TColor KeywordBack = RGBColor(255, 255, 0);
const TColor CommentText = RGBColor(0, 128, 0);
const TColor CommentBack = RGBColor(220, 220, 220);
const TColor NumberText = RGBColor(200, 0, 0);
const TColor LineNumText = RGBColor(128, 0, 128);
const TColor LineNumBack = RGBColor(0, 255, 255);

constexpr TStyleByte Keyword = StyleItem0;
constexpr TStyleByte Comment = StyleComment;
constexpr TStyleByte Number = StyleNumber;

class ViewerPaint : public ::testing::Test, public TViewerFixture {
protected:
    void SetUp() override {
        Highlighter->Colors[0] = {NormalText, NormalBack};
        Highlighter->Colors[Keyword] = {KeywordText, KeywordBack};
        Highlighter->Colors[Comment] = {CommentText, CommentBack};
        Highlighter->Colors[Number] = {NumberText, NormalBack};
        Highlighter->Colors[StyleLineNum] = {LineNumText, LineNumBack};
    }
    // Marks a construct of style id over columns first .. last of line.
    static void Mark(TOVSynStringList& lines, int line, int first, int last, TStyleByte id) {
        if (first != last)
            lines.SetStyleID(line, first, id);
        lines.SetStyleID(line, last, TStyleByte(-id));
    }
    QRgb Rgb(TColor color) const { return RgbFromColor(color); }
    int Pitch() const { return Viewer->LineHeight() + Viewer->LineSpace(); }
    int RowTop(int row) const { return Viewer->TopMargin() + (row - Viewer->TopIndex()) * Pitch(); }
    const QImage& Image() const { return Viewer->BackBuffer(); }
};

TEST_F(ViewerPaint, HighlightedLineInStyleColoursWithLineNumbers) {
    SetClientSize(400, HeightForRows(4));
    Highlighter->Marker = [](TOVSynStringList& lines) {
        Mark(lines, 0, 0, 2, Keyword); // int
        Mark(lines, 0, 7, 7, Number);  // 5
        Mark(lines, 0, 10, 13, Comment);
    };
    SetText("int x = 5; // c\n");
    Viewer->SetSynLang("C");
    const std::string text = "int x = 5; // c";
    const int gutter = Viewer->GetGutterWidth();
    ASSERT_EQ(gutter, 2 + 12);
    const int y = RowTop(0);
    for (int column = 0; column < int(text.size()); ++column) {
        TColor textColor = NormalText, backColor = NormalBack;
        if (column <= 2)
            textColor = KeywordText, backColor = KeywordBack;
        else if (column == 7)
            textColor = NumberText;
        else if (column >= 10 && column <= 13)
            textColor = CommentText, backColor = CommentBack;
        EXPECT_TRUE(CellIs(Image(), gutter + 8 * column, y, uint8_t(text[std::size_t(column)]), 0,
                           Rgb(textColor), Rgb(backColor)))
            << "column " << column;
    }
    // The line number: its area in the LineNum background, "1" at x = 2.
    EXPECT_TRUE(CellIs(Image(), 2, y, '1', 0, Rgb(LineNumText), Rgb(LineNumBack)));
    EXPECT_TRUE(AreaIs(Image(), 10, y, 12, y + Pitch(), Rgb(LineNumBack)));
    // The left margin and the line space keep the view's background.
    EXPECT_TRUE(AreaIs(Image(), 12, y, 14, y + Pitch(), Rgb(NormalBack)));
    EXPECT_TRUE(AreaIs(Image(), gutter, y + 16, gutter + 8, y + Pitch(), Rgb(NormalBack)));
}

TEST_F(ViewerPaint, SelectionIsInvertedAndRunsToTheEdgeWhenItContinues) {
    SetClientSize(300, HeightForRows(4));
    SetText("abcdef\nghij\n\nklm\n");
    Viewer->SetSynLang("C");
    Viewer->SetSelStart({4, 0});
    Viewer->SetSelEnd({1, 3});
    const int gutter = Viewer->GetGutterWidth();
    const QRgb selBack = Rgb(NormalText), selText = Rgb(NormalBack);
    int y = RowTop(0);
    EXPECT_TRUE(CellIs(Image(), gutter + 8 * 3, y, 'd', 0, Rgb(NormalText), Rgb(NormalBack)));
    EXPECT_TRUE(CellIs(Image(), gutter + 8 * 4, y, 'e', 0, selText, selBack));
    EXPECT_TRUE(CellIs(Image(), gutter + 8 * 5, y, 'f', 0, selText, selBack));
    // Past the last selected character of a continuing selection: to the edge.
    EXPECT_TRUE(AreaIs(Image(), gutter + 8 * 6, y, 300, y + Pitch(), selBack));
    EXPECT_TRUE(AreaIs(Image(), gutter + 8 * 4, y + 16, gutter + 8 * 6, y + Pitch(), selBack));
    // The empty line is a full-width band.
    y = RowTop(2);
    EXPECT_TRUE(AreaIs(Image(), gutter, y, 300, y + Pitch(), selBack));
    // The last line is selected up to its second character only.
    y = RowTop(3);
    EXPECT_TRUE(CellIs(Image(), gutter + 8, y, 'l', 0, selText, selBack));
    EXPECT_TRUE(CellIs(Image(), gutter + 16, y, 'm', 0, Rgb(NormalText), Rgb(NormalBack)));
    EXPECT_TRUE(AreaIs(Image(), gutter + 24, y, 300, y + Pitch(), Rgb(NormalBack)));
}

TEST_F(ViewerPaint, CommentOpenAboveTheTopRowKeepsItsColours) {
    SetClientSize(300, HeightForRows(3));
    Highlighter->Marker = [](TOVSynStringList& lines) {
        lines.SetStyleID(1, 2, Comment);  // "/*" on line 1
        lines.SetStyleID(4, 1, -Comment); // "*/" on line 4
    };
    SetText("a\nb /*\nccc\nddd\n*/ e\nf\ng\n");
    Viewer->SetSynLang("C");
    Viewer->SetTopIndex(3);
    const int gutter = Viewer->GetGutterWidth();
    EXPECT_TRUE(CellIs(Image(), gutter, RowTop(3), 'd', 0, Rgb(CommentText), Rgb(CommentBack)));
    EXPECT_TRUE(CellIs(Image(), gutter + 8, RowTop(4), '/', 0, Rgb(CommentText), Rgb(CommentBack)));
    EXPECT_TRUE(CellIs(Image(), gutter + 24, RowTop(4), 'e', 0, Rgb(NormalText), Rgb(NormalBack)));
    EXPECT_EQ(Viewer->GetLastStyle(2), Comment);
    EXPECT_EQ(Viewer->GetLastStyle(4), 0);
}

TEST_F(ViewerPaint, TabsDoubleByteCellsAndALoneLeadByte) {
    SetClientSize(400, HeightForRows(3));
    SetText("\tX\n\xB0\xA1Y\nZ\xB0\n");
    const int gutter = Viewer->GetGutterWidth();
    const QRgb text = Rgb(Viewer->ForeColor()), back = Rgb(Viewer->BackColor());
    EXPECT_TRUE(CellIs(Image(), gutter + 32, RowTop(0), 'X', 0, text, back));
    uint16_t ga = 0xB0A1;
    ConvertCode(ga);
    EXPECT_TRUE(CellIs(Image(), gutter, RowTop(1), uint8_t(ga >> 8), uint8_t(ga), text, back));
    EXPECT_TRUE(CellIs(Image(), gutter + 16, RowTop(1), 'Y', 0, text, back));
    // The lead byte at the end pairs with a space.
    uint16_t lone = 0xB020;
    ConvertCode(lone);
    EXPECT_TRUE(
        CellIs(Image(), gutter + 8, RowTop(2), uint8_t(lone >> 8), uint8_t(lone), text, back));
}

// The other pixel tests draw every glyph as the same block; with an English
// font whose glyphs all differ, each cell must show its own character: the
// bytes of the text, spaces for a tab, the digits of the row number.
TEST_F(ViewerPaint, SingleByteCellsShowTheirOwnGlyphs) {
    std::string font(256 * 16, '\0');
    for (int byte = 0; byte < 256; ++byte)
        for (int row = 0; row < 16; ++row)
            font[std::size_t(byte * 16 + row)] = char(byte ^ (row * 0x11));
    ASSERT_TRUE(LoadEngFont(Folder.Write("distinct.eng", font)));
    TBmpGlyph glyphA, glyphB;
    GetBmpGlyph('a', 0, glyphA);
    GetBmpGlyph('b', 0, glyphB);
    ASSERT_NE(glyphA, glyphB);
    SetClientSize(400, HeightForRows(12));
    SetText("ab\tc\n\n\n\n\n\n\n\n\n\nxyz\n");
    Viewer->SetTopIndex(1);
    const int gutter = Viewer->GetGutterWidth();
    const QRgb text = Rgb(Viewer->ForeColor()), back = Rgb(Viewer->BackColor());
    const int y = RowTop(10);
    EXPECT_TRUE(CellIs(Image(), gutter, y, 'x', 0, text, back));
    EXPECT_TRUE(CellIs(Image(), gutter + 8, y, 'y', 0, text, back));
    EXPECT_FALSE(CellIs(Image(), gutter + 8, y, 'x', 0, text, back));
    const QRgb numText = Rgb(Viewer->LineNumColor()), numBack = Rgb(Viewer->LineNumBackColor());
    EXPECT_TRUE(CellIs(Image(), 2, y, '1', 0, numText, numBack));
    EXPECT_TRUE(CellIs(Image(), 10, y, '1', 0, numText, numBack));
    // Back to the first row, moved in by the partial repaint.
    Viewer->SetTopIndex(0);
    EXPECT_TRUE(CellIs(Image(), gutter, RowTop(0), 'a', 0, text, back));
    EXPECT_TRUE(CellIs(Image(), gutter + 8, RowTop(0), 'b', 0, text, back));
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(CellIs(Image(), gutter + 16 + 8 * k, RowTop(0), ' ', 0, text, back)) << k;
    EXPECT_TRUE(CellIs(Image(), gutter + 48, RowTop(0), 'c', 0, text, back));
    EXPECT_TRUE(CellIs(Image(), 2, RowTop(0), '1', 0, numText, numBack));
}

TEST_F(ViewerPaint, EmptyDocumentAndHiddenLineNumbers) {
    SetClientSize(200, HeightForRows(4));
    int lineNumWidth = -1;
    Viewer->OnDrawLine = [&](TOVSynTextViewer*, QPainter&, int, int, int width) {
        lineNumWidth = width;
    };
    Viewer->DrawScreen(false);
    EXPECT_EQ(lineNumWidth, -1);
    EXPECT_TRUE(AreaIs(Image(), 0, 0, 200, Viewer->ClientHeight(), Rgb(Viewer->Color())));
    SetText("x\n");
    EXPECT_EQ(lineNumWidth, 12);
    Viewer->SetShowLineNum(false);
    EXPECT_EQ(lineNumWidth, 0);
}

// A document with long lines, double-byte characters, tabs and marks that
// nest and span lines, some of them far right of any window.
void MakeRandomDocument(TViewerFixture& fixture, std::mt19937& random, bool nested) {
    std::string text;
    const int lines = 60;
    for (int i = 0; i < lines; ++i) {
        const int length = int(random() % 120);
        for (int j = 0; j < length; ++j) {
            const int kind = int(random() % 12);
            text += kind == 0  ? std::string("\t")
                    : kind < 3 ? std::string("\xC7\xD1")
                               : std::string(1, char('a' + random() % 26));
        }
        text += '\n';
    }
    const unsigned seed = unsigned(random());
    fixture.Highlighter->Marker = [seed, nested](TOVSynStringList& document) {
        std::mt19937 marks(seed);
        int open = 0;
        for (int i = 0; i < document.Count(); ++i) {
            const std::string_view line = document.GetView(i);
            for (int p = 0; p < int(line.size());) {
                const int length = static_cast<uint8_t>(line[std::size_t(p)]) >= 0x80 ? 2 : 1;
                if (marks() % 9 == 0) {
                    if (open != 0 && (!nested || marks() % 2 == 0)) {
                        document.SetStyleID(i, p + length - 1, TStyleByte(-open));
                        open = 0;
                    } else if (open == 0 || nested) {
                        open = int(marks() % 2) ? Comment : Keyword;
                        document.SetStyleID(i, p, TStyleByte(open));
                    }
                }
                p += length;
            }
        }
    };
    fixture.SetText(text);
    fixture.Viewer->SetSynLang("C");
}

TEST_F(ViewerPaint, TopIndexMovesPaintWhatAFreshScreenPaints) {
    std::mt19937 random(5);
    for (bool wrap : {false, true}) {
        SetClientSize(360, HeightForRows(15) - 5);
        Viewer->SetWordWrap(wrap);
        MakeRandomDocument(*this, random, false);
        Viewer->SetSelStart({0, 0});
        Viewer->SetSelEnd({0, 0});
        for (int step = 0; step < 150; ++step) {
            const int move =
                int(random() % 5) == 0 ? int(random() % 40) - 20 : int(random() % 7) - 3;
            Viewer->SetTopIndex(Viewer->TopIndex() + move);
            const QImage moved = Image().copy();
            Viewer->DrawScreen(false);
            ASSERT_EQ(moved, Image())
                << "wrap " << wrap << " step " << step << " top " << Viewer->TopIndex();
        }
    }
}

// Whatever changes the view, the screen it leaves is the one a fresh paint
// of its new state draws: no setter forgets to repaint, no partial repaint
// leaves an old row behind.
TEST_F(ViewerPaint, EveryOperationLeavesWhatAFreshScreenPaints) {
    std::mt19937 random(17);
    SetClientSize(360, HeightForRows(15) - 5);
    MakeRandomDocument(*this, random, false);
    for (int step = 0; step < 300; ++step) {
        const int operation = int(random() % 12);
        switch (operation) {
        case 0:
            Viewer->SetWordWrap(!Viewer->WordWrap());
            break;
        case 1:
            SetClientSize(100 + int(random() % 300), 40 + int(random() % 300));
            break;
        case 2:
            Viewer->SetTabWidth(uint16_t(random() % 9));
            break;
        case 3:
            Viewer->SetShowLineNum(!Viewer->ShowLineNum());
            break;
        case 4:
            Viewer->HorzScroll(TScrollCode::Track, int(random() % 30));
            break;
        case 5: {
            const int first = int(random() % 60), last = int(random() % 60);
            Viewer->SetSelStart({0, first});
            Viewer->SetSelEnd({0, last});
            break;
        }
        case 6:
            Viewer->SetLeftMargin(uint16_t(random() % 20));
            break;
        case 7:
            Viewer->SetLineSpace(uint16_t(random() % 5));
            break;
        case 8:
            Viewer->SetTopMargin(uint16_t(random() % 9));
            break;
        case 9:
            Viewer->SetEnableHighlighting(!Viewer->EnabeHighlighting());
            break;
        default:
            Viewer->SetTopIndex(Viewer->TopIndex() + int(random() % 31) - 15);
            break;
        }
        const QImage after = Image().copy();
        Viewer->DrawScreen(false);
        ASSERT_EQ(after, Image()) << "step " << step << " operation " << operation;
    }
}

TEST_F(ViewerPaint, RowsPastTheRightEdgeLeaveTheSameStylesForTheNextRows) {
    std::mt19937 random(9);
    for (int round = 0; round < 6; ++round) {
        TViewerFixture wide;
        wide.Highlighter->Colors = Highlighter->Colors;
        wide.SetClientSize(2400, HeightForRows(40));
        SetClientSize(150, HeightForRows(40));
        std::mt19937 copy = random;
        MakeRandomDocument(*this, random, true);
        MakeRandomDocument(wide, copy, true);
        for (TViewerFixture* fixture : {static_cast<TViewerFixture*>(this), &wide}) {
            fixture->Viewer->SetSelStart({5, 3});
            fixture->Viewer->SetSelEnd({7, 5});
            fixture->Viewer->SetTopIndex(round * 3);
        }
        const QImage narrow = Image();
        ASSERT_EQ(narrow, wide.Viewer->BackBuffer().copy(0, 0, narrow.width(), narrow.height()))
            << "round " << round;
    }
}

TEST_F(ViewerPaint, LongLineScrolledFarRightShowsItsCharactersWhereTheyBelong) {
    std::mt19937 random(21);
    std::string line;
    while (line.size() < std::size_t(3 * TLineMarkIndex::MinLineBytes))
        line += random() % 4 == 0   ? std::string("\xC7\xD1")
                : random() % 9 == 0 ? std::string("\t")
                                    : std::string(1, char('a' + random() % 26));
    SetClientSize(300, HeightForRows(4));
    SetText(line + "\nshort\n");
    const int units = 3000;
    Viewer->HorzScroll(TScrollCode::Track, units);
    ASSERT_EQ(Viewer->HorzOffset(), units * 40);
    const int gutter = Viewer->GetGutterWidth();
    const QRgb text = Rgb(Viewer->ForeColor()), back = Rgb(Viewer->BackColor());
    // Every character that lies wholly inside the text area, at its place.
    const TBitmapCharWidths widths(4);
    long long x = gutter - Viewer->HorzOffset();
    int checked = 0;
    for (int p = 0, length = 1; p < int(line.size()) && x < 300; p += length) {
        const int width = widths.CharAt(line, std::size_t(p), length);
        if (x >= gutter && x + width <= 300 && line[std::size_t(p)] != '\t') {
            uint16_t code = length == 2 ? uint16_t(uint8_t(line[std::size_t(p)]) << 8 |
                                                   uint8_t(line[std::size_t(p + 1)]))
                                        : uint8_t(line[std::size_t(p)]);
            if (length == 2)
                ConvertCode(code);
            ASSERT_TRUE(CellIs(Image(), int(x), RowTop(0),
                               length == 2 ? uint8_t(code >> 8) : uint8_t(code),
                               length == 2 ? uint8_t(code) : 0, text, back))
                << "column " << p;
            ++checked;
        }
        x += width;
    }
    EXPECT_GT(checked, 10);
    // The short line below is scrolled out of sight: only background.
    EXPECT_TRUE(AreaIs(Image(), gutter, RowTop(1), 300, RowTop(1) + Pitch(), back));
}

} // namespace
} // namespace ov

namespace ov {
namespace {

// A mapped file's NUL bytes are shown as blanks without being written: a
// view of the file paints, wraps, selects and copies exactly as a view of
// the same text with blanks, in either font, and marks fall on the same
// characters.
TEST(ViewerNulBytes, AMappedFileShowsItsNulBytesAsBlanks) {
    using namespace std::string_literals;
    std::string bytes = "int\0x = 1;\0\0// c\0d\r\n\0\n\xB0\0\xB0\xA1 \xC7\0end\0\n"s;
    bytes += std::string(300, '\0') + "tail\0"s;
    std::string blanks = bytes;
    std::replace(blanks.begin(), blanks.end(), '\0', ' ');
    test::TTempFolder temp;
    const std::string path = temp.Write("nul.c", bytes);
    auto markWords = [](TOVSynStringList& lines) {
        // A mark on every third byte, so colours change inside runs of NULs.
        for (int line = 0; line < lines.Count(); ++line)
            for (int column = 0; column + 1 < lines.GetLength(line); column += 3) {
                lines.SetStyleID(line, column, StyleItem0);
                lines.SetStyleID(line, column + 1, TStyleByte(-StyleItem0));
            }
    };
    // A font whose every byte has a glyph of its own, the NUL byte's too.
    std::string font(256 * 16, '\0');
    for (int byte = 0; byte < 256; ++byte)
        for (int row = 0; row < 16; ++row)
            font[std::size_t(byte * 16 + row)] = char(byte ^ (row * 0x11) ^ 0x5A);
    ASSERT_TRUE(LoadEngFont(temp.Write("distinct.eng", font)));
    for (bool bitmap : {false, true}) {
        for (bool wrap : {false, true}) {
            test::TViewerFixture mapped, shown;
            for (test::TViewerFixture* view : {&mapped, &shown}) {
                view->Highlighter->Colors[StyleItem0] = {RGBColor(0, 0, 200), RGBColor(255, 255, 0)};
                view->Highlighter->Marker = markWords;
                view->SetClientSize(wrap ? 170 : 400, view->HeightForRows(12));
                view->Viewer->SetUseBitmapFont(bitmap);
                view->Viewer->SetWordWrap(wrap);
            }
            ASSERT_TRUE(mapped.Viewer->Lines().LoadViewedFile(path, TFileEncoding::Cp949));
            ASSERT_TRUE(mapped.Viewer->Lines().Mapped());
            shown.SetText(blanks);
            for (test::TViewerFixture* view : {&mapped, &shown}) {
                view->Viewer->SetSynLang("C");
                view->Viewer->SetSelStart({2, 0});
                view->Viewer->SetSelEnd({3, 2});
            }
            ASSERT_EQ(mapped.Viewer->RowCount(), shown.Viewer->RowCount()) << bitmap << wrap;
            EXPECT_EQ(mapped.Viewer->BackBuffer(), shown.Viewer->BackBuffer()) << bitmap << wrap;
            EXPECT_EQ(mapped.Viewer->GetSelText(), shown.Viewer->GetSelText());
            const int pitch = shown.Viewer->LineHeight() + shown.Viewer->LineSpace();
            for (int x = 0; x < 400; x += 5) {
                const TTextPoint a = mapped.Viewer->GetCharLocationAt(x, pitch * 2 + 3, true);
                const TTextPoint b = shown.Viewer->GetCharLocationAt(x, pitch * 2 + 3, true);
                ASSERT_EQ(a.X, b.X) << x;
                ASSERT_EQ(a.Y, b.Y) << x;
            }
        }
    }
}

} // namespace
} // namespace ov
