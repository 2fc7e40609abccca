#include "Optionfiles.h"

#include "Files.h"

namespace ov {

std::string LanguageTableFileName() {
    return ResolveFileCase(ExeFolder() + "langlink.ini");
}

std::string LanguageFileName(const std::string& language, const std::string& extension) {
    return ResolveFileCase(ExeFolder() + "Syntax/" + language + extension);
}

std::string StyleFileToWrite(const std::string& language) {
    return LanguageFileName(language, ".sty");
}

std::string BitmapFontFolder() {
    return ResolveFileCase(ExeFolder() + "Fonts") + "/";
}

} // namespace ov
