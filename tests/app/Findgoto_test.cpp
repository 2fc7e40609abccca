// Find, Find Next, go to line or address and the bookmarks, driven through
// the main window and its dialogs as a user drives them.

#include "Bookmarks.h"
#include "Codepage.h"
#include "Files.h"
#include "Find.h"
#include "Goto.h"
#include "Inifiles.h"
#include "Main.h"
#include "Matchlist.h"
#include "Searchbar.h"
#include "Markedscrollbar.h"
#include "Matchhighlight.h"
#include "Messages.h"
#include "Testsupport.h"
#include "Uiservices.h"
#include "Xpbutton.h"
#include "Xpcheckbox.h"
#include "Xpcombobox.h"
#include "Xpedit.h"
#include "Xpgauge.h"
#include "Xpradiobutton.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <tuple>

namespace ov {
namespace {

class FindGotoTest : public testing::Test {
protected:
    void SetUp() override {
        SetExeFolderOverride(FFolder.Path());
        FFolder.Write("langlink.ini", "C=c;h\n");
    }
    void TearDown() override { SetExeFolderOverride(""); }

    // A shown window with the text open; the window is small enough that
    // long texts scroll.
    std::unique_ptr<TMainForm> OpenForm(const std::string& text, const char* name = "a.txt") {
        auto form = std::make_unique<TMainForm>();
        form->resize(500, 300);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->OpenFile(FFolder.Write(name, text));
        return form;
    }

