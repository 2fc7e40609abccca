#pragma once
// A text view on a temporary executable folder (no font files, so every
// bitmap glyph is the never-loaded solid block unless a test loads fonts)
// with a highlighter double whose marks the test writes itself.

#include "Files.h"
#include "Ovsyntextviewer.h"
#include "Putbmpfont.h"
#include "Testsupport.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

namespace ov::test {

class TFakeHighlighter : public TViewerHighlighter {
public:
    void SetLang(const std::string& name) override { Lang = name; }
    bool Execute(TOVSynStringList& lines) override {
        ++ExecuteCount;
        if (Lang.empty())
            return false;
        lines.ClearStyles();
        if (Marker)
            Marker(lines);
        return true;
    }
    TStyleColors GetStyles(TStyleByte id) const override {
        auto found = Colors.find(id);
        return found != Colors.end() ? found->second : TStyleColors{};
    }

    std::string Lang;
    int ExecuteCount = 0;
    std::function<void(TOVSynStringList&)> Marker;
    std::map<int, TStyleColors> Colors;
};

class TViewerFixture {
public:
    TViewerFixture() {
        SetExeFolderOverride(Folder.Path());
        auto highlighter = std::make_unique<TFakeHighlighter>();
        Highlighter = highlighter.get();
        Viewer = std::make_unique<TOVSynTextViewer>(nullptr, std::move(highlighter));
        Viewer->show();
    }
    ~TViewerFixture() { SetExeFolderOverride(""); }

    // Resizes the window so that its client area is width x height.
    void SetClientSize(int width, int height) {
        const int dw = Viewer->width() - Viewer->viewport()->width();
        const int dh = Viewer->height() - Viewer->viewport()->height();
        Viewer->resize(width + dw, height + dh);
        QElapsedTimer timer;
        timer.start();
        while ((Viewer->ClientWidth() != width || Viewer->ClientHeight() != height) &&
               timer.elapsed() < 5000)
            QApplication::processEvents();
    }

    // Client height that gives exactly rows visible rows at the current pitch.
    int HeightForRows(int rows) const {
        return Viewer->TopMargin() + rows * (Viewer->LineHeight() + Viewer->LineSpace());
    }

    void SetText(const std::string& text) { Viewer->Lines().SetTextStr(text.c_str()); }

    TTempFolder Folder;
    TFakeHighlighter* Highlighter = nullptr;
    std::unique_ptr<TOVSynTextViewer> Viewer;
};

// True when the cell at (x, y) of image shows the bitmap glyph of the font
// code (first, second) in the given colours; reports the first difference.
inline ::testing::AssertionResult CellIs(const QImage& image, int x, int y, uint8_t first,
                                         uint8_t second, QRgb text, QRgb back) {
    TBmpGlyph glyph;
    const int width = GetBmpGlyph(first, second, glyph);
    for (int row = 0; row < BmpCellHeight; ++row)
        for (int column = 0; column < width; ++column) {
            const int byte = glyph[std::size_t(row * 2 + column / 8)];
            const bool ink = (byte >> (7 - column % 8)) & 1;
            const QRgb expected = (ink ? text : back) | 0xFF000000u;
            const QRgb actual = image.pixel(x + column, y + row) | 0xFF000000u;
            if (expected != actual)
                return ::testing::AssertionFailure()
                       << "pixel (" << x + column << ", " << y + row << ") is " << std::hex
                       << actual << ", expected " << expected;
        }
    return ::testing::AssertionSuccess();
}

// True when every pixel of the rectangle has the colour.
inline ::testing::AssertionResult AreaIs(const QImage& image, int left, int top, int right,
                                         int bottom, QRgb color) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if ((image.pixel(x, y) | 0xFF000000u) != (color | 0xFF000000u))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << image.pixel(x, y)
                       << ", expected " << color;
    return ::testing::AssertionSuccess();
}

} // namespace ov::test
