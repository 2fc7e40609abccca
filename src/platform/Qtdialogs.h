#pragma once
// The common file dialogs of the program.

#include <optional>
#include <string>

class QWidget;

namespace ov {

// Asks for an existing file to open, starting in the folder of the last
// file chosen. title is UTF-8. Returns the chosen path (the file system's
// bytes) or nullopt when the user cancels.
std::optional<std::string> AskOpenFileName(QWidget* parent, const std::string& title);

} // namespace ov