    // Runs act on the next modal dialog once it is open.
    static void WhenModal(std::function<void(QWidget*)> act) {
        QTimer::singleShot(0, [act] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
    }

    static std::pair<TTextPoint, TTextPoint> Selection(const TMainForm& form) {
        return {form.Controls().Viewer->SelStart(), form.Controls().Viewer->SelEnd()};
    }

    int NotFoundBoxes() const {
        int count = 0;
        for (const auto& record : FMessages.Records)
            count += record.Text == LoadStr(SNotFound) && record.Caption == LoadStr(SInformation) &&
                     record.Icon == TMessageIcon::Information;
        return count;
    }

    test::TTempFolder FFolder;
    TScriptedUIServices FMessages;
    TUIServicesGuard FGuard{&FMessages};
};

std::string NumberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "line " + std::to_string(i) + (i % 10 == 7 ? " target\n" : "\n");
    return text;
}

TEST_F(FindGotoTest, FindNextWalksThroughEveryMatchThenReportsNotFound) {
    auto form = OpenForm("aaa\n");
    form->Search().SetQuery("a", {});
    form->UpdateActions();
    ASSERT_TRUE(form->SearchText("a", {}, -1, -1));
    EXPECT_EQ(Selection(*form), std::pair(TTextPoint{0, 0}, TTextPoint{0, 0}));
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(Selection(*form), std::pair(TTextPoint{1, 0}, TTextPoint{1, 0}));
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(Selection(*form), std::pair(TTextPoint{2, 0}, TTextPoint{2, 0}));
    EXPECT_EQ(NotFoundBoxes(), 0);
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(NotFoundBoxes(), 1);
    EXPECT_EQ(form->Search().LastMatch(), NoTextPoint);
    // A failed search leaves the selection where it was.
    EXPECT_EQ(Selection(*form), std::pair(TTextPoint{2, 0}, TTextPoint{2, 0}));
}

TEST_F(FindGotoTest, MatchesScrollToTheTopForwardAndNextToTheBottomBackward) {
    auto form = OpenForm(NumberedLines(300));
    const int visible = form->Controls().Viewer->VisibleRows();
    ASSERT_GT(visible, 3);
    TFindOptions options;
    ASSERT_TRUE(form->SearchText("target", options, -1, -1));
    EXPECT_EQ(form->Controls().Viewer->SelStart(), (TTextPoint{7, 7}));
    EXPECT_EQ(form->Controls().Viewer->SelEnd(), (TTextPoint{12, 7}));
    EXPECT_EQ(form->Controls().Viewer->TopIndex(), 7);
    EXPECT_EQ(form->Search().LastMatch(), (TTextPoint{12, 7}));

    // Upwards from the end: the last match sits next to the window's bottom.
    options.Backward = options.FromStart = true;
    ASSERT_TRUE(form->SearchText("TARGET", options, -1, -1));
    EXPECT_EQ(form->Controls().Viewer->SelStart(), (TTextPoint{9, 297}));
    EXPECT_EQ(form->Controls().Viewer->TopIndex(), 297 - visible + 2);
    EXPECT_EQ(form->Search().LastMatch(), (TTextPoint{9, 297}));
    form->Search().SetQuery("target", options);
    form->UpdateActions();
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(form->Controls().Viewer->SelStart(), (TTextPoint{9, 287}));
    EXPECT_FALSE(form->Search().Options().FromStart);

    // Case and whole words count.
    options = {};
    options.CaseSensitive = true;
    EXPECT_FALSE(form->SearchText("TARGET", options, -1, -1));
    options = {};
    options.WholeWords = true;
    EXPECT_FALSE(form->SearchText("targ", options, -1, -1));
    EXPECT_EQ(NotFoundBoxes(), 2);
}

TEST_F(FindGotoTest, FindNextStartsFromTheWindowWhenTheMatchScrolledAway) {
    auto form = OpenForm(NumberedLines(300));
    form->Search().SetQuery("target", {});
    form->UpdateActions();
    ASSERT_TRUE(form->SearchText("target", {}, -1, -1));
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(form->Controls().Viewer->SelStart().Y, 17);
    // Scrolled far below the match: the next search starts at the top row.
    form->Controls().Viewer->SetTopIndex(150);
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(form->Controls().Viewer->SelStart().Y, 157);
    // A selection of the user's own: the search goes on from the last match.
    form->Controls().Viewer->SetSelStart({0, 0});
    form->Controls().Viewer->SetSelEnd({1, 0});
    form->Controls().Viewer->SetTopIndex(250);
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(form->Controls().Viewer->SelStart().Y, 167);
}

// Find Previous goes the other way from the match; a search that runs off
// either end goes on from the other one and says so in the status bar. The
// dialog's switch for it is on at first and kept in the settings file.
TEST_F(FindGotoTest, FindPreviousAndWrapAroundGoRoundBothEnds) {
    {
        auto form = OpenForm(NumberedLines(300));
        const QLabel* note = form->findChild<QLabel*>(QStringLiteral("SearchNote"));
        ASSERT_NE(note, nullptr);
        EXPECT_FALSE(form->Menus().FindPrevious1->isEnabled());
        WhenModal([](QWidget* dialog) {
            auto* find = static_cast<TfFind*>(dialog);
            EXPECT_TRUE(find->cbWrapAround->Checked());
            find->cbText->setEditText("target");
            find->bFind->click();
        });
        form->Menus().Find1->trigger();
        const auto line = [&form] { return form->Controls().Viewer->SelStart().Y; };
        EXPECT_EQ(line(), 7);
        EXPECT_TRUE(form->Menus().FindPrevious1->isEnabled());
        EXPECT_FALSE(note->isVisibleTo(form.get()));

        form->Menus().FindPrevious1->trigger();
        EXPECT_EQ(line(), 297);
        EXPECT_TRUE(note->isVisibleTo(form.get()));
        EXPECT_EQ(note->text(), QStringLiteral("처음에 이르러 끝에서부터 찾았습니다"));
        form->Menus().FindNext1->trigger();
        EXPECT_EQ(line(), 7);
        EXPECT_EQ(note->text(), QStringLiteral("끝에 이르러 처음부터 찾았습니다"));
        form->Menus().FindNext1->trigger();
        EXPECT_EQ(line(), 17);
        EXPECT_FALSE(note->isVisibleTo(form.get()));
        // Back from a match found forward: the match before it, not itself.
        form->Menus().FindPrevious1->trigger();
        EXPECT_EQ(line(), 7);
        form->Menus().FindNext1->trigger();
        EXPECT_EQ(line(), 17);
        EXPECT_EQ(NotFoundBoxes(), 0);

        // Without wrapping the ends stop the search.
        WhenModal([](QWidget* dialog) {
            auto* find = static_cast<TfFind*>(dialog);
            find->cbWrapAround->SetChecked(false);
            find->cbText->setEditText("target");
            find->rbEntire->SetChecked(true);
            find->bFind->click();
        });
        form->Menus().Find1->trigger();
        EXPECT_EQ(line(), 7);
        form->Menus().FindPrevious1->trigger();
        EXPECT_EQ(NotFoundBoxes(), 1);
        EXPECT_EQ(line(), 7);
        form->close();
    }
    EXPECT_FALSE(TSettingsStore(FFolder.File("Orvane.ini")).ReadBool("Option", "FindWrapAround", true));
    auto form = OpenForm("x\n");
    EXPECT_FALSE(form->Controls().fFind->cbWrapAround->Checked());
}

// A regular expression typed into the dialog finds what it describes; one
// that does not compile is said in Korean, naming where, and finds nothing.
TEST_F(FindGotoTest, TheDialogSearchesForRegularExpressions) {
    auto form = OpenForm("alpha 12\n\xB0\xA1\xB0\xA1 beta 345\n");
    const auto search = [&form](const char* text) {
        WhenModal([text](QWidget* dialog) {
            auto* find = static_cast<TfFind*>(dialog);
            find->cbRegex->SetChecked(true);
            find->cbText->setEditText(QString::fromUtf8(text));
            find->bFind->click();
        });
        form->Menus().Find1->trigger();
    };
    search("(가)+ [a-z]+ [0-9]{3}");
    EXPECT_EQ(Selection(*form), std::pair(TTextPoint{0, 1}, TTextPoint{12, 1}));
    search("[0-9]+$");
    EXPECT_EQ(Selection(*form), std::pair(TTextPoint{6, 0}, TTextPoint{7, 0}));
    FMessages.Records.clear();
    search("beta (");
    ASSERT_EQ(FMessages.Records.size(), 1u);
    EXPECT_EQ(FMessages.Records[0].Text,
              "정규 표현식의 7번째 글자에서 오류: 괄호 )가 닫히지 않았습니다.");
    EXPECT_EQ(Selection(*form), std::pair(TTextPoint{6, 0}, TTextPoint{7, 0}));
}

// In the hex view Find takes hexadecimal byte strings (or texts), marks the
// match in both columns and goes on with Find Next and Find Previous round
// the ends, as in the text view.
TEST_F(FindGotoTest, TheHexViewFindsByteStrings) {
    std::string bytes(6000, '\x01');
    bytes.replace(100, 4, "\xDE\xAD\xBE\xEF");
    bytes.replace(4000, 4, "\xDE\xAD\xBE\xEF");
    bytes.replace(5000, 3, "zZz");
    auto form = OpenForm(bytes, "data.bin");
    const THexViewControl& view = *form->Controls().HexViewer;
    ASSERT_TRUE(view.isVisibleTo(form.get()));
    const auto search = [&form](const char* text, bool hex) {
        WhenModal([text, hex](QWidget* dialog) {
            auto* find = static_cast<TfFind*>(dialog);
            EXPECT_TRUE(find->cbHexBytes->isEnabled());
            EXPECT_FALSE(find->cbRegex->isEnabled());
            find->cbHexBytes->SetChecked(hex);
            find->cbText->setEditText(QString::fromUtf8(text));
            find->bFind->click();
        });
        form->Menus().Find1->trigger();
    };
    const QImage unmarked = view.BackBuffer().copy();
    search("de ad BE EF", true);
    EXPECT_EQ(view.MarkOffset(), 100);
    EXPECT_EQ(view.MarkLength(), 4);
    // Marked cells are inverted: the background of a marked hex cell takes
    // the text's colour, the rest stays as it was.
    const QImage& marked = view.BackBuffer();
    ASSERT_EQ(marked.size(), unmarked.size());
    int inverted = 0;
    for (int y = 0; y < marked.height(); ++y)
        for (int x = 0; x < marked.width(); ++x) {
            const QRgb before = unmarked.pixel(x, y);
            const QRgb after = marked.pixel(x, y);
            ASSERT_EQ(qAlpha(after), 255);
            inverted += after != before && after == ((0xFFFFFFu ^ before) | 0xFF000000u);
        }
    EXPECT_GT(inverted, 0);
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(view.MarkOffset(), 4000);
    // The match is brought into view.
    EXPECT_LE(view.TopIndex(), 4000 / 16);
    EXPECT_GT(view.TopIndex() + view.PageRows(), 4003 / 16);
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(view.MarkOffset(), 100);
    EXPECT_TRUE(form->findChild<QLabel*>(QStringLiteral("SearchNote"))->isVisibleTo(form.get()));
    form->Menus().FindPrevious1->trigger();
    EXPECT_EQ(view.MarkOffset(), 4000);
    EXPECT_EQ(NotFoundBoxes(), 0);
    // Every match is marked as well; Escape clears those marks, finding
    // again brings them back.
    EXPECT_TRUE(view.MatchBytesActive());
    QTest::keyClick(form->Controls().HexViewer, Qt::Key_Escape);
    EXPECT_FALSE(view.MatchBytesActive());
    EXPECT_EQ(view.MarkOffset(), 4000);
    form->Menus().FindNext1->trigger();
    EXPECT_TRUE(view.MatchBytesActive());

    search("ZZZ", false);
    EXPECT_EQ(view.MarkOffset(), 5000);
    FMessages.Records.clear();
    search("DE A", true);
    ASSERT_EQ(FMessages.Records.size(), 1u);
    EXPECT_EQ(FMessages.Records[0].Icon, TMessageIcon::Warning);
    EXPECT_EQ(view.MarkOffset(), 5000);
    search("CA FE", true);
    EXPECT_EQ(NotFoundBoxes(), 1);
}

TEST_F(FindGotoTest, TheSecondByteOfAKoreanCharacterNeverStartsAMatch) {
    // 0x81 0x41 is one character whose second byte reads as "A".
    auto form = OpenForm("\x81" "A\x81" "A A \xB0\xA1\xB0\xA1\n");
    TFindOptions options;
    options.CaseSensitive = true;
    ASSERT_TRUE(form->SearchText("A", options, -1, -1));
    EXPECT_EQ(form->Controls().Viewer->SelStart(), (TTextPoint{5, 0}));
    // The typed text is converted to the document's code page; a match of
    // one double-byte character is that character, and Find Next goes on
    // behind it.
    form->Search().SetQuery("가", {});
    form->UpdateActions();
    ASSERT_TRUE(form->SearchText("가", options, -1, -1));
    EXPECT_EQ(Selection(*form), std::pair(TTextPoint{7, 0}, TTextPoint{7, 0}));
    EXPECT_EQ(form->Controls().Viewer->GetSelText(), "\xB0\xA1");
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(Selection(*form), std::pair(TTextPoint{9, 0}, TTextPoint{9, 0}));
}

TEST_F(FindGotoTest, SearchingAnEmptyOrBinaryViewSaysNothing) {
    auto form = OpenForm(std::string("\x01\x02\0\x03zz", 6), "data.bin");
    ASSERT_TRUE(form->Controls().HexViewer->isVisibleTo(form.get()));
    EXPECT_FALSE(form->SearchText("zz", {}, -1, -1));
    EXPECT_TRUE(FMessages.Records.empty());
}

// The dialog as typed into: the history comes from the settings at the
// first Find, takes new texts at its top and goes back at close.
TEST_F(FindGotoTest, TheFindDialogSearchesAndKeepsItsHistoryInTheSettings) {
    FFolder.Write("Orvane.ini", "[FindHistory]\n1=alpha\n2=Target\n");
    {
        auto form = OpenForm(NumberedLines(40));
        EXPECT_FALSE(form->Controls().fFind->HistoryLoaded());
        WhenModal([](QWidget* dialog) {
            auto* find = static_cast<TfFind*>(dialog);
            EXPECT_EQ(find->windowTitle(), QStringLiteral("찾기"));
            EXPECT_EQ(find->size(), QSize(331, 267));
            EXPECT_EQ(find->Text(), "");
            QTest::keyClicks(find->cbText, "line 3");
            QTest::keyClick(find->cbText, Qt::Key_Return);
        });
        form->Menus().Find1->trigger();
        EXPECT_EQ(form->Controls().Viewer->SelStart(), (TTextPoint{0, 3}));
        EXPECT_EQ(form->Controls().fFind->History(),
                  (std::vector<std::string>{"line 3", "alpha", "Target"}));

        // Upwards from the beginning; a text already there in another case
        // stays where it is.
        WhenModal([](QWidget* dialog) {
            auto* find = static_cast<TfFind*>(dialog);
            find->cbText->setEditText("TARGET");
            find->rbBackward->SetChecked(true);
            find->rbEntire->SetChecked(true);
            find->bFind->click();
        });
        form->Menus().Find1->trigger();
        EXPECT_EQ(form->Controls().Viewer->SelStart(), (TTextPoint{8, 37}));
        EXPECT_EQ(form->Controls().fFind->History(),
                  (std::vector<std::string>{"line 3", "alpha", "Target"}));
        // Escape changes nothing.
        WhenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        form->Menus().Find1->trigger();
        EXPECT_EQ(form->Controls().Viewer->SelStart(), (TTextPoint{8, 37}));
        form->close();
    }
    TSettingsStore saved(FFolder.File("Orvane.ini"));
    EXPECT_EQ(saved.ReadSectionValues("FindHistory"),
              (std::vector<std::string>{"1=line 3", "2=alpha", "3=Target"}));
}

// Any text typed into the dialog comes back after a restart, also one the
// code page cannot hold; a code-page text of an older settings file is read
// as the text it was.
TEST_F(FindGotoTest, TheHistoryKeepsEveryTextAcrossARestart) {
    FFolder.Write("Orvane.ini", "[FindHistory]\n1=" + AnsiFromUtf8("한글") + "\n");
    const std::vector<std::string> expected{"ไทย 漢字", "한글"};
    {
        auto form = OpenForm("ไทย 漢字 한글\n");
        WhenModal([](QWidget* dialog) {
            auto* find = static_cast<TfFind*>(dialog);
            find->cbText->setEditText(QStringLiteral("ไทย 漢字"));
            find->bFind->click();
        });
        form->Menus().Find1->trigger();
        EXPECT_EQ(form->Controls().fFind->History(), expected);
        form->close();
    }
    EXPECT_NE(
        test::ReadBytes(FFolder.File("Orvane.ini")).find("[FindHistory]\n1=ไทย 漢字\n2=한글\n"),
        std::string::npos);
    TMainForm form;
    form.show();
    WhenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    form.Menus().Find1->trigger();
    EXPECT_EQ(form.Controls().fFind->History(), expected);
    form.close();
}

TEST_F(FindGotoTest, TheHistoryHoldsTwentyTextsAndCanBeCleared) {
    TfFind find;
    for (int i = 1; i <= 21; ++i) {
        find.cbText->setEditText(QString::number(i));
        find.bFindClick();
    }
    std::vector<std::string> history = find.History();
    ASSERT_EQ(history.size(), 20u);
    EXPECT_EQ(history.front(), "21");
    EXPECT_EQ(history.back(), "2");
    // An empty text keeps the dialog open and the list as it is.
    find.show();
    find.cbText->setEditText("");
    find.bFindClick();
    EXPECT_TRUE(find.isVisible());
    EXPECT_EQ(find.History().size(), 20u);
    // What is typed stays as typed: no item of the history completes it.
    QTest::keyClicks(find.cbText, "1");
    EXPECT_EQ(find.Text(), "1");

    FFolder.Write("Orvane.ini", "[FindHistory]\n1=old\n");
    {
        TMainForm form;
        form.show();
        WhenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        form.Menus().Find1->trigger();
        EXPECT_EQ(form.Controls().fFind->History(), std::vector<std::string>{"old"});
        form.Menus().ClearFindHistory1->trigger();
        EXPECT_TRUE(form.Controls().fFind->History().empty());
        EXPECT_TRUE(form.Controls().fFind->HistoryLoaded());
        form.close();
    }
    EXPECT_FALSE(TSettingsStore(FFolder.File("Orvane.ini")).SectionExists("FindHistory"));
}

TEST_F(FindGotoTest, GoToLineFiltersKeysAndRefusesNumbersOutOfRange) {
    TfGoto lines;
    lines.Prepare(120);
    EXPECT_EQ(lines.Label1->text(), QStringLiteral("범위: 1 - 120"));
    lines.show();
    QTest::keyClicks(lines.Edit1, "1a2 -;1");
    EXPECT_EQ(lines.Edit1->text(), QStringLiteral("121"));
    lines.Button1->click();
    ASSERT_EQ(FMessages.Records.size(), 1u);
    EXPECT_EQ(FMessages.Records[0].Text, LoadStr(SInvalidValue));
    EXPECT_EQ(FMessages.Records[0].Icon, TMessageIcon::Warning);
    EXPECT_TRUE(lines.isVisible());
    for (const char* accepted : {"120", "0", "1"}) {
        lines.show();
        lines.Edit1->setText(QString::fromLatin1(accepted));
        lines.Button1->click();
        EXPECT_EQ(lines.result(), QDialog::Accepted) << accepted;
    }
    EXPECT_EQ(FMessages.Records.size(), 1u);
    EXPECT_EQ(ReadLineNumber("-3"), -3);
    EXPECT_EQ(ReadLineNumber("x"), -1);
    EXPECT_EQ(ReadLineNumber("99999999999"), -1);

    auto form = OpenForm(NumberedLines(300));
    WhenModal([](QWidget* dialog) {
        QTest::keyClicks(static_cast<TfGoto*>(dialog)->Edit1, "50");
        QTest::keyClick(static_cast<TfGoto*>(dialog)->Edit1, Qt::Key_Return);
    });
    form->Menus().GotoLine1->trigger();
    EXPECT_EQ(form->Controls().Viewer->TopIndex(), 49);
    WhenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    form->Menus().GotoLine1->trigger();
    EXPECT_EQ(form->Controls().Viewer->TopIndex(), 49);
}

TEST_F(FindGotoTest, GoToAddressInTheHexView) {
    TfGotoAddress address;
    address.Prepare(4096);
    EXPECT_EQ(address.Label2->text(), QStringLiteral("범위: 0x00000000 - 0x00001000"));
    EXPECT_GE(address.width(), 209);
    EXPECT_EQ(address.height(), 99);
    address.show();
    for (const char* refused : {"", "4097", "-1", "0xFFFFFFFF", "12 ", "0x1G"}) {
        address.XPEdit1->setText(QString::fromLatin1(refused));
        address.bGoClick();
        EXPECT_TRUE(address.isVisible()) << refused;
    }
    EXPECT_EQ(FMessages.Records.size(), 6u);
    address.XPEdit1->setText("0x1000");
    address.bGoClick();
    EXPECT_EQ(address.result(), QDialog::Accepted);
    // A file above 4 GiB shows nine digits and a wider address.
    TfGotoAddress large;
    large.Prepare(int64_t(5) << 30);
    EXPECT_EQ(large.Label2->text(), QStringLiteral("범위: 0x000000000 - 0x140000000"));
    EXPECT_LE(large.Label2->geometry().right(), large.width());
    EXPECT_GT(large.width(), address.width());

    auto form = OpenForm(std::string(4096, '\x01'), "data.bin");
    ASSERT_TRUE(form->Controls().HexViewer->isVisibleTo(form.get()));
    WhenModal([](QWidget* dialog) {
        auto* shown = static_cast<TfGotoAddress*>(dialog);
        EXPECT_EQ(shown->windowTitle(), QStringLiteral("주소 찾아가기"));
        QTest::keyClicks(shown->XPEdit1, "53");
        QTest::keyClick(shown->XPEdit1, Qt::Key_Return);
    });
    form->Menus().GotoLine1->trigger();
    EXPECT_EQ(form->Controls().HexViewer->TopIndex(), 3);
}

TEST_F(FindGotoTest, BookmarksToggleMoveListAndMarkTheirRows) {
    auto form = OpenForm(NumberedLines(300));
    const int margin = form->Controls().Viewer->LeftMargin();
    QAction* toggle3 = form->Menus().ToggleBookmarks1->actions().at(3);
    form->Controls().Viewer->SetTopIndex(41);
    toggle3->trigger();
    EXPECT_EQ(form->Bookmarks().Row(3), 41);
    EXPECT_TRUE(toggle3->isChecked());
    EXPECT_TRUE(form->Menus().GotoBookmarks1->actions().at(3)->isChecked());
    EXPECT_EQ(form->Controls().Viewer->LeftMargin(),
              margin + form->Controls().Viewer->LineHeight() - 2);
    toggle3->trigger();
    EXPECT_EQ(form->Bookmarks().Row(3), -1);
    EXPECT_FALSE(toggle3->isChecked());
    EXPECT_EQ(form->Controls().Viewer->LeftMargin(), margin);

    // Set at 41, moved to 60; bookmark 5 also at 41.
    form->ToggleBookmark(3, 41);
    form->ToggleBookmark(3, 60);
    form->ToggleBookmark(5, 41);
    form->ToggleBookmark(7, 41);
    EXPECT_EQ(form->Bookmarks().Row(3), 60);
    ASSERT_EQ(form->Controls().lbBookmarks->count(), 3);
    EXPECT_EQ(form->Controls().lbBookmarks->item(1)->text(), QStringLiteral("5=line 41"));
    EXPECT_EQ(
        BookmarkRowText(form->Controls().lbBookmarks->item(1)->text(), form->Bookmarks().Rows()),
        QStringLiteral("책갈피5, 줄# 41     : line 41"));
    EXPECT_EQ(BookmarkAtRow(form->Bookmarks().Rows(), 41), 5);

    // The icon of bookmark 5 stands in the gutter of row 41.
    form->Controls().Viewer->SetTopIndex(41);
    const QImage& screen = form->Controls().Viewer->BackBuffer();
    const QImage icon = BookmarkIcon(5);
    const int y = form->Controls().Viewer->TopMargin() +
                  (form->Controls().Viewer->LineHeight() - BookmarkIconSize) / 2;
    const int x = form->Controls().Viewer->GetLineNumWidth();
    int same = 0;
    for (int dy = 1; dy < BookmarkIconSize - 1; ++dy)
        for (int dx = 1; dx < BookmarkIconSize - 1; ++dx)
            same += screen.pixel(x + dx, y + dy) == icon.pixel(dx, dy);
    EXPECT_EQ(same, (BookmarkIconSize - 2) * (BookmarkIconSize - 2));

    // Digits go to bookmarks; Enter in the list as well.
    form->Controls().Viewer->SetTopIndex(0);
    form->Menus().GotoBookmarks1->actions().at(3)->trigger();
    EXPECT_EQ(form->Controls().Viewer->TopIndex(), 60);
    form->Menus().GotoBookmarks1->actions().at(9)->trigger();
    EXPECT_EQ(form->Controls().Viewer->TopIndex(), 60);
    form->Menus().ShowBookmarks1->trigger();
    EXPECT_TRUE(form->Controls().pBookmarks->isVisible());
    EXPECT_TRUE(form->Menus().ShowBookmarks1->isChecked());
    form->Controls().lbBookmarks->setCurrentRow(1);
    QTest::keyClick(form->Controls().lbBookmarks, Qt::Key_Return);
    EXPECT_EQ(form->Controls().Viewer->TopIndex(), 41);
    form->Controls().sbCloseBookmarks->click();
    EXPECT_FALSE(form->Controls().pBookmarks->isVisible());
    EXPECT_FALSE(form->Menus().ShowBookmarks1->isChecked());
}

// Bookmarks are plain row numbers: after a shorter file opens, or with word
// wrap on, the list is still rebuilt whole.
TEST_F(FindGotoTest, StaleBookmarksQuoteNothingAndWrappedRowsQuoteTheirLine) {
    auto form = OpenForm(NumberedLines(300));
    form->ToggleBookmark(1, 250);
    form->OpenFile(FFolder.Write("short.txt", "one\ntwo\n"));
    form->ToggleBookmark(2, 1);
    ASSERT_EQ(form->Controls().lbBookmarks->count(), 2);
    EXPECT_EQ(form->Controls().lbBookmarks->item(0)->text(), QStringLiteral("1="));
    EXPECT_EQ(form->Controls().lbBookmarks->item(1)->text(), QStringLiteral("2=two"));
    EXPECT_GT(form->Controls().Viewer->LeftMargin(), 2);

    std::string longLine(3000, 'x');
    form->OpenFile(FFolder.Write("wrap.txt", longLine + "\nlast\n"));
    form->Controls().Viewer->SetWordWrap(true);
    ASSERT_GT(form->Controls().Viewer->RowCount(), 3);
    form->ToggleBookmark(2, 1); // clears it: still the same index
    form->ToggleBookmark(2, 2);
    form->ToggleBookmark(4, form->Controls().Viewer->RowCount() - 1);
    ASSERT_EQ(form->Controls().lbBookmarks->count(), 3);
    EXPECT_EQ(form->Controls().lbBookmarks->item(1)->text(),
              QStringLiteral("2=") + QString::fromLatin1(longLine.substr(0, BookmarkTextLimit)));
    EXPECT_EQ(form->Controls().lbBookmarks->item(2)->text(), QStringLiteral("4=last"));
}

// Every match of the search, for lines made of space-separated tokens of
// which only some hold the pattern: the marks of the shown rows are exactly
// the target tokens (the runs the view keeps and the cells it paints), the
// count is their number, in UTF-8 and CP949, plain and regular, both fonts,
// word wrap off and on. Escape clears the marks; Find Next brings them back.
TEST_F(FindGotoTest, EveryMatchOfTheShownRowsIsMarkedAndCounted) {
    const std::vector<std::string> tokens = {"가나", "다라마", "needle", "NEEDLE", "abc", "x1", "가"};
    std::mt19937 random(23);
    std::vector<std::vector<int>> lines(400);
    for (std::vector<int>& line : lines) {
        const int length = std::uniform_int_distribution<int>(0, 40)(random);
        for (int k = 0; k < length; ++k)
            line.push_back(std::uniform_int_distribution<int>(0, int(tokens.size()) - 1)(random));
    }
    struct TCase {
        const char* Text;
        TFindOptions Options;
        std::set<int> Targets;
    };
    TFindOptions regex;
    regex.Regex = true;
    regex.CaseSensitive = true;
    const std::vector<TCase> cases = {
        {"가나", {}, {0}}, {"needle", {}, {2, 3}}, {"ne+dle|가나", regex, {0, 2}}};
    // Blank bitmap glyphs: a cell shows its background alone.
    std::filesystem::create_directory(FFolder.File("Fonts"));
    for (const auto& [name, size] : {std::pair("default.han", 11520), std::pair("default.eng", 4096),
                                     std::pair("default.ksg", 8192), std::pair("default.spc", 36096),
                                     std::pair("hanja.fnt", 156416)}) {
        FFolder.Write(std::string("Fonts/") + name, std::string(std::size_t(size), '\0'));
        std::string upper = name;
        upper[0] = 'D';
        FFolder.Write("Fonts/" + upper, std::string(std::size_t(size), '\0'));
    }
    for (const bool cp949 : {false, true}) {
        auto bytes = [cp949](const std::string& utf8) { return cp949 ? AnsiFromUtf8(utf8) : utf8; };
        std::string text;
        for (const std::vector<int>& line : lines) {
            for (std::size_t k = 0; k < line.size(); ++k)
                text += (k ? " " : "") + bytes(tokens[std::size_t(line[k])]);
            text += "\n";
        }
        auto form = OpenForm(text);
        TOVSynTextViewer& view = *form->Controls().Viewer;
        ASSERT_EQ(view.TextCoding(), cp949 ? TTextCoding::Cp949 : TTextCoding::Utf8);
        QLabel& panel = *form->Controls().MatchPanel;
        for (const TCase& test : cases) {
            std::vector<std::vector<TMatchRun>> expected(lines.size());
            long long total = 0;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                int at = 0;
                for (int token : lines[i]) {
                    const int length = int(bytes(tokens[std::size_t(token)]).size());
                    if (test.Targets.count(token)) {
                        expected[i].push_back({at, at + length});
                        ++total;
                    }
                    at += length + 1;
                }
            }
            const std::string what = std::string(test.Text) + (cp949 ? " cp949" : " utf8");
            form->SetMatchHighlight(test.Text, test.Options);
            ASSERT_TRUE(view.MatchHighlightActive()) << what;
            EXPECT_EQ(view.MatchCount().Count, total) << what;
            EXPECT_TRUE(view.MatchCount().Complete) << what;
            std::string digits = std::to_string(total);
            if (total >= 1000)
                digits.insert(digits.size() - 3, ",");
            EXPECT_TRUE(panel.isVisible()) << what;
            EXPECT_EQ(panel.text().toStdString(), "일치 " + digits + "개") << what;
            for (const bool bitmap : {true, false}) {
                for (const bool wrap : {false, true}) {
                    view.SetUseBitmapFont(bitmap);
                    view.SetWordWrap(wrap);
                    view.SetTopIndex(view.RowCount() / 3);
                    view.Deselect();
                    QCoreApplication::processEvents();
                    const QImage& image = view.BackBuffer();
                    const QRgb mark = RgbFromColor(view.MatchColor());
                    const int pitch = view.LineHeight() + view.LineSpace();
                    const std::string how = what + (bitmap ? " bitmap" : " outline") +
                                            (wrap ? " wrap" : "");
                    int markedRows = 0;
                    for (int row = view.TopIndex();
                         row < std::min(view.RowCount(), view.TopIndex() + view.VisibleRows());
                         ++row) {
                        const TRowSpan span = view.RowSpan(row);
                        ASSERT_EQ(view.MatchRunsOf(span.Line), expected[std::size_t(span.Line)])
                            << how << " line " << span.Line;
                        const int y = (row - view.TopIndex()) * pitch + view.TopMargin();
                        auto marked = [&](int left, int right) {
                            for (int py = y; py < std::min(y + view.LineHeight(), image.height()); ++py)
                                for (int px = std::max(left, 0); px < std::min(right, image.width()); ++px)
                                    if ((image.pixel(px, py) & 0xFFFFFF) == (mark & 0xFFFFFF))
                                        return true;
                            return false;
                        };
                        // With the outline font: a row is marked when it holds a
                        // match, surely when one begins in its first 20 bytes
                        // (well inside the window).
                        bool rowMarked = false;
                        bool nearStart = false;
                        for (const TMatchRun& run : expected[std::size_t(span.Line)]) {
                            rowMarked |= run.End > span.Start && run.Start < span.Start + span.Length;
                            nearStart |= run.End > span.Start && run.Start < span.Start + std::min(span.Length, 20);
                        }
                        markedRows += rowMarked;
                        if (!bitmap) {
                            const bool shown = marked(view.GetGutterWidth(), image.width());
                            EXPECT_TRUE(shown ? rowMarked : !nearStart) << how << " row " << row;
                            continue;
                        }
                        // Bitmap cells: 8 pixels for ASCII, 16 for a Korean character.
                        std::string shown;
                        const std::string_view line = view.Lines().ShownView(span.Line, shown);
                        int x = view.GetGutterWidth();
                        for (std::size_t p = std::size_t(span.Start);
                             p < std::size_t(span.Start + span.Length);) {
                            const std::size_t next = view.Coding().NextChar(line, p);
                            const int width = next - p > 1 ? 16 : 8;
                            if (x + width > image.width())
                                break;
                            EXPECT_EQ(marked(x + 1, x + width - 1), InMatchRuns(expected[std::size_t(span.Line)], int(p)))
                                << how << " row " << row << " byte " << p;
                            x += width;
                            p = next;
                        }
                    }
                    EXPECT_GT(markedRows, 0) << how;
                }
            }
            view.SetWordWrap(false);
        }
        // Escape clears the marks and the count; Find Next shows them again.
        form->Search().SetQuery("needle", {});
        QTest::keyClick(&view, Qt::Key_Escape);
        EXPECT_FALSE(view.MatchHighlightActive());
        EXPECT_FALSE(panel.isVisible());
        EXPECT_TRUE(view.MatchRunsOf(0).empty());
        form->Menus().FindNext1->trigger();
        EXPECT_TRUE(view.MatchHighlightActive());
        EXPECT_TRUE(panel.isVisible());
        form->SetMatchHighlight("", {});
        EXPECT_FALSE(view.MatchHighlightActive());
    }
}

// Where the matches lie, kept in few buckets: every line added lies in a
// bucket kept, every bucket kept holds a line added, and however many lines
// come no more than the limit are kept.
TEST(MatchTicks, BucketsHoldExactlyTheMatchingLinesAndStaySmall) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        TMatchTicks ticks;
        std::vector<int> added;
        int line = 0;
        const int count = std::uniform_int_distribution<int>(0, 20000)(random);
        const int gap = std::uniform_int_distribution<int>(1, 5000)(random);
        for (int i = 0; i < count; ++i) {
            line += std::uniform_int_distribution<int>(0, gap)(random);
            added.push_back(line);
            ticks.Add(line);
        }
        const std::vector<int> kept = ticks.Lines();
        ASSERT_LE(kept.size(), TMatchTicks::Limit);
        ASSERT_TRUE(std::is_sorted(kept.begin(), kept.end()));
        const int width = 1 << ticks.Shift();
        std::set<int> expected;
        for (int a : added)
            expected.insert(a / width * width);
        EXPECT_EQ(std::vector<int>(expected.begin(), expected.end()), kept) << round;
        // Never coarser than needed.
        if (ticks.Shift() > 0) {
            std::set<int> finer;
            for (int a : added)
                finer.insert(a / (width / 2));
            EXPECT_GT(finer.size(), TMatchTicks::Limit);
        }
    }
}

