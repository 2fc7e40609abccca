// The options command end to end: the modal dialog over the main window,
// its Apply reaching the text view at once, and the saved values surviving
// the window's own write at close.

#include "Main.h"

#include "Colorswatch.h"
#include "Files.h"
#include "Options.h"
#include "Testsupport.h"
#include "Xpbutton.h"
#include "Xpspinedit.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace ov {
namespace {

TEST(MainOptions, ApplyReachesTheViewAtOnceAndTheValuesSurviveTheClose) {
    test::TTempFolder folder;
    SetExeFolderOverride(folder.Path());
    folder.Write("langlink.ini", "C=c\n");
    const std::string file = folder.Write("a.c", "int main;\n\tx\n");
    {
        TMainForm form;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.OpenFile(file);
        ASSERT_EQ(form.Controls().Viewer->TabWidth(), 4);

        QPoint dialogPos, expectedPos;
        int tabWidthAfterApply = 0;
        TColor foreAfterApply = 0;
        bool sawDialog = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<TfOptions*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            sawDialog = true;
            dialogPos = dialog->pos();
            expectedPos = QPoint(form.x() + form.width() / 2 - dialog->width() / 2,
                                 form.y() + form.height() / 2 - dialog->height() / 2);
            dialog->ColorDialog = [](QWidget*, QRgb) {
                return std::optional<QRgb>(qRgb(200, 0, 0));
            };
            dialog->TabWidth->SetValue(8);
            QTest::mouseClick(dialog->ColorText, Qt::LeftButton);
            dialog->bApply->click();
            tabWidthAfterApply = form.Controls().Viewer->TabWidth();
            foreAfterApply = form.Controls().Viewer->ForeColor();
            dialog->LeftMargin->SetValue(30);
            dialog->bOK->click();
        });
        form.Options1Click();
        ASSERT_TRUE(sawDialog);
        EXPECT_EQ(dialogPos, expectedPos);
        EXPECT_EQ(tabWidthAfterApply, 8);
        EXPECT_EQ(foreAfterApply, RGBColor(200, 0, 0));
        EXPECT_EQ(form.Controls().Viewer->LeftMargin(), 30);
        EXPECT_EQ(form.Document().FileName(), file) << "applying keeps the file shown";
        form.close();
    }
    const TSettingsStore saved(folder.File("Orvane.ini"));
    EXPECT_EQ(saved.ReadInteger("Option", "TabWidth", 0), 8);
    EXPECT_EQ(saved.ReadInteger("Option", "LeftMargin", 0), 30);
    EXPECT_EQ(saved.ReadString("Style", "ForeColor", ""), "#C80000");
    EXPECT_EQ(saved.ReadSectionValues("Recent").size(), 1u);
    SetExeFolderOverride("");
}

} // namespace
} // namespace ov
