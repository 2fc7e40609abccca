#include "Qtuiservices.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QCursor>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <optional>

using namespace ov;

namespace {

// Once the modal box is up: records the cursor shape over it and presses the
// given button. Polls instead of sleeping; gives up after ten seconds.
void AnswerBoxWhenShown(QMessageBox::StandardButton button, std::optional<Qt::CursorShape>& seen) {
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, button, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box && clock->elapsed() < 10000)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (!box)
            return;
        if (const QCursor* cursor = QGuiApplication::overrideCursor())
            seen = cursor->shape();
        box->button(button)->click();
    });
    poll->start(5);
}

} // namespace

TEST(QtUIServices, BoxesShowTheArrowOverAWaitCursorAndRestoreIt) {
    TQtUIServices ui;
    ui.BeginWaitCursor();

    std::optional<Qt::CursorShape> seen;
    AnswerBoxWhenShown(QMessageBox::No, seen);
    EXPECT_FALSE(ui.AskYesNo("question", "caption", TMessageIcon::Information));
    EXPECT_EQ(seen, Qt::ArrowCursor);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    seen.reset();
    AnswerBoxWhenShown(QMessageBox::Yes, seen);
    EXPECT_TRUE(ui.AskYesNo("question", "caption", TMessageIcon::Information));
    EXPECT_EQ(seen, Qt::ArrowCursor);

    seen.reset();
    AnswerBoxWhenShown(QMessageBox::Ok, seen);
    ui.ShowMessage("message", "caption", TMessageIcon::Warning);
    EXPECT_EQ(seen, Qt::ArrowCursor);

    ui.EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Stock buttons and the toolkit's own file dialog speak Korean once the
// translation is in (qt6-translations-l10n is part of the set-up).
TEST(KoreanTranslation, StockButtonsAndFileDialogTextsAreKorean) {
    auto hasHangul = [](const QString& text) {
        for (QChar c : text)
            if (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3)
                return true;
        return false;
    };
    const QDialogButtonBox::StandardButtons stock = QDialogButtonBox::Yes | QDialogButtonBox::No |
                                                    QDialogButtonBox::Open |
                                                    QDialogButtonBox::Cancel | QDialogButtonBox::Ok;
    {
        QDialogButtonBox english(stock);
        EXPECT_FALSE(hasHangul(english.button(QDialogButtonBox::Yes)->text()));
    }
    ASSERT_TRUE(InstallKoreanTranslation());
    QDialogButtonBox box(stock);
    for (QAbstractButton* button : box.buttons())
        EXPECT_TRUE(hasHangul(button->text())) << button->text().toStdString();
    EXPECT_TRUE(hasHangul(QCoreApplication::translate("QFileDialog", "Look in:")));
    EXPECT_TRUE(hasHangul(QCoreApplication::translate("QFileDialog", "File &name:")));
    EXPECT_EQ(QLocale().language(), QLocale::Korean);

    QLocale::setDefault(QLocale::system());

    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(translator);
}
