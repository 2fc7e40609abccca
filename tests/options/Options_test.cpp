#include "Options.h"

#include "Colorswatch.h"
#include "Files.h"
#include "Testsupport.h"
#include "Uiservices.h"
#include "Xlabel.h"
#include "Xpbutton.h"
#include "Xpcheckbox.h"
#include "Xpcombobox.h"
#include "Xpspinedit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace ov {
namespace {

// A program folder of its own per test: two languages (Alpha names two
// keyword groups, Beta none), bitmap fonts of every kind, and a settings
// file when the test writes one.
class OptionsDialogTest : public testing::Test {
protected:
    void SetUp() override {
        SetExeFolderOverride(FFolder.Path());
        FFolder.Write("langlink.ini", "Alpha=a;aa\nBeta=b\n");
        FFolder.Write("Syntax/Alpha.syn", "#Item \"Keywords\"\nif else\n\n#Item \"Types\"\nint\n");
        FFolder.Write("Syntax/Alpha.sty", "Normal=#000000,#FFFFFF\nComment=#008000\n");
        FFolder.Write("Syntax/Beta.syn", "");
        FFolder.Write("Syntax/Beta.sty", "Normal=#101010,#F0F0F0\nComment=#00FF00\n");
        for (const char* font : {"Zeta.han", "Default.han", "Bold.han", "Default.eng", "Mono.eng",
                                 "Default.spc", "Default.ksg"})
            FFolder.Write(std::string("Fonts/") + font, "x");
        // A folder named like a font file is no font.
        FFolder.Write("Fonts/Folder.han/Inner.han", "x");
    }
    void TearDown() override { SetExeFolderOverride(""); }

    std::string SettingsPath() const { return FFolder.File("Orvane.ini"); }

    // Every file of the folder with its bytes.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(FFolder.Path())) {
            if (entry.is_regular_file())
                files[entry.path().string()] = test::ReadBytes(entry.path().string());
        }
        return files;
    }

    // A dialog shown (so filled from the file) with scripted colour and font
    // dialogs; Applied counts the main window's re-reads.
    std::unique_ptr<TfOptions> ShowDialog(const std::string& currentLanguage = "") {
        auto dialog = std::make_unique<TfOptions>(nullptr, currentLanguage, [this] { ++Applied; });
        dialog->ColorDialog = [this](QWidget*, QRgb initial) -> std::optional<QRgb> {
            ColorAsked.push_back(initial);
            return NextColor;
        };
        dialog->show();
        return dialog;
    }

    test::TTempFolder FFolder;
    TScriptedUIServices Messages;
    TUIServicesGuard FGuard{&Messages};
    int Applied = 0;
    std::optional<QRgb> NextColor;
    std::vector<QRgb> ColorAsked;
};

