#pragma once
// TOVSynTextViewer: the read-only text view of the program. It shows its
// document (a styled line list) as display rows, optionally highlighted,
// wrapped, with line numbers and a selection, drawn with the Korean bitmap
// fonts or with the widget's outline font.
//
// The view owns its document, its highlighter, its wrapped rows and its back
// buffer, an image of the client area into which every row is drawn; the
// window only ever shows a copy of that image. Display rows are the lines of
// the document, or their wrapped segments while WordWrap is on; TopIndex, the
// row count, the line numbers and OnDrawLine count display rows.

#include "Backgroundmarker.h"
#include "Charwidths.h"
#include "Loadfollower.h"
#include "Matchhighlight.h"
#include "Openstyles.h"
#include "Ovstrings.h"
#include "Qtcolor.h"
#include "Qttextdraw.h"
#include "Rowmarks.h"
#include "Viewerhighlighter.h"
#include "Viewerjob.h"
#include "Viewerlayout.h"
#include "Wrapedlines.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QPainter;
class QTimer;

namespace ov {

class TMarkedScrollBar;
class TTextCanvas;

// The colours of one paint pass, turned into pixels once: the view's own
// text and background colours and, as they are met, the styles' colours.
struct TPaintColors {
    struct TPair {
        QRgb Fore = 0;
        QRgb Back = 0;
        bool Known = false;
    };
    void Reset(TColor fore, TColor back);
    const TPair& Style(TStyleByte id, const TViewerHighlighter& highlighter);

    QRgb Fore = 0;
    QRgb Back = 0;
    TPair Styles[256];
};

class TOVSynTextViewer : public QAbstractScrollArea {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(TOVSynTextViewer* sender)>;
    // canvas paints on the back buffer; index is the display row, y its top,
    // lineNumWidth the width of the line-number area (0 when hidden).
    using TDrawLineEvent = std::function<void(TOVSynTextViewer* sender, QPainter& canvas, int index,
                                              int y, int lineNumWidth)>;
    // files: full paths (UTF-8), valid during the call.
    using TDropFilesEvent =
        std::function<void(TOVSynTextViewer* sender, const std::vector<std::string>& files)>;
    using TKeyEvent =
        std::function<void(TOVSynTextViewer* sender, int key, Qt::KeyboardModifiers shift)>;

    enum class TBorderStyle { None, Single };
    enum TScrollBarKind : unsigned { sbHorizontal = 0, sbVertical = 1, sbBoth = 3 };

    // highlighter null: the program's highlighter on the shipped "Syntax"
    // folder and the user's own definitions (Appfolders.h).
    explicit TOVSynTextViewer(QWidget* parent = nullptr,
                              std::unique_ptr<TViewerHighlighter> highlighter = nullptr);
    ~TOVSynTextViewer() override;

