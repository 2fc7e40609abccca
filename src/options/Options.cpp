#include "Options.h"

#include "Colorswatch.h"
#include "Errors.h"
#include "Files.h"
#include "Langlinks.h"
#include "Messages.h"
#include "Optionfiles.h"
#include "Qtcodepage.h"
#include "Qtcolor.h"
#include "Uiservices.h"
#include "Xlabel.h"
#include "Xpbutton.h"
#include "Xpcheckbox.h"
#include "Xpcombobox.h"
#include "Xpspinedit.h"

#include <QFont>
#include <QShowEvent>
#include <QSignalBlocker>

namespace ov {

namespace {

constexpr const char* SaveErrorCaption = "옵션";

// The entry of list whose text is name without regard to letter case, as
// the font files themselves are found; -1 when there is none.
int IndexOfText(const TXPComboBox* list, const std::string& name) {
    return name.empty() ? -1 : list->findText(QString::fromStdString(name), Qt::MatchFixedString);
}

std::string SelectedText(const TXPComboBox* list) {
    return list->currentIndex() < 0 ? std::string() : list->currentText().toStdString();
}

// The label's text as a number; 9 when it does not read as one.
int FontSizeOfLabel(const TXLabel* label) {
    bool ok = false;
    const int size = label->text().trimmed().toInt(&ok);
    return ok ? size : 9;
}

// The seven fixed style groups' names, from the message table.
QStringList FixedGroupNames() {
    return QString::fromUtf8(LoadStr(SStyleNames)).split(u',');
}

} // namespace

TfOptions::TfOptions(QWidget* parent, std::string currentLanguage,
                     std::function<void()> applySettings)
    : QDialog(parent), SettingsFile(SettingsFileName()),
      FCurrentLanguage(std::move(currentLanguage)), FApplySettings(std::move(applySettings)) {
    setObjectName(QStringLiteral("fOptions"));
    setWindowTitle(QStringLiteral("옵션"));
    QFont dialogFont(QStringLiteral("굴림"));
    dialogFont.setPixelSize(12);
    setFont(dialogFont);
    setFixedSize(OptionsClientWidth, OptionsClientHeight);
    CreatePages();
    CreateButtons();
}

TfOptions::~TfOptions() {
    FreeLanguages();
}

void TfOptions::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfOptions::FormShow() {
    for (TLanguage& language : FLanguages)
        language.StyleModified = false;
    LoadOptions();
}

void TfOptions::LoadOptions() {
    const TOptionValues values = ReadOptionValues(SettingsFile);
    FReadEscape = values.ESC;
    ShowControlValues(values);
    LoadLanguages();
}

void TfOptions::ShowControlValues(const TOptionValues& values) {
    TopMargin->SetValue(values.TopMargin);
    LeftMargin->SetValue(values.LeftMargin);
    LineSpace->SetValue(values.LineSpace);
    TabWidth->SetValue(values.TabWidth);
    FontName->SetCaption(QString::fromStdString(values.FontName));
    FontSize->SetCaption(QString::number(values.FontSize));
    const std::pair<TXPComboBox*, const std::string*> fonts[] = {
        {FontKOR, &values.HanFont},
        {FontENG, &values.EngFont},
        {FontSPC, &values.SpcFont},
        {FontKSG, &values.KsgFont}};
    const char* const extensions[] = {"han", "eng", "spc", "ksg"};
    for (int i = 0; i < 4; ++i) {
        FillFontList(extensions[i], fonts[i].first);
        fonts[i].first->setCurrentIndex(IndexOfText(fonts[i].first, *fonts[i].second));
    }
    ESCKey->setCurrentIndex(values.ESC >= 0 && values.ESC < ESCKey->count() ? values.ESC : -1);
    Wheel->SetValue(values.Wheel);
    AutoScroll->SetValue(values.AutoScroll);
    ColorText->SetColor(values.ForeColor);
    ColorBack->SetColor(values.BackColor);
    ColorLineNum->SetColor(values.LineNumColor);
    ColorLineBack->SetColor(values.LineNumBack);
    ColorMatch->SetColor(values.MatchBack);
    SynHighlighting->SetChecked(values.SynHighlighting);
    ReloadOnChange->SetChecked(values.ReloadOnChange);
}

TOptionValues TfOptions::ControlValues() const {
    TOptionValues values;
    values.TopMargin = TopMargin->Value();
    values.LeftMargin = LeftMargin->Value();
    values.LineSpace = LineSpace->Value();
    values.TabWidth = TabWidth->Value();
    values.FontName = FontName->text().toStdString();
    values.FontSize = FontSizeOfLabel(FontSize);
    values.HanFont = SelectedText(FontKOR);
    values.EngFont = SelectedText(FontENG);
    values.SpcFont = SelectedText(FontSPC);
    values.KsgFont = SelectedText(FontKSG);
    values.ESC = ESCKey->currentIndex() >= 0 ? ESCKey->currentIndex() : FReadEscape;
    values.Wheel = Wheel->Value();
    values.AutoScroll = AutoScroll->Value();
    values.ForeColor = ColorText->Color();
    values.BackColor = ColorBack->Color();
    values.LineNumColor = ColorLineNum->Color();
    values.LineNumBack = ColorLineBack->Color();
    values.MatchBack = ColorMatch->Color();
    values.SynHighlighting = SynHighlighting->Checked();
    values.ReloadOnChange = ReloadOnChange->Checked();
    return values;
}

void TfOptions::FillFontList(const std::string& extension, TXPComboBox* list) {
    const QSignalBlocker quiet(list);
    list->clear();
    // Sorted by name: the order in which the file system lists a folder is
    // not stable here.
    for (const std::string& file : ListFiles(BitmapFontFolder(), "." + extension)) {
        if (file.size() > extension.size() + 1)
            list->addItem(QString::fromStdString(file.substr(0, file.size() - extension.size() - 1)));
    }
}

namespace {

// False when the file holds a bad colour code.
bool LoadStyleFile(TOVSynLangStyle& style, const std::string& path) {
    try {
        style.Init();
        style.LoadFromFile(path);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

} // namespace

void TfOptions::LoadLanguages() {
    TLangLinks table;
    table.LoadProgramTable();
    FreeLanguages();
    const QSignalBlocker quiet(Language);
    Language->clear();
    for (const std::string& name : table.Names()) {
        if (name.empty())
            continue;
        TLanguage language;
        language.Name = name;
        language.Style = std::make_unique<TOVSynLangStyle>();
        // A damaged colour file of the user's own gives way to the shipped
        // one, as in the view; saving then writes a sound user file.
        const std::string own = LanguageFileName(name, ".sty");
        const std::string shipped = ShippedLanguageFileName(name, ".sty");
        if (!LoadStyleFile(*language.Style, own) &&
            (own == shipped || !LoadStyleFile(*language.Style, shipped)))
            language.StyleDamaged = true;
        language.Syntax = std::make_unique<TOVSynLangSyntax>();
        language.Syntax->NamesOnly = true;
        try {
            language.Syntax->LoadFromFile(LanguageFileName(name, ".syn"));
        } catch (const EOVError&) {
            // Only the item names are used: a damaged file lists fewer groups.
        }
        FLanguages.push_back(std::move(language));
        Language->addItem(QStringFromAnsi(name));
    }
    if (Language->count() == 0)
        return;
    int current = -1;
    for (size_t i = 0; i < FLanguages.size() && !FCurrentLanguage.empty(); ++i) {
        if (SameText(FLanguages[i].Name, FCurrentLanguage)) {
            current = static_cast<int>(i);
            break;
        }
    }
    Language->setCurrentIndex(current >= 0 ? current : 0);
    LanguageChange();
}

void TfOptions::FreeLanguages() {
    FLanguages.clear();
}

TfOptions::TLanguage* TfOptions::SelectedLanguage() {
    const int index = Language->currentIndex();
    if (index < 0 || index >= static_cast<int>(FLanguages.size()))
        return nullptr;
    TLanguage& language = FLanguages[static_cast<size_t>(index)];
    return language.Style && language.Syntax ? &language : nullptr;
}

int TfOptions::SelectedGroup() const {
    return ColorGroup->currentIndex() < 0 ? -1 : ColorGroup->currentData().toInt();
}

void TfOptions::LanguageChange() {
    TLanguage* language = SelectedLanguage();
    if (!language)
        return;
    const QSignalBlocker quiet(ColorGroup);
    ColorGroup->clear();
    const QStringList fixed = FixedGroupNames();
    for (int group = 0; group < FixedStyleCount && group < fixed.size(); ++group)
        ColorGroup->addItem(fixed[group], group);
    for (int item = 0; item < StyleCount - FixedStyleCount; ++item) {
        const char* name = language->Syntax->GetItems(item).Name;
        if (name[0] != '\0')
            ColorGroup->addItem(QStringFromAnsi(name), StyleItem0 + item);
    }
    if (ColorGroup->count() == 0)
        return;
    ColorGroup->setCurrentIndex(0);
    SynColorText->SetColor(language->Style->Colors[StyleNormal].Fore);
    SynColorBack->SetColor(language->Style->Colors[StyleNormal].Back);
}

void TfOptions::ColorGroupChange() {
    TLanguage* language = SelectedLanguage();
    const int group = SelectedGroup();
    if (!language || group < 0 || group >= StyleCount)
        return;
    SynColorText->SetColor(language->Style->Colors[static_cast<size_t>(group)].Fore);
    SynColorBack->SetColor(language->Style->Colors[static_cast<size_t>(group)].Back);
}

void TfOptions::ColorTextMouseUp(TColorSwatch* sender) {
    if (std::optional<QRgb> chosen = ColorDialog(this, RgbFromColor(sender->Color())))
        sender->SetColor(ColorFromRgb(*chosen));
}

void TfOptions::SynColorTextMouseUp() {
    ChangeSynColor(false);
}

void TfOptions::SynColorBackMouseUp() {
    ChangeSynColor(true);
}

void TfOptions::ChangeSynColor(bool background) {
    TLanguage* language = SelectedLanguage();
    const int group = SelectedGroup();
    if (!language || group < 0 || group >= StyleCount)
        return;
    if (language->StyleDamaged) {
        UIServices().ShowMessage(
            "\"" + StyleFileToWrite(language->Name) +
                "\" 파일에 읽을 수 없는 색 코드가 있어 이 언어의 색은 바꿀 수 없습니다.",
            SaveErrorCaption, TMessageIcon::Warning);
        return;
    }
    TColorSwatch* swatch = background ? SynColorBack : SynColorText;
    std::optional<QRgb> chosen = ColorDialog(this, RgbFromColor(swatch->Color()));
    if (!chosen)
        return;
    const TColor color = ColorFromRgb(*chosen);
    swatch->SetColor(color);
    TStyleColors& colors = language->Style->Colors[static_cast<size_t>(group)];
    (background ? colors.Back : colors.Fore) = color;
    language->StyleModified = true;
}

void TfOptions::bChangeClick() {
    const TFontChoice current{FontName->text(), FontSizeOfLabel(FontSize)};
    if (std::optional<TFontChoice> chosen = FontDialog(this, current)) {
        FontName->SetCaption(chosen->Family);
        FontSize->SetCaption(QString::number(chosen->PointSize));
    }
}

bool TfOptions::SaveOptions() {
    WriteOptionValues(SettingsFile, ControlValues());
    bool saved = SaveStyleFiles();
    if (!SaveSettingsFile(SettingsFile)) {
        UIServices().ShowMessage("설정 파일 \"" + SettingsFile.FileName() +
                                     "\"에 쓸 수 없습니다. 바꾼 설정이 저장되지 않았습니다.",
                                 SaveErrorCaption, TMessageIcon::Warning);
        saved = false;
    }
    return saved;
}

// The flags stay set: a second Apply writes the same files again.
bool TfOptions::SaveStyleFiles() {
    std::string failed;
    for (const TLanguage& language : FLanguages) {
        if (!language.StyleModified || !language.Style || language.StyleDamaged)
            continue;
        const std::string path = StyleFileToWrite(language.Name);
        if (!language.Style->SaveToFile(path))
            failed += "\n" + path;
    }
    if (failed.empty())
        return true;
    UIServices().ShowMessage("다음 언어 색 파일에 쓸 수 없습니다:" + failed, SaveErrorCaption,
                             TMessageIcon::Warning);
    return false;
}

void TfOptions::bApplyClick() {
    SaveOptions();
    if (FApplySettings)
        FApplySettings();
}

// A failed save keeps the dialog open with the user's changes, so that they
// can be saved once the file can be written, or dropped with Cancel.
void TfOptions::bOKClick() {
    const bool saved = SaveOptions();
    if (FApplySettings)
        FApplySettings();
    if (saved)
        accept();
}

} // namespace ov
