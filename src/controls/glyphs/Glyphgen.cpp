// Draws the three glyph bitmaps of the styled controls and writes them as PNG
// files into the folder given as the only argument. Run by the build; the
// images become resources of ov_controls.
//
//   CHECKBTN 26 x 13: checked box | empty box, drawn opaque
//   RADIOBTN 26 x 13: selected radio | empty radio, magenta is transparent
//   COMBOBTN 30 x 17: drop-down button normal | pressed, stretched when drawn

#include <QColor>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const QRgb kBorder = qRgb(28, 81, 128);
const QRgb kMark = qRgb(33, 161, 33);
const QRgb kMagenta = qRgb(255, 0, 255);

int Mix(int from, int to, double t) {
    return static_cast<int>(std::lround(from + (to - from) * t));
}

QRgb MixRgb(QRgb from, QRgb to, double t) {
    return qRgb(Mix(qRed(from), qRed(to), t), Mix(qGreen(from), qGreen(to), t),
                Mix(qBlue(from), qBlue(to), t));
}

// Light grey in the upper left shading to white toward the lower right; the
// interior runs from 1 to size - 2 in both directions.
QRgb BoxInterior(int x, int y, int size) {
    const double t = static_cast<double>(x + y - 2) / (2.0 * (size - 3));
    return MixRgb(qRgb(220, 220, 214), qRgb(255, 255, 255), std::clamp(t, 0.0, 1.0));
}

void DrawCheckBox(QImage& image, int originX, bool checked) {
    const int size = 13;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool border = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            image.setPixel(originX + x, y, border ? kBorder : BoxInterior(x, y, size));
        }
    if (!checked)
        return;
    // A check mark three pixels thick: down from (3, 5) to (5, 7), up to (9, 3).
    auto stroke = [&](int x, int y) {
        for (int dy = 0; dy < 3; ++dy)
            image.setPixel(originX + x, y + dy, kMark);
    };
    for (int x = 3; x <= 5; ++x)
        stroke(x, 5 + (x - 3));
    for (int x = 6; x <= 9; ++x)
        stroke(x, 7 - (x - 5));
}

// The radio's outline, drawn by hand: '#' border, ' ' inside, 'o' outside
// (left magenta, the transparent colour).
const char* const kRadioRows[13] = {
    "oooo#####oooo", "oo##     ##oo", "o#         #o", "o#         #o", "#           #",
    "#           #", "#           #", "#           #", "#           #", "o#         #o",
    "o#         #o", "oo##     ##oo", "oooo#####oooo",
};
// The dot of the selected radio: '#' mark colour, '+' its highlight.
const char* const kDotRows[5] = {" ### ", "#+###", "#####", "#####", " ### "};

void DrawRadio(QImage& image, int originX, bool selected) {
    const int size = 13;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const char cell = kRadioRows[y][x];
            QRgb pixel = kMagenta;
            if (cell == '#')
                pixel = kBorder;
            else if (cell == ' ')
                pixel = BoxInterior(x, y, size);
            image.setPixel(originX + x, y, pixel);
        }
    if (!selected)
        return;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const char cell = kDotRows[y][x];
            if (cell != ' ')
                image.setPixel(originX + 4 + x, 4 + y, cell == '+' ? qRgb(120, 220, 120) : kMark);
        }
}

// A light blue gradient button with a rounded border and a down arrow.
void DrawComboButton(QImage& image, int originX, bool pressed) {
    const int width = 15, height = 17;
    const QRgb top = pressed ? qRgb(178, 200, 246) : qRgb(232, 240, 255);
    const QRgb bottom = pressed ? qRgb(150, 178, 236) : qRgb(182, 206, 250);
    const QRgb frame = pressed ? qRgb(110, 140, 200) : qRgb(168, 190, 232);
    const QRgb arrow = qRgb(77, 97, 133);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool corner = (x == 0 || x == width - 1) && (y == 0 || y == height - 1);
            const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            QRgb pixel = MixRgb(top, bottom, static_cast<double>(y) / (height - 1));
            if (edge)
                pixel = frame;
            if (corner)
                pixel = qRgb(255, 255, 255);
            image.setPixel(originX + x, y, pixel);
        }
    // Arrow: rows of 7, 5, 3 and 1 pixels, centred, one pixel lower when pressed.
    const int arrowTop = 7 + (pressed ? 1 : 0);
    const int middle = originX + width / 2 + (pressed ? 1 : 0);
    for (int row = 0; row < 4; ++row)
        for (int x = middle - 3 + row; x <= middle + 3 - row; ++x)
            image.setPixel(x, arrowTop + row, arrow);
}

bool Save(const QImage& image, const QString& folder, const char* name) {
    const QString path = folder + "/" + name + ".png";
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);

    QImage check(26, 13, QImage::Format_RGB32);
    DrawCheckBox(check, 0, true);
    DrawCheckBox(check, 13, false);

    QImage radio(26, 13, QImage::Format_RGB32);
    DrawRadio(radio, 0, true);
    DrawRadio(radio, 13, false);

    QImage combo(30, 17, QImage::Format_RGB32);
    DrawComboButton(combo, 0, false);
    DrawComboButton(combo, 15, true);

    const bool saved = Save(check, folder, "CHECKBTN") && Save(radio, folder, "RADIOBTN") &&
                       Save(combo, folder, "COMBOBTN");
    return saved ? 0 : 1;
}