    // The document. Changing it notifies the view once per update bracket.
    TOVSynStringList& Lines() { return *FLines; }
    const TOVSynStringList& Lines() const { return *FLines; }
    // Copies source into the document.
    void SetLines(const TOVStringList& source);
    // How the document's bytes form characters. Code that walks a line of
    // the document character by character (selection ends, copied text,
    // find, lists of lines) steps with Coding(): see Charcoding.h.
    TTextCoding TextCoding() const { return FLines->Coding(); }
    const TCharCoding& Coding() const { return FLines->CharCoding(); }

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool UseBitmapFont() const { return FUseBitmapFont; }
    void SetUseBitmapFont(bool value);
    bool EnabeHighlighting() const { return FEnableHighlighting; }
    void SetEnableHighlighting(bool value);
    const std::string& SynLang() const { return FSynLang; }
    void SetSynLang(const std::string& value);
    uint16_t TabWidth() const { return FTabWidth; }
    void SetTabWidth(uint16_t value);
    bool ShowLineNum() const { return FShowLineNum; }
    void SetShowLineNum(bool value);
    uint16_t WheelScrollLines() const { return FWheelScrollLines; }
    void SetWheelScrollLines(uint16_t value) { FWheelScrollLines = value; }
    uint16_t LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(uint16_t value);
    uint16_t TopMargin() const { return FTopMargin; }
    void SetTopMargin(uint16_t value);
    uint16_t LineSpace() const { return FLineSpace; }
    void SetLineSpace(uint16_t value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    // The view's background: BackColor, or the Normal style's background
    // while highlighting is active.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor value);
    TColor ForeColor() const { return FForeColor; }
    void SetForeColor(TColor value);
    TColor LineNumColor() const { return FLineNumColor; }
    void SetLineNumColor(TColor value);
    TColor LineNumBackColor() const { return FLineNumBackColor; }
    void SetLineNumBackColor(TColor value);

    // Bitmap font file names in the folder "Fonts" beside the executable.
    // The files are read when the first row is drawn with them, or when a
    // setter names another file; SetFontFiles sets all four with one read.
    struct TFontFiles {
        std::string Han, Eng, KSG, SPC;
        friend bool operator==(const TFontFiles&, const TFontFiles&) = default;
    };
    TFontFiles FontFiles() const { return {FHanFont, FEngFont, FKSGFont, FSPCFont}; }
    void SetFontFiles(const TFontFiles& files);
    std::string HanFont() const { return FHanFont; }
    void SetHanFont(const std::string& value);
    std::string EngFont() const { return FEngFont; }
    void SetEngFont(const std::string& value);
    std::string KSGFont() const { return FKSGFont; }
    void SetKSGFont(const std::string& value);
    std::string SPCFont() const { return FSPCFont; }
    void SetSPCFont(const std::string& value);
    // Reads the five files now (the four named and "hanja.fnt").
    void LoadBitmapFonts();

    // First display row shown; -1 while nothing is shown. Values are clamped
    // to 0 .. RowCount - VisibleRows + 1 (0 when every row fits).
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int value);

    // The selection in line coordinates: both ends inclusive, Start where it
    // was anchored; empty for none. A later end on the first byte of a
    // double-byte character selects the whole character.
    const TTextRange& Selection() const { return FSelection; }
    TTextPoint SelStart() const { return FSelection.Start(); }
    TTextPoint SelEnd() const { return FSelection.End(); }
    // Stores the point and nothing else.
    void SetSelStart(TTextPoint value) { FSelection = {value, FSelection.End()}; }
    // Stores the point when both ends are valid locations; otherwise clears
    // the selection. Rows whose selection changed are drawn again.
    void SetSelEnd(TTextPoint value);
    // SetSelStart and SetSelEnd in one: range, or none when an end of it is
    // not a valid location.
    void SetSelection(const TTextRange& range);
    // SetSelection, then scrolls so that the range's first row is shown; a
    // range already wholly on screen scrolls nothing.
    void SelectAndShow(const TTextRange& range);
    // Scrolls the least that shows the display row of linePoint (a line
    // position), if it is valid.
    void ShowLocation(TTextPoint linePoint);
    bool IsSelection() const { return !FSelection.IsEmpty(); }
    bool IsValidLocation(int line, int column) const;
    bool IsLocationInSelText(int line, int column) const {
        return FSelection.Contains(line, column);
    }
    void Deselect();
    void SelectAll();
    // The selected bytes: whole characters, lines joined by "\r\n", no
    // break after the last; empty without a valid selection.
    std::string GetSelText() const;
    // The selected text in Unicode with LF line ends, as the clipboard gets
    // it.
    QString GetSelUnicode() const;
    // Puts the selected text on the clipboard; nothing without a selection.
    void CopyToClipboard();
    // Puts the text of range on the clipboard, as a job when the document is
    // long (WholeDocumentIsLong); nothing for an invalid range.
    void CopyRange(const TTextRange& range);
    // Copies the whole document, the selection unchanged; asks first when
    // the document has LargeCopyLines lines or more.
    void CopyAll();
    static constexpr int LargeCopyLines = 100000;
    // The bytes of the document's text (a mapped file's as mapped).
    std::uint64_t TextBytes() const;
    // The character under the client point (x, y). In row coordinates with
    // the special values of Hittest.h; with toLine in line coordinates, or
    // (-1, -1) for a point outside the text.
    TTextPoint GetCharLocationAt(int x, int y, bool toLine) const;

