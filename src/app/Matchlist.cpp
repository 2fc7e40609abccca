#include "Matchlist.h"

#include "Main.h"
#include "Messages.h"
#include "Qtcolor.h"
#include "Uiservices.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <QAbstractScrollArea>

#include <algorithm>
#include <climits>

namespace ov {

namespace {

constexpr int HeaderHeight = 16;
// How often a running search hands its lines to the list: the first rows
// come within this, the window answering between.
constexpr int TickMs = 30;
// How long a slice of a search on the window's thread may take.
constexpr int SliceMs = 8;
// A line whose first match lies further in than ShowStartBytes is shown
// from LeadBytes before that match; ShownBytes of it at most.
constexpr std::size_t ShowStartBytes = 80;
constexpr std::size_t LeadBytes = 24;
constexpr std::size_t ShownBytes = 400;
// The mark of a match: dark text on amber, readable on any scheme.
constexpr QRgb MatchBack = 0xFFFFC94D;
constexpr QRgb MatchFore = 0xFF000000;

QString ShownPiece(const TCharCoding& coding, std::string_view piece) {
    QString text = QString::fromUtf8(coding.ToUtf8(piece));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

} // namespace

// The rows of the list: a scroll area that paints the rows shown and
// nothing else.
class TMatchListRows : public QAbstractScrollArea {
public:
    explicit TMatchListRows(TMatchListPanel& panel) : QAbstractScrollArea(&panel), FPanel(panel) {
        setObjectName(QStringLiteral("MatchListRows"));
        setFocusPolicy(Qt::StrongFocus);
        setFrameStyle(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        verticalScrollBar()->setSingleStep(1);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(),
                [this] { viewport()->update(); });
    }

    int RowHeight() const { return fontMetrics().height() + 1; }
    int VisibleRows() const { return std::max(1, viewport()->height() / RowHeight()); }
    int Top() const { return verticalScrollBar()->value(); }

    int Current() const { return FPanel.FMatches.Count() == 0 ? -1 : FCurrent; }
    void SetCurrent(int row) {
        const int count = FPanel.FMatches.Count();
        if (count == 0)
            return;
        FCurrent = std::clamp(row, 0, count - 1);
        if (FCurrent < Top())
            verticalScrollBar()->setValue(FCurrent);
        else if (FCurrent >= Top() + VisibleRows())
            verticalScrollBar()->setValue(FCurrent - VisibleRows() + 1);
        viewport()->update();
    }

