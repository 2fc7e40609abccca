#include "Find.h"

#include "Xpbutton.h"
#include "Xpcheckbox.h"
#include "Xpcombobox.h"
#include "Xpgroupbox.h"
#include "Xpradiobutton.h"

#include <QLabel>
#include <QLineEdit>

namespace ov {

namespace {

constexpr int ClientWidth = 331;
constexpr int ClientHeight = 267;
// The option groups stand below the two buttons.
constexpr int GroupsTop = 73;

} // namespace

TfFind::TfFind(QWidget* parent)
    : TInputDialog(parent, "fFind", QStringLiteral("찾기"), {ClientWidth, ClientHeight}) {
    CreateControls();
}

void TfFind::CreateControls() {
    Label1 = new QLabel(QStringLiteral("문자열(&T):"), this);
    Label1->setGeometry(12, 15, 66, 14);
    cbText = new TXPComboBox(this);
    cbText->setObjectName(QStringLiteral("cbText"));
    cbText->setEditable(true);
    cbText->setInsertPolicy(QComboBox::NoInsert);
    cbText->setMaxCount(MaxFindHistory);
    // What is typed is what is searched: no history item completes it.
    cbText->setCompleter(nullptr);
    cbText->setGeometry(80, 11, 162, 21);
    Label1->setBuddy(cbText);
    bFind = AddDefaultButton("bFind", QStringLiteral("찾기"), {252, 10, 67, 23},
                             &TfFind::bFindClick);
    bList = new TXPButton(QStringLiteral("모두 찾기(&L)"), this);
    bList->setObjectName(QStringLiteral("bList"));
    bList->setGeometry(252, 39, 67, 23);
    connect(bList, &QPushButton::clicked, this, &TfFind::bListClick);

    gbOptions = new TXPGroupBox(QStringLiteral("설정"), this);
    gbOptions->setGeometry(12, GroupsTop, 307, 96);
    cbCaseSensitive = new TXPCheckBox(QStringLiteral("대소문자 구분(&C)"), gbOptions);
    cbCaseSensitive->setObjectName(QStringLiteral("cbCaseSensitive"));
    cbCaseSensitive->setGeometry(14, 20, 130, 17);
    cbWholeWords = new TXPCheckBox(QStringLiteral("온전한 단어만(&W)"), gbOptions);
    cbWholeWords->setObjectName(QStringLiteral("cbWholeWords"));
    cbWholeWords->setGeometry(160, 20, 130, 17);
    cbRegex = new TXPCheckBox(QStringLiteral("정규 표현식(&R)"), gbOptions);
    cbRegex->setObjectName(QStringLiteral("cbRegex"));
    cbRegex->setGeometry(14, 44, 130, 17);
    cbWrapAround = new TXPCheckBox(QStringLiteral("순환 검색(&A)"), gbOptions);
    cbWrapAround->setObjectName(QStringLiteral("cbWrapAround"));
    cbWrapAround->setGeometry(160, 44, 130, 17);
    cbWrapAround->SetChecked(true);
    cbHexBytes = new TXPCheckBox(QStringLiteral("16진수 바이트(&X)"), gbOptions);
    cbHexBytes->setObjectName(QStringLiteral("cbHexBytes"));
    cbHexBytes->setGeometry(14, 68, 130, 17);
    cbHexBytes->setEnabled(false);

    gbDirection = new TXPGroupBox(QStringLiteral("검색 방향"), this);
    gbDirection->setGeometry(12, GroupsTop + 104, 148, 78);
    rbFoward = new TXPRadioButton(QStringLiteral("아래로(&D)"), gbDirection);
    rbFoward->setObjectName(QStringLiteral("rbFoward"));
    rbFoward->setGeometry(14, 24, 120, 17);
    rbFoward->SetChecked(true);
    rbBackward = new TXPRadioButton(QStringLiteral("위로(&U)"), gbDirection);
    rbBackward->setObjectName(QStringLiteral("rbBackward"));
    rbBackward->setGeometry(14, 48, 120, 17);

    gbOrigin = new TXPGroupBox(QStringLiteral("시작 위치"), this);
    gbOrigin->setGeometry(171, GroupsTop + 104, 148, 78);
    rbCursor = new TXPRadioButton(QStringLiteral("현재 위치부터(&F)"), gbOrigin);
    rbCursor->setObjectName(QStringLiteral("rbCursor"));
    rbCursor->setGeometry(14, 24, 124, 17);
    rbCursor->SetChecked(true);
    rbEntire = new TXPRadioButton(QStringLiteral("처음부터(&E)"), gbOrigin);
    rbEntire->setObjectName(QStringLiteral("rbEntire"));
    rbEntire->setGeometry(14, 48, 124, 17);

    cbText->setFocus();
    setTabOrder(cbText, bFind);
    setTabOrder(bFind, bList);
}

std::string TfFind::Text() const {
    return cbText->currentText().toStdString();
}

std::vector<std::string> TfFind::History() const {
    std::vector<std::string> items;
    for (int i = 0; i < cbText->count(); ++i)
        items.push_back(cbText->itemText(i).toStdString());
    return items;
}

// The text in the edit field stays as it is: adding the first item to an
// empty list would otherwise put that item there.
void TfFind::AppendHistory(const std::vector<std::string>& items) {
    const QString text = cbText->currentText();
    for (const std::string& item : items)
        if (!item.empty() && cbText->count() < MaxFindHistory)
            cbText->addItem(QString::fromStdString(item));
    cbText->setEditText(text);
}

void TfFind::ClearHistory() {
    const QString text = cbText->currentText();
    cbText->clear();
    cbText->setEditText(text);
}

void TfFind::AddToHistory(const QString& text) {
    if (text.isEmpty())
        return;
    if (cbText->findText(text, Qt::MatchFixedString) < 0) {
        if (cbText->count() >= MaxFindHistory)
            cbText->removeItem(cbText->count() - 1);
        cbText->insertItem(0, text);
        cbText->setCurrentIndex(0);
    }
    cbText->setEditText(text);
}

void TfFind::bFindClick() {
    const QString text = cbText->currentText();
    if (text.isEmpty())
        return;
    AddToHistory(text);
    accept();
}

void TfFind::showEvent(QShowEvent* event) {
    FListRequested = false;
    TInputDialog::showEvent(event);
}

void TfFind::bListClick() {
    FListRequested = true;
    bFindClick();
    if (result() != QDialog::Accepted)
        FListRequested = false;
}

} // namespace ov
