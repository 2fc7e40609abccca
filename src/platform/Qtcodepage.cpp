#include "Qtcodepage.h"

#include "Codepage.h"

namespace ov {

QString QStringFromAnsi(std::string_view text) {
    std::u16string wide = WideFromAnsi(text);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string AnsiFromQString(const QString& text) {
    return AnsiFromWide(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                            static_cast<size_t>(text.size())));
}

QString QStringFromUtf8(const std::string& text) { return QString::fromStdString(text); }

} // namespace ov