    // The row count or the document's lines changed.
    void Refresh() {
        const int count = FPanel.FMatches.Count();
        FCurrent = std::clamp(FCurrent, 0, std::max(count - 1, 0));
        verticalScrollBar()->setRange(0, std::max(0, count - VisibleRows()));
        verticalScrollBar()->setPageStep(VisibleRows());
        viewport()->update();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QAbstractScrollArea::resizeEvent(event);
        Refresh();
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(viewport());
        const TOVSynTextViewer& view = FPanel.FView;
        const QColor back(RgbFromColor(view.Color()));
        const QColor fore(RgbFromColor(view.ForeColor()));
        painter.fillRect(viewport()->rect(), back);
        const TMatchedLines& matches = FPanel.FMatches;
        const int count = matches.Count();
        const QFontMetrics metrics = fontMetrics();
        const int height = RowHeight();
        const int last = count == 0 ? 0 : matches.Line(count - 1) + 1;
        const int gutter = metrics.horizontalAdvance(QString(QString::number(last).size(), '9')) + 8;
        painter.fillRect(0, 0, gutter - 3, viewport()->height(),
                         QColor(RgbFromColor(view.LineNumBackColor())));
        const int top = Top();
        for (int row = top; row < count && (row - top) * height < viewport()->height(); ++row) {
            const int y = (row - top) * height;
            const bool current = row == FCurrent;
            if (current)
                painter.fillRect(gutter - 3, y, viewport()->width(), height,
                                 palette().color(hasFocus() ? QPalette::Highlight
                                                            : QPalette::Midlight));
            const int line = matches.Line(row);
            painter.setPen(QColor(RgbFromColor(view.LineNumColor())));
            painter.drawText(QRect(0, y, gutter - 6, height), Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(line + 1));
            const QColor text =
                current && hasFocus() ? palette().color(QPalette::HighlightedText) : fore;
            PaintLine(painter, line, gutter, y + metrics.ascent(), height, text);
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        const int page = std::max(1, VisibleRows() - 1);
        switch (event->key()) {
        case Qt::Key_Up: SetCurrent(FCurrent - 1); break;
        case Qt::Key_Down: SetCurrent(FCurrent + 1); break;
        case Qt::Key_PageUp: SetCurrent(FCurrent - page); break;
        case Qt::Key_PageDown: SetCurrent(FCurrent + page); break;
        case Qt::Key_Home: SetCurrent(0); break;
        case Qt::Key_End: SetCurrent(FPanel.FMatches.Count() - 1); break;
        case Qt::Key_Return:
        case Qt::Key_Enter: FPanel.JumpToCurrent(); break;
        case Qt::Key_Escape:
            // A running search stops; otherwise the text takes the keys.
            if (FPanel.Running())
                FPanel.Stop();
            else
                FPanel.FView.setFocus();
            break;
        default: QAbstractScrollArea::keyPressEvent(event); return;
        }
        event->accept();
    }

    void mousePressEvent(QMouseEvent* event) override {
        SetCurrent(Top() + int(event->position().y()) / RowHeight());
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        mousePressEvent(event);
        FPanel.JumpToCurrent();
    }

    void focusInEvent(QFocusEvent* event) override {
        QAbstractScrollArea::focusInEvent(event);
        viewport()->update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QAbstractScrollArea::focusOutEvent(event);
        viewport()->update();
    }

private:
    // The line's text from the document, from a little before its first
    // match when that lies far in, every match marked; a line not yet indexed
    // shows nothing.
    void PaintLine(QPainter& painter, int line, int x, int baseline, int height,
                   const QColor& fore) {
        const TOVSynStringList& lines = FPanel.FView.Lines();
        if (line >= lines.Count() || !FPanel.FPaintMatcher)
            return;
        const TLineMatcher& matcher = *FPanel.FPaintMatcher;
        const TCharCoding& coding = lines.CharCoding();
        const std::string_view text = lines.ShownView(line, FShown);
        const TLineHit first = matcher.FindForward(text, 0);
        std::size_t from = 0;
        if (first.Found() && std::size_t(first.Column) > ShowStartBytes)
            from = coding.CharStart(text, 0, std::size_t(first.Column) - LeadBytes);
        std::size_t to = std::min(text.size(), from + ShownBytes);
        if (to < text.size())
            to = coding.CharStart(text, from, to);
        const QFontMetrics metrics = fontMetrics();
        auto draw = [&](std::size_t begin, std::size_t end, bool match) {
            if (end <= begin)
                return;
            const QString piece = ShownPiece(coding, text.substr(begin, end - begin));
            const int width = metrics.horizontalAdvance(piece);
            if (match)
                painter.fillRect(x, baseline - metrics.ascent(), width, height, QColor(MatchBack));
            painter.setPen(match ? QColor(MatchFore) : fore);
            painter.drawText(x, baseline, piece);
            x += width;
        };
        if (from > 0) {
            painter.setPen(fore);
            painter.drawText(x, baseline, QStringLiteral("…"));
            x += metrics.horizontalAdvance(QStringLiteral("…"));
        }
        std::size_t at = from;
        for (TLineHit hit = first; hit.Found() && std::size_t(hit.Column) < to && x < width();
             hit = matcher.FindForward(text, hit.Column + hit.Length)) {
            const std::size_t begin = std::max(std::size_t(hit.Column), at);
            const std::size_t end = std::min(std::size_t(hit.Column + hit.Length), to);
            draw(at, begin, false);
            draw(begin, end, true);
            at = end;
        }
        if (x < width())
            draw(at, to, false);
    }

    TMatchListPanel& FPanel;
    int FCurrent = 0;
    std::string FShown;
};

TMatchListPanel::TMatchListPanel(TOVSynTextViewer& view, QWidget* parent)
    : QWidget(parent), FView(view) {
    setObjectName(QStringLiteral("pMatchList"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* header = new QWidget(this);
    header->setFixedHeight(HeaderHeight);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    FCaption = new QLabel(header);
    FCaption->setObjectName(QStringLiteral("lMatchListCaption"));
    row->addWidget(FCaption, 1, Qt::AlignLeft | Qt::AlignVCenter);
    FStopButton = new QToolButton(header);
    FStopButton->setObjectName(QStringLiteral("sbStopMatchList"));
    FStopButton->setAutoRaise(true);
    FStopButton->setText(QStringLiteral("중지"));
    FStopButton->setFixedHeight(HeaderHeight - 1);
    FStopButton->setFocusPolicy(Qt::NoFocus);
    FStopButton->setEnabled(false);
    connect(FStopButton, &QToolButton::clicked, this, [this] { Stop(); });
    row->addWidget(FStopButton);
    FCloseButton = new QToolButton(header);
    FCloseButton->setObjectName(QStringLiteral("sbCloseMatchList"));
    FCloseButton->setAutoRaise(true);
    FCloseButton->setFixedSize(17, 15);
    FCloseButton->setIcon(CloseGlyph());
    FCloseButton->setFocusPolicy(Qt::NoFocus);
    connect(FCloseButton, &QToolButton::clicked, this, [this] {
        if (OnClose)
            OnClose();
    });
    row->addWidget(FCloseButton);
    column->addWidget(header);
    FRows = new TMatchListRows(*this);
    column->addWidget(FRows, 1);
    FTimer = new QTimer(this);
    connect(FTimer, &QTimer::timeout, this, [this] { Tick(); });
    UpdateCaption();
}

TMatchListPanel::~TMatchListPanel() = default;

QWidget* TMatchListPanel::Rows() const {
    return FRows;
}

bool TMatchListPanel::Start(const std::string& text, const TFindOptions& options) {
    std::string error;
    std::unique_ptr<TLineMatcher> matcher =
        MakeLineMatcher(text, options, FView.Lines().CharCoding(), error);
    if (!matcher) {
        UIServices().ShowMessage(error, LoadStr(SWarning), TMessageIcon::Warning);
        return false;
    }
    FText = text;
    FOptions = options;
    FPaintMatcher = std::move(matcher);
    FMatches.Clear();
    FGrewFrom = -1;
    Restart(0);
    FRows->SetCurrent(0);
    return true;
}

void TMatchListPanel::Restart(int fromLine) {
    const TOVSynStringList& lines = FView.Lines();
    if (!FPaintMatcher || fromLine >= lines.Count()) {
        FMatches.Cancel();
        FRows->Refresh();
        UpdateCaption();
        return;
    }
    // A list stopped short stays short when only new lines are searched.
    if (fromLine == 0)
        FStopped = false;
    std::string error;
    std::shared_ptr<const TLineMatcher> matcher =
        MakeLineMatcher(FText, FOptions, lines.CharCoding(), error);
    if (lines.Mapped()) {
        FMatches.StartMapped(std::move(matcher), lines.MappedTail(fromLine), fromLine);
        FTimer->setInterval(TickMs);
    } else {
        FMatches.StartSlices(std::move(matcher), fromLine);
        FTimer->setInterval(0);
    }
    FTimer->start();
    FRows->Refresh();
    UpdateCaption();
}

void TMatchListPanel::Stop() {
    FStopped = FStopped || Running();
    FGrewFrom = -1;
    FMatches.Cancel();
    FMatches.Take();
    FRows->Refresh();
    UpdateCaption();
}

void TMatchListPanel::DocumentReplaced() {
    FMatches.Clear();
    FGrewFrom = -1;
    if (FText.empty())
        return;
    std::string error;
    FPaintMatcher = MakeLineMatcher(FText, FOptions, FView.Lines().CharCoding(), error);
    Restart(0);
}

void TMatchListPanel::HoldForGrowth() {
    if (!FMatches.OnWorker() || !FMatches.Running())
        return;
    const int resume = FMatches.Suspend();
    if (resume != INT_MAX)
        FGrewFrom = FGrewFrom < 0 ? resume : std::min(FGrewFrom, resume);
}

void TMatchListPanel::DocumentGrew(int from) {
    if (FText.empty() || !FPaintMatcher)
        return;
    if (from == INT_MAX) {
        if (FGrewFrom >= 0 && !FMatches.Running()) {
            from = FGrewFrom;
            FGrewFrom = -1;
            Restart(from);
        }
        return;
    }
    if (FMatches.Running()) {
        // The running search reads the text as it was; the new lines are
        // searched once it ends.
        FGrewFrom = FGrewFrom < 0 ? from : std::min(FGrewFrom, from);
        return;
    }
    if (FGrewFrom >= 0) {
        from = std::min(from, FGrewFrom);
        FGrewFrom = -1;
    }
    Restart(from);
}

void TMatchListPanel::Tick() {
    FMatches.Take();
    if (FMatches.Running() && !FMatches.OnWorker())
        FMatches.ScanSlice(FView.Lines(), SliceMs);
    if (!FMatches.Running() && FGrewFrom >= 0) {
        const int from = FGrewFrom;
        FGrewFrom = -1;
        Restart(from);
    }
    FRows->Refresh();
    UpdateCaption();
    // Rows beyond the index are painted as it reaches them.
    if (!Running() && !FView.Loading())
        FTimer->stop();
}

QString TMatchListPanel::Caption() const {
    QString caption = QStringLiteral("  일치하는 줄 %1개").arg(QLocale(QLocale::Korean).toString(FMatches.Count()));
    if (Running())
        caption += QStringLiteral(" - 찾는 중 %1%").arg(int(FMatches.Progress() * 100));
    else if (FStopped)
        caption += QStringLiteral(" - 중지됨");
    return caption;
}

void TMatchListPanel::UpdateCaption() {
    FCaption->setText(Caption());
    FStopButton->setEnabled(Running());
}

int TMatchListPanel::CurrentRow() const {
    return FRows->Current();
}

void TMatchListPanel::SetCurrentRow(int row) {
    FRows->SetCurrent(row);
}

void TMatchListPanel::JumpToCurrent() {
    const int row = CurrentRow();
    if (row < 0)
        return;
    const int line = FMatches.Line(row);
    const TOVSynStringList& lines = FView.Lines();
    if (line >= lines.Count()) {
        // Not indexed yet: the view heads there as the index comes.
        FView.SetTopIndex(line);
        return;
    }
    std::string shown;
    const TLineHit hit = FPaintMatcher ? FPaintMatcher->FindForward(lines.ShownView(line, shown), 0)
                                       : TLineHit();
    if (hit.Found())
        FView.SetSelection(MatchRange(lines, {line, hit.Column, hit.Length}));
    const int viewRow = FView.WordWrap() ? FView.OriginToWraped({0, line}).Y : line;
    // The line a third down the screen, with what leads to it above.
    FView.SetTopIndex(std::max(0, viewRow - FView.VisibleRows() / 3));
}

} // namespace ov
