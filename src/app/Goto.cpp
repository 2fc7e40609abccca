#include "Goto.h"

#include "Addressreader.h"
#include "Messages.h"
#include "Qtcodepage.h"
#include "Xpdraw.h"
#include "Xpedit.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <climits>

namespace ov {

namespace {

// How often the line dialog looks at a count that goes on.
constexpr int CountInterval = 200;

// The edit frames of both dialogs: red 127, green 157, blue 185.
constexpr unsigned EditBorder = 12164479;

std::string RangeLabel(const std::string& range) {
    return std::string(LoadStr(SRange)) + ": " + range;
}

TXPEdit* NewEdit(QWidget* parent) {
    auto* edit = new TXPEdit(parent);
    edit->SetAutoSize(false);
    edit->SetBorderColor(XPColorFromValue(EditBorder));
    return edit;
}

} // namespace

int ReadLineNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    if (text.empty() || text.starts_with('+'))
        return -1;
    int value = -1;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return -1;
    return value;
}

bool GotoAcceptsChar(char32_t c) {
    if (c == ' ' || c == '\t')
        return false;
    return !(c >= 33 && c <= 126) || (c >= '0' && c <= '9');
}

TfGoto::TfGoto(QWidget* parent)
    : TInputDialog(parent, "fGoto", QStringLiteral("줄 찾아가기"), {170, 95}) {
    Label1 = new QLabel(this);
    Label1->setGeometry(16, 18, 135, 14);
    Edit1 = NewEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(16, 46, 82, 18);
    Edit1->installEventFilter(this);
    Button1 = AddDefaultButton("Button1", QStringLiteral("가기"), {106, 44, 49, 22},
                               &TfGoto::Button1Click);
    Edit1->setFocus();
}

void TfGoto::Prepare(int max) {
    FMax = max;
    Label1->setText(QString::fromStdString(RangeLabel("1 - " + std::to_string(max))));
}

void TfGoto::FollowCount(std::function<TLineCount()> count) {
    FCount = std::move(count);
    FCountingNote = new QLabel(QStringLiteral("줄을 세는 중입니다..."), this);
    FCountingNote->setGeometry(16, 74, 140, 14);
    setFixedSize(170, 112);
    FCountTimer = new QTimer(this);
    FCountTimer->setInterval(CountInterval);
    QObject::connect(FCountTimer, &QTimer::timeout, this, [this] { ShowCount(); });
    FCountTimer->start();
    ShowCount();
}

void TfGoto::ShowCount() {
    const TLineCount count = FCount();
    FCounting = count.Counting;
    Prepare(count.Lines);
    if (FCountingNote)
        FCountingNote->setVisible(FCounting);
    if (!FCounting && FCountTimer)
        FCountTimer->stop();
}

int TfGoto::Execute(int max) {
    if (!FCount)
        Prepare(max);
    if (exec() != QDialog::Accepted)
        return -1;
    return ReadLineNumber(AnsiFromQString(Edit1->text()));
}

void TfGoto::Button1Click() {
    int value = ReadLineNumber(AnsiFromQString(Edit1->text()));
    if (value < 0 || (value > FMax && !FCounting)) {
        RefuseValue();
        return;
    }
    accept();
}

bool TfGoto::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab && text.size() == 1 &&
            !GotoAcceptsChar(text.at(0).unicode()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

TfGotoAddress::TfGotoAddress(QWidget* parent)
    : TInputDialog(parent, "fGotoAddress", QStringLiteral("주소 찾아가기"), {209, 99}) {
    Label2 = new QLabel(this);
    Label2->move(17, 20);
    XPEdit1 = NewEdit(this);
    XPEdit1->setObjectName(QStringLiteral("XPEdit1"));
    XPEdit1->setGeometry(16, 48, 121, 16);
    bGo = AddDefaultButton("bGo", QStringLiteral("가기"), {148, 46, 49, 22},
                           &TfGotoAddress::bGoClick);
    Label1 = new QLabel(QStringLiteral("HEX 주소는 0x???? 형식으로"), this);
    Label1->move(16, 76);
    Label1->adjustSize();
    XPEdit1->setFocus();
}

// A size that needs more than eight digits widens the dialog to its label.
void TfGotoAddress::Prepare(int64_t fileSize) {
    FFileSize = fileSize;
    Label2->setText(QString::fromStdString(RangeLabel(AddressRangeText(fileSize))));
    Label2->adjustSize();
    setFixedSize(std::max(209, Label2->geometry().right() + 17), 99);
}

int64_t TfGotoAddress::Execute(int64_t fileSize) {
    Prepare(fileSize);
    if (exec() != QDialog::Accepted)
        return -1;
    return ReadAddress(AnsiFromQString(XPEdit1->text()));
}

void TfGotoAddress::bGoClick() {
    if (!IsAcceptedAddress(ReadAddress(AnsiFromQString(XPEdit1->text())), FFileSize)) {
        RefuseValue();
        return;
    }
    accept();
}

} // namespace ov