// Commands that need every line of a file still being indexed: the index is
// held after a small first part until the test releases it, whatever the
// machine's speed.
class IndexedCommandsTest : public FindGotoTest {
protected:
    static constexpr int Total = 200000;

    IndexedCommandsTest() {
        FPolicy.FirstPartBytes = 64 << 10;
        FPolicy.Gate = FGate;
        for (int i = 0; i < Total; ++i)
            FText += "log line " + std::to_string(i) + (i == Total - 10 ? " needle" : "") + "\n";
    }

    std::unique_ptr<TMainForm> OpenHeld() {
        FGate->Hold();
        auto form = std::make_unique<TMainForm>();
        form->resize(500, 300);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->Controls().Viewer->SetLoadPolicy(FPolicy);
        form->OpenFile(FFolder.Write("big.log", FText));
        EXPECT_TRUE(form->Controls().Viewer->Loading());
        EXPECT_LT(form->Controls().Viewer->RowCount(), Total - 10);
        return form;
    }

    void ReleaseAndWait(TMainForm& form) {
        FGate->Release();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !form.Controls().Viewer->Loading() && !form.Controls().Viewer->JobRunning(); },
            20000));
    }

    std::shared_ptr<TWorkerGate> FGate = std::make_shared<TWorkerGate>();
    TLoadPolicy FPolicy;
    std::string FText;
};

