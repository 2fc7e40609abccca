#pragma once
// Code-page text to and from QString, for the widgets.

#include <QString>

#include <string>
#include <string_view>

namespace ov {

QString QStringFromAnsi(std::string_view text);
std::string AnsiFromQString(const QString& text);
QString QStringFromUtf8(const std::string& text);

} // namespace ov
