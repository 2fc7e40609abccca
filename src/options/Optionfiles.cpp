#include "Optionfiles.h"

#include "Appfolders.h"
#include "Files.h"

namespace ov {

std::string LanguageTableFileName() {
    return RuntimePath("langlink.ini");
}

std::string LanguageFileName(const std::string& language, const std::string& extension) {
    return FindSyntaxFile(language + extension);
}

std::string ShippedLanguageFileName(const std::string& language, const std::string& extension) {
    return ResolveFileCase(ShippedSyntaxFolder() + language + extension);
}

std::string StyleFileToWrite(const std::string& language) {
    const std::string path = UserStyleFile(language);
    CreateFolders(ExtractFilePath(path));
    return path;
}

std::string BitmapFontFolder() {
    return RuntimePath("Fonts") + "/";
}

} // namespace ov
