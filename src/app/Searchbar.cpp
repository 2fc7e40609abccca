#include "Searchbar.h"

#include "Xpbutton.h"
#include "Xpcheckbox.h"
#include "Xpedit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

namespace ov {

namespace {

// The entry gives way down to its narrowest before the note does.
constexpr int EntryWidth = 200;
constexpr int NarrowestEntry = 80;
// The note keeps room for a short reason ("찾는 문자열이 없습니다"); a long
// one is cut, and whole in its tool tip.
constexpr int NoteRoom = 130;
constexpr int CloseButtonWidth = 44;
constexpr int ListButtonWidth = 56;
constexpr int CloseButtonHeight = 19;
constexpr int Margin = 3;

} // namespace

TSearchBar::TSearchBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SearchBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(Margin, Margin, Margin, Margin);
    row->setSpacing(6);
    lCaption = new QLabel(QStringLiteral("찾기:"), this);
    row->addWidget(lCaption);
    edText = new TXPEdit(this);
    edText->setObjectName(QStringLiteral("edSearchText"));
    edText->setMinimumWidth(NarrowestEntry);
    edText->setMaximumWidth(EntryWidth);
    edText->installEventFilter(this);
    connect(edText, &QLineEdit::textEdited, this, [this] {
        FHistoryIndex = -1;
        if (OnTextChange)
            OnTextChange();
    });
    row->addWidget(edText, 2);
    // No access keys: Alt and a letter belong to the menu bar.
    cbCaseSensitive = AddOption(QStringLiteral("대소문자 구분"));
    cbWholeWords = AddOption(QStringLiteral("단어 단위로"));
    cbRegex = AddOption(QStringLiteral("정규 표현식"));
    cbWrapAround = AddOption(QStringLiteral("순환 검색"));
    cbHexBytes = AddOption(QStringLiteral("16진수 바이트"));
    for (TXPCheckBox* box : {cbCaseSensitive, cbWholeWords, cbRegex, cbWrapAround, cbHexBytes})
        row->addWidget(box);
    lNote = new QLabel(this);
    lNote->setObjectName(QStringLiteral("lSearchNote"));
    // A long pattern error gives way rather than widen the window.
    lNote->setMinimumWidth(1);
    row->addWidget(lNote, 1);
    bList = new TXPButton(QStringLiteral("줄 목록"), this);
    bList->setObjectName(QStringLiteral("bListSearchBar"));
    bList->setFixedSize(ListButtonWidth, CloseButtonHeight);
    bList->setFocusPolicy(Qt::NoFocus);
    bList->setToolTip(QStringLiteral("일치하는 줄 목록 (Ctrl+Enter)"));
    connect(bList, &QPushButton::clicked, this, [this] {
        if (OnList)
            OnList();
    });
    row->addWidget(bList);
    bClose = new TXPButton(QStringLiteral("닫기"), this);
    bClose->setObjectName(QStringLiteral("bCloseSearchBar"));
    bClose->setFixedSize(CloseButtonWidth, CloseButtonHeight);
    bClose->setFocusPolicy(Qt::NoFocus);
    connect(bClose, &QPushButton::clicked, this, [this] {
        if (OnClose)
            OnClose();
    });
    row->addWidget(bClose);
    setFixedHeight(edText->sizeHint().height() + 2 * Margin);
}

// The boxes take no focus, so that the entry keeps the keys while they are
// switched with the mouse.
TXPCheckBox* TSearchBar::AddOption(const QString& caption) {
    auto* box = new TXPCheckBox(caption, this);
    box->setFocusPolicy(Qt::NoFocus);
    // As wide as the glyph and the caption: the stock width of a dialog's
    // box would leave the note no room.
    const int glyphAndGap = 17;
    box->setFixedSize(glyphAndGap + box->fontMetrics().horizontalAdvance(caption) + 4,
                      box->sizeHint().height());
    box->OnClick = [this](TXPCheckBox*) {
        if (!FSettingOptions && OnOptionChange)
            OnOptionChange();
    };
    return box;
}

std::string TSearchBar::Text() const {
    return edText->text().toStdString();
}

void TSearchBar::SetText(const QString& text) {
    edText->setText(text);
    edText->selectAll();
}

void TSearchBar::SetNoMatch(bool noMatch) {
    if (noMatch == FNoMatch)
        return;
    FNoMatch = noMatch;
    QPalette palette = edText->palette();
    if (noMatch)
        palette.setColor(QPalette::Base, QColor::fromRgb(SearchBarNoMatchColor));
    else
        palette.setColor(QPalette::Base, this->palette().color(QPalette::Base));
    edText->setPalette(palette);
}

void TSearchBar::SetNote(const QString& note) {
    lNote->setText(note);
    lNote->setToolTip(note);
    lNote->setMinimumWidth(
        note.isEmpty() ? 1 : std::min(lNote->fontMetrics().horizontalAdvance(note), NoteRoom));
}

void TSearchBar::BrowseHistory(int step) {
    const std::vector<QString> items = OnHistory ? OnHistory() : std::vector<QString>{};
    const int next = FHistoryIndex + step;
    if (next < -1 || next >= static_cast<int>(items.size()))
        return;
    if (FHistoryIndex == -1)
        FTypedText = edText->text();
    FHistoryIndex = next;
    SetText(next == -1 ? FTypedText : items[size_t(next)]);
    if (OnTextChange)
        OnTextChange();
}

// The entry's keys: Enter and Shift+Enter search on, Escape closes, Up and
// Down browse the history; every other key edits.
bool TSearchBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edText || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if ((key->modifiers() & Qt::ControlModifier) && OnList)
            OnList();
        else if (OnEnter)
            OnEnter(key->modifiers() & Qt::ShiftModifier);
        return true;
    case Qt::Key_Escape:
        if (OnClose)
            OnClose();
        return true;
    case Qt::Key_Up:
        BrowseHistory(1);
        return true;
    case Qt::Key_Down:
        BrowseHistory(-1);
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace ov
