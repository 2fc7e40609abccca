#pragma once
// TMainForm: the main window of the program. It composes the window (the
// two views, exactly one visible, the bookmark panel, the status bar, the
// menus) and wires the menus to their commands. The state the commands share
// lives in pieces of its own, which the window owns: the open document
// (TOpenDocument), the search (TSearchState), the bookmarks (TBookmarkSet),
// the settings store and the extension-to-language table.
//
// Life cycle: construction loads the settings file (SettingsFileName) and sets
// the window's bounds (or maximizes it); FormShow runs once, at the first
// show; FormClose runs when the window is closed by any means and writes the
// settings file; FormDestroy (the destructor) releases the lists without
// writing anything.

#include "Bookmarks.h"
#include "Filefollow.h"
#include "Inifiles.h"
#include "Langlinks.h"
#include "Opendocument.h"
#include "Ovhexviewer.h"
#include "Ovsyntextviewer.h"
#include "Searchstate.h"

#include <QMainWindow>
#include <QPoint>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QDialog;
class QIcon;
class QLabel;
class QListWidget;
class QMenu;
class QPainter;
class QStatusBar;
class QTimer;
class QUrl;
class QToolButton;

namespace ov {

class TFileWatcher;
class TSearchBar;
class TMatchListPanel;
class TSplitterBar;
class TXPGauge;
class TfFind;

// The views. The window reaches them only through these names.
using TTextViewControl = TOVSynTextViewer;
using THexViewControl = TOVHexViewer;

constexpr const char* ProgramTitle = "Orvane 1.0 Beta";

// The window's menus: the menu bar (MainMenu1) and the text view's pop-up
// menu, built from one table in Mainmenus.cpp. The window owns the items;
// UpdateActions alone gives them their enabled and checked states.
struct TMainMenus {
    QMenu* File1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* SaveasHTML1 = nullptr;
    QAction* Refresh1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* CopyAll1 = nullptr;
    QAction* GotoLine1 = nullptr;
    QMenu* ToggleBookmarks1 = nullptr;
    QMenu* GotoBookmarks1 = nullptr;
    QAction* ShowBookmarks1 = nullptr;
    QAction* Find1 = nullptr;
    QAction* FindNext1 = nullptr;
    QAction* FindPrevious1 = nullptr;
    QAction* SearchBar1 = nullptr;
    QAction* MatchList1 = nullptr;
    QMenu* View1 = nullptr;
    QAction* WordWrap1 = nullptr;
    QAction* ShowLineNumber1 = nullptr;
    QAction* UseFont1 = nullptr;
    QMenu* AutoScroll1 = nullptr;
    QAction* AutoScroll2 = nullptr;
    QAction* IncreaseSpeed1 = nullptr;
    QAction* DecreaseSpeed1 = nullptr;
    QAction* HexView1 = nullptr;
    QAction* Follow1 = nullptr;
    QMenu* Encoding1 = nullptr;
    QAction* AutoDetect1 = nullptr;
    // One item per encoding (AllEncodings order, UTF-8 BOM left out: it is
    // UTF-8's item), in submenus of their groups; Cp9491 and Utf81 among them.
    std::vector<QAction*> EncodingItems;
    QAction* Cp9491 = nullptr;
    QAction* Utf81 = nullptr;
    QAction* WindowOpacity1 = nullptr;
    QMenu* SyntaxHighlighting1 = nullptr;
    QAction* None1 = nullptr;
    QActionGroup* SynLangGroup = nullptr;
    QMenu* Tools1 = nullptr;
    QAction* ClearRecentFiels1 = nullptr;
    QAction* ClearFindHistory1 = nullptr;
    QAction* Options1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* HowtoAddLanguage1 = nullptr;
    QAction* Shortcuts1 = nullptr;
    QAction* VisitHomepage1 = nullptr;
    QAction* SendEmail1 = nullptr;
    QAction* About1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Copy2 = nullptr;
    QAction* CopyAll2 = nullptr;
    QAction* Open2 = nullptr;
    QAction* Close2 = nullptr;
};

// The window's controls, made in Mainlayout.cpp and owned by the window.
struct TMainControls {
    TTextViewControl* Viewer = nullptr;
    THexViewControl* HexViewer = nullptr;
    TSplitterBar* Splitter1 = nullptr;
    QWidget* pBookmarks = nullptr;
    QLabel* lBookmarksCaption = nullptr;
    QToolButton* sbCloseBookmarks = nullptr;
    QListWidget* lbBookmarks = nullptr;
    // The list of matching lines below the text, with its splitter (both
    // hidden until a list is asked for).
    TSplitterBar* Splitter2 = nullptr;
    TMatchListPanel* MatchList = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 2> StatusPanels{};
    // Between the line panel and the credit line: the shown text's encoding.
    QLabel* EncodingPanel = nullptr;
    // Shown while a large file's lines are still being indexed.
    TXPGauge* LoadGauge = nullptr;
    // A short note of the last search (that it went round the end); hidden
    // again by the next search or after a few seconds.
    QLabel* SearchNote = nullptr;
    QTimer* SearchNoteTimer = nullptr;
    // The last thing that happened to the shown file while it was watched
    // (cut short, replaced, gone); hidden while there is none.
    QLabel* FileNotePanel = nullptr;
    // The number of matches of the highlighted search ("일치 1,234개",
    // "+" while counting); hidden while nothing is highlighted.
    QLabel* MatchPanel = nullptr;
    // Watches the shown file while it is followed or changes are read
    // again (Mainfollow.cpp).
    TFileWatcher* Watcher = nullptr;
    QTimer* ScrollTimer = nullptr;
    // The about box while it is shown (About1Click runs it modally).
    QDialog* AboutBox = nullptr;
    // The find dialog, created with the window and reused by every Find.
    TfFind* fFind = nullptr;
    // The search bar above the status bar (hidden at start) and the pause
    // after a keystroke before a long file is searched.
    TSearchBar* SearchBar = nullptr;
    QTimer* SearchBarTimer = nullptr;
};

class TMainForm : public QMainWindow {
public:
    // commandLine: the whole Windows-style command line (program path
    // first); FormShow opens the file argument it names.
    explicit TMainForm(std::string commandLine = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Applies the Style and Option keys of Settings to the views. With reload
    // the settings file is read again first (the recent list is kept).
    void ApplySettings(bool reload);

    // A snapshot run closes without writing the settings file.
    void SetWriteSettingsOnClose(bool write) { FWriteSettingsOnClose = write; }

    // Panel 0 of the status bar.
    QString LineStatus() const;

    // The one place that gives every menu item its enabled and checked state
    // and the captions that follow the state, all derived from the window's
    // and the views' state. Runs when any menu opens, after every command and
    // whenever a file is opened or closed. A checkable item's mark comes only
    // from here: the toolkit flips it on a click, and the command that follows
    // sets the state this derives the mark from.
    void UpdateActions();

    // --- The pieces of the window's state ---
    // The shown file, its encoding and the recent-files list.
    const TOpenDocument& Document() const { return FDocument; }
    // Find and Find Next: the text, the options and the last match.
    TSearchState& Search() { return FSearch; }
    const TSearchState& Search() const { return FSearch; }
    // The ten bookmarks; ToggleBookmark and GotoBookmark change and use them.
    const TBookmarkSet& Bookmarks() const { return FBookmarks; }
    const TSettingsStore& Settings() const { return FSettings; }
    // The extension-to-language table of "langlink.ini".
    const TLangLinks& LangLinks() const { return FLangLinks; }
    // The auto-scroll interval that X and Z step, in milliseconds.
    int ScrollStep() const { return FScrollStep; }
    void SetScrollStep(int step) { FScrollStep = step; }
    // The menus and the controls, built with the window and owned by it.
    const TMainMenus& Menus() const { return FMenus; }
    const TMainControls& Controls() const { return FControls; }

    // Runs the open dialog and returns the chosen path; tests replace it.
    void SetOpenDialog(std::function<std::optional<std::string>()> dialog) {
        FOpenDialog = std::move(dialog);
    }
    // Runs the save dialog of Save as HTML with the proposed path and
    // returns the chosen one (the user has agreed to replace an existing
    // file); tests replace it.
    void SetSaveHtmlDialog(
        std::function<std::optional<std::string>(const std::string& proposed)> dialog) {
        FSaveHtmlDialog = std::move(dialog);
    }
    // Hands an address (a help page, the maker's home page or mail) to the
    // desktop's "open"; nothing is reported when nothing opens it. Tests
    // replace it.
    void SetShellOpen(std::function<void(const QUrl&)> open) { FShellOpen = std::move(open); }

    // --- Life cycle ---
    void FormShow();
    void ReportUnsavableSettings();
    void FormClose();

    // --- Files, recent list, languages, caption and status ---
    // False when path names no regular file (nothing changes then).
    bool OpenFile(const std::string& path);
    void CloseCurrentFile();
    void SetCurrentFile(const std::string& path);
    void ShowHexView(bool hex);
    // The encoding panel names the document's encoding while the text view
    // shows a file.
    void UpdateEncodingPanel();
    // Returns false when "langlink.ini" cannot be read (reported already).
    bool LoadLangLinks();
    void BuildRecentMenu();

    // --- Find, go to and bookmarks ---
    // Searches the text view's lines for text (UTF-8, as typed) and selects
    // and shows the match; false with the not-found box when there is none,
    // false without a word on an empty view. startColumn and startLine are
    // -1 to start from the screen.
    bool SearchText(const std::string& text, const TFindOptions& options, int startColumn,
                    int startLine);
    // Marks every match of text under options in the text view, along its
    // scroll bar and in the status bar's count: the one entry point of every
    // search that shows its matches (Find, Find Next, Find Previous, the
    // search bar). The same search again changes nothing; an empty text
    // clears the marks, as ClearMatchHighlight does.
    void SetMatchHighlight(const std::string& text, const TFindOptions& options);
    void ClearMatchHighlight();
    // Sets bookmark n to the top row, or clears it when it is there already.
    void ToggleBookmark(int n, int top);
    void GotoBookmark(int n);
    void RebuildBookmarkList();
    // Places a dialog over the middle of the window.
    void CenterDialog(QWidget& dialog) const;

    // --- Menu and control handlers ---
    void Open1Click();
    void Close1Click();
    void SaveasHTML1Click();
    // Writes the page of the open document to path (through a temporary file,
    // so a failure leaves an existing page whole) and says in a message box
    // when it fails. Without a language or lines nothing is written. A long
    // document's page is written as the view's job: false at once, the
    // message (if any) when the job ends.
    bool SaveAsHtml(const std::string& path);
    void SaveAsHtmlInBackground(const std::string& path);
    void ShowSaveHtmlFailure(const std::string& path, const std::string& failure);
    void Refresh1Click();
    void RecentFileClick(int tag);
    void Exit1Click();
    void Edit1Click();
    void Copy1Click();
    void CopyAll1Click();
    void GotoLine1Click();
    void ToggleBookmarks1Click();
    void ToggleBookmarkClick(int tag);
    void GotoBookmarks1Click();
    void GotoBookmarkClick(int tag);
    void ShowBookmarks1Click();
    void Find1Click();
    void FindNext1Click();
    void FindPrevious1Click();
    // --- The search bar (Mainsearchbar.cpp) ---
    // Opens the bar (or takes the focus to it), its search starting at the
    // top row shown.
    void SearchBar1Click();
    // Hides the bar, a search of its own that still runs stopped, and gives
    // the focus back to the view.
    void CloseSearchBar();
    // Shows the list of matching lines, or hides it when it is shown: the
    // last search's text, or the find dialog first when there was none.
    void MatchList1Click();
    // Opens the list of matching lines below the text for text (UTF-8, as
    // typed) under options, which Find Next then goes on with too, and
    // gives it the keyboard. Nothing in the hex view.
    void ShowMatchList(const std::string& text, const TFindOptions& options);
    void HideMatchList();
    void View1Click();
    void WordWrap1Click();
    void ShowLineNumber1Click();
    void UseFont1Click();
    void AutoScroll2Click();
    void IncreaseSpeed1Click();
    void DecreaseSpeed1Click();
    void HexView1Click();
    void AutoDetect1Click();
    // Stores the choice and reads the shown text file again with it.
    void SetCodingChoice(TCodingChoice choice);
    void WindowOpacity1Click();
    void SyntaxHighlighting1Click();
    void SynLangClick(QAction* item);
    void ClearRecentFiels1Click();
    void ClearFindHistory1Click();
    void Options1Click();
    void HowtoAddLanguage1Click();
    void Shortcuts1Click();
    void VisitHomepage1Click();
    void SendEmail1Click();
    void About1Click();
    void PopupMenu1Popup();
    void ScrollTimerTimer();
    // --- Following the shown file (Mainfollow.cpp) ---
    // Off; On: the view stands at the last row and stays there as the file
    // grows; Paused: the reader scrolled away from the end, the file still
    // grows under the view, and End or Follow1 goes back to On.
    enum class TFollowMode { Off, On, Paused };
    TFollowMode FollowMode() const { return FFollowMode; }
    void Follow1Click();
    // Looks at the shown file and shows what changed (the watcher calls it;
    // tests call it directly instead of waiting for the watcher).
    void ShownFileChanged();
    // Watches the shown file when it is followed or the settings ask to read
    // changed files again; otherwise watches nothing.
    void UpdateWatching();
    // The see-through mode of WindowOpacity1 (not saved).
    bool SeeThrough() const { return FSeeThrough; }
    void ViewerDblClick();
    void ViewerKeyDown(int key, Qt::KeyboardModifiers shift);
    void HexViewerKeyDown(int key, Qt::KeyboardModifiers shift);
    void ViewerTopIndexChanged();
    void ViewerLoadProgress();
    void ViewerDropFiles(const std::vector<std::string>& files);
    void ViewerDrawLine(QPainter& canvas, int index, int y, int lineNumWidth);
    void sbCloseBookmarksClick();
    void lbBookmarksDblClick();
    void lbBookmarksKeyDown(int key, Qt::KeyboardModifiers shift);
    void lbBookmarksDrawItem(QPainter& canvas, int index, const QRect& rect, bool selected);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout (Mainlayout.cpp) and menus (Mainmenus.cpp).
    void CreateControls();
    QWidget* CreateBookmarkPanel(QWidget* parent);
    void CreateStatusBar();
    void ConnectViewerEvents();
    void CreateMenus();
    void CreatePopupMenu();
    // The grouped encoding items below 자동 감지.
    void CreateEncodingItems();
    void AddBookmarkItems(QMenu* menu, const char* shortcutPrefix, void (TMainForm::*click)(int));
    QAction* AddLanguageItem(const std::string& name);
    // Loads path into the hex view or, with its language, the text view.
    void ShowFile(const std::string& path, const TSharedFile& file, bool binary,
                  const std::string& language);
    // Loads path into the text view's document inside one update bracket.
    void LoadTextView(const TSharedFile& file, const std::string& language);
    void RestoreBounds();
    void ApplyColors();
    void ApplyWindowFont();
    void ReadViewSwitches();
    void ReadRecentFiles();
    void WriteWindowSection();
    void WriteFindHistory();
    void WriteRecentFiles();
    void LoadFindHistory();
    // Shows in the status bar that the last search went round, or hides
    // the note when it did not.
    void ShowSearchNote(bool wrapped, bool backward);
    void UpdateMatchPanel();
    // Find, Find Next and Find Previous in the hex view.
    void FindInHexView(const std::string& text, const TFindOptions& options, bool hexBytes);
    // Makes text the hex view's search and marks its matches; false, with
    // nothing changed, when hexBytes is set and text is not whole pairs.
    bool SetHexSearch(const std::string& text, const TFindOptions& options, bool hexBytes);
    bool HexFindAgain(bool reverse, TSearchReport report = TSearchReport::MessageBox);
    bool HexSearch(const TFindOptions& options, int64_t from,
                   TSearchReport report = TSearchReport::MessageBox);
    // The search bar's parts (Mainsearchbar.cpp).
    void CreateSearchBar(QWidget* parent);
    TFindOptions SearchBarOptions() const;
    // The bar's boxes from the find dialog's; the bar's into the dialog's.
    void TakeDialogOptionsToBar();
    void GiveBarOptionsToDialog();
    void SearchBarTextChange();
    void RunSearchBarSearch();
    bool RunSearchBarHexSearch(const TFindOptions& options);
    void SearchHexInBackground(const TFindOptions& options, int64_t from);
    void SearchBarEnter(bool backward);
    // Colours the entry and sets the bar's note for how its search ended.
    void ShowSearchBarOutcome(TSearchOutcome outcome, const std::string& error = {});
    void StopSearchBarSearch();
    std::string_view BookmarkLine(int row) const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Runs one command, then UpdateActions, also when the command throws.
    template <typename TBody> void RunCommand(TBody body);
    // The language items of the language submenu, None1 first.
    void UpdateLanguageMarks();
    // A page of the executable's folder, the maker's home page, a mail.
    void OpenHelpPage(const char* name);
    void OpenHomepage();
    void OpenMail();
    std::string ProposedHtmlName() const;
    void ReportMissingFile(const std::string& name);
    // Reads the shown file again without a word: at the end when following,
    // else at the same top row (and selection, where its lines still exist).
    void ReadShownFileAgain(bool toEnd);
    bool TakeAppendedText();
    bool ViewAtEnd() const;
    void GoToEnd();
    // A change that came while the text was still being indexed is looked
    // at once the index is whole (after the handler that told it returns).
    void ShownFileLoaded();
    // End (with or without Ctrl) resumes following paused by scrolling.
    void ResumeFollowingAtEnd(int key);
    void SetFollowMode(TFollowMode mode);

    TSettingsStore FSettings;
    TLangLinks FLangLinks;
    TOpenDocument FDocument;
    TSearchState FSearch;
    // The search whose matches are highlighted; empty text: none.
    std::string FMatchText;
    TFindOptions FMatchOptions;
    // What the hex view's Find looks for (the bytes; empty before a Find
    // there), its options and the offset of the last match (-1: none).
    struct THexSearch {
        std::string Bytes;
        TFindOptions Options;
        int64_t Match = -1;
    } FHexSearch;
    // Where the bar's search starts as the text changes: the start of the top
    // row when the bar opened, then the start of the match Enter went to
    // (text view); the byte offset of the same in the hex view.
    TTextPoint FBarAnchor{0, 0};
    int64_t FBarHexAnchor = 0;
    // The bar's own search that runs as the text view's job: one started by
    // typing, or by Enter (whose match becomes the anchor).
    enum class TBarSearch { None, Typed, Stepped };
    TBarSearch FBarSearchRunning = TBarSearch::None;
    // The bar's search of a large file in the hex view, on a worker: the
    // hex view has no job of its own.
    TViewerJob FHexBarJob;
    TBookmarkSet FBookmarks;
    int FScrollStep = 2000;
    TMainMenus FMenus;
    TMainControls FControls;
    // Image n marks the rows of bookmark n in the gutter.
    std::array<QImage, BookmarkCount> FBookmarkIcons;
    std::function<std::optional<std::string>()> FOpenDialog;
    std::function<std::optional<std::string>(const std::string& proposed)> FSaveHtmlDialog;
    std::function<void(const QUrl&)> FShellOpen;

    std::string FCommandLine;
    bool FShown = false;
    bool FWriteSettingsOnClose = true;
    bool FSeeThrough = false;
    // The path chosen in the last Save as HTML.
    std::string FLastHtmlName;
    TFollowMode FFollowMode = TFollowMode::Off;
    TFileFollower FFollower;
    // Set while the window itself moves the view, so that only the reader's
    // own scrolling pauses following.
    bool FMovingView = false;
    // Set while the shown file is read again, which closes and opens it.
    bool FReadingAgain = false;
    bool FChangedWhileLoading = false;
};

template <typename TBody> void TMainForm::RunCommand(TBody body) {
    struct TAfter {
        TMainForm* Form;
        ~TAfter() { Form->UpdateActions(); }
    } after{this};
    body();
}

// The design bounds of the window; a maximized window returns to them.
constexpr int DesignLeft = 268;
constexpr int DesignTop = 124;
constexpr int DesignWidth = 817;
constexpr int DesignHeight = 642;
constexpr int MaxRecentFiles = TOpenDocument::MaxRecentFiles;
constexpr int MaxRecentMenuItems = 5;

// " 줄 top / count" as panel 0 shows it.
QString FormatLineStatus(long long topIndex, long long rowCount);
// Panel 0 for a view at top row topIndex (from 0) of rowCount rows; a view
// without rows shows 0 / 0, as the window without a file does.
QString ViewLineStatus(long long topIndex, long long rowCount);

// Closes an update bracket of the document also when its body throws; an
// error of the closing notification itself then gives way to the first one.
template <typename TBody> void InUpdate(TOVStringList& lines, TBody body) {
    lines.BeginUpdate();
    try {
        body();
    } catch (...) {
        try {
            lines.EndUpdate();
        } catch (...) {
        }
        throw;
    }
    lines.EndUpdate();
}

// Where a dialog of size box stands centred over the main window's bounds:
// integer halves, rounded toward zero.
QPoint CentredOver(const QRect& main, QSize box);

// The small cross of a panel's close button.
QIcon CloseGlyph();

// The tag of a menu item (0 when it has none).
int ItemTag(const QAction* item);

} // namespace ov
