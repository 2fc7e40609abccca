#include "Xpglyphs.h"

#include "Xpdraw.h"

#include <QString>

// The resources live in a static library; registering them here keeps the
// linker from dropping them from programs that only reach them by name.
// (The registration macro must stay outside every namespace.)
static void InitGlyphResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(controls_glyphs);
        return true;
    }();
    (void)done;
}

namespace {

// A missing resource is a build fault; an empty image of the right size keeps
// the controls drawable rather than crashing.
QImage LoadGlyphs(const char* name, int width, int height) {
    InitGlyphResources();
    QImage image(QStringLiteral(":/controls/%1.png").arg(QLatin1String(name)));
    if (image.size() != QSize(width, height)) {
        image = QImage(width, height, QImage::Format_RGB32);
        image.fill(Qt::lightGray);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

namespace ov {

const QImage& CheckGlyphs() {
    static const QImage image = LoadGlyphs("CHECKBTN", 26, 13);
    return image;
}

const QImage& RadioGlyphs() {
    static const QImage image = LoadGlyphs("RADIOBTN", 26, 13);
    return image;
}

const QImage& ComboGlyphs() {
    static const QImage image = LoadGlyphs("COMBOBTN", 30, 17);
    return image;
}

QImage GlyphHalfImage(const QImage& glyphs, TGlyphHalf half) {
    const int width = glyphs.width() / 2;
    return glyphs.copy(half == TGlyphHalf::Left ? 0 : width, 0, width, glyphs.height());
}

QImage TransparentGlyphImage(const QImage& glyphs, TGlyphHalf half) {
    return ImageWithTransparentColor(GlyphHalfImage(glyphs, half), kGlyphTransparent);
}

} // namespace ov