// Find, select all and copy all wait for the index as jobs the gauge shows;
// Escape stops each and leaves the view as it was; run again, find shows
// the match found beyond the lines indexed once the index reaches it.
TEST_F(IndexedCommandsTest, CommandsDuringTheIndexAreCancelledByEscapeAndFinishAfterIt) {
    auto form = OpenHeld();
    TOVSynTextViewer& view = *form->Controls().Viewer;
    QTest::keyClick(&view, Qt::Key_Down);
    const int top = view.TopIndex();
    const auto selection = Selection(*form);
    const QString clipboard = QGuiApplication::clipboard()->text();
    auto runAndEscape = [&](const std::function<void()>& command, const char* name) {
        command();
        ASSERT_TRUE(view.JobRunning()) << name;
        QTest::qWait(100);
        EXPECT_TRUE(view.JobRunning()) << name;
        EXPECT_TRUE(form->Controls().LoadGauge->isVisible()) << name;
        QTest::keyClick(&view, Qt::Key_Escape);
        EXPECT_FALSE(view.JobRunning()) << name;
        QTest::qWait(100);
        EXPECT_EQ(view.TopIndex(), top) << name;
        EXPECT_EQ(Selection(*form), selection) << name;
        EXPECT_EQ(QGuiApplication::clipboard()->text(), clipboard) << name;
        EXPECT_EQ(NotFoundBoxes(), 0) << name;
        EXPECT_TRUE(view.Loading()) << name;
    };
    runAndEscape([&] { EXPECT_FALSE(form->SearchText("needle", {}, -1, -1)); }, "find");
    runAndEscape([&] { view.SelectAll(); }, "select all");
    FMessages.Answers.push_back(true); // copy that many lines
    runAndEscape([&] { form->Menus().CopyAll1->trigger(); }, "copy all");
    EXPECT_EQ(FMessages.Records.size(), 0u); // the question waits for the count

    form->SearchText("needle", {}, -1, -1);
    ReleaseAndWait(*form);
    EXPECT_EQ(Selection(*form).first, (TTextPoint{16, Total - 10}));
    EXPECT_LE(view.TopIndex(), Total - 10);
    EXPECT_GT(view.TopIndex() + view.VisibleRows(), Total - 10);
}

