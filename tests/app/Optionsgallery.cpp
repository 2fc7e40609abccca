// Renders the three pages of the options dialog and an open menu of the
// main window into options_gallery.png beside this test's executable, at
// twice the size, for a person to compare with the intended look. The
// program's own data folder (build/bin) supplies languages and fonts; the
// dialog only reads there. Also checks that the pages fit the dialog.

#include "Main.h"

#include "Files.h"
#include "Menustyle.h"
#include "Options.h"
#include "Xlabel.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace ov {
namespace {

QImage Enlarged(const QImage& image, int factor) {
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Every child of the page lies wholly inside it, and no caption is cut:
// each label is at least as large as its text as the label lays it out.
void ExpectChildrenInside(QWidget* page) {
    for (const TXLabel* label : page->findChildren<TXLabel*>()) {
        EXPECT_GE(label->height(), label->sizeHint().height()) << label->text().toStdString();
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
    for (QWidget* child : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(page->rect().contains(child->geometry()))
            << child->metaObject()->className() << " " << child->geometry().x() << ","
            << child->geometry().y() << " " << child->width() << "x" << child->height()
            << " outside " << page->width() << "x" << page->height();
    }
}

TEST(OptionsGallery, RendersThePagesAndAnOpenMenu) {
    SetExeFolderOverride(ORVANE_BIN_DIR "/");
    TMenuStyle menuStyle(nullptr);
    std::vector<QImage> pictures;
    {
        TfOptions dialog(nullptr, "C", nullptr);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        for (int page = 0; page < dialog.PageControl->count(); ++page) {
            dialog.PageControl->setCurrentIndex(page);
            QCoreApplication::processEvents();
            ExpectChildrenInside(dialog.PageControl->currentWidget());
            pictures.push_back(dialog.grab().toImage());
        }
        EXPECT_EQ(dialog.size(), QSize(OptionsClientWidth, OptionsClientHeight));
    }
    {
        TMainForm form;
        form.menuBar()->setStyle(&menuStyle);
        for (QMenu* menu : form.findChildren<QMenu*>())
            menu->setStyle(&menuStyle);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.Menus().WordWrap1->setChecked(true);
        form.menuBar()->setActiveAction(form.Menus().View1->menuAction());
        form.Menus().View1->setActiveAction(form.Menus().UseFont1);
        QCoreApplication::processEvents();
        pictures.push_back(form.menuBar()->grab().toImage());
        pictures.push_back(form.Menus().View1->grab().toImage());
        form.Menus().View1->hide();
        form.Menus().PopupMenu1->popup(QPoint(0, 0));
        form.Menus().PopupMenu1->setActiveAction(form.Menus().Close2);
        pictures.push_back(form.Menus().PopupMenu1->grab().toImage());
        form.Menus().PopupMenu1->hide();
        form.SetWriteSettingsOnClose(false);
    }
    // Pages side by side; the bar, the View menu and the pop-up menu below.
    int width = 0, height = 0;
    for (size_t i = 0; i < 3; ++i) {
        width += pictures[i].width() + 8;
        height = std::max(height, pictures[i].height());
    }
    QImage sheet(width, height + 8 + pictures[3].height() + 8 +
                            std::max(pictures[4].height(), pictures[5].height()) + 8,
                 QImage::Format_RGB32);
    sheet.fill(Qt::darkGray);
    {
        QPainter painter(&sheet);
        int x = 0;
        for (size_t i = 0; i < 3; ++i) {
            painter.drawImage(x, 0, pictures[i]);
            x += pictures[i].width() + 8;
        }
        const int barTop = height + 8;
        painter.drawImage(0, barTop, pictures[3]);
        const int menuTop = barTop + pictures[3].height() + 8;
        painter.drawImage(0, menuTop, pictures[4]);
        painter.drawImage(pictures[4].width() + 16, menuTop, pictures[5]);
    }
    EXPECT_TRUE(Enlarged(sheet, 2).save(QCoreApplication::applicationDirPath() +
                                        "/options_gallery.png"));
    SetExeFolderOverride("");
}

} // namespace
} // namespace ov
