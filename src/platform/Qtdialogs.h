#pragma once
// The common file dialogs of the program.

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

} // namespace ov