// Go to line opens at once with the lines counted so far and a note that
// counting goes on; a line beyond them is reached once the index gets there.
TEST_F(IndexedCommandsTest, GoToLineBeyondTheIndexIsReachedOnceIndexed) {
    auto form = OpenHeld();
    TOVSynTextViewer& view = *form->Controls().Viewer;
    const int known = view.RowCount();
    QString range;
    bool noteShown = false;
    WhenModal([&](QWidget* dialog) {
        auto* lines = static_cast<TfGoto*>(dialog);
        range = lines->Label1->text();
        for (QLabel* label : lines->findChildren<QLabel*>())
            noteShown |= label != lines->Label1 && label->isVisible() && label->text().contains("세는");
        QTest::keyClicks(lines->Edit1, QString::number(Total - 5));
        QTest::keyClick(lines->Edit1, Qt::Key_Return);
    });
    form->Menus().GotoLine1->trigger();
    EXPECT_TRUE(range.endsWith(QString::number(known))) << range.toStdString();
    EXPECT_TRUE(noteShown);
    EXPECT_LT(view.TopIndex(), known);
    ReleaseAndWait(*form);
    EXPECT_EQ(view.TopIndex(), MaxTopIndex(Total, view.VisibleRows()));
    EXPECT_GE(view.TopIndex() + view.VisibleRows(), Total - 5);
}

// Closing the file while a job runs on its worker or waits for the index
// stops the job; nothing of it comes afterwards.
TEST_F(IndexedCommandsTest, ClosingTheFileCancelsItsJob) {
    for (bool find : {true, false}) {
        auto form = OpenHeld();
        if (find)
            form->SearchText("absent", {}, -1, -1); // scans the whole file on the worker
        else
            form->Controls().Viewer->SelectAll();
        ASSERT_TRUE(form->Controls().Viewer->JobRunning());
        form->Menus().Close1->trigger();
        EXPECT_FALSE(form->Controls().Viewer->JobRunning());
        FGate->Release();
        QTest::qWait(200);
        EXPECT_EQ(NotFoundBoxes(), 0);
        EXPECT_FALSE(form->Controls().Viewer->IsSelection());
    }
}

