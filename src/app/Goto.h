#pragma once
// The two go-to dialogs of the main window, created for each use:
// TfGoto asks for a line number of the text view, TfGotoAddress for a byte
// address of the file in the hex view. Both show the valid range, refuse a
// value outside it with a warning and keep the dialog open, and return -1
// when the user cancels.

#include "Inputdialog.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

class QLabel;
class QTimer;

namespace ov {

class TXPButton;
class TXPEdit;

// The line dialog's text as a decimal integer (optional sign), or -1 when it
// is not one or lies outside 32 bits.
int ReadLineNumber(std::string_view text);

// Whether the line dialog's edit takes a typed character: blanks, tabs and
// printable ASCII other than digits are refused; control characters and
// everything from 127 on pass.
bool GotoAcceptsChar(char32_t c);

class TfGoto : public TInputDialog {
public:
    explicit TfGoto(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    TXPEdit* Edit1 = nullptr;
    TXPButton* Button1 = nullptr;

    // Shows the range 1 to max and runs the dialog; the number entered (0 is
    // taken and means the first line), or -1 when cancelled.
    int Execute(int max);
    // The lines of a document still being counted, as the dialog asks for
    // them while it runs.
    struct TLineCount {
        int Lines = 0;
        bool Counting = false;
    };
    // Before Execute, for a document whose lines are still counted: the
    // range follows count, a note says that counting goes on, and every
    // line number is taken meanwhile (the view reaches it once counted).
    void FollowCount(std::function<TLineCount()> count);
    // The part of Execute before the dialog runs, for callers that drive it.
    void Prepare(int max);
    void Button1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowCount();

    int FMax = 0;
    QLabel* FCountingNote = nullptr;
    std::function<TLineCount()> FCount;
    bool FCounting = false;
    QTimer* FCountTimer = nullptr; // the dialog's child
};

class TfGotoAddress : public TInputDialog {
public:
    explicit TfGotoAddress(QWidget* parent = nullptr);

    QLabel* Label2 = nullptr;
    TXPEdit* XPEdit1 = nullptr;
    TXPButton* bGo = nullptr;
    QLabel* Label1 = nullptr;

    // Shows the range of a file of fileSize bytes and runs the dialog; the
    // accepted address (0 to fileSize), or -1 when cancelled.
    int64_t Execute(int64_t fileSize);
    void Prepare(int64_t fileSize);
    void bGoClick();

private:
    int64_t FFileSize = 0;
};

} // namespace ov
