#pragma once
// The files the options dialog reads and writes, each named in one place so
// that a different home for them changes one function.

#include <string>

namespace ov {

// The shipped "langlink.ini" (the language list is TLangLinks::LoadProgramTable,
// which puts the user's own lines over it).
std::string LanguageTableFileName();
// The syntax (".syn") or style (".sty") file of a language as it is read:
// the user's own copy when there is one, else the shipped one.
std::string LanguageFileName(const std::string& language, const std::string& extension);
// The shipped file, read when the user's own copy is damaged.
std::string ShippedLanguageFileName(const std::string& language, const std::string& extension);
// Where the dialog writes a language's changed colours (beside the program
// in a portable copy, else in the user's data folder, which is created here).
std::string StyleFileToWrite(const std::string& language);
// The folder of the bitmap font files, with a trailing '/'.
std::string BitmapFontFolder();

} // namespace ov
