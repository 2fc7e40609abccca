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
    : QMainWindow(parent), Settings(SettingsFileName()), FCommandLine(std::move(commandLine)) {
    setObjectName(QStringLiteral("MainForm"));
    QFont windowFont(QStringLiteral("굴림"));
    windowFont.setPixelSize(12);
    setFont(windowFont);
    CreateControls();
    CreateMenus();
    RestoreBounds();
    Bookmarks.fill(-1);
    for (int n = 0; n < BookmarkCount; ++n)
        ilBookmark[size_t(n)] = BookmarkIcon(n);
    fFind = new TfFind(this);
    UpdateActions();
    OpenDialog = [this] { return AskOpenFileName(this, "파일 열기"); };
    SaveHtmlDialog = [this](const std::string& proposed) {
        return AskSaveFileName(this, "HTML로 저장", proposed,
                               {"HTML (*.htm *.html)", "모든 파일 (*)"}, "htm");
    };
    ShellOpen = [](const QUrl& url) { OpenWithDesktop(url); };
}

TMainForm::~TMainForm() = default;

void TMainForm::RestoreBounds() {
    move(DesignLeft, DesignTop);
    resize(DesignWidth, DesignHeight);
    if (Settings.ReadBool(SWindow, "Max", false)) {
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
    const int width = std::clamp(Settings.ReadInteger(SWindow, "Width", 500), 1, largest.width());
    const int height =
        std::clamp(Settings.ReadInteger(SWindow, "Height", 450), 1, largest.height());
    const int left = std::clamp(Settings.ReadInteger(SWindow, "Left", 10), area.left(),
                                std::max(area.left(), area.left() + area.width() - width));
    const int top = std::clamp(Settings.ReadInteger(SWindow, "Top", 50), area.top(),
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
    const std::string& file = Settings.FileName();
    if (const std::string why = file.empty() ? std::string() : SettingsSaveObstacle(file);
        !why.empty())
        StatusPanels[1]->setText(QString::fromStdString(why));
}

void TMainForm::ReadViewSwitches() {
    Viewer->SetWordWrap(Settings.ReadBool(SOption, "WordWrap", false));
    Viewer->SetShowLineNum(Settings.ReadBool(SOption, "ShowLineNum", false));
    Viewer->SetUseBitmapFont(Settings.ReadBool(SStyle, "BitmapFont", true));
}

// From here on the list is the only copy of the recent files; FormClose
// writes it back.
void TMainForm::ReadRecentFiles() {
    RecentFiles = Settings.ReadSectionValues(SRecent);
    Settings.EraseSection(SRecent);
}

void TMainForm::ApplySettings(bool reload) {
    if (reload && Settings.Reload())
        Settings.EraseSection(SRecent);
    InUpdate(Viewer->Lines(), [this] {
        ApplyColors();
        ApplyWindowFont();
        // One read of the font files for the whole set.
        Viewer->SetFontFiles({Settings.ReadString(SStyle, "HanFont", "Default") + ".han",
                              Settings.ReadString(SStyle, "EngFont", "Default") + ".eng",
                              Settings.ReadString(SStyle, "KsgFont", "Default") + ".ksg",
                              Settings.ReadString(SStyle, "SpcFont", "Default") + ".spc"});
        Viewer->SetTabWidth(WordSetting(Settings, SOption, "TabWidth", 4));
        Viewer->SetLeftMargin(WordSetting(Settings, SOption, "LeftMargin", 2));
        Viewer->SetTopMargin(WordSetting(Settings, SOption, "TopMargin", 2));
        Viewer->SetLineSpace(WordSetting(Settings, SOption, "LineSpace", 2));
        Viewer->SetWheelScrollLines(WordSetting(Settings, SOption, "Wheel", 3));
        // An interval of 0 would fire without pause.
        ScrollTimer->setInterval(std::max(1, Settings.ReadInteger(SOption, "AutoScroll", 1500)));
        Viewer->SetEnableHighlighting(Settings.ReadBool(SStyle, "SynHighlighting", true));
        if (!CurrentFileName.empty() && Viewer->Lines().Count() > 0)
            Viewer->RefreshStyle();
    });
}

void TMainForm::ApplyColors() {
    Viewer->SetBackColor(ColorSetting(Settings, "BackColor", "#FFFFFF"));
    HexViewer->SetColor(QColor(RgbFromColor(Viewer->BackColor())));
    Viewer->SetForeColor(ColorSetting(Settings, "ForeColor", "#000000"));
    HexViewer->SetFontColor(QColor(RgbFromColor(Viewer->ForeColor())));
    Viewer->SetLineNumColor(ColorSetting(Settings, "LineNumColor", "#808080"));
    Viewer->SetLineNumBackColor(ColorSetting(Settings, "LineNumBack", "#FFFFFF"));
}

// The style words add to the font's current style; nothing here removes one.
void TMainForm::ApplyWindowFont() {
    QFont font = Viewer->font();
    font.setFamily(QString::fromStdString(Settings.ReadString(SStyle, "WFontName", "Tahoma")));
    long long pixels = PointsToPixels(Settings.ReadInteger(SStyle, "WFontSize", 9));
    if (pixels > 0)
        font.setPixelSize(static_cast<int>(std::min<long long>(pixels, MaxFontPixels)));
    std::string style = Settings.ReadString(SStyle, "WFontStyle", "");
    if (style.find("bold") != std::string::npos)
        font.setBold(true);
    if (style.find("under") != std::string::npos)
        font.setUnderline(true);
    if (style.find("italic") != std::string::npos)
        font.setItalic(true);
    Viewer->setFont(font);
}

void TMainForm::FormClose() {
    CloseCurrentFile();
    WriteWindowSection();
    Settings.WriteBool(SOption, "WordWrap", Viewer->WordWrap());
    Settings.WriteBool(SOption, "ShowLineNum", Viewer->ShowLineNum());
    Settings.WriteBool(SStyle, "BitmapFont", Viewer->UseBitmapFont());
    WriteFindHistory();
    WriteRecentFiles();
    if (FWriteSettingsOnClose)
        SaveSettingsFile(Settings);
}

// A maximized window leaves the bounds of an earlier run in the file.
// Left and Top are the frame's position, Width and Height the window's own
// size: the pair that move() and resize() restore exactly.
void TMainForm::WriteWindowSection() {
    bool maximized = isMaximized();
    Settings.WriteBool(SWindow, "Max", maximized);
    if (maximized)
        return;
    Settings.WriteInteger(SWindow, "Left", x());
    Settings.WriteInteger(SWindow, "Top", y());
    Settings.WriteInteger(SWindow, "Width", width());
    Settings.WriteInteger(SWindow, "Height", height());
}

// The find dialog holds the history once a Find has loaded it; before that
// the FindHistory section stays in the store as it was read.
void TMainForm::WriteFindHistory() {
    if (!fFind->HistoryLoaded())
        return;
    const std::vector<std::string> history = fFind->History();
    Settings.EraseSection(SFindHistory);
    for (size_t i = 0; i < history.size(); ++i)
        Settings.WriteString(SFindHistory, std::to_string(i + 1), history[i]);
}

// The entries go in as whole lines: a path may hold "=", and a lookup by key
// would take "/a" for the line of "/a=b.txt" and overwrite it. The section
// still holds lines only when the start stopped before reading it; those of
// the listed files give way to the list.
void TMainForm::WriteRecentFiles() {
    std::vector<std::string> lines = Settings.ReadSectionValues(SRecent);
    std::erase_if(lines, [this](const std::string& line) {
        return IndexOfRecentFile(RecentFiles, RecentEntryPath(line)) >= 0;
    });
    lines.insert(lines.end(), RecentFiles.begin(), RecentFiles.end());
    Settings.EraseSection(SRecent);
    for (const std::string& line : lines)
        Settings.AddLine(SRecent, line);
}

QString TMainForm::LineStatus() const {
    return StatusPanels[0]->text();
}

} // namespace ov
