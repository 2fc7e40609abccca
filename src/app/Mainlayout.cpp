// The controls of the main window and their layout, from top to bottom: the
// two views in one cell, the splitter and the bookmark panel (both hidden at
// start), the search bar (hidden at start) and the status bar.

#include "Main.h"
#include "Searchbar.h"
#include "Matchlist.h"
#include "Splitterbar.h"
#include "Xpgauge.h"

#include "Messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace ov {

namespace {

constexpr int BookmarkPanelHeight = 77;
constexpr int MatchListHeight = 150;
constexpr int BookmarkHeaderHeight = 14;
constexpr int BookmarkItemHeight = 13;
constexpr int StatusBarHeight = 19;
constexpr int LinePanelWidth = 150;
constexpr int EncodingPanelWidth = 100; // "Windows-1252", the longest name
constexpr int LoadGaugeWidth = 100;
constexpr int LoadGaugeSteps = 1000;
// How long the note that a search went round stays in the status bar.
constexpr int SearchNoteMs = 4000;
constexpr int ScrollTimerInterval = 1500;

const char* const CreditLine = " Orvane - 텍스트 뷰어 (문법 강조 기능 지원)";

// Rows of the bookmark list are fixed in height and drawn by the window.
class TBookmarkItemDelegate : public QStyledItemDelegate {
public:
    explicit TBookmarkItemDelegate(TMainForm* form) : QStyledItemDelegate(form), FForm(form) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), BookmarkItemHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect,
                          option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setClipRect(option.rect);
        FForm->lbBookmarksDrawItem(*painter, index.row(), option.rect, selected);
        painter->restore();
    }

private:
    TMainForm* FForm;
};

} // namespace

QIcon CloseGlyph() {
    QPixmap glyph(9, 9);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(1, 1, 7, 7);
    painter.drawLine(7, 1, 1, 7);
    return QIcon(glyph);
}

void TMainForm::CreateControls() {
    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Both views share one cell; the hidden one takes no space.
    auto* viewArea = new QWidget(client);
    auto* cell = new QGridLayout(viewArea);
    cell->setContentsMargins(0, 0, 0, 0);
    FControls.Viewer = new TTextViewControl(viewArea);
    FControls.Viewer->setObjectName(QStringLiteral("Viewer"));
    FControls.HexViewer = new THexViewControl(viewArea);
    FControls.HexViewer->setObjectName(QStringLiteral("HexViewer"));
    QFont hexFont(QStringLiteral("Courier New"));
    hexFont.setPixelSize(12);
    FControls.HexViewer->setFont(hexFont);
    FControls.HexViewer->hide();
    cell->addWidget(FControls.Viewer, 0, 0);
    cell->addWidget(FControls.HexViewer, 0, 0);
    column->addWidget(viewArea, 1);

    FControls.MatchList = new TMatchListPanel(*FControls.Viewer, client);
    FControls.MatchList->setFixedHeight(MatchListHeight);
    FControls.MatchList->OnClose = [this] { RunCommand([this] { HideMatchList(); }); };
    FControls.Splitter2 = new TSplitterBar(FControls.MatchList, client);
    FControls.Splitter2->setObjectName(QStringLiteral("Splitter2"));
    FControls.Splitter2->hide();
    FControls.MatchList->hide();
    column->addWidget(FControls.Splitter2);
    column->addWidget(FControls.MatchList);

    FControls.pBookmarks = CreateBookmarkPanel(client);
    FControls.Splitter1 = new TSplitterBar(FControls.pBookmarks, client);
    FControls.Splitter1->setObjectName(QStringLiteral("Splitter1"));
    FControls.Splitter1->hide();
    FControls.pBookmarks->hide();
    column->addWidget(FControls.Splitter1);
    column->addWidget(FControls.pBookmarks);
    CreateSearchBar(client);
    column->addWidget(FControls.SearchBar);
    setCentralWidget(client);

    CreateStatusBar();
    FControls.ScrollTimer = new QTimer(this);
    FControls.ScrollTimer->setObjectName(QStringLiteral("ScrollTimer"));
    FControls.ScrollTimer->setInterval(ScrollTimerInterval);
    connect(FControls.ScrollTimer, &QTimer::timeout, this, &TMainForm::ScrollTimerTimer);
    ConnectViewerEvents();
}

