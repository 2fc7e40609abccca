#pragma once
// TfOptions: the modal options dialog. It edits the view settings (margins,
// spacing, tab width, window font, bitmap fonts), the behaviour settings
// (Escape, wheel lines, auto-scroll interval), the basic colours and, per
// language, the colours of every style group.
//
// It works on the settings file itself: SettingsFile is read when the dialog
// is constructed, the controls are filled from it each time the dialog is
// shown, and Apply or OK write every control back, write the style file of
// each language whose colours changed and flush the file, then call
// OnApplySettings (the main window re-reads the file and applies it). Cancel
// writes nothing. The dialog owns its settings store and one style and one
// syntax definition per language; it borrows nothing.

#include "Inifiles.h"
#include "Optionvalues.h"
#include "Ovsynlangstyle.h"
#include "Ovsynlangsyntax.h"
#include "Qtdialogs.h"

#include <QDialog>
#include <QRgb>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTabWidget;

namespace ov {

class TColorSwatch;
class TXLabel;
class TXPButton;
class TXPCheckBox;
class TXPComboBox;
class TXPSpinEdit;

constexpr int OptionsClientWidth = 396;
constexpr int OptionsClientHeight = 319;

class TfOptions : public QDialog {
public:
    // currentLanguage: the text view's language, preselected in the list.
    // applySettings: runs after every successful or failed save, so that the
    // window shows what the files now hold.
    TfOptions(QWidget* parent, std::string currentLanguage, std::function<void()> applySettings);
    ~TfOptions() override;

    TSettingsStore SettingsFile;

    // --- Controls: page "보기" ---
    QTabWidget* PageControl = nullptr;
    TXPSpinEdit* TopMargin = nullptr;
    TXPSpinEdit* LeftMargin = nullptr;
    TXPSpinEdit* LineSpace = nullptr;
    TXPSpinEdit* TabWidth = nullptr;
    TXLabel* FontName = nullptr;
    TXLabel* FontSize = nullptr;
    TXPButton* bChange = nullptr;
    TXPComboBox* FontKOR = nullptr;
    TXPComboBox* FontENG = nullptr;
    TXPComboBox* FontSPC = nullptr;
    TXPComboBox* FontKSG = nullptr;
    // --- page "기타" ---
    TXPComboBox* ESCKey = nullptr;
    TXPSpinEdit* Wheel = nullptr;
    TXPSpinEdit* AutoScroll = nullptr;
    TXPCheckBox* ReloadOnChange = nullptr;
    // --- page "색" ---
    TColorSwatch* ColorText = nullptr;
    TColorSwatch* ColorBack = nullptr;
    TColorSwatch* ColorLineNum = nullptr;
    TColorSwatch* ColorLineBack = nullptr;
    TColorSwatch* ColorMatch = nullptr;
    TXPCheckBox* SynHighlighting = nullptr;
    TXPComboBox* Language = nullptr;
    TXPComboBox* ColorGroup = nullptr;
    TColorSwatch* SynColorText = nullptr;
    TColorSwatch* SynColorBack = nullptr;
    // --- buttons ---
    TXPButton* bApply = nullptr;
    TXPButton* bOK = nullptr;
    TXPButton* bCancel = nullptr;

    // The colour and font dialogs; tests replace them.
    std::function<std::optional<QRgb>(QWidget* parent, QRgb initial)> ColorDialog = AskColor;
    std::function<std::optional<TFontChoice>(QWidget* parent, const TFontChoice& initial)>
        FontDialog = AskFont;

    // The languages of the list, in its order, and their definitions.
    struct TLanguage {
        std::string Name;
        std::unique_ptr<TOVSynLangStyle> Style;
        std::unique_ptr<TOVSynLangSyntax> Syntax;
        // Its colours were changed since the dialog was shown.
        bool StyleModified = false;
        // Its style file holds a code that does not read as a colour: the
        // colours after it are unknown, so the file is never rewritten.
        bool StyleDamaged = false;
    };
    const std::vector<TLanguage>& Languages() const { return FLanguages; }

    // --- Handlers ---
    void FormShow();
    void bChangeClick();
    void bApplyClick();
    void bOKClick();
    void ColorTextMouseUp(TColorSwatch* sender);
    void SynColorTextMouseUp();
    void SynColorBackMouseUp();
    void LanguageChange();
    void ColorGroupChange();

    // --- Steps ---
    void LoadOptions();
    // Writes every control and the changed style files, then the settings
    // file. Returns false, after telling the user which file could not be
    // written, when any write failed; what was on disk before stays whole.
    bool SaveOptions();
    static void FillFontList(const std::string& extension, TXPComboBox* list);
    void LoadLanguages();
    void FreeLanguages();

    // The values the controls hold now, as SaveOptions writes them.
    TOptionValues ControlValues() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreatePages();
    QWidget* CreateViewPage();
    QWidget* CreateOtherPage();
    QWidget* CreateColorPage();
    void CreateButtons();
    void ShowControlValues(const TOptionValues& values);
    // The chosen language, or null when none is chosen.
    TLanguage* SelectedLanguage();
    // The style group of ColorGroup's chosen entry, or -1.
    int SelectedGroup() const;
    void ChangeSynColor(bool background);
    bool SaveStyleFiles();

    std::string FCurrentLanguage;
    std::function<void()> FApplySettings;
    std::vector<TLanguage> FLanguages;
    // ESC as read: an index the list does not hold is written back unchanged.
    int FReadEscape = eaDeselect;
};

} // namespace ov