    // Metrics.
    int LineHeight() const { return FLineHeight; }
    int VisibleRows() const { return FVisibleRows; }
    int RowCount() const { return FRowCount; }
    // Pixels; 64-bit, since a long line may be wider than 2^31 pixels.
    long long MaxStrWidth() const { return FMaxStrWidth; }
    long long HorzOffset() const { return FHorzOffset; }
    int VertScrollPos() const { return FVertScrollPos; }
    int HorzScrollPos() const { return FHorzScrollPos; }
    bool HighlightActive() const { return FHighlightActive; }
    uint16_t GetGutterWidth() const;
    int GetLineNumWidth() const;
    long long GetMaxStrWidth() const;
    // The widest of lines first .. end - 1 if wider than widest, else widest.
    long long WidestLine(int first, int end, long long widest) const;
    int HorzUnit() const;
    int ClientWidth() const;
    int ClientHeight() const;

    // Word wrap.
    const TWrapedLines& WrapedLines() const { return FWrapedLines; }
    void MakeWrapedLines(bool repaint);
    void ClearWrapedLines();
    // Empties the rows; a block of millions of rows is freed by a worker.
    void DropWrapedRows();
    // A document too long to wrap at once (still indexing, or at least the
    // first part the policy indexes at once) is wrapped in parts: the shown
    // rows before they are painted, the rest by a timer on this thread.
    bool WrapsInParts() const;
    void StartWrapInParts(TTextPoint topText, int gutterFloor);
    void OnWrapTimer();
    // Wraps the lines of the shown rows and a screen around them; false when
    // no row changed.
    bool WrapShownRows();
    // The line and column the top row shows (the start of row FTopIndex).
    TTextPoint TopText() const;
    // Takes the row count of the wrapped rows, keeping the top row on
    // topText; false when neither the count nor the top row changed.
    bool TakeWrapedRows(TTextPoint topText);
    TTextPoint OriginToWraped(TTextPoint linePoint) const;
    TTextPoint WrapedToOrigin(TTextPoint rowPoint) const;
    // The bytes of a display row (0 <= row < RowCount).
    TRowSpan RowSpan(int row) const;

    // The document changed (the handler of Lines' OnChange).
    void LinesChange();
    // Lines beyond those the view has taken account of have arrived (no
    // wrapping: rows are lines).
    void LinesAppended();
    void OnLoadTimer();
    // Takes what the mapped document's file has grown by
    // (TOVStringList::GrowMappedText): the new lines are shown and marked as
    // the whole document would be, going on from the marks before the old
    // end (a comment or string left open there goes on into the new lines).
    // False, with nothing changed, when the document cannot grow in place.
    bool GrowText();
    // Moves on to a top row asked for before the index reached it.
    void FollowPendingTop();
    void StartLoadTimer();
    // Rereads the language's styles and highlights again.
    void RefreshStyle();

    // Painting.
    void DrawScreen(bool invalidate);
    void DrawLines(TTextCanvas& canvas, int first, int count);
    TStyleByte GetLastStyle(int row);
    const QImage& BackBuffer() const { return FBackBuffer; }

    // Scrolling.
    void UpdateScrollBar(unsigned kind);
    void SetScrollPos(int pos, unsigned kind);
    void VertScroll(TScrollCode code, int trackPosition = 0);
    void HorzScroll(TScrollCode code, int trackPosition = 0);