QWidget* TMainForm::CreateBookmarkPanel(QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("pBookmarks"));
    panel->setFixedHeight(BookmarkPanelHeight);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* header = new QWidget(panel);
    header->setFixedHeight(BookmarkHeaderHeight);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    FControls.lBookmarksCaption = new QLabel(QStringLiteral("  책갈피"), header);
    row->addWidget(FControls.lBookmarksCaption, 1, Qt::AlignLeft | Qt::AlignVCenter);
    FControls.sbCloseBookmarks = new QToolButton(header);
    FControls.sbCloseBookmarks->setObjectName(QStringLiteral("sbCloseBookmarks"));
    FControls.sbCloseBookmarks->setAutoRaise(true);
    FControls.sbCloseBookmarks->setFixedSize(17, 15);
    FControls.sbCloseBookmarks->setIcon(CloseGlyph());
    FControls.sbCloseBookmarks->setFocusPolicy(Qt::NoFocus);
    connect(FControls.sbCloseBookmarks, &QToolButton::clicked, this,
            &TMainForm::sbCloseBookmarksClick);
    row->addWidget(FControls.sbCloseBookmarks);
    column->addWidget(header);

    FControls.lbBookmarks = new QListWidget(panel);
    FControls.lbBookmarks->setObjectName(QStringLiteral("lbBookmarks"));
    FControls.lbBookmarks->setUniformItemSizes(true);
    FControls.lbBookmarks->setItemDelegate(new TBookmarkItemDelegate(this));
    connect(FControls.lbBookmarks, &QListWidget::itemDoubleClicked, this,
            &TMainForm::lbBookmarksDblClick);
    FControls.lbBookmarks->installEventFilter(this);
    column->addWidget(FControls.lbBookmarks, 1);
    return panel;
}

