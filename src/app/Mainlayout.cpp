// The controls of the main window and their layout, from top to bottom: the
// two views in one cell, the splitter and the bookmark panel (both hidden at
// start), and the status bar.

#include "Main.h"
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
constexpr int BookmarkHeaderHeight = 14;
constexpr int BookmarkItemHeight = 13;
constexpr int StatusBarHeight = 19;
constexpr int LinePanelWidth = 150;
constexpr int EncodingPanelWidth = 80; // "UTF-16 LE", the longest name
constexpr int LoadGaugeWidth = 100;
constexpr int LoadGaugeSteps = 1000;
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

QIcon CloseGlyph() {
    QPixmap glyph(9, 9);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(1, 1, 7, 7);
    painter.drawLine(7, 1, 1, 7);
    return QIcon(glyph);
}

} // namespace

void TMainForm::CreateControls() {
    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Both views share one cell; the hidden one takes no space.
    auto* viewArea = new QWidget(client);
    auto* cell = new QGridLayout(viewArea);
    cell->setContentsMargins(0, 0, 0, 0);
    Viewer = new TTextViewControl(viewArea);
    Viewer->setObjectName(QStringLiteral("Viewer"));
    HexViewer = new THexViewControl(viewArea);
    HexViewer->setObjectName(QStringLiteral("HexViewer"));
    QFont hexFont(QStringLiteral("Courier New"));
    hexFont.setPixelSize(12);
    HexViewer->setFont(hexFont);
    HexViewer->hide();
    cell->addWidget(Viewer, 0, 0);
    cell->addWidget(HexViewer, 0, 0);
    column->addWidget(viewArea, 1);

    pBookmarks = CreateBookmarkPanel(client);
    Splitter1 = new TSplitterBar(pBookmarks, client);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->hide();
    pBookmarks->hide();
    column->addWidget(Splitter1);
    column->addWidget(pBookmarks);
    setCentralWidget(client);

    CreateStatusBar();
    ScrollTimer = new QTimer(this);
    ScrollTimer->setObjectName(QStringLiteral("ScrollTimer"));
    ScrollTimer->setInterval(ScrollTimerInterval);
    connect(ScrollTimer, &QTimer::timeout, this, &TMainForm::ScrollTimerTimer);
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
    lBookmarksCaption = new QLabel(QStringLiteral("  책갈피"), header);
    row->addWidget(lBookmarksCaption, 1, Qt::AlignLeft | Qt::AlignVCenter);
    sbCloseBookmarks = new QToolButton(header);
    sbCloseBookmarks->setObjectName(QStringLiteral("sbCloseBookmarks"));
    sbCloseBookmarks->setAutoRaise(true);
    sbCloseBookmarks->setFixedSize(17, 15);
    sbCloseBookmarks->setIcon(CloseGlyph());
    sbCloseBookmarks->setFocusPolicy(Qt::NoFocus);
    connect(sbCloseBookmarks, &QToolButton::clicked, this, &TMainForm::sbCloseBookmarksClick);
    row->addWidget(sbCloseBookmarks);
    column->addWidget(header);

    lbBookmarks = new QListWidget(panel);
    lbBookmarks->setObjectName(QStringLiteral("lbBookmarks"));
    lbBookmarks->setUniformItemSizes(true);
    lbBookmarks->setItemDelegate(new TBookmarkItemDelegate(this));
    connect(lbBookmarks, &QListWidget::itemDoubleClicked, this, &TMainForm::lbBookmarksDblClick);
    lbBookmarks->installEventFilter(this);
    column->addWidget(lbBookmarks, 1);
    return panel;
}

void TMainForm::CreateStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    for (size_t i = 0; i < StatusPanels.size(); ++i) {
        StatusPanels[i] = new QLabel(StatusBar1);
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    // The line panel grows with its text ("/ 335544320" of a 5 GB file in
    // the hex view) and never shrinks below its design width.
    StatusPanels[0]->setMinimumWidth(LinePanelWidth);
    StatusPanels[0]->setText(FormatLineStatus(0, 0));
    StatusPanels[1]->setText(QString::fromUtf8(CreditLine));
    // The credit line gives way to narrow windows rather than widen them.
    StatusPanels[1]->setMinimumWidth(1);
    EncodingPanel = new QLabel(StatusBar1);
    EncodingPanel->setObjectName(QStringLiteral("EncodingPanel"));
    EncodingPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    EncodingPanel->setFixedWidth(EncodingPanelWidth);
    EncodingPanel->setAlignment(Qt::AlignCenter);
    LoadGauge = new TXPGauge(StatusBar1);
    LoadGauge->setObjectName(QStringLiteral("LoadGauge"));
    LoadGauge->setFixedWidth(LoadGaugeWidth);
    LoadGauge->SetMaxValue(LoadGaugeSteps);
    LoadGauge->hide();
    StatusBar1->addWidget(StatusPanels[0]);
    StatusBar1->addWidget(LoadGauge);
    StatusBar1->addWidget(EncodingPanel);
    StatusBar1->addWidget(StatusPanels[1], 1);
    // The design height, or what the panels need below the bar's own top
    // spacing, so that their frames are not cut at the bottom.
    StatusBar1->setFixedHeight(std::max(StatusBarHeight, StatusBar1->sizeHint().height()));
    setStatusBar(StatusBar1);
}

void TMainForm::ConnectViewerEvents() {
    Viewer->OnDblClick = [this](auto*) { ViewerDblClick(); };
    Viewer->OnKeyDown = [this](auto*, int key, Qt::KeyboardModifiers shift) {
        RunCommand([&] { ViewerKeyDown(key, shift); });
    };
    Viewer->OnTopIndexChanged = [this](auto*) { ViewerTopIndexChanged(); };
    Viewer->OnRowCountChanged = [this](auto*) { ViewerTopIndexChanged(); };
    Viewer->OnLoadProgress = [this](auto*) { ViewerLoadProgress(); };
    // Copy's shortcut works only while the item is enabled, so its state
    // follows the selection as the mouse changes it.
    Viewer->OnSelectionChange = [this](auto*) { UpdateActions(); };
    Viewer->OnDrawLine = [this](auto*, QPainter& canvas, int index, int y, int lineNumWidth) {
        ViewerDrawLine(canvas, index, y, lineNumWidth);
    };
    Viewer->OnDropFiles = [this](auto*, const std::vector<std::string>& files) {
        RunCommand([&] { ViewerDropFiles(files); });
    };
    HexViewer->OnDblClick = [this](auto*) { ViewerDblClick(); };
    HexViewer->OnKeyDown = [this](auto*, int key, Qt::KeyboardModifiers shift) {
        RunCommand([&] { HexViewerKeyDown(key, shift); });
    };
    HexViewer->OnTopIndexChanged = [this](auto*) { ViewerTopIndexChanged(); };
    HexViewer->OnDropFiles = [this](auto*, const std::vector<std::string>& files) {
        RunCommand([&] { ViewerDropFiles(files); });
    };
    // The request comes from the view's viewport, in its coordinates.
    Viewer->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Viewer, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(Viewer->viewport()->mapToGlobal(at)); });
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