    // A large file's lines arrive while it is shown (the document indexes
    // them in the background): the row count, the scroll range and the
    // widest line follow every tenth of a second, and OnLoadProgress tells
    // how far the index has come. A top row beyond the lines indexed (End,
    // a jump) is reached as the index gets there, the window answering
    // meanwhile. FinishLoading waits for the rest; whatever needs every
    // line (word wrap, select all, copy all) calls it first.
    void FinishLoading();
    // The command that runs longer than the window may wait (Viewerjob.h):
    // select all and copy all while the document is indexed or when it is
    // large, and the window's commands of the same kind. Escape is the
    // window's to map to Cancel; a change of the document cancels it.
    TViewerJob& Job() { return FJob; }
    bool JobRunning() const { return FJob.Running(); }
    // A command over the whole document runs as a job: it is still indexed,
    // or mapped and at least the policy's size. A converted text still
    // read by its worker cannot be shared with a job: the command waits for
    // the rest of it first (FinishLoading), and runs at once.
    bool WholeDocumentIsLong();
    TNotifyEvent OnJobChange;
    // The marks of a large document are made on a worker thread, which
    // starts once the document is wholly indexed; only the rows around those
    // shown hold marks, made as they are painted from a checkpoint of the
    // worker before them (Backgroundmarker.h). FinishHighlighting waits for
    // the index and the worker (the view itself never does).
    void FinishHighlighting();
    bool HighlightingInBackground() const { return FMarker.State() == TMarkerState::Scanning; }
    // True while the rows outside the shown part are being wrapped.
    bool WrappingInBackground() const;
    // After the worker: every row shown is marked from a checkpoint.
    bool MarksOnlyWhereShown() const { return FMarker.State() == TMarkerState::Windowed; }
    // The rows shown carry the whole scan's marks (false while they are
    // marked from a guess, far beyond where the worker has come).
    bool ShownMarksExact() const {
        return FMarker.State() == TMarkerState::Idle || FMarker.WindowExact();
    }
    // How the view's document is loaded and highlighted from the next file
    // or language on (the document takes the same policy).
    const TLoadPolicy& LoadPolicy() const { return FLoadPolicy; }
    void SetLoadPolicy(const TLoadPolicy& policy);
    bool Loading() const { return FLines->Loading(); }
    // The top row the view is on, or the one it is heading for while the
    // index has not reached it (a file closed meanwhile keeps its place).
    int IntendedTopIndex() const { return FLoadFollower.IntendedTop(FTopIndex); }
    double LoadProgress() const { return FLines->LoadProgress(); }
    TNotifyEvent OnLoadProgress;

    // Every match of a search, marked in the rows shown (the match colour
    // under the text's own colours; the selection wins) and along the
    // vertical scroll bar, and counted over the whole document: at once for
    // a short one, by a worker of its own for a long one, started once the
    // view's job is done so that it never holds up a Find. make is asked
    // again for each document the view is given; null marks nothing. A
    // change of the document or a file that grows starts the count again.
    void SetMatchHighlight(TMatcherMaker make);
    void ClearMatchHighlight();
    bool MatchHighlightActive() const { return FRowMatcher != nullptr; }
    TColor MatchColor() const { return FMatchColor; }
    void SetMatchColor(TColor value);
    struct TMatchCount {
        long long Count = 0;
        // Every match of the document is counted.
        bool Complete = false;
    };
    // Zero and incomplete without a highlight.
    TMatchCount MatchCount() const;
    // The runs of line marked as matches (none without a highlight).
    const std::vector<TMatchRun>& MatchRunsOf(int line);
    TMarkedScrollBar& MarkedScrollBar() const;
    // The highlight was set or cleared, or the count moved on.
    TNotifyEvent OnMatchCountChange;

    TNotifyEvent OnTopIndexChanged;
    // The number of display rows changed: lines arrived or went, word wrap
    // was switched, or the wrapped rows were made again for another width
    // or font. Fires once the top row is back in range.
    TNotifyEvent OnRowCountChanged;
    TDrawLineEvent OnDrawLine;
    TDropFilesEvent OnDropFiles;
    TKeyEvent OnKeyDown;
    TNotifyEvent OnDblClick;
    // The selection changed: by the mouse, a command, a setter (not by
    // SetSelStart alone) or a change of the document that cleared it.
    TNotifyEvent OnSelectionChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Painting parts.
    void DrawRow(TTextCanvas& canvas, int row, int y, int gutter);
    void SkipPastEdge(TTextCanvas& canvas, const TRowSpan& span, const char* text,
                      const TStyleByte* styles, int p);
    void ApplyCharColors(TTextCanvas& canvas, const TRowSpan& span, const TStyleByte* styles, int p,
                         bool& selected);
    int DrawChar(TTextCanvas& canvas, const char* text, int p, int length, int rowLength, int x,
                 int y);
    int DrawCodedChar(TTextCanvas& canvas, std::string_view row, int p, int x, int y);
    void DrawLineNumber(TTextCanvas& canvas, int row, int y, int lineNumWidth);
    void PushStyle(TTextCanvas& canvas, TStyleByte id);
    void PopStyle();
    void SetStyle(TTextCanvas& canvas, TStyleByte id);
    void RestoreLastStyle(TTextCanvas& canvas);
    QRgb StyleFore(TStyleByte id) const;
    QRgb StyleBack(TStyleByte id) const;
    QRgb SelectionBack() const;
    QRgb SelectionText() const;
    void FlushToWindow();
    // Draws again the visible rows that look different under the selection
    // the back buffer shows than under the current one.
    void RepaintSelectionChange();
    // Mouse selection and its edge auto-scroll.
    enum class TSelScroll { None, Up, Down, Left, Right };
    void ExtendSelection(QPoint pointer);
    void UpdateSelScroll(QPoint pointer);
    void StopSelScroll();
    void OnScrollTimer();
    // The byte count of the character that starts at column of line (1 for
    // a byte inside a character).
    int CharBytesAt(int line, int column) const;


