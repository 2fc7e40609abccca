#pragma once
// The drawing surface of one paint pass of the text view: the back buffer
// with a current text colour and a current background (brush) colour, cell
// fills, bitmap-font glyphs and outline-font characters. Fills and bitmap
// cells are written straight into the image; outline characters go through
// a painter that is opened on first use and closed with the canvas.

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <optional>

namespace ov {

class TQtTextDrawer;

class TTextCanvas {
public:
    // image and drawer are borrowed for the life of the canvas; drawer may be
    // null when only bitmap fonts are drawn.
    TTextCanvas(QImage& image, TQtTextDrawer* drawer);
    TTextCanvas(const TTextCanvas&) = delete;
    TTextCanvas& operator=(const TTextCanvas&) = delete;

    void SetTextColor(QRgb color) { FText = color; }
    void SetBackColor(QRgb color) { FBack = color; }
    QRgb TextColor() const { return FText; }
    QRgb BackColor() const { return FBack; }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }

    // Fills left <= x < right, top <= y < bottom with the background colour,
    // clipped to the image.
    void FillRect(int left, int top, int right, int bottom);
    // A bitmap-font cell, font code already applied; returns 8 or 16.
    int DrawBitmapChar(int x, int y, uint8_t first, uint8_t second);
    // An outline-font character cell; returns its width.
    int DrawOutlineChar(int x, int y, uint8_t first, uint8_t second);

    // A character given by its Unicode value in the outline font; returns
    // its width (0 for a zero-width character, drawn where it stands).
    int DrawOutlineUnicode(int x, int y, char32_t code);
    // A character that has no bitmap glyph, drawn with the outline font into
    // a box of width x height pixels (see TQtTextDrawer::DrawUnicodeInBox).
    void DrawUnicodeInBox(int x, int y, int width, int height, char32_t code);

    // A painter on the image for callers that draw on their own; it stays
    // open until the canvas is destroyed or EndPainting is called.
    QPainter& Painter();
    void EndPainting();

private:
    QImage& FImage;
    TQtTextDrawer* FDrawer;
    std::optional<QPainter> FPainter;
    QRgb FText = 0xFF000000;
    QRgb FBack = 0xFFFFFFFF;
};

// Copies the rows sourceY .. sourceY + height - 1 of image to targetY inside
// the same image (overlapping ranges allowed), clipped to the image.
void MoveImageRows(QImage& image, int sourceY, int targetY, int height);

} // namespace ov