QStringList Entries(const TXPComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

TEST_F(OptionsDialogTest, WithoutSettingsTheControlsShowTheDialogsDefaults) {
    auto dialog = ShowDialog();
    EXPECT_EQ(dialog->TopMargin->Value(), 2);
    EXPECT_EQ(dialog->LeftMargin->Value(), 2);
    EXPECT_EQ(dialog->LineSpace->Value(), 2);
    EXPECT_EQ(dialog->TabWidth->Value(), 4);
    EXPECT_EQ(dialog->FontName->text(), "Verdana");
    EXPECT_EQ(dialog->FontSize->text(), "9");
    // Font lists sorted by name, each showing its "Default" file.
    EXPECT_EQ(Entries(dialog->FontKOR), QStringList({"Bold", "Default", "Zeta"}));
    for (const TXPComboBox* list : {dialog->FontKOR, dialog->FontENG, dialog->FontSPC, dialog->FontKSG})
        EXPECT_EQ(list->currentText(), "Default");
    EXPECT_EQ(dialog->ESCKey->currentText(), "선택해제");
    EXPECT_EQ(dialog->Wheel->Value(), 3);
    EXPECT_EQ(dialog->AutoScroll->Value(), 1500);
    EXPECT_EQ(dialog->ColorText->Color(), RGBColor(0, 0, 0));
    EXPECT_EQ(dialog->ColorBack->Color(), RGBColor(255, 255, 255));
    EXPECT_EQ(dialog->ColorLineNum->Color(), RGBColor(0x66, 0x66, 0x66));
    EXPECT_EQ(dialog->ColorLineBack->Color(), RGBColor(255, 255, 255));
    EXPECT_TRUE(dialog->SynHighlighting->Checked());
    EXPECT_EQ(dialog->size(), QSize(OptionsClientWidth, OptionsClientHeight));
    EXPECT_EQ(dialog->PageControl->count(), 3);
}

// A hand-edited file: numbers beyond a field's range show clamped, a font
// not among the files leaves its list empty, and saving writes exactly that.
TEST_F(OptionsDialogTest, HandEditedValuesAreShownAndSavedClampedAndUnknownFontsEmpty) {
    FFolder.Write("Orvane.ini",
                  "[Option]\nTopMargin=500\nWheel=-7\nAutoScroll=99999999\nESC=2\n"
                  "[Style]\nHanFont=Missing\nEngFont=Mono\nWFontStyle=italic\n");
    auto dialog = ShowDialog();
    EXPECT_EQ(dialog->TopMargin->text(), "200");
    EXPECT_EQ(dialog->Wheel->text(), "0");
    EXPECT_EQ(dialog->AutoScroll->text(), "1000000");
    EXPECT_EQ(dialog->ESCKey->currentText(), "종료");
    EXPECT_EQ(dialog->FontKOR->currentIndex(), -1);
    EXPECT_EQ(dialog->FontENG->currentText(), "Mono");

    // Typed text that is no number becomes the minimum when the field is left.
    dialog->AutoScroll->findChild<QLineEdit*>()->clear();
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(dialog->AutoScroll, &leave);
    EXPECT_EQ(dialog->AutoScroll->text(), "10");

    dialog->bApplyClick();
    EXPECT_EQ(Applied, 1);
    const TSettingsStore saved(SettingsPath());
    EXPECT_EQ(saved.ReadString("Option", "TopMargin", ""), "200");
    EXPECT_EQ(saved.ReadString("Option", "Wheel", ""), "0");
    EXPECT_EQ(saved.ReadString("Option", "AutoScroll", ""), "10");
    EXPECT_EQ(saved.ReadString("Option", "ESC", ""), "2");
    EXPECT_TRUE(saved.ValueExists("Style", "HanFont"));
    EXPECT_EQ(saved.ReadString("Style", "HanFont", "?"), "");
    EXPECT_EQ(saved.ReadString("Style", "EngFont", ""), "Mono");
    EXPECT_EQ(saved.ReadString("Style", "WFontStyle", ""), "italic");
    EXPECT_TRUE(Messages.Records.empty());
}

TEST_F(OptionsDialogTest, LanguageListPreselectsTheViewsLanguageAndListsNamedGroups) {
    auto dialog = ShowDialog("beta");
    EXPECT_EQ(Entries(dialog->Language), QStringList({"Alpha", "Beta"}));
    EXPECT_EQ(dialog->Language->currentText(), "Beta");
    EXPECT_EQ(dialog->ColorGroup->count(), 7);
    EXPECT_EQ(dialog->SynColorText->Color(), RGBColor(0x10, 0x10, 0x10));
    EXPECT_EQ(dialog->SynColorBack->Color(), RGBColor(0xF0, 0xF0, 0xF0));

    dialog->Language->setCurrentIndex(0);
    EXPECT_EQ(Entries(dialog->ColorGroup),
              QStringList({"기본", "숫자", "주석", "문자열1", "문자열2", "줄번호", "HTML값",
                           "Keywords", "Types"}));
    dialog->ColorGroup->setCurrentIndex(2);
    EXPECT_EQ(dialog->SynColorText->Color(), RGBColor(0x00, 0x80, 0x00));
}

// The whole road of one language's colour: changed, kept across a switch of
// language, written to that language's file only, and written again by a
// second Apply; the other files stay byte for byte.
TEST_F(OptionsDialogTest, ALanguageColourChangeIsWrittenToItsStyleFileAlone) {
    auto dialog = ShowDialog();
    ASSERT_EQ(dialog->Language->currentText(), "Alpha");
    dialog->ColorGroup->setCurrentIndex(dialog->ColorGroup->findText("주석"));
    NextColor = qRgb(0x12, 0x34, 0x56);
    QTest::mouseClick(dialog->SynColorText, Qt::LeftButton);
    EXPECT_EQ(ColorAsked, std::vector<QRgb>{qRgb(0x00, 0x80, 0x00)});
    EXPECT_EQ(dialog->SynColorText->Color(), RGBColor(0x12, 0x34, 0x56));

    dialog->Language->setCurrentIndex(1);
    dialog->Language->setCurrentIndex(0);
    dialog->ColorGroup->setCurrentIndex(2);
    EXPECT_EQ(dialog->SynColorText->Color(), RGBColor(0x12, 0x34, 0x56));

    const auto before = Snapshot();
    dialog->bApplyClick();
    auto after = Snapshot();
    const std::string alpha = FFolder.File("Syntax/Alpha.sty");
    EXPECT_NE(after[alpha].find("Comment=#123456\r\n"), std::string::npos);
    EXPECT_NE(after[alpha].find("Normal=#000000,#FFFFFF\r\n"), std::string::npos);
    ASSERT_TRUE(after.count(SettingsPath()));
    for (const auto& [path, bytes] : before) {
        if (path != alpha) {
            EXPECT_EQ(after[path], bytes) << path;
        }
    }

    std::filesystem::remove(alpha);
    dialog->bApplyClick();
    EXPECT_TRUE(FileExists(alpha)) << "a second Apply writes the file again";
    EXPECT_TRUE(Messages.Records.empty());
}

TEST_F(OptionsDialogTest, CancelWritesNothingButKeepsWhatApplyWrote) {
    FFolder.Write("Orvane.ini", "[Option]\nTabWidth=4\n");
    auto dialog = ShowDialog();
    dialog->TabWidth->SetValue(8);
    dialog->bApplyClick();
    const auto applied = Snapshot();

    dialog->TabWidth->SetValue(12);
    NextColor = qRgb(255, 0, 0);
    QTest::mouseClick(dialog->ColorBack, Qt::LeftButton);
    QTest::mouseClick(dialog->SynColorBack, Qt::LeftButton);
    dialog->bCancel->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(Snapshot(), applied);
    EXPECT_EQ(TSettingsStore(SettingsPath()).ReadInteger("Option", "TabWidth", 0), 8);
    EXPECT_EQ(Applied, 1);
}

TEST_F(OptionsDialogTest, CancellingTheColourDialogChangesNothing) {
    auto dialog = ShowDialog();
    NextColor.reset();
    QTest::mouseClick(dialog->ColorText, Qt::LeftButton);
    QTest::mouseClick(dialog->SynColorText, Qt::LeftButton);
    EXPECT_EQ(ColorAsked.size(), 2u);
    EXPECT_EQ(dialog->ColorText->Color(), RGBColor(0, 0, 0));
    dialog->bApplyClick();
    EXPECT_EQ(test::ReadBytes(FFolder.File("Syntax/Alpha.sty")),
              "Normal=#000000,#FFFFFF\nComment=#008000\n");
}

TEST_F(OptionsDialogTest, TheFontDialogSetsNameAndSize) {
    auto dialog = ShowDialog();
    TFontChoice asked;
    dialog->FontDialog = [&](QWidget*, const TFontChoice& initial) -> std::optional<TFontChoice> {
        asked = initial;
        return TFontChoice{QStringLiteral("DejaVu Serif"), 14};
    };
    dialog->bChange->click();
    EXPECT_EQ(asked.Family, "Verdana");
    EXPECT_EQ(asked.PointSize, 9);
    EXPECT_EQ(dialog->FontName->text(), "DejaVu Serif");
    dialog->bOK->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const TSettingsStore saved(SettingsPath());
    EXPECT_EQ(saved.ReadString("Style", "WFontName", ""), "DejaVu Serif");
    EXPECT_EQ(saved.ReadInteger("Style", "WFontSize", 0), 14);
}

// A settings file or style file that cannot be written: the user is told
// which, the old files stay, and OK keeps the dialog open with the changes.
TEST_F(OptionsDialogTest, UnwritableFilesAreReportedAndLeftAlone) {
    std::filesystem::create_directories(SettingsPath()); // a folder stands in its way
    std::filesystem::remove(FFolder.File("Syntax/Beta.sty"));
    std::filesystem::create_directories(FFolder.File("Syntax/Beta.sty"));
    auto dialog = ShowDialog("Beta");
    NextColor = qRgb(1, 2, 3);
    QTest::mouseClick(dialog->SynColorText, Qt::LeftButton);
    const auto before = Snapshot();

    dialog->bOK->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(Messages.Records.size(), 2u);
    EXPECT_NE(Messages.Records[0].Text.find("Beta.sty"), std::string::npos);
    EXPECT_NE(Messages.Records[1].Text.find("Orvane.ini"), std::string::npos);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(std::filesystem::is_directory(SettingsPath()));
}

TEST_F(OptionsDialogTest, AStyleFileWithABadCodeIsNeverRewritten) {
    FFolder.Write("Syntax/Beta.sty", "Normal=#101010,#F0F0F0\nComment=#zz0000\nItem0=#FF0000\n");
    auto dialog = ShowDialog("Beta");
    NextColor = qRgb(1, 2, 3);
    QTest::mouseClick(dialog->SynColorText, Qt::LeftButton);
    EXPECT_TRUE(ColorAsked.empty());
    ASSERT_EQ(Messages.Records.size(), 1u);
    dialog->bApplyClick();
    EXPECT_EQ(test::ReadBytes(FFolder.File("Syntax/Beta.sty")),
              "Normal=#101010,#F0F0F0\nComment=#zz0000\nItem0=#FF0000\n");
}

} // namespace
} // namespace ov
