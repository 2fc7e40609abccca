#pragma once
// The files the options dialog reads and writes, each named in one place so
// that a different home for them changes one function.

#include <string>

namespace ov {

// "langlink.ini", the language list.
std::string LanguageTableFileName();
// The syntax (".syn") or style (".sty") file of a language as it is read.
std::string LanguageFileName(const std::string& language, const std::string& extension);
// Where the dialog writes a language's changed colours.
std::string StyleFileToWrite(const std::string& language);
// The folder of the bitmap font files, with a trailing '/'.
std::string BitmapFontFolder();

} // namespace ov