    // Metrics and layout.
    void SetLineHeight();
    void UpdateVisibleRows();
    void UpdateHighlightState(bool execute);
    void ExecuteHighlighter();
    void StartHighlightTimer();
    void StopBackgroundHighlighting();
    void OnHighlightTimer();
    // Waits for the worker and puts its marks in place, without painting.
    void FontChanged();
    void FontMetricsChanged();
    void WMSize();
    bool KeepTopIndexInRange();
    // Fires OnRowCountChanged when the row count differs from the one told
    // last.
    void NotifyRowCount();
    const TCharWidths& Widths() const;
    void ResetWidths();
    void InvalidateStyleRecord() {
        FOpenStyles.Invalidate();
        FLineMarks.Invalidate();
    }
    void ResetHorzScroll();
    // Matches of the search highlighted (Ovsyntextviewermatches.cpp).
    void RestartMatches();
    // Counts from fromLine on, keeping what the counter holds of the lines
    // before (0: the whole document anew).
    void StartMatchCount(int fromLine = 0);
    // Before the text grows from its last line, line: the count lets go of
    // the text, keeping what it counted before line (FMatchCountHeld).
    void HoldMatchCount(int line);
    void MatchesGrown(int from);
    void OnMatchTimer();
    void UpdateMatchTicks();
    // Drops the runs kept of lines no longer shown, now and then.
    void ForgetShownMatches();
    void OnVertAction(int action);
    void OnHorzAction(int action);

    std::unique_ptr<TOVSynStringList> FLines;
    std::unique_ptr<TViewerHighlighter> FHighlighter;
    TLoadPolicy FLoadPolicy;
    TBackgroundMarker FMarker;
    TWrapedLines FWrapedLines;
    // Frees rows given up by DropWrapedRows; declared after FWrapedLines so
    // that it is joined before the rows' text goes.
    std::unique_ptr<TBackgroundJob> FRowsFreeing;
    TOpenStyleRecord FOpenStyles;
    TLineMarkIndex FLineMarks;
    QImage FBackBuffer;
    TQtTextDrawer FTextDrawer;
    std::unique_ptr<TCharWidths> FWidths;

    bool FWordWrap = false;
    bool FUseBitmapFont = true;
    bool FEnableHighlighting = true;
    uint16_t FTabWidth = 4;
    bool FShowLineNum = true;
    uint16_t FWheelScrollLines = 3;
    TBorderStyle FBorderStyle = TBorderStyle::Single;
    std::string FSynLang;
    int FTopIndex = -1;
    TTextRange FSelection;
    // The selection as the back buffer shows it.
    TTextRange FShownSelection;
    TTextPoint FSelAnchor;
    uint16_t FLeftMargin = 2;
    uint16_t FTopMargin = 2;
    uint16_t FLineSpace = 2;
    TColor FColor = clWindow;
    TColor FBackColor = clWindow;
    TColor FForeColor = clWindowText;
    TColor FLineNumColor = clWindowText;
    TColor FLineNumBackColor = clWindow;
    std::string FHanFont = "default.han";
    std::string FEngFont = "default.eng";
    std::string FKSGFont = "default.ksg";
    std::string FSPCFont = "default.ksg";
    bool FFontsLoaded = false;

