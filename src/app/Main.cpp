#include "Main.h"

#include "Appfolders.h"
#include "Commandline.h"
#include "Errors.h"
#include "Filelists.h"
#include "Files.h"
#include "Find.h"
#include "Ovsynlangstyle.h"
#include "Qtcolor.h"
#include "Qtdesktop.h"
#include "Qtdialogs.h"
#include "Uiservices.h"
#include "Xpcheckbox.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdint>

namespace ov {

namespace {

constexpr const char* SWindow = "Window";
constexpr const char* SOption = "Option";
constexpr const char* SStyle = "Style";
constexpr const char* SRecent = "Recent";
// The bookmarks of the recent files (Filelists.h), beside their entries.
constexpr const char* SRecentBookmarks = "RecentBookmarks";
constexpr const char* SFindHistory = "FindHistory";

// The largest window width or height restored from the settings, in pixels:
// room for a window across several large screens.
constexpr int MaxWindowExtent = 16384;
// The farthest window position taken from the settings, either way.
constexpr int MaxWindowPosition = 1000000;

// The largest window font the settings may ask for, in pixels; beyond it a
// hand-edited size would only make the view unusable.
constexpr int MaxFontPixels = 400;

// Points to pixels at 96 dpi, rounded as the system's MulDiv rounds.
long long PointsToPixels(int points) {
    return (points * 96LL + 36) / 72;
}

// A colour key of the Style section. A code that does not read as a colour
// reads as the key's default, as an unreadable number does, so a damaged
// settings file cannot stop the start-up half way.
TColor ColorSetting(const TSettingsStore& settings, const char* key, const char* defaultCode) {
    try {
        return HexCodeToColor(settings.ReadString(SStyle, key, defaultCode));
    } catch (const EConvertError&) {
        return HexCodeToColor(defaultCode);
    }
}

// The view's 16-bit settings; a hand-edited value outside the range is
// clamped instead of wrapping round.
uint16_t WordSetting(const TSettingsStore& settings, const char* section, const char* key,
                     int defaultValue) {
    return static_cast<uint16_t>(
        std::clamp(settings.ReadInteger(section, key, defaultValue), 0, int(UINT16_MAX)));
}

} // namespace

TMainForm::TMainForm(std::string commandLine, QWidget* parent)
    : QMainWindow(parent), FSettings(SettingsFileName()), FCommandLine(std::move(commandLine)) {
    setObjectName(QStringLiteral("MainForm"));
    QFont windowFont(QStringLiteral("굴림"));
    windowFont.setPixelSize(12);
    setFont(windowFont);
    CreateControls();
    CreateMenus();
    RestoreBounds();
    for (int n = 0; n < BookmarkCount; ++n)
        FBookmarkIcons[size_t(n)] = BookmarkIcon(n);
    FControls.fFind = new TfFind(this);
    UpdateActions();
    FOpenDialog = [this] { return AskOpenFileName(this, "파일 열기"); };
    FSaveHtmlDialog = [this](const std::string& proposed) {
        return AskSaveFileName(this, "HTML로 저장", proposed,
                               {"HTML (*.htm *.html)", "모든 파일 (*)"}, "htm");
    };
    FShellOpen = [](const QUrl& url) { OpenWithDesktop(url); };
}

TMainForm::~TMainForm() = default;

void TMainForm::RestoreBounds() {
    move(DesignLeft, DesignTop);
    resize(DesignWidth, DesignHeight);
    if (FSettings.ReadBool(SWindow, "Max", false)) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    // The bounds are clamped to the available screen area: a damaged size
    // would make each view's back buffer take gigabytes, and a position
    // saved on other screens would leave the window where nobody reaches it.
    // Without a screen only values no screen has are cut, since the toolkit's
    // rectangle arithmetic overflows near the ends of the integer range.
    QRect area(-MaxWindowPosition, -MaxWindowPosition, 2 * MaxWindowPosition,
               2 * MaxWindowPosition);
    QSize largest(MaxWindowExtent, MaxWindowExtent);
    if (const QScreen* screen = QGuiApplication::primaryScreen();
        screen && !screen->availableVirtualGeometry().isEmpty()) {
        area = screen->availableVirtualGeometry();
        largest = area.size();
    }
    const int width = std::clamp(FSettings.ReadInteger(SWindow, "Width", 500), 1, largest.width());
    const int height =
        std::clamp(FSettings.ReadInteger(SWindow, "Height", 450), 1, largest.height());
    const int left = std::clamp(FSettings.ReadInteger(SWindow, "Left", 10), area.left(),
                                std::max(area.left(), area.left() + area.width() - width));
    const int top = std::clamp(FSettings.ReadInteger(SWindow, "Top", 50), area.top(),
                               std::max(area.top(), area.top() + area.height() - height));
    move(left, top);
    resize(width, height);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FShown || event->spontaneous())
        return;
    FShown = true;
    FormShow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TMainForm::FormShow() {
    setWindowTitle(QString::fromUtf8(ProgramTitle));
    ReportUnsavableSettings();
    if (!LoadLangLinks())
        return;
    ApplySettings(false);
    ReadViewSwitches();
    ReadRecentFiles();
    BuildRecentMenu();
    std::string file = ParseCommandLine(FCommandLine);
    if (!file.empty() && !OpenFile(file))
        ReportMissingFile(file);
}

// The name as it was given, so that the user sees what was typed.
void TMainForm::ReportMissingFile(const std::string& name) {
    UIServices().ShowMessage("'" + name + "' 파일을 찾을 수 없습니다.", ProgramTitle,
                             TMessageIcon::Warning);
}

// Said once, in the status bar, where it stays true for the whole run: a
// message box at every start would stand between the user and the file.
// A settings file the user has made read-only is left as it is at close.
void TMainForm::ReportUnsavableSettings() {
    const std::string& file = FSettings.FileName();
    if (const std::string why = file.empty() ? std::string() : SettingsSaveObstacle(file);
        !why.empty())
        FControls.StatusPanels[1]->setText(QString::fromStdString(why));
}

void TMainForm::ReadViewSwitches() {
    FControls.Viewer->SetWordWrap(FSettings.ReadBool(SOption, "WordWrap", false));
    FControls.Viewer->SetShowLineNum(FSettings.ReadBool(SOption, "ShowLineNum", false));
    FControls.Viewer->SetUseBitmapFont(FSettings.ReadBool(SStyle, "BitmapFont", true));
    FControls.fFind->cbWrapAround->SetChecked(FSettings.ReadBool(SOption, "FindWrapAround", true));
}

// From here on the list is the only copy of the recent files; FormClose
// writes it back.
void TMainForm::ReadRecentFiles() {
    FDocument.SetRecentFiles(FSettings.ReadSectionValues(SRecent));
    FDocument.SetBookmarkEntries(FSettings.ReadSectionValues(SRecentBookmarks));
    FSettings.EraseSection(SRecent);
    FSettings.EraseSection(SRecentBookmarks);
}

void TMainForm::ApplySettings(bool reload) {
    if (reload && FSettings.Reload()) {
        FSettings.EraseSection(SRecent);
        FSettings.EraseSection(SRecentBookmarks);
    }
    InUpdate(FControls.Viewer->Lines(), [this] {
        ApplyColors();
        ApplyWindowFont();
        // One read of the font files for the whole set.
        FControls.Viewer->SetFontFiles({FSettings.ReadString(SStyle, "HanFont", "Default") + ".han",
                              FSettings.ReadString(SStyle, "EngFont", "Default") + ".eng",
                              FSettings.ReadString(SStyle, "KsgFont", "Default") + ".ksg",
                              FSettings.ReadString(SStyle, "SpcFont", "Default") + ".spc"});
        FControls.Viewer->SetTabWidth(WordSetting(FSettings, SOption, "TabWidth", 4));
        FControls.Viewer->SetLeftMargin(WordSetting(FSettings, SOption, "LeftMargin", 2));
        FControls.Viewer->SetTopMargin(WordSetting(FSettings, SOption, "TopMargin", 2));
        FControls.Viewer->SetLineSpace(WordSetting(FSettings, SOption, "LineSpace", 2));
        FControls.Viewer->SetWheelScrollLines(WordSetting(FSettings, SOption, "Wheel", 3));
        // An interval of 0 would fire without pause.
        FControls.ScrollTimer->setInterval(
            std::max(1, FSettings.ReadInteger(SOption, "AutoScroll", 1500)));
        FControls.Viewer->SetEnableHighlighting(
            FSettings.ReadBool(SStyle, "SynHighlighting", true));
        if (!FDocument.FileName().empty() && FControls.Viewer->Lines().Count() > 0)
            FControls.Viewer->RefreshStyle();
    });
    UpdateWatching();
}

void TMainForm::ApplyColors() {
    FControls.Viewer->SetBackColor(ColorSetting(FSettings, "BackColor", "#FFFFFF"));
    FControls.HexViewer->SetColor(QColor(RgbFromColor(FControls.Viewer->BackColor())));
    FControls.Viewer->SetForeColor(ColorSetting(FSettings, "ForeColor", "#000000"));
    FControls.HexViewer->SetFontColor(QColor(RgbFromColor(FControls.Viewer->ForeColor())));
    FControls.Viewer->SetLineNumColor(ColorSetting(FSettings, "LineNumColor", "#808080"));
    FControls.Viewer->SetLineNumBackColor(ColorSetting(FSettings, "LineNumBack", "#FFFFFF"));
    FControls.Viewer->SetMatchColor(ColorSetting(FSettings, "MatchBack", "#FFE066"));
    FControls.HexViewer->SetMatchColor(QColor(RgbFromColor(FControls.Viewer->MatchColor())));
}

// The style words add to the font's current style; nothing here removes one.
void TMainForm::ApplyWindowFont() {
    QFont font = FControls.Viewer->font();
    font.setFamily(QString::fromStdString(FSettings.ReadString(SStyle, "WFontName", "Tahoma")));
    long long pixels = PointsToPixels(FSettings.ReadInteger(SStyle, "WFontSize", 9));
    if (pixels > 0)
        font.setPixelSize(static_cast<int>(std::min<long long>(pixels, MaxFontPixels)));
    std::string style = FSettings.ReadString(SStyle, "WFontStyle", "");
    if (style.find("bold") != std::string::npos)
        font.setBold(true);
    if (style.find("under") != std::string::npos)
        font.setUnderline(true);
    if (style.find("italic") != std::string::npos)
        font.setItalic(true);
    FControls.Viewer->setFont(font);
}

void TMainForm::FormClose() {
    CloseCurrentFile();
    WriteWindowSection();
    FSettings.WriteBool(SOption, "WordWrap", FControls.Viewer->WordWrap());
    FSettings.WriteBool(SOption, "ShowLineNum", FControls.Viewer->ShowLineNum());
    FSettings.WriteBool(SStyle, "BitmapFont", FControls.Viewer->UseBitmapFont());
    FSettings.WriteBool(SOption, "FindWrapAround", FControls.fFind->cbWrapAround->Checked());
    WriteFindHistory();
    WriteRecentFiles();
    if (FWriteSettingsOnClose)
        SaveSettingsFile(FSettings);
}

// A maximized window leaves the bounds of an earlier run in the file.
// Left and Top are the frame's position, Width and Height the window's own
// size: the pair that move() and resize() restore exactly.
void TMainForm::WriteWindowSection() {
    bool maximized = isMaximized();
    FSettings.WriteBool(SWindow, "Max", maximized);
    if (maximized)
        return;
    FSettings.WriteInteger(SWindow, "Left", x());
    FSettings.WriteInteger(SWindow, "Top", y());
    FSettings.WriteInteger(SWindow, "Width", width());
    FSettings.WriteInteger(SWindow, "Height", height());
}

// The find dialog holds the history once a Find has loaded it; before that
// the FindHistory section stays in the store as it was read.
void TMainForm::WriteFindHistory() {
    if (!FControls.fFind->HistoryLoaded())
        return;
    const std::vector<std::string> history = FControls.fFind->History();
    FSettings.EraseSection(SFindHistory);
    for (size_t i = 0; i < history.size(); ++i)
        FSettings.WriteString(SFindHistory, std::to_string(i + 1), history[i]);
}

// The entries go in as whole lines: a path may hold "=", and a lookup by key
// would take "/a" for the line of "/a=b.txt" and overwrite it. The section
// still holds lines only when the start stopped before reading it; those of
// the listed files give way to the list.
void TMainForm::WriteRecentFiles() {
    const auto write = [this](const char* section, const std::vector<std::string>& entries) {
        std::vector<std::string> lines = FSettings.ReadSectionValues(section);
        std::erase_if(lines, [this](const std::string& line) {
            return IndexOfRecentFile(FDocument.RecentFiles(), RecentEntryPath(line)) >= 0;
        });
        lines.insert(lines.end(), entries.begin(), entries.end());
        FSettings.EraseSection(section);
        for (const std::string& line : lines)
            FSettings.AddLine(section, line);
    };
    write(SRecent, FDocument.RecentFiles());
    write(SRecentBookmarks, FDocument.BookmarkEntries());
}

QString TMainForm::LineStatus() const {
    return FControls.StatusPanels[0]->text();
}

} // namespace ov