// Find backwards in a file still being indexed does not wait for the index:
// with the index held, a match on the lines indexed comes at once, and one
// round the end, beyond them, once the index reaches its line. Each step
// gives the match, the view and the note of the same search in the file
// read whole: plain, case, whole words, a regular expression with two
// matches on its line, Hangul in UTF-8; from the screen, from the end of the
// text, and from a point beyond the lines indexed.
TEST_F(IndexedCommandsTest, FindBackwardsSearchesAtOnceAndFindsBeyondTheIndexRoundTheEnd) {
    FText.clear();
    for (int i = 0; i < Total; ++i) {
        FText += "log line " + std::to_string(i);
        FText += i == 100            ? " needle 바늘"
                 : i == 200          ? " Needles"
                 : i == Total - 30   ? " 바늘"
                 : i == Total - 20   ? " NEEDLE x NEEDLE"
                 : i == Total - 10   ? " needle"
                                     : "";
        FText += "\n";
    }
    auto whole = OpenForm(FText, "whole.log"); // read at once and searched at once
    ASSERT_FALSE(whole->Controls().Viewer->Loading());
    // The note is hidden after a few seconds: its text is taken when set.
    auto seen = [](TMainForm& form) {
        return std::make_tuple(Selection(form), form.Controls().Viewer->TopIndex(),
                               form.Search().Wrapped() ? form.Controls().SearchNote->text()
                                                       : QString());
    };
    struct TCase {
        const char* Text;
        bool CaseSensitive, WholeWords, Regex;
        int Steps; // searches on from each match, the last one round the end
    };
    for (const TCase& test : {TCase{"needle", false, false, false, 3},
                              TCase{"needle", true, true, false, 2},
                              TCase{"NEE+DLE\\b", true, false, true, 1},
                              TCase{"바늘", false, false, false, 2}}) {
        TFindOptions options;
        options.CaseSensitive = test.CaseSensitive;
        options.WholeWords = test.WholeWords;
        options.Regex = test.Regex;
        options.Backward = options.WrapAround = true;
        // From the screen on from match to match, from the end, and from a
        // point the index has not reached (a match of another file).
        for (const char* from : {"screen", "end", "beyond"}) {
            SCOPED_TRACE(std::string(test.Text) + " from " + from);
            const bool screen = from == std::string("screen");
            options.FromStart = from == std::string("end");
            auto held = OpenHeld();
            TOVSynTextViewer& view = *held->Controls().Viewer;
            for (TMainForm* form : {held.get(), whole.get()}) {
                form->Controls().Viewer->SetSelStart({0, 0});
                form->Controls().Viewer->SetTopIndex(1000);
            }
            int column = screen ? -1 : 3, line = screen ? -1 : Total - 15;
            for (int step = 0; step < (screen ? test.Steps : 1); ++step) {
                ASSERT_TRUE(whole->SearchText(test.Text, options, column, line));
                held->SearchText(test.Text, options, column, line);
                const bool beyond = Selection(*whole).first.Y >= view.Lines().Count();
                if (screen) {
                    ASSERT_EQ(beyond, step == test.Steps - 1) << step;
                }
                if (beyond) {
                    ReleaseAndWait(*held);
                } else {
                    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.JobRunning(); }, 5000)) << step;
                    EXPECT_TRUE(view.Loading());
                }
                EXPECT_EQ(seen(*held), seen(*whole)) << step;
                EXPECT_EQ(held->Controls().SearchNote->isVisibleTo(held.get()),
                          held->Search().Wrapped());
                column = Selection(*whole).first.X;
                line = Selection(*whole).first.Y;
            }
        }
    }
    EXPECT_EQ(NotFoundBoxes(), 0);
}

// The search bar, driven by keys as a user drives it.
class SearchBarTest : public FindGotoTest {
protected:
    static TSearchBar& Bar(TMainForm& form) { return *form.Controls().SearchBar; }
    static bool Red(TMainForm& form) {
        return Bar(form).edText->palette().color(QPalette::Base) ==
               QColor::fromRgb(SearchBarNoMatchColor);
    }
    // Opens the bar with '/' typed into the shown view.
    static void Open(TMainForm& form, QWidget* view) {
        view->setFocus();
        QTest::keyClick(view, '/');
        ASSERT_TRUE(Bar(form).isVisible());
        ASSERT_TRUE(Bar(form).edText->hasFocus());
    }
};