void TMainForm::CreateStatusBar() {
    FControls.StatusBar1 = new QStatusBar(this);
    FControls.StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    for (size_t i = 0; i < FControls.StatusPanels.size(); ++i) {
        FControls.StatusPanels[i] = new QLabel(FControls.StatusBar1);
        FControls.StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    // The line panel grows with its text ("/ 335544320" of a 5 GB file in
    // the hex view) and never shrinks below its design width.
    FControls.StatusPanels[0]->setMinimumWidth(LinePanelWidth);
    FControls.StatusPanels[0]->setText(FormatLineStatus(0, 0));
    FControls.StatusPanels[1]->setText(QString::fromUtf8(CreditLine));
    // The credit line gives way to narrow windows rather than widen them.
    FControls.StatusPanels[1]->setMinimumWidth(1);
    FControls.EncodingPanel = new QLabel(FControls.StatusBar1);
    FControls.EncodingPanel->setObjectName(QStringLiteral("EncodingPanel"));
    FControls.EncodingPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FControls.EncodingPanel->setFixedWidth(EncodingPanelWidth);
    FControls.EncodingPanel->setAlignment(Qt::AlignCenter);
    FControls.LoadGauge = new TXPGauge(FControls.StatusBar1);
    FControls.LoadGauge->setObjectName(QStringLiteral("LoadGauge"));
    FControls.LoadGauge->setFixedWidth(LoadGaugeWidth);
    FControls.LoadGauge->SetMaxValue(LoadGaugeSteps);
    FControls.LoadGauge->hide();
    FControls.FileNotePanel = new QLabel(FControls.StatusBar1);
    FControls.FileNotePanel->setObjectName(QStringLiteral("FileNotePanel"));
    FControls.FileNotePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FControls.FileNotePanel->hide();
    FControls.StatusBar1->addWidget(FControls.StatusPanels[0]);
    FControls.StatusBar1->addWidget(FControls.LoadGauge);
    FControls.StatusBar1->addWidget(FControls.EncodingPanel);
    FControls.SearchNote = new QLabel(FControls.StatusBar1);
    FControls.SearchNote->setObjectName(QStringLiteral("SearchNote"));
    FControls.SearchNote->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FControls.SearchNote->hide();
    FControls.StatusBar1->addWidget(FControls.SearchNote);
    FControls.SearchNoteTimer = new QTimer(this);
    FControls.SearchNoteTimer->setSingleShot(true);
    FControls.SearchNoteTimer->setInterval(SearchNoteMs);
    connect(FControls.SearchNoteTimer, &QTimer::timeout, FControls.SearchNote, &QWidget::hide);
    FControls.StatusBar1->addWidget(FControls.FileNotePanel);
    FControls.MatchPanel = new QLabel(FControls.StatusBar1);
    FControls.MatchPanel->setObjectName(QStringLiteral("MatchPanel"));
    FControls.MatchPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FControls.MatchPanel->hide();
    FControls.StatusBar1->addWidget(FControls.MatchPanel);
    FControls.StatusBar1->addWidget(FControls.StatusPanels[1], 1);
    // The design height, or what the panels need below the bar's own top
    // spacing, so that their frames are not cut at the bottom.
    FControls.StatusBar1->setFixedHeight(
        std::max(StatusBarHeight, FControls.StatusBar1->sizeHint().height()));
    setStatusBar(FControls.StatusBar1);
}

void TMainForm::ConnectViewerEvents() {
    FSearch.OnBackgroundSearchEnd = [this] {
        ShowSearchNote(FSearch.Wrapped(), FSearch.WentBackward());
        if (FBarSearchRunning == TBarSearch::None)
            return;
        if (FBarSearchRunning == TBarSearch::Stepped && FSearch.Outcome() == TSearchOutcome::Found)
            FBarAnchor = FSearch.LastRange().Start();
        FBarSearchRunning = TBarSearch::None;
        ShowSearchBarOutcome(FSearch.Outcome(), FSearch.PatternError());
    };
    FControls.Viewer->OnDblClick = [this](auto*) { ViewerDblClick(); };
    FControls.Viewer->OnMatchCountChange = [this](auto*) { UpdateMatchPanel(); };
    FControls.Viewer->OnKeyDown = [this](auto*, int key, Qt::KeyboardModifiers shift) {
        RunCommand([&] { ViewerKeyDown(key, shift); });
    };
    FControls.Viewer->OnTopIndexChanged = [this](auto*) { ViewerTopIndexChanged(); };
    FControls.Viewer->OnRowCountChanged = [this](auto*) { ViewerTopIndexChanged(); };
    FControls.Viewer->OnLoadProgress = [this](auto*) { ViewerLoadProgress(); };
    FControls.Viewer->OnJobChange = [this](auto*) { ViewerLoadProgress(); };
    // Copy's shortcut works only while the item is enabled, so its state
    // follows the selection as the mouse changes it.
    FControls.Viewer->OnSelectionChange = [this](auto*) { UpdateActions(); };
    FControls.Viewer->OnDrawLine = [this](auto*, QPainter& canvas, int index, int y,
                                          int lineNumWidth) {
        ViewerDrawLine(canvas, index, y, lineNumWidth);
    };
    FControls.Viewer->OnDropFiles = [this](auto*, const std::vector<std::string>& files) {
        RunCommand([&] { ViewerDropFiles(files); });
    };
    FControls.HexViewer->OnDblClick = [this](auto*) { ViewerDblClick(); };
    FControls.HexViewer->OnKeyDown = [this](auto*, int key, Qt::KeyboardModifiers shift) {
        RunCommand([&] { HexViewerKeyDown(key, shift); });
    };
    FControls.HexViewer->OnTopIndexChanged = [this](auto*) { ViewerTopIndexChanged(); };
    FControls.HexViewer->OnDropFiles = [this](auto*, const std::vector<std::string>& files) {
        RunCommand([&] { ViewerDropFiles(files); });
    };
    // The request comes from the view's viewport, in its coordinates.
    FControls.Viewer->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FControls.Viewer, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        FMenus.PopupMenu1->popup(FControls.Viewer->viewport()->mapToGlobal(at));
    });
}

QPoint CentredOver(const QRect& main, QSize box) {
    return {main.left() + main.width() / 2 - box.width() / 2,
            main.top() + main.height() / 2 - box.height() / 2};
}

QString FormatLineStatus(long long topIndex, long long rowCount) {
    return QStringLiteral(" %1 %2 / %3")
        .arg(QString::fromUtf8(LoadStr(SLine)))
        .arg(topIndex)
        .arg(rowCount);
}

QString ViewLineStatus(long long topIndex, long long rowCount) {
    return rowCount > 0 ? FormatLineStatus(topIndex + 1, rowCount) : FormatLineStatus(0, 0);
}

} // namespace ov
