#include "Xlabel.h"
#include "Codepage.h"
#include "Qtcodepage.h"
#include "Ximagelabel.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace ov {
namespace {

std::string Ansi(const char* utf8) {
    return AnsiFromUtf8(utf8);
}

QFont TestFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    return font;
}

int PlainWidth(const std::string& text, const QFont& font) {
    return LayoutMarkup(text, font, Qt::black).Width;
}

TEST(XLabelMarkup, TagsWorkInAnyLetterCase) {
    const auto tokens = ScanMarkup("<B>x</b><I>y</I><u>z</U>");
    ASSERT_EQ(tokens.size(), 9u);
    EXPECT_EQ(tokens[0].Kind, TMarkupKind::StyleOn);
    EXPECT_EQ(tokens[0].Style, TMarkupStyle::Bold);
    EXPECT_EQ(tokens[2].Kind, TMarkupKind::StyleOff);
    EXPECT_EQ(tokens[3].Style, TMarkupStyle::Italic);
    EXPECT_EQ(tokens[6].Style, TMarkupStyle::Underline);

    const QFont font = TestFont();
    const TMarkupLayout layout = LayoutMarkup("a<B>W</B>b", font, Qt::black);
    ASSERT_EQ(layout.Glyphs.size(), 3u);
    EXPECT_FALSE(layout.Glyphs[0].Font.bold());
    EXPECT_TRUE(layout.Glyphs[1].Font.bold());
    EXPECT_FALSE(layout.Glyphs[2].Font.bold());
    QFont bold = font;
    bold.setBold(true);
    EXPECT_EQ(layout.Width, QFontMetrics(font).horizontalAdvance(QStringLiteral("a")) +
                                QFontMetrics(bold).horizontalAdvance(QStringLiteral("W")) +
                                QFontMetrics(font).horizontalAdvance(QStringLiteral("b")));
}

TEST(XLabelMarkup, StylesAreFlagsNotCounters) {
    const TMarkupLayout layout = LayoutMarkup("<b><b>x</b>y", TestFont(), Qt::black);
    ASSERT_EQ(layout.Glyphs.size(), 2u);
    EXPECT_TRUE(layout.Glyphs[0].Font.bold());
    EXPECT_FALSE(layout.Glyphs[1].Font.bold());
}

TEST(XLabelMarkup, ColouredWordMeasuresLikePlainText) {
    const QFont font = TestFont();
    const TMarkupLayout layout = LayoutMarkup("a<cFF0000>red</c>b", font, Qt::black);
    ASSERT_EQ(layout.Glyphs.size(), 5u);
    EXPECT_EQ(layout.Glyphs[0].Color, QColor(Qt::black));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(layout.Glyphs[i].Color, QColor(255, 0, 0));
    EXPECT_EQ(layout.Glyphs[4].Color, QColor(Qt::black));
    EXPECT_EQ(layout.Width, PlainWidth("aredb", font));
}

TEST(XLabelMarkup, ColourTagPairsAreRedGreenBlue) {
    const TMarkupLayout layout = LayoutMarkup("<c2080D0>x", TestFont(), Qt::black);
    ASSERT_EQ(layout.Glyphs.size(), 1u);
    EXPECT_EQ(layout.Glyphs[0].Color, QColor(0x20, 0x80, 0xD0));
}

TEST(XLabelMarkup, NonHexColourTagIsSkippedWithoutChangingColour) {
    const QFont font = TestFont();
    const TMarkupLayout layout = LayoutMarkup("<cZZ0000>x</c>y", font, Qt::darkGreen);
    ASSERT_EQ(layout.Glyphs.size(), 2u);
    EXPECT_EQ(layout.Glyphs[0].Color, QColor(Qt::darkGreen));
    EXPECT_EQ(layout.Glyphs[1].Color, QColor(Qt::darkGreen));
    EXPECT_EQ(layout.Width, PlainWidth("xy", font));
}