// Typing searches from the top row on and keeps the match at the top;
// Enter and Shift+Enter step, F3 repeats the bar's search; a text with no
// match turns the entry red without a message box, and a shorter one finds
// again from the same place; Escape closes the bar and gives the view the
// keys back.
TEST_F(SearchBarTest, TypingFindsFromTheTopRowAndEnterSteps) {
    {
        TMainForm empty;
        empty.UpdateActions();
        EXPECT_FALSE(empty.Menus().SearchBar1->isEnabled());
    }
    auto form = OpenForm(NumberedLines(300));
    TOVSynTextViewer& view = *form->Controls().Viewer;
    EXPECT_FALSE(Bar(*form).isVisible());
    form->UpdateActions();
    EXPECT_TRUE(form->Menus().SearchBar1->isEnabled());
    EXPECT_EQ(form->Menus().SearchBar1->shortcut().toString(), QStringLiteral("/"));
    view.SetTopIndex(20);
    Open(*form, &view);
    TXPEdit* entry = Bar(*form).edText;
    const auto matchLine = [&] { return view.SelStart().Y; };
    QTest::keyClicks(entry, "targ");
    EXPECT_EQ(matchLine(), 27);
    EXPECT_EQ(view.TopIndex(), 27);
    EXPECT_FALSE(Red(*form));
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(matchLine(), 37);
    QTest::keyClick(entry, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(matchLine(), 27);
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(matchLine(), 37);
    form->Menus().FindPrevious1->trigger();
    EXPECT_EQ(matchLine(), 27);
    // The search goes on from the match Enter went to (27), not the top row.
    QTest::keyClicks(entry, "etx");
    EXPECT_TRUE(Red(*form));
    EXPECT_FALSE(Bar(*form).lNote->text().isEmpty());
    EXPECT_EQ(matchLine(), 27);
    QTest::keyClick(entry, Qt::Key_Backspace);
    EXPECT_FALSE(Red(*form));
    EXPECT_EQ(matchLine(), 27);
    EXPECT_EQ(entry->text(), QStringLiteral("target"));
    // '/' is a character in the entry, not the menu's key.
    QTest::keyClicks(entry, "/");
    EXPECT_EQ(entry->text(), QStringLiteral("target/"));
    EXPECT_TRUE(Red(*form));
    EXPECT_EQ(FMessages.Records.size(), 0u);
    QTest::keyClick(entry, Qt::Key_Escape);
    EXPECT_FALSE(Bar(*form).isVisible());
    EXPECT_TRUE(view.hasFocus());
    // Opened again, the bar starts at the new top row with its text selected.
    view.SetTopIndex(200);
    Open(*form, &view);
    EXPECT_EQ(entry->selectedText(), QStringLiteral("target/"));
    QTest::keyClicks(entry, "target");
    EXPECT_EQ(matchLine(), 207);
    // The bar's list button lists its search.
    QTest::mouseClick(Bar(*form).bList, Qt::LeftButton);
    EXPECT_TRUE(form->Controls().MatchList->isVisible());
}

// The bar and the find dialog share one history and one set of options:
// Enter puts the bar's text into the dialog's history, Up and Down browse
// that history in the entry, a box switched on the bar is switched in the
// dialog and the other way; wrap-around and a bad expression behave as the
// boxes say, quietly.
TEST_F(SearchBarTest, HistoryAndOptionsAreTheFindDialogs) {
    auto form = OpenForm(NumberedLines(300));
    TOVSynTextViewer& view = *form->Controls().Viewer;
    TfFind& dialog = *form->Controls().fFind;
    dialog.AppendHistory({"line 13", "older"});
    view.SetTopIndex(100);
    Open(*form, &view);
    TSearchBar& bar = Bar(*form);
    EXPECT_EQ(bar.cbWrapAround->Checked(), dialog.cbWrapAround->Checked());
    // Up and Down browse the history, each item searched for at once.
    QTest::keyClicks(bar.edText, "typed");
    QTest::keyClick(bar.edText, Qt::Key_Up);
    EXPECT_EQ(bar.edText->text(), QStringLiteral("line 13"));
    EXPECT_EQ(view.SelStart().Y, 130);
    QTest::keyClick(bar.edText, Qt::Key_Up);
    EXPECT_EQ(bar.edText->text(), QStringLiteral("older"));
    EXPECT_TRUE(Red(*form));
    QTest::keyClick(bar.edText, Qt::Key_Down);
    QTest::keyClick(bar.edText, Qt::Key_Down);
    EXPECT_EQ(bar.edText->text(), QStringLiteral("typed"));
    // Only the line before the top row holds "line 7 " (line 7): found by
    // going round, then not at all once wrap-around is switched off.
    bar.edText->clear();
    QTest::keyClicks(bar.edText, "line 7 ");
    EXPECT_EQ(view.SelStart().Y, 7);
    EXPECT_TRUE(form->Controls().SearchNote->isVisible());
    QTest::mouseClick(bar.cbWrapAround, Qt::LeftButton);
    EXPECT_FALSE(dialog.cbWrapAround->Checked());
    EXPECT_TRUE(Red(*form));
    QTest::keyClick(bar.edText, Qt::Key_Return);
    EXPECT_EQ(dialog.History().front(), "line 7 ");
    // A regular expression from the dialog's box; a bad one names its error.
    dialog.cbRegex->SetChecked(true);
    dialog.cbWrapAround->SetChecked(true);
    QTest::keyClick(bar.edText, Qt::Key_Escape);
    Open(*form, &view);
    EXPECT_TRUE(bar.cbRegex->Checked());
    EXPECT_TRUE(bar.cbWrapAround->Checked());
    bar.edText->clear();
    QTest::keyClicks(bar.edText, "line 1[5-6]7 t");
    EXPECT_EQ(view.SelStart().Y, 157);
    QTest::keyClicks(bar.edText, "(");
    EXPECT_TRUE(Red(*form));
    EXPECT_TRUE(bar.lNote->text().contains(QStringLiteral("정규 표현식"))) << bar.lNote->text().toStdString();
    QTest::keyClick(bar.edText, Qt::Key_Return);
    EXPECT_EQ(FMessages.Records.size(), 0u);
    QTest::mouseClick(bar.cbRegex, Qt::LeftButton);
    EXPECT_FALSE(dialog.cbRegex->Checked());
}

// In the hex view the bar finds texts and, with its hexadecimal box, byte
// strings from the top row on; words and expressions are not offered.
TEST_F(SearchBarTest, TheHexViewFindsAsTyped) {
    std::string bytes(6000, '\x01');
    bytes.replace(100, 4, "\xDE\xAD\xBE\xEF");
    bytes.replace(4000, 4, "\xDE\xAD\xBE\xEF");
    bytes.replace(5000, 3, "zZz");
    auto form = OpenForm(bytes, "data.bin");
    THexViewControl& view = *form->Controls().HexViewer;
    ASSERT_TRUE(view.isVisibleTo(form.get()));
    view.SetTopIndex(200 / HexBytesPerRow);
    Open(*form, &view);
    TSearchBar& bar = Bar(*form);
    EXPECT_FALSE(bar.cbRegex->isEnabled());
    EXPECT_TRUE(bar.cbHexBytes->isVisible());
    EXPECT_FALSE(bar.bList->isVisible());
    QTest::keyClicks(bar.edText, "zz");
    EXPECT_EQ(view.MarkOffset(), 5000);
    QTest::mouseClick(bar.cbHexBytes, Qt::LeftButton);
    bar.edText->clear();
    QTest::keyClicks(bar.edText, "DE AD B");
    EXPECT_TRUE(Red(*form));
    QTest::keyClicks(bar.edText, "E EF");
    EXPECT_FALSE(Red(*form));
    EXPECT_EQ(view.MarkOffset(), 4000);
    QTest::keyClick(bar.edText, Qt::Key_Return);
    EXPECT_EQ(view.MarkOffset(), 100);
    form->Menus().FindNext1->trigger();
    EXPECT_EQ(view.MarkOffset(), 4000);
    EXPECT_EQ(FMessages.Records.size(), 0u);
    QTest::keyClick(bar.edText, Qt::Key_Escape);
    EXPECT_TRUE(view.hasFocus());
}

// A large file in the hex view is searched on a worker once the typing
// pauses; the match is marked when it ends, and nothing found turns the
// entry red.
TEST_F(SearchBarTest, ALargeHexFileIsSearchedInTheBackground) {
    const int64_t at = (int64_t(17) << 20) + 5;
    std::string bytes(size_t(18) << 20, '\x01');
    bytes.replace(size_t(at), 4, "\xDE\xAD\xBE\xEF");
    auto form = OpenForm(bytes, "large.bin");
    THexViewControl& view = *form->Controls().HexViewer;
    ASSERT_TRUE(view.isVisibleTo(form.get()));
    Open(*form, &view);
    TSearchBar& bar = Bar(*form);
    QTest::keyClicks(bar.edText, "zz");
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar.NoMatch(); }, 20000));
    QTest::mouseClick(bar.cbHexBytes, Qt::LeftButton);
    bar.edText->clear();
    QTest::keyClicks(bar.edText, "deadbeef");
    EXPECT_FALSE(bar.NoMatch());
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.MarkOffset() == at; }, 20000));
    EXPECT_FALSE(bar.NoMatch());
    EXPECT_TRUE(bar.lNote->text().isEmpty());
    QTest::keyClick(bar.edText, Qt::Key_Escape);
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(FMessages.Records.size(), 0u);
}

// In a file still being indexed the bar waits for a pause in the typing,
// then searches as the view's job; the next keystroke stops that search at
// once; the match beyond the index comes once the index reaches it.
TEST_F(IndexedCommandsTest, TheSearchBarSearchesInTheBackground) {
    auto form = OpenHeld();
    TOVSynTextViewer& view = *form->Controls().Viewer;
    TSearchBar& bar = *form->Controls().SearchBar;
    view.setFocus();
    QTest::keyClick(&view, '/');
    ASSERT_TRUE(bar.edText->hasFocus());
    QTest::keyClicks(bar.edText, "needl");
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.JobRunning(); }, 5000));
    QTest::keyClicks(bar.edText, "e");
    EXPECT_FALSE(view.JobRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.JobRunning(); }, 5000));
    ReleaseAndWait(*form);
    EXPECT_EQ(Selection(*form).first, (TTextPoint{16, Total - 10}));
    EXPECT_FALSE(bar.NoMatch());
    EXPECT_TRUE(bar.lNote->text().isEmpty());
    QTest::keyClicks(bar.edText, "s");
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar.NoMatch(); }, 20000));
    EXPECT_EQ(NotFoundBoxes(), 0);
}

// The count of a file larger than its index: the worker reads the mapped
// text beyond the lines indexed, so the count is whole while the index is
// still held; the ticks come in as the index reaches their lines, and a
// tick lies under the bar's thumb exactly when its match is on screen.
TEST_F(IndexedCommandsTest, TheCountIsWholeBeforeTheIndexAndTheTicksLieWhereTheMatchesAre) {
    FText.clear();
    long long total = 0;
    std::vector<int> matching;
    for (int i = 0; i < Total; ++i) {
        const bool cluster = i >= 50000 && i < 52000 && i % 97 == 0;
        const int hits = cluster ? 1 : i == 150000 ? 3 : 0;
        FText += "log line " + std::to_string(i);
        for (int k = 0; k < hits; ++k)
            FText += " Needle";
        FText += "\n";
        total += hits;
        if (hits)
            matching.push_back(i);
    }
    auto form = OpenHeld();
    TOVSynTextViewer& view = *form->Controls().Viewer;
    form->SetMatchHighlight("needle", {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.MatchCount().Complete; }, 20000));
    EXPECT_EQ(view.MatchCount().Count, total);
    EXPECT_TRUE(view.Loading());
    const QString counted = QString::fromStdString("일치 " + std::to_string(total) + "개");
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->Controls().MatchPanel->text() == counted; }));
    TMarkedScrollBar& bar = view.MarkedScrollBar();
    for (int row : bar.MarkRows())
        EXPECT_LT(row, view.Lines().Count());
    ReleaseAndWait(*form);
    EXPECT_EQ(bar.MarkRows(), matching);
    auto tickUnderThumb = [&](int top) {
        view.SetTopIndex(top);
        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar.minimum();
        option.maximum = bar.maximum();
        option.sliderPosition = bar.value();
        option.sliderValue = bar.value();
        option.pageStep = bar.pageStep();
        const QRect thumb =
            bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
        for (int y : bar.TickPixels())
            if (y >= thumb.top() - 1 && y <= thumb.bottom() + 1)
                return true;
        return false;
    };
    EXPECT_TRUE(tickUnderThumb(50000 + 97 * 10));
    EXPECT_TRUE(tickUnderThumb(150000));
    EXPECT_FALSE(tickUnderThumb(100000));
    EXPECT_FALSE(tickUnderThumb(10000));

    // A followed file grows in place while every line is counted, a match
    // split across the old end among the growths; the count goes on and ends
    // as the same file opened anew counts it.
    FPolicy.BackgroundCommandBytes = 1 << 20;
    view.SetLoadPolicy(FPolicy);
    form->Menus().Follow1->trigger();
    form->SetMatchHighlight("line", {});
    EXPECT_FALSE(view.MatchCount().Complete);
    const std::weak_ptr<const TMappedLines> mapped = view.Lines().MappedTail(0).Hold;
    const std::string path = FFolder.Path() + "/big.log";
    for (const char* grown : {"log li", "ne 1 line\nlog", " line 2\n", "li", "ne\nnone\nline\n"}) {
        std::ofstream(path, std::ios::binary | std::ios::app) << grown;
        form->ShownFileChanged();
        EXPECT_FALSE(mapped.expired()) << grown;
        EXPECT_EQ(mapped.lock(), view.Lines().MappedTail(0).Hold) << grown;
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.MatchCount().Complete; }, 20000));
    auto fresh = std::make_unique<TMainForm>();
    fresh->resize(500, 300);
    fresh->Controls().Viewer->SetLoadPolicy(FPolicy);
    fresh->OpenFile(path);
    ReleaseAndWait(*fresh);
    fresh->SetMatchHighlight("line", {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return fresh->Controls().Viewer->MatchCount().Complete; }, 20000));
    EXPECT_EQ(view.Lines().Count(), Total + 5);
    EXPECT_EQ(view.MatchCount().Count, Total + 5);
    EXPECT_EQ(view.MatchCount().Count, fresh->Controls().Viewer->MatchCount().Count);
    // The bars take the ticks on their next look at the counters.
    const TMarkedScrollBar& freshBar = fresh->Controls().Viewer->MarkedScrollBar();
    (void)QTest::qWaitFor([&] { return !bar.MarkRows().empty() && bar.MarkRows() == freshBar.MarkRows(); });
    EXPECT_EQ(bar.MarkRows(), freshBar.MarkRows());
    EXPECT_FALSE(bar.MarkRows().empty());
    // Closing the file stops the count and hides it.
    form->SetMatchHighlight("line", {});
    form->Menus().Close1->trigger();
    EXPECT_FALSE(form->Controls().MatchPanel->isVisible());
}

