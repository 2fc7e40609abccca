#pragma once
// TOVHexViewer: a read-only hexadecimal view of a file of any size. It never
// loads the whole file: it keeps the rows on screen in a page buffer and
// reads them on demand, opening the file for each read and closing it at
// once (a file that reports a size of 0 is read once, SetFile). Everything is drawn into a back buffer of the client size that the
// paint event copies to the screen in one piece; scrolling by less than a
// page moves the buffer's pixels and bytes and reads and draws only the rows
// that came into view.
//
// Sizes, offsets and rows are 64-bit. The vertical scroll bar counts rows
// while they fit its int range and is scaled beyond that (TOVScrollScale).
// The view owns its page and back buffer, and shares the opening of an
// unsized file; it borrows nothing.

#include "Files.h"
#include "Ovhexlayout.h"
#include "Ovhexpage.h"
#include "Ovhexpainter.h"
#include "Scrollinput.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>

#include <cstdint>
#include <functional>
#include <string_view>
#include <string>
#include <vector>

namespace ov {

class TOVHexViewer : public QAbstractScrollArea {
public:
    enum class TBorderStyle { None, Single };
    enum TScrollKind { skHorizontal = 0, skVertical = 1, skBoth = 3 };

    explicit TOVHexViewer(QWidget* parent = nullptr);
    ~TOVHexViewer() override;

    // Shows the file at path from its first row. A path that names no
    // readable file is ignored and the file shown so far stays.
    void SetFileName(const std::string& path);
    // The same for the file at path as opened in file (null: as
    // SetFileName). A file with a size is read again at path for each page,
    // as always; an unsized one (TReadOnlyFile::IsUnsized) pages over the
    // bytes of that opening, which the view keeps while it shows them.
    void SetFile(const std::string& path, TSharedFile file);
    // The opening the view reads an unsized file from; null otherwise.
    const TSharedFile& UnsizedFile() const { return FUnsizedFile; }
    // Marks the bytes offset .. offset + length - 1 (a match of Find) in
    // both columns and scrolls them into view when they are not on screen;
    // length 0 clears the mark. A new file clears it too.
    void SetMark(int64_t offset, int64_t length);
    int64_t MarkOffset() const { return FMarkOffset; }
    int64_t MarkLength() const { return FMarkLength; }
    // Marks every match of bytes among the rows shown on the match colour,
    // in both columns, under the mark of SetMark; the rows that come into
    // view are marked as they are read. Only the rows shown and the length
    // of bytes less one on either side are read for it, never the rest of
    // the file. Empty bytes clears the marks; they outlast a new file.
    void SetMatchBytes(const std::string& bytes, bool caseSensitive);
    void ClearMatchBytes() { SetMatchBytes({}, true); }
    bool MatchBytesActive() const { return !FMatchBytes.empty(); }
    QColor MatchColor() const { return FMatchColor; }
    void SetMatchColor(const QColor& color);
    // Where bytes begin in the file shown (Hexfind.h's FindBytes over the
    // opening the view reads), or -1; also -1 when the file cannot be read.
    int64_t FindBytes(std::string_view bytes, bool caseSensitive, int64_t from,
                      bool backward) const;

    // The file shown has grown (a followed log): the size, the rows and the
    // scroll range follow it, the top row and the mark stay, and the rows
    // shown are read again; nothing else of the file is read. False, with
    // nothing changed, for an unsized file or one that did not grow.
    bool Grow();
    // Forgets the file: empty view, TopIndex -1.
    void CloseFile();
    // Scrolls so that row is at the top, clamped to the last page. Ignored
    // while no file is open.
    void SetTopIndex(int64_t row);

    const std::string& FileName() const { return FFileName; }
    // Size when the file was set or grew; a file that changes on disk keeps
    // it until it is set again or Grow.
    int64_t FileSize() const { return FFileSize; }
    int64_t RowCount() const { return FRowCount; }
    int PageRows() const { return FPageRows; }
    int64_t TopIndex() const { return FTopIndex; }
    int HorzOffset() const { return FHorzOffset; }
    int64_t VertScrollPos() const { return FVertScrollPos; }
    int HorzScrollPos() const { return FHorzScrollPos; }
    bool HorzBarActive() const { return FHorzBarActive; }
    int LineHeight() const { return FLayout.Metrics().LineHeight; }
    int AddressDigits() const { return FAddressDigits; }
    const TOVHexLayout& Layout() const { return FLayout; }
    const TOVScrollScale& VertScale() const { return FVertScale; }
    int64_t PageBufferSize() const { return FPage.SizeInBytes(); }
    const TOVHexPage& Page() const { return FPage; }
    // The picture as it reaches the screen.
    const QImage& BackBuffer() const { return FBackBuffer; }