    int FLineHeight = 0;
    int FVisibleRows = 0;
    int FRowCount = 0;
    int FNotifiedRowCount = 0;
    long long FMaxStrWidth = 0;
    // The widest of the first Lines lines unwrapped, in the current widths,
    // so that turning word wrap off measures only the lines after them;
    // Lines is -1 when it is not known (other text, other widths).
    struct TWidestKnown {
        long long Width = 0;
        int Lines = -1;
    };
    mutable TWidestKnown FWidestKnown;
    // Lines taken by a tick of the load timer are measured for the widest a
    // slice of MeasureSliceMs at a time, the rest on the following ticks, so
    // that lines decoded one by one (wide characters) never hold the window.
    bool FInLoadTick = false;
    // Set when the lines a tick took were measured by it.
    bool FMeasuredInTick = false;
    static constexpr int MeasureSliceMs = 20;
    // Lines measured between two looks at the clock.
    static constexpr int MeasureStretch = 1024;
    // Measures the next slice of the lines not yet measured, the horizontal
    // bar following; true while some remain.
    bool MeasureWidestSlice();
    // Measures stretches of the lines not yet measured for ms milliseconds
    // (one stretch for 0), without touching the bar; true while some remain.
    bool MeasureWidestPart(int ms);
    // Sets FMaxStrWidth for the lines not yet measured: all of them at once
    // in a document handled at once; in one handled in parts (being indexed,
    // or a mapped file of a first part or more) one stretch, the rest on the
    // load timer's ticks, so that a huge file's widest line never holds the
    // window.
    void MeasureWidest();
    bool MeasuresInParts() const;
    long long FHorzOffset = 0;
    int FVertScrollPos = 0;
    int FHorzScrollPos = 0;
    bool FSelecting = false;
    TWheelNotches FWheelNotches;
    // The last pointer position of the drag, in client coordinates.
    QPoint FSelPointer;
    // Exists only while a drag is held near or past an edge.
    std::unique_ptr<QTimer> FSelScrollTimer;
    // Runs while the document is still indexing.
    std::unique_ptr<QTimer> FLoadTimer;
    TLoadFollower FLoadFollower;
    // Polls the marker's worker while it scans.
    std::unique_ptr<QTimer> FHighlightTimer;
    static constexpr int HighlightPollInterval = 50;
    static constexpr int LoadInterval = 100;
    // Runs while a wrap in parts has lines left; FWrapGutter is the gutter
    // its rows are made for, never narrower than the one drawn.
    std::unique_ptr<QTimer> FWrapTimer;
    bool FWrapInParts = false;
    int FWrapGutter = 0;
    static constexpr int WrapSliceMs = 8;
    static constexpr int WrapStepLines = 256;
    // Shown rows further than this many lines from the wrapped block start
    // a new block there instead of wrapping the lines between.
    static constexpr int WrapFarLines = 4096;
    TSelScroll FSelScrollDirection = TSelScroll::None;
    static constexpr int SelScrollInterval = 50;
    bool FHighlightActive = false;

    // The style stack of one DrawLines call.
    static constexpr int StyleStackSize = 10;
    TStyleByte FStyleStack[StyleStackSize] = {};
    mutable TPaintColors FPaintColors;
    int FStyleTop = -1;
    // The search highlighted: FMatchMaker makes the rows' matcher and the
    // counter's; the runs of the lines painted are kept by line.
    TMarkedScrollBar* FMarkedBar = nullptr;
    TMatcherMaker FMatchMaker;
    std::unique_ptr<TLineMatcher> FRowMatcher;
    std::unordered_map<int, std::vector<TMatchRun>> FMatchRuns;
    // The runs of the row being drawn; null when nothing is highlighted.
    const std::vector<TMatchRun>* FRowRuns = nullptr;
    TColor FMatchColor = RGBColor(0xFF, 0xE0, 0x66);
    QRgb FMatchRgb = 0; // of the paint pass
    TMatchCounter FMatchCounter;
    // The count waits for the view's job to end.
    bool FMatchCountPending = false;
    // The line the waiting count starts at.
    int FMatchCountFrom = 0;
    // Between HoldMatchCount and the growth: the line to count on from; -1
    // when nothing is held.
    int FMatchCountHeld = -1;
    TMatchCount FShownMatchCount;
    std::unique_ptr<QTimer> FMatchTimer;
    // Last, so that it goes first: a job's done may use every member above.
    TViewerJob FJob;
};

} // namespace ov