TEST(XLabelMarkup, BrokenColourTagLosesOnlyItsAngleBracket) {
    const QFont font = TestFont();
    EXPECT_EQ(PlainWidth("<c12>ab", font), PlainWidth("c12>ab", font));
    EXPECT_EQ(PlainWidth("<c123456x9", font), PlainWidth("c123456x9", font));
    EXPECT_EQ(PlainWidth("x<c", font), PlainWidth("xc", font));
    const TMarkupLayout layout = LayoutMarkup("<c12>ab", font, Qt::black);
    ASSERT_EQ(layout.Glyphs.size(), 6u);
    EXPECT_EQ(layout.Glyphs[0].Text, QStringLiteral("c"));
}

TEST(XLabelMarkup, OtherAngleBracketsAndEntitiesAreText) {
    const QFont font = TestFont();
    const TMarkupLayout layout = LayoutMarkup("&lt;<x>", font, Qt::black);
    ASSERT_EQ(layout.Glyphs.size(), 7u);
    EXPECT_EQ(layout.Glyphs[0].Text, QStringLiteral("&"));
    EXPECT_EQ(layout.Glyphs[4].Text, QStringLiteral("<"));
}

TEST(XLabelMarkup, ColoursRememberOneLevel) {
    const TMarkupLayout layout =
        LayoutMarkup("<c0000FF>a<cFF0000>b</c>c</c>d", TestFont(), Qt::black);
    ASSERT_EQ(layout.Glyphs.size(), 4u);
    EXPECT_EQ(layout.Glyphs[0].Color, QColor(0, 0, 255));
    EXPECT_EQ(layout.Glyphs[1].Color, QColor(255, 0, 0));
    EXPECT_EQ(layout.Glyphs[2].Color, QColor(0, 0, 255));
    EXPECT_EQ(layout.Glyphs[3].Color, QColor(0, 0, 255)); // not back to black
}

TEST(XLabelMarkup, DoubleByteCharactersAreOneUnit) {
    const std::string text = Ansi("<b>정보</b>:가");
    const TMarkupLayout layout = LayoutMarkup(text, TestFont(), Qt::black);
    ASSERT_EQ(layout.Glyphs.size(), 4u);
    EXPECT_EQ(layout.Glyphs[0].Text, QStringLiteral("정"));
    EXPECT_EQ(layout.Glyphs[3].Text, QStringLiteral("가"));
}

TEST(XLabelMarkup, PlainTextDropsTagsAndDecodesTwoEntities) {
    EXPECT_EQ(MarkupPlainText(QStringLiteral("<b>굵게</b> <c2080D0>파랑</c>")),
              QStringLiteral("굵게 파랑"));
    EXPECT_EQ(MarkupPlainText(QStringLiteral("a &lt;b&gt; c")), QStringLiteral("a <b> c"));
    EXPECT_EQ(MarkupPlainText(QStringLiteral("&LT;")), QStringLiteral("&LT;"));
    EXPECT_EQ(MarkupPlainText(QStringLiteral("a<b")), QStringLiteral("ab"));
    EXPECT_EQ(MarkupPlainText(QString()), QString());
}

TEST(XLabel, AutoSizeFitsKoreanTextAndKeepsRightEdge) {
    QWidget window;
    TXLabel label(&window);
    label.setFont(TestFont());
    label.setGeometry(100, 10, 50, 20);
    label.SetCaption(QStringLiteral("파일 정보: <b>한국어</b>"));
    const int expected = LayoutMarkup(AnsiFromQString(label.text()), label.font(), Qt::black).Width;
    EXPECT_EQ(label.width(), expected);
    EXPECT_EQ(label.x(), 100);
    EXPECT_EQ(label.height(), 20);
    EXPECT_EQ(label.GetOnlyText(), QStringLiteral("파일 정보: 한국어"));

    label.setAlignment(Qt::AlignRight | Qt::AlignTop);
    const int right = label.x() + label.width();
    label.SetCaption(QStringLiteral("짧게"));
    EXPECT_EQ(label.x() + label.width(), right);

    label.SetAutoSize(false);
    label.SetCaption(QStringLiteral("훨씬 더 긴 캡션입니다"));
    EXPECT_EQ(label.x() + label.width(), right);
}

