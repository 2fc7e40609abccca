#pragma once
// TSearchBar: the search bar along the bottom of the main window, which
// searches as the text is typed. It owns its controls and knows only keys and
// colours: what a text or an option change means is the window's
// (Mainsearchbar.cpp), told through the On* callbacks. The history it browses
// is the find dialog's, asked for through OnHistory each time.

#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QLabel;

namespace ov {

class TXPButton;
class TXPCheckBox;
class TXPEdit;

// The entry's ground when nothing matches: a light red that keeps black
// Korean text readable.
inline constexpr unsigned SearchBarNoMatchColor = 0xFFCCCC;

class TSearchBar : public QWidget {
public:
    explicit TSearchBar(QWidget* parent = nullptr);

    QLabel* lCaption = nullptr;
    TXPEdit* edText = nullptr;
    // The find dialog's options; the window keeps both sets alike.
    TXPCheckBox* cbCaseSensitive = nullptr;
    TXPCheckBox* cbWholeWords = nullptr;
    TXPCheckBox* cbRegex = nullptr;
    TXPCheckBox* cbWrapAround = nullptr;
    TXPCheckBox* cbHexBytes = nullptr;
    // Why the entry is red (nothing found, a bad pattern) or that a long
    // search still runs; empty otherwise.
    QLabel* lNote = nullptr;
    // Lists every line that matches, as Ctrl+Enter does; text view only.
    TXPButton* bList = nullptr;
    TXPButton* bClose = nullptr;

    // The text as typed, in UTF-8.
    std::string Text() const;
    // Puts text in the entry, all of it selected, without OnTextChange.
    void SetText(const QString& text);
    // The entry's ground: red while nothing matches.
    void SetNoMatch(bool noMatch);
    bool NoMatch() const { return FNoMatch; }
    void SetNote(const QString& note);

    // The text changed by typing or by browsing the history.
    std::function<void()> OnTextChange;
    // Enter (backward: Shift+Enter).
    std::function<void(bool backward)> OnEnter;
    // Ctrl+Enter: every line that matches, listed.
    std::function<void()> OnList;
    // Escape or the close button.
    std::function<void()> OnClose;
    // One of the option boxes was switched by the user.
    std::function<void()> OnOptionChange;
    // The history to browse with Up and Down, newest first.
    std::function<std::vector<QString>()> OnHistory;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TXPCheckBox* AddOption(const QString& caption);
    // Up (older: +1) and Down (newer: -1) through the history; below its
    // newest item the entry gets back what was typed.
    void BrowseHistory(int step);

    bool FNoMatch = false;
    // Set while the window sets the boxes, whose every change fires OnClick.
    bool FSettingOptions = false;
    // The history item shown (-1: the typed text) and that typed text.
    int FHistoryIndex = -1;
    QString FTypedText;

    friend class TSearchBarOptionsGuard;
};

// Lets the window set the bar's boxes without their change looking like a
// user's switch (OnOptionChange stays silent while a guard lives).
class TSearchBarOptionsGuard {
public:
    explicit TSearchBarOptionsGuard(TSearchBar& bar) : FBar(bar), FWas(bar.FSettingOptions) {
        bar.FSettingOptions = true;
    }
    ~TSearchBarOptionsGuard() { FBar.FSettingOptions = FWas; }
    TSearchBarOptionsGuard(const TSearchBarOptionsGuard&) = delete;
    TSearchBarOptionsGuard& operator=(const TSearchBarOptionsGuard&) = delete;

private:
    TSearchBar& FBar;
    bool FWas;
};

} // namespace ov
