#pragma once
// TfFind: the find dialog. The main window creates it once and shows it for
// every Find; the options keep their state between showings for the life
// of the program. The search texts confirmed here form the history, newest
// first, at most MaxFindHistory; the main window loads it from the settings
// at the first Find and writes it back when it closes.

#include "Inputdialog.h"

#include <string>
#include <vector>

class QLabel;

namespace ov {

class TXPButton;
class TXPCheckBox;
class TXPComboBox;
class TXPGroupBox;
class TXPRadioButton;

constexpr int MaxFindHistory = 20;

class TfFind : public TInputDialog {
public:
    explicit TfFind(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    TXPComboBox* cbText = nullptr;
    TXPButton* bFind = nullptr;
    // Ends the dialog as the find button does, asking for the list of every
    // matching line instead of the next match.
    TXPButton* bList = nullptr;
    TXPGroupBox* gbOptions = nullptr;
    TXPCheckBox* cbCaseSensitive = nullptr;
    TXPCheckBox* cbWholeWords = nullptr;
    TXPCheckBox* cbRegex = nullptr;
    // On by default; the main window keeps it in the settings file.
    TXPCheckBox* cbWrapAround = nullptr;
    // The hex view's find: the text is hexadecimal byte pairs. Enabled only
    // while the hex view is shown.
    TXPCheckBox* cbHexBytes = nullptr;
    TXPGroupBox* gbDirection = nullptr;
    TXPRadioButton* rbFoward = nullptr;
    TXPRadioButton* rbBackward = nullptr;
    TXPGroupBox* gbOrigin = nullptr;
    TXPRadioButton* rbCursor = nullptr;
    TXPRadioButton* rbEntire = nullptr;

    // The search text as typed, in UTF-8.
    std::string Text() const;
    // The history items in UTF-8, newest first.
    std::vector<std::string> History() const;
    // Appends items (UTF-8) behind those there are, up to MaxFindHistory
    // in all; empty items are skipped.
    void AppendHistory(const std::vector<std::string>& items);
    void ClearHistory();
    // A text not yet in the history (in any letter case) goes to its top,
    // pushing the oldest item out; the edit field shows text afterwards.
    void AddToHistory(const QString& text);
    // The tag of cbText: false until the history was loaded from the settings.
    bool HistoryLoaded() const { return FHistoryLoaded; }
    void SetHistoryLoaded(bool loaded) { FHistoryLoaded = loaded; }

    // The find button and Enter: an empty text keeps the dialog open; a text
    // not yet in the history (in any letter case) goes to its top, pushing
    // the oldest item out; then the dialog ends with OK.
    void bFindClick();
    void bListClick();
    // The dialog was ended by bList (reset at every showing).
    bool ListRequested() const { return FListRequested; }

private:
    void CreateControls();
    void showEvent(QShowEvent* event) override;

    bool FHistoryLoaded = false;
    bool FListRequested = false;
};

} // namespace ov
