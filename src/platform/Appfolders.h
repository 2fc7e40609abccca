#pragma once
// Where the program's own files live. Two layouts are served:
//
// - portable: the executable with its runtime files beside it (a build
//   folder or a copied folder). Settings ("Orvane.ini") and colour files are
//   written there, as the program always did;
// - installed: the executable in PREFIX/bin and its runtime files in
//   PREFIX/share/orvane/, read-only. Settings go to
//   $XDG_CONFIG_HOME/orvane/Orvane.ini, the user's own language files to
//   $XDG_DATA_HOME/orvane/ (Syntax/<name>.syn, .sty and langlink.ini), where
//   they take precedence over the shipped ones.
//
// Every function answers from the file system as it is now (nothing is
// cached), so tests can move the executable folder (SetExeFolderOverride) and
// the XDG variables. Paths are UTF-8; names of the program's own files are
// looked up without regard to letter case. Nothing here creates a file or a
// folder except CreateFolders.

#include <string>
#include <string_view>

namespace ov {

// A shipped runtime file or folder ("langlink.ini", "Syntax", "Fonts",
// "shortcut.htm"): beside the executable when it is there, else in
// ../share/orvane/ relative to the executable's folder. When neither holds
// it, the path beside the executable (so messages name the portable place).
// A folder is returned without a trailing '/'.
std::string RuntimePath(std::string_view name);

// The shipped language definitions (RuntimePath("Syntax")), with a trailing '/'.
std::string ShippedSyntaxFolder();

// True when settings live beside the executable: its folder is writable and
// either already holds "Orvane.ini" or the program is not installed (there is
// no ../share/orvane/langlink.ini).
bool SettingsBesideExecutable();

// The settings file: ExeFolder() + "Orvane.ini" when SettingsBesideExecutable,
// else $XDG_CONFIG_HOME/orvane/Orvane.ini ($HOME/.config when the variable is
// unset, empty or relative).
std::string SettingsFilePath();

// False when a file cannot be written at path: its folder, or the nearest
// existing folder above it when the folder does not exist yet, is not a
// writable folder.
bool CanCreateFile(const std::string& path);
// SettingsSaveObstacle(SettingsFilePath()) is empty. When false the program
// runs with what it could read (else defaults) and says once that settings
// cannot be saved.
bool SettingsCanBeSaved();
// Why settings kept in file (looked up without regard to case) cannot be
// saved at close, as the sentence the user reads ("설정을 저장할 수
// 없습니다: ..."); empty when they can. The file, a symbolic link followed,
// is write-protected (IsWriteProtected), or is a named pipe, socket or folder
// (read as no settings, and a save into it fails: a pipe is not waited on),
// or the folder it would be made in cannot be written (CanCreateFile). A
// device is written into and is no obstacle.
std::string SettingsSaveObstacle(const std::string& file);

// The folder of the user's own language definitions, with a trailing '/':
// the shipped Syntax folder in the portable layout, else
// $XDG_DATA_HOME/orvane/Syntax/ ($HOME/.local/share when unset).
std::string UserSyntaxFolder();

// Where a language's colours are written (the options dialog):
// UserSyntaxFolder() + language + ".sty", with the letter case of a file
// already there. The folder may not exist yet: create it with CreateFolders.
std::string UserStyleFile(std::string_view language);

// The user's own extension table, $XDG_DATA_HOME/orvane/langlink.ini; empty
// in the portable layout, where the shipped table is the user's.
std::string UserLangLinkFile();

// A language file to read ("C.syn", "C.sty"): the user's copy when one
// exists, else the shipped one (its path, existing or not). Callers that must
// survive a damaged user file read the shipped one on failure.
std::string FindSyntaxFile(std::string_view fileName);

// Creates folder and any missing parents. True when the folder exists
// afterwards.
bool CreateFolders(const std::string& folder);

} // namespace ov