TEST(XLabel, DrawsColouredRunWhereItIsMeasured) {
    TXLabel label;
    label.setFont(TestFont());
    label.SetCaption(QStringLiteral("ab<cFF0000>WWW</c>cd"));
    label.resize(label.width(), 20);
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    label.render(&image);
    const QFont font = TestFont();
    const int redStart = PlainWidth("ab", font);
    const int redEnd = redStart + PlainWidth("WWW", font);
    int redPixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60) {
                ++redPixels;
                EXPECT_GE(x, redStart - 1);
                EXPECT_LE(x, redEnd);
            }
        }
    EXPECT_GT(redPixels, 10);
}

// Characters are drawn one by one at whole-pixel steps; the underline of a
// run must still be one unbroken line under all of it.
TEST(XLabel, UnderlinedRunHasAnUnbrokenLine) {
    TXLabel label;
    label.setFont(TestFont());
    label.SetCaption(QStringLiteral("<u>eeeeeeeeet</u>"));
    label.resize(label.width(), 20);
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    label.render(&image);
    auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    // The underline is the row below the baseline with the most ink.
    const int baseline = QFontMetrics(label.font()).ascent();
    int lineRow = -1, mostInk = 0;
    for (int y = baseline; y < image.height(); ++y) {
        int ink = 0;
        for (int x = 0; x < image.width(); ++x)
            ink += dark(x, y);
        if (ink > mostInk) {
            mostInk = ink;
            lineRow = y;
        }
    }
    ASSERT_GE(lineRow, 0);
    for (int x = 1; x < label.width() - 1; ++x)
        EXPECT_TRUE(dark(x, lineRow)) << "gap at x = " << x;
}

TEST(XLabel, AlignedOriginFollowsLayoutRules) {
    const QRect rect(0, 0, 100, 30);
    EXPECT_EQ(AlignedTextOrigin(rect, 100, 40, 14, Qt::AlignLeft | Qt::AlignTop), QPoint(0, 0));
    EXPECT_EQ(AlignedTextOrigin(rect, 100, 40, 14, Qt::AlignRight | Qt::AlignBottom),
              QPoint(60, 16));
    EXPECT_EQ(AlignedTextOrigin(rect, 100, 41, 13, Qt::AlignHCenter | Qt::AlignVCenter),
              QPoint(29, 8));
    // A text wider than the label: centre offsets round toward zero.
    EXPECT_EQ(AlignedTextOrigin(rect, 100, 103, 14, Qt::AlignHCenter), QPoint(-1, 0));
}

TEST(XImageLabel, EmptyPictureStartsCaptionAtEight) {
    const TXImageLabelLayout layout =
        XImageLabelLayout(QSize(100, 20), QSize(), 50, 14, 4, 2, Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(layout.Caption, QPoint(8, 0));
    EXPECT_EQ(layout.Width, 50 + 4 + 2 + 4);
}

TEST(XImageLabel, PictureSitsLeftOfCaptionAndAutoSizeCountsIt) {
    TXImageLabel label;
    label.setFont(TestFont());
    label.resize(10, 24);
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(qRgb(0, 128, 0));
    picture.setPixel(0, 15, qRgb(255, 0, 255));
    picture.setPixel(8, 8, qRgb(255, 0, 255));
    label.SetImage(picture);
    label.SetCaption(QStringLiteral("열기"));
    const int captionWidth = QFontMetrics(label.font()).horizontalAdvance(label.text());
    EXPECT_EQ(label.width(), captionWidth + 16 + 4 + 2 + 4);
    EXPECT_EQ(label.Layout().Image, QPoint(4, (24 - 16) / 2));
    EXPECT_EQ(label.Layout().Caption.x(), 4 + 16 + 4);

    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    label.render(&image);
    EXPECT_EQ(image.pixel(4 + 1, 4 + 1), qRgb(0, 128, 0));
    const QRgb background = image.pixel(1, 1);        // left of the picture
    EXPECT_EQ(image.pixel(4 + 8, 4 + 8), background); // the transparent colour
    EXPECT_EQ(image.pixel(4, 4 + 15), background);

    label.SetLeftMargin(10);
    EXPECT_EQ(label.width(), captionWidth + 16 + 10 + 2 + 4);
}

} // namespace
} // namespace ov