TEST(BookmarkPiecesTest, ItemsCutWholeCharactersAndIconsDiffer) {
    // 198 ASCII bytes and a double-byte character across the limit.
    const TCharCoding& cp949 = CharCodingOf(TTextCoding::Cp949);
    const TCharCoding& utf8 = CharCodingOf(TTextCoding::Utf8);
    std::string line = std::string(198, 'a') + "\xB0\xA1" + "tail";
    EXPECT_EQ(BookmarkListItem(7, line, cp949), "7=" + std::string(198, 'a'));
    EXPECT_EQ(BookmarkListItem(7, std::string(197, 'a') + "\xB0\xA1", cp949),
              "7=" + std::string(197, 'a') + "가");
    EXPECT_EQ(BookmarkListItem(7, std::string(198, 'a') + "가", utf8),
              "7=" + std::string(198, 'a'));
    EXPECT_EQ(BookmarkListItem(7, std::string(196, 'a') + "가", utf8),
              "7=" + std::string(196, 'a') + "가");
    EXPECT_EQ(BookmarkOfItem(QStringLiteral("12=a=b")), 12);
    EXPECT_EQ(BookmarkOfItem(QStringLiteral("x=1")), -1);
    for (int n = 0; n < BookmarkCount; ++n) {
        QImage icon = BookmarkIcon(n);
        EXPECT_EQ(icon.size(), QSize(BookmarkIconSize, BookmarkIconSize));
        for (int m = 0; m < n; ++m)
            EXPECT_NE(icon, BookmarkIcon(m)) << n << " " << m;
    }
}

// The list of matching lines as a user meets it: 모두 찾기 in the find dialog
// opens it below the text and fills it with every matching line; its rows
// show the matches marked; Down and Enter show a row's line in the view with
// the match selected; lines a followed file gains are searched as they come;
// the menu item closes it and opens it again for the same search, and
// Ctrl+Enter in the search bar lists what the bar searches for.
TEST_F(FindGotoTest, TheListOfMatchingLinesFillsJumpsAndKeepsUpWithAGrowingLog) {
    std::string text;
    std::vector<int> expected;
    for (int i = 0; i < 400; ++i) {
        const bool hit = i % 7 == 3;
        text += "row " + std::to_string(i) + (hit ? " has the Needle here\n" : " plain\n");
        if (hit)
            expected.push_back(i);
    }
    auto form = OpenForm(text, "app.log");
    TOVSynTextViewer& view = *form->Controls().Viewer;
    TMatchListPanel& list = *form->Controls().MatchList;
    EXPECT_FALSE(list.isVisible());
    WhenModal([](QWidget* dialog) {
        auto* find = static_cast<TfFind*>(dialog);
        find->cbText->setEditText("needle");
        find->bList->click();
    });
    form->Menus().Find1->trigger();
    ASSERT_TRUE(list.isVisible());
    EXPECT_TRUE(form->Menus().MatchList1->isChecked());
    QTRY_VERIFY(!list.Running());
    auto listed = [&] {
        std::vector<int> lines;
        for (int i = 0; i < list.Matches().Count(); ++i)
            lines.push_back(list.Matches().Line(i));
        return lines;
    };
    EXPECT_EQ(listed(), expected);
    EXPECT_EQ(list.Caption(), QStringLiteral("  일치하는 줄 %1개").arg(expected.size()));
    EXPECT_EQ(form->Search().Text(), "needle");
    // The rows shown carry the match's mark.
    const QImage rows = list.Rows()->grab().toImage();
    int marked = 0;
    for (int y = 0; y < rows.height(); ++y)
        for (int x = 0; x < rows.width(); ++x)
            marked += rows.pixel(x, y) == 0xFFFFC94D;
    EXPECT_GT(marked, 100);

    for (int i = 0; i < 9; ++i)
        QTest::keyClick(list.Rows(), Qt::Key_Down);
    QTest::keyClick(list.Rows(), Qt::Key_Return);
    const int line = expected[9];
    const int column = int(std::string("row " + std::to_string(line) + " has the ").size());
    EXPECT_EQ(Selection(*form),
              std::pair(TTextPoint{column, line}, TTextPoint{column + 5, line}));
    EXPECT_EQ(view.TopIndex(), line - view.VisibleRows() / 3);
    EXPECT_EQ(list.CurrentRow(), 9);

    form->Menus().Follow1->trigger();
    std::ofstream(FFolder.Path() + "/app.log", std::ios::binary | std::ios::app)
        << "new NEEDLE row\nnothing\nanother needle\n";
    form->ShownFileChanged();
    QTRY_VERIFY(!list.Running());
    expected.push_back(400);
    expected.push_back(402);
    EXPECT_EQ(listed(), expected);

    form->Menus().MatchList1->trigger();
    EXPECT_FALSE(list.isVisible());
    form->Menus().MatchList1->trigger();
    EXPECT_TRUE(list.isVisible());
    QTRY_VERIFY(!list.Running());
    EXPECT_EQ(listed(), expected);

    // Ctrl+Enter in the search bar lists the bar's search.
    form->Menus().SearchBar1->trigger();
    QTest::keyClicks(form->Controls().SearchBar->edText, "row 1");
    QTest::keyClick(form->Controls().SearchBar->edText, Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(!list.Running());
    std::vector<int> rowOne;
    for (int i = 0; i < 400; ++i)
        if (std::to_string(i)[0] == '1')
            rowOne.push_back(i);
    EXPECT_EQ(listed(), rowOne);
    EXPECT_TRUE(list.isVisible());
    EXPECT_TRUE(FMessages.Records.empty());
}

// A text that is not mapped (UTF-16, converted) is searched a slice at a
// time on the window's thread; Escape in the list stops the search before
// its next slice, and it stays stopped, the lines found kept.
TEST_F(FindGotoTest, EscapeInTheListStopsItsSearch) {
    std::string text = "\xFF\xFE";
    for (int i = 0; i < 3000; ++i)
        for (char c : "row " + std::to_string(i) + " needle\n")
            text += std::string{c, '\0'};
    auto form = OpenForm(text, "wide.txt");
    ASSERT_FALSE(form->Controls().Viewer->Lines().Mapped());
    TMatchListPanel& list = *form->Controls().MatchList;
    form->ShowMatchList("needle", {});
    ASSERT_TRUE(list.Running());
    QTest::keyClick(list.Rows(), Qt::Key_Escape);
    EXPECT_FALSE(list.Running());
    QTest::qWait(50);
    EXPECT_EQ(list.Matches().Count(), 0);
    EXPECT_EQ(list.Caption(), QStringLiteral("  일치하는 줄 0개 - 중지됨"));
    // Asked again, it runs to the end.
    form->Menus().MatchList1->trigger();
    form->Menus().MatchList1->trigger();
    QTRY_VERIFY(!list.Running());
    EXPECT_EQ(list.Matches().Count(), 3000);
}

} // namespace
} // namespace ov
