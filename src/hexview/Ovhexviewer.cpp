#include "Ovhexviewer.h"

#include "Files.h"
#include "Hexfind.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cstring>

namespace ov {

namespace {

// The view's own moves of a bar are not scroll requests, so they go by
// without the bar's signals.
void SetBarValue(QScrollBar* bar, int value) {
    QSignalBlocker quiet(bar);
    bar->setValue(value);
}

void SetBarRange(QScrollBar* bar, int maximum, int page) {
    QSignalBlocker quiet(bar);
    bar->setRange(0, maximum);
    bar->setPageStep(page);
    bar->setSingleStep(1);
}

} // namespace

TOVHexViewer::TOVHexViewer(QWidget* parent) : QAbstractScrollArea(parent) {
    resize(350, 350);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    FColor = QApplication::palette().color(QPalette::Base);
    FFontColor = QApplication::palette().color(QPalette::Text);
    QFont face(QStringLiteral("Courier New"));
    face.setPixelSize(12);
    setFont(face);
    FPainter.SetFont(face);
    FPainter.SetColors(FColor, FFontColor);
    FLayout.SetMetrics(FPainter.Measure(FLayout.Metrics(), FAddressDigits));
    ApplyFrame();
    verticalScrollBar()->setEnabled(false);
    horizontalScrollBar()->setEnabled(false);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { VerticalBarAction(action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { HorizontalBarAction(action); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { VerticalBarMoved(value); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { HorizontalBarMoved(value); });
}

TOVHexViewer::~TOVHexViewer() = default;

void TOVHexViewer::SetFileName(const std::string& path) {
    SetFile(path, nullptr);
}

void TOVHexViewer::SetFile(const std::string& path, TSharedFile file) {
    if (!ViewedFileExists(path))
        return;
    if (!file)
        file = OpenSharedFile(path);
    const int64_t size = file ? file->Size() : -1;
    if (size < 0)
        return; // never take a size from a failed open
    FFileName = path;
    // A file with a size is not held between reads.
    FUnsizedFile = file->IsUnsized() ? std::move(file) : nullptr;
    FFileSize = size;
    FRowCount = HexRowCount(size);
    FMarkOffset = FMarkLength = 0;
    FPainter.SetMark(0, 0);
    if (HexAddressDigits(size) != FAddressDigits) {
        FAddressDigits = HexAddressDigits(size);
        Remeasure();
    }
    UpdateScrollBar(skBoth);
    FTopIndex = 0;
    FVertScrollPos = 0;
    FHorzScrollPos = 0;
    SetScrollPos(0, skVertical);
    SetScrollPos(0, skHorizontal);
    SetBarValue(verticalScrollBar(), 0);
    FHorzOffset = 0;
    if (FPage.Empty())
        SetPageBufferSize(FPageRows);
    ReloadPage();
    FireTopIndexChanged();
}

bool TOVHexViewer::Grow() {
    if (FFileName.empty() || FUnsizedFile)
        return false;
    const TSharedFile file = OpenSharedFile(FFileName);
    const int64_t size = file && !file->IsUnsized() ? file->Size() : -1;
    if (size <= FFileSize)
        return false;
    FFileSize = size;
    FRowCount = HexRowCount(size);
    if (HexAddressDigits(size) != FAddressDigits) {
        FAddressDigits = HexAddressDigits(size);
        Remeasure();
        UpdateScrollBar(skHorizontal);
    }
    UpdateScrollBar(skVertical);
    // The last row shown may have been short, or rows below it blank.
    ReloadPage();
    return true;
}

void TOVHexViewer::CloseFile() {
    SetPageBufferSize(0);
    FTopIndex = -1;
    FFileName.clear();
    FUnsizedFile.reset();
    FRowCount = 0;
    FFileSize = 0;
    FVertScrollPos = 0;
    UpdateScrollBar(skVertical);
    Paint();
    FireTopIndexChanged();
}

void TOVHexViewer::SetTopIndex(int64_t row) {
    if (row == FTopIndex || FTopIndex < 0)
        return;
    int64_t old = FTopIndex;
    // A hidden view has no page yet; it still never points past the last row.
    FTopIndex = ClampHexTopIndex(row, FRowCount, std::max(FPageRows, 1));
    SetScrollPos(FTopIndex, skVertical);
    int64_t d = old > FTopIndex ? old - FTopIndex : FTopIndex - old;
    if (d >= FPageRows || FPageStale)
        ReloadPage();
    else if (d > 0)
        ScrollPixels(old);
    FireTopIndexChanged();
}

void TOVHexViewer::SetMark(int64_t offset, int64_t length) {
    FMarkOffset = std::max<int64_t>(offset, 0);
    FMarkLength = std::max<int64_t>(length, 0);
    FPainter.SetMark(FMarkOffset, FMarkLength);
    if (FTopIndex < 0)
        return;
    const int64_t row = FMarkOffset / HexBytesPerRow;
    const int64_t lastRow = (FMarkOffset + std::max<int64_t>(FMarkLength, 1) - 1) / HexBytesPerRow;
    if (FMarkLength > 0 && (row < FTopIndex || lastRow >= FTopIndex + std::max(FPageRows, 1)))
        SetTopIndex(row);
    DrawScreen();
}

void TOVHexViewer::SetMatchBytes(const std::string& bytes, bool caseSensitive) {
    if (bytes == FMatchBytes && (bytes.empty() || caseSensitive == FMatchCaseSensitive))
        return;
    FMatchBytes = bytes;
    FMatchCaseSensitive = caseSensitive;
    FindPageMatches();
    DrawScreen();
}

void TOVHexViewer::SetMatchColor(const QColor& color) {
    FMatchColor = color;
    FPainter.SetMatchColor(color);
    DrawScreen();
}

void TOVHexViewer::FindPageMatches() {
    if (FMatchBytes.empty() || FTopIndex < 0 || FPageRows <= 0 || FFileName.empty()) {
        FPainter.SetMatches(0, {});
        return;
    }
    // A match that crosses the first or last row shown begins or ends up
    // to the pattern's length less one outside them.
    const int64_t reach = static_cast<int64_t>(FMatchBytes.size()) - 1;
    const int64_t first = FTopIndex * HexBytesPerRow;
    const int64_t from = std::max<int64_t>(first - reach, 0);
    const int64_t to =
        std::min(FFileSize, first + static_cast<int64_t>(FPageRows) * HexBytesPerRow + reach);
    std::string window(static_cast<size_t>(std::max<int64_t>(to - from, 0)), '\0');
    int64_t got = -1;
    if (FUnsizedFile) {
        got = FUnsizedFile->ReadAt(from, window.data(), static_cast<int64_t>(window.size()));
    } else {
        TReadOnlyFile file;
        if (file.Open(FFileName))
            got = file.ReadAt(from, window.data(), static_cast<int64_t>(window.size()));
    }
    window.resize(static_cast<size_t>(std::max<int64_t>(got, 0)));
    FPainter.SetMatches(from, MatchCoverage(window, FMatchBytes, FMatchCaseSensitive));
}

int64_t TOVHexViewer::FindBytes(std::string_view bytes, bool caseSensitive, int64_t from,
                                bool backward) const {
    if (FFileName.empty())
        return -1;
    if (FUnsizedFile)
        return ov::FindBytes(*FUnsizedFile, FFileSize, bytes, caseSensitive, from, backward);
    TReadOnlyFile file;
    if (!file.Open(FFileName))
        return -1;
    return ov::FindBytes(file, FFileSize, bytes, caseSensitive, from, backward);
}

void TOVHexViewer::SetPageBufferSize(int rows) {
    FPage.SetRows(rows);
}

void TOVHexViewer::ReloadPage() {
    if (FFileName.empty() || FTopIndex < 0 || FPageRows <= 0 || FPage.Empty())
        return;
    // An unreadable file leaves the picture as it was. The bytes in the page
    // need not be those of TopIndex any more, so they are dropped (a later
    // redraw shows blank rows, not old bytes under new addresses), and the
    // next move reads the whole page rather than build on the old picture.
    if (!LoadPageRows(FTopIndex, 0, FPage.Rows())) {
        FPage.Forget(0, FPage.Rows());
        FPageStale = true;
        return;
    }
    FPageStale = false;
    FindPageMatches();
    DrawScreen();
}

void TOVHexViewer::ReloadRows(int first, int count) {
    if (FFileName.empty() || FTopIndex < 0 || FPageRows <= 0 || FPage.Empty())
        return;
    // The rows were moved away already; if they cannot be read they show
    // blank rather than the bytes that happen to lie there.
    if (!LoadPageRows(FTopIndex + first, first, count))
        FPage.Forget(first, count);
    FindPageMatches();
}

bool TOVHexViewer::LoadPageRows(int64_t fileRow, int first, int count) {
    return FUnsizedFile ? FPage.Load(*FUnsizedFile, FFileSize, fileRow, first, count)
                        : FPage.Load(FFileName, FFileSize, fileRow, first, count);
}

void TOVHexViewer::SetPageRow() {
    if (!FWindowCreated)
        return;
    FPageRows = FLayout.PageRows(viewport()->height());
    SetPageBufferSize(FPageRows);
    // More rows on a page may leave the top row past the last page: rows
    // would hide above the view while blank rows show below it, and a file
    // that now fits whole could not be scrolled back to its start.
    int64_t old = FTopIndex;
    if (FTopIndex > 0)
        FTopIndex = ClampHexTopIndex(FTopIndex, FRowCount, std::max(FPageRows, 1));
    ReloadPage();
    if (FTopIndex != old) {
        FVertScrollPos = FTopIndex;
        UpdateScrollBar(skVertical);
        FireTopIndexChanged();
    }
}

void TOVHexViewer::UpdateScrollBar(TScrollKind kind) {
    if (kind == skVertical || kind == skBoth) {
        QScrollBar* bar = verticalScrollBar();
        if (FRowCount > FPageRows) {
            // The system bar's convention: the thumb reaches RowCount - PageRows + 1.
            FVertScale.SetLastRow(FRowCount - FPageRows + 1);
            SetBarRange(bar, FVertScale.MaxPosition(), FVertScale.PageStep(FPageRows));
            // A new range or scale moves the row's position on the bar.
            if (FTopIndex >= 0)
                FVertScrollPos = std::min(FTopIndex, FVertScale.LastRow());
            SetBarValue(bar, FVertScale.PositionOfRow(FVertScrollPos));
            bar->setEnabled(true);
        } else {
            // The view keeps its own position; the bar shows no thumb that
            // would suggest something to scroll.
            SetBarRange(bar, 0, bar->pageStep());
            bar->setEnabled(false);
        }
    }
    if (kind == skHorizontal || kind == skBoth) {
        QScrollBar* bar = horizontalScrollBar();
        TOVHexLayout::THorzRange range = FLayout.HorzRange(viewport()->width());
        FHorzBarActive = range.Active;
        int position = range.Active ? std::min(FHorzScrollPos, range.LastPosition()) : 0;
        if (range.Active)
            SetBarRange(bar, range.LastPosition(), std::max(range.Page, 1));
        else
            SetBarRange(bar, 0, bar->pageStep());
        bar->setEnabled(range.Active);
        // A bar that shrinks or goes away takes the sideways shift with it;
        // otherwise no step could bring the columns back.
        if (position != FHorzScrollPos) {
            FHorzScrollPos = position;
            SetBarValue(bar, position);
            FHorzOffset = position * FLayout.Metrics().CharWidth;
            DrawScreen();
        }
    }
}

void TOVHexViewer::SetScrollPos(int64_t position, TScrollKind kind) {
    if (kind == skVertical) {
        if (position >= FRowCount || FPageRows >= FRowCount)
            return;
        FVertScrollPos = std::clamp<int64_t>(position, 0, FVertScale.LastRow());
        SetBarValue(verticalScrollBar(), FVertScale.PositionOfRow(FVertScrollPos));
    } else if (kind == skHorizontal) {
        if (!FHorzBarActive)
            return;
        QScrollBar* bar = horizontalScrollBar();
        SetBarValue(bar, static_cast<int>(std::clamp<int64_t>(position, 0, bar->maximum())));
        FHorzScrollPos = bar->value();
    }
}

void TOVHexViewer::ClearBackBuffer() {
    if (!FBackBuffer.isNull())
        FBackBuffer.fill(FColor);
}

void TOVHexViewer::DrawScreen() {
    if (FBackBuffer.isNull())
        return;
    ClearBackBuffer();
    if (FTopIndex >= 0 && !FPage.Empty()) {
        QPainter painter(&FBackBuffer);
        FPainter.Begin(painter);
        DrawLines(painter, 0, FPageRows);
    }
    Paint();
}

void TOVHexViewer::DrawLines(QPainter& painter, int first, int count) {
    first = std::max(first, 0);
    int last = std::min(first + count, std::min(FPageRows, FPage.Rows()));
    for (int r = first; r < last; ++r)
        FPainter.DrawRow(painter, FLayout, r, FTopIndex + r, FPage.Row(r),
                         FPage.BeginsInsideChar(r), FHorzOffset, FAddressDigits,
                         FBackBuffer.width());
}

void TOVHexViewer::Paint() {
    if (FTopIndex < 0 || FPage.Empty())
        ClearBackBuffer();
    viewport()->update();
}

// The incremental path of SetTopIndex: 0 < d < PageRows rows moved.
void TOVHexViewer::ScrollPixels(int64_t oldTop) {
    int d = static_cast<int>(oldTop < FTopIndex ? FTopIndex - oldTop : oldTop - FTopIndex);
    int pitch = FLayout.RowPitch();
    int height = FBackBuffer.height();
    int width = FBackBuffer.width();
    int textTop = FLayout.Metrics().TextTop;
    int pageBottom = FLayout.RowY(FPageRows);
    if (oldTop < FTopIndex) {
        FPage.ShiftUp(d);
        ReloadRows(FPageRows - d, d);
        MoveBackBufferRows(textTop + d * pitch, textTop, height - (textTop + d * pitch));
        QPainter painter(&FBackBuffer);
        FPainter.Begin(painter);
        int strip = FLayout.RowY(FPageRows - d - 1);
        FPainter.Clear(painter, strip, height - strip, width);
        DrawLines(painter, FPageRows - d - 1, d + 1);
    } else {
        FPage.ShiftDown(d);
        ReloadRows(0, d);
        MoveBackBufferRows(0, d * pitch, height - d * pitch);
        QPainter painter(&FBackBuffer);
        FPainter.Begin(painter);
        FPainter.Clear(painter, 0, d * pitch, width);
        // The rows pushed below the page must not peek out under it.
        FPainter.Clear(painter, pageBottom, height - pageBottom, width);
        DrawLines(painter, 0, d);
    }
    Paint();
}

void TOVHexViewer::MoveBackBufferRows(int fromY, int toY, int height) {
    if (FBackBuffer.isNull())
        return;
    int rows = FBackBuffer.height();
    height = std::min({height, rows - fromY, rows - toY});
    if (height <= 0 || fromY < 0 || toY < 0)
        return;
    qsizetype stride = FBackBuffer.bytesPerLine();
    uchar* bits = FBackBuffer.bits();
    std::memmove(bits + toY * stride, bits + fromY * stride, static_cast<size_t>(height * stride));
}

void TOVHexViewer::SetColor(const QColor& color) {
    if (color == FColor)
        return;
    FColor = color;
    FPainter.SetColors(FColor, FFontColor);
    DrawScreen();
}

void TOVHexViewer::SetFontColor(const QColor& color) {
    if (color == FFontColor)
        return;
    FFontColor = color;
    FPainter.SetColors(FColor, FFontColor);
    DrawScreen();
}

void TOVHexViewer::SetBorderStyle(TBorderStyle style) {
    if (style == FBorderStyle)
        return;
    FBorderStyle = style;
    ApplyFrame();
}

void TOVHexViewer::SetCtl3D(bool value) {
    if (value == FCtl3D)
        return;
    FCtl3D = value;
    ApplyFrame();
}

void TOVHexViewer::ApplyFrame() {
    if (FBorderStyle == TBorderStyle::None)
        setFrameStyle(QFrame::NoFrame);
    else if (FCtl3D)
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    else
        setFrameStyle(QFrame::Box | QFrame::Plain);
}

void TOVHexViewer::Remeasure() {
    FLayout.SetMetrics(FPainter.Measure(FLayout.Metrics(), FAddressDigits));
}

void TOVHexViewer::FireTopIndexChanged() {
    if (OnTopIndexChanged)
        OnTopIndexChanged(this);
}

} // namespace ov
