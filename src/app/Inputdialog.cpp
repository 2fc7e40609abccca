#include "Inputdialog.h"

#include "Messages.h"
#include "Uiservices.h"
#include "Xpbutton.h"

#include <QFont>

namespace ov {

// The dialogs' own font, whatever the parent's.
TInputDialog::TInputDialog(QWidget* parent, const char* objectName, const QString& caption,
                           QSize size)
    : QDialog(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    setFixedSize(size);
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(12);
    setFont(font);
}

TXPButton* TInputDialog::NewDefaultButton(const char* objectName, const QString& caption,
                                          const QRect& bounds) {
    auto* button = new TXPButton(caption, this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setGeometry(bounds);
    button->SetButtonStyle(true);
    return button;
}

void TInputDialog::ConnectClick(TXPButton* button, std::function<void()> click) {
    connect(button, &QPushButton::clicked, this, std::move(click));
}

void TInputDialog::RefuseValue() {
    UIServices().ShowMessage(LoadStr(SInvalidValue), "", TMessageIcon::Warning);
}

} // namespace ov
