// The restricted font dialog, driven as a user would: what it offers, and a
// typed size outside 4-50 refused with a message while the dialog stays.

#include "Qtdialogs.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTimer>

#include <functional>

using namespace ov;

namespace {

// Runs step on the modal widget of the given kind once it is up (polling,
// at most ten seconds); gives null when none came.
template <typename T> void WhenModal(std::function<void(T*)> step) {
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, step] {
        auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!widget && clock->elapsed() < 10000)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        step(widget);
    });
    poll->start(10);
}

TEST(FontDialog, OffersOnlyFaceAndSizesFromFourToFiftyAndRefusesOthers) {
    bool checked = false, refused = false;
    WhenModal<QFontDialog>([&](QFontDialog* dialog) {
        ASSERT_NE(dialog, nullptr);
        const auto lists = dialog->findChildren<QListView*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_EQ(lists.size(), 3);
        EXPECT_TRUE(lists[0]->isVisible());
        EXPECT_FALSE(lists[1]->isVisible()) << "no style choice";
        const QAbstractItemModel* sizes = lists[2]->model();
        ASSERT_GT(sizes->rowCount(), 0);
        for (int row = 0; row < sizes->rowCount(); ++row) {
            const int size = sizes->index(row, 0).data().toInt();
            EXPECT_TRUE(size >= MinFontDialogSize && size <= MaxFontDialogSize) << size;
        }
        auto* sizeEdit = dialog->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly)[2];
        sizeEdit->setText(QStringLiteral("60"));
        WhenModal<QMessageBox>([&, dialog, sizeEdit](QMessageBox* box) {
            refused = box != nullptr;
            if (box)
                box->accept();
            QTimer::singleShot(0, [&, dialog, sizeEdit] {
                EXPECT_TRUE(dialog->isVisible()) << "the dialog stays after a refused size";
                sizeEdit->setText(QStringLiteral("12"));
                checked = true;
                dialog->accept();
            });
        });
        dialog->accept();
    });
    const std::optional<TFontChoice> chosen =
        AskFont(nullptr, TFontChoice{QStringLiteral("DejaVu Sans"), 99});
    EXPECT_TRUE(checked);
    EXPECT_TRUE(refused);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->PointSize, 12);
    EXPECT_FALSE(chosen->Family.isEmpty());
}

} // namespace
