// Draws the program's icon at the sizes of the hicolor theme:
//   ov_icongen OUTDIR  ->  OUTDIR/<n>x<n>/apps/orvane.png
// The picture is the one of packaging/orvane.svg (same 256-unit grid): a page
// with lines of highlighted code. Only shapes are drawn, so no font and no
// display are needed.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cstdio>

namespace {

struct TBar {
    double Left, Right, Top;
    QRgb Color;
};

// Lines of "code" on the page: keyword blue, text, string red, comment green.
constexpr TBar Bars[] = {
    {64, 116, 76, 0xFF2F6FB5},  {128, 192, 76, 0xFF3A4A5C},
    {84, 180, 108, 0xFFC0392B}, {84, 132, 140, 0xFF3A4A5C},
    {144, 192, 140, 0xFF2E8B57}, {64, 160, 172, 0xFF8A96A3},
    {64, 100, 204, 0xFF2F6FB5}, {112, 172, 204, 0xFF3A4A5C},
};

void Draw(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    // The page, with its top-right corner folded.
    QPainterPath page;
    page.moveTo(56, 16);
    page.lineTo(172, 16);
    page.lineTo(216, 60);
    page.lineTo(216, 224);
    page.quadTo(216, 240, 200, 240);
    page.lineTo(56, 240);
    page.quadTo(40, 240, 40, 224);
    page.lineTo(40, 32);
    page.quadTo(40, 16, 56, 16);
    page.closeSubpath();
    painter.setPen(QPen(QColor(0x3A, 0x4A, 0x5C), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0xFD, 0xFD, 0xFB));
    painter.drawPath(page);

    QPainterPath fold;
    fold.moveTo(172, 16);
    fold.lineTo(172, 60);
    fold.lineTo(216, 60);
    painter.setBrush(QColor(0xD5, 0xDD, 0xE6));
    painter.drawPath(fold);

    painter.setPen(Qt::NoPen);
    for (const TBar& bar : Bars) {
        painter.setBrush(QColor::fromRgba(bar.Color));
        painter.drawRoundedRect(QRectF(bar.Left, bar.Top, bar.Right - bar.Left, 16), 8, 8);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ov_icongen OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.scale(size / 256.0, size / 256.0);
            Draw(painter);
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/orvane.png"))) {
            std::fprintf(stderr, "ov_icongen: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