    QColor Color() const { return FColor; }
    void SetColor(const QColor& color);
    QColor FontColor() const { return FFontColor; }
    void SetFontColor(const QColor& color);
    int WheelLines() const { return FWheelLines; }
    void SetWheelLines(int lines) { FWheelLines = lines; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);

    // The steps the view is built from; the host normally needs none of them.
    void SetPageBufferSize(int rows);
    void ReloadPage();
    void ReloadRows(int first, int count);
    void SetPageRow();
    void UpdateScrollBar(TScrollKind kind);
    // Moves one bar's thumb; the position the bar accepts after its own
    // clamping becomes VertScrollPos (a row) or HorzScrollPos.
    void SetScrollPos(int64_t position, TScrollKind kind);
    void DrawScreen();
    void DrawLines(QPainter& painter, int first, int count);
    void Paint();

    // Scroll requests as the bars and keys send them: line and page steps,
    // and a thumb position in the bar's own units.
    void WMVScroll(TScrollCode code, int thumbPosition = 0);
    void WMHScroll(TScrollCode code, int thumbPosition = 0);

    // Events; an unassigned one is skipped. Paths are UTF-8, in the order
    // the drop delivered them; the list lives for the call only.
    std::function<void(TOVHexViewer* sender)> OnTopIndexChanged;
    std::function<void(TOVHexViewer* sender, const std::vector<std::string>& files)> OnDropFiles;
    std::function<void(TOVHexViewer* sender, int key, Qt::KeyboardModifiers shift)> OnKeyDown;
    std::function<void(TOVHexViewer* sender)> OnDblClick;
    std::function<void(TOVHexViewer* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                       int x, int y)>
        OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void WMSize();
    void CMFontChanged();
    void KeyDown(int key, Qt::KeyboardModifiers shift);
    void ApplyFrame();
    void Remeasure();
    // FPage.Load from the file shown: its kept opening or its path.
    bool LoadPageRows(int64_t fileRow, int first, int count);
    void ScrollPixels(int64_t oldTop);
    void MoveBackBufferRows(int fromY, int toY, int height);
    void VerticalBarAction(int action);
    void HorizontalBarAction(int action);
    void VerticalBarMoved(int value);
    void HorizontalBarMoved(int value);
    void ClearBackBuffer();
    void FireTopIndexChanged();
    // Hands the painter the matches of the search over the rows shown.
    void FindPageMatches();

    TOVHexLayout FLayout;
    TOVHexPainter FPainter;
    TOVHexPage FPage;
    TOVScrollScale FVertScale;
    QImage FBackBuffer;
    bool FWindowCreated = false;
    // True after a full read failed: picture and page are not those of TopIndex.
    bool FPageStale = false;

    std::string FFileName;
    TSharedFile FUnsizedFile; // the bytes of an unsized file, read once
    int64_t FFileSize = 0;
    int64_t FRowCount = 0;
    int64_t FTopIndex = -1;
    int FPageRows = 0;
    int FAddressDigits = MinAddressDigits;
    int FHorzOffset = 0;
    int64_t FVertScrollPos = 0;
    int FHorzScrollPos = 0;
    bool FHorzBarActive = false;
    int FWheelLines = 3;
    TWheelNotches FWheelNotches;
    QColor FColor;
    QColor FFontColor;
    TBorderStyle FBorderStyle = TBorderStyle::Single;
    bool FCtl3D = true;
    int64_t FMarkOffset = 0;
    int64_t FMarkLength = 0;
    std::string FMatchBytes;
    bool FMatchCaseSensitive = true;
    QColor FMatchColor = QColor(0xFF, 0xE0, 0x66);
};

} // namespace ov
