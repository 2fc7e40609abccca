#pragma once
// The common dialogs of the program: file, font and colour.

#include <QRgb>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace ov {

// Asks for an existing file to open, starting in the folder of the last
// file chosen. title is UTF-8. Returns the chosen path (the file system's
// bytes) or nullopt when the user cancels.
std::optional<std::string> AskOpenFileName(QWidget* parent, const std::string& title);

// Asks for a file to write, starting at proposed (a full path). filters are
// Qt name filters ("HTML (*.htm *.html)"); a name typed without an extension
// gets defaultSuffix. An existing file is written over only after the user
// says yes; no returns to the dialog. Texts are UTF-8. Returns the chosen
// path (the file system's bytes) or nullopt when the user cancels.
std::optional<std::string> AskSaveFileName(QWidget* parent, const std::string& title,
                                           const std::string& proposed,
                                           const std::vector<std::string>& filters,
                                           const std::string& defaultSuffix);

// A window font as the options dialog edits it: a face and a size in points.
// No style: the view's style comes from its own setting.
struct TFontChoice {
    QString Family;
    int PointSize = 9;
};

// The sizes the font dialog offers and accepts.
constexpr int MinFontDialogSize = 4;
constexpr int MaxFontDialogSize = 50;

// The font dialog with its size list cut to MinFontDialogSize ..
// MaxFontDialogSize points and without the style, effects and writing-system
// choices. A typed size outside the range is refused with a message and the
// dialog stays open. nullopt when the user cancels.
std::optional<TFontChoice> AskFont(QWidget* parent, const TFontChoice& initial);

// The colour dialog with its custom-colour part shown, starting at initial.
// nullopt when the user cancels.
std::optional<QRgb> AskColor(QWidget* parent, QRgb initial);

} // namespace ov
